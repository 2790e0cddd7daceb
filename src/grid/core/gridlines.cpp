// The grid's lines (the grid's, the headers', the fixed area's and the end lines) and the
// style of the fixed area: each change repaints the grid.

#include "grid/drawobjects.h"
#include "grid/core/drawobjects_p.h"
#include "grid/support/notify_p.h"

#include "grid/core/gridowner_p.h"

#include <algorithm>

// Lines

TwGridLines::TwGridLines(Notify changed)
    : d(std::make_unique<TwGridLinesPrivate>())
{
    d->m_changed = std::move(changed);
}

TwGridLines::~TwGridLines() = default;

TwGridLinesEx::TwGridLinesEx(Notify changed)
    : TwGridLines(std::move(changed))
    , d(std::make_unique<TwGridLinesExPrivate>())
{
}

TwGridLinesEx::~TwGridLinesEx() = default;

// TwFixedStyle

TwFixedStyle::TwFixedStyle(TwCustomGrid *grid)
    : d(std::make_unique<TwFixedStylePrivate>())
{
    d->m_grid = grid;
    d->m_lines.SetCellColor(clBlack);
    d->m_lines.SetLevelColor(clBlack);
    d->m_lines.SetNotify([this] { Changed(); });
}

TwFixedStyle::~TwFixedStyle() = default;

void TwGridLines::Changed() const
{
    if (d->m_changed)
        d->m_changed();
}

void TwFixedStyle::Changed()
{
    if (TwGridOwner *owner = TwOwnerOf(d->m_grid))
        owner->PartChanged(TwPartChange::Look);
}

void TwFixedStyle::SetCellStyle(TwCellStyle value)
{
    const auto notify = TwNotifyOnChange([this] { return CellStyle(); }, [this] { emit CellStyleChanged(CellStyle()); });
    d->m_cellStyle = value;
    Changed();
}

void TwFixedStyle::SetColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return Color(); }, [this] { emit ColorChanged(Color()); });
    d->m_color = value;
    Changed();
}

void TwFixedStyle::SetOptions(TwFixedOptions value)
{
    const auto notify = TwNotifyOnChange([this] { return Options(); }, [this] { emit OptionsChanged(Options()); });
    d->m_options = value;
    Changed();
}

void TwFixedStyle::SetSelBgColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return SelBgColor(); }, [this] { emit SelBgColorChanged(SelBgColor()); });
    d->m_selBgColor = value;
    Changed();
}

void TwFixedStyle::SetSelFgColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return SelFgColor(); }, [this] { emit SelFgColorChanged(SelFgColor()); });
    d->m_selFgColor = value;
    Changed();
}

void TwGridLines::SetNotify(Notify changed)
{
    d->m_changed = std::move(changed);
}

TwCellStyle TwFixedStyle::CellStyle() const
{
    return d->m_cellStyle;
}

TColor TwFixedStyle::Color() const
{
    return d->m_color;
}

TwGridLinesEx &TwFixedStyle::Lines()
{
    return d->m_lines;
}

const TwGridLinesEx &TwFixedStyle::Lines() const
{
    return d->m_lines;
}

TwFixedOptions TwFixedStyle::Options() const
{
    return d->m_options;
}

TColor TwFixedStyle::SelBgColor() const
{
    return d->m_selBgColor;
}

TColor TwFixedStyle::SelFgColor() const
{
    return d->m_selFgColor;
}

TColor TwGridLines::HorzColor() const
{
    return d->m_horzColor;
}

void TwGridLines::SetHorzColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return HorzColor(); }, [this] { emit HorzColorChanged(HorzColor()); });
    if (d->m_horzColor == value)
        return;
    d->m_horzColor = value;
    Changed();
}

TwPenStyle TwGridLines::HorzStyle() const
{
    return d->m_horzStyle;
}

void TwGridLines::SetHorzStyle(TwPenStyle value)
{
    const auto notify = TwNotifyOnChange([this] { return HorzStyle(); }, [this] { emit HorzStyleChanged(HorzStyle()); });
    if (d->m_horzStyle == value)
        return;
    d->m_horzStyle = value;
    Changed();
}

std::uint16_t TwGridLines::HorzWidth() const
{
    return d->m_horzWidth;
}

void TwGridLines::SetHorzWidth(std::uint16_t value)
{
    const auto notify = TwNotifyOnChange([this] { return HorzWidth(); }, [this] { emit HorzWidthChanged(HorzWidth()); });
    if (d->m_horzWidth == value)
        return;
    d->m_horzWidth = value;
    Changed();
}

TColor TwGridLines::VertColor() const
{
    return d->m_vertColor;
}

void TwGridLines::SetVertColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return VertColor(); }, [this] { emit VertColorChanged(VertColor()); });
    if (d->m_vertColor == value)
        return;
    d->m_vertColor = value;
    Changed();
}

TwPenStyle TwGridLines::VertStyle() const
{
    return d->m_vertStyle;
}

void TwGridLines::SetVertStyle(TwPenStyle value)
{
    const auto notify = TwNotifyOnChange([this] { return VertStyle(); }, [this] { emit VertStyleChanged(VertStyle()); });
    if (d->m_vertStyle == value)
        return;
    d->m_vertStyle = value;
    Changed();
}

std::uint16_t TwGridLines::VertWidth() const
{
    return d->m_vertWidth;
}

void TwGridLines::SetVertWidth(std::uint16_t value)
{
    const auto notify = TwNotifyOnChange([this] { return VertWidth(); }, [this] { emit VertWidthChanged(VertWidth()); });
    if (d->m_vertWidth == value)
        return;
    d->m_vertWidth = value;
    Changed();
}

TColor TwGridLinesEx::CellColor() const
{
    return d->m_cellColor;
}

void TwGridLinesEx::SetCellColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return CellColor(); }, [this] { emit CellColorChanged(CellColor()); });
    if (d->m_cellColor == value)
        return;
    d->m_cellColor = value;
    Changed();
}

TwPenStyle TwGridLinesEx::CellStyle() const
{
    return d->m_cellStyle;
}

void TwGridLinesEx::SetCellStyle(TwPenStyle value)
{
    const auto notify = TwNotifyOnChange([this] { return CellStyle(); }, [this] { emit CellStyleChanged(CellStyle()); });
    if (d->m_cellStyle == value)
        return;
    d->m_cellStyle = value;
    Changed();
}

std::uint16_t TwGridLinesEx::CellWidth() const
{
    return d->m_cellWidth;
}

void TwGridLinesEx::SetCellWidth(std::uint16_t value)
{
    const auto notify = TwNotifyOnChange([this] { return CellWidth(); }, [this] { emit CellWidthChanged(CellWidth()); });
    if (d->m_cellWidth == value)
        return;
    d->m_cellWidth = value;
    Changed();
}

TColor TwGridLinesEx::LevelColor() const
{
    return d->m_levelColor;
}

void TwGridLinesEx::SetLevelColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return LevelColor(); }, [this] { emit LevelColorChanged(LevelColor()); });
    if (d->m_levelColor == value)
        return;
    d->m_levelColor = value;
    Changed();
}

TwPenStyle TwGridLinesEx::LevelStyle() const
{
    return d->m_levelStyle;
}

void TwGridLinesEx::SetLevelStyle(TwPenStyle value)
{
    const auto notify = TwNotifyOnChange([this] { return LevelStyle(); }, [this] { emit LevelStyleChanged(LevelStyle()); });
    if (d->m_levelStyle == value)
        return;
    d->m_levelStyle = value;
    Changed();
}

std::uint16_t TwGridLinesEx::LevelWidth() const
{
    return d->m_levelWidth;
}

void TwGridLinesEx::SetLevelWidth(std::uint16_t value)
{
    const auto notify = TwNotifyOnChange([this] { return LevelWidth(); }, [this] { emit LevelWidthChanged(LevelWidth()); });
    if (d->m_levelWidth == value)
        return;
    d->m_levelWidth = value;
    Changed();
}

void TwFixedStyle::SetColor(const QColor &value)
{
    SetColor(TXColorOf(value));
}

void TwFixedStyle::SetSelBgColor(const QColor &value)
{
    SetSelBgColor(TXColorOf(value));
}

void TwFixedStyle::SetSelFgColor(const QColor &value)
{
    SetSelFgColor(TXColorOf(value));
}

void TwGridLines::SetHorzColor(const QColor &value)
{
    SetHorzColor(TXColorOf(value));
}

void TwGridLines::SetVertColor(const QColor &value)
{
    SetVertColor(TXColorOf(value));
}

void TwGridLinesEx::SetCellColor(const QColor &value)
{
    SetCellColor(TXColorOf(value));
}

void TwGridLinesEx::SetLevelColor(const QColor &value)
{
    SetLevelColor(TXColorOf(value));
}
