#include "grid/customgrid.h"
#include "grid/core/extents.h"
#include "grid/core/customgrid_p.h"
#include "grid/core/gridpaint_p.h"

// Painting of the grid core: the paint order, the rows with their cells, indicators and
// markers, and the feedback of a mouse drag (the bands are in gridbands.cpp). Only what meets
// the clip rectangle is visited, so a grid of a million rows paints as fast as one of ten.

#include <QApplication>
#include <QMetaMethod>
#include <QPaintEvent>
#include <QPainter>

using namespace TwPaint;

namespace {

// An indicator or marker cell before highlights and events: the strip's own lines (the end
// line below the last row), colour and font.
struct TSideCell
{
    TwDrawInfo Info;
    TColor Background;
    TwFont Font;
    TColor Foreground;
    TwFontStyles Style;
};

template <typename TStrip>
TSideCell SideCell(const TStrip &strip, const TwGridLines &endLines, bool lastLine)
{
    TSideCell cell{strip.DrawInfo(), strip.Color(), strip.Font(), clBlack, {}};
    SetBottom(cell.Info, lastLine ? Horz(endLines) : Horz(strip.Lines()));
    SetRight(cell.Info, Vert(strip.Lines()));
    cell.Foreground = cell.Font.Color;
    cell.Style = StylesOf(cell.Font.Font);
    return cell;
}

} // namespace

bool TwCustomGrid::IsFixedStrip(int strip) const
{
    return strip >= 0 && strip < FixedCount();
}

// The lines, clip edge and cell style of one column at its place: the line choice by mode
// is made once per paint, not once per cell.
void TwCustomGrid::PrepareColumnPaint(TwColumn *column, int strip, const TwCell &cell)
{
    const std::size_t index = static_cast<std::size_t>(column->Index());
    if (d->m_cellPaint.size() <= index)
        d->m_cellPaint.resize(index + 1);
    TwCustomGridPrivate::TCellPaint &paint = d->m_cellPaint[index];
    paint.Fixed = IsFixedStrip(strip);
    const TwGridLinesEx &lines = paint.Fixed ? d->m_fixedStyle->Lines() : d->m_lines;
    column->SetDrawInfo();
    TwDrawInfo info = column->DrawInfo();
    info.BackState = paint.Fixed ? d->m_fixedStyle->CellStyle() : wcsNormal;
    const bool lastStrip = strip == StripCount() - 1;
    if (!d->m_groupMode) {
        paint.LastLevel = true;
        SetBottom(info, Horz(lines));
        SetRight(info, lastStrip ? Vert(d->m_endLines) : Vert(lines));
    } else {
        const TwGroup *group = GetVGroups(strip);
        paint.LastLevel = cell.Level >= group->Levels() - 1;
        SetBottom(info, paint.LastLevel ? Horz(lines) : LevelLine(lines));
        const bool lastInLine = cell.Index >= group->GetColCount(cell.Level) - 1;
        SetRight(info, !lastInLine ? CellLine(lines) : lastStrip ? Vert(d->m_endLines) : Vert(lines));
    }
    if (!paint.Fixed) {
        info.ClipLeft = d->m_extents->ScrollingLeft();
        info.ClipRight = RightOf(d->m_extents->Client());
    }
    paint.Info = info;
}

void TwCustomGrid::PrepareCellPaint(int first, int last)
{
    const auto prepare = [&](int strip) {
        if (!d->m_groupMode) {
            PrepareColumnPaint(GetVColumns(strip), strip, WCell(strip, 0, 0));
            return;
        }
        const TwGroup *group = GetVGroups(strip);
        for (int level = 0; level < group->Levels(); ++level) {
            for (int index = 0; index < group->GetColCount(level); ++index)
                PrepareColumnPaint(group->GetColumns(level, index), strip, WCell(strip, level, index));
        }
    };
    ForEachStrip(*this, Extents(), first, last, prepare);
}

void TwCustomGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    if (d->m_loading) {
        painter.fillRect(event->rect(), TXColor(d->m_color));
        return;
    }
    if (IsNullGrid()) {
        PaintEmptyGrid(painter);
        return;
    }
    TwGridExtents &extents = *d->m_extents;
    extents.ReadInfo(viewport()->rect());
    const QRect clip = event->rect();
    const int clipRight = RightOf(clip);
    const int clipBottom = BottomOf(clip);
    const QRect client = extents.Client();
    d->m_paintFocused = hasFocus() || isAncestorOf(QApplication::focusWidget());
    EraseOutside(painter, clip);

    const bool indicators = d->m_indicators->Visible() && extents.GetRights(-2) > clip.left();
    const bool markers = d->m_markers->Visible() && extents.GetRights(-1) > clip.left();
    const int strips = StripCount();
    int first = 0;
    while (first < strips - 1 && extents.GetRights(first) <= clip.left())
        ++first;
    int last = strips - 1;
    while (last > first && extents.GetLefts(last) >= clipRight)
        --last;
    PrepareCellPaint(first, last);

    if (clip.top() < extents.GetHeadBottom()) {
        painter.save();
        painter.setClipRect(Span(client.left(), client.top(), RightOf(client), extents.FooterTop()), Qt::IntersectClip);
        DrawHeaders(painter, indicators || markers, first, last);
        painter.restore();
    }

    const int headerBottom = extents.GetHeadBottom();
    const int footerTop = extents.FooterTop();
    if (clipBottom > headerBottom && clip.top() < footerTop && footerTop > headerBottom) {
        painter.save();
        painter.setClipRect(Span(client.left(), headerBottom, RightOf(client), footerTop), Qt::IntersectClip);
        const int rowHeight = qMax(1, RowHeight());
        const int top = GetTopRow();
        const int firstRow = top + qMax(0, (clip.top() - headerBottom) / rowHeight);
        const int lastShown = static_cast<int>(qMin<qint64>(static_cast<qint64>(top) + extents.RowsShown() - 1,
                                                            static_cast<qint64>(GetRowCount()) - 1));
        const int lastRow = qMax(top, lastShown);
        for (int row = firstRow; row <= lastRow && row >= 0; ++row) {
            if (extents.GetTops(row) >= clipBottom)
                break;
            DrawRow(painter, row, indicators, markers, first, last);
            if (row == lastRow)
                break;
        }
        painter.restore();
    }

    if (clipBottom > footerTop) {
        for (int f = 0; f < d->m_footers->GetVCount(); ++f) {
            const QRect rect = Span(client.left(), extents.GetFootTops(f), RightOf(client), extents.GetFootBottoms(f));
            if (rect.intersects(clip))
                DrawFooters(painter, f, rect, GetRowCount() > 0, first, last, indicators || markers);
        }
    }

    if (d->m_gridState == wgsCellMoving && d->m_movingFrame.intersects(clip))
        DrawMovingRect(painter);
    DrawSizingLine(painter);
    DrawMovingLine(painter);
}

void TwCustomGrid::PaintEmptyGrid(QPainter &painter)
{
    TwDrawInfo info;
    TXInitDrawInfo(info);
    info.BackState = wbkRaised;
    info.Alignment = taCenter;
    info.Layout = tlCenter;
    SetCanvas(painter, clBtnFace, clWindowText, font());
    const QString name = d->m_designing ? objectName() : QString();
    TXDrawText(&painter, viewport()->rect(), name, info, wbtnNone, wbtsNone);
}

// Only the two areas outside the cells take the grid's colour: everything else is painted
// by a cell, so filling it first would only make it flicker.
void TwCustomGrid::EraseOutside(QPainter &painter, const QRect &clip)
{
    const TwGridExtents &extents = *d->m_extents;
    const QRect client = extents.Client();
    const QRect data = extents.DataRect();
    const QColor color = TXColor(d->m_color);
    const int dataRight = RightOf(data);
    const QRect right = Span(dataRight, client.top(), RightOf(client), BottomOf(client)).intersected(clip);
    if (!right.isEmpty())
        painter.fillRect(right, color);
    const QRect below = Span(client.left(), BottomOf(data), dataRight, extents.FooterTop()).intersected(clip);
    if (!below.isEmpty())
        painter.fillRect(below, color);
}

void TwCustomGrid::DrawRow(QPainter &painter, int row, bool drawIndicator, bool drawMarker, int first, int last)
{
    const bool rows = GetRowCount() > 0;
    const bool inserting = GetGridMode() == wgmInsert && row == CurRow();
    if (drawIndicator)
        DrawIndicator(painter, row, d->m_extents->GetColBound(-2, row),
                      rows && isSignalConnected(QMetaMethod::fromSignal(&TwCustomGrid::OnDrawIndicator)));
    if (drawMarker)
        DrawMarker(painter, row, d->m_extents->GetColBound(-1, row),
                   rows && isSignalConnected(QMetaMethod::fromSignal(&TwCustomGrid::OnDrawMarker)));
    const bool rowEvents = rows && !inserting && isSignalConnected(QMetaMethod::fromSignal(&TwCustomGrid::OnDrawRow));
    const auto draw = [&](int strip) {
        if (d->m_groupMode)
            DrawGroup(painter, strip, row, rowEvents);
        else
            DrawColumn(painter, strip, row, rowEvents);
    };
    ForEachStrip(*this, Extents(), first, last, draw);
}

void TwCustomGrid::DrawColumn(QPainter &painter, int strip, int row, bool rowEvents)
{
    TwColumn *column = GetVColumns(strip);
    const bool current = strip == d->m_curCol && row == d->m_curRow;
    const bool cellEvents = GetRowCount() > 0 && !(GetGridMode() == wgmInsert && row == CurRow())
        && isSignalConnected(QMetaMethod::fromSignal(&TwCustomGrid::OnDrawCell));
    DrawCell(painter, column, row, d->m_extents->GetColBound(strip, row), current, d->m_paintFocused, rowEvents,
             cellEvents);
}

void TwCustomGrid::DrawGroup(QPainter &painter, int strip, int row, bool rowEvents)
{
    const TwGroup *group = GetVGroups(strip);
    const TwGridLinesEx &lines = IsFixedStrip(strip) ? d->m_fixedStyle->Lines() : d->m_lines;
    const bool lastRow = GetRowCount() == 0 || IsLastRow(row);
    TwDrawInfo empty;
    TXInitDrawInfo(empty);
    if (!IsFixedStrip(strip)) {
        empty.ClipLeft = d->m_extents->ScrollingLeft();
        empty.ClipRight = RightOf(d->m_extents->Client());
    }
    SetRight(empty, strip == StripCount() - 1 ? Vert(d->m_endLines) : Vert(lines));
    painter.setBrush(TXColor(d->m_nullColor));
    if (group->GetCount() == 0) {
        SetBottom(empty, lastRow ? Horz(d->m_endLines) : Horz(lines));
        TXDrawBox(&painter, d->m_extents->GetGroupBound(strip, row), empty, wbtnNone, wbtsNone);
        return;
    }
    const bool cellEvents = GetRowCount() > 0 && !(GetGridMode() == wgmInsert && row == CurRow())
        && isSignalConnected(QMetaMethod::fromSignal(&TwCustomGrid::OnDrawCell));
    for (int level = 0; level < group->Levels(); ++level) {
        if (group->GetColCount(level) == 0) {
            const bool lastLevel = level == group->Levels() - 1;
            SetBottom(empty, !lastLevel ? LevelLine(lines) : lastRow ? Horz(d->m_endLines) : Horz(lines));
            painter.setBrush(TXColor(d->m_nullColor));
            TXDrawBox(&painter, d->m_extents->GetLevelBound(strip, level, row), empty, wbtnNone, wbtsNone);
            continue;
        }
        for (int index = 0; index < group->GetColCount(level); ++index) {
            const TwCell cell = WCell(strip, level, index);
            const bool current = cell == d->m_curCell && row == d->m_curRow;
            DrawCell(painter, group->GetColumns(level, index), row, d->m_extents->GetCellBound(cell, row), current,
                     d->m_paintFocused, rowEvents, cellEvents);
        }
    }
}

void TwCustomGrid::DrawCell(QPainter &painter, TwColumn *column, int row, const QRect &bound, bool current,
                            bool focused, bool rowEvents, bool cellEvents)
{
    const std::size_t index = static_cast<std::size_t>(column->Index());
    if (index >= d->m_cellPaint.size()) {
        const TwCell cell = column->GetVCell();
        PrepareColumnPaint(column, d->m_groupMode ? cell.Group : column->VIndex(), cell);
    }
    const TwCustomGridPrivate::TCellPaint &paint = d->m_cellPaint[index];
    TwDrawInfo info = paint.Info;
    const bool rows = GetRowCount() > 0;
    if (paint.LastLevel && (!rows || IsLastRow(row)))
        SetBottom(info, Horz(d->m_endLines));

    const bool fixedColors = paint.Fixed && !d->m_fixedStyle->Options().Has(wfxColumnColor);
    TColor background = fixedColors ? d->m_fixedStyle->Color() : column->Color();
    const TwFont font = column->Font();
    TColor foreground = font.Color;
    TwFontStyles style = StylesOf(font.Font);
    const TwEditKind kind = column->GetEditKind();
    const bool textKind = IsTextKind(kind) && !column->IsGraphic();
    QString text = rows && (textKind || cellEvents) ? GetDisplayText(column, row) : QString();
    if (rowEvents)
        emit OnDrawRow(row, background, foreground, style);
    if (cellEvents)
        emit OnDrawCell(column, row, text, background, foreground, style);

    const bool showSelection = d->m_options.Has(wgoAlwaysShowSelection) || (focused && !d->m_designing);
    const bool selected = rows && (GetSelected(row) || (d->m_options.Has(wgoRowSelect) && row == d->m_curRow));
    if (showSelection && (selected || current)) {
        background = fixedColors ? d->m_fixedStyle->SelBgColor() : d->m_selBgColor;
        foreground = fixedColors ? d->m_fixedStyle->SelFgColor() : d->m_selFgColor;
    }
    info.FocusRect = current && focused && d->m_options.Has(wgoFocusRect);
    QFont shownFont = WithStyles(font.Font, style);
    SetCanvas(painter, background, foreground, shownFont);

    if (!rows) {
        TXDrawBox(&painter, bound, info, wbtnNone, wbtsNone);
        return;
    }
    if (d->m_options.Has(wgoNullMark) && !d->m_designing && kind != wekCheckBox && kind != wekRadioGroup
        && CheckNull(column, row)) {
        shownFont.setBold(true);
        const TColor mark = TXColor(background).rgb() == TXColor(clSilver).rgb() ? clWhite : clSilver;
        SetCanvas(painter, background, mark, shownFont);
        TXDrawText(&painter, bound, QStringLiteral("null"), info, wbtnNone, wbtsNone);
        return;
    }
    PaintCellContent(painter, column, row, bound, info, text, current);
}

void TwCustomGrid::PaintCellContent(QPainter &painter, TwColumn *column, int row, const QRect &bound, TwDrawInfo info,
                                    const QString &text, bool current)
{
    // The edit button of the current cell keeps its place so the editor does not jump;
    // at design time the top row shows it, for the designer to see.
    TwButtonStyle button = wbtnNone;
    const bool showsButton = column->EditButton() && (current || (d->m_designing && row == GetTopRow()));
    if (showsButton)
        button = column->GetEditKind() == wekSpinEdit ? wbtnSpin : wbtnCombo;
    const TwButtonState buttonState = showsButton ? wbtsDraw : wbtsNone;
    const bool flat = !column->Ctl3D();
    if (column->IsGraphic()) {
        const QPixmap image = GetDisplayImage(column, row);
        if (image.isNull())
            TXDrawText(&painter, bound, QString(), info, button, buttonState);
        else
            TXDrawImage(&painter, bound, image, info, column->AutoSize(), buttonState);
        return;
    }
    if (column->Images() && column->Images()->Count() > 0) {
        TXDrawText(&painter, bound, text, info, button, buttonState, column->Images(), GetImageIndex(column, row),
                   column->ImageLayout());
        return;
    }
    switch (column->GetEditKind()) {
    case wekCheckBox:
        TXDrawCheckBox(&painter, bound, CheckBool(column, row), CheckNull(column, row), QString(), info, flat, true);
        return;
    case wekBoolean:
        if (CheckNull(column, row))
            TXDrawBox(&painter, bound, info, wbtnNone, wbtsNone);
        else
            TXDrawBoolean(&painter, bound, CheckBool(column, row), info, flat);
        return;
    case wekRadioGroup:
        TXDrawRadioGroup(&painter, bound, column->ItemsMode() ? column->Items() : column->Values(),
                         column->RadioColumns(), CheckList(column, row), info, flat, true);
        return;
    default:
        TXDrawText(&painter, bound, text, info, button, buttonState);
        return;
    }
}

void TwCustomGrid::DrawCellLines(QPainter &painter, TwColumn *column, const QRect &bound)
{
    const std::size_t index = static_cast<std::size_t>(column->Index());
    if (index >= d->m_cellPaint.size())
        return;
    TwDrawInfo info = d->m_cellPaint[index].Info;
    painter.setBrush(TXColor(column->Color()));
    TXDrawBox(&painter, bound, info, wbtnNone, wbtsNone);
}

void TwCustomGrid::DrawIndicator(QPainter &painter, int row, const QRect &bound, bool withEvent)
{
    const TwIndicators &indicators = *d->m_indicators;
    const bool rows = GetRowCount() > 0;
    auto [info, background, font, foreground, style] = SideCell(indicators, d->m_endLines, !rows || IsLastRow(row));
    QString text;
    if (indicators.ShowRowNo() && rows && EnableRowNo())
        text = QString::number(GetRowNo(row));
    const bool highlighted = rows && (row == d->m_curRow || GetSelected(row));
    if (highlighted) {
        background = indicators.SelBgColor();
        foreground = indicators.SelFgColor();
        if (d->m_paintFocused && indicators.CellStyle() == wcsRaised && indicators.SelDown())
            info.BackState = wbkDown;
    }
    if (withEvent)
        emit OnDrawIndicator(row, text, background, foreground, style);
    SetCanvas(painter, background, foreground, WithStyles(font.Font, style));
    if (!rows) {
        TXDrawBox(&painter, bound, info, wbtnNone, wbtsNone);
        return;
    }
    const TwIndiState state = indicators.ShowState() ? GetIndiState(row) : windiNone;
    if (state == windiNone) {
        TXDrawText(&painter, bound, text, info, wbtnNone, wbtsNone);
        return;
    }
    TXDrawText(&painter, bound, text, info, wbtnNone, wbtsNone, &TwIndicators::Images(), state,
               text.isEmpty() ? wimgAlone : wimgLeft);
}

void TwCustomGrid::DrawMarker(QPainter &painter, int row, const QRect &bound, bool withEvent)
{
    const TwMarkers &markers = *d->m_markers;
    const bool rows = GetRowCount() > 0;
    auto [info, background, font, foreground, style] = SideCell(markers, d->m_endLines, !rows || IsLastRow(row));
    QString text;
    int imageIndex = -1;
    bool value = false;
    if (withEvent)
        emit OnDrawMarker(row, text, background, foreground, style, imageIndex, value);
    SetCanvas(painter, background, foreground, WithStyles(font.Font, style));
    if (!rows) {
        TXDrawBox(&painter, bound, info, wbtnNone, wbtsNone);
        return;
    }
    switch (markers.Style()) {
    case wmsBoolean:
        TXDrawBoolean(&painter, bound, value, info, false);
        return;
    case wmsCheckBox:
    case wmsFlatCheckBox:
        TXDrawCheckBox(&painter, bound, value, false, text, info, markers.Style() == wmsFlatCheckBox, true);
        return;
    default:
        TXDrawText(&painter, bound, text, info, wbtnNone, wbtsNone, markers.Images(), imageIndex,
                   markers.ImageLayout());
        return;
    }
}

// The drag feedback is drawn last, over the freshly painted cells: the input code keeps its
// place and repaints the strips it leaves, so a line drawn once per paint never smears.
void TwCustomGrid::DrawMovingRect(QPainter &painter)
{
    const QRect frame = d->m_movingFrame;
    if (frame.isEmpty())
        return;
    TXHorzXorLine(&painter, frame.top(), frame.left(), frame.right(), 2, clWhite);
    TXHorzXorLine(&painter, frame.bottom() - 1, frame.left(), frame.right(), 2, clWhite);
    TXVertXorLine(&painter, frame.left(), frame.top() + 2, frame.bottom() - 2, 2, clWhite);
    TXVertXorLine(&painter, frame.right() - 1, frame.top() + 2, frame.bottom() - 2, 2, clWhite);
}

void TwCustomGrid::DrawSizingLine(QPainter &painter)
{
    if (d->m_sizingLine < 0)
        return;
    const QRect client = d->m_extents->Client();
    switch (d->m_gridState) {
    case wgsIndiSizing:
    case wgsMarkSizing:
    case wgsColSizing:
    case wgsCellSizing:
        TXDrawSizingLine(&painter, clWhite, d->m_sizingLine, client.top(), d->m_sizingLine, client.bottom());
        return;
    case wgsHeaderSizing:
    case wgsFooterSizing:
    case wgsRowSizing:
    case wgsLevelSizing:
        TXDrawSizingLine(&painter, clWhite, client.left(), d->m_sizingLine, client.right(), d->m_sizingLine);
        return;
    default:
        return;
    }
}

void TwCustomGrid::DrawMovingLine(QPainter &painter)
{
    if (d->m_movingLine < 0 || d->m_gridState != wgsColMoving)
        return;
    const QRect client = d->m_extents->Client();
    TXVertXorLine(&painter, d->m_movingLine - 1, client.top(), client.bottom(), 3, clWhite);
}
