#include "grid/memcolumn.h"

#include "grid/store/memcolumn_p.h"
#include "grid/support/notify_p.h"

#include "grid/core/columns_p.h"

#include "grid/core/gridowner_p.h"
#include "platform/texception.h"

#include <QRegularExpression>
#include <QtGlobal>

#include <limits>

TwStoreOwner::~TwStoreOwner() = default;

QString TwStoreOwner::StoreGetText(TwMemColumn *, int, const QString &text)
{
    return text;
}

int TwStoreOwner::StoreRow(int row) const
{
    return row;
}

void TwStoreOwner::StoreSort(TwMemColumn *, bool, bool)
{
}

bool TwStoreOwner::StoreEdit()
{
    return StoreEditing();
}

int TwStoreOwner::StoreTopRow() const
{
    return 0;
}

namespace {

// "Column" and one more than the largest N of the other columns' "…COLUMN<N>…" captions.
QString NextColumnCaption(const TwColumns &columns, const TwColumn *self)
{
    static const QRegularExpression numbered(QStringLiteral("COLUMN(\\d+)"));
    int largest = 0;
    for (int i = 0; i < columns.Count(); ++i) {
        const TwColumn *column = columns.Items(i);
        if (column == self)
            continue;
        const auto match = numbered.match(column->Title().Caption().toUpper());
        if (match.hasMatch())
            largest = qMax(largest, match.captured(1).toInt());
    }
    return QStringLiteral("Column%1").arg(largest + 1);
}

// A grid neither loading a design nor being designed holds rows.
bool Running(const TwGridOwner *grid)
{
    return grid && !grid->Loading() && !grid->Designing();
}

} // namespace

// TwMemColumn

TwMemColumn::TwMemColumn(TwColumns *collection, TwStoreOwner *owner)
    : TwColumn(collection)
    , d(std::make_unique<TwMemColumnPrivate>())
{
    d->m_owner = owner;
    d->m_edit.SetCount(1);
    d->m_saved.SetCount(1);
    if (collection)
        SetFirstCaption(NextColumnCaption(*collection, this));
    if (Running(GridOwner())) {
        d->m_pool.Init();
        if (owner)
            d->m_pool.SetCount(owner->StoreRowCount());
    }
}

TwMemColumn::~TwMemColumn() = default;

std::unique_ptr<TwColumnFooter> TwMemColumn::CreateFooter()
{
    return std::make_unique<TwMemColumnFooter>(this);
}

TwStoreOwner *TwMemColumn::Owner() const
{
    return d->m_owner;
}

TwEditKind TwMemColumn::GetEditKind() const
{
    if (d->m_dataType == wdtGraphic)
        return wekGraphic;
    TwEditKind kind = wekText;
    switch (d->m_dataType) {
    case wdtBool:
        kind = wekCheckBox;
        break;
    case wdtDate:
    case wdtDateTime:
        kind = wekDate;
        break;
    case wdtTime:
        kind = wekTime;
        break;
    default:
        kind = TXIsNumericType(d->m_dataType) ? wekNumber : wekText;
        break;
    }
    const qsizetype values = Values().size();
    if (values > 0 && kind != wekCheckBox)
        kind = wekPickList;
    const bool strings = TXIsStringType(d->m_dataType);
    const bool numeric = TXIsNumericType(d->m_dataType);
    switch (EditStyle()) {
    case wesText:
        return wekText;
    case wesMultiText:
        return strings ? wekMultiText : kind;
    case wesMemo:
        return strings ? wekMemo : kind;
    case wesCheckBox:
        return d->m_dataType == wdtBool || values >= 2 ? wekCheckBox : kind;
    case wesBoolean:
        return d->m_dataType == wdtBool || values >= 2 ? wekBoolean : kind;
    case wesRadioGroup:
        return d->m_dataType == wdtBool || values > 0 ? wekRadioGroup : kind;
    case wesNumber:
        return numeric ? wekNumber : kind;
    case wesSpinEdit:
        return numeric ? wekSpinEdit : kind;
    case wesDate:
        return d->m_dataType == wdtDate || d->m_dataType == wdtDateTime ? wekDate : kind;
    case wesTime:
        return d->m_dataType == wdtTime || d->m_dataType == wdtDateTime ? wekTime : kind;
    case wesPickList:
        return values > 0 ? wekPickList : kind;
    default:
        return kind;
    }
}

int TwMemColumn::GetEditLimit() const
{
    const TwEditKind kind = GetEditKind();
    if ((kind == wekPickList && ItemsMode()) || kind == wekLookupList)
        return 0;
    if ((d->m_dataType == wdtString && d->m_dataWidth > 0) || d->m_dataType == wdtChar) {
        const int width = d->m_dataType == wdtChar ? TXCharWidth(d->m_dataWidth) : d->m_dataWidth;
        return MaxLength() > 0 ? qMin(width, MaxLength()) : width;
    }
    return MaxLength();
}

int TwMemColumn::GetDefWidth() const
{
    if (d->m_dataType == wdtChar)
        return TXCharWidth(d->m_dataWidth);
    if (d->m_dataType == wdtString)
        return d->m_dataWidth > 0 ? d->m_dataWidth : 16;
    return 10;
}

bool TwMemColumn::IsGraphic() const
{
    return GetEditKind() == wekGraphic;
}

bool TwMemColumn::IsNumeric() const
{
    return TXIsNumericType(d->m_dataType);
}

bool TwMemColumn::IsValidChar(QChar key) const
{
    if (GetEditKind() == wekPickList)
        return true;
    const bool digit = key >= QLatin1Char('0') && key <= QLatin1Char('9');
    const bool sign = key == QLatin1Char('+') || key == QLatin1Char('-');
    switch (d->m_dataType) {
    case wdtShort:
    case wdtSmall:
    case wdtLong:
        return digit || sign;
    case wdtByte:
    case wdtWord:
        return digit;
    case wdtFloat:
        return digit || sign || key == QLatin1Char('.') || key == QLatin1Char('E') || key == QLatin1Char('e');
    case wdtDate:
        return digit || key == TwLocale::Current().DateSeparator;
    case wdtTime:
        return digit || key == TwLocale::Current().TimeSeparator;
    case wdtGraphic:
        return false;
    default:
        return true;
    }
}

bool TwMemColumn::ValueRange(double &low, double &high) const
{
    // What the integer types hold; texts and floating point set no bounds.
    switch (d->m_dataType) {
    case wdtShort:
        low = std::numeric_limits<qint8>::min();
        high = std::numeric_limits<qint8>::max();
        return true;
    case wdtByte:
        low = 0;
        high = std::numeric_limits<quint8>::max();
        return true;
    case wdtSmall:
        low = std::numeric_limits<qint16>::min();
        high = std::numeric_limits<qint16>::max();
        return true;
    case wdtWord:
        low = 0;
        high = std::numeric_limits<quint16>::max();
        return true;
    case wdtLong:
        low = std::numeric_limits<qint32>::min();
        high = std::numeric_limits<qint32>::max();
        return true;
    default:
        return false;
    }
}

bool TwMemColumn::CanSelect() const
{
    return !d->m_calculated && TwColumn::CanSelect();
}

bool TwMemColumn::EditCanModify() const
{
    if (d->m_calculated || !TwColumn::EditCanModify())
        return false;
    // Modifying a cell starts editing its row; the grid may refuse (a deleted row).
    return d->m_owner && d->m_owner->StoreEdit();
}

void TwMemColumn::SetCalculated(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Calculated(); }, [this] { emit CalculatedChanged(Calculated()); });
    d->m_calculated = value;
    Changed();
}

void TwMemColumn::Relayout()
{
    if (Running(GridOwner()))
        d->m_pool.ColumnChanged(d->m_dataType, PoolWidth());
    else
        d->m_pool = TwMemPool(d->m_dataType, PoolWidth());
    d->m_edit = NewBuffer();
    d->m_saved = NewBuffer();
    d->m_savedValid = false;
}

void TwMemColumn::SetDataType(TwDataType value)
{
    const auto notify = TwNotifyOnChange([this] { return DataType(); }, [this] { emit DataTypeChanged(DataType()); });
    if (value == d->m_dataType)
        return;
    d->m_dataType = value;
    if (!GridOwner() || !GridOwner()->Loading())
        d->m_defaults.clear();
    Relayout();
    Changed();
}

int TwMemColumn::DataWidth() const
{
    if (TXIsStringType(d->m_dataType))
        return d->m_dataWidth;
    return TXTypeSize(d->m_dataType, 0);
}

void TwMemColumn::SetDataWidth(int value)
{
    const auto notify = TwNotifyOnChange([this] { return DataWidth(); }, [this] { emit DataWidthChanged(DataWidth()); });
    value = qBound(0, value, 65535);
    if (!TXIsStringType(d->m_dataType) || value == d->m_dataWidth)
        return;
    d->m_dataWidth = value;
    // A character field is re-laid; a text width only limits texts written from now on.
    Relayout();
    Changed();
}

void TwMemColumn::SetDefaults(const QString &value)
{
    const auto notify = TwNotifyOnChange([this] { return Defaults(); }, [this] { emit DefaultsChanged(Defaults()); });
    d->m_defaults = value;
}

void TwMemColumn::SetDisplayFormat(const QString &value)
{
    const auto notify = TwNotifyOnChange([this] { return DisplayFormat(); }, [this] { emit DisplayFormatChanged(DisplayFormat()); });
    d->m_displayFormat = value;
    Changed();
}

TwMemPool TwMemColumn::NewBuffer() const
{
    TwMemPool buffer(d->m_dataType, PoolWidth());
    buffer.SetCount(1);
    return buffer;
}

template<typename Fill>
void TwMemColumn::Write(Fill fill)
{
    TwMemPool next = NewBuffer();
    fill(next);
    Store(next);
}

void TwMemColumn::Store(const TwMemPool &next)
{
    if (d->m_edit.SameValue(0, next, 0))
        return;
    TwStoreOwner *owner = Owner();
    const bool editing = owner && owner->StoreEditing();
    if (editing)
        owner->StoreValueChanging(this, next.GetValue(0));
    d->m_edit.CopyRow(next, 0, 0);
    if (editing)
        owner->StoreValueChanged(this);
}

void TwMemColumn::SetNull()
{
    Write([](TwMemPool &) {});
}

QString TwMemColumn::GetString() const
{
    return d->m_edit.GetString(0);
}

void TwMemColumn::SetString(const QString &value)
{
    Write([&value](TwMemPool &next) { next.SetString(0, value); });
}

bool TwMemColumn::GetBool() const
{
    return d->m_edit.GetBool(0);
}

void TwMemColumn::SetBool(bool value)
{
    Write([&value](TwMemPool &next) { next.SetBool(0, value); });
}

qint32 TwMemColumn::GetLong() const
{
    return d->m_edit.GetLong(0);
}

void TwMemColumn::SetLong(qint32 value)
{
    Write([&value](TwMemPool &next) { next.SetLong(0, value); });
}

double TwMemColumn::GetFloat() const
{
    return d->m_edit.GetFloat(0);
}

void TwMemColumn::SetFloat(double value)
{
    Write([&value](TwMemPool &next) { next.SetFloat(0, value); });
}

TDateTime TwMemColumn::GetDateTime() const
{
    return d->m_edit.GetDateTime(0);
}

void TwMemColumn::SetDateTime(TDateTime value)
{
    Write([&value](TwMemPool &next) { next.SetDateTime(0, value); });
}

QVariant TwMemColumn::GetValue() const
{
    const TwStoreOwner *owner = Owner();
    if (!owner || !owner->StoreEditing())
        return {};
    return d->m_edit.GetValue(0);
}

void TwMemColumn::SetValue(const QVariant &value)
{
    Write([&value](TwMemPool &next) { next.SetValue(0, value); });
}

void TwMemColumn::LoadBuffer(int row)
{
    d->m_edit.CopyRow(d->m_pool, row, 0);
}

void TwMemColumn::LoadDefaults()
{
    TwMemPool next = NewBuffer();
    if (!d->m_defaults.isEmpty())
        next.SetString(0, d->m_defaults);
    d->m_edit.CopyRow(next, 0, 0);
}

void TwMemColumn::StoreBuffer(int row)
{
    d->m_pool.CopyRow(d->m_edit, 0, row);
}

void TwMemColumn::SaveValue()
{
    d->m_saved.CopyRow(d->m_edit, 0, 0);
    d->m_savedValid = true;
}

QVariant TwMemColumn::GetOldValue() const
{
    return d->m_savedValid ? d->m_saved.GetValue(0) : QVariant();
}

bool TwMemColumn::EqualValues() const
{
    return d->m_edit.SameValue(0, d->m_saved, 0);
}

QString TwMemColumn::ItemText(const QString &text, bool *found) const
{
    *found = false;
    const TwColumnPrivate *column = ColumnData();
    if (column->m_values.isEmpty() || !ItemsMode() || ListOption().ValuesIndex() == 0)
        return text;
    const qsizetype at = column->m_values.indexOf(text);
    if (at < 0 || at >= column->m_items.size())
        return text;
    *found = true;
    return column->m_items.at(at).section(ListOption().Separator(), 0, 0);
}

QString TwMemColumn::DisplayText(int row) const
{
    return CellText(d->m_pool, row, row);
}

QString TwMemColumn::RowText(int storedRow, int row) const
{
    return CellText(d->m_pool, storedRow, row);
}

QString TwMemColumn::EditDisplayText(int row) const
{
    return CellText(d->m_edit, 0, row);
}

template<typename Number>
QString TwMemColumn::ApplyFormats(const QString &text, Number number) const
{
    // The display format decides; without one the edit format masks texts and shows dates.
    // `number` reads the value only when a format asks for it.
    if (!d->m_displayFormat.isEmpty()) {
        if (TXIsStringType(d->m_dataType))
            return TXFormatText(d->m_displayFormat, text);
        if (TXIsNumericType(d->m_dataType))
            return TXFormatFloat(d->m_displayFormat, number());
        if (TXIsDateType(d->m_dataType))
            return TXFormatDateTime(d->m_displayFormat, number());
        return text;
    }
    const QString &editFormat = ColumnData()->m_editFormat;
    if (!editFormat.isEmpty()) {
        if (TXIsStringType(d->m_dataType))
            return TXFormatMaskText(editFormat, text);
        if (TXIsDateType(d->m_dataType))
            return TXFormatDateTime(editFormat, number());
    }
    return text;
}

QString TwMemColumn::CellText(const TwMemPool &pool, int poolRow, int row) const
{
    TwStoreOwner *owner = Owner();
    const auto finish = [&](const QString &text) {
        if (!owner)
            return text;
        // The application's hook runs on the paint path, which no exception may leave: a
        // failing hook is reported and the cell shows the text it was given.
        try {
            return owner->StoreGetText(const_cast<TwMemColumn *>(this), row, text);
        } catch (const std::exception &error) {
            qWarning("Cell text of column %d, row %d: %s", Index(), row, error.what());
        } catch (...) {
            qWarning("Cell text of column %d, row %d: unknown error", Index(), row);
        }
        return text;
    };
    if (d->m_dataType == wdtGraphic) {
        const TwGridOwner *grid = GridOwner();
        if (d->m_displayFormat.isEmpty() && grid && grid->Designing() && owner && row == owner->StoreTopRow())
            return QStringLiteral("[bitmap]");
        return d->m_displayFormat;
    }
    if (pool.GetNull(poolRow))
        return {};
    if (d->m_dataType == wdtBool)
        return finish(GetBoolText(pool.GetBool(poolRow)));
    const auto number = [&pool, poolRow, this] {
        return TXIsDateType(d->m_dataType) ? pool.GetDateTime(poolRow) : pool.GetFloat(poolRow);
    };
    // A number or date under a display format is formatted from its value alone: its stored
    // text is not made (most cells of a sales grid take this way, on every paint and copy).
    if (!d->m_displayFormat.isEmpty() && (TXIsNumericType(d->m_dataType) || TXIsDateType(d->m_dataType))
        && !(ItemsMode() && ListOption().ValuesIndex() != 0)) {
        try {
            return finish(ApplyFormats(QString(), number));
        } catch (const TException &) {
            // shown as stored, below
        }
    }
    QString text = pool.GetString(poolRow);
    bool found = false;
    text = ItemText(text, &found);
    if (found)
        return finish(text);
    try {
        text = ApplyFormats(text, number);
    } catch (const TException &) {
        // The painter asks for this text: a value the format cannot take shows as stored.
    }
    return finish(text);
}

QString TwMemColumn::Formatted(const QString &text) const
{
    return ApplyFormats(text, [this, &text] { return TXTextToNumber(d->m_dataType, text); });
}

QString TwMemColumn::_GetText(const QString &text) const
{
    if (d->m_dataType == wdtGraphic)
        return d->m_displayFormat;
    if (text.isEmpty())
        return {};
    if (d->m_dataType == wdtBool) {
        if (text.compare(GetBoolStr(false), Qt::CaseInsensitive) == 0)
            return GetBoolText(false);
        if (text.compare(GetBoolStr(true), Qt::CaseInsensitive) == 0)
            return GetBoolText(true);
        return text;
    }
    bool found = false;
    const QString item = ItemText(text, &found);
    if (found)
        return item;
    return Formatted(text);
}

void TwMemColumn::Sort(bool descending, bool showMark)
{
    if (TwStoreOwner *owner = Owner())
        owner->StoreSort(this, descending, showMark);
}


const QStringList &TwMemColumnFooter::Styles() const
{
    return d->m_styles;
}

bool TwMemColumn::Calculated() const
{
    return d->m_calculated;
}

TwDataType TwMemColumn::DataType() const
{
    return d->m_dataType;
}

QString TwMemColumn::Defaults() const
{
    return d->m_defaults;
}

QString TwMemColumn::DisplayFormat() const
{
    return d->m_displayFormat;
}

bool TwMemColumn::Required() const
{
    return d->m_required;
}

void TwMemColumn::SetRequired(bool value)
{
    const auto notify = TwNotifyOnChange([this] { return Required(); }, [this] { emit RequiredChanged(Required()); });
    d->m_required = value;
}

TwMemPool &TwMemColumn::Pool()
{
    return d->m_pool;
}

const TwMemPool &TwMemColumn::Pool() const
{
    return d->m_pool;
}

bool TwMemColumn::GetNull() const
{
    return d->m_edit.GetNull(0);
}

int TwMemColumn::PoolWidth() const
{
    return TXIsStringType(d->m_dataType) ? d->m_dataWidth : 0;
}
