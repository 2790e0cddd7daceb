#include "grid/uxlocale.h"
#include "grid/support/uxformat_p.h"

// Values through format patterns: numbers, date-times, input masks and "%s" patterns.
// Digits come from std::to_chars, never from the C library's locale-dependent printf, and
// a half of the decimal value rounds away from zero as the pattern rule says: "0.00" shows
// 0.125 as 0.13 and "0" shows -2.5 as -3.

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace {

using NumberSection = TXNumberSection;

struct NumberPattern
{
    QString Text;
    std::vector<NumberSection> Sections;
};

NumberSection ParseSection(QStringView section)
{
    NumberSection out;
    bool afterPoint = false;
    bool inDigits = false;
    QChar quote;
    for (const QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                (out.AnyDigit ? out.Suffix : out.Prefix) += c;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            continue;
        }
        if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            out.AnyDigit = inDigits = true;
            if (afterPoint) {
                ++out.MaxFrac;
                if (c == QLatin1Char('0'))
                    out.MinFrac = out.MaxFrac;
            } else if (c == QLatin1Char('0')) {
                ++out.MinInt;
            }
            continue;
        }
        if (c == QLatin1Char(',') && inDigits) {
            out.Grouping = true;
            continue;
        }
        if (c == QLatin1Char('.') && !afterPoint) {
            afterPoint = true;
            out.AnyDigit = true;
            continue;
        }
        (out.AnyDigit ? out.Suffix : out.Prefix) += c;
    }
    return out;
}

// Calls visit(i) for each position of the pattern outside quoted text.
template<typename Visit>
void ForEachUnquoted(const QString &pattern, Visit visit)
{
    QChar quote;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\''))
            quote = c;
        else
            visit(i);
    }
}


// A grid paints thousands of cells with the same few patterns: the last ones parsed are kept.
const std::vector<NumberSection> &Parsed(const QString &pattern)
{
    static NumberPattern cache[4];
    static int next = 0;
    for (const NumberPattern &entry : cache) {
        if (!entry.Sections.empty() && entry.Text == pattern)
            return entry.Sections;
    }
    NumberPattern &slot = cache[next];
    next = (next + 1) % 4;
    slot.Text = pattern;
    slot.Sections = TXParseNumberPattern(pattern);
    return slot.Sections;
}

// |value| as decimal digits with 15 significant digits: value = 0.Digits × 10^Point.
struct Decimal
{
    std::string Digits;
    int Point = 0;
};

Decimal ToDecimal(double value)
{
    Decimal out;
    value = std::fabs(value);
    if (value == 0 || !std::isfinite(value))
        return out;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    for (const char c : text.substr(0, e)) {
        if (c != '.')
            out.Digits += c;
    }
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);
    out.Point = exponent + 1;
    while (!out.Digits.empty() && out.Digits.back() == '0')
        out.Digits.pop_back();
    return out;
}

// Keeps `decimals` digits after the point; a dropped half or more rounds the kept digits up.
void RoundAt(Decimal &number, int decimals)
{
    const int keep = number.Point + decimals;
    if (keep >= static_cast<int>(number.Digits.size()))
        return;
    if (keep < 0) {
        // Nothing is left above the last shown digit: the value is zero, with no point offset
        // that would otherwise pad the fraction with zeros.
        number.Digits.clear();
        number.Point = 0;
        return;
    }
    const bool up = number.Digits[static_cast<std::size_t>(keep)] >= '5';
    number.Digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && number.Digits[static_cast<std::size_t>(i)] == '9')
            number.Digits[static_cast<std::size_t>(i--)] = '0';
        if (i < 0) {
            number.Digits.insert(number.Digits.begin(), '1');
            ++number.Point;
        } else {
            ++number.Digits[static_cast<std::size_t>(i)];
        }
    }
    while (!number.Digits.empty() && number.Digits.back() == '0')
        number.Digits.pop_back();
    if (number.Digits.empty())
        number.Point = 0;
}

// The text of one section; `shown` tells whether any non-zero digit made it into the text.
// With `minus`, a text that shows digits starts with a minus sign. The text is laid out in
// one buffer: a grid formats a number for every cell it paints or copies.
QString FormatSection(const NumberSection &section, double value, bool *shown, bool minus = false)
{
    *shown = false;
    if (!section.AnyDigit)
        return section.Prefix + section.Suffix;
    Decimal number = ToDecimal(value);
    RoundAt(number, section.MaxFrac);
    *shown = !number.Digits.empty();
    const bool sign = minus && *shown;
    const int size = static_cast<int>(number.Digits.size());
    const auto digit = [&number, size](int i) { return QLatin1Char(i >= 0 && i < size ? number.Digits[static_cast<std::size_t>(i)] : '0'); };
    const int integerDigits = std::max(number.Point, 0);
    const int integerLength = std::max(integerDigits, section.MinInt);
    const int separators = section.Grouping && integerLength > 3 ? (integerLength - 1) / 3 : 0;
    const int fractionDigits = size > number.Point ? size - number.Point : 0;
    const int fractionLength = std::max(fractionDigits, section.MinFrac);
    QString text;
    text.resize((sign ? 1 : 0) + section.Prefix.size() + integerLength + separators
                + (fractionLength > 0 ? 1 + fractionLength : 0) + section.Suffix.size());
    QChar *out = text.data();
    if (sign)
        *out++ = QLatin1Char('-');
    out = std::copy(section.Prefix.cbegin(), section.Prefix.cend(), out);
    const QChar thousands = TwLocale::Current().ThousandSeparator;
    // Zeros the pattern requires stand left of the value's own integer digits.
    const int padding = integerLength - integerDigits;
    for (int k = 0; k < integerLength; ++k) {
        if (k > 0 && separators > 0 && (integerLength - k) % 3 == 0)
            *out++ = thousands;
        *out++ = k < padding ? QLatin1Char('0') : digit(k - padding);
    }
    // A pattern of optional digits only ("#,###") shows nothing for zero.
    if (fractionLength > 0) {
        *out++ = TwLocale::Current().DecimalSeparator;
        for (int j = 0; j < fractionLength; ++j)
            *out++ = j < fractionDigits ? digit(number.Point + j) : QLatin1Char('0');
    }
    std::copy(section.Suffix.cbegin(), section.Suffix.cend(), out);
    return text;
}

} // namespace

bool TXHasExponent(const QString &pattern)
{
    bool found = false;
    ForEachUnquoted(pattern, [&](qsizetype i) {
        const QChar c = pattern.at(i).toLower();
        const QChar next = i + 1 < pattern.size() ? pattern.at(i + 1) : QChar();
        found = found || (c == QLatin1Char('e') && (next == QLatin1Char('+') || next == QLatin1Char('-')));
    });
    return found;
}

QString TXFormatFloat(const QString &pattern, double value)
{
    // No pattern has digits for these; they show as the general text does.
    if (!std::isfinite(value))
        return TXFloatToText(value);
    const std::vector<NumberSection> &sections = Parsed(pattern);
    bool shown = false;
    if (value == 0 && sections.size() >= 3 && (sections[2].AnyDigit || !sections[2].Prefix.isEmpty()))
        return FormatSection(sections[2], value, &shown);
    if (value < 0 && sections.size() >= 2 && (sections[1].AnyDigit || !sections[1].Prefix.isEmpty()))
        return FormatSection(sections[1], value, &shown);
    // A negative value that still shows digits gets its sign.
    return FormatSection(sections[0], value, &shown, value < 0);
}

namespace {

// Appends n in decimal, padded with zeros to at least `width` digits, without allocating;
// a negative n (a year before year 1) gets its sign ahead of the padding.
void AppendNumber(QString &out, int n, int width)
{
    if (n < 0) {
        out += QLatin1Char('-');
        n = -n;
    }
    char digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n > 0 && count < 11);
    for (int i = count; i < width; ++i)
        out += QLatin1Char('0');
    while (count > 0)
        out += QLatin1Char(digits[--count]);
}

} // namespace

namespace {
// The pattern letters are ASCII: other characters only need to compare as themselves.
QChar AsciiLower(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'A' && u <= u'Z' ? QChar(char16_t(u + 32)) : u < 128 ? c : c.toLower();
}
} // namespace

QString TXFormatDateTime(const QString &pattern, TDateTime value)
{
    const QDate date = TXDateFrom(value);
    const QTime time = TXTimeFrom(value);
    // A serial that names no date (NaN, infinite or far out) has no text.
    if (!date.isValid() || !time.isValid())
        return {};
    static const QLocale c = QLocale::c(); // month and day names in English, whatever the system says
    // The calendar is asked once: each of year(), month() and day() would convert again.
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    const QStringView view(pattern);
    QString out;
    out.reserve(pattern.size() + 8);
    bool afterHour = false;
    // With an AM/PM marker the hours count 12, 1 … 11 in each half of the day.
    const bool halfDays = (pattern.contains(u'a') || pattern.contains(u'A'))
        && pattern.contains(QLatin1String("am/pm"), Qt::CaseInsensitive);
    const int hour = halfDays && time.hour() % 12 == 0 ? 12 : halfDays ? time.hour() % 12 : time.hour();
    for (qsizetype i = 0; i < view.size();) {
        const QChar ch = view[i];
        const QChar lower = AsciiLower(ch);
        if (ch == QLatin1Char('"') || ch == QLatin1Char('\'')) {
            const qsizetype close = view.indexOf(ch, i + 1);
            const qsizetype end = close < 0 ? view.size() : close;
            out += view.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (lower == QLatin1Char('a') && view.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
            out += time.hour() < 12 ? QLatin1String("AM") : QLatin1String("PM");
            i += 5;
            continue;
        }
        qsizetype run = 1;
        while (i + run < view.size() && AsciiLower(view[i + run]) == lower)
            ++run;
        bool isHour = false;
        if (lower == QLatin1Char('y')) {
            AppendNumber(out, run <= 2 ? year % 100 : year, run <= 2 ? 2 : 4);
        } else if (lower == QLatin1Char('m') && afterHour && run <= 2) {
            AppendNumber(out, time.minute(), static_cast<int>(run));
        } else if (lower == QLatin1Char('m')) {
            if (run >= 3)
                out += c.monthName(month, run >= 4 ? QLocale::LongFormat : QLocale::ShortFormat);
            else
                AppendNumber(out, month, static_cast<int>(run));
        } else if (lower == QLatin1Char('d')) {
            if (run >= 3)
                out += c.dayName(date.dayOfWeek(), run >= 4 ? QLocale::LongFormat : QLocale::ShortFormat);
            else
                AppendNumber(out, day, static_cast<int>(run));
        } else if (lower == QLatin1Char('h')) {
            AppendNumber(out, hour, run >= 2 ? 2 : 1);
            isHour = true;
        } else if (lower == QLatin1Char('n')) {
            AppendNumber(out, time.minute(), run >= 2 ? 2 : 1);
        } else if (lower == QLatin1Char('s')) {
            AppendNumber(out, time.second(), run >= 2 ? 2 : 1);
        } else if (lower == QLatin1Char('z')) {
            AppendNumber(out, time.msec(), run >= 3 ? 3 : 1);
        } else if (ch == QLatin1Char('/')) {
            out += QString(run, TwLocale::Current().DateSeparator);
        } else if (ch == QLatin1Char(':')) {
            out += QString(run, TwLocale::Current().TimeSeparator);
        } else {
            out += view.mid(i, run);
        }
        // Minutes may follow an hour across separators and blanks.
        if (isHour)
            afterHour = true;
        else if (lower.isLetter())
            afterHour = false;
        i += run;
    }
    return out;
}

QString TXFormatMaskText(const QString &mask, const QString &text)
{
    const QStringList fields = mask.split(QLatin1Char(';'));
    const QString pattern = fields.value(0);
    const bool literalsInText = fields.size() > 1 && fields.at(1).trimmed() == QLatin1String("1");
    const QChar blank = fields.size() > 2 && !fields.at(2).isEmpty() ? fields.at(2).at(0) : QLatin1Char(' ');
    static const QString placeholders = QStringLiteral("09#LlAaCc");
    QString out;
    qsizetype at = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        QChar c = pattern.at(i);
        if (c == QLatin1Char('!') || c == QLatin1Char('>') || c == QLatin1Char('<'))
            continue;
        if (c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            c = pattern.at(++i);
            out += c;
            if (literalsInText && at < text.size())
                ++at;
            continue;
        }
        if (placeholders.contains(c)) {
            out += at < text.size() ? text.at(at++) : blank;
            continue;
        }
        out += c;
        if (literalsInText && at < text.size())
            ++at;
    }
    return out;
}

QString TXFormatText(const QString &pattern, const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern.at(i) == QLatin1Char('%') && i + 1 < pattern.size()) {
            const QChar next = pattern.at(i + 1);
            if (next == QLatin1Char('%')) {
                out += QLatin1Char('%');
                ++i;
                continue;
            }
            if (next == QLatin1Char('s') || next == QLatin1Char('S')) {
                out += text;
                ++i;
                continue;
            }
        }
        out += pattern.at(i);
    }
    return out;
}

std::vector<TXNumberSection> TXParseNumberPattern(const QString &pattern)
{
    std::vector<TXNumberSection> sections;
    qsizetype start = 0;
    ForEachUnquoted(pattern, [&](qsizetype i) {
        if (pattern.at(i) != QLatin1Char(';'))
            return;
        sections.push_back(ParseSection(QStringView(pattern).mid(start, i - start)));
        start = i + 1;
    });
    sections.push_back(ParseSection(QStringView(pattern).mid(start)));
    return sections;
}
