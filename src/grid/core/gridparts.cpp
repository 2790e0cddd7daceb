#include "grid/gridparts.h"
#include "grid/core/gridparts_p.h"
#include "grid/support/notify_p.h"

#include "platform/texception.h"

#include "grid/columns.h"
#include "grid/core/gridowner_p.h"
#include "grid/customgrid.h" // MinSize

#include <QPainter>

#include <algorithm>

// Headers

TwHeaderTitle::TwHeaderTitle(TwCustomGrid *grid)
    : d(std::make_unique<TwHeaderTitlePrivate>())
{
    d->m_grid = grid;
}

TwHeaderTitle::~TwHeaderTitle() = default;

void TwHeaderTitle::Changed()
{
    if (d->m_grid)
        TwOwnerOf(d->m_grid)->PartChanged(TwPartChange::Look);
}

TwGridHeaders::TwGridHeaders(TwCustomGrid *grid)
    : d(std::make_unique<TwGridHeadersPrivate>(grid))
{
    d->m_lines.SetLevelColor(clBlack);
    d->m_lines.SetCellColor(clBlack);
    d->m_lines.SetNotify([grid] { TwOwnerOf(grid)->PartChanged(TwPartChange::Look); });
}

TwGridHeaders::~TwGridHeaders() = default;

int TwGridHeaders::Height() const
{
    return TwOwnerOf(d->m_grid)->GroupMode() ? d->m_grpHeight : d->m_colHeight;
}

void TwGridHeaders::SetHeight(int value)
{
    if (TwOwnerOf(d->m_grid)->GroupMode())
        SetGrpHeight(value);
    else
        SetColHeight(value);
}

void TwGridHeaders::StoreHeight(bool groupMode, int value)
{
    value = std::clamp(value, TwCustomGrid::MinSize(groupMode), TwMaxPixels);
    int &stored = groupMode ? d->m_grpHeight : d->m_colHeight;
    const int old = stored;
    if (old == value)
        return;
    stored = value;
    if (groupMode == TwOwnerOf(d->m_grid)->GroupMode() && !TwOwnerOf(d->m_grid)->Loading())
        TwOwnerOf(d->m_grid)->HeaderHeightChanged(old);
}

void TwGridHeaders::SetVisible(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Visible(); }, [this] { emit VisibleChanged(Visible()); });
    d->m_visible = value;
    TwOwnerOf(d->m_grid)->PartChanged(TwPartChange::ScrollRange);
    TwOwnerOf(d->m_grid)->PartChanged(TwPartChange::Look);
}

// Footers

TwFooterTitle::TwFooterTitle(TwGridFooter *footer)
    : d(std::make_unique<TwFooterTitlePrivate>())
{
    d->m_footer = footer;
}

TwFooterTitle::~TwFooterTitle() = default;

void TwFooterTitle::Changed()
{
    if (d->m_footer && d->m_footer->Collection())
        d->m_footer->Collection()->Update(d->m_footer);
}

TwCustomGrid *TwFooterTitle::GetGrid() const
{
    return d->m_footer && d->m_footer->Collection() ? d->m_footer->Collection()->Grid() : nullptr;
}

TwGridFooter::TwGridFooter(TwGridFooters *collection)
    : d(std::make_unique<TwGridFooterPrivate>(this))
{
    d->m_collection = collection;
}

TwGridFooter::~TwGridFooter() = default;

int TwGridFooter::Index() const
{
    return d->m_collection ? d->m_collection->IndexOf(this) : -1;
}

void TwGridFooter::SetColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return Color(); }, [this] { emit ColorChanged(Color()); });
    d->m_color = value;
    if (d->m_collection)
        d->m_collection->Update(this);
}

int TwGridFooter::Height() const
{
    return d->m_collection && TwOwnerOf(d->m_collection->Grid())->GroupMode() ? d->m_grpHeight : d->m_colHeight;
}

void TwGridFooter::SetHeight(int value)
{
    if (d->m_collection && TwOwnerOf(d->m_collection->Grid())->GroupMode())
        SetGrpHeight(value);
    else
        SetColHeight(value);
}

void TwGridFooter::StoreHeight(bool groupMode, int value)
{
    value = std::clamp(value, TwCustomGrid::MinSize(groupMode), TwMaxPixels);
    int &stored = groupMode ? d->m_grpHeight : d->m_colHeight;
    if (stored == value)
        return;
    stored = value;
    if (d->m_visible && d->m_collection)
        d->m_collection->Update(nullptr);
}

void TwGridFooter::SetVisible(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Visible(); }, [this] { emit VisibleChanged(Visible()); });
    if (value == d->m_visible)
        return;
    d->m_visible = value;
    if (d->m_collection)
        d->m_collection->Update(nullptr);
}

QString TwGridFooter::GetDisplayName() const
{
    const QString caption = d->m_title.Caption();
    return caption.isEmpty() ? QStringLiteral("TwGridFooter%1").arg(Index()) : caption;
}

TwGridFooters::TwGridFooters(TwCustomGrid *grid)
    : d(std::make_unique<TwGridFootersPrivate>())
{
    d->m_grid = grid;
}

TwGridFooters::~TwGridFooters() = default;

TwGridFooter *TwGridFooters::Add()
{
    d->m_items.push_back(std::make_unique<TwGridFooter>(this));
    Update(nullptr);
    return d->m_items.back().get();
}

void TwGridFooters::Delete(int index)
{
    Items(index); // fails outside the footers
    d->m_items.erase(d->m_items.begin() + index);
    // The visible list follows at once, loading or not: it must never hold a deleted row.
    CalcVItems();
    Update(nullptr);
}

void TwGridFooters::Clear()
{
    d->m_items.clear();
    CalcVItems();
    Update(nullptr);
}

int TwGridFooters::IndexOf(const TwGridFooter *footer) const
{
    for (std::size_t i = 0; i < d->m_items.size(); ++i) {
        if (d->m_items[i].get() == footer)
            return static_cast<int>(i);
    }
    return -1;
}

int TwGridFooters::GetHeight() const
{
    int height = 0;
    for (const auto &footer : d->m_items) {
        if (footer->Visible())
            height += footer->Height();
    }
    return height;
}

void TwGridFooters::CalcVItems()
{
    d->m_visible.clear();
    d->m_tops.clear();
    int top = 0;
    for (const auto &footer : d->m_items) {
        if (!footer->Visible())
            continue;
        d->m_visible.push_back(footer.get());
        d->m_tops.push_back(top);
        top += footer->Height();
    }
}

void TwGridFooters::Update(TwGridFooter *footer)
{
    if (TwOwnerOf(d->m_grid)->Loading())
        return;
    if (footer) {
        if (!TwOwnerOf(d->m_grid)->Updating())
            TwOwnerOf(d->m_grid)->PartChanged(TwPartChange::Footers);
        return;
    }
    TwColumns &columns = TwOwnerOf(d->m_grid)->Columns();
    for (int i = 0; i < columns.Count(); ++i)
        columns.Items(i)->Footer().FootersChanged();
    CalcVItems();
    TwOwnerOf(d->m_grid)->PartChanged(TwPartChange::FooterRows);
}

// Indicators

TwIndicators::TwIndicators(TwCustomGrid *grid)
    : d(std::make_unique<TwIndicatorsPrivate>())
{
    d->m_grid = grid;
    d->m_lines.SetNotify([grid] { TwOwnerOf(grid)->PartChanged(TwPartChange::Look); });
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(8);
    SetFont(TwFont{arial, clWindowText});
}

TwIndicators::~TwIndicators() = default;

void TwIndicators::Changed()
{
    if (d->m_grid)
        TwOwnerOf(d->m_grid)->PartChanged(TwPartChange::Look);
}

void TwIndicators::SetShowState(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return ShowState(); }, [this] { emit ShowStateChanged(ShowState()); });
    d->m_showState = value;
    SetWidth(d->m_width);
}

void TwIndicators::SetVisible(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Visible(); }, [this] { emit VisibleChanged(Visible()); });
    d->m_visible = value;
    TwOwnerOf(d->m_grid)->PartChanged(TwPartChange::Layout);
}

void TwIndicators::SetWidth(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Width(); }, [this] { emit WidthChanged(Width()); });
    d->m_width = std::clamp(value, d->m_showState ? 13 : 4, TwMaxPixels);
    TwOwnerOf(d->m_grid)->PartChanged(TwPartChange::Layout);
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
    : d(std::make_unique<TwMarkersPrivate>())
{
    d->m_grid = grid;
    d->m_lines.SetNotify([grid] { TwOwnerOf(grid)->PartChanged(TwPartChange::Look); });
}

TwMarkers::~TwMarkers() = default;

const TwImageList *TwMarkers::Images() const
{
    return d->m_images;
}

void TwMarkers::SetImages(const TwImageList *value)
{
    if (d->m_images == value)
        return;
    d->m_images = value;
    Changed();
}

void TwMarkers::Changed()
{
    if (d->m_grid)
        TwOwnerOf(d->m_grid)->PartChanged(TwPartChange::Look);
}

void TwMarkers::SetVisible(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Visible(); }, [this] { emit VisibleChanged(Visible()); });
    d->m_visible = value;
    TwOwnerOf(d->m_grid)->PartChanged(TwPartChange::Layout);
}

void TwMarkers::SetWidth(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Width(); }, [this] { emit WidthChanged(Width()); });
    d->m_width = std::clamp(value, 4, TwMaxPixels);
    TwOwnerOf(d->m_grid)->PartChanged(TwPartChange::Layout);
}

void TwMarkers::Update(int row)
{
    if (row >= 0 && !d->m_visible)
        return;
    TwOwnerOf(d->m_grid)->MarkerChanged(row);
}

TwCustomGrid *TwHeaderTitle::GetGrid() const
{
    return d->m_grid;
}

TwGridLinesEx &TwGridHeaders::Lines()
{
    return d->m_lines;
}

const TwGridLinesEx &TwGridHeaders::Lines() const
{
    return d->m_lines;
}

TwHeaderTitle &TwGridHeaders::Title()
{
    return d->m_title;
}

const TwHeaderTitle &TwGridHeaders::Title() const
{
    return d->m_title;
}

bool TwGridHeaders::Visible() const
{
    return d->m_visible;
}

TwGridFooters *TwGridFooter::Collection() const
{
    return d->m_collection;
}

TColor TwGridFooter::Color() const
{
    return d->m_color;
}

TwFooterTitle &TwGridFooter::Title()
{
    return d->m_title;
}

const TwFooterTitle &TwGridFooter::Title() const
{
    return d->m_title;
}

bool TwGridFooter::Visible() const
{
    return d->m_visible;
}

TwCustomGrid *TwGridFooters::Grid() const
{
    return d->m_grid;
}

int TwGridFooters::Count() const
{
    return static_cast<int>(d->m_items.size());
}

TwGridFooter *TwGridFooters::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw TException(QStringLiteral("TwGridFooters Bounds Error in Items(%1)").arg(index));
    return d->m_items[static_cast<std::size_t>(index)].get();
}

int TwGridFooters::GetVCount() const
{
    return static_cast<int>(d->m_visible.size());
}

TwGridFooter *TwGridFooters::GetVItems(int index) const
{
    if (index < 0 || index >= GetVCount())
        throw TException(QStringLiteral("TwGridFooters Bounds Error in GetVItems(%1)").arg(index));
    return d->m_visible[static_cast<std::size_t>(index)];
}

int TwGridFooters::GetVTop(int index) const
{
    if (index < 0 || index >= GetVCount())
        throw TException(QStringLiteral("TwGridFooters Bounds Error in GetVTop(%1)").arg(index));
    return d->m_tops[static_cast<std::size_t>(index)];
}

TwCustomGrid *TwIndicators::GetGrid() const
{
    return d->m_grid;
}

TwGridLines &TwIndicators::Lines()
{
    return d->m_lines;
}

const TwGridLines &TwIndicators::Lines() const
{
    return d->m_lines;
}

bool TwIndicators::ShowState() const
{
    return d->m_showState;
}

bool TwIndicators::Visible() const
{
    return d->m_visible;
}

int TwIndicators::Width() const
{
    return d->m_width;
}

TwCustomGrid *TwMarkers::GetGrid() const
{
    return d->m_grid;
}

TwGridLines &TwMarkers::Lines()
{
    return d->m_lines;
}

const TwGridLines &TwMarkers::Lines() const
{
    return d->m_lines;
}

bool TwMarkers::Visible() const
{
    return d->m_visible;
}

int TwMarkers::Width() const
{
    return d->m_width;
}

int TwGridHeaders::ColHeight() const
{
    return d->m_colHeight;
}

void TwGridHeaders::SetColHeight(int value)
{
    const auto notify = TwNotifyOnChange([this] { return ColHeight(); }, [this] { emit ColHeightChanged(ColHeight()); });
    StoreHeight(false, value);
}

int TwGridHeaders::GrpHeight() const
{
    return d->m_grpHeight;
}

void TwGridHeaders::SetGrpHeight(int value)
{
    const auto notify = TwNotifyOnChange([this] { return GrpHeight(); }, [this] { emit GrpHeightChanged(GrpHeight()); });
    StoreHeight(true, value);
}

bool TwGridHeaders::Sizing() const
{
    return d->m_sizing;
}

void TwGridHeaders::SetSizing(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Sizing(); }, [this] { emit SizingChanged(Sizing()); });
    if (d->m_sizing == value)
        return;
    d->m_sizing = value;
}

int TwGridFooter::ColHeight() const
{
    return d->m_colHeight;
}

void TwGridFooter::SetColHeight(int value)
{
    const auto notify = TwNotifyOnChange([this] { return ColHeight(); }, [this] { emit ColHeightChanged(ColHeight()); });
    StoreHeight(false, value);
}

int TwGridFooter::GrpHeight() const
{
    return d->m_grpHeight;
}

void TwGridFooter::SetGrpHeight(int value)
{
    const auto notify = TwNotifyOnChange([this] { return GrpHeight(); }, [this] { emit GrpHeightChanged(GrpHeight()); });
    StoreHeight(true, value);
}

bool TwGridFooter::Sizing() const
{
    return d->m_sizing;
}

void TwGridFooter::SetSizing(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Sizing(); }, [this] { emit SizingChanged(Sizing()); });
    if (d->m_sizing == value)
        return;
    d->m_sizing = value;
}

TColor TwIndicators::SelBgColor() const
{
    return d->m_selBgColor;
}

void TwIndicators::SetSelBgColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return SelBgColor(); }, [this] { emit SelBgColorChanged(SelBgColor()); });
    if (d->m_selBgColor == value)
        return;
    d->m_selBgColor = value;
    Changed();
}

bool TwIndicators::SelDown() const
{
    return d->m_selDown;
}

void TwIndicators::SetSelDown(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return SelDown(); }, [this] { emit SelDownChanged(SelDown()); });
    if (d->m_selDown == value)
        return;
    d->m_selDown = value;
    Changed();
}

TColor TwIndicators::SelFgColor() const
{
    return d->m_selFgColor;
}

void TwIndicators::SetSelFgColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return SelFgColor(); }, [this] { emit SelFgColorChanged(SelFgColor()); });
    if (d->m_selFgColor == value)
        return;
    d->m_selFgColor = value;
    Changed();
}

bool TwIndicators::ShowRowNo() const
{
    return d->m_showRowNo;
}

void TwIndicators::SetShowRowNo(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return ShowRowNo(); }, [this] { emit ShowRowNoChanged(ShowRowNo()); });
    if (d->m_showRowNo == value)
        return;
    d->m_showRowNo = value;
    Changed();
}

bool TwIndicators::Sizing() const
{
    return d->m_sizing;
}

void TwIndicators::SetSizing(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Sizing(); }, [this] { emit SizingChanged(Sizing()); });
    if (d->m_sizing == value)
        return;
    d->m_sizing = value;
    Changed();
}

bool TwMarkers::Clicking() const
{
    return d->m_clicking;
}

void TwMarkers::SetClicking(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Clicking(); }, [this] { emit ClickingChanged(Clicking()); });
    if (d->m_clicking == value)
        return;
    d->m_clicking = value;
    Changed();
}

TwImageLayout TwMarkers::ImageLayout() const
{
    return d->m_imageLayout;
}

void TwMarkers::SetImageLayout(TwImageLayout value)
{
    const auto notify = TwNotifyOnChange([this] { return ImageLayout(); }, [this] { emit ImageLayoutChanged(ImageLayout()); });
    if (d->m_imageLayout == value)
        return;
    d->m_imageLayout = value;
    Changed();
}

bool TwMarkers::Sizing() const
{
    return d->m_sizing;
}

void TwMarkers::SetSizing(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Sizing(); }, [this] { emit SizingChanged(Sizing()); });
    if (d->m_sizing == value)
        return;
    d->m_sizing = value;
    Changed();
}

TwMarkerStyle TwMarkers::Style() const
{
    return d->m_style;
}

void TwMarkers::SetStyle(TwMarkerStyle value)
{
    const auto notify = TwNotifyOnChange([this] { return Style(); }, [this] { emit StyleChanged(Style()); });
    if (d->m_style == value)
        return;
    d->m_style = value;
    Changed();
}

void TwGridFooter::SetColor(const QColor &value)
{
    SetColor(TXColorOf(value));
}

void TwIndicators::SetSelBgColor(const QColor &value)
{
    SetSelBgColor(TXColorOf(value));
}

void TwIndicators::SetSelFgColor(const QColor &value)
{
    SetSelFgColor(TXColorOf(value));
}
