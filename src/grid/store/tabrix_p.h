#pragma once

// Internal: the state of the complete grid. Not installed.

#include "grid/tabrix.h"

#include <QPixmap>

class TTabrixPrivate
{
public:
    TTabrixPrivate()
        : m_rowInfos([this] { m_selectionTouched = true; })
        , m_selection(m_rowInfos)
    {
    }

    TwRowInfos m_rowInfos;
    TwRowSelection m_selection;
    TwGridMode m_gridMode = wgmBrowse;
    bool m_modified = false;
    // The stored row count: at design time the number of empty rows shown.
    int m_designRowCount = 0;
    int m_topRow = 0;
    bool m_inRowExit = false;
    bool m_autoCalcFooters = true;
    bool m_checkRowState = true;
    bool m_softDeleting = false;
    int m_maxRowCount = 0;
    // Wheel turns not yet worth a row: a fine-grained wheel or touch pad sends parts of
    // the 120 units of one notch.
    int m_wheelDelta = 0;
    // A selected bit changed since the last repaint of the selection.
    bool m_selectionTouched = false;
    // The grid's shared picture handed to OnGetImage.
    QPixmap m_image;
};

