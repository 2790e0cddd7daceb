#pragma once

// Internal to the popup memo dialog.

#include "grid/uxdlgmemo.h"

class TwInDlgMemoPrivate
{
public:
    QPlainTextEdit *m_memo = nullptr;
    std::function<void(const QString &)> m_onOk;
    int m_editLimit = 0;
    /// Set while the dialog itself puts a text into the box.
    bool m_loading = false;
};
