#pragma once

// Internal to the popup dialogs: the panels and the state of a sizing drag.

#include "grid/uxindlg.h"

#include <QPoint>
#include <QSize>

class QHBoxLayout;
class QVBoxLayout;

class TwInDlgPrivate
{
public:
    QFrame *m_mainPanel = nullptr;
    QVBoxLayout *m_mainLayout = nullptr;
    QWidget *m_buttonPanel = nullptr;
    QHBoxLayout *m_buttonLayout = nullptr;
    /// The edges being dragged; none outside a sizing drag.
    Qt::Edges m_sizing;
    QPoint m_pressGlobal;
    QSize m_pressSize;
    /// The sizing cursor shown over an edge, as an application override cursor.
    bool m_cursorShown = false;
};
