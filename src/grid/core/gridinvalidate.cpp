#include "grid/customgrid.h"
#include "grid/core/extents.h"
#include "grid/core/customgrid_p.h"
#include "grid/core/gridpaint_p.h"

// Invalidation of the grid core's parts: each names the smallest rectangle, within the band
// it belongs to, and none erases the background.

using namespace TwPaint;

namespace {

bool CanRepaint(const TwCustomGrid &grid)
{
    return !grid.Updating() && !grid.Loading() && grid.viewport()->testAttribute(Qt::WA_WState_Created);
}

// The rows' band across the client width, between the headers and the footers.
QRect DataBand(const TwGridExtents &extents)
{
    const QRect client = extents.Client();
    return Span(client.left(), extents.GetHeadBottom(), RightOf(client), extents.FooterTop());
}

} // namespace

void TwCustomGrid::InvalidateData()
{
    if (!CanRepaint(*this))
        return;
    const TwGridExtents &extents = *d->m_extents;
    const QRect client = extents.Client();
    viewport()->update(Span(client.left(), extents.GetHeadBottom(), RightOf(client), extents.FooterTop()));
}

void TwCustomGrid::InvalidateRow(int row, bool wholeWidth)
{
    if (!CanRepaint(*this))
        return;
    const TwGridExtents &extents = *d->m_extents;
    const int top = qMax(extents.GetTops(row), extents.GetHeadBottom());
    const int bottom = qMin(extents.GetBottoms(row), extents.FooterTop());
    if (bottom <= top)
        return;
    const int left = wholeWidth ? extents.Client().left() : extents.StripsLeft();
    viewport()->update(Span(left, top, RightOf(extents.Client()), bottom));
}

void TwCustomGrid::InvalidateCol(int strip)
{
    if (!CanRepaint(*this))
        return;
    const TwGridExtents &extents = *d->m_extents;
    viewport()->update(
        Span(extents.GetLefts(strip), extents.GetHeadBottom(), extents.GetRights(strip), extents.FooterTop()));
}

void TwCustomGrid::InvalidateCol(int strip, int row)
{
    if (!CanRepaint(*this))
        return;
    const TwGridExtents &extents = *d->m_extents;
    const QRect bound = extents.GetColBound(strip, row);
    viewport()->update(bound.intersected(DataBand(extents)));
}

void TwCustomGrid::InvalidateCell(int strip, int row)
{
    InvalidateCol(strip, row);
}

void TwCustomGrid::InvalidateCell(const TwCell &cell, int row)
{
    if (!CanRepaint(*this) || !ValidCell(cell))
        return;
    const TwGridExtents &extents = *d->m_extents;
    const QRect bound = extents.GetCellBound(cell, row);
    viewport()->update(bound.intersected(DataBand(extents)));
}

void TwCustomGrid::InvalidateHeaders(bool withTitle)
{
    if (!CanRepaint(*this))
        return;
    const TwGridExtents &extents = *d->m_extents;
    const int left = withTitle ? extents.Client().left() : extents.StripsLeft();
    viewport()->update(Span(left, extents.GetHeadTop(), RightOf(extents.Client()), extents.GetHeadBottom()));
}

void TwCustomGrid::InvalidateHeadCell(int strip)
{
    if (CanRepaint(*this))
        viewport()->update(d->m_extents->GetHeadColBound(strip));
}

void TwCustomGrid::InvalidateHeadCell(const TwCell &cell)
{
    if (CanRepaint(*this) && ValidCell(cell))
        viewport()->update(d->m_extents->GetHeadCellBound(cell));
}

void TwCustomGrid::InvalidateFootRow(int footer, bool wholeWidth)
{
    if (!CanRepaint(*this) || footer < 0 || footer >= d->m_footers->GetVCount())
        return;
    const TwGridExtents &extents = *d->m_extents;
    const int left = wholeWidth ? extents.Client().left() : extents.StripsLeft();
    viewport()->update(
        Span(left, extents.GetFootTops(footer), RightOf(extents.Client()), extents.GetFootBottoms(footer)));
}

void TwCustomGrid::InvalidateFootCol(int strip)
{
    if (!CanRepaint(*this))
        return;
    const TwGridExtents &extents = *d->m_extents;
    viewport()->update(
        Span(extents.GetLefts(strip), extents.FooterTop(), extents.GetRights(strip), BottomOf(extents.Client())));
}

void TwCustomGrid::InvalidateFootCell(int strip, int footer)
{
    if (CanRepaint(*this) && footer >= 0 && footer < d->m_footers->GetVCount())
        viewport()->update(d->m_extents->GetFootColBound(strip, footer));
}

void TwCustomGrid::InvalidateFootCell(const TwCell &cell, int footer)
{
    if (CanRepaint(*this) && ValidCell(cell) && footer >= 0 && footer < d->m_footers->GetVCount())
        viewport()->update(d->m_extents->GetFootCellBound(cell, footer));
}

void TwCustomGrid::InvalidateMovingRect()
{
    if (CanRepaint(*this) && !d->m_movingFrame.isEmpty())
        viewport()->update(d->m_movingFrame.adjusted(-1, -1, 1, 1));
}
