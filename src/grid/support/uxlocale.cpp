#include "grid/uxlocale.h"

// Conversions between values and their plain texts. None of them consults the C library's
// locale: the process may run under any locale (a Qt application sets it from the
// environment), and a text written here must read back the same everywhere. Separators and
// date orders come from TwLocale alone.

#include "platform/texception.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

TwLocale &TwLocale::Current()
{
    static TwLocale locale;
    return locale;
}

QVariant TXDateVariant(TDateTime serial)
{
    return QVariant::fromValue(TwDateValue{serial});
}

bool TXIsDateVariant(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<TwDateValue>();
}

namespace {

[[noreturn]] void ConvertError(const QString &text, const char *what)
{
    throw TException(QStringLiteral("'%1' is not a valid %2").arg(text, QString::fromLatin1(what)));
}

const TwLocale &L()
{
    return TwLocale::Current();
}

bool IsAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads a run of 1..maxDigits digits at `at`; the digit count goes to `digits`.
int ReadNumber(QStringView text, qsizetype &at, int maxDigits, int *digits)
{
    int value = 0;
    int count = 0;
    while (at < text.size() && count < maxDigits && IsAsciiDigit(text[at])) {
        value = value * 10 + (text[at].unicode() - '0');
        ++at;
        ++count;
    }
    *digits = count;
    return value;
}

bool IsDateSeparator(QChar c)
{
    return c == L().DateSeparator || c == QLatin1Char('/') || c == QLatin1Char('.') || c == QLatin1Char('-');
}

bool IsTimeSeparator(QChar c)
{
    return c == L().TimeSeparator || c == QLatin1Char(':');
}

// The order of day, month and year in the short date format: 'y', 'm', 'd' in order.
std::array<char, 3> DateOrder()
{
    std::array<char, 3> order{};
    int found = 0;
    for (const QChar c : L().ShortDateFormat) {
        const char letter = static_cast<char>(c.toLower().unicode());
        if ((letter != 'y' && letter != 'm' && letter != 'd') || found == 3)
            continue;
        if (found > 0 && order[static_cast<std::size_t>(found - 1)] == letter)
            continue;
        order[static_cast<std::size_t>(found++)] = letter;
    }
    if (found < 3)
        return {'y', 'm', 'd'};
    return order;
}

QDate ParseDate(QStringView text)
{
    text = text.trimmed();
    if (text.size() == 8 && std::all_of(text.begin(), text.end(), IsAsciiDigit))
        return QDate(text.left(4).toInt(), text.mid(4, 2).toInt(), text.right(2).toInt());
    int fields[3] = {};
    int widths[3] = {};
    qsizetype at = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (at >= text.size() || !IsDateSeparator(text[at]))
                return {};
            ++at;
            // Formats such as "yyyy. mm. dd" write a blank after each separator.
            while (at < text.size() && text[at] == QLatin1Char(' '))
                ++at;
        }
        fields[i] = ReadNumber(text, at, 4, &widths[i]);
        if (widths[i] == 0)
            return {};
    }
    if (at != text.size())
        return {};
    // Texts follow the order of the short date format. A first field of three or four digits
    // can only be a year: under a format that starts with the day or month it is read in
    // the ISO order, year-month-day.
    std::array<char, 3> order = DateOrder();
    if (widths[0] >= 3 && order[0] != 'y')
        order = {'y', 'm', 'd'};
    int year = 0;
    int month = 0;
    int day = 0;
    for (int i = 0; i < 3; ++i) {
        const char part = order[static_cast<std::size_t>(i)];
        if (part == 'y')
            year = widths[i] <= 2 ? 2000 + fields[i] : fields[i];
        else if (part == 'm')
            month = fields[i];
        else
            day = fields[i];
    }
    return QDate(year, month, day);
}

QTime ParseTime(QStringView text)
{
    text = text.trimmed();
    qsizetype at = 0;
    int digits = 0;
    int hour = ReadNumber(text, at, 2, &digits);
    if (digits == 0)
        return {};
    int parts[2] = {0, 0};
    for (int &part : parts) {
        if (at >= text.size() || !IsTimeSeparator(text[at]))
            break;
        ++at;
        part = ReadNumber(text, at, 2, &digits);
        if (digits == 0)
            return {};
    }
    int msec = 0;
    if (at < text.size() && text[at] == QLatin1Char('.')) {
        ++at;
        msec = ReadNumber(text, at, 3, &digits);
        if (digits == 0)
            return {};
        for (; digits < 3; ++digits)
            msec *= 10;
        // Times keep milliseconds: finer digits are read and dropped.
        while (at < text.size() && IsAsciiDigit(text[at]))
            ++at;
    }
    while (at < text.size() && text[at].isSpace())
        ++at;
    const QStringView half = text.mid(at);
    if (half.compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0 && hour < 12)
        hour += 12;
    else if (half.compare(QLatin1String("AM"), Qt::CaseInsensitive) == 0 && hour == 12)
        hour = 0;
    else if (!half.isEmpty() && half.compare(QLatin1String("AM"), Qt::CaseInsensitive) != 0
             && half.compare(QLatin1String("PM"), Qt::CaseInsensitive) != 0)
        return {};
    return QTime(hour, parts[0], parts[1], msec);
}

} // namespace

QString TXFloatToText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    // to_chars never looks at the C locale: "2.5", "1e+20", "-1.5e-05".
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t exponent = text.find('e');
    std::string_view mantissa = text.substr(0, exponent);
    if (mantissa.find('.') != std::string_view::npos) {
        while (mantissa.back() == '0')
            mantissa.remove_suffix(1);
        if (mantissa.back() == '.')
            mantissa.remove_suffix(1);
    }
    QString out = QString::fromLatin1(mantissa.data(), static_cast<qsizetype>(mantissa.size()));
    out.replace(QLatin1Char('.'), L().DecimalSeparator);
    if (exponent == std::string_view::npos)
        return out;
    // e+20 → E20, e-05 → E-5
    std::string_view tail = text.substr(exponent + 1);
    const bool negative = tail.front() == '-';
    tail.remove_prefix(1);
    while (tail.size() > 1 && tail.front() == '0')
        tail.remove_prefix(1);
    out += negative ? QStringLiteral("E-") : QStringLiteral("E");
    out += QString::fromLatin1(tail.data(), static_cast<qsizetype>(tail.size()));
    return out;
}

double TXTextToFloat(const QString &text)
{
    QString normal = text.trimmed();
    if (L().DecimalSeparator != QLatin1Char('.'))
        normal.replace(L().DecimalSeparator, QLatin1Char('.'));
    bool ok = false;
    const double value = normal.toDouble(&ok); // QString reads numbers in the C notation
    // "nan", "inf" and numbers beyond the double range are no values a cell can hold.
    if (!ok || !std::isfinite(value))
        ConvertError(text, "floating point value");
    return value;
}

qint64 TXTextToInt(const QString &text)
{
    bool ok = false;
    QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1Char('+')))
        trimmed.remove(0, 1);
    const qint64 value = trimmed.startsWith(QLatin1Char('$')) ? trimmed.mid(1).toLongLong(&ok, 16) : trimmed.toLongLong(&ok, 10);
    if (!ok)
        ConvertError(text, "integer value");
    return value;
}

QString TXDateToText(TDateTime value)
{
    return TXFormatDateTime(L().ShortDateFormat, value);
}

QString TXTimeToText(TDateTime value)
{
    return TXFormatDateTime(L().LongTimeFormat, value);
}

QString TXDateTimeToText(TDateTime value)
{
    const QTime time = TXTimeFrom(value);
    if (!time.isValid() || time == QTime(0, 0))
        return TXDateToText(value);
    return TXDateToText(value) + QLatin1Char(' ') + TXTimeToText(value);
}

TDateTime TXTextToDate(const QString &text)
{
    const QDate date = ParseDate(text);
    if (!date.isValid())
        ConvertError(text, "date");
    return TXDateOf(date);
}

TDateTime TXTextToTime(const QString &text)
{
    const QTime time = ParseTime(text);
    if (!time.isValid())
        ConvertError(text, "time");
    return TXTimeOf(time);
}

TDateTime TXTextToDateTime(const QString &text)
{
    const QStringView trimmed = QStringView(text).trimmed();
    const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
    if (blank < 0) {
        if (const QDate date = ParseDate(trimmed); date.isValid())
            return TXDateOf(date);
        if (const QTime time = ParseTime(trimmed); time.isValid())
            return TXTimeOf(time);
        ConvertError(text, "date and time");
    }
    const QDate date = ParseDate(trimmed.left(blank));
    const QTime time = ParseTime(trimmed.mid(blank + 1));
    if (!date.isValid() || !time.isValid())
        ConvertError(text, "date and time");
    return TXEncodeDateTime(TXDateOf(date), TXTimeOf(time));
}
