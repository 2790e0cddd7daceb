#include "grid/customgrid.h"
#include "grid/core/extents.h"
#include "grid/core/customgrid_p.h"
#include "grid/core/gridpaint_p.h"

// Painting of the header band (titles, group titles with their levels, sort marks) and the
// footer rows (background, top lines, titles and the footer cells of the shown strips).

#include <QMetaMethod>

using namespace TwPaint;

// A title cell: caption, picture and sort mark. The sort mark takes a strip at the right of
// the content, so that a long caption never runs under it.
void TwCustomGrid::DrawTitle(QPainter &painter, const TwTitle &title, const QRect &bound, TwDrawInfo info,
                             TwSortMark mark, bool pressed, int clipLeft, int clipBottom)
{
    if (bound.width() <= 0 || bound.height() <= 0 || bound.top() >= clipBottom)
        return;
    info.Alignment = title.Alignment();
    info.FitStyle = title.FitStyle();
    info.Layout = title.Layout();
    info.WordWrap = title.WordWrap();
    info.Margins[0] = title.MarginLeft();
    info.Margins[1] = title.MarginTop();
    info.Margins[2] = title.MarginRight();
    info.Margins[3] = title.MarginBottom();
    info.BackState = pressed ? static_cast<std::uint8_t>(wbkDown) : static_cast<std::uint8_t>(title.CellStyle());
    if (clipLeft > 0) {
        info.ClipLeft = clipLeft;
        info.ClipRight = RightOf(d->m_extents->Client());
    }
    const TwImageList &marks = TXSortMarks();
    if (mark != wsmNone)
        info.Margins[2] += marks.Size().width() + 4;
    const TwFont font = title.Font();
    SetCanvas(painter, title.Color(), font.Color, font.Font);
    TXDrawText(&painter, bound, title.Caption(), info, wbtnNone, wbtsNone, title.Image(), title.ImageLayout());
    if (mark == wsmNone)
        return;
    const QRect content = TXContentRect(bound.size(), info, wbtnNone).translated(bound.topLeft());
    const QSize size = marks.Size();
    const QPoint at(RightOf(content) + 2, bound.top() + (bound.height() - info.BottomLineWidth - size.height()) / 2);
    if (clipLeft > 0 && at.x() < clipLeft)
        return;
    painter.drawPixmap(at, marks.At(mark == wsmAsc ? 0 : 1));
}

void TwCustomGrid::DrawHeaders(QPainter &painter, bool drawTitle, int first, int last)
{
    if (!d->m_headers->Visible())
        return;
    if (drawTitle)
        DrawHeaderTitle(painter);
    const auto draw = [&](int strip) {
        if (d->m_groupMode)
            DrawGroupHeader(painter, strip);
        else
            DrawColumnHeader(painter, strip);
    };
    ForEachStrip(*this, Extents(), first, last, draw);
}

void TwCustomGrid::DrawHeaderTitle(QPainter &painter)
{
    const TwGridExtents &extents = *d->m_extents;
    const QRect bound =
        Span(extents.Client().left(), extents.GetHeadTop(), extents.StripsLeft(), extents.GetHeadBottom());
    TwDrawInfo info;
    TXInitDrawInfo(info);
    SetBottom(info, Horz(d->m_headers->Lines()));
    SetRight(info, d->m_markers->Visible() ? Vert(d->m_markers->Lines()) : Vert(d->m_indicators->Lines()));
    const bool pressed = d->m_gridState == wgsHeaderTitle && d->m_titleDown;
    DrawTitle(painter, d->m_headers->Title(), bound, info, wsmNone, pressed, 0, extents.FooterTop());
}

void TwCustomGrid::DrawColumnHeader(QPainter &painter, int strip)
{
    TwColumn *column = GetVColumns(strip);
    const TwGridLinesEx &lines = d->m_headers->Lines();
    TwDrawInfo info;
    TXInitDrawInfo(info);
    SetBottom(info, Horz(lines));
    SetRight(info, Vert(lines));
    const bool pressed = d->m_gridState == wgsColTitle && d->m_titleDown && d->m_pressedStrip == strip;
    DrawTitle(painter, column->Title(), d->m_extents->GetHeadColBound(strip), info, column->Title().SortMark(), pressed,
              IsFixedStrip(strip) ? 0 : d->m_extents->ScrollingLeft(), d->m_extents->FooterTop());
}

void TwCustomGrid::DrawGroupHeader(QPainter &painter, int strip)
{
    const TwGroup *group = GetVGroups(strip);
    const TwGridExtents &extents = *d->m_extents;
    const TwGridLinesEx &lines = d->m_headers->Lines();
    const int clipLeft = IsFixedStrip(strip) ? 0 : extents.ScrollingLeft();
    const bool noTitles = group->NoColTitles() && !d->m_designing;
    const QRect whole = extents.GetHeadGroupBound(strip);
    if (group->Title().Visible()) {
        TwDrawInfo info;
        TXInitDrawInfo(info);
        SetBottom(info, group->NoColTitles() ? Horz(lines) : LevelLine(lines));
        SetRight(info, Vert(lines));
        const QRect band = noTitles ? whole : QRect(whole.left(), whole.top(), whole.width(), group->GetHTops(0));
        const bool pressed = d->m_gridState == wgsGroupTitle && d->m_titleDown && d->m_pressedStrip == strip;
        DrawTitle(painter, group->Title(), band, info, wsmNone, pressed, clipLeft, extents.FooterTop());
    }
    if (noTitles)
        return;
    const bool lastStrip = strip == StripCount() - 1;
    for (int level = 0; level < group->Levels(); ++level) {
        const bool lastLevel = level == group->Levels() - 1;
        if (group->GetColCount(level) == 0) {
            TwDrawInfo info;
            TXInitDrawInfo(info);
            SetBottom(info, lastLevel ? Horz(lines) : LevelLine(lines));
            SetRight(info, Vert(lines));
            if (clipLeft > 0) {
                info.ClipLeft = clipLeft;
                info.ClipRight = RightOf(extents.Client());
            }
            painter.setBrush(TXColor(d->m_nullColor));
            TXDrawBox(&painter, extents.GetHeadLevelBound(strip, level), info, wbtnNone, wbtsNone);
            continue;
        }
        for (int index = 0; index < group->GetColCount(level); ++index) {
            const TwCell cell = WCell(strip, level, index);
            TwColumn *column = group->GetColumns(level, index);
            TwDrawInfo info;
            TXInitDrawInfo(info);
            SetBottom(info, lastLevel ? Horz(lines) : LevelLine(lines));
            const bool lastInLine = index == group->GetColCount(level) - 1;
            SetRight(info, !lastInLine ? CellLine(lines) : lastStrip ? Vert(d->m_endLines) : Vert(lines));
            const bool pressed = d->m_gridState == wgsCellTitle && d->m_titleDown && d->m_pressedCell == cell;
            DrawTitle(painter, column->Title(), extents.GetHeadCellBound(cell), info, column->Title().SortMark(),
                      pressed, clipLeft, extents.FooterTop());
        }
    }
}

void TwCustomGrid::DrawFooters(QPainter &painter, int footer, const QRect &rect, bool withEvent, int first, int last,
                               bool drawTitle)
{
    const TwGridFooter *row = d->m_footers->GetVItems(footer);
    painter.fillRect(rect, TXColor(row->Color()));
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), Qt::black);
    painter.fillRect(QRect(rect.left(), rect.top() + 1, rect.width(), 1), Qt::white);
    if (drawTitle)
        DrawFooterTitle(painter, footer);
    const auto draw = [&](int strip) {
        if (d->m_groupMode)
            DrawGroupFooter(painter, strip, footer, withEvent);
        else
            DrawColumnFooter(painter, strip, footer, withEvent);
    };
    ForEachStrip(*this, Extents(), first, last, draw);
}

void TwCustomGrid::DrawFooterTitle(QPainter &painter, int footer)
{
    const TwGridExtents &extents = *d->m_extents;
    const TwGridFooter *row = d->m_footers->GetVItems(footer);
    const QRect bound = Span(extents.Client().left(), extents.GetFootTops(footer) + 2, extents.StripsLeft(),
                             extents.GetFootBottoms(footer));
    const TwFooterTitle &title = row->Title();
    TwDrawInfo info;
    TXInitDrawInfo(info);
    const bool pressed = d->m_gridState == wgsFooterTitle && d->m_titleDown && d->m_pressedFooter == footer;
    if (title.CellStyle() != wcsNormal || pressed) {
        DrawTitle(painter, title, bound, info, wsmNone, pressed, 0, BottomOf(extents.Client()));
        return;
    }
    // A flat footer title lies on the footer row's own colour.
    info.Alignment = title.Alignment();
    info.Layout = title.Layout();
    info.WordWrap = title.WordWrap();
    const TwFont font = title.Font();
    SetCanvas(painter, row->Color(), font.Color, font.Font);
    TXDrawText(&painter, bound, title.Caption(), info, wbtnNone, wbtsNone, title.Image(), title.ImageLayout());
}

void TwCustomGrid::DrawColumnFooter(QPainter &painter, int strip, int footer, bool withEvent)
{
    TwColumnFooter &cellFooter = GetVColumns(strip)->Footer();
    const int index = d->m_footers->GetVItems(footer)->Index();
    if (!cellFooter.Footering(index))
        return;
    const int clipLeft = IsFixedStrip(strip) ? 0 : d->m_extents->ScrollingLeft();
    DrawFooterCell(painter, cellFooter, index, d->m_extents->GetFootColRect(strip, footer).adjusted(0, 2, 0, 0), clipLeft,
                   withEvent && isSignalConnected(QMetaMethod::fromSignal(&TwCustomGrid::OnDrawFooter)));
}

void TwCustomGrid::DrawGroupFooter(QPainter &painter, int strip, int footer, bool withEvent)
{
    const TwGroup *group = GetVGroups(strip);
    const int index = d->m_footers->GetVItems(footer)->Index();
    const int clipLeft = IsFixedStrip(strip) ? 0 : d->m_extents->ScrollingLeft();
    const bool connected = withEvent && isSignalConnected(QMetaMethod::fromSignal(&TwCustomGrid::OnDrawFooter));
    for (int level = 0; level < group->Levels(); ++level) {
        for (int i = 0; i < group->GetColCount(level); ++i) {
            TwColumnFooter &cellFooter = group->GetColumns(level, i)->Footer();
            if (!cellFooter.Footering(index))
                continue;
            QRect inner = d->m_extents->GetFootCellRect(WCell(strip, level, i), footer);
            if (level == 0)
                inner.adjust(0, 2, 0, 0);
            DrawFooterCell(painter, cellFooter, index, inner, clipLeft, connected);
        }
    }
}

// One footer cell: its text and colours, which OnDrawFooter may change, inside the lines;
// a cell of a scrolled strip is clipped at the fixed strips' edge.
void TwCustomGrid::DrawFooterCell(QPainter &painter, TwColumnFooter &cellFooter, int index, const QRect &inner,
                                  int clipLeft, bool withEvent)
{
    if (RightOf(inner) <= clipLeft || inner.isEmpty())
        return;
    cellFooter.SetDrawInfo();
    TwDrawInfo info = cellFooter.DrawInfo();
    if (clipLeft > 0) {
        info.ClipLeft = clipLeft;
        info.ClipRight = RightOf(d->m_extents->Client());
    }
    QString text = cellFooter.GetText(index);
    TColor background = cellFooter.Color();
    const TwFont font = cellFooter.Font();
    TColor foreground = font.Color;
    TwFontStyles style = StylesOf(font.Font);
    if (withEvent)
        emit OnDrawFooter(&cellFooter, index, text, background, foreground, style);
    SetCanvas(painter, background, foreground, WithStyles(font.Font, style));
    TXDrawText(&painter, inner, text, info, wbtnNone, wbtsNone);
}
