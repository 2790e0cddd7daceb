#include "grid/core/extents.h"

#include "grid/customgrid.h"

#include <algorithm>
#include <limits>

namespace {

using TwRect::Span;

// The rows of a strip's bound between two offsets from its top: one level of its group.
QRect LevelPart(const QRect &bound, int top, int bottom)
{
    return Span(bound.left(), bound.top() + top, bound.left() + bound.width(), bound.top() + bottom);
}

// The part of a level's bound that `column` takes; the whole level when there is none.
QRect ColumnPart(const QRect &bound, const TwColumn *column)
{
    if (!column)
        return bound;
    return Span(bound.left() + column->LeftOffset(), bound.top(), bound.left() + column->RightOffset(),
                bound.top() + bound.height());
}

int ClientBottom(const QRect &client)
{
    return client.top() + client.height();
}

int ClientRight(const QRect &client)
{
    return client.left() + client.width();
}

// Edges and totals are summed in 64 bits and kept within half the int range, so however
// many strips a grid holds, a sum never wraps and positions derived from it stay ordered.
int Pixels(qint64 value)
{
    constexpr qint64 limit = std::numeric_limits<int>::max() / 2;
    return static_cast<int>(std::clamp(value, -limit, limit));
}

} // namespace

TwGridExtents::TwGridExtents(TwCustomGrid *grid)
    : m_grid(grid)
    , m_edges(16, 0)
{
}

int TwGridExtents::Edge(int index) const
{
    return index >= 0 && index < static_cast<int>(m_edges.size()) ? m_edges[static_cast<std::size_t>(index)] : 0;
}

void TwGridExtents::ReadInfo(const QRect &client)
{
    m_client = client;
    m_data = client;
    ReadVert();
    ReadHorz();
    if (m_grid->GroupMode()) {
        for (int i = 0; i < m_grid->GetVGroupCount(); ++i) {
            TwGroup *group = m_grid->GetVGroups(i);
            group->ReadExtents();
            group->Title().SetDrawInfo();
        }
    }
    m_grid->Headers().Title().SetDrawInfo();
    m_grid->Footers().CalcVItems();
    m_grid->Indicators().SetDrawInfo();
    m_grid->Markers().SetDrawInfo();
    for (int i = 0; i < m_grid->GetColCount(); ++i) {
        TwColumn *column = m_grid->Columns().Items(i);
        if ((m_grid->ColumnMode() && column->Visible()) || (m_grid->GroupMode() && column->Group() >= 0))
            column->SetDrawInfo();
    }
}

void TwGridExtents::ReadVert()
{
    const int rowHeight = qMax(1, m_grid->RowHeight());
    m_headerBottom = m_client.top() + (m_grid->Headers().Visible() ? m_grid->Headers().Height() : 0);
    m_footerTop = ClientBottom(m_client) - m_grid->Footers().GetHeight();
    const int rowCount = m_grid->GetRowCount();
    m_dataHeight = Pixels(static_cast<qint64>(qMax(1, rowCount)) * rowHeight);
    const int span = m_footerTop - m_headerBottom;
    m_rowsShown = span > 0 ? (rowHeight + span - 1) / rowHeight : 0;
    m_rowsFully = m_rowsShown;
    if (qMax(1, m_rowsShown) * rowHeight + m_headerBottom > m_footerTop)
        m_rowsFully = qMax(0, m_rowsShown - 1);
    const int rowsBelowTop = qMin(rowCount - m_grid->GetTopRow(), m_rowsShown);
    m_data.setTop(m_headerBottom);
    m_data.setBottom(qMin(m_footerTop, qMax(1, rowsBelowTop) * rowHeight + m_headerBottom) - 1);
}

void TwGridExtents::ReadHorz()
{
    m_strips = m_grid->StripCount();
    if (static_cast<int>(m_edges.size()) < m_strips + 4)
        m_edges.resize(static_cast<std::size_t>(m_strips + 4), 0);
    m_edges[0] = m_client.left();
    m_edges[1] = m_edges[0] + (m_grid->Indicators().Visible() ? m_grid->Indicators().Width() : 0);
    m_edges[2] = m_edges[1] + (m_grid->Markers().Visible() ? m_grid->Markers().Width() : 0);
    m_stripsLeft = m_edges[2];
    qint64 edge = m_edges[2];
    qint64 scrollingLeft = m_edges[2];
    qint64 scrollTotal = 0;
    const int fixed = m_grid->FixedCount();
    for (int k = 0; k < m_strips; ++k) {
        const int width = m_grid->StripWidth(k);
        edge += width;
        m_edges[static_cast<std::size_t>(k + 3)] = Pixels(edge);
        if (k < fixed)
            scrollingLeft += width;
        else
            scrollTotal += width;
    }
    m_scrollingLeft = Pixels(scrollingLeft);
    m_scrollTotal = Pixels(scrollTotal);
    m_edges[static_cast<std::size_t>(m_strips + 3)] = ClientRight(m_client);
    m_data.setRight((m_strips > 0 ? GetRights(m_strips - 1) : m_stripsLeft) - 1);

    m_firstPartly = m_strips - 1;
    while (m_firstPartly > fixed && GetLefts(m_firstPartly) >= m_scrollingLeft)
        --m_firstPartly;
    m_lastShown = fixed;
    while (m_lastShown < m_strips - 1 && GetRights(m_lastShown) < ClientRight(m_client))
        ++m_lastShown;
}

int TwGridExtents::GetLefts(int strip) const
{
    return Edge(strip + 2) - (strip >= m_grid->FixedCount() ? m_grid->LeftPos() : 0);
}

int TwGridExtents::GetRights(int strip) const
{
    return Edge(strip + 3) - (strip >= m_grid->FixedCount() ? m_grid->LeftPos() : 0);
}

int TwGridExtents::GetColSize(int strip) const
{
    return Edge(strip + 3) - Edge(strip + 2);
}

int TwGridExtents::GetTops(int row) const
{
    return Pixels(static_cast<qint64>(row - m_grid->GetTopRow()) * m_grid->RowHeight() + m_headerBottom);
}

int TwGridExtents::GetBottoms(int row) const
{
    return Pixels(static_cast<qint64>(row + 1 - m_grid->GetTopRow()) * m_grid->RowHeight() + m_headerBottom);
}

int TwGridExtents::GetFootTops(int footer) const
{
    return m_footerTop + m_grid->Footers().GetVTop(footer);
}

int TwGridExtents::GetFootBottoms(int footer) const
{
    return GetFootTops(footer) + m_grid->Footers().GetVItems(footer)->Height();
}

QRect TwGridExtents::GetDataRect() const
{
    QRect rect = m_data;
    rect.setTop(m_headerBottom);
    return rect;
}

QRect TwGridExtents::GetColBound(int strip, int row) const
{
    return Span(GetLefts(strip), GetTops(row), GetRights(strip), GetBottoms(row));
}

QRect TwGridExtents::GetLevelBound(int strip, int level, int row) const
{
    const QRect bound = GetColBound(strip, row);
    const TwGroup *group = m_grid->GetVGroups(strip);
    if (!group)
        return bound;
    return LevelPart(bound, group->GetBTops(level), group->GetBTops(level + 1));
}

QRect TwGridExtents::GetCellBound(const TwCell &cell, int row) const
{
    return ColumnPart(GetLevelBound(cell.Group, cell.Level, row), m_grid->ColumnByVCell(cell));
}

QRect TwGridExtents::GetHeadColBound(int strip) const
{
    return Span(GetLefts(strip), GetHeadTop(), GetRights(strip), m_headerBottom);
}

QRect TwGridExtents::GetHeadLevelBound(int strip, int level) const
{
    const QRect bound = GetHeadColBound(strip);
    const TwGroup *group = m_grid->GetVGroups(strip);
    if (!group)
        return bound;
    return LevelPart(bound, group->GetHTops(level), group->GetHTops(level + 1));
}

QRect TwGridExtents::GetHeadCellBound(const TwCell &cell) const
{
    return ColumnPart(GetHeadLevelBound(cell.Group, cell.Level), m_grid->ColumnByVCell(cell));
}

QRect TwGridExtents::GetFootColBound(int strip, int footer) const
{
    return Span(GetLefts(strip), GetFootTops(footer), GetRights(strip), GetFootBottoms(footer));
}

QRect TwGridExtents::GetFootLevelBound(int strip, int level, int footer) const
{
    const QRect bound = GetFootColBound(strip, footer);
    const TwGroup *group = m_grid->GetVGroups(strip);
    if (!group)
        return bound;
    return LevelPart(bound, group->GetFTops(footer, level), group->GetFTops(footer, level + 1));
}

QRect TwGridExtents::GetFootCellBound(const TwCell &cell, int footer) const
{
    return ColumnPart(GetFootLevelBound(cell.Group, cell.Level, footer), m_grid->ColumnByVCell(cell));
}

QRect TwGridExtents::GetColRect(int strip, int row) const
{
    const TwGridLines &lines = strip == -2 ? m_grid->Indicators().Lines()
        : strip == -1                      ? m_grid->Markers().Lines()
                                           : static_cast<const TwGridLines &>(m_grid->Lines());
    return GetColBound(strip, row).adjusted(0, 0, -lines.VertWidth(), -lines.HorzWidth());
}

QRect TwGridExtents::GetGroupRect(int strip, int row) const
{
    return GetColBound(strip, row).adjusted(0, 0, -m_grid->Lines().VertWidth(), -m_grid->Lines().HorzWidth());
}

QRect TwGridExtents::ShrinkCell(QRect bound, const TwCell &cell, bool header) const
{
    const TwGridLinesEx &lines = header ? m_grid->Headers().Lines() : m_grid->Lines();
    const TwGroup *group = m_grid->GetVGroups(cell.Group);
    const bool lastInLine = !group || cell.Index >= group->GetColCount(cell.Level) - 1;
    const bool lastLevel = !group || cell.Level >= group->Levels() - 1;
    bound.setWidth(bound.width() - (lastInLine ? lines.VertWidth() : lines.CellWidth()));
    bound.setHeight(bound.height() - (lastLevel ? lines.HorzWidth() : lines.LevelWidth()));
    return bound;
}

QRect TwGridExtents::GetCellRect(const TwCell &cell, int row) const
{
    return ShrinkCell(GetCellBound(cell, row), cell, false);
}

QRect TwGridExtents::GetHeadColRect(int strip) const
{
    const TwGridLinesEx &lines = m_grid->Headers().Lines();
    return GetHeadColBound(strip).adjusted(0, 0, -lines.VertWidth(), -lines.HorzWidth());
}

QRect TwGridExtents::GetHeadGroupRect(int strip) const
{
    return GetHeadColRect(strip);
}

QRect TwGridExtents::GetHeadLevelRect(int strip, int level) const
{
    const TwGridLinesEx &lines = m_grid->Headers().Lines();
    const TwGroup *group = m_grid->GetVGroups(strip);
    const bool lastLevel = !group || level >= group->Levels() - 1;
    return GetHeadLevelBound(strip, level).adjusted(0, 0, -lines.VertWidth(), -(lastLevel ? lines.HorzWidth() : lines.LevelWidth()));
}

QRect TwGridExtents::GetHeadCellRect(const TwCell &cell) const
{
    return ShrinkCell(GetHeadCellBound(cell), cell, true);
}

QRect TwGridExtents::GetFootColRect(int strip, int footer) const
{
    return GetFootColBound(strip, footer).adjusted(0, 0, -m_grid->Lines().VertWidth(), -m_grid->Lines().HorzWidth());
}

QRect TwGridExtents::GetFootCellRect(const TwCell &cell, int footer) const
{
    return ShrinkCell(GetFootCellBound(cell, footer), cell, false);
}

int TwGridExtents::MouseToCol(int x) const
{
    const int fixed = qMin(m_grid->FixedCount(), m_strips);
    for (int k = 0; k < fixed; ++k) {
        if (GetLefts(k) <= x && x < GetRights(k))
            return k;
    }
    for (int k = fixed; k < m_strips; ++k) {
        if (GetLefts(k) <= x && x < GetRights(k) && x >= m_scrollingLeft)
            return k;
    }
    return -1;
}

bool TwGridExtents::MouseInHeaders(int y) const
{
    return GetHeadTop() <= y && y < m_headerBottom;
}

int TwGridExtents::MouseToRow(int y) const
{
    const int dataBottom = m_data.top() + m_data.height();
    if (y < m_headerBottom || y >= dataBottom)
        return -1;
    return m_grid->GetTopRow() + (y - m_headerBottom) / qMax(1, m_grid->RowHeight());
}

int TwGridExtents::MouseToFootRow(int y) const
{
    return m_footerTop <= y && y < ClientBottom(m_client) ? 0 : -1;
}

namespace {

template<typename LevelBound, typename CellBound>
TwCell CellAt(int strip, int x, int y, const TwGroup *group, LevelBound levelBound, CellBound cellBound)
{
    TwCell cell = WCell(strip, 0, 0);
    if (!group)
        return cell;
    for (int level = 0; level < group->Levels(); ++level) {
        if (!levelBound(level).contains(x, y))
            continue;
        cell.Level = level;
        for (int index = 0; index < group->GetColCount(level); ++index) {
            if (cellBound(WCell(strip, level, index)).contains(x, y)) {
                cell.Index = index;
                break;
            }
        }
        break;
    }
    return cell;
}

} // namespace

TwCell TwGridExtents::MouseToCell(int x, int y, int row) const
{
    const int strip = MouseToCol(x);
    if (strip < 0)
        return WCell(-1, -1, -1);
    return CellAt(strip, x, y, m_grid->GetVGroups(strip), [&](int level) { return GetLevelBound(strip, level, row); },
                  [&](const TwCell &cell) { return GetCellBound(cell, row); });
}

TwCell TwGridExtents::MouseToHeadCell(int x, int y) const
{
    const int strip = MouseToCol(x);
    if (strip < 0)
        return WCell(-1, -1, -1);
    return CellAt(strip, x, y, m_grid->GetVGroups(strip), [&](int level) { return GetHeadLevelBound(strip, level); },
                  [&](const TwCell &cell) { return GetHeadCellBound(cell); });
}

TwCell TwGridExtents::MouseToFootCell(int x, int y, int footer) const
{
    const int strip = MouseToCol(x);
    if (strip < 0)
        return WCell(-1, -1, -1);
    return CellAt(strip, x, y, m_grid->GetVGroups(strip),
                  [&](int level) { return GetFootLevelBound(strip, level, footer); },
                  [&](const TwCell &cell) { return GetFootCellBound(cell, footer); });
}

int TwGridExtents::MouseToGroupTitle(int x, int y) const
{
    if (!m_grid->GroupMode())
        return -1;
    const int strip = MouseToCol(x);
    const TwGroup *group = strip >= 0 ? m_grid->GetVGroups(strip) : nullptr;
    if (!group || !group->Title().Visible())
        return -1;
    return GetHeadTop() <= y && y < GetHeadTop() + group->GetHTops(0) ? strip : -1;
}

int TwGridExtents::GetScrollWidth() const
{
    if (m_grid->IsNullGrid() || m_strips == 0)
        return 0;
    const int available = ClientRight(m_client) - m_scrollingLeft;
    int rest = m_scrollTotal;
    int result = 0;
    int k = qMin(m_grid->FixedCount(), m_strips - 1);
    while (rest > available && k < m_strips - 1) {
        result += GetColSize(k);
        rest -= GetColSize(k);
        ++k;
    }
    return result + qMax(0, GetColSize(k) - available);
}
