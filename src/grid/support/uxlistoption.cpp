// The options of the drop-down lists: the plain list option and the item-list option with
// its separator, value column and titles.

#include "grid/uxlistoption.h"
#include "grid/support/uxlistoption_p.h"

#include "grid/support/notify_p.h"

#include <algorithm>

TwListoption::TwListoption()
    : d(std::make_unique<TwListoptionPrivate>())
{
}

TwListoption::~TwListoption() = default;

void TwListoption::Assign(const TwListoption &source)
{
    if (&source == this)
        return;
    SetAutoDrop(source.AutoDrop());
    SetCaseSensitive(source.CaseSensitive());
    SetCharWidth(source.CharWidth());
    SetColLines(source.ColLines());
    SetColor(source.Color());
    SetItemCount(source.ItemCount());
    SetLineColor(source.LineColor());
    SetRowLines(source.RowLines());
    SetShowTitle(source.ShowTitle());
    SetTitleColor(source.TitleColor());
    SetWidth(source.Width());
    // A font the source takes from its owner is taken from this option's owner.
    {
        const auto notify = TwNotifyOnChange([this] { return Font(); }, [this] { emit FontChanged(Font()); });
        d->m_font = source.d->m_font;
        d->m_fontAssigned = source.d->m_fontAssigned;
    }
    {
        const auto notify = TwNotifyOnChange([this] { return TitleFont(); }, [this] { emit TitleFontChanged(TitleFont()); });
        d->m_titleFont = source.d->m_titleFont;
        d->m_titleFontAssigned = source.d->m_titleFontAssigned;
    }
    Changed();
}

TwFont TwListoption::DefaultFont() const
{
    return TwFont();
}

TwFont TwListoption::DefaultTitleFont() const
{
    return TwFont();
}

TwFont TwListoption::Font() const
{
    return d->m_fontAssigned ? d->m_font : DefaultFont();
}

void TwListoption::SetFont(const TwFont &font)
{
    const auto notify = TwNotifyOnChange([this] { return Font(); }, [this] { emit FontChanged(Font()); });
    d->m_font = font;
    d->m_fontAssigned = true;
    Changed();
}

bool TwListoption::FontAssigned() const
{
    return d->m_fontAssigned;
}

TwFont TwListoption::TitleFont() const
{
    return d->m_titleFontAssigned ? d->m_titleFont : DefaultTitleFont();
}

void TwListoption::SetTitleFont(const TwFont &font)
{
    const auto notify = TwNotifyOnChange([this] { return TitleFont(); }, [this] { emit TitleFontChanged(TitleFont()); });
    d->m_titleFont = font;
    d->m_titleFontAssigned = true;
    Changed();
}

bool TwListoption::TitleFontAssigned() const
{
    return d->m_titleFontAssigned;
}

bool TwListoption::AutoDrop() const
{
    return d->m_autoDrop;
}

void TwListoption::SetAutoDrop(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return AutoDrop(); }, [this] { emit AutoDropChanged(AutoDrop()); });
    if (d->m_autoDrop == value)
        return;
    d->m_autoDrop = value;
    Changed();
}

bool TwListoption::CaseSensitive() const
{
    return d->m_caseSensitive;
}

void TwListoption::SetCaseSensitive(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return CaseSensitive(); }, [this] { emit CaseSensitiveChanged(CaseSensitive()); });
    if (d->m_caseSensitive == value)
        return;
    d->m_caseSensitive = value;
    Changed();
}

int TwListoption::CharWidth() const
{
    return d->m_charWidth;
}

void TwListoption::SetCharWidth(int value)
{
    const auto notify = TwNotifyOnChange([this] { return CharWidth(); }, [this] { emit CharWidthChanged(CharWidth()); });
    value = std::clamp(value, -TwMaxPixels, TwMaxPixels);
    if (d->m_charWidth == value)
        return;
    d->m_charWidth = value;
    Changed();
}

bool TwListoption::ColLines() const
{
    return d->m_colLines;
}

void TwListoption::SetColLines(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return ColLines(); }, [this] { emit ColLinesChanged(ColLines()); });
    if (d->m_colLines == value)
        return;
    d->m_colLines = value;
    Changed();
}

TColor TwListoption::Color() const
{
    return d->m_color;
}

void TwListoption::SetColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return Color(); }, [this] { emit ColorChanged(Color()); });
    if (d->m_color == value)
        return;
    d->m_color = value;
    Changed();
}

int TwListoption::ItemCount() const
{
    return d->m_itemCount;
}

void TwListoption::SetItemCount(int value)
{
    const auto notify = TwNotifyOnChange([this] { return ItemCount(); }, [this] { emit ItemCountChanged(ItemCount()); });
    value = std::clamp(value, 0, TwMaxPixels);
    if (d->m_itemCount == value)
        return;
    d->m_itemCount = value;
    Changed();
}

TColor TwListoption::LineColor() const
{
    return d->m_lineColor;
}

void TwListoption::SetLineColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return LineColor(); }, [this] { emit LineColorChanged(LineColor()); });
    if (d->m_lineColor == value)
        return;
    d->m_lineColor = value;
    Changed();
}

bool TwListoption::RowLines() const
{
    return d->m_rowLines;
}

void TwListoption::SetRowLines(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return RowLines(); }, [this] { emit RowLinesChanged(RowLines()); });
    if (d->m_rowLines == value)
        return;
    d->m_rowLines = value;
    Changed();
}

bool TwListoption::ShowTitle() const
{
    return d->m_showTitle;
}

void TwListoption::SetShowTitle(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return ShowTitle(); }, [this] { emit ShowTitleChanged(ShowTitle()); });
    if (d->m_showTitle == value)
        return;
    d->m_showTitle = value;
    Changed();
}

TColor TwListoption::TitleColor() const
{
    return d->m_titleColor;
}

void TwListoption::SetTitleColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return TitleColor(); }, [this] { emit TitleColorChanged(TitleColor()); });
    if (d->m_titleColor == value)
        return;
    d->m_titleColor = value;
    Changed();
}

int TwListoption::Width() const
{
    return d->m_width;
}

void TwListoption::SetWidth(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Width(); }, [this] { emit WidthChanged(Width()); });
    value = std::clamp(value, -TwMaxPixels, TwMaxPixels);
    if (d->m_width == value)
        return;
    d->m_width = value;
    Changed();
}

TwItemListOption::TwItemListOption()
    : d(std::make_unique<TwItemListOptionPrivate>())
{
}

TwItemListOption::~TwItemListOption() = default;

void TwItemListOption::Assign(const TwListoption &source)
{
    TwListoption::Assign(source);
    const auto *items = qobject_cast<const TwItemListOption *>(&source);
    if (!items)
        return;
    SetSeparator(items->Separator());
    SetValuesIndex(items->ValuesIndex());
    SetTitles(items->Titles());
}

QChar TwItemListOption::Separator() const
{
    return d->m_separator;
}

void TwItemListOption::SetSeparator(QChar value)
{
    const auto notify = TwNotifyOnChange([this] { return Separator(); }, [this] { emit SeparatorChanged(Separator()); });
    if (d->m_separator == value)
        return;
    d->m_separator = value;
    Changed();
}

int TwItemListOption::ValuesIndex() const
{
    return d->m_valuesIndex;
}

void TwItemListOption::SetValuesIndex(int value)
{
    const auto notify = TwNotifyOnChange([this] { return ValuesIndex(); }, [this] { emit ValuesIndexChanged(ValuesIndex()); });
    const int clamped = std::max(value, -1);
    if (d->m_valuesIndex == clamped)
        return;
    d->m_valuesIndex = clamped;
    Changed();
}

QString TwItemListOption::Titles() const
{
    return d->m_titles;
}

void TwItemListOption::SetTitles(const QString &value)
{
    const auto notify = TwNotifyOnChange([this] { return Titles(); }, [this] { emit TitlesChanged(Titles()); });
    if (d->m_titles == value)
        return;
    d->m_titles = value;
    Changed();
}
