#include "grid/columns.h"
#include "grid/core/columns_p.h"
#include "grid/support/notify_p.h"

#include "grid/core/gridowner_p.h"
#include "grid/groups.h"
#include "grid/uxutils.h"
#include "platform/texception.h"

#include <algorithm>

// TwColumn

TwColumn::TwColumn(TwColumns *collection)
    : d(std::make_unique<TwColumnPrivate>())
{
    d->m_collection = collection;
    TXInitDrawInfo(d->m_drawInfo);
}

TwColumn::~TwColumn() = default;

std::unique_ptr<TwColumnTitle> TwColumn::CreateTitle()
{
    return std::make_unique<TwColumnTitle>(this);
}

std::unique_ptr<TwColumnFooter> TwColumn::CreateFooter()
{
    return std::make_unique<TwColumnFooter>(this);
}

std::unique_ptr<TwColumnListOption> TwColumn::CreateListOption()
{
    return std::make_unique<TwColumnListOption>(this);
}

TwCustomGrid *TwColumn::Grid() const
{
    return d->m_collection ? d->m_collection->Grid() : nullptr;
}

TwGridOwner *TwColumn::GridOwner() const
{
    return d->m_collection ? d->m_collection->Owner() : nullptr;
}

int TwColumn::Index() const
{
    return d->m_index;
}

QString TwColumn::GetDisplayName() const
{
    const QString caption = Title().Caption();
    return caption.isEmpty() ? QStringLiteral("TwColumn%1").arg(d->m_index) : caption;
}

void TwColumn::Changed()
{
    if (d->m_collection)
        d->m_collection->Update(this);
}

bool TwColumn::CanEditShow() const
{
    const TwEditKind kind = GetEditKind();
    if (kind == wekNull)
        return false;
    return !((kind == wekDate || kind == wekTime) && d->m_readOnly);
}

bool TwColumn::CanSelect() const
{
    return !d->m_readOnly;
}

bool TwColumn::EditCanModify() const
{
    // OnEdit is asked once, before the first change: a row already being edited or
    // inserted is modified without asking again.
    TwGridOwner *owner = GridOwner();
    return !d->m_readOnly && owner && owner->MayModify(const_cast<TwColumn *>(this));
}

QString TwColumn::GetBoolStr(bool value) const
{
    if (d->m_values.size() > 1)
        return d->m_values.at(value ? 1 : 0);
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool TwColumn::ValueRange(double &, double &) const
{
    return false;
}

QString TwColumn::GetBoolText(bool value) const
{
    if (ItemsMode() && d->m_values.size() > 1)
        return d->m_items.at(value ? 1 : 0);
    return GetBoolStr(value);
}

TwAlignment TwColumn::DefaultAlignment() const
{
    if (IsNumeric())
        return taRightJustify;
    return IsGraphic() ? taCenter : taLeftJustify;
}

TwAlignment TwColumn::Alignment() const
{
    return d->m_assigned.Has(wcvAlignment) ? d->m_alignment : DefaultAlignment();
}

void TwColumn::SetAlignment(TwAlignment value)
{
    const auto notify = TwNotifyOnChange([this] { return Alignment(); }, [this] { emit AlignmentChanged(Alignment()); });
    d->m_alignment = value;
    d->m_assigned.Include(wcvAlignment);
    Changed();
}

TwFont TwColumn::DefaultFont() const
{
    return GridOwner() ? GridOwner()->GridFont() : TwFont();
}

TwFont TwColumn::Font() const
{
    return d->m_assigned.Has(wcvFont) ? d->m_font : DefaultFont();
}

void TwColumn::SetFont(const TwFont &value)
{
    const auto notify = TwNotifyOnChange([this] { return Font(); }, [this] { emit FontChanged(Font()); });
    d->m_font = value;
    d->m_assigned.Include(wcvFont);
    Changed();
}

TwImeMode TwColumn::ImeMode() const
{
    if (d->m_assigned.Has(wcvImeMode))
        return d->m_imeMode;
    return GridOwner() ? GridOwner()->ImeMode() : imDontCare;
}

void TwColumn::SetImeMode(TwImeMode value)
{
    const auto notify = TwNotifyOnChange([this] { return ImeMode(); }, [this] { emit ImeModeChanged(ImeMode()); });
    d->m_imeMode = value;
    d->m_assigned.Include(wcvImeMode);
}

QString TwColumn::ImeName() const
{
    if (d->m_assigned.Has(wcvImeName))
        return d->m_imeName;
    return GridOwner() ? GridOwner()->ImeName() : QString();
}

void TwColumn::SetImeName(const QString &value)
{
    const auto notify = TwNotifyOnChange([this] { return ImeName(); }, [this] { emit ImeNameChanged(ImeName()); });
    d->m_imeName = value;
    d->m_assigned.Include(wcvImeName);
}

void TwColumn::SetColor(TColor value)
{
    const auto notify = TwNotifyOnChange([this] { return Color(); }, [this] { emit ColorChanged(Color()); });
    d->m_color = value;
    Changed();
}

void TwColumn::SetFitStyle(TwFitStyle value)
{
    const auto notify = TwNotifyOnChange([this] { return FitStyle(); }, [this] { emit FitStyleChanged(FitStyle()); });
    d->m_fitStyle = value;
    Changed();
}

void TwColumn::SetLayout(TwTextLayout value)
{
    const auto notify = TwNotifyOnChange([this] { return Layout(); }, [this] { emit LayoutChanged(Layout()); });
    d->m_layout = value;
    Changed();
}

void TwColumn::SetWordWrap(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return WordWrap(); }, [this] { emit WordWrapChanged(WordWrap()); });
    d->m_wordWrap = value;
    Changed();
}

namespace {

void CheckMarginSide(int side)
{
    if (side < 0 || side > 3)
        throw TException(QStringLiteral("Margin side bounds error[%1]").arg(side));
}

} // namespace

int TwColumn::Margin(int side) const
{
    CheckMarginSide(side);
    return d->m_margins[side];
}

void TwColumn::SetMargin(int side, int value)
{
    CheckMarginSide(side);
    // Each side notifies through its own property.
    static constexpr void (TwColumn::*setters[])(int) = {&TwColumn::SetMarginLeft, &TwColumn::SetMarginTop,
                                                          &TwColumn::SetMarginRight, &TwColumn::SetMarginBottom};
    (this->*setters[side])(value);
}

void TwColumn::StoreMargin(int side, int value)
{
    d->m_margins[side] = std::clamp(value, 0, 255);
    Changed();
}

void TwColumn::SetImageLayout(TwImageLayout value)
{
    const auto notify = TwNotifyOnChange([this] { return ImageLayout(); }, [this] { emit ImageLayoutChanged(ImageLayout()); });
    d->m_imageLayout = value;
    Changed();
}

void TwColumn::SetImages(const TwImageList *value)
{
    d->m_images = value;
    Changed();
}

void TwColumn::SetTransparent(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Transparent(); }, [this] { emit TransparentChanged(Transparent()); });
    d->m_transparent = value;
    Changed();
}

void TwColumn::SetEqualBlank(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return EqualBlank(); }, [this] { emit EqualBlankChanged(EqualBlank()); });
    d->m_equalBlank = value;
    Changed();
}

void TwColumn::SetAutoSize(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return AutoSize(); }, [this] { emit AutoSizeChanged(AutoSize()); });
    d->m_autoSize = value;
    Changed();
}

void TwColumn::SetCtl3D(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Ctl3D(); }, [this] { emit Ctl3DChanged(Ctl3D()); });
    d->m_ctl3D = value;
    Changed();
}

void TwColumn::SetEditBorder(TwEditBorderStyle value)
{
    const auto notify = TwNotifyOnChange([this] { return EditBorder(); }, [this] { emit EditBorderChanged(EditBorder()); });
    d->m_editBorder = value;
    if (TwGridOwner *owner = GridOwner())
        owner->ColumnEditorChanged(this);
}

void TwColumn::SetEditButton(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return EditButton(); }, [this] { emit EditButtonChanged(EditButton()); });
    d->m_editButton = value;
    Changed();
}

void TwColumn::SetEditColor(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return EditColor(); }, [this] { emit EditColorChanged(EditColor()); });
    d->m_editColor = value;
    if (TwGridOwner *owner = GridOwner())
        owner->ColumnEditorChanged(this);
}

void TwColumn::SetEditFormat(const QString &value)
{
    const auto notify = TwNotifyOnChange([this] { return EditFormat(); }, [this] { emit EditFormatChanged(EditFormat()); });
    d->m_editFormat = value;
    Changed();
}

void TwColumn::SetEditStyle(TwEditStyle value)
{
    const auto notify = TwNotifyOnChange([this] { return EditStyle(); }, [this] { emit EditStyleChanged(EditStyle()); });
    d->m_editStyle = value;
    if (!GridOwner() || !GridOwner()->Loading())
        Changed();
}

void TwColumn::SetMaxLength(int value)
{
    const auto notify = TwNotifyOnChange([this] { return MaxLength(); }, [this] { emit MaxLengthChanged(MaxLength()); });
    d->m_maxLength = qMax(0, value);
    if (!GridOwner() || !GridOwner()->Loading())
        Changed();
}

void TwColumn::SetRadioColumns(int value)
{
    const auto notify = TwNotifyOnChange([this] { return RadioColumns(); }, [this] { emit RadioColumnsChanged(RadioColumns()); });
    d->m_radioColumns = qMax(1, value);
    if (GetEditKind() == wekRadioGroup)
        Changed();
}

void TwColumn::SetReadOnly(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return ReadOnly(); }, [this] { emit ReadOnlyChanged(ReadOnly()); });
    d->m_readOnly = value;
    Changed();
}

void TwColumn::SetItems(const QStringList &value)
{
    const auto notify = TwNotifyOnChange([this] { return Items(); }, [this] { emit ItemsChanged(Items()); });
    d->m_items = value;
    Changed();
}

void TwColumn::SetValues(const QStringList &value)
{
    const auto notify = TwNotifyOnChange([this] { return Values(); }, [this] { emit ValuesChanged(Values()); });
    d->m_values = value;
    Changed();
}

bool TwColumn::ItemsMode() const
{
    return !d->m_values.isEmpty() && d->m_items.size() >= d->m_values.size();
}

int TwColumn::GetPrecision() const
{
    const qsizetype point = d->m_editFormat.indexOf(QLatin1Char('.'));
    if (point < 0)
        return 0;
    int count = 0;
    for (qsizetype i = point + 1; i < d->m_editFormat.size(); ++i) {
        const QChar c = d->m_editFormat.at(i);
        if (c != QLatin1Char('#') && c != QLatin1Char('0'))
            break;
        ++count;
    }
    return count;
}

bool TwColumn::HasThousandSep() const
{
    return d->m_editFormat.contains(QLatin1Char(','));
}

double TwColumn::GetMinNum() const
{
    return d->m_minValue.isEmpty() ? 0.0 : d->m_minValue.trimmed().toDouble();
}

double TwColumn::GetMaxNum() const
{
    return d->m_maxValue.isEmpty() ? 0.0 : d->m_maxValue.trimmed().toDouble();
}

namespace {

QDate ReadDate(const QString &text)
{
    if (text.isEmpty())
        return {};
    for (const char *format : {"yyyy-MM-dd", "yyyyMMdd", "yyyy/MM/dd", "yyyy.MM.dd"}) {
        const QDate date = QDate::fromString(text.trimmed(), QString::fromLatin1(format));
        if (date.isValid())
            return date;
    }
    return {};
}

} // namespace

QDate TwColumn::GetMinDate() const
{
    return ReadDate(d->m_minValue);
}

QDate TwColumn::GetMaxDate() const
{
    return ReadDate(d->m_maxValue);
}

void TwColumn::SetDrawInfo()
{
    TXInitDrawInfo(d->m_drawInfo);
    d->m_drawInfo.Alignment = Alignment();
    d->m_drawInfo.FitStyle = d->m_fitStyle;
    d->m_drawInfo.Layout = d->m_layout;
    d->m_drawInfo.WordWrap = d->m_wordWrap;
    for (int i = 0; i < 4; ++i)
        d->m_drawInfo.Margins[i] = d->m_margins[i];
}

TwColumns *TwColumn::Collection() const
{
    return d->m_collection;
}

TwColumnValues TwColumn::AssignedValues() const
{
    return d->m_assigned;
}

TColor TwColumn::Color() const
{
    return d->m_color;
}

TwFitStyle TwColumn::FitStyle() const
{
    return d->m_fitStyle;
}

TwTextLayout TwColumn::Layout() const
{
    return d->m_layout;
}

bool TwColumn::WordWrap() const
{
    return d->m_wordWrap;
}

int TwColumn::MarginLeft() const
{
    return d->m_margins[0];
}

int TwColumn::MarginTop() const
{
    return d->m_margins[1];
}

int TwColumn::MarginRight() const
{
    return d->m_margins[2];
}

int TwColumn::MarginBottom() const
{
    return d->m_margins[3];
}

TwImageLayout TwColumn::ImageLayout() const
{
    return d->m_imageLayout;
}

const TwImageList *TwColumn::Images() const
{
    return d->m_images;
}

bool TwColumn::Transparent() const
{
    return d->m_transparent;
}

bool TwColumn::EqualBlank() const
{
    return d->m_equalBlank;
}

bool TwColumn::AutoSize() const
{
    return d->m_autoSize;
}

bool TwColumn::Ctl3D() const
{
    return d->m_ctl3D;
}

TwCharCase TwColumn::CharCase() const
{
    return d->m_charCase;
}

void TwColumn::SetCharCase(TwCharCase value)
{
    const auto notify = TwNotifyOnChange([this] { return CharCase(); }, [this] { emit CharCaseChanged(CharCase()); });
    d->m_charCase = value;
}

TwEditBorderStyle TwColumn::EditBorder() const
{
    return d->m_editBorder;
}

bool TwColumn::EditButton() const
{
    return d->m_editButton;
}

bool TwColumn::EditColor() const
{
    return d->m_editColor;
}

QString TwColumn::EditFormat() const
{
    return d->m_editFormat;
}

TwEditStyle TwColumn::EditStyle() const
{
    return d->m_editStyle;
}

int TwColumn::MaxLength() const
{
    return d->m_maxLength;
}

QString TwColumn::MaxValue() const
{
    return d->m_maxValue;
}

void TwColumn::SetMaxValue(const QString &value)
{
    const auto notify = TwNotifyOnChange([this] { return MaxValue(); }, [this] { emit MaxValueChanged(MaxValue()); });
    d->m_maxValue = value;
}

QString TwColumn::MinValue() const
{
    return d->m_minValue;
}

void TwColumn::SetMinValue(const QString &value)
{
    const auto notify = TwNotifyOnChange([this] { return MinValue(); }, [this] { emit MinValueChanged(MinValue()); });
    d->m_minValue = value;
}

int TwColumn::RadioColumns() const
{
    return d->m_radioColumns;
}

bool TwColumn::ReadOnly() const
{
    return d->m_readOnly;
}

const QStringList &TwColumn::Items() const
{
    return d->m_items;
}

const QStringList &TwColumn::Values() const
{
    return d->m_values;
}

TwColumnTitle &TwColumn::Title()
{
    if (!d->m_title) {
        d->m_title = CreateTitle();
        if (!d->m_firstCaption.isEmpty())
            d->m_title->SetCaption(std::exchange(d->m_firstCaption, QString()));
    }
    return *d->m_title;
}

void TwColumn::SetFirstCaption(const QString &caption)
{
    if (d->m_title)
        d->m_title->SetCaption(caption);
    else
        d->m_firstCaption = caption;
}

const TwColumnTitle &TwColumn::Title() const
{
    return const_cast<TwColumn *>(this)->Title();
}

TwColumnFooter &TwColumn::Footer()
{
    if (!d->m_footer)
        d->m_footer = CreateFooter();
    return *d->m_footer;
}

const TwColumnFooter &TwColumn::Footer() const
{
    return const_cast<TwColumn *>(this)->Footer();
}

TwColumnListOption &TwColumn::ListOption()
{
    if (!d->m_listOption)
        d->m_listOption = CreateListOption();
    return *d->m_listOption;
}

const TwColumnListOption &TwColumn::ListOption() const
{
    return const_cast<TwColumn *>(this)->ListOption();
}

bool TwColumn::Visible() const
{
    return d->m_visible;
}

int TwColumn::Group() const
{
    return d->m_group;
}

int TwColumn::Level() const
{
    return d->m_level;
}

int TwColumn::LevelIndex() const
{
    return d->m_levelIndex;
}

int TwColumn::ColWidth() const
{
    return d->m_colWidth;
}

int TwColumn::GrpWidth() const
{
    return d->m_grpWidth;
}

int TwColumn::LeftOffset() const
{
    return d->m_left;
}

int TwColumn::RightOffset() const
{
    return d->m_right;
}

const TwDrawInfo &TwColumn::DrawInfo() const
{
    return d->m_drawInfo;
}

void TwColumn::SetMarginLeft(int value)
{
    const auto notify = TwNotifyOnChange([this] { return MarginLeft(); }, [this] { emit MarginLeftChanged(MarginLeft()); });
    StoreMargin(0, value);
}

void TwColumn::SetMarginTop(int value)
{
    const auto notify = TwNotifyOnChange([this] { return MarginTop(); }, [this] { emit MarginTopChanged(MarginTop()); });
    StoreMargin(1, value);
}

void TwColumn::SetMarginRight(int value)
{
    const auto notify = TwNotifyOnChange([this] { return MarginRight(); }, [this] { emit MarginRightChanged(MarginRight()); });
    StoreMargin(2, value);
}

void TwColumn::SetMarginBottom(int value)
{
    const auto notify = TwNotifyOnChange([this] { return MarginBottom(); }, [this] { emit MarginBottomChanged(MarginBottom()); });
    StoreMargin(3, value);
}

void TwColumn::SetColor(const QColor &value)
{
    SetColor(TXColorOf(value));
}

