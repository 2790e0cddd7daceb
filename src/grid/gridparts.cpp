#include "grid/gridparts.h"

#include "grid/customgrid.h"

#include <QPainter>

#include <algorithm>

// Headers

TwHeaderTitle::TwHeaderTitle(TwCustomGrid *grid)
    : m_grid(grid)
{
}

void TwHeaderTitle::Changed()
{
    if (m_grid)
        m_grid->InvalidateGrid();
}

TwGridHeaders::TwGridHeaders(TwCustomGrid *grid)
    : m_grid(grid)
    , m_lines([grid] { grid->InvalidateGrid(); })
    , m_title(grid)
{
    m_lines.LevelColor = clBlack;
    m_lines.CellColor = clBlack;
}

int TwGridHeaders::Height() const
{
    return m_grid->GroupMode() ? GrpHeight : ColHeight;
}

void TwGridHeaders::SetHeight(int value)
{
    const bool groupMode = m_grid->GroupMode();
    value = std::clamp(value, TwCustomGrid::MinSize(groupMode), TwMaxPixels);
    int &stored = groupMode ? GrpHeight : ColHeight;
    const int old = stored;
    stored = value;
    if (old != value && !m_grid->Loading())
        m_grid->HeaderHeightChanged(old);
}

void TwGridHeaders::SetVisible(bool value)
{
    m_visible = value;
    m_grid->UpdateScrollRange();
    m_grid->InvalidateGrid();
}

// Footers

TwFooterTitle::TwFooterTitle(TwGridFooter *footer)
    : m_footer(footer)
{
}

void TwFooterTitle::Changed()
{
    if (m_footer && m_footer->Collection())
        m_footer->Collection()->Update(m_footer);
}

TwCustomGrid *TwFooterTitle::GetGrid() const
{
    return m_footer && m_footer->Collection() ? m_footer->Collection()->Grid() : nullptr;
}

TwGridFooter::TwGridFooter(TwGridFooters *collection)
    : m_collection(collection)
    , m_title(this)
{
}

int TwGridFooter::Index() const
{
    return m_collection ? m_collection->IndexOf(this) : -1;
}

void TwGridFooter::SetColor(TColor value)
{
    m_color = value;
    if (m_collection)
        m_collection->Update(this);
}

int TwGridFooter::Height() const
{
    return m_collection && m_collection->Grid()->GroupMode() ? GrpHeight : ColHeight;
}

void TwGridFooter::SetHeight(int value)
{
    const bool groupMode = m_collection && m_collection->Grid()->GroupMode();
    value = std::clamp(value, TwCustomGrid::MinSize(groupMode), TwMaxPixels);
    int &stored = groupMode ? GrpHeight : ColHeight;
    const bool changed = stored != value;
    stored = value;
    if (changed && m_visible && m_collection)
        m_collection->Update(nullptr);
}

void TwGridFooter::SetVisible(bool value)
{
    if (value == m_visible)
        return;
    m_visible = value;
    if (m_collection)
        m_collection->Update(nullptr);
}

QString TwGridFooter::GetDisplayName() const
{
    const QString caption = m_title.Caption();
    return caption.isEmpty() ? QStringLiteral("TwGridFooter%1").arg(Index()) : caption;
}

TwGridFooters::TwGridFooters(TwCustomGrid *grid)
    : m_grid(grid)
{
}

TwGridFooters::~TwGridFooters() = default;

TwGridFooter *TwGridFooters::Add()
{
    m_items.push_back(std::make_unique<TwGridFooter>(this));
    Update(nullptr);
    return m_items.back().get();
}

void TwGridFooters::Delete(int index)
{
    m_items.erase(m_items.begin() + index);
    Update(nullptr);
}

void TwGridFooters::Clear()
{
    m_items.clear();
    Update(nullptr);
}

int TwGridFooters::IndexOf(const TwGridFooter *footer) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == footer)
            return static_cast<int>(i);
    }
    return -1;
}

int TwGridFooters::GetHeight() const
{
    int height = 0;
    for (const auto &footer : m_items) {
        if (footer->Visible())
            height += footer->Height();
    }
    return height;
}

void TwGridFooters::CalcVItems()
{
    m_visible.clear();
    m_tops.clear();
    int top = 0;
    for (const auto &footer : m_items) {
        if (!footer->Visible())
            continue;
        m_visible.push_back(footer.get());
        m_tops.push_back(top);
        top += footer->Height();
    }
}

void TwGridFooters::Update(TwGridFooter *footer)
{
    if (m_grid->Loading())
        return;
    if (footer) {
        if (!m_grid->Updating())
            m_grid->InvalidateFooters();
        return;
    }
    for (int i = 0; i < m_grid->Columns().Count(); ++i)
        m_grid->Columns().Items(i)->Footer().FootersChanged();
    CalcVItems();
    m_grid->UpdateRowCount();
    m_grid->LayoutChanged();
}

// Indicators

TwIndicators::TwIndicators(TwCustomGrid *grid)
    : m_grid(grid)
    , m_lines([grid] { grid->InvalidateGrid(); })
{
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(8);
    SetFont(TwFont{arial, clWindowText});
}

void TwIndicators::Changed()
{
    if (m_grid)
        m_grid->InvalidateGrid();
}

void TwIndicators::SetShowState(bool value)
{
    m_showState = value;
    SetWidth(m_width);
}

void TwIndicators::SetVisible(bool value)
{
    m_visible = value;
    m_grid->LayoutChanged();
}

void TwIndicators::SetWidth(int value)
{
    m_width = std::clamp(value, m_showState ? 13 : 4, TwMaxPixels);
    m_grid->LayoutChanged();
}

const TwImageList &TwIndicators::Images()
{
    // Arrow, prior, next, pencil, insert star, selection mark and selection arrow, drawn
    // once at the size of the first.
    static const TwImageList images = [] {
        const QSize size(12, 12);
        TwImageList list(size);
        const QColor ink(Qt::black);
        for (int state = windiArrow; state <= windiSelArrow; ++state) {
            QPixmap image(size);
            image.fill(Qt::transparent);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(ink);
            p.setBrush(ink);
            switch (state) {
            case windiArrow:
            case windiSelArrow:
                p.drawPolygon(QPolygon({QPoint(3, 2), QPoint(8, 6), QPoint(3, 10)}));
                if (state == windiSelArrow)
                    p.drawRect(9, 2, 1, 8);
                break;
            case windiPrior:
                p.drawPolygon(QPolygon({QPoint(6, 2), QPoint(10, 7), QPoint(2, 7)}));
                break;
            case windiNext:
                p.drawPolygon(QPolygon({QPoint(2, 4), QPoint(10, 4), QPoint(6, 9)}));
                break;
            case windiEdit:
                p.drawLine(2, 10, 9, 3);
                p.drawLine(3, 10, 10, 3);
                p.drawLine(2, 10, 4, 10);
                break;
            case windiInsert:
                p.drawLine(6, 2, 6, 10);
                p.drawLine(2, 6, 10, 6);
                p.drawLine(3, 3, 9, 9);
                p.drawLine(9, 3, 3, 9);
                break;
            case windiSelect:
                p.drawRect(3, 3, 6, 6);
                break;
            default:
                break;
            }
            p.end();
            list.Add(image);
        }
        return list;
    }();
    return images;
}

// Markers

TwMarkers::TwMarkers(TwCustomGrid *grid)
    : m_grid(grid)
    , m_lines([grid] { grid->InvalidateGrid(); })
{
}

void TwMarkers::Changed()
{
    if (m_grid)
        m_grid->InvalidateGrid();
}

void TwMarkers::SetVisible(bool value)
{
    m_visible = value;
    m_grid->LayoutChanged();
}

void TwMarkers::SetWidth(int value)
{
    m_width = std::clamp(value, 4, TwMaxPixels);
    m_grid->LayoutChanged();
}

void TwMarkers::Update(int row)
{
    if (row < 0) {
        m_grid->InvalidateStrip(-1);
        return;
    }
    if (!m_visible || m_grid->Updating())
        return;
    const TwGridExtents &extents = m_grid->Extents();
    const int top = m_grid->GetTopRow();
    if (row >= top && row < top + extents.RowsShown() && row < m_grid->GetRowCount())
        m_grid->viewport()->update(extents.GetColBound(-1, row));
}
