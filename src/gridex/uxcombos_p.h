#pragma once

#include "gridex/uxcombos.h"

#include <QPointer>

struct TwCustomComboPrivate
{
    TwComboList *m_list = nullptr;
    std::unique_ptr<TwComboListOption> m_listOption;
    int m_buttonWidth = 0;
    bool m_pressed = false;
    bool m_tracking = false;
    bool m_enableNull = true;
    TwComboStyle m_style = wcsDropDownList;
    bool m_droppedDown = false;
    QString m_dropDownText;
    bool m_designing = false;
    bool m_loading = false;
    /// Set while the combo sets a free text itself: OnChange is held back.
    bool m_setting = false;
    /// Set while a navigation key is passed to the list.
    bool m_passingKey = false;
};

struct TwComboPrivate
{
    QStringList m_items;
    QStringList m_values;
    const TwImageList *m_images = nullptr;
    int m_valueIndex = -1;
};
