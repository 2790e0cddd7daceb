#pragma once

// Internal: the state of the drop-down item list. Not installed.

#include "grid/uxlists.h"

#include <QPointer>

#include <vector>

class TwItemListPrivate
{
public:
    QPointer<QWidget> m_owner;
    QPointer<const TwListoption> m_option;
    QStringList m_items;
    QStringList m_values;
    const TwImageList *m_images = nullptr;
    bool m_ctl3d = true;
    QScrollBar *m_scrollBar = nullptr;
    std::vector<int> m_colWidths; // pixels, one per column
    int m_rowHeight = 0;
    int m_titleHeight = 0;
    int m_visibleRows = 0;
    int m_topRow = 0;
    int m_itemIndex = -1;
    int m_lastIndex = -1; // the last row highlighted, selected again by a key when none is
};
