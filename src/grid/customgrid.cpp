#include "grid/customgrid.h"

#include "platform/application.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

TwCustomGrid::TwCustomGrid(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    m_font = TwFont{QApplication::font(), clWindowText};
    CreateParts();
    m_lines.SetNotify([this] { InvalidateGrid(); });
    m_lines.HorzColor = clGray;
    m_endLines.SetNotify([this] { InvalidateGrid(); });
    setFocusPolicy(Qt::StrongFocus);
    resize(320, 120);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

TwCustomGrid::~TwCustomGrid()
{
    // Columns refer to groups and the other parts; they go first.
    m_columns.reset();
    m_groups.reset();
}

void TwCustomGrid::CreateParts()
{
    m_columns = std::make_unique<TwColumns>(this);
    m_groups = std::make_unique<TwGroups>(this);
    m_footers = std::make_unique<TwGridFooters>(this);
    m_headers = std::make_unique<TwGridHeaders>(this);
    m_indicators = std::make_unique<TwIndicators>(this);
    m_markers = std::make_unique<TwMarkers>(this);
    m_fixedStyle = std::make_unique<TwFixedStyle>(this);
    m_extents = std::make_unique<TwGridExtents>(this);
}

void TwCustomGrid::CreateColumns()
{
    m_columns = std::make_unique<TwColumns>(this);
}

void TwCustomGrid::CreateGroups()
{
    m_groups = std::make_unique<TwGroups>(this);
}

void TwCustomGrid::SetGridFont(const TwFont &font)
{
    m_font = font;
    setFont(font.Font);
    InvalidateGrid();
}

void TwCustomGrid::SetColor(TColor value)
{
    m_color = value;
    InvalidateGrid();
}

void TwCustomGrid::SetNullColor(TColor value)
{
    m_nullColor = value;
    InvalidateGrid();
}

void TwCustomGrid::SetSelBgColor(TColor value)
{
    m_selBgColor = value;
    InvalidateGrid();
}

void TwCustomGrid::SetSelFgColor(TColor value)
{
    m_selFgColor = value;
    InvalidateGrid();
}

void TwCustomGrid::SetOptions(TwGridOptions value)
{
    if (m_loading) {
        m_options = value;
        return;
    }
    if (m_options.Has(wgoMultiSelect) && !value.Has(wgoMultiSelect))
        ClearSelection();
    m_options = value;
    InvalidateGrid();
}

void TwCustomGrid::SetGroupMode(bool value)
{
    if (m_loading || m_updateCount > 0) {
        m_groupMode = value;
        return;
    }
    if (value == m_groupMode)
        return;
    if (value && m_groups->GetVCount() == 0)
        return;
    SetEditValue();
    HideEditor();
    m_groupMode = value;
    SetFixedCount(FixedCount());
    UpdateScrollRange();
    SetLeftPos(0);
    InvalidateGrid();
    if (m_options.Has(wgoAlwaysShowEditor))
        ShowEditor();
}

void TwCustomGrid::SetRowHeight(int value)
{
    value = std::clamp(value, MinSize(m_groupMode), TwMaxPixels);
    int &stored = m_rowHeights[ModeIndex()];
    const int old = stored;
    stored = value;
    if (!m_loading) {
        if (old != value)
            RowHeightChanged(old);
        UpdateScrollRange();
        InvalidateGrid();
    }
    UpdateEditor();
}

void TwCustomGrid::SetFixedCount(int value)
{
    value = qBound(0, value, qMax(0, StripCount() - 1));
    if (m_loading || m_updateCount > 0) {
        m_fixedCounts[ModeIndex()] = value;
        return;
    }
    BeginUpdate();
    m_fixedCounts[ModeIndex()] = value;
    UpdateScrollRange();
    SetLeftCol(value);
    if (ColumnMode() && m_curCol < value && !m_fixedStyle->Options().Has(wfxSelecting))
        m_curCol = m_columns->FirstCol() < value ? value : m_columns->FirstCol();
    else if (GroupMode() && m_curCell.Group < value && !m_fixedStyle->Options().Has(wfxSelecting))
        m_curCell = FirstSelectCell();
    EndUpdate();
}

int TwCustomGrid::StripCount() const
{
    return m_groupMode ? m_groups->GetVCount() : m_columns->GetVCount();
}

int TwCustomGrid::StripWidth(int strip) const
{
    if (m_groupMode) {
        const TwGroup *group = m_groups->GetVItems(strip);
        return group ? group->Width() : 0;
    }
    return strip >= 0 && strip < m_columns->GetVCount() ? m_columns->GetVItems(strip)->Width() : 0;
}

bool TwCustomGrid::IsNullGrid() const
{
    return StripCount() == 0;
}

bool TwCustomGrid::ValidCell(const TwCell &cell) const
{
    return m_groups->ValidCell(cell);
}

TwColumn *TwCustomGrid::ColumnByCell(const TwCell &cell) const
{
    if (cell.Group < 0 || cell.Group >= m_groups->Count())
        return nullptr;
    return m_groups->Items(cell.Group)->GetColumns(cell.Level, cell.Index);
}

TwColumn *TwCustomGrid::ColumnByVCell(const TwCell &cell) const
{
    if (!ValidCell(cell))
        return nullptr;
    return m_groups->GetVItems(cell.Group)->GetColumns(cell.Level, cell.Index);
}

bool TwCustomGrid::InIndicators(int x) const
{
    return m_indicators->Visible() && m_extents->GetLefts(-2) <= x && x < m_extents->GetRights(-2);
}

bool TwCustomGrid::InMarkers(int x) const
{
    return m_markers->Visible() && m_extents->GetLefts(-1) <= x && x < m_extents->GetRights(-1);
}

int TwCustomGrid::InRows(int x, int y) const
{
    const QRect data = m_extents->DataRect();
    if (IsNullGrid() || m_designing || x < data.left() || x > data.right())
        return -1;
    return m_extents->MouseToRow(y);
}

bool TwCustomGrid::InColCells(int x, int y)
{
    if (m_groupMode)
        return false;
    const int strip = m_extents->MouseToCol(x);
    if (strip < 0 || InRows(x, y) < 0)
        return false;
    m_mouseCol = strip;
    return true;
}

bool TwCustomGrid::InGroupCells(int x, int y)
{
    const int row = InRows(x, y);
    if (!m_groupMode || row < 0)
        return false;
    const TwCell cell = m_extents->MouseToCell(x, y, row);
    if (!ValidCell(cell))
        return false;
    m_mouseCell = cell;
    return true;
}

void TwCustomGrid::SetCurCol(int value)
{
    const int count = m_columns->GetVCount();
    value = qBound(0, value, qMax(0, count - 1));
    if (value < FixedCount() && !m_fixedStyle->Options().Has(wfxSelecting))
        value = qMin(FixedCount(), qMax(0, count - 1));
    if (value == m_curCol)
        return;
    m_curCol = value;
    if (!m_loading)
        CheckInCol(value);
    InvalidateGrid();
}

void TwCustomGrid::SetCurCell(const TwCell &cell)
{
    if (cell == m_curCell)
        return;
    m_curCell = cell;
    if (!m_loading && ValidCell(cell))
        CheckInCell(cell);
    InvalidateGrid();
}

TwColumn *TwCustomGrid::SelectedColumn() const
{
    if (m_groupMode)
        return ColumnByVCell(m_curCell);
    return m_curCol >= 0 && m_curCol < m_columns->GetVCount() ? m_columns->GetVItems(m_curCol) : nullptr;
}

TwCell TwCustomGrid::FirstSelectCell() const
{
    const int start = m_fixedStyle->Options().Has(wfxSelecting) ? 0 : FixedCount();
    const bool skip = m_options.Has(wgoSkipReadOnly);
    TwCell first = WCell(-1, -1, -1);
    for (int g = start; g < m_groups->GetVCount(); ++g) {
        const TwGroup *group = m_groups->GetVItems(g);
        for (int level = 0; level < group->Levels(); ++level) {
            for (int index = 0; index < group->GetColCount(level); ++index) {
                if (!TXValidCell(first))
                    first = WCell(g, level, index);
                if (!skip || group->GetColumns(level, index)->CanSelect())
                    return WCell(g, level, index);
            }
        }
    }
    return first;
}

void TwCustomGrid::SetLeftPos(int value)
{
    const int width = m_extents->GetScrollWidth();
    value = width > 0 ? qBound(0, value, width) : 0;
    if (value == m_leftPos)
        return;
    m_leftPos = value;
    if (horizontalScrollBar()->value() != value) {
        const QSignalBlocker block(horizontalScrollBar());
        horizontalScrollBar()->setValue(value);
    }
    viewport()->update();
    UpdateEditor();
}

int TwCustomGrid::GetLeftCol() const
{
    const int fixed = FixedCount();
    int found = fixed - 1;
    for (int k = fixed; k < StripCount(); ++k) {
        if (m_extents->GetLefts(k) <= m_extents->ScrollingLeft())
            found = k;
    }
    return found;
}

void TwCustomGrid::SetLeftCol(int strip)
{
    const int fixed = FixedCount();
    strip = qBound(fixed, strip, qMax(fixed, StripCount() - 1));
    int position = 0;
    for (int k = fixed; k < strip; ++k)
        position += StripWidth(k);
    SetLeftPos(position);
}

void TwCustomGrid::CheckInCol(int strip)
{
    if (m_options.Has(wgoNoScroll) || strip < 0 || strip >= StripCount())
        return;
    const int leftCol = GetLeftCol();
    if (strip <= leftCol) {
        SetLeftCol(strip);
        return;
    }
    const int clientRight = m_extents->Client().left() + m_extents->Client().width();
    int start = leftCol;
    int right = m_extents->GetRights(strip);
    while (right > clientRight && start < StripCount() - 1) {
        right -= StripWidth(start);
        ++start;
    }
    SetLeftCol(start);
}

void TwCustomGrid::CheckInCell(const TwCell &cell)
{
    if (m_options.Has(wgoNoScroll) || !ValidCell(cell))
        return;
    const QRect bound = m_extents->GetCellBound(cell, GetTopRow());
    const int clientRight = m_extents->Client().left() + m_extents->Client().width();
    if (bound.left() < m_extents->ScrollingLeft() && cell.Group >= FixedCount()) {
        int position = 0;
        for (int g = FixedCount(); g < cell.Group; ++g)
            position += StripWidth(g);
        position += ColumnByVCell(cell)->LeftOffset();
        SetLeftPos(position);
    } else if (bound.left() + bound.width() > clientRight) {
        SetLeftPos(m_leftPos + bound.left() + bound.width() - clientRight);
    }
}

void TwCustomGrid::UpdateScrollRange()
{
    if (m_loading || m_inScrollRange)
        return;
    m_inScrollRange = true;
    for (int pass = 0; pass < 2; ++pass) {
        const QSize before = viewport()->size();
        m_extents->ReadInfo(viewport()->rect());
        const QSignalBlocker blockH(horizontalScrollBar());
        const QSignalBlocker blockV(verticalScrollBar());
        horizontalScrollBar()->setRange(0, m_extents->GetScrollWidth());
        horizontalScrollBar()->setPageStep(qMax(1, viewport()->width() - m_extents->ScrollingLeft()));
        verticalScrollBar()->setRange(0, qMax(0, GetVertRange()));
        if (viewport()->size() == before)
            break;
    }
    m_inScrollRange = false;
}

void TwCustomGrid::EndUpdate(bool repaint)
{
    if (m_updateCount > 0)
        --m_updateCount;
    if (m_updateCount == 0 && repaint)
        InvalidateGrid();
}

void TwCustomGrid::EndLoading()
{
    m_loading = false;
    RebuildAfterLoad();
}

void TwCustomGrid::RebuildAfterLoad()
{
    const int fixed = FixedCount();
    m_groups->InitVIndices();
    m_groups->Update(nullptr);
    m_columns->InitVIndices();
    m_columns->Update(nullptr);
    m_groups->Init(*m_columns);
    for (int i = 0; i < m_groups->Count(); ++i)
        m_groups->Items(i)->ReadExtents();
    m_footers->Update(nullptr);
    SetFixedCount(fixed);
    if (m_groupMode)
        m_curCell = FirstSelectCell();
    else
        m_curCol = m_columns->FirstCol();
    UpdateScrollRange();
}

void TwCustomGrid::LayoutChanged()
{
    UpdateScrollRange();
    UpdateEditor();
    InvalidateGrid();
}

void TwCustomGrid::InvalidateGrid()
{
    if (m_updateCount == 0 && !m_loading)
        viewport()->update();
}

void TwCustomGrid::InvalidateStrip(int strip)
{
    if (m_updateCount > 0 || m_loading)
        return;
    if (strip < -2 || strip >= StripCount()) {
        viewport()->update();
        return;
    }
    const QRect client = viewport()->rect();
    viewport()->update(QRect(m_extents->GetLefts(strip), client.top(), m_extents->GetColSize(strip), client.height()));
}

void TwCustomGrid::InvalidateFooters()
{
    if (m_updateCount > 0 || m_loading)
        return;
    const QRect client = viewport()->rect();
    viewport()->update(QRect(client.left(), m_extents->FooterTop(), client.width(), client.bottom() - m_extents->FooterTop() + 1));
}

void TwCustomGrid::InvalidateSelection()
{
    InvalidateGrid();
}

void TwCustomGrid::DrawRow(QPainter &, int)
{
}

void TwCustomGrid::SetEditValue()
{
}

void TwCustomGrid::DrawCell(QPainter &painter, const QRect &rect, TwColumn *column, int row)
{
    // The plain text of the cell in the column's look; the complete grid paints more.
    column->SetDrawInfo();
    painter.setBrush(TXColor(column->Color()));
    painter.setFont(column->Font().Font);
    painter.setPen(TXColor(column->Font().Color));
    TXDrawText(&painter, rect, GetDisplayText(column, row), column->DrawInfo, wbtnNone, wbtsNone);
}

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
    const TwColumn *column = SelectedColumn();
    return column && column->CanEditShow() && (m_options.Has(wgoEditing) || m_options.Has(wgoInserting));
}

QWidget *TwCustomGrid::CreateEditor(TwColumn *)
{
    return nullptr;
}

void TwCustomGrid::EditButtonClick()
{
    emit OnEditButtonClick();
}

void TwCustomGrid::SelectionChanged()
{
    emit OnSelectionChanged();
}

void TwCustomGrid::ColumnSizing(TwColumn *column, bool &allow)
{
    emit OnColumnSizing(column, allow);
}

void TwCustomGrid::GroupSizing(TwGroup *group, bool &allow)
{
    emit OnGroupSizing(group, allow);
}

void TwCustomGrid::LevelSizing(TwGroup *group, int level, bool &allow)
{
    emit OnLevelSizing(group, level, allow);
}

void TwCustomGrid::ColumnWidthChanged(TwColumn *column, int oldWidth)
{
    if (!m_loading && m_updateCount == 0)
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

// A failure while the grid handles an event (a value out of range during a paint, an
// application handler that throws on a click) is reported and the event ends there: it
// never unwinds through the toolkit, which would end the program.
bool TwCustomGrid::event(QEvent *event)
{
    try {
        return QAbstractScrollArea::event(event);
    } catch (...) {
        Platform::ReportException(std::current_exception());
    }
    return true;
}

bool TwCustomGrid::viewportEvent(QEvent *event)
{
    try {
        return QAbstractScrollArea::viewportEvent(event);
    } catch (...) {
        Platform::ReportException(std::current_exception());
    }
    return true;
}

void TwCustomGrid::paintEvent(QPaintEvent *)
{
    // The strips and rows are painted by the complete grid; the core shows its background.
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), TXColor(m_color));
}

void TwCustomGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void TwCustomGrid::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    UpdateScrollRange();
}

void TwCustomGrid::scrollContentsBy(int dx, int)
{
    if (dx != 0)
        SetLeftPos(horizontalScrollBar()->value());
}
