#pragma once

// Internal: the state of the appearance objects. Not installed.

#include "grid/drawobjects.h"

class TwDrawObjectPrivate
{
public:
    TwObjectValues m_assigned;
    TwFont m_font;
    TwAlignment m_alignment = taCenter;
    TwCellStyle m_cellStyle = wcsNormal;
    bool m_cellStyleStored = false;
    TColor m_color = clBtnFace;
    TwFitStyle m_fitStyle = wfitNone;
    TwTextLayout m_layout = tlCenter;
    int m_margins[4] = {0, 0, 0, 0};
    bool m_wordWrap = false;
    TwDrawInfo m_drawInfo{};
};

class TwTitlePrivate
{
public:
    QString m_caption;
    bool m_clicking = false;
    QPixmap m_image;
    TwImageLayout m_imageLayout = wimgNone;
};

class TwColumnTitlePrivate
{
public:
    TwColumn *m_column = nullptr;
    TwSortMark m_sortMark = wsmNone;
};

class TwColumnFooterPrivate
{
public:
    TwColumn *m_column = nullptr;
    QStringList m_values;
};

class TwGridLinesPrivate
{
public:
    TColor m_horzColor = clBlack;
    TwPenStyle m_horzStyle = psSolid;
    std::uint16_t m_horzWidth = 1;
    TColor m_vertColor = clBlack;
    TwPenStyle m_vertStyle = psSolid;
    std::uint16_t m_vertWidth = 1;
    TwGridLines::Notify m_changed;
};

class TwFixedStylePrivate
{
public:
    TwCustomGrid *m_grid = nullptr;
    TwCellStyle m_cellStyle = wcsRaised;
    TColor m_color = clBtnFace;
    TwGridLinesEx m_lines;
    TwFixedOptions m_options;
    TColor m_selBgColor = clBtnShadow;
    TColor m_selFgColor = clWhite;
};

class TwColumnListOptionPrivate
{
public:
    bool m_valuesOnly = true;
    TwColumn *m_column = nullptr;
    const TwImageList *m_images = nullptr;
};


class TwGridLinesExPrivate
{
public:
    TColor m_cellColor = clSilver;
    TwPenStyle m_cellStyle = psSolid;
    std::uint16_t m_cellWidth = 1;
    TColor m_levelColor = clSilver;
    TwPenStyle m_levelStyle = psSolid;
    std::uint16_t m_levelWidth = 1;
};
