#pragma once

// Internal to the popup memo dialog.

#include "grid/uxdlgmemo.h"

class TwInDlgMemoPrivate
{
public:
    QPlainTextEdit *m_memo = nullptr;
    std::function<void(const QString &)> m_onOk;
    /// The most characters typing, pasting or dropping may bring the box to (0: no limit).
    int m_editLimit = 0;
};
