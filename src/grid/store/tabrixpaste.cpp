// Pasting spreadsheet rows into the grid: every text is read by its column first, then the
// rows go through the editing cycle one by one; the first value refused puts every row the
// paste touched back as it was.

#include "grid/tabrix.h"
#include "grid/store/tabrix_p.h"

#include "grid/core/gridclipboard_p.h"
#include "grid/support/cp949text_p.h"
#include "grid/uxlistoption.h"
#include "grid/uxlocale.h"
#include "grid/uxutils.h"
#include "platform/application.h"
#include "platform/texception.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDate>
#include <QFileDialog>
#include <QKeySequence>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QTime>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// A clipboard text longer than this is refused before it is read: far more than a
// spreadsheet copies in one go, and the grid would hold it several times over.
constexpr qsizetype MaxPasteChars = 16 * 1024 * 1024;
constexpr long long MaxPasteCells = 2'000'000;

// A value read from a pasted text, ready for its column's setter.
struct TPasteValue
{
    enum Kind : std::uint8_t { Null, Text, Integer, Float, Date, Bool } kind = Null;
    QString text;
    double number = 0;
    bool flag = false;
};

[[noreturn]] void Refuse(const QString &reason)
{
    throw TException(reason);
}

// The text a format's third section shows for zero ("#,##0;-#,##0;-" shows "-"), or empty.
QString ZeroText(const QString &format)
{
    const QStringList sections = format.split(u';');
    if (sections.size() < 3)
        return {};
    QString zero = sections[2];
    zero.remove(u'"');
    zero.remove(u'\'');
    return zero.trimmed();
}

// A number as spreadsheets and the grid's formats show it: a sign, then a currency sign or a
// unit the column's format writes ("#,##0개") or 원 before or after the digits, thousands
// separators between groups of three digits, and negatives in parentheses (accounting
// style). Anything else is no number.
std::optional<double> ReadNumber(const QString &shown, const QString &format)
{
    QString text = shown.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (const QString zero = ZeroText(format); !zero.isEmpty() && text == zero)
        return 0.0;
    bool negative = false;
    if (text.startsWith(u'(') && text.endsWith(u')')) {
        negative = true;
        text = text.mid(1, text.size() - 2).trimmed();
    }
    const QChar point = TwLocale::Current().DecimalSeparator;
    const QChar thousands = TwLocale::Current().ThousandSeparator;
    const auto unit = [&format](QChar c) {
        return !c.isDigit() && c != u'-' && c != u'+' && c != u'(' && c != u')'
            && (!c.isLetter() || c == u'원' || format.contains(c));
    };
    qsizetype i = 0;
    const auto sign = [&] {
        if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
            if (text[i] == u'-') {
                if (negative)
                    return false;
                negative = true;
            }
            ++i;
        }
        return true;
    };
    // Sign and unit in either order: "-₩1,234" and "₩-1,234".
    if (!sign())
        return std::nullopt;
    while (i < text.size() && text[i] != point && unit(text[i]))
        ++i;
    if (!sign())
        return std::nullopt;
    while (i < text.size() && text[i] == u' ')
        ++i;
    QString plain;
    plain.reserve(text.size());
    // The integer part, its groups of three after a thousands separator.
    qsizetype group = -1; // digits since the last separator; -1 before the first
    qsizetype digits = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit()) {
            plain += c;
            ++digits;
            if (group >= 0)
                ++group;
        } else if (c == thousands && thousands != point) {
            if (digits == 0 || (group >= 0 && group != 3))
                return std::nullopt;
            group = 0;
        } else {
            break;
        }
    }
    if (group >= 0 && group != 3)
        return std::nullopt;
    if (i < text.size() && text[i] == point) {
        plain += u'.';
        for (++i; i < text.size() && text[i].isDigit(); ++i)
            plain += text[i];
    }
    if (plain.isEmpty() || plain == QLatin1String("."))
        return std::nullopt;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype at = i + 1;
        QString exponent = QStringLiteral("e");
        if (at < text.size() && (text[at] == u'-' || text[at] == u'+'))
            exponent += text[at++];
        const qsizetype first = at;
        while (at < text.size() && text[at].isDigit())
            exponent += text[at++];
        if (at > first) {
            plain += exponent;
            i = at;
        }
    }
    while (i < text.size() && (text[i] == u' ' || unit(text[i])))
        ++i;
    if (i != text.size())
        return std::nullopt;
    bool ok = false;
    double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

// The order of year, month and day in a display format such as "yyyy-mm-dd", "dd.mm.yyyy"
// or "mm/dd/yy"; empty when the format shows no whole date.
QString DateOrder(const QString &format)
{
    QString order;
    bool quoted = false;
    QChar quote;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i].toLower();
        if (quoted) {
            quoted = c != quote;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quoted = true;
            quote = c;
            continue;
        }
        if (c == u'h' || c == u'n' || c == u's')
            break; // the time part: an "mm" there is minutes
        if ((c == u'y' || c == u'm' || c == u'd') && !order.contains(c))
            order += c;
    }
    return order.size() == 3 ? order : QString();
}

// The digit runs of a text, with whether it names the afternoon.
struct TDigitRuns
{
    std::vector<int> values;
    std::vector<int> widths;
    bool afternoon = false;
    bool morning = false;
};

TDigitRuns DigitRuns(const QString &text)
{
    TDigitRuns runs;
    for (qsizetype i = 0; i < text.size();) {
        if (!text[i].isDigit()) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && text[end].isDigit())
            ++end;
        if (end - i > 9)
            return {};
        runs.values.push_back(QStringView(text).mid(i, end - i).toInt());
        runs.widths.push_back(static_cast<int>(end - i));
        i = end;
    }
    const QString upper = text.toUpper();
    runs.afternoon = upper.contains(QLatin1String("PM")) || text.contains(QStringLiteral("오후"));
    runs.morning = upper.contains(QLatin1String("AM")) || text.contains(QStringLiteral("오전"));
    return runs;
}

std::optional<QTime> TimeOf(const TDigitRuns &runs, std::size_t from)
{
    if (from >= runs.values.size())
        return QTime(0, 0);
    int parts[3] = {};
    for (std::size_t i = 0; i < 3 && from + i < runs.values.size(); ++i)
        parts[i] = runs.values[from + i];
    if (runs.values.size() - from > 3)
        return std::nullopt;
    if (runs.afternoon && parts[0] < 12)
        parts[0] += 12;
    else if (runs.morning && parts[0] == 12)
        parts[0] = 0;
    const QTime time(parts[0], parts[1], parts[2]);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

// A date, time or date-time in the order its column shows it, or in the forms the grid
// reads everywhere (ISO, the locale's short date, yyyymmdd).
std::optional<double> ReadDateTime(TwDataType type, const QString &text, const QString &format)
{
    // A column that shows its dates in an order reads them in that order first: under
    // "dd.mm.yyyy" a text 03.04.2024 is the 3rd of April, whatever the locale's order.
    const auto common = [type, &text]() -> std::optional<double> {
        try {
            return TXTextToNumber(type, text);
        } catch (const TException &) {
            return std::nullopt;
        }
    };
    const TDigitRuns runs = DigitRuns(text);
    if (type == wdtTime) {
        if (const std::optional<double> serial = common())
            return serial;
        const std::optional<QTime> time = TimeOf(runs, 0);
        if (runs.values.empty() || !time)
            return std::nullopt;
        return TXTimeOf(*time);
    }
    const QString order = DateOrder(format);
    if (order.isEmpty() || runs.values.size() < 3)
        return common();
    int year = 0;
    int month = 0;
    int day = 0;
    for (int i = 0; i < 3; ++i) {
        const int value = runs.values[static_cast<std::size_t>(i)];
        switch (order[i].unicode()) {
        case u'y':
            year = runs.widths[static_cast<std::size_t>(i)] <= 2 ? 2000 + value : value;
            break;
        case u'm':
            month = value;
            break;
        default:
            day = value;
        }
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return common();
    if (type == wdtDate)
        return runs.values.size() == 3 ? std::optional<double>(TXDateOf(date)) : common();
    const std::optional<QTime> time = TimeOf(runs, 3);
    if (!time)
        return common();
    return TXDateOf(date) + TXTimeOf(*time);
}

std::optional<bool> ReadBool(const TwMemColumn &column, const QString &shown)
{
    const QString text = shown.trimmed();
    for (const bool value : {true, false}) {
        if (text.compare(column.GetBoolText(value), Qt::CaseInsensitive) == 0
            || text.compare(column.GetBoolStr(value), Qt::CaseInsensitive) == 0)
            return value;
    }
    static const char *const yes[] = {"true", "1", "yes", "y", "on", "v"};
    static const char *const no[] = {"false", "0", "no", "n", "off"};
    for (const char *word : yes) {
        if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return true;
    }
    for (const char *word : no) {
        if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return false;
    }
    if (text == QStringLiteral("예") || text == QStringLiteral("✓") || text == QStringLiteral("☑"))
        return true;
    if (text == QStringLiteral("아니오") || text == QStringLiteral("아니요") || text == QStringLiteral("☐"))
        return false;
    return std::nullopt;
}

// The stored value behind a list item's text: columns that show items for values take
// either the item or the value; other list columns take their items as they stand.
std::optional<QString> ReadListValue(const TwMemColumn &column, const QString &text)
{
    const QStringList &values = column.Values();
    const QStringList &items = column.Items();
    if (values.isEmpty() || !column.ItemsMode() || column.ListOption().ValuesIndex() == 0)
        return text;
    for (qsizetype i = 0; i < values.size() && i < items.size(); ++i) {
        if (items[i].section(column.ListOption().Separator(), 0, 0) == text)
            return values[i];
    }
    if (values.contains(text))
        return text;
    const TwEditKind kind = column.GetEditKind();
    if (kind == wekPickList || kind == wekRadioGroup)
        return std::nullopt;
    return text;
}

bool IntegerType(TwDataType type)
{
    return type == wdtShort || type == wdtByte || type == wdtSmall || type == wdtWord || type == wdtLong;
}

QString Shown(double value)
{
    return QLocale(QLocale::Korean).toString(value, 'g', QLocale::FloatingPointShortest);
}

// A pasted text read as a value of its column; fails with the reason.
TPasteValue ReadValue(const TwMemColumn &column, const QString &field)
{
    TPasteValue value;
    const TwDataType type = column.DataType();
    if (field.isEmpty() || (type != wdtString && type != wdtChar && field.trimmed().isEmpty()))
        return value;
    if (type == wdtString || type == wdtChar) {
        const std::optional<QString> text = ReadListValue(column, field);
        if (!text)
            Refuse(QStringLiteral("'%1'은(는) 목록에 없는 항목입니다.").arg(field));
        const int width = type == wdtChar ? TXCharWidth(column.DataWidth()) : column.DataWidth();
        if (width > 0 && TXCp949Left(*text, width) != *text)
            Refuse(QStringLiteral("'%1'은(는) %2바이트보다 깁니다.").arg(*text).arg(width));
        value.kind = TPasteValue::Text;
        value.text = *text;
        return value;
    }
    if (type == wdtBool) {
        const std::optional<bool> flag = ReadBool(column, field);
        if (!flag)
            Refuse(QStringLiteral("'%1'은(는) 참/거짓 값이 아닙니다.").arg(field));
        value.kind = TPasteValue::Bool;
        value.flag = *flag;
        return value;
    }
    if (TXIsDateType(type)) {
        const std::optional<double> serial = ReadDateTime(type, field, column.DisplayFormat());
        if (!serial)
            Refuse(QStringLiteral("'%1'은(는) 올바른 %2이(가) 아닙니다.")
                       .arg(field, type == wdtTime ? QStringLiteral("시각") : QStringLiteral("날짜")));
        value.kind = TPasteValue::Date;
        value.number = *serial;
        return value;
    }
    if (TXIsNumericType(type)) {
        // A list column of numbers takes the item shown for a value.
        QString text = field;
        if (column.ItemsMode()) {
            const std::optional<QString> listed = ReadListValue(column, field);
            if (!listed)
                Refuse(QStringLiteral("'%1'은(는) 목록에 없는 항목입니다.").arg(field));
            text = *listed;
        }
        const std::optional<double> number = ReadNumber(text, column.DisplayFormat());
        if (!number)
            Refuse(QStringLiteral("'%1'은(는) 숫자가 아닙니다.").arg(field));
        if (IntegerType(type) && *number != std::trunc(*number))
            Refuse(QStringLiteral("'%1'은(는) 정수가 아닙니다.").arg(field));
        // The range the column's type holds (and an editor would keep to).
        double low = 0;
        double high = 0;
        if (column.ValueRange(low, high) && (*number < low || *number > high))
            Refuse(QStringLiteral("%1은(는) %2에서 %3 사이여야 합니다.").arg(Shown(*number), Shown(low), Shown(high)));
        value.kind = IntegerType(type) ? TPasteValue::Integer : TPasteValue::Float;
        value.number = *number;
        return value;
    }
    Refuse(QStringLiteral("이 열에는 붙여넣을 수 없습니다."));
}

// What a paste writes: a column of the grid takes the pasted fields at one position of each
// pasted row; skipped columns take nothing.
struct TPasteTarget
{
    TwMemColumn *column;
    qsizetype field;
};

} // namespace

bool TTabrix::PasteFromClipboard()
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return false;
    PasteText(data->text());
    return true;
}

void TTabrix::PasteText(const QString &text)
{
    if (Designing())
        return;
    if (text.size() > MaxPasteChars)
        Refuse(QStringLiteral("붙여넣을 내용이 너무 큽니다 (%1자, 최대 %2자).")
                   .arg(QLocale(QLocale::Korean).toString(text.size()), QLocale(QLocale::Korean).toString(MaxPasteChars)));
    const std::vector<QStringList> rows = TXSpreadsheetRows(text, MaxPasteCells);
    if (rows.empty())
        return;
    // A new row nothing was typed into is dropped, as leaving it would: the paste goes where
    // it stood (after the last row: the rows are added). An open edit is stored first (a
    // refused post pastes nothing).
    bool appending = false;
    if (d->m_gridMode == wgmInsert && !d->m_modified) {
        const int at = CurRow();
        appending = at >= d->m_rowInfos.Count();
        Cancel();
        if (!appending)
            SetCurRow(at);
    }
    PostPending();
    appending = appending && d->m_gridMode == wgmBrowse;

    // Where the rows go: from the current cell rightwards in reading order (a grid that
    // selects whole rows takes them from its first column), downwards from the current row.
    const std::vector<TwColumn *> reading = TXReadingColumns(*this);
    if (reading.empty())
        return;
    qsizetype startColumn = 0;
    if (!Options().Has(wgoRowSelect)) {
        const auto at = std::find(reading.begin(), reading.end(), GetSelectedColumn());
        if (at != reading.end())
            startColumn = at - reading.begin();
    }
    qsizetype widest = 0;
    for (const QStringList &fields : rows)
        widest = std::max(widest, fields.size());
    std::vector<TPasteTarget> targets;
    for (qsizetype i = 0; i < widest && startColumn + i < static_cast<qsizetype>(reading.size()); ++i) {
        auto *column = static_cast<TwMemColumn *>(reading[static_cast<std::size_t>(startColumn + i)]);
        // Read-only, calculated and picture columns keep their values; their fields are passed.
        if (column->ReadOnly() || column->Calculated() || column->DataType() == wdtGraphic)
            continue;
        targets.push_back({column, i});
    }
    const long long cells = static_cast<long long>(rows.size()) * static_cast<long long>(widest);
    if (cells > MaxPasteCells)
        Refuse(QStringLiteral("붙여넣을 셀이 너무 많습니다 (%1개, 최대 %2개).")
                   .arg(QLocale(QLocale::Korean).toString(cells), QLocale(QLocale::Korean).toString(MaxPasteCells)));

    const int before = GetRowCount();
    const int start = before == 0 || appending ? before : std::clamp(CurRow(), 0, before - 1);
    const long long end = static_cast<long long>(start) + static_cast<long long>(rows.size());
    const long long added = std::max(0LL, end - before);
    if (added > 0) {
        if (!Options().Has(wgoInserting))
            Refuse(QStringLiteral("%1행 뒤에는 행을 추가할 수 없어 붙여넣지 않았습니다 (%2행이 더 필요합니다).")
                       .arg(before)
                       .arg(added));
        const long long bound = d->m_maxRowCount > 0 ? d->m_maxRowCount : INT_MAX;
        if (end > bound)
            Refuse(QStringLiteral("붙여넣으면 행이 %1개가 되어 최대 %2개를 넘습니다.")
                       .arg(QLocale(QLocale::Korean).toString(end), QLocale(QLocale::Korean).toString(bound)));
    }
    if (targets.empty())
        return;

    // Every text is read before any row changes: a text no column can take fails the paste
    // with the grid untouched.
    std::vector<std::vector<TPasteValue>> values(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        values[r].reserve(targets.size());
        for (const TPasteTarget &target : targets) {
            const QString field = target.field < rows[r].size() ? rows[r][target.field] : QString();
            try {
                values[r].push_back(ReadValue(*target.column, field));
            } catch (const TException &error) {
                Refuse(QStringLiteral("%1행 '%2' 열에 붙여넣을 수 없습니다: %3")
                           .arg(start + static_cast<int>(r) + 1)
                           .arg(target.column->Title().Caption(), error.Message()));
            }
        }
    }

    // What the touched stored rows hold now, to put back when a row is refused.
    const int kept = static_cast<int>(std::min<long long>(end, before)) - start;
    const int columnCount = Columns().Count();
    std::vector<TwMemPool> saved;
    saved.reserve(static_cast<std::size_t>(columnCount));
    for (int i = 0; i < columnCount; ++i) {
        const TwMemPool &pool = GetMemColumn(i)->Pool();
        TwMemPool &copy = saved.emplace_back(pool.DataType(), pool.Width());
        copy.SetCount(kept);
        for (int row = 0; row < kept; ++row)
            copy.CopyRow(pool, start + row, row);
    }
    struct TRowByte
    {
        TwRowState state;
        bool changed;
        TwRowType type;
    };
    std::vector<TRowByte> bytes;
    bytes.reserve(static_cast<std::size_t>(kept));
    for (int row = start; row < start + kept; ++row)
        bytes.push_back({d->m_rowInfos.State(row), d->m_rowInfos.Changed(row), d->m_rowInfos.RowType(row)});
    const int curRow = CurRow();
    const int topRow = GetTopRow();

    int row = start;
    const TwColumn *column = nullptr;
    // The footers are summed once, after the last row, not after every post.
    const bool autoFooters = std::exchange(d->m_autoCalcFooters, false);
    try {
        const TUpdateScope update(*this);
        for (std::size_t r = 0; r < rows.size(); ++r, ++row) {
            column = nullptr;
            if (row < before) {
                SetCurRow(row);
                // A stored row is changed as typing changes it: OnEdit is asked before the
                // first value, and the row is then edited.
                column = targets.front().column;
                if (CurRow() != row || !targets.front().column->EditCanModify() || GetGridMode() != wgmEdit)
                    Refuse(QStringLiteral("이 행은 고칠 수 없습니다."));
            } else {
                Insert(true);
                if (GetGridMode() != wgmInsert || CurRow() != row)
                    Refuse(QStringLiteral("행을 추가할 수 없습니다."));
            }
            for (std::size_t t = 0; t < targets.size(); ++t) {
                TwMemColumn *target = targets[t].column;
                column = target;
                const TPasteValue &value = values[r][t];
                switch (value.kind) {
                case TPasteValue::Null:
                    target->SetNull();
                    break;
                case TPasteValue::Text:
                    target->SetString(value.text);
                    break;
                case TPasteValue::Integer:
                    target->SetLong(static_cast<qint32>(value.number));
                    break;
                case TPasteValue::Float:
                    target->SetFloat(value.number);
                    break;
                case TPasteValue::Date:
                    target->SetDateTime(value.number);
                    break;
                case TPasteValue::Bool:
                    target->SetBool(value.flag);
                    break;
                }
            }
            column = nullptr;
            Post();
            if (GetGridMode() != wgmBrowse)
                Refuse(QStringLiteral("행을 저장하지 못했습니다."));
        }
    } catch (...) {
        const QString reason = Platform::ExceptionText(std::current_exception());
        const int announced = CurRow();
        // Back to the grid as it was: the open row dropped, the added rows removed, the
        // touched rows' values and bytes put back.
        if (d->m_gridMode != wgmBrowse) {
            try {
                Cancel();
            } catch (...) {
                // a handler of the cancel failed: the row is dropped all the same
            }
            d->m_gridMode = wgmBrowse;
            d->m_modified = false;
        }
        HideEditor();
        if (GetRowCount() > before)
            DeleteRow(before, GetRowCount() - before);
        const int restorable = std::min(kept, GetRowCount() - start);
        for (int i = 0; i < columnCount && i < static_cast<int>(saved.size()); ++i) {
            TwMemPool &pool = GetMemColumn(i)->Pool();
            for (int k = 0; k < restorable; ++k)
                pool.CopyRow(saved[static_cast<std::size_t>(i)], k, start + k);
        }
        for (int k = 0; k < restorable; ++k) {
            const TRowByte &byte = bytes[static_cast<std::size_t>(k)];
            d->m_rowInfos.SetState(start + k, byte.state);
            d->m_rowInfos.SetChanged(start + k, byte.changed);
            d->m_rowInfos.SetRowType(start + k, byte.type);
        }
        d->m_autoCalcFooters = autoFooters;
        AssignCurRow(std::clamp(curRow, 0, std::max(0, GetRowCount() - 1)));
        UpdateScrollRange();
        SetTopRow(topRow);
        if (Options().Has(wgoAlwaysShowEditor))
            ShowEditor();
        UpdateEditor();
        InvalidateGrid();
        // The application followed the rows the paste went through: it is told where the
        // grid is again, and that the data are as they were.
        if (CurRow() != announced) {
            emit OnRowEnter();
            RowChanged(true);
        }
        DataChanged();
        const QString where = column ? QStringLiteral("%1행 '%2' 열").arg(row + 1).arg(column->Title().Caption())
                                     : QStringLiteral("%1행").arg(row + 1);
        Refuse(QStringLiteral("%1에 붙여넣을 수 없어 붙여넣기를 취소했습니다: %2").arg(where, reason));
    }
    d->m_autoCalcFooters = autoFooters;
    DataChanged();
    // The pasted block's first row is current again, as after a paste in a spreadsheet.
    SetCurRow(start);
}

std::unique_ptr<QMenu> TTabrix::CreateStandardContextMenu()
{
    std::unique_ptr<QMenu> menu = TwCustomGrid::CreateStandardContextMenu();
    // A refused paste or export is reported here: it must not unwind through the menu's
    // event loop.
    const auto reporting = [](const std::function<void()> &work) {
        try {
            work();
        } catch (...) {
            Platform::ReportException(std::current_exception());
        }
    };
    QAction *paste = menu->addAction(QStringLiteral("붙여넣기"), this, [this, reporting] {
        reporting([this] { PasteFromClipboard(); });
    });
    paste->setShortcut(QKeySequence::Paste);
    const QMimeData *clipboard = QApplication::clipboard()->mimeData();
    paste->setEnabled(Options().Has(wgoEditing) && GetVColCount() > 0 && clipboard && clipboard->hasText());
    menu->addSeparator();
    QAction *xlsx = menu->addAction(QStringLiteral("엑셀로 저장"), this, [this, reporting] {
        reporting([this] {
            const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("엑셀로 저장"), QString(),
                                                              QStringLiteral("Excel 통합 문서 (*.xlsx)"));
            if (!path.isEmpty())
                ExportToXlsx(path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) ? path : path + QLatin1String(".xlsx"));
        });
    });
    xlsx->setEnabled(GetVColCount() > 0);
    QAction *print = menu->addAction(QStringLiteral("인쇄"), this, [this, reporting] {
        reporting([this] { PrintPreview(); });
    });
    print->setShortcut(QKeySequence::Print);
    print->setEnabled(GetVColCount() > 0);
    return menu;
}

void TTabrix::contextMenuEvent(QContextMenuEvent *event)
{
    if (Designing() || contextMenuPolicy() != Qt::DefaultContextMenu) {
        TwCustomGrid::contextMenuEvent(event);
        return;
    }
    std::unique_ptr<QMenu> menu = CreateStandardContextMenu();
    menu->exec(event->globalPos());
    event->accept();
}
