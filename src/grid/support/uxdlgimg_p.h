#pragma once

// Internal to the popup picture dialog.

#include "grid/uxdlgimg.h"

class TwInDlgImgPrivate
{
public:
    QLabel *m_image = nullptr;
    QPixmap m_picture;
    std::function<void(const QPixmap &)> m_onOk;
};
