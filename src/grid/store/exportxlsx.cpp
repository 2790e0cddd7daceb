// The grid's rows as a workbook: one worksheet of the visible columns in reading order, the
// column titles (group titles merged above them) frozen above the rows, numbers and dates as
// numbers and dates in the column's display format, the footer lines under the rows.
//
// libxlsxwriter writes it in constant-memory mode: each row goes to the worksheet's temporary
// file once the next one begins, so a million rows take no more memory than one. The workbook
// is made under a temporary name beside the target and renamed over it once it is complete.

#include "grid/tabrix.h"
#include "grid/core/gridclipboard_p.h"
#include "grid/groups.h"
#include "grid/support/uxformat_p.h"
#include "grid/uxlocale.h"
#include "platform/texception.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

// Within a unity batch every unnamed namespace of the library is one: the helpers keep to a
// namespace of their own.
namespace {
namespace XlsxOut {

// ---- Display formats as Excel number formats ------------------------------------------------

// Literal text of a pattern as Excel reads it back: the characters in `plain` stand for
// themselves, anything else goes in quotes, so that no letter, digit or '%' of it becomes a
// placeholder (the grid shows them as they are).
void AppendLiteral(QString &out, QStringView text, QStringView plain)
{
    bool quoted = false;
    const auto closeQuote = [&] {
        if (quoted)
            out += QLatin1Char('"');
        quoted = false;
    };
    for (const QChar c : text) {
        if (plain.contains(c)) {
            closeQuote();
            out += c;
        } else if (c == QLatin1Char('"')) {
            // No quote fits inside a quoted run: it is escaped on its own.
            closeQuote();
            out += QLatin1String("\\\"");
        } else {
            if (!quoted)
                out += QLatin1Char('"');
            quoted = true;
            out += c;
        }
    }
    closeQuote();
}

constexpr QStringView NumberPlain = u" -+()$";
constexpr QStringView DatePlain = u" -+().,";

// A section rebuilt in Excel's notation from what it shows: the literals quoted, the integer
// digits with one thousands comma (a comma after the digits would divide by a thousand in
// Excel), the decimals as required zeros and optional '#'.
QString ExcelNumberSection(const TXNumberSection &section)
{
    QString out;
    AppendLiteral(out, section.Prefix, NumberPlain);
    if (section.AnyDigit) {
        const int width = section.Grouping ? std::max(section.MinInt, 4) : std::max(section.MinInt, 1);
        QString integer(width - section.MinInt, QLatin1Char('#'));
        integer += QString(section.MinInt, QLatin1Char('0'));
        if (section.Grouping)
            integer.insert(width - 3, QLatin1Char(','));
        out += integer;
        if (section.MaxFrac > 0) {
            out += QLatin1Char('.');
            out += QString(section.MinFrac, QLatin1Char('0'));
            out += QString(section.MaxFrac - section.MinFrac, QLatin1Char('#'));
        }
    }
    AppendLiteral(out, section.Suffix, NumberPlain);
    return out;
}

// positive;negative;zero as TXFormatFloat reads them: a negative section that shows nothing
// of its own means the first one with a minus sign, a zero section likewise the first one;
// sections past the third are never used.
QString ExcelNumberFormat(const QString &pattern)
{
    const std::vector<TXNumberSection> sections = TXParseNumberPattern(pattern);
    const QString positive = ExcelNumberSection(sections[0]);
    if (sections.size() == 1)
        return positive;
    QString out = positive + QLatin1Char(';');
    out += sections[1].Used() ? ExcelNumberSection(sections[1]) : QLatin1Char('-') + positive;
    if (sections.size() >= 3)
        out += QLatin1Char(';') + (sections[2].Used() ? ExcelNumberSection(sections[2]) : positive);
    return out;
}

// A date-time display format (yyyy, mm, dd, hh, nn, ss, zzz, am/pm; "m" right after an hour
// is minutes) as Excel's. The separators '/' and ':' are the grid's locale separators and go
// in as the characters the grid shows; other text stays literal.
QString ExcelDateFormat(const QString &pattern)
{
    const QStringView view(pattern);
    const TwLocale &locale = TwLocale::Current();
    const auto lower = [](QChar c) {
        const char16_t u = c.unicode();
        return u >= u'A' && u <= u'Z' ? QChar(char16_t(u + 32)) : u < 128 ? c : c.toLower();
    };
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < view.size();) {
        const QChar ch = view[i];
        const QChar low = lower(ch);
        if (ch == QLatin1Char('"') || ch == QLatin1Char('\'')) {
            const qsizetype close = view.indexOf(ch, i + 1);
            const qsizetype end = close < 0 ? view.size() : close;
            AppendLiteral(out, view.mid(i + 1, end - i - 1), DatePlain);
            i = end + 1;
            continue;
        }
        if (low == QLatin1Char('a') && view.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
            out += QLatin1String("AM/PM");
            i += 5;
            continue;
        }
        qsizetype run = 1;
        while (i + run < view.size() && lower(view[i + run]) == low)
            ++run;
        const int count = static_cast<int>(run);
        bool isHour = false;
        if (low == QLatin1Char('y')) {
            out += run <= 2 ? QLatin1String("yy") : QLatin1String("yyyy");
        } else if ((low == QLatin1Char('m') && afterHour && run <= 2) || low == QLatin1Char('n')) {
            out += QString(std::min(count, 2), QLatin1Char('m'));
        } else if (low == QLatin1Char('m') || low == QLatin1Char('d')) {
            out += QString(std::min(count, 4), low);
        } else if (low == QLatin1Char('h')) {
            out += run >= 2 ? QLatin1String("hh") : QLatin1String("h");
            isHour = true;
        } else if (low == QLatin1Char('s')) {
            out += run >= 2 ? QLatin1String("ss") : QLatin1String("s");
        } else if (low == QLatin1Char('z')) {
            // Milliseconds are decimals of the seconds in Excel.
            if (!out.endsWith(QLatin1Char('.')))
                out += QLatin1Char('.');
            out += QLatin1String("000");
        } else if (ch == QLatin1Char('/') || ch == QLatin1Char(':')) {
            const QChar separator = ch == QLatin1Char('/') ? locale.DateSeparator : locale.TimeSeparator;
            if (separator == ch)
                out += QString(run, ch);
            else
                AppendLiteral(out, QString(run, separator), DatePlain);
        } else {
            AppendLiteral(out, view.mid(i, run), DatePlain);
        }
        if (isHour)
            afterHour = true;
        else if (low.isLetter())
            afterHour = false;
        i += run;
    }
    return out;
}

// ---- Values -------------------------------------------------------------------------------

enum class CellKind : std::uint8_t { Text, Item, Number, Date, Time, Bool, Empty };

struct ExportColumn
{
    TwMemColumn *Column = nullptr;
    int Index = 0;
    CellKind Kind = CellKind::Text;
    lxw_format *Format = nullptr; // the cells' number format; null is General
    QString DatePattern; // how a date Excel cannot hold is written as text
    bool Milliseconds = false; // the pattern shows them (zzz)
};

// A TDateTime as a serial of Excel's 1900 date system, which counts a 29 February 1900 that
// never was: from 1 March 1900 on both count alike, before it Excel's serial is one more.
// False for what that system cannot show (before 1900, after 9999, not finite); a time of
// day (a time column's value below 1) is the same number in both.
bool ExcelSerial(double value, bool timeOfDay, double *serial)
{
    if (!std::isfinite(value) || value < 0 || value >= 2'958'466)
        return false;
    if (value >= 61 || (timeOfDay && value < 1)) {
        *serial = value;
        return true;
    }
    // 31 December 1899 would be Excel's day 0, which is no date.
    if (value < 2)
        return false;
    *serial = value - 1;
    return true;
}

// A footer text that is a number as the grid paints one ("-1,234,500", "12.5"): an optional
// sign, digits grouped by the locale's thousands separator in threes, decimals after its
// decimal separator.
bool FooterNumber(const QString &text, double *value)
{
    const TwLocale &locale = TwLocale::Current();
    QByteArray plain;
    plain.reserve(text.size());
    qsizetype i = 0;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        plain += static_cast<char>(text.at(i++).unicode());
    int digits = 0;
    int group = -1; // digits since the last separator; -1 before the first
    for (; i < text.size() && text.at(i) != locale.DecimalSeparator; ++i) {
        const QChar c = text.at(i);
        if (c == locale.ThousandSeparator) {
            if (digits == 0 || (group >= 0 && group != 3) || (group < 0 && digits > 3))
                return false;
            group = 0;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            plain += static_cast<char>(c.unicode());
            ++digits;
            if (group >= 0)
                ++group;
        } else {
            return false;
        }
    }
    if (group >= 0 && group != 3)
        return false;
    if (i < text.size()) {
        plain += '.';
        for (++i; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
            plain += static_cast<char>(c.unicode());
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    bool ok = false;
    *value = QString::fromLatin1(plain).toDouble(&ok);
    return ok && std::isfinite(*value);
}

// UTF-16 to NUL-terminated UTF-8 in a buffer kept across cells; a lone surrogate becomes
// U+FFFD.
const char *Utf8(std::vector<char> &buffer, QStringView text)
{
    const std::size_t need = static_cast<std::size_t>(text.size()) * 3 + 1;
    if (buffer.size() < need)
        buffer.resize(std::max(need, buffer.size() * 2));
    char *out = buffer.data();
    const char16_t *s = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s[i];
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
            continue;
        }
        if (c < 0x800) {
            *out++ = static_cast<char>(0xC0 | (c >> 6));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
            *out++ = static_cast<char>(0xF0 | (c >> 18));
            *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    *out = '\0';
    return buffer.data();
}

// Whether an "_xHHHH_" sequence starts at `at`.
bool UnderscoreEscapeAt(const QString &text, qsizetype at)
{
    if (at + 6 >= text.size() || text.at(at + 1) != QLatin1Char('x') || text.at(at + 6) != QLatin1Char('_'))
        return false;
    for (qsizetype i = at + 2; i < at + 6; ++i) {
        const char16_t c = text.at(i).unicode();
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return false;
    }
    return true;
}

// Excel reads "_xHHHH_" in a text as the character of that code (libxlsxwriter writes control
// characters so): a text that holds such a sequence itself gets its underscore escaped as
// "_x005F_", so that it reads back as written. The text itself where it needs nothing.
const QString *EscapedUnderscores(const QString &text, QString &escaped)
{
    qsizetype at = text.indexOf(QLatin1String("_x"));
    if (at < 0)
        return &text;
    escaped.clear();
    qsizetype copied = 0;
    for (; at >= 0; at = text.indexOf(QLatin1String("_x"), at + 1)) {
        if (!UnderscoreEscapeAt(text, at))
            continue;
        escaped += QStringView(text).mid(copied, at - copied);
        escaped += QLatin1String("_x005F_");
        copied = at + 1;
    }
    if (copied == 0)
        return &text;
    escaped += QStringView(text).mid(copied);
    return &escaped;
}

// ---- Files --------------------------------------------------------------------------------

[[noreturn]] void Fail(const QString &path, const QString &reason)
{
    throw TException(QStringLiteral("'%1'에 저장할 수 없습니다: %2").arg(path, reason));
}

QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The workbook's file under a name of its own beside the target, removed unless it took the
// target's place.
struct TempFile
{
    QString Path;
    bool Kept = false;
    ~TempFile()
    {
        if (!Kept && !Path.isEmpty())
            QFile::remove(Path);
    }
};

// The sheet names Excel opens: up to 31 characters, none of []:*?/\, no apostrophe at either
// end, and not "History", which Excel keeps for itself.
QString SheetNameProblem(const QString &name)
{
    if (name.toUcs4().size() > 31)
        return QStringLiteral("31자보다 깁니다");
    for (const QChar c : name) {
        if (QStringView(u"[]:*?/\\").contains(c))
            return QStringLiteral("'%1' 글자는 쓸 수 없습니다").arg(c);
        if (c.unicode() < 0x20)
            return QStringLiteral("제어 문자는 쓸 수 없습니다");
    }
    if (name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\'')))
        return QStringLiteral("작은따옴표로 시작하거나 끝날 수 없습니다");
    if (name.compare(QLatin1String("History"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("엑셀이 쓰는 이름입니다");
    return {};
}

} // namespace XlsxOut
} // namespace

void TTabrix::ExportToXlsx(const QString &path, const TwXlsxOptions &options)
{
    using namespace XlsxOut;
    const QString sheetName = options.SheetName.isEmpty() ? QStringLiteral("Sheet1") : options.SheetName;
    if (const QString problem = SheetNameProblem(sheetName); !problem.isEmpty())
        throw TException(QStringLiteral("'%1': 시트 이름 '%2'을(를) 쓸 수 없습니다: %3.").arg(path, sheetName, problem));

    const std::vector<TwColumn *> columns = TXReadingColumns(*this);
    const int rowCount = GetRowCount();
    // The footer lines the grid shows.
    std::vector<int> footerLines;
    if (options.Footers) {
        for (int line = 0; line < Footers().Count(); ++line) {
            if (Footers().Items(line)->Visible())
                footerLines.push_back(line);
        }
    }
    const int footerCount = static_cast<int>(footerLines.size());
    // In group mode the group titles take a row above the column titles.
    const bool groupRow = options.Titles && GroupMode()
        && std::any_of(columns.begin(), columns.end(), [](TwColumn *column) { return column->GroupObject(); });
    const int titleRows = options.Titles ? (groupRow ? 2 : 1) : 0;
    if (columns.size() > LXW_COL_MAX)
        throw TException(QStringLiteral("'%1': 열이 너무 많아 시트 하나에 담을 수 없습니다 (%2열, 최대 %3열).")
                             .arg(path)
                             .arg(columns.size())
                             .arg(LXW_COL_MAX));
    if (static_cast<long long>(titleRows) + rowCount + footerCount > LXW_ROW_MAX)
        throw TException(QStringLiteral("'%1': 행이 너무 많아 시트 하나에 담을 수 없습니다 (%2행, 최대 %3행).")
                             .arg(path)
                             .arg(static_cast<long long>(titleRows) + rowCount + footerCount)
                             .arg(LXW_ROW_MAX));

    const QFileInfo target(path);
    if (target.isDir())
        Fail(path, QStringLiteral("같은 이름의 폴더가 있습니다"));
    TempFile temp;
    for (int attempt = 0; temp.Path.isEmpty(); ++attempt) {
        const QString name = target.absoluteFilePath()
            + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        QFile file(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            temp.Path = name;
        } else if (!QFile::exists(name) || attempt >= 20) {
            Fail(path, file.errorString());
        }
    }
    if (target.exists())
        QFile::setPermissions(temp.Path, QFile::permissions(path));

    const QByteArray tempName = QFile::encodeName(temp.Path);
    lxw_workbook_options workbookOptions{};
    workbookOptions.constant_memory = LXW_TRUE;
    // libxlsxwriter's scratch files (the whole sheet, uncompressed) go beside the target, not
    // to the system's temporary folder (often memory): a shortage there fails the export.
    QByteArray scratch = QFile::encodeName(target.absolutePath());
    workbookOptions.tmpdir = scratch.data();
    // The workbook until workbook_close takes it: freed without writing on a failure.
    std::unique_ptr<lxw_workbook, void (*)(lxw_workbook *)> workbook(
        workbook_new_opt(tempName.constData(), &workbookOptions), lxw_workbook_free);
    if (!workbook)
        Fail(path, QStringLiteral("메모리가 부족합니다"));
    std::vector<char> utf8;
    utf8.reserve(256);
    QString escaped;
    errno = 0;
    lxw_worksheet *sheet = workbook_add_worksheet(workbook.get(), Utf8(utf8, sheetName));
    if (!sheet)
        Fail(path, errno ? SystemError(errno) : QStringLiteral("시트를 만들 수 없습니다"));

    const auto check = [&](lxw_error error) {
        if (error != LXW_NO_ERROR)
            Fail(path, QString::fromUtf8(lxw_strerror(error)));
    };

    // One format object per number format: libxlsxwriter looks a format that duplicates
    // another one up by a hash of its properties on every cell written with it.
    std::vector<std::pair<QString, lxw_format *>> numberFormats;
    const auto numberFormatOf = [&](const QString &numberFormat) {
        for (const auto &[text, format] : numberFormats) {
            if (text == numberFormat)
                return format;
        }
        lxw_format *format = workbook_add_format(workbook.get());
        if (!format)
            Fail(path, QStringLiteral("메모리가 부족합니다"));
        // libxlsxwriter keeps a number format in a field of fixed size and cuts a longer
        // one, perhaps inside a character, which spoils the file: such a format is refused.
        const char *bytes = Utf8(utf8, numberFormat);
        if (std::strlen(bytes) >= LXW_FORMAT_FIELD_LEN)
            Fail(path, QStringLiteral("표시 형식 '%1'이(가) 엑셀의 서식으로 쓰기에 너무 깁니다").arg(numberFormat));
        format_set_num_format(format, bytes);
        numberFormats.emplace_back(numberFormat, format);
        return format;
    };

    // Each column's way of writing its cells and its number format, decided once.
    std::vector<ExportColumn> out;
    out.reserve(columns.size());
    for (TwColumn *column : columns) {
        ExportColumn entry;
        entry.Column = static_cast<TwMemColumn *>(column);
        entry.Index = column->Index();
        const TwDataType type = entry.Column->DataType();
        const TwEditKind kind = entry.Column->GetEditKind();
        QString numberFormat;
        // Columns that show an item for their value, as the grid shows them; check boxes as
        // booleans whatever type holds them.
        if (kind == wekPickList || kind == wekRadioGroup
            || (entry.Column->ItemsMode() && entry.Column->ListOption().ValuesIndex() != 0 && kind != wekCheckBox
                && kind != wekBoolean)) {
            entry.Kind = CellKind::Item;
        } else if (type == wdtBool || kind == wekCheckBox || kind == wekBoolean) {
            entry.Kind = CellKind::Bool;
        } else if (type == wdtGraphic) {
            entry.Kind = CellKind::Empty;
        } else if (TXIsNumericType(type)) {
            entry.Kind = CellKind::Number;
            if (!entry.Column->DisplayFormat().isEmpty())
                numberFormat = ExcelNumberFormat(entry.Column->DisplayFormat());
        } else if (TXIsDateType(type)) {
            entry.Kind = type == wdtTime ? CellKind::Time : CellKind::Date;
            // The pattern the grid shows the column with: its display format, else its edit
            // format, else the locale's date and time patterns.
            entry.DatePattern = entry.Column->DisplayFormat();
            if (entry.DatePattern.isEmpty())
                entry.DatePattern = entry.Column->EditFormat();
            if (entry.DatePattern.isEmpty()) {
                const TwLocale &locale = TwLocale::Current();
                entry.DatePattern = type == wdtDate ? locale.ShortDateFormat
                    : type == wdtTime               ? locale.LongTimeFormat
                                                    : locale.ShortDateFormat + QLatin1Char(' ') + locale.LongTimeFormat;
            }
            numberFormat = ExcelDateFormat(entry.DatePattern);
            entry.Milliseconds = entry.DatePattern.contains(u'z', Qt::CaseInsensitive);
        }
        if (!numberFormat.isEmpty())
            entry.Format = numberFormatOf(numberFormat);
        out.push_back(std::move(entry));
    }

    // Widths as on the screen: Excel measures a column in characters of about 7 pixels.
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const int pixels = columns[c]->Width();
        // Excel shows a width of w characters as 7w + 5 pixels.
        const double width =
            pixels > 5 ? std::min(255.0, std::round((pixels - 5) / 7.0 * 100) / 100) : pixels > 0 ? 0.0 : LXW_DEF_COL_WIDTH;
        check(worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), width, nullptr));
    }
    if (titleRows > 0)
        worksheet_freeze_panes(sheet, static_cast<lxw_row_t>(titleRows), 0);

    if (options.Titles) {
        lxw_format *titleFormat = workbook_add_format(workbook.get());
        if (!titleFormat)
            Fail(path, QStringLiteral("메모리가 부족합니다"));
        format_set_bold(titleFormat);
        format_set_align(titleFormat, LXW_ALIGN_CENTER);
        format_set_align(titleFormat, LXW_ALIGN_VERTICAL_CENTER);
        std::vector<bool> titled(columns.size(), true);
        if (groupRow) {
            // A group's caption over each run of its columns in reading order (a group of
            // several levels has its columns on each level's run); over both title rows
            // where the group hides its columns' titles. The merges write their blank
            // cells unformatted (libxlsxwriter skips those, so no write reaches the second
            // row before the first is done) and the caption takes the format afterwards.
            for (std::size_t first = 0; first < columns.size();) {
                TwGroup *group = columns[first]->GroupObject();
                std::size_t last = first;
                while (last + 1 < columns.size() && columns[last + 1]->GroupObject() == group)
                    ++last;
                if (group) {
                    const QString caption = group->Title().Visible() ? group->Title().Caption() : QString();
                    const lxw_row_t bottom = group->NoColTitles() ? 1 : 0;
                    if (bottom == 1)
                        std::fill(titled.begin() + static_cast<std::ptrdiff_t>(first),
                                  titled.begin() + static_cast<std::ptrdiff_t>(last) + 1, false);
                    const auto firstCol = static_cast<lxw_col_t>(first);
                    const auto lastCol = static_cast<lxw_col_t>(last);
                    if (last > first || bottom > 0)
                        check(worksheet_merge_range(sheet, 0, firstCol, bottom, lastCol, "", nullptr));
                    if (!caption.isEmpty())
                        check(worksheet_write_string(sheet, 0, firstCol, Utf8(utf8, *EscapedUnderscores(caption, escaped)),
                                                     titleFormat));
                }
                first = last + 1;
            }
        }
        const auto titleRow = static_cast<lxw_row_t>(titleRows - 1);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const QString caption = columns[c]->Title().Caption();
            if (titled[c] && !caption.isEmpty())
                check(worksheet_write_string(sheet, titleRow, static_cast<lxw_col_t>(c),
                                             Utf8(utf8, *EscapedUnderscores(caption, escaped)), titleFormat));
        }
    }

    // A text longer than an Excel cell holds (32,767 characters) fails the export with where
    // it is: cut short it would be lost. Every other text goes in as it is, as a string cell:
    // never a formula, whatever it starts with.
    const auto writeText = [&](lxw_row_t row, lxw_col_t col, const QString &text, int gridRow) {
        if (text.size() > 32767)
            Fail(path, QStringLiteral("%1행 '%2' 열의 글자가 엑셀의 셀 하나에 들어가는 32,767자보다 깁니다")
                           .arg(gridRow + 1)
                           .arg(columns[col]->Title().Caption()));
        check(worksheet_write_string(sheet, row, col, Utf8(utf8, *EscapedUnderscores(text, escaped)), nullptr));
    };
    for (int row = 0; row < rowCount; ++row) {
        const auto sheetRow = static_cast<lxw_row_t>(titleRows + row);
        for (std::size_t c = 0; c < out.size(); ++c) {
            const ExportColumn &column = out[c];
            if (column.Kind == CellKind::Empty)
                continue;
            const TwCells cell = Cells(column.Index, row);
            if (cell.Null())
                continue;
            const auto col = static_cast<lxw_col_t>(c);
            switch (column.Kind) {
            case CellKind::Text:
                writeText(sheetRow, col, cell.String(), row);
                break;
            case CellKind::Item:
                writeText(sheetRow, col, cell.Text(), row);
                break;
            case CellKind::Bool:
                check(worksheet_write_boolean(sheet, sheetRow, col, cell.Bool(), nullptr));
                break;
            case CellKind::Number: {
                const double value = cell.Float();
                if (std::isfinite(value))
                    check(worksheet_write_number(sheet, sheetRow, col, value, column.Format));
                else
                    writeText(sheetRow, col, TXFloatToText(value), row);
                break;
            }
            case CellKind::Date:
            case CellKind::Time: {
                // A date Excel's calendar cannot hold keeps the text the grid shows.
                TDateTime value = cell.DateTime();
                // The grid shows the seconds cut, Excel rounds them: 23:59:59.7 would show as
                // the next day. Cut to what the pattern shows.
                if (!column.Milliseconds && std::isfinite(value) && value >= 0)
                    value = std::floor(value * 86400.0 + 1e-6) / 86400.0;
                double serial = 0;
                if (ExcelSerial(value, column.Kind == CellKind::Time, &serial)) {
                    check(worksheet_write_number(sheet, sheetRow, col, serial, column.Format));
                } else {
                    const QString shown = TXFormatDateTime(column.DatePattern, value);
                    writeText(sheetRow, col, shown.isEmpty() ? TXFloatToText(value) : shown, row);
                }
                break;
            }
            case CellKind::Empty:
                break;
            }
        }
    }

    // The footer lines as values: what reads as a number is one, in a numeric column's
    // format; anything else is the text shown.
    for (int at = 0; at < footerCount; ++at) {
        const int line = footerLines[static_cast<std::size_t>(at)];
        const auto sheetRow = static_cast<lxw_row_t>(titleRows + rowCount + at);
        for (std::size_t c = 0; c < out.size(); ++c) {
            const QString text = columns[c]->Footer().GetText(line);
            if (text.isEmpty())
                continue;
            const auto col = static_cast<lxw_col_t>(c);
            double value = 0;
            // Only a numeric column's footer is a number: the largest code of a text column
            // ("000987") stays the text it is.
            if (out[c].Kind == CellKind::Number && FooterNumber(text, &value))
                check(worksheet_write_number(sheet, sheetRow, col, value, out[c].Format));
            else
                writeText(sheetRow, col, text, rowCount + at);
        }
    }

    // libxlsxwriter does not check its writes of the rows to the worksheet's temporary file:
    // a full disk would leave a workbook with rows missing. The file's error state tells.
    if (sheet->optimize_tmpfile && (std::fflush(sheet->optimize_tmpfile) != 0 || std::ferror(sheet->optimize_tmpfile)))
        Fail(path, errno ? SystemError(errno) : QStringLiteral("임시 파일에 쓸 수 없습니다"));
    errno = 0;
    const lxw_error closed = workbook_close(workbook.release());
    if (closed != LXW_NO_ERROR) {
        const int systemError = errno;
        QString reason = QString::fromUtf8(lxw_strerror(closed));
        if (systemError != 0)
            reason += QStringLiteral(" (%1)").arg(SystemError(systemError));
        Fail(path, reason);
    }

    // The workbook takes the target's name only now, whole.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(tempName.constData()),
                            std::filesystem::path(QFile::encodeName(target.absoluteFilePath()).constData()), error);
    if (error)
        Fail(path, QString::fromLocal8Bit(error.message()));
    temp.Kept = true;
}
