#include "grid/columns.h"

#include "grid/customgrid.h"
#include "grid/uxutils.h"
#include "platform/texception.h"

#include <algorithm>

// TwColumn

TwColumn::TwColumn(TwColumns *collection)
    : m_collection(collection)
{
    TXInitDrawInfo(DrawInfo);
    CreateParts();
}

TwColumn::~TwColumn() = default;

void TwColumn::CreateParts()
{
    m_title = CreateTitle();
    m_footer = CreateFooter();
    m_listOption = CreateListOption();
}

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
    return m_collection ? m_collection->Grid() : nullptr;
}

int TwColumn::Index() const
{
    return m_index;
}

QString TwColumn::GetDisplayName() const
{
    const QString caption = m_title->Caption();
    return caption.isEmpty() ? QStringLiteral("TwColumn%1").arg(m_index) : caption;
}

void TwColumn::Changed()
{
    if (m_collection)
        m_collection->Update(this);
}

bool TwColumn::CanEditShow() const
{
    const TwEditKind kind = GetEditKind();
    if (kind == wekNull)
        return false;
    return !((kind == wekDate || kind == wekTime) && m_readOnly);
}

bool TwColumn::CanSelect() const
{
    return !m_readOnly;
}

bool TwColumn::EditCanModify() const
{
    return !m_readOnly && Grid() && Grid()->GetGridMode() != wgmBrowse;
}

QString TwColumn::GetBoolStr(bool value) const
{
    if (m_values.size() > 1)
        return m_values.at(value ? 1 : 0);
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString TwColumn::GetBoolText(bool value) const
{
    if (ItemsMode() && m_values.size() > 1)
        return m_items.at(value ? 1 : 0);
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
    return m_assigned.Has(wcvAlignment) ? m_alignment : DefaultAlignment();
}

void TwColumn::SetAlignment(TwAlignment value)
{
    m_alignment = value;
    m_assigned.Include(wcvAlignment);
    Changed();
}

TwFont TwColumn::DefaultFont() const
{
    return Grid() ? Grid()->GridFont() : TwFont();
}

TwFont TwColumn::Font() const
{
    return m_assigned.Has(wcvFont) ? m_font : DefaultFont();
}

void TwColumn::SetFont(const TwFont &value)
{
    m_font = value;
    m_assigned.Include(wcvFont);
    Changed();
}

TwImeMode TwColumn::ImeMode() const
{
    if (m_assigned.Has(wcvImeMode))
        return m_imeMode;
    return Grid() ? Grid()->ImeMode() : imDontCare;
}

void TwColumn::SetImeMode(TwImeMode value)
{
    m_imeMode = value;
    m_assigned.Include(wcvImeMode);
}

QString TwColumn::ImeName() const
{
    if (m_assigned.Has(wcvImeName))
        return m_imeName;
    return Grid() ? Grid()->ImeName() : QString();
}

void TwColumn::SetImeName(const QString &value)
{
    m_imeName = value;
    m_assigned.Include(wcvImeName);
}

void TwColumn::SetColor(TColor value)
{
    m_color = value;
    Changed();
}

void TwColumn::SetFitStyle(TwFitStyle value)
{
    m_fitStyle = value;
    Changed();
}

void TwColumn::SetLayout(TwTextLayout value)
{
    m_layout = value;
    Changed();
}

void TwColumn::SetWordWrap(bool value)
{
    m_wordWrap = value;
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
    return m_margins[side];
}

void TwColumn::SetMargin(int side, int value)
{
    CheckMarginSide(side);
    m_margins[side] = std::clamp(value, 0, 255);
    Changed();
}

void TwColumn::SetImageLayout(TwImageLayout value)
{
    m_imageLayout = value;
    Changed();
}

void TwColumn::SetImages(const TwImageList *value)
{
    m_images = value;
    Changed();
}

void TwColumn::SetTransparent(bool value)
{
    m_transparent = value;
    Changed();
}

void TwColumn::SetEqualBlank(bool value)
{
    m_equalBlank = value;
    Changed();
}

void TwColumn::SetAutoSize(bool value)
{
    m_autoSize = value;
    Changed();
}

void TwColumn::SetCtl3D(bool value)
{
    m_ctl3D = value;
    Changed();
}

void TwColumn::SetEditBorder(TwEditBorderStyle value)
{
    m_editBorder = value;
    if (Grid() && Grid()->SelectedColumn() == this)
        Grid()->UpdateEditor();
}

void TwColumn::SetEditButton(bool value)
{
    m_editButton = value;
    Changed();
}

void TwColumn::SetEditColor(bool value)
{
    m_editColor = value;
    if (Grid() && Grid()->SelectedColumn() == this)
        Grid()->UpdateEditor();
}

void TwColumn::SetEditFormat(const QString &value)
{
    m_editFormat = value;
    Changed();
}

void TwColumn::SetEditStyle(TwEditStyle value)
{
    m_editStyle = value;
    if (!Grid() || !Grid()->Loading())
        Changed();
}

void TwColumn::SetMaxLength(int value)
{
    m_maxLength = qMax(0, value);
    if (!Grid() || !Grid()->Loading())
        Changed();
}

void TwColumn::SetRadioColumns(int value)
{
    m_radioColumns = qMax(1, value);
    if (GetEditKind() == wekRadioGroup)
        Changed();
}

void TwColumn::SetReadOnly(bool value)
{
    m_readOnly = value;
    Changed();
}

void TwColumn::SetItems(const QStringList &value)
{
    m_items = value;
    Changed();
}

void TwColumn::SetValues(const QStringList &value)
{
    m_values = value;
    Changed();
}

bool TwColumn::ItemsMode() const
{
    return !m_values.isEmpty() && m_items.size() >= m_values.size();
}

int TwColumn::GetPrecision() const
{
    const qsizetype point = m_editFormat.indexOf(QLatin1Char('.'));
    if (point < 0)
        return 0;
    int count = 0;
    for (qsizetype i = point + 1; i < m_editFormat.size(); ++i) {
        const QChar c = m_editFormat.at(i);
        if (c != QLatin1Char('#') && c != QLatin1Char('0'))
            break;
        ++count;
    }
    return count;
}

bool TwColumn::HasThousandSep() const
{
    return m_editFormat.contains(QLatin1Char(','));
}

double TwColumn::GetMinNum() const
{
    return m_minValue.isEmpty() ? 0.0 : m_minValue.trimmed().toDouble();
}

double TwColumn::GetMaxNum() const
{
    return m_maxValue.isEmpty() ? 0.0 : m_maxValue.trimmed().toDouble();
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
    return ReadDate(m_minValue);
}

QDate TwColumn::GetMaxDate() const
{
    return ReadDate(m_maxValue);
}

TwGroup *TwColumn::GroupObject() const
{
    const TwCustomGrid *grid = Grid();
    if (!grid || m_group < 0 || m_group >= grid->Groups().Count())
        return nullptr;
    return grid->Groups().Items(m_group);
}

int TwColumn::Width() const
{
    const TwCustomGrid *grid = Grid();
    return grid && grid->GroupMode() ? m_grpWidth : m_colWidth;
}

void TwColumn::SetWidth(int value)
{
    value = std::clamp(value, 4, TwMaxPixels);
    TwCustomGrid *grid = Grid();
    if (grid && grid->GroupMode()) {
        if (TwGroup *group = GroupObject())
            group->ResetItemWidth(this, value);
        return;
    }
    const int old = m_colWidth;
    m_colWidth = value;
    if (grid && old != value)
        grid->ColumnWidthChanged(this, old);
}

int TwColumn::Weight() const
{
    const TwGroup *group = GroupObject();
    return group ? group->GetLevelWeight(m_level) : 1;
}

void TwColumn::SetWeight(int value)
{
    if (TwGroup *group = GroupObject())
        group->SetLevelWeight(m_level, value);
}

TwCell TwColumn::GetCell() const
{
    return WCell(m_group, m_level, m_levelIndex);
}

TwCell TwColumn::GetVCell() const
{
    const TwGroup *group = GroupObject();
    return WCell(group ? group->VIndex() : -1, m_level, m_levelIndex);
}

void TwColumn::KeepCurrentAfterMove(bool wasCurrent)
{
    TwCustomGrid *grid = Grid();
    if (!grid)
        return;
    if (wasCurrent && grid->GroupMode()) {
        const TwCell cell = GetVCell();
        if (grid->ValidCell(cell))
            grid->SetCurCell(cell);
    }
    grid->InvalidateGrid();
}

void TwColumn::SetGroup(int value)
{
    if (value == m_group)
        return;
    const bool wasCurrent = Grid() && Grid()->SelectedColumn() == this;
    if (TwGroup *old = GroupObject())
        old->RemoveItem(this);
    m_group = -1;
    TwCustomGrid *grid = Grid();
    if (grid && value >= 0 && value < grid->Groups().Count())
        grid->Groups().Items(value)->InsertItem(m_level, m_levelIndex, this);
    KeepCurrentAfterMove(wasCurrent);
}

void TwColumn::SetLevel(int value)
{
    TwGroup *group = GroupObject();
    if (!group) {
        m_level = qMax(0, value);
        return;
    }
    if (value == m_level)
        return;
    const bool wasCurrent = Grid()->SelectedColumn() == this;
    const int index = m_levelIndex;
    group->RemoveItem(this);
    group->InsertItem(value, index, this);
    KeepCurrentAfterMove(wasCurrent);
}

void TwColumn::SetLevelIndex(int value)
{
    TwGroup *group = GroupObject();
    if (!group) {
        m_levelIndex = qMax(0, value);
        return;
    }
    if (value == m_levelIndex)
        return;
    const bool wasCurrent = Grid()->SelectedColumn() == this;
    group->MoveItem(this, value);
    KeepCurrentAfterMove(wasCurrent);
}

void TwColumn::SetCell(const TwCell &cell)
{
    if (cell.Group != m_group) {
        m_level = qMax(0, cell.Level);
        m_levelIndex = qMax(0, cell.Index);
        SetGroup(cell.Group);
        return;
    }
    SetLevel(cell.Level);
    SetLevelIndex(cell.Index);
}

int TwColumn::VIndex() const
{
    return m_collection ? m_collection->IndexOfVisible(this) : -1;
}

void TwColumn::SetVisible(bool value)
{
    if (value == m_visible)
        return;
    TwCustomGrid *grid = Grid();
    const int position = VIndex();
    m_visible = value;
    if (!grid || grid->Loading() || grid->Designing()) {
        if (m_collection)
            m_collection->Update(nullptr);
        return;
    }
    const bool columnMode = grid->ColumnMode();
    if (value) {
        const int at = qMin(m_lastVIndex, m_collection->GetVCount());
        m_collection->InsertVisible(this, at);
        if (columnMode && at <= grid->CurCol() && m_collection->GetVCount() > 1)
            grid->SetCurCol(grid->CurCol() + 1);
    } else {
        m_lastVIndex = position;
        m_collection->RemoveVisible(this);
        if (columnMode && position == grid->CurCol()) {
            grid->HideEditor();
            grid->SetCurCol(position);
            if (grid->Options().Has(wgoAlwaysShowEditor))
                grid->ShowEditor();
        } else if (columnMode && position < grid->CurCol()) {
            grid->SetCurCol(qMax(m_collection->FirstCol(), grid->CurCol() - 1));
        }
    }
    grid->UpdateEditor();
    m_collection->Update(nullptr);
}

void TwColumn::SetVIndex(int value)
{
    value = qMax(-1, value);
    TwCustomGrid *grid = Grid();
    if ((grid && grid->Loading()) || value == VIndex())
        return;
    if (value < 0) {
        SetVisible(false);
        return;
    }
    if (!m_visible || VIndex() < 0) {
        m_lastVIndex = qMin(value, m_collection->GetVCount());
        SetVisible(true);
        return;
    }
    const TwColumn *current = grid ? grid->SelectedColumn() : nullptr;
    m_collection->MoveVisible(this, qMin(value, m_collection->GetVCount() - 1));
    if (grid && grid->ColumnMode() && current)
        grid->SetCurCol(current->VIndex());
    m_collection->Update(nullptr);
}

void TwColumn::SetDrawInfo()
{
    TXInitDrawInfo(DrawInfo);
    DrawInfo.Alignment = Alignment();
    DrawInfo.FitStyle = m_fitStyle;
    DrawInfo.Layout = m_layout;
    DrawInfo.WordWrap = m_wordWrap;
    for (int i = 0; i < 4; ++i)
        DrawInfo.Margins[i] = m_margins[i];
}

// TwColumns

TwColumns::TwColumns(TwCustomGrid *grid)
    : m_grid(grid)
{
}

TwColumns::~TwColumns()
{
    m_visible.clear();
    m_items.clear();
}

TwColumn *TwColumns::Add()
{
    std::unique_ptr<TwColumn> column = m_grid->NewColumn(this);
    TwColumn *added = column.get();
    added->m_index = Count();
    added->m_lastVIndex = added->m_index;
    m_items.push_back(std::move(column));
    if (!m_grid->Loading() && !m_grid->Designing())
        InsertVisible(added, qMin(added->m_index, GetVCount()));
    if (!m_grid->Loading() && !Updating())
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
    m_items.erase(m_items.begin() + index);
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
    for (std::size_t i = 0; i < m_items.size(); ++i)
        m_items[i]->m_index = static_cast<int>(i);
}

TwColumn *TwColumns::GetVItems(int index) const
{
    if (index < 0 || index >= GetVCount())
        throw TException(QStringLiteral("TwColumns Bounds Error in GetVItems(%1)").arg(index));
    return m_visible[static_cast<std::size_t>(index)];
}

int TwColumns::IndexOfVisible(const TwColumn *column) const
{
    const auto found = std::find(m_visible.begin(), m_visible.end(), column);
    return found == m_visible.end() ? -1 : static_cast<int>(found - m_visible.begin());
}

void TwColumns::InsertVisible(TwColumn *column, int position)
{
    if (IndexOfVisible(column) >= 0)
        return;
    position = std::clamp(position, 0, GetVCount());
    m_visible.insert(m_visible.begin() + position, column);
}

void TwColumns::RemoveVisible(TwColumn *column)
{
    const int position = IndexOfVisible(column);
    if (position >= 0)
        m_visible.erase(m_visible.begin() + position);
}

void TwColumns::MoveVisible(TwColumn *column, int position)
{
    RemoveVisible(column);
    InsertVisible(column, position);
}

void TwColumns::InitVIndices()
{
    m_visible.clear();
    for (const auto &column : m_items) {
        if (column->m_visible)
            m_visible.push_back(column.get());
        column->m_lastVIndex = column->m_index;
    }
}

int TwColumns::FirstCol() const
{
    const int count = GetVCount();
    if (!m_grid->Options().Has(wgoSkipReadOnly))
        return 0;
    for (int i = 0; i < count; ++i) {
        if (m_visible[static_cast<std::size_t>(i)]->CanSelect())
            return i;
    }
    return count - 1;
}

int TwColumns::LastCol() const
{
    const int count = GetVCount();
    if (!m_grid->Options().Has(wgoSkipReadOnly))
        return count - 1;
    for (int i = count - 1; i >= 1; --i) {
        if (m_visible[static_cast<std::size_t>(i)]->CanSelect())
            return i;
    }
    return 0;
}

int TwColumns::NextCol(int position) const
{
    const int count = GetVCount();
    if (!m_grid->Options().Has(wgoSkipReadOnly))
        return qMin(position + 1, count - 1);
    const int start = qMin(position, count - 1);
    for (int i = start + 1; i < count; ++i) {
        if (m_visible[static_cast<std::size_t>(i)]->CanSelect())
            return i;
    }
    return start;
}

int TwColumns::PrevCol(int position) const
{
    const int count = GetVCount();
    if (!m_grid->Options().Has(wgoSkipReadOnly))
        return qMax(position - 1, 0);
    const int start = qMax(qMin(position, count - 1), 0);
    for (int i = start - 1; i >= 0; --i) {
        if (m_visible[static_cast<std::size_t>(i)]->CanSelect())
            return i;
    }
    return start;
}

void TwColumns::RestoreWidths()
{
    if (m_grid->GroupMode())
        return;
    m_grid->BeginUpdate();
    for (const auto &column : m_items) {
        const int titleWidth = TXGetCharWidth(column->Title().Font().Font)
            * static_cast<int>(column->Title().Caption().size());
        const int dataWidth = column->GetDefWidth() * TXGetCharWidth(column->Font().Font);
        column->SetWidth(qMax(titleWidth, dataWidth) + column->MarginLeft() + column->MarginRight());
    }
    m_grid->EndUpdate();
}

void TwColumns::RestoreColumnsFonts()
{
    m_grid->BeginUpdate();
    for (const auto &column : m_items)
        column->SetFont(m_grid->GridFont());
    m_grid->EndUpdate();
}

void TwColumns::RestoreFonts()
{
    m_grid->BeginUpdate();
    for (const auto &column : m_items)
        column->SetFont(m_grid->GridFont());
    for (const auto &column : m_items)
        column->Title().SetFont(column->Font());
    m_grid->EndUpdate();
}

void TwColumns::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0)
        Update(nullptr);
}

void TwColumns::Update(TwColumn *column)
{
    if (m_grid->Loading() || m_grid->Updating() || Updating())
        return;
    if (column) {
        if (m_grid->ColumnMode())
            m_grid->InvalidateStrip(column->VIndex());
        else if (const TwGroup *group = column->GroupObject(); group && group->Visible())
            m_grid->InvalidateStrip(group->VIndex());
        return;
    }
    if (m_grid->Designing())
        InitVIndices();
    m_grid->UpdateRowCount();
    if (m_grid->ColumnMode()) {
        m_grid->SetFixedCount(m_grid->FixedCount());
        m_grid->UpdateScrollRange();
        if (m_grid->CurCol() > LastCol())
            m_grid->SetCurCol(qMax(0, LastCol()));
    }
    m_grid->InvalidateGrid();
}
