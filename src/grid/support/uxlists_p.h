#pragma once

// Internal: the state of the drop-down item list. Not installed.

#include "grid/uxlistoption.h"
#include "grid/uxlists.h"

#include <QPointer>

#include <vector>

// Texts start this far from the left of their cell and keep this far from its right.
inline constexpr int ListTextMarginLeft = 2;
inline constexpr int ListTextMarginRight = 1;

class TwItemListPrivate
{
public:
    QPointer<QWidget> m_owner;
    QPointer<const TwListoption> m_option;
    TwItemListOption m_defaults; // stands in while no option is bound
    QStringList m_items;
    QStringList m_values;
    const TwImageList *m_images = nullptr;
    bool m_ctl3d = true;
    QScrollBar *m_scrollBar = nullptr;
    std::vector<int> m_colWidths; // pixels, one per column; the first holds the image too
    int m_columnsWidth = 0;       // all columns with frame and scroll bar
    int m_rowHeight = 0;
    int m_titleHeight = 0;
    int m_visibleRows = 0;
    int m_topRow = 0;
    int m_itemIndex = -1;
    int m_lastIndex = -1; // the last row highlighted: a key selects it again when none is

    const TwListoption &Option() const { return m_option ? *m_option : m_defaults; }
    /// The item-list settings, or the defaults for a plain list option.
    const TwItemListOption &ItemOption() const
    {
        const auto *items = qobject_cast<const TwItemListOption *>(m_option.data());
        return items ? *items : m_defaults;
    }
    bool HasImages() const;
    /// Where the value column stands among the columns, -1 none.
    int ValueColumn() const;
    int ItemColumns() const;
};
