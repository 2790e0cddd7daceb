#include "grid/uxlocale.h"

#include "common/texception.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>

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

QDate ParseDate(const QString &text, bool *ok)
{
    const QString trimmed = text.trimmed();
    *ok = false;
    const QString separators = QStringLiteral("[") + QRegularExpression::escape(L().DateSeparator) + QStringLiteral("/.\\-]");
    const QRegularExpression splitDate(QStringLiteral("^(\\d{1,4})") + separators + QStringLiteral("(\\d{1,2})") + separators
                                       + QStringLiteral("(\\d{1,4})$"));
    QDate date;
    if (const auto match = splitDate.match(trimmed); match.hasMatch()) {
        const int a = match.captured(1).toInt();
        const int b = match.captured(2).toInt();
        const int c = match.captured(3).toInt();
        // Year first, as in the short date format of the suite; a year last otherwise.
        date = match.captured(1).size() >= 3 ? QDate(a, b, c) : QDate(c < 100 ? 2000 + c : c, a, b);
    } else if (trimmed.size() == 8 && trimmed.toInt() > 0) {
        date = QDate(trimmed.left(4).toInt(), trimmed.mid(4, 2).toInt(), trimmed.right(2).toInt());
    }
    *ok = date.isValid();
    return date;
}

QTime ParseTime(const QString &text, bool *ok)
{
    const QString separator = QRegularExpression::escape(L().TimeSeparator);
    static QRegularExpression pattern;
    pattern.setPattern(QStringLiteral("^(\\d{1,2})(?:[") + separator + QStringLiteral(":](\\d{1,2}))?(?:[") + separator
                       + QStringLiteral(":](\\d{1,2})(?:\\.(\\d{1,3}))?)?\\s*([AaPp][Mm])?$"));
    const auto match = pattern.match(text.trimmed());
    *ok = false;
    if (!match.hasMatch())
        return {};
    int hour = match.captured(1).toInt();
    const QString half = match.captured(5).toUpper();
    if (half == QLatin1String("PM") && hour < 12)
        hour += 12;
    if (half == QLatin1String("AM") && hour == 12)
        hour = 0;
    const QTime time(hour, match.captured(2).toInt(), match.captured(3).toInt(), match.captured(4).leftJustified(3, QLatin1Char('0')).toInt());
    *ok = time.isValid();
    return time;
}

} // namespace

QString TXFloatToText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    QString text = QString::fromLatin1(buffer);
    const qsizetype exponent = text.indexOf(QLatin1Char('E'));
    QString mantissa = exponent < 0 ? text : text.left(exponent);
    QString tail = exponent < 0 ? QString() : text.mid(exponent);
    if (mantissa.contains(QLatin1Char('.'))) {
        while (mantissa.endsWith(QLatin1Char('0')))
            mantissa.chop(1);
        if (mantissa.endsWith(QLatin1Char('.')))
            mantissa.chop(1);
    }
    if (!tail.isEmpty()) {
        // E+020 → E20, E-05 → E-5
        const bool negative = tail.size() > 1 && tail.at(1) == QLatin1Char('-');
        QString digits = tail.mid(2);
        while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
            digits.remove(0, 1);
        tail = QStringLiteral("E") + (negative ? QStringLiteral("-") : QString()) + digits;
    }
    mantissa.replace(QLatin1Char('.'), L().DecimalSeparator);
    if (mantissa == QLatin1String("-0"))
        mantissa = QStringLiteral("0");
    return mantissa + tail;
}

double TXTextToFloat(const QString &text)
{
    QString normal = text.trimmed();
    if (L().DecimalSeparator != QLatin1Char('.'))
        normal.replace(L().DecimalSeparator, QLatin1Char('.'));
    bool ok = false;
    const double value = normal.toDouble(&ok);
    if (!ok)
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
    if (time == QTime(0, 0))
        return TXDateToText(value);
    return TXDateToText(value) + QLatin1Char(' ') + TXTimeToText(value);
}

TDateTime TXTextToDate(const QString &text)
{
    bool ok = false;
    const QDate date = ParseDate(text, &ok);
    if (!ok)
        ConvertError(text, "date");
    return TXDateOf(date);
}

TDateTime TXTextToTime(const QString &text)
{
    bool ok = false;
    const QTime time = ParseTime(text, &ok);
    if (!ok)
        ConvertError(text, "time");
    return TXTimeOf(time);
}

TDateTime TXTextToDateTime(const QString &text)
{
    const QString trimmed = text.trimmed();
    const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
    bool ok = false;
    if (blank < 0) {
        const QDate date = ParseDate(trimmed, &ok);
        if (ok)
            return TXDateOf(date);
        const QTime time = ParseTime(trimmed, &ok);
        if (ok)
            return TXTimeOf(time);
        ConvertError(text, "date and time");
    }
    const QDate date = ParseDate(trimmed.left(blank), &ok);
    bool timeOk = false;
    const QTime time = ParseTime(trimmed.mid(blank + 1), &timeOk);
    if (!ok || !timeOk)
        ConvertError(text, "date and time");
    return TXEncodeDateTime(TXDateOf(date), TXTimeOf(time));
}

namespace {

QStringList Sections(const QString &pattern)
{
    QStringList sections;
    QString current;
    QChar quote;
    for (const QChar c : pattern) {
        if (!quote.isNull()) {
            current += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\''))
            quote = c;
        if (c == QLatin1Char(';')) {
            sections << current;
            current.clear();
            continue;
        }
        current += c;
    }
    sections << current;
    return sections;
}

QString FormatSection(const QString &section, double value)
{
    // Digits before and after the point, and whether thousands are grouped.
    int minInt = 0;
    int minFrac = 0;
    int maxFrac = 0;
    bool grouping = false;
    bool afterPoint = false;
    bool anyDigit = false;
    QString prefix;
    QString suffix;
    bool inDigits = false;
    QChar quote;
    for (const QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                (anyDigit ? suffix : prefix) += c;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            continue;
        }
        if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            anyDigit = inDigits = true;
            if (afterPoint) {
                ++maxFrac;
                if (c == QLatin1Char('0'))
                    minFrac = maxFrac;
            } else if (c == QLatin1Char('0')) {
                ++minInt;
            }
            continue;
        }
        if (c == QLatin1Char(',') && inDigits) {
            grouping = true;
            continue;
        }
        if (c == QLatin1Char('.') && !afterPoint) {
            afterPoint = true;
            anyDigit = true;
            continue;
        }
        (anyDigit ? suffix : prefix) += c;
    }
    if (!anyDigit)
        return prefix + suffix;
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", maxFrac, std::fabs(value));
    QString digits = QString::fromLatin1(buffer);
    QString integer = digits.section(QLatin1Char('.'), 0, 0);
    QString fraction = digits.section(QLatin1Char('.'), 1, 1);
    while (fraction.size() > minFrac && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (integer == QLatin1String("0") && minInt == 0)
        integer.clear();
    while (integer.size() < minInt)
        integer.prepend(QLatin1Char('0'));
    if (grouping) {
        for (qsizetype i = integer.size() - 3; i > 0; i -= 3)
            integer.insert(i, L().ThousandSeparator);
    }
    QString number = integer;
    if (!fraction.isEmpty())
        number += L().DecimalSeparator + fraction;
    if (number.isEmpty())
        number = QStringLiteral("0");
    return prefix + number + suffix;
}

} // namespace

QString TXFormatFloat(const QString &pattern, double value)
{
    const QStringList sections = Sections(pattern);
    if (value == 0 && sections.size() >= 3 && !sections.at(2).isEmpty())
        return FormatSection(sections.at(2), value);
    if (value < 0 && sections.size() >= 2 && !sections.at(1).isEmpty())
        return FormatSection(sections.at(1), value);
    const QString text = FormatSection(sections.at(0), value);
    // A negative value that still shows digits gets its sign.
    if (value < 0 && text.contains(QRegularExpression(QStringLiteral("[1-9]"))))
        return QLatin1Char('-') + text;
    return text;
}

QString TXFormatDateTime(const QString &pattern, TDateTime value)
{
    const QDate date = TXDateFrom(value);
    const QTime time = TXTimeFrom(value);
    const QLocale c = QLocale::c();
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar ch = pattern.at(i);
        const QChar lower = ch.toLower();
        if (ch == QLatin1Char('"') || ch == QLatin1Char('\'')) {
            const qsizetype close = pattern.indexOf(ch, i + 1);
            const qsizetype end = close < 0 ? pattern.size() : close;
            out += pattern.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (pattern.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
            out += time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            i += 5;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run).toLower() == lower)
            ++run;
        const auto number = [](int n, int width) { return QString::number(n).rightJustified(width, QLatin1Char('0')); };
        bool hour = false;
        if (lower == QLatin1Char('y')) {
            out += run <= 2 ? number(date.year() % 100, 2) : number(date.year(), 4);
        } else if (lower == QLatin1Char('m') && afterHour && run <= 2) {
            out += run == 2 ? number(time.minute(), 2) : QString::number(time.minute());
        } else if (lower == QLatin1Char('m')) {
            out += run >= 4 ? c.monthName(date.month()) : run == 3 ? c.monthName(date.month(), QLocale::ShortFormat)
                : run == 2    ? number(date.month(), 2)
                              : QString::number(date.month());
        } else if (lower == QLatin1Char('d')) {
            out += run >= 4 ? c.dayName(date.dayOfWeek()) : run == 3 ? c.dayName(date.dayOfWeek(), QLocale::ShortFormat)
                : run == 2    ? number(date.day(), 2)
                              : QString::number(date.day());
        } else if (lower == QLatin1Char('h')) {
            out += run >= 2 ? number(time.hour(), 2) : QString::number(time.hour());
            hour = true;
        } else if (lower == QLatin1Char('n')) {
            out += run >= 2 ? number(time.minute(), 2) : QString::number(time.minute());
        } else if (lower == QLatin1Char('s')) {
            out += run >= 2 ? number(time.second(), 2) : QString::number(time.second());
        } else if (lower == QLatin1Char('z')) {
            out += run >= 3 ? number(time.msec(), 3) : QString::number(time.msec());
        } else if (ch == QLatin1Char('/')) {
            out += QString(run, L().DateSeparator);
        } else if (ch == QLatin1Char(':')) {
            out += QString(run, L().TimeSeparator);
        } else {
            out += pattern.mid(i, run);
        }
        // Minutes may follow an hour across separators and blanks.
        if (hour)
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
