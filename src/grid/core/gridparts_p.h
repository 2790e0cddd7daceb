#pragma once

// Internal: the state of the header band, the footer rows and the two strips. Not installed.

#include "grid/gridparts.h"

#include <memory>
#include <vector>

class TwHeaderTitlePrivate
{
public:
    TwCustomGrid *m_grid = nullptr;
};

class TwGridHeadersPrivate
{
public:
    explicit TwGridHeadersPrivate(TwCustomGrid *grid)
        : m_grid(grid)
        , m_title(grid)
    {
    }

    int m_colHeight = 21;
    int m_grpHeight = 42;
    bool m_sizing = false;
    TwCustomGrid *m_grid;
    TwGridLinesEx m_lines;
    TwHeaderTitle m_title;
    bool m_visible = true;
};

class TwFooterTitlePrivate
{
public:
    TwGridFooter *m_footer = nullptr;
};

class TwGridFooterPrivate
{
public:
    explicit TwGridFooterPrivate(TwGridFooter *footer)
        : m_title(footer)
    {
    }

    int m_colHeight = 21;
    int m_grpHeight = 42;
    bool m_sizing = false;
    TwGridFooters *m_collection = nullptr;
    TColor m_color = clBtnFace;
    TwFooterTitle m_title;
    bool m_visible = true;
};

class TwGridFootersPrivate
{
public:
    TwCustomGrid *m_grid = nullptr;
    std::vector<std::unique_ptr<TwGridFooter>> m_items;
    std::vector<TwGridFooter *> m_visible;
    std::vector<int> m_tops;
};

class TwIndicatorsPrivate
{
public:
    TColor m_selBgColor = clBtnFace;
    bool m_selDown = true;
    TColor m_selFgColor = clBlack;
    bool m_showRowNo = true;
    bool m_sizing = false;
    TwCustomGrid *m_grid = nullptr;
    TwGridLines m_lines;
    bool m_showState = true;
    bool m_visible = true;
    int m_width = 21;
};

class TwMarkersPrivate
{
public:
    bool m_clicking = false;
    TwImageLayout m_imageLayout = wimgAlone;
    bool m_sizing = false;
    TwMarkerStyle m_style = wmsDefault;
    const TwImageList *m_images = nullptr;
    TwCustomGrid *m_grid = nullptr;
    TwGridLines m_lines;
    bool m_visible = false;
    int m_width = 15;
};

