#pragma once

// Internal: the state of the item-list settings. Not installed.

#include "grid/uxlistoption.h"

class TwListoptionPrivate
{
public:
    bool m_autoDrop = true;
    bool m_caseSensitive = false;
    int m_charWidth = 0;
    bool m_colLines = false;
    TColor m_color = clBtnFace;
    TwFont m_font;
    int m_itemCount = 8;
    TColor m_lineColor = clGray;
    bool m_rowLines = false;
    bool m_showTitle = false;
    TColor m_titleColor = clGray;
    TwFont m_titleFont;
    int m_width = 0;
    bool m_fontAssigned = false;
    bool m_titleFontAssigned = false;
};

class TwItemListOptionPrivate
{
public:
    QChar m_separator = QLatin1Char(';');
    int m_valuesIndex = -1;
    QString m_titles;
};
