#pragma once

// Internal: the state of the grid core. Not installed.

#include "grid/customgrid.h"

#include <QList>
#include <QPointer>
#include <QVariant>

#include <array>
#include <memory>

class TwCustomGridPrivate
{
public:
    std::unique_ptr<TwColumns> m_columns;
    std::unique_ptr<TwGroups> m_groups;
    std::unique_ptr<TwGridFooters> m_footers;
    std::unique_ptr<TwGridHeaders> m_headers;
    std::unique_ptr<TwIndicators> m_indicators;
    std::unique_ptr<TwMarkers> m_markers;
    std::unique_ptr<TwFixedStyle> m_fixedStyle;
    std::unique_ptr<TwGridExtents> m_extents;
    TwGridLinesEx m_lines;
    TwGridLines m_endLines;
    QPixmap m_paintBitmap;
    TwFont m_font;
    TwImeMode m_imeMode = imDontCare;
    QString m_imeName;
    int m_changeDelay = 200;
    TColor m_color = clBtnShadow;
    TColor m_nullColor = clBtnShadow;
    TColor m_selBgColor = clBlack;
    TColor m_selFgColor = clWhite;
    TwGridOptions m_options;
    bool m_designing = false;
    bool m_loading = false;
    // The published properties of the grid and its parts when a load began, to notify
    // once for each that the load changed.
    struct TLoadSnapshot
    {
        QPointer<QObject> object;
        QVariantList values;
    };
    QList<TLoadSnapshot> m_loadSnapshot;
    bool m_groupMode = false;
    std::array<int, 2> m_rowHeights{18, 36};
    std::array<int, 2> m_fixedCounts{0, 0};
    int m_curCol = 0;
    TwCell m_curCell{0, 0, 0};
    int m_leftPos = 0;
    int m_mouseCol = -1;
    TwCell m_mouseCell{-1, -1, -1};
    int m_updateCount = 0;
    bool m_inScrollRange = false;
};

