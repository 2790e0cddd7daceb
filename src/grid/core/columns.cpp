#include "grid/columns.h"
#include "grid/core/columns_p.h"
#include "grid/core/moveitem_p.h"
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

TwGroup *TwColumn::GroupObject() const
{
    TwGridOwner *owner = GridOwner();
    if (!owner || d->m_group < 0 || d->m_group >= owner->Groups().Count())
        return nullptr;
    return owner->Groups().Items(d->m_group);
}

int TwColumn::Width() const
{
    const TwGridOwner *owner = GridOwner();
    return owner && owner->GroupMode() ? d->m_grpWidth : d->m_colWidth;
}

void TwColumn::SetWidth(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Width(); }, [this] { emit WidthChanged(Width()); });
    value = std::clamp(value, 4, TwMaxPixels);
    TwGridOwner *owner = GridOwner();
    if (owner && owner->GroupMode()) {
        if (TwGroup *group = GroupObject())
            group->ResetItemWidth(this, value);
        return;
    }
    const int old = d->m_colWidth;
    d->m_colWidth = value;
    if (owner && old != value)
        owner->ColumnWidthChanged(this, old);
}

int TwColumn::Weight() const
{
    const TwGroup *group = GroupObject();
    return group ? group->GetLevelWeight(d->m_level) : 1;
}

void TwColumn::SetWeight(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Weight(); }, [this] { emit WeightChanged(Weight()); });
    if (TwGroup *group = GroupObject())
        group->SetLevelWeight(d->m_level, value);
}

TwCell TwColumn::GetCell() const
{
    return WCell(d->m_group, d->m_level, d->m_levelIndex);
}

TwCell TwColumn::GetVCell() const
{
    const TwGroup *group = GroupObject();
    return WCell(group ? group->VIndex() : -1, d->m_level, d->m_levelIndex);
}

void TwColumn::SetGroup(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Group(); }, [this] { emit GroupChanged(Group()); });
    if (value == d->m_group)
        return;
    TwGridOwner *owner = GridOwner();
    const TwColumnMove move(owner, this);
    if (TwGroup *old = GroupObject())
        old->RemoveItem(this);
    d->m_group = -1;
    if (owner && value >= 0 && value < owner->Groups().Count())
        owner->Groups().Items(value)->InsertItem(d->m_level, d->m_levelIndex, this);
}

void TwColumn::SetLevel(int value)
{
    const auto notify = TwNotifyOnChange([this] { return Level(); }, [this] { emit LevelChanged(Level()); });
    TwGroup *group = GroupObject();
    if (!group) {
        d->m_level = qMax(0, value);
        return;
    }
    if (value == d->m_level)
        return;
    const TwColumnMove move(GridOwner(), this);
    const int index = d->m_levelIndex;
    group->RemoveItem(this);
    group->InsertItem(value, index, this);
}

void TwColumn::SetLevelIndex(int value)
{
    const auto notify = TwNotifyOnChange([this] { return LevelIndex(); }, [this] { emit LevelIndexChanged(LevelIndex()); });
    TwGroup *group = GroupObject();
    if (!group) {
        d->m_levelIndex = qMax(0, value);
        return;
    }
    if (value == d->m_levelIndex)
        return;
    const TwColumnMove move(GridOwner(), this);
    group->MoveItem(this, value);
}

void TwColumn::SetCell(const TwCell &cell)
{
    if (cell.Group != d->m_group) {
        d->m_level = qMax(0, cell.Level);
        d->m_levelIndex = qMax(0, cell.Index);
        SetGroup(cell.Group);
        return;
    }
    SetLevel(cell.Level);
    SetLevelIndex(cell.Index);
}

int TwColumn::VIndex() const
{
    return d->m_collection ? d->m_collection->IndexOfVisible(this) : -1;
}

void TwColumn::SetVisible(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Visible(); }, [this] { emit VisibleChanged(Visible()); });
    if (value == d->m_visible)
        return;
    TwGridOwner *owner = GridOwner();
    const int position = VIndex();
    d->m_visible = value;
    if (!owner || owner->Loading() || owner->Designing()) {
        if (d->m_collection)
            d->m_collection->Update(nullptr);
        return;
    }
    if (value) {
        const int at = qMin(d->m_lastVIndex, d->m_collection->GetVCount());
        d->m_collection->InsertVisible(this, at);
        owner->VisibleColumnInserted(at);
    } else {
        d->m_lastVIndex = position;
        d->m_collection->RemoveVisible(this);
        owner->VisibleColumnRemoved(position);
    }
    d->m_collection->Update(nullptr);
}

void TwColumn::SetVIndex(int value)
{
    value = qMax(-1, value);
    TwGridOwner *owner = GridOwner();
    if ((owner && owner->Loading()) || value == VIndex())
        return;
    if (value < 0) {
        SetVisible(false);
        return;
    }
    if (!d->m_visible || VIndex() < 0) {
        d->m_lastVIndex = qMin(value, d->m_collection->GetVCount());
        SetVisible(true);
        return;
    }
    const TwColumnMove move(owner, nullptr);
    d->m_collection->MoveVisible(this, qMin(value, d->m_collection->GetVCount() - 1));
    d->m_collection->Update(nullptr);
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

// TwColumns

TwColumns::TwColumns(TwCustomGrid *grid)
    : d(std::make_unique<TwColumnsPrivate>())
{
    d->m_grid = grid;
    d->m_owner = TwOwnerOf(grid);
}

TwColumns::~TwColumns()
{
    d->m_visible.clear();
    d->m_items.clear();
}

TwColumn *TwColumns::Add()
{
    std::unique_ptr<TwColumn> column = d->m_owner->NewColumn(this);
    TwColumn *added = column.get();
    added->d->m_index = Count();
    added->d->m_lastVIndex = added->d->m_index;
    d->m_items.push_back(std::move(column));
    if (!d->m_owner->Loading() && !d->m_owner->Designing())
        InsertVisible(added, qMin(added->d->m_index, GetVCount()));
    if (!d->m_owner->Loading() && !Updating())
        added->Footer().FootersChanged();
    Update(nullptr);
    return added;
}

void TwColumns::Delete(int index)
{
    TwColumn *column = Items(index);
    if (TwGroup *group = column->GroupObject())
        group->RemoveItem(column);
    RemoveVisible(column);
    d->m_items.erase(d->m_items.begin() + index);
    Renumber();
    Update(nullptr);
}

void TwColumns::Clear()
{
    BeginUpdate();
    while (Count() > 0)
        Delete(Count() - 1);
    EndUpdate();
}

void TwColumns::Renumber()
{
    for (std::size_t i = 0; i < d->m_items.size(); ++i)
        d->m_items[i]->d->m_index = static_cast<int>(i);
}

TwColumn *TwColumns::GetVItems(int index) const
{
    if (index < 0 || index >= GetVCount())
        throw TException(QStringLiteral("TwColumns Bounds Error in GetVItems(%1)").arg(index));
    return d->m_visible[static_cast<std::size_t>(index)];
}

int TwColumns::IndexOfVisible(const TwColumn *column) const
{
    const auto found = std::find(d->m_visible.begin(), d->m_visible.end(), column);
    return found == d->m_visible.end() ? -1 : static_cast<int>(found - d->m_visible.begin());
}

void TwColumns::InsertVisible(TwColumn *column, int position)
{
    if (IndexOfVisible(column) >= 0)
        return;
    position = std::clamp(position, 0, GetVCount());
    d->m_visible.insert(d->m_visible.begin() + position, column);
}

void TwColumns::RemoveVisible(TwColumn *column)
{
    const int position = IndexOfVisible(column);
    if (position >= 0)
        d->m_visible.erase(d->m_visible.begin() + position);
}

void TwColumns::MoveVisible(TwColumn *column, int position)
{
    RemoveVisible(column);
    InsertVisible(column, position);
}

void TwColumns::InitVIndices()
{
    d->m_visible.clear();
    for (const auto &column : d->m_items) {
        if (column->d->m_visible)
            d->m_visible.push_back(column.get());
        column->d->m_lastVIndex = column->d->m_index;
    }
}

int TwColumns::FirstCol() const
{
    const int count = GetVCount();
    if (!d->m_owner->Options().Has(wgoSkipReadOnly))
        return 0;
    for (int i = 0; i < count; ++i) {
        if (d->m_visible[static_cast<std::size_t>(i)]->CanSelect())
            return i;
    }
    return count - 1;
}

int TwColumns::LastCol() const
{
    const int count = GetVCount();
    if (!d->m_owner->Options().Has(wgoSkipReadOnly))
        return count - 1;
    for (int i = count - 1; i >= 1; --i) {
        if (d->m_visible[static_cast<std::size_t>(i)]->CanSelect())
            return i;
    }
    return 0;
}

int TwColumns::NextCol(int position) const
{
    const int count = GetVCount();
    if (!d->m_owner->Options().Has(wgoSkipReadOnly))
        return qMin(position + 1, count - 1);
    const int start = qMin(position, count - 1);
    for (int i = start + 1; i < count; ++i) {
        if (d->m_visible[static_cast<std::size_t>(i)]->CanSelect())
            return i;
    }
    return start;
}

int TwColumns::PrevCol(int position) const
{
    const int count = GetVCount();
    if (!d->m_owner->Options().Has(wgoSkipReadOnly))
        return qMax(position - 1, 0);
    const int start = qMax(qMin(position, count - 1), 0);
    for (int i = start - 1; i >= 0; --i) {
        if (d->m_visible[static_cast<std::size_t>(i)]->CanSelect())
            return i;
    }
    return start;
}

void TwColumns::RestoreWidths()
{
    if (d->m_owner->GroupMode())
        return;
    d->m_owner->BeginUpdate();
    for (const auto &column : d->m_items) {
        const int titleWidth = TXGetCharWidth(column->Title().Font().Font)
            * static_cast<int>(column->Title().Caption().size());
        const int dataWidth = column->GetDefWidth() * TXGetCharWidth(column->Font().Font);
        column->SetWidth(qMax(titleWidth, dataWidth) + column->MarginLeft() + column->MarginRight());
    }
    d->m_owner->EndUpdate();
}

void TwColumns::RestoreColumnsFonts()
{
    d->m_owner->BeginUpdate();
    for (const auto &column : d->m_items)
        column->SetFont(d->m_owner->GridFont());
    d->m_owner->EndUpdate();
}

void TwColumns::RestoreFonts()
{
    d->m_owner->BeginUpdate();
    for (const auto &column : d->m_items)
        column->SetFont(d->m_owner->GridFont());
    for (const auto &column : d->m_items)
        column->Title().SetFont(column->Font());
    d->m_owner->EndUpdate();
}

void TwColumns::EndUpdate()
{
    if (d->m_updateCount > 0 && --d->m_updateCount == 0)
        Update(nullptr);
}

void TwColumns::Update(TwColumn *column)
{
    if (d->m_owner->Loading() || d->m_owner->Updating() || Updating())
        return;
    if (column) {
        d->m_owner->ColumnChanged(column);
        return;
    }
    if (d->m_owner->Designing())
        InitVIndices();
    d->m_owner->ColumnsChanged();
}

TwGridOwner *TwColumns::Owner() const
{
    return d->m_owner;
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

TwCustomGrid *TwColumns::Grid() const
{
    return d->m_grid;
}

int TwColumns::Count() const
{
    return static_cast<int>(d->m_items.size());
}

TwColumn *TwColumns::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw TException(QStringLiteral("TwColumns Bounds Error in Items(%1)").arg(index));
    return d->m_items[static_cast<std::size_t>(index)].get();
}

int TwColumns::GetVCount() const
{
    return static_cast<int>(d->m_visible.size());
}

void TwColumns::BeginUpdate()
{
    ++d->m_updateCount;
}

bool TwColumns::Updating() const
{
    return d->m_updateCount > 0;
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

void TwColumn::SetIndex(int value)
{
    if (!d->m_collection)
        return;
    const TwColumnMove move(GridOwner(), nullptr);
    if (!TwMoveItem(d->m_collection->d->m_items, d->m_index, value))
        return;
    d->m_collection->Renumber();
    d->m_collection->Update(nullptr);
}
