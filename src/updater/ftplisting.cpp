#include "updater/ftplisting.h"

#include "platform/cp949.h"
#include "platform/texception.h"

#include <QByteArrayList>
#include <QRegularExpression>

#include <optional>

namespace {

// A listed time keeps the server's digits: the stamps the workstations in use have
// recorded hold them, so no time-zone conversion (nor a daylight-saving gap of this
// machine's zone) may change them.
QDateTime ListedTime(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, Qt::UTC);
}

constexpr const char *MonthNames[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                      "jul", "aug", "sep", "oct", "nov", "dec"};

// A token of a line with the byte offset where it ends.
struct Token
{
    QByteArray text;
    qsizetype end = 0;
};

QList<Token> Tokens(const QByteArray &line, int most)
{
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < line.size() && tokens.size() < most) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            tokens.append({line.mid(start, i - start), i});
    }
    return tokens;
}

bool AllDigits(const QByteArray &text)
{
    if (text.isEmpty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

int MonthOf(const QByteArray &token)
{
    if (token.size() != 3)
        return 0;
    const QByteArray lower = token.toLower();
    for (int m = 0; m < 12; ++m) {
        if (lower == MonthNames[m])
            return m + 1;
    }
    return 0;
}

std::optional<QString> DecodeName(const QByteArray &bytes, bool utf8)
{
    if (utf8) {
        QString name = QString::fromUtf8(bytes);
        if (name.toUtf8() != bytes)
            return std::nullopt;
        return name;
    }
    QString name = Platform::FromCp949(bytes);
    bool exact = false;
    if (Platform::ToCp949(name, &exact) != bytes || !exact)
        return std::nullopt;
    return name;
}

// "Mon dd hh:mm" has no year: the listing shows it for recent dates only, so it is this
// year unless that would put the date after today.
QDate GuessYear(int month, int day, const QDate &today)
{
    QDate date(today.year(), month, day);
    if (!date.isValid() || date > today)
        date = QDate(today.year() - 1, month, day);
    return date;
}

// A two-digit year is taken from the century that puts it at most 50 years ahead of today.
int FullYear(int twoDigits, const QDate &today)
{
    int year = today.year() / 100 * 100 + twoDigits;
    if (year > today.year() + 50)
        year -= 100;
    return year;
}

struct Parsed
{
    QByteArray name;
    TFtpListItem item;
};

std::optional<Parsed> ParseUnixLine(const QByteArray &line, const QDate &today)
{
    static const QRegularExpression modes(QStringLiteral("^[-dlcbpsD][^ ]{9}[+@.]?$"));
    static const QRegularExpression clock(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
    const QList<Token> tokens = Tokens(line, 12);
    if (tokens.size() < 5 || !modes.match(QString::fromLatin1(tokens[0].text)).hasMatch())
        return std::nullopt;
    for (qsizetype i = 2; i + 2 < tokens.size(); ++i) {
        const int month = MonthOf(tokens[i].text);
        const QByteArray &dayText = tokens[i + 1].text;
        const QByteArray &last = tokens[i + 2].text;
        if (month == 0 || !AllDigits(dayText) || dayText.size() > 2)
            continue;
        const int day = dayText.toInt();
        QDateTime when;
        const auto clockMatch = clock.match(QString::fromLatin1(last));
        if (clockMatch.hasMatch()) {
            const QDate date = GuessYear(month, day, today);
            const QTime time(clockMatch.captured(1).toInt(), clockMatch.captured(2).toInt());
            // The first month-day-time group is the date column: when it is no date, the
            // line is broken, and a date further on would lie inside the name.
            if (!date.isValid() || !time.isValid())
                return std::nullopt;
            when = ListedTime(date, time);
        } else if (AllDigits(last) && last.size() == 4) {
            const QDate date(last.toInt(), month, day);
            if (!date.isValid())
                return std::nullopt;
            when = ListedTime(date, QTime(0, 0));
        } else {
            continue;
        }
        const qsizetype nameStart = tokens[i + 2].end + 1;
        if (nameStart >= line.size())
            return std::nullopt;
        Parsed parsed;
        parsed.name = line.mid(nameStart);
        parsed.item.ModifiedDate = when;
        switch (tokens[0].text[0]) {
        case '-':
            parsed.item.ItemType = TFtpItemType::File;
            break;
        case 'd':
            parsed.item.ItemType = TFtpItemType::Directory;
            break;
        case 'l': {
            parsed.item.ItemType = TFtpItemType::Link;
            const qsizetype arrow = parsed.name.indexOf(" -> ");
            if (arrow >= 0)
                parsed.name.truncate(arrow);
            break;
        }
        default:
            parsed.item.ItemType = TFtpItemType::Other;
        }
        // Devices show "major, minor" where files show their size.
        if (AllDigits(tokens[i - 1].text) && !tokens[i - 2].text.endsWith(','))
            parsed.item.Size = tokens[i - 1].text.toLongLong();
        return parsed;
    }
    return std::nullopt;
}

std::optional<Parsed> ParseDosLine(const QByteArray &line, const QDate &today)
{
    static const QRegularExpression dos(QStringLiteral(
        "^(\\d{2})-(\\d{2})-(\\d{2}|\\d{4}) +(\\d{1,2}):(\\d{2}) *([AaPp][Mm])? +(<DIR>|\\d+) +"));
    // The name is bytes of any encoding; the pattern looks at the ASCII head only.
    const auto match = dos.match(QString::fromLatin1(line));
    if (!match.hasMatch())
        return std::nullopt;
    int year = match.captured(3).toInt();
    if (match.capturedLength(3) == 2)
        year = FullYear(year, today);
    int hour = match.captured(4).toInt();
    const QString half = match.captured(6).toUpper();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        if (half == QLatin1String("AM") && hour == 12)
            hour = 0;
        else if (half == QLatin1String("PM") && hour < 12)
            hour += 12;
    }
    const QDate date(year, match.captured(1).toInt(), match.captured(2).toInt());
    const QTime time(hour, match.captured(5).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    Parsed parsed;
    parsed.name = line.mid(match.capturedEnd(0));
    parsed.item.ModifiedDate = ListedTime(date, time);
    if (match.captured(7) == QLatin1String("<DIR>")) {
        parsed.item.ItemType = TFtpItemType::Directory;
    } else {
        parsed.item.ItemType = TFtpItemType::File;
        parsed.item.Size = match.captured(7).toLongLong();
    }
    return parsed;
}

QDateTime MlsdTime(const QByteArray &value)
{
    static const QRegularExpression stamp(
        QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})(\\d{2})(\\d{2})(\\d{2})(?:\\.(\\d{1,3})\\d*)?$"));
    const auto match = stamp.match(QString::fromLatin1(value));
    if (!match.hasMatch())
        return {};
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    const int ms = match.captured(7).leftJustified(3, QLatin1Char('0')).toInt();
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt(), ms);
    if (!date.isValid() || !time.isValid())
        return {};
    return ListedTime(date, time);
}

std::optional<Parsed> ParseMlsdLine(const QByteArray &line)
{
    const qsizetype space = line.indexOf(' ');
    if (space < 0)
        return std::nullopt;
    Parsed parsed;
    parsed.name = line.mid(space + 1);
    bool typed = false;
    for (const QByteArray &fact : line.left(space).split(';')) {
        const qsizetype equals = fact.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArray key = fact.left(equals).toLower();
        const QByteArray value = fact.mid(equals + 1);
        const QByteArray lower = value.toLower();
        if (key == "type") {
            typed = true;
            if (lower == "file")
                parsed.item.ItemType = TFtpItemType::File;
            else if (lower == "dir")
                parsed.item.ItemType = TFtpItemType::Directory;
            else if (lower == "cdir" || lower == "pdir")
                return std::nullopt; // the folder itself and its parent
            else if (lower.startsWith("os.unix=slink") || lower.startsWith("os.unix=symlink"))
                parsed.item.ItemType = TFtpItemType::Link;
            else
                parsed.item.ItemType = TFtpItemType::Other;
        } else if (key == "modify") {
            parsed.item.ModifiedDate = MlsdTime(value);
        } else if (key == "size" && AllDigits(value)) {
            parsed.item.Size = value.toLongLong();
        }
    }
    if (!typed)
        return std::nullopt;
    // A file is compared by its time: one without a usable time could never be judged.
    if (parsed.item.ItemType == TFtpItemType::File && !parsed.item.ModifiedDate.isValid())
        return std::nullopt;
    return parsed;
}

} // namespace

bool IsSafeListedName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        // Control, format (bidirectional overrides) and line-separator characters could
        // disguise a name in the message list and the log.
        const QChar::Category category = c.category();
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || category == QChar::Other_Control
            || category == QChar::Other_Format || category == QChar::Separator_Line
            || category == QChar::Separator_Paragraph)
            return false;
    }
    return true;
}

QList<TFtpListItem> ParseFtpListing(const QByteArray &listing, TFtpListingKind kind, bool utf8Names,
                                    const QDate &today, const TFtpListingLimits &limits)
{
    QList<TFtpListItem> items;
    qsizetype lines = 0;
    qsizetype start = 0;
    while (start < listing.size()) {
        qsizetype end = listing.indexOf('\n', start);
        if (end < 0)
            end = listing.size();
        QByteArray line = listing.mid(start, end - start);
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > limits.MaxLineLength)
            throw TException(QStringLiteral("Listing line longer than %1 bytes").arg(limits.MaxLineLength));
        if (line.trimmed().isEmpty())
            continue;
        if (++lines > limits.MaxEntries)
            throw TException(QStringLiteral("Listing longer than %1 entries").arg(limits.MaxEntries));
        std::optional<Parsed> parsed;
        if (kind == TFtpListingKind::Mlsd)
            parsed = ParseMlsdLine(line);
        else if (!(parsed = ParseUnixLine(line, today)))
            parsed = ParseDosLine(line, today);
        if (!parsed)
            continue;
        const std::optional<QString> name = DecodeName(parsed->name, utf8Names);
        if (!name || !IsSafeListedName(*name))
            continue;
        parsed->item.FileName = *name;
        items.append(parsed->item);
    }
    return items;
}
