// The grid core's notifications and hooks: each raises its event; a descendant may add to
// them. The events that answer through a reference need a direct connection.

#include "grid/customgrid.h"
#include "grid/core/customgrid_p.h"
#include "grid/core/gridaccessible_p.h"

#include <QMetaMethod>
#include <QThread>

void TwCustomGrid::MarkerClick(int row)
{
    emit OnMarkerClick(row);
}

void TwCustomGrid::ColumnTitleClick(TwColumn *column)
{
    emit OnColumnTitleClick(column);
}

void TwCustomGrid::GroupTitleClick(TwGroup *group)
{
    emit OnGroupTitleClick(group);
}

void TwCustomGrid::HeaderTitleClick()
{
    emit OnHeaderTitleClick();
}

void TwCustomGrid::FooterTitleClick(int footer)
{
    emit OnFooterTitleClick(footer);
}

bool TwCustomGrid::CanEditShow() const
{
    if (d->m_designing || IsNullGrid() || GetRowCount() <= 0)
        return false;
    if (!d->m_options.Has(wgoEditing) && !d->m_options.Has(wgoInserting))
        return false;
    // The grid is the active control: it, or its own editor, holds the window's focus.
    const QWidget *focus = window()->focusWidget();
    if (focus != this && !(focus && isAncestorOf(focus)))
        return false;
    const TwColumn *column = SelectedColumn();
    return column && column->CanEditShow();
}

void TwCustomGrid::EditButtonClick()
{
    emit OnEditButtonClick();
}

void TwCustomGrid::SelectionChanged()
{
    emit OnSelectionChanged();
    TXAccessibleSelectionChanged(this);
}

void TwCustomGrid::ColumnSizing(TwColumn *column, bool &allow)
{
    CheckDirectEmit();
    emit OnColumnSizing(column, allow);
}

void TwCustomGrid::GroupSizing(TwGroup *group, bool &allow)
{
    CheckDirectEmit();
    emit OnGroupSizing(group, allow);
}

void TwCustomGrid::LevelSizing(TwGroup *group, int level, bool &allow)
{
    CheckDirectEmit();
    emit OnLevelSizing(group, level, allow);
}

void TwCustomGrid::ColumnWidthChanged(TwColumn *column, int oldWidth)
{
    if (!d->m_loading && d->m_updateCount == 0)
        UpdateScrollRange();
    emit OnColumnWidthChanged(column, oldWidth);
}

void TwCustomGrid::GroupWidthChanged(TwGroup *group, int oldWidth)
{
    emit OnGroupWidthChanged(group, oldWidth);
}

void TwCustomGrid::LevelHeightChanged(TwGroup *group, int level, int oldHeight)
{
    emit OnLevelHeightChanged(group, level, oldHeight);
}

void TwCustomGrid::HeaderHeightChanged(int oldHeight)
{
    UpdateScrollRange();
    InvalidateGrid();
    emit OnHeaderHeightChanged(oldHeight);
}

void TwCustomGrid::RowHeightChanged(int oldHeight)
{
    emit OnRowHeightChanged(oldHeight);
}

void TwCustomGrid::connectNotify(const QMetaMethod &signal)
{
    // A receiver connected from another thread lives there as a rule, and an automatic
    // connection to it would be queued: its answer through the reference would be lost.
    Q_ASSERT_X(!IsAnswerSignal(signal) || QThread::currentThread() == thread(), "TwCustomGrid::connectNotify",
               "the sizing events answer through a reference and need a direct connection");
    QAbstractScrollArea::connectNotify(signal);
}

bool TwCustomGrid::IsAnswerSignal(const QMetaMethod &signal)
{
    return signal == QMetaMethod::fromSignal(&TwCustomGrid::OnColumnSizing)
        || signal == QMetaMethod::fromSignal(&TwCustomGrid::OnGroupSizing)
        || signal == QMetaMethod::fromSignal(&TwCustomGrid::OnLevelSizing)
        || signal == QMetaMethod::fromSignal(&TwCustomGrid::OnDrawRow)
        || signal == QMetaMethod::fromSignal(&TwCustomGrid::OnDrawCell)
        || signal == QMetaMethod::fromSignal(&TwCustomGrid::OnDrawIndicator)
        || signal == QMetaMethod::fromSignal(&TwCustomGrid::OnDrawMarker)
        || signal == QMetaMethod::fromSignal(&TwCustomGrid::OnDrawFooter)
        || signal == QMetaMethod::fromSignal(&TwCustomGrid::OnGetImageIndex)
        || signal == QMetaMethod::fromSignal(&TwCustomGrid::OnEdit);
}

void TwCustomGrid::CheckDirectEmit() const
{
    Q_ASSERT_X(QThread::currentThread() == thread(), "TwCustomGrid", "a sizing event is raised outside the grid's thread");
}
