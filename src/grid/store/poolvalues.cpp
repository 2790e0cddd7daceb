// The values of a pool: the bytes of each type read as text, integer, floating point or
// variant, written from them, and compared.

#include "grid/mempool.h"
#include "grid/store/mempool_p.h"

#include "grid/store/poolbytes.h"
#include "grid/support/cp949text_p.h"
#include "grid/uxlocale.h"
#include "platform/cp949.h"
#include "platform/texception.h"

#include <cmath>
#include <cstring>
#include <limits>

using namespace TwPoolBytes;

namespace {

// Fixed-width character fields hold code page 949 bytes; a cut never splits a character.
QByteArray CharBytes(const QString &text, int width)
{
    const QByteArray bytes = Platform::ToCp949(text);
    return bytes.left(Platform::Cp949Fit(bytes, width));
}

QString CharText(const std::uint8_t *bytes, int width)
{
    const auto *begin = reinterpret_cast<const char *>(bytes);
    return Platform::FromCp949(QByteArrayView(begin, qstrnlen(begin, static_cast<std::size_t>(width))));
}

qint64 RoundToInteger(double value)
{
    // Converting NaN or a value beyond the 64-bit range is undefined: NaN stores 0 and the
    // others the nearest end of the range.
    constexpr double limit = 9.2e18;
    if (std::isnan(value))
        return 0;
    if (std::fabs(value) >= limit)
        return value > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return static_cast<qint64>(std::nearbyint(value)); // ties to even
}

} // namespace

QString TwMemPool::BytesToString(TwDataType type, const std::uint8_t *bytes, int width)
{
    switch (type) {
    case wdtChar:
        return CharText(bytes, width);
    case wdtBool:
    case wdtByte:
        return QString::number(Load<quint8>(bytes));
    case wdtShort:
        return QString::number(Load<qint8>(bytes));
    case wdtSmall:
        return QString::number(Load<qint16>(bytes));
    case wdtWord:
        return QString::number(Load<quint16>(bytes));
    case wdtLong:
        return QString::number(Load<qint32>(bytes));
    case wdtFloat:
        return TXFloatToText(Load<double>(bytes));
    case wdtDate:
        return TXDateToText(Load<double>(bytes));
    case wdtTime:
        return TXTimeToText(Load<double>(bytes));
    case wdtDateTime:
        return TXDateTimeToText(Load<double>(bytes));
    default:
        return {};
    }
}

qint64 TwMemPool::BytesToInteger(TwDataType type, const std::uint8_t *bytes)
{
    return WithPackedType(
        type,
        [bytes]<typename Held>(Held) -> qint64 {
            if constexpr (std::is_floating_point_v<Held>)
                return RoundToInteger(Load<Held>(bytes));
            else
                return Load<Held>(bytes);
        },
        []() -> qint64 { return 0; });
}

double TwMemPool::BytesToFloat(TwDataType type, const std::uint8_t *bytes)
{
    if (type == wdtFloat || TXIsDateType(type))
        return Load<double>(bytes);
    return static_cast<double>(BytesToInteger(type, bytes));
}

QString TwMemPool::ValueText(int row) const
{
    if (d->m_type == wdtString)
        return d->m_strings[static_cast<std::size_t>(row)];
    return BytesToString(d->m_type, ValueBytes(row), d->m_width);
}

QString TwMemPool::GetString(int row) const
{
    if (GetNull(row))
        return {};
    return ValueText(row);
}

template<typename Number>
Number TwMemPool::ReadNumber(int row, Number (*fromText)(const QString &),
                             Number (*fromBytes)(TwDataType, const std::uint8_t *)) const
{
    if (GetNull(row) || d->m_type == wdtGraphic)
        return 0;
    if (TXIsStringType(d->m_type))
        return fromText(ValueText(row));
    return fromBytes(d->m_type, ValueBytes(row));
}

qint64 TwMemPool::GetInteger(int row) const
{
    return ReadNumber(row, TXTextToInt, BytesToInteger);
}

bool TwMemPool::GetBool(int row) const
{
    return GetInteger(row) != 0;
}

double TwMemPool::GetFloat(int row) const
{
    return ReadNumber(row, TXTextToFloat, BytesToFloat);
}

TDateTime TwMemPool::GetDateTime(int row) const
{
    return ReadNumber<TDateTime>(row, TXTextToDateTime, BytesToFloat);
}

QVariant TwMemPool::GetValue(int row) const
{
    if (GetNull(row))
        return {};
    const std::uint8_t *bytes = ValueBytes(row);
    switch (d->m_type) {
    case wdtString:
    case wdtChar:
        return ValueText(row);
    case wdtBool:
        return Load<quint8>(bytes) != 0;
    case wdtShort:
        return QVariant::fromValue(Load<qint8>(bytes));
    case wdtByte:
        return QVariant::fromValue(Load<quint8>(bytes));
    case wdtSmall:
        return QVariant::fromValue(Load<qint16>(bytes));
    case wdtWord:
        return QVariant::fromValue(Load<quint16>(bytes));
    case wdtLong:
        return QVariant::fromValue(Load<qint32>(bytes));
    case wdtFloat:
        return Load<double>(bytes);
    case wdtDate:
    case wdtTime:
    case wdtDateTime:
        return TXDateVariant(Load<double>(bytes));
    default:
        return {};
    }
}

void TwMemPool::SetString(int row, const QString &value)
{
    CheckRow(row);
    if (value.isEmpty()) {
        SetNull(row);
        return;
    }
    std::uint8_t *record = Record(row);
    std::uint8_t *bytes = record + 1;
    switch (d->m_type) {
    case wdtString:
        d->m_strings[static_cast<std::size_t>(row)] = d->m_width > 0 ? TXCp949Left(value, d->m_width) : value;
        break;
    case wdtChar: {
        const QByteArray text = CharBytes(value, d->m_width);
        std::memset(bytes, 0, static_cast<std::size_t>(d->m_width + 1));
        std::memcpy(bytes, text.constData(), static_cast<std::size_t>(text.size()));
        break;
    }
    case wdtBool:
    case wdtShort:
    case wdtByte:
    case wdtSmall:
    case wdtWord:
    case wdtLong:
        SetInteger(row, TXTextToInt(value));
        return;
    case wdtFloat:
    case wdtDate:
    case wdtTime:
    case wdtDateTime:
        Store(bytes, TXTextToNumber(d->m_type, value));
        break;
    default:
        return;
    }
    record[0] = Present;
}

void TwMemPool::SetInteger(int row, qint64 value)
{
    CheckRow(row);
    if (TXIsStringType(d->m_type)) {
        SetString(row, QString::number(value));
        return;
    }
    std::uint8_t *record = Record(row);
    WithPackedType(
        d->m_type,
        [record, value]<typename Held>(Held) {
            Store(record + 1, static_cast<Held>(value));
            record[0] = Present;
        },
        [] {});
}

void TwMemPool::SetBool(int row, bool value)
{
    if (TXIsStringType(d->m_type)) {
        SetString(row, value ? QStringLiteral("1") : QStringLiteral("0"));
        return;
    }
    SetInteger(row, value ? 1 : 0);
}

void TwMemPool::SetFloat(int row, double value)
{
    CheckRow(row);
    if (TXIsStringType(d->m_type)) {
        SetString(row, TXFloatToText(value));
        return;
    }
    // NaN compares false with everything and infinities defeat sums and averages: a value
    // pool never holds them, nor an integer made up for them.
    if (!std::isfinite(value))
        throw TException(QStringLiteral("'%1' is not a valid floating point value").arg(value));
    if (d->m_type == wdtFloat || TXIsDateType(d->m_type)) {
        Store(Record(row) + 1, value);
        Record(row)[0] = Present;
        return;
    }
    SetInteger(row, RoundToInteger(value));
}

void TwMemPool::SetDateTime(int row, TDateTime value)
{
    if (TXIsStringType(d->m_type)) {
        SetString(row, TXDateTimeToText(value));
        return;
    }
    SetFloat(row, value);
}

void TwMemPool::SetValue(int row, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        SetNull(row);
        return;
    }
    const bool isDate = TXIsDateVariant(value);
    const bool isText = value.typeId() == QMetaType::QString;
    if (TXIsStringType(d->m_type)) {
        if (isDate)
            SetDateTime(row, value.value<TwDateValue>().Serial);
        else if (value.typeId() == QMetaType::Bool)
            SetBool(row, value.toBool());
        else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
            SetFloat(row, value.toDouble());
        else
            SetString(row, value.toString());
        return;
    }
    if (isText) {
        SetString(row, value.toString());
        return;
    }
    const double number = isDate ? value.value<TwDateValue>().Serial : value.toDouble();
    if (d->m_type == wdtBool && value.typeId() == QMetaType::Bool)
        SetBool(row, value.toBool());
    else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float || isDate
             || d->m_type == wdtFloat || TXIsDateType(d->m_type))
        SetFloat(row, number);
    else
        SetInteger(row, value.toLongLong());
}

int TwMemPool::Compare(int row1, int row2) const
{
    CheckRow(row1);
    CheckRow(row2);
    const std::uint8_t *a = Record(row1);
    const std::uint8_t *b = Record(row2);
    if (!a[0] || !b[0])
        return a[0] == b[0] ? 0 : (!a[0] ? -1 : 1);
    if (TXIsStringType(d->m_type))
        return Sign(QString::localeAwareCompare(ValueText(row1), ValueText(row2)));
    const double x = BytesToFloat(d->m_type, a + 1);
    const double y = BytesToFloat(d->m_type, b + 1);
    return x > y ? 1 : (x < y ? -1 : 0);
}

int TwMemPool::Compare(int row, const QString &text) const
{
    if (GetNull(row))
        return -1;
    if (TXIsStringType(d->m_type))
        return Sign(QString::localeAwareCompare(ValueText(row), text));
    if (text.isEmpty())
        return 1;
    const double operand = TXTextToNumber(d->m_type, text);
    return Sign(GetFloat(row) - operand);
}

void TwMemPool::CopyRow(const TwMemPool &source, int sourceRow, int row)
{
    CheckRow(row);
    source.CheckRow(sourceRow);
    std::memcpy(Record(row), source.Record(sourceRow), static_cast<std::size_t>(qMin(d->m_recordSize, source.d->m_recordSize)));
    if (d->m_hasStrings)
        d->m_strings[static_cast<std::size_t>(row)] = source.d->m_hasStrings ? source.d->m_strings[static_cast<std::size_t>(sourceRow)] : QString();
}

bool TwMemPool::SameValue(int row, const TwMemPool &other, int otherRow) const
{
    // A null record and a present zero share their value bytes: presence decides first.
    const bool null = GetNull(row);
    if (null || other.GetNull(otherRow))
        return null == other.GetNull(otherRow);
    if (TXIsStringType(d->m_type))
        return QString::localeAwareCompare(ValueText(row), other.ValueText(otherRow)) == 0;
    return std::memcmp(ValueBytes(row), other.ValueBytes(otherRow), static_cast<std::size_t>(d->m_recordSize - 1)) == 0;
}
