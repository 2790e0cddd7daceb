// Exporting the grid as a workbook, read back with Python's openpyxl: the cell values with
// their types and number formats, the title rows (merged group titles, frozen), the column
// widths, the footers; and failures that leave the target as it was.

#include "grid/groups.h"
#include "grid/tabrix.h"
#include "grid/uxlocale.h"
#include "platform/texception.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

namespace xlsx_test {

// Each cell as "type:value|number format": s text, n number, b boolean, d a date openpyxl
// read through a date format (ISO), f a formula; the format is left out where it is General;
// an empty cell is "". Dates come back through openpyxl's own 1900 calendar.
const char *const ReaderScript = R"(import datetime, json, sys
import openpyxl
from openpyxl.utils import get_column_letter

wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]

def show(c):
    v = c.value
    if v is None:
        return ""
    if isinstance(v, bool):
        s = "b:" + ("TRUE" if v else "FALSE")
    elif isinstance(v, (datetime.datetime, datetime.date, datetime.time)):
        s = "d:" + v.isoformat()
    elif isinstance(v, (int, float)):
        s = "n:" + repr(v)
    else:
        s = c.data_type + ":" + str(v)
    if c.number_format != "General":
        s += "|" + c.number_format
    return s

rows = [[show(c) for c in row] for row in ws.iter_rows()]
widths = {}
for i in range(1, ws.max_column + 1):
    d = ws.column_dimensions.get(get_column_letter(i))
    widths[get_column_letter(i)] = d.width if d is not None and d.customWidth else None
print(json.dumps({"sheets": wb.sheetnames, "freeze": ws.freeze_panes,
                  "merged": sorted(str(r) for r in ws.merged_cells.ranges),
                  "widths": widths, "rows": rows}, ensure_ascii=False))
)";

// A python3 with openpyxl: the one on the path, else the system's.
QString Python()
{
    static const QString found = [] {
        for (const QString &candidate : {QStringLiteral("python3"), QStringLiteral("/usr/bin/python3")}) {
            QProcess probe;
            probe.start(candidate, {QStringLiteral("-c"), QStringLiteral("import openpyxl")});
            if (probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
                return candidate;
        }
        return QString();
    }();
    return found;
}

struct Workbook
{
    QStringList Sheets;
    QString Freeze; // empty: no frozen panes
    QStringList Merged;
    QJsonObject Widths; // column letter: width in characters
    std::vector<std::vector<std::string>> Rows;
    std::string Error;
};

Workbook ReadBack(const QString &path)
{
    Workbook book;
    const QString python = Python();
    if (python.isEmpty()) {
        book.Error = "no python3 with openpyxl";
        return book;
    }
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("read.py"));
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly) || file.write(ReaderScript) < 0) {
        book.Error = "cannot write the reader script";
        return book;
    }
    file.close();
    QProcess process;
    process.start(python, {script, path});
    if (!process.waitForFinished(120000) || process.exitCode() != 0) {
        book.Error = "openpyxl failed: " + process.readAllStandardError().toStdString();
        return book;
    }
    const QJsonObject root = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    for (const QJsonValue &sheet : root.value(QLatin1String("sheets")).toArray())
        book.Sheets << sheet.toString();
    book.Freeze = root.value(QLatin1String("freeze")).toString();
    for (const QJsonValue &range : root.value(QLatin1String("merged")).toArray())
        book.Merged << range.toString();
    book.Widths = root.value(QLatin1String("widths")).toObject();
    for (const QJsonValue &row : root.value(QLatin1String("rows")).toArray()) {
        std::vector<std::string> cells;
        for (const QJsonValue &cell : row.toArray())
            cells.push_back(cell.toString().toStdString());
        book.Rows.push_back(cells);
    }
    return book;
}

using Row = std::vector<std::string>;

TwMemColumn *AddColumn(TTabrix &grid, const char16_t *caption, TwDataType type, int width)
{
    auto *column = static_cast<TwMemColumn *>(grid.Columns().Add());
    column->SetDataType(type);
    column->SetDataWidth(type == wdtString ? 40 : 0);
    column->Title().SetCaption(QString::fromUtf16(caption));
    column->SetWidth(width);
    return column;
}

// The message of the TException `work` throws; empty when it throws none.
template<typename Work>
std::string ErrorOf(Work work)
{
    try {
        work();
    } catch (const TException &error) {
        return error.Message().toStdString();
    }
    return {};
}

QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// 코드, 거래처명 (Korean, a null, a formula-like text), 금액 (#,##0, negative money),
// 일자 (yyyy-mm-dd, a null), 확인 (check box), 구분 (list: shows 현금/카드 for A/B),
// 비밀 (hidden), 입금시각 (date-time, yyyy.mm.dd hh:nn), 비고 (texts with blanks, a sign
// and a line break); two footer lines: 합계 and the sum, the count, the average and the
// latest date.
class XlsxGrid : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Python().isEmpty()) << "python3 with openpyxl is needed to read the workbooks back";
        ASSERT_TRUE(m_dir.isValid());
        m_grid = std::make_unique<TTabrix>();
        TTabrix &grid = *m_grid;
        grid.BeginUpdate();
        AddColumn(grid, u"코드", wdtLong, 49);
        AddColumn(grid, u"거래처명", wdtString, 140);
        AddColumn(grid, u"금액", wdtFloat, 91)->SetDisplayFormat(QStringLiteral("#,##0"));
        AddColumn(grid, u"일자", wdtDate, 84)->SetDisplayFormat(QStringLiteral("yyyy-mm-dd"));
        AddColumn(grid, u"확인", wdtBool, 42);
        TwMemColumn *kind = AddColumn(grid, u"구분", wdtString, 56);
        kind->SetValues({QStringLiteral("A"), QStringLiteral("B")});
        kind->SetItems({QStringLiteral("현금"), QStringLiteral("카드")});
        kind->ListOption().SetValuesIndex(1);
        AddColumn(grid, u"비밀", wdtString, 70)->SetVisible(false);
        AddColumn(grid, u"입금시각", wdtDateTime, 126)->SetDisplayFormat(QStringLiteral("yyyy.mm.dd hh:nn"));
        AddColumn(grid, u"비고", wdtString, 105)->SetDataWidth(0); // free length
        grid.Footers().Add();
        grid.Footers().Add();
        grid.EndUpdate();

        grid.SetRowCount(3);
        const QString names[] = {QStringLiteral("㈜한빛상사"), QString(), QStringLiteral("=SUM(A1:A3)")};
        const double amounts[] = {1500, -32000, 1234567};
        const QString remarks[] = {QStringLiteral("  앞뒤 공백 "), QStringLiteral("-1+2"), QStringLiteral("줄\n바꿈")};
        for (int row = 0; row < 3; ++row) {
            grid.Cells(0, row).SetLong(row + 1);
            if (!names[row].isEmpty())
                grid.Cells(1, row).SetString(names[row]);
            grid.Cells(2, row).SetFloat(amounts[row]);
            if (row != 1)
                grid.Cells(3, row).SetDateTime(TXDateOf(QDate(2026, 12, row + 1)));
            if (row != 2) {
                grid.Cells(4, row).SetBool(row == 0);
                grid.Cells(5, row).SetString(row == 0 ? QStringLiteral("A") : QStringLiteral("B"));
            }
            grid.Cells(6, row).SetString(QStringLiteral("숨김값"));
            grid.Cells(8, row).SetString(remarks[row]);
        }
        grid.Cells(7, 0).SetDateTime(TXEncodeDateTime(TXDateOf(QDate(2026, 12, 1)), TXTimeOf(QTime(9, 5))));
        grid.GetMemColumn(0)->Footer().SetValues(0, QStringLiteral("합계"));
        grid.GetMemColumn(2)->MemFooter().SetMethod(0, wfmeSum);
        grid.GetMemColumn(0)->MemFooter().SetMethod(1, wfmeCount);
        grid.GetMemColumn(2)->MemFooter().SetMethod(1, wfmeAverage);
        grid.GetMemColumn(3)->MemFooter().SetMethod(1, wfmeMax);
        grid.CalcFooters();
    }

    QString PathOf(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    std::unique_ptr<TTabrix> m_grid;
};

const Row XlsxTitles = {"s:코드", "s:거래처명", "s:금액", "s:일자", "s:확인", "s:구분", "s:입금시각", "s:비고"};

} // namespace xlsx_test

using namespace xlsx_test;

// Every cell by its type: numbers and dates as values in the column's format, texts as texts
// (a formula-like one too), check boxes as booleans, list columns as the item shown, nulls
// empty; the hidden column left out; the footers under the rows, numbers as numbers.
TEST_F(XlsxGrid, CellsArriveAsTypedValuesInTheColumnsFormats)
{
    const QString path = PathOf(QStringLiteral("매출.xlsx"));
    // An earlier workbook at the path is replaced, and keeps its permissions.
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    const QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QFile::setPermissions(path, permissions);

    m_grid->ExportToXlsx(path);

    EXPECT_EQ(Entries(m_dir.path()), QStringList{QStringLiteral("매출.xlsx")}) << "no temporary file is left";
    EXPECT_EQ(Contents(path).left(2), "PK");
    // Owner, group and others (the "user" bits are the owner's as the process sees them).
    EXPECT_EQ(QFile::permissions(path) & 0x7077, permissions & 0x7077);
    const Workbook book = ReadBack(path);
    ASSERT_EQ(book.Error, "");
    EXPECT_EQ(book.Sheets, QStringList{QStringLiteral("Sheet1")});
    EXPECT_EQ(book.Freeze, QStringLiteral("A2"));
    EXPECT_TRUE(book.Merged.isEmpty());
    const std::vector<Row> expected = {
        XlsxTitles,
        {"n:1", "s:㈜한빛상사", "n:1500|#,##0", "d:2026-12-01T00:00:00|yyyy-mm-dd", "b:TRUE", "s:현금",
         "d:2026-12-01T09:05:00|yyyy.mm.dd hh:mm", "s:  앞뒤 공백 "},
        {"n:2", "", "n:-32000|#,##0", "", "b:FALSE", "s:카드", "", "s:-1+2"},
        {"n:3", "s:=SUM(A1:A3)", "n:1234567|#,##0", "d:2026-12-03T00:00:00|yyyy-mm-dd", "", "", "", "s:줄\n바꿈"},
        // 합계 and the sum 1,204,067; the count 3, the average 401,356 in the column's format,
        // the latest date as the text the footer shows.
        {"s:합계", "", "n:1204067|#,##0", "", "", "", "", ""},
        {"n:3", "", "n:401356|#,##0", "s:2026-12-03", "", "", "", ""},
    };
    ASSERT_EQ(book.Rows.size(), expected.size());
    for (std::size_t row = 0; row < expected.size(); ++row)
        EXPECT_EQ(book.Rows[row], expected[row]) << "row " << row + 1;
    for (const Row &row : book.Rows) {
        for (const std::string &cell : row)
            EXPECT_EQ(cell.find("숨김"), std::string::npos) << "the hidden column's " << cell;
    }

    // Control characters go in as Excel's _xHHHH_ escapes, and a text that holds such a
    // sequence itself has its underscore escaped, so that Excel reads back what was written
    // (openpyxl shows the escapes as they are stored).
    m_grid->Cells(8, 0).SetString(QStringLiteral("a_x0041_b\u0001_x12_"));
    const QString escapes = PathOf(QStringLiteral("escapes.xlsx"));
    m_grid->ExportToXlsx(escapes);
    const Workbook escaped = ReadBack(escapes);
    ASSERT_EQ(escaped.Error, "");
    EXPECT_EQ(escaped.Rows.at(1).at(7), "s:a_x005F_x0041_b_x0001__x12_");

    // Widths about the screen's: 7 pixels a character.
    const double pixels[] = {49, 140, 91, 84, 42, 56, 126, 105};
    ASSERT_EQ(book.Widths.size(), 8);
    for (int c = 0; c < 8; ++c) {
        const QString letter(QChar(u'A' + c));
        EXPECT_NEAR(book.Widths.value(letter).toDouble(), pixels[c] / 7, 1.0) << "column " << letter.toStdString();
    }
}

TEST_F(XlsxGrid, OptionsNameTheSheetAndLeaveOutTitlesAndFooters)
{
    const QString path = PathOf(QStringLiteral("rows.xlsx"));
    TwXlsxOptions options;
    options.SheetName = QStringLiteral("3월 매출");
    options.Titles = false;
    options.Footers = false;
    m_grid->ExportToXlsx(path, options);
    Workbook book = ReadBack(path);
    ASSERT_EQ(book.Error, "");
    EXPECT_EQ(book.Sheets, QStringList{QStringLiteral("3월 매출")});
    EXPECT_EQ(book.Freeze, QString()) << "no title rows to freeze";
    ASSERT_EQ(book.Rows.size(), 3u);
    EXPECT_EQ(book.Rows[0][0], "n:1");
    EXPECT_EQ(book.Rows[2][1], "s:=SUM(A1:A3)");

    // No rows: the titles and the footers alone.
    m_grid->SetRowCount(0);
    m_grid->CalcFooters();
    m_grid->ExportToXlsx(path);
    book = ReadBack(path);
    ASSERT_EQ(book.Error, "");
    ASSERT_EQ(book.Rows.size(), 2u) << "the computed footer line is empty without rows";
    EXPECT_EQ(book.Rows[0], XlsxTitles);
    EXPECT_EQ(book.Rows[1][0], "s:합계");

    // A name Excel does not open is refused before anything is written.
    for (const QString &name : {QStringLiteral("1/2"), QStringLiteral("'인용'"), QString(32, QChar(u'가'))}) {
        options.SheetName = name;
        const QString other = PathOf(QStringLiteral("other.xlsx"));
        const std::string error = ErrorOf([&] { m_grid->ExportToXlsx(other, options); });
        EXPECT_NE(error.find(other.toStdString()), std::string::npos) << error;
        EXPECT_NE(error.find("시트 이름"), std::string::npos) << error;
        EXPECT_FALSE(QFile::exists(other));
    }
    EXPECT_EQ(Entries(m_dir.path()), QStringList{QStringLiteral("rows.xlsx")});
}

// Each display format becomes the Excel format that shows what the grid shows: sections,
// thousands, decimals, quoted and bare literals (a '%' that does not scale), dates with the
// grid's separators, nn and m-after-h as minutes, AM/PM, milliseconds; and the defaults
// where a column has none.
TEST_F(XlsxGrid, DisplayFormatsBecomeExcelNumberFormats)
{
    const struct
    {
        TwDataType type;
        const char16_t *format;
        const char *expected;
    } cases[] = {
        {wdtFloat, u"", "n:1234.5"},
        {wdtFloat, u"#,##0.00", "n:1234.5|#,##0.00"},
        {wdtFloat, u"0.0#", "n:1234.5|0.0#"},
        {wdtFloat, u"#,##0;(#,##0)", "n:1234.5|#,##0;(#,##0)"},
        {wdtFloat, u"#,##0;;\"영\"", "n:1234.5|#,##0;-#,##0;\"영\""},
        {wdtFloat, u"#,##0원", "n:1234.5|#,##0\"원\""},
        {wdtFloat, u"'₩'#,##0", "n:1234.5|\"₩\"#,##0"},
        {wdtFloat, u"0.0%", "n:1234.5|0.0\"%\""},
        {wdtFloat, u"#,###", "n:1234.5|#,###"},
        {wdtFloat, u"0,", "n:1234.5|#,##0"},
        {wdtFloat, u"00000", "n:1234.5|00000"},
        {wdtDate, u"", "d:2026-03-05T00:00:00|yyyy-mm-dd"},
        {wdtTime, u"", "d:13:07:09|hh:mm:ss"},
        {wdtDateTime, u"", "d:2026-03-05T13:07:09|yyyy-mm-dd hh:mm:ss"},
        {wdtDate, u"yyyy.mm.dd", "d:2026-03-05T00:00:00|yyyy.mm.dd"},
        {wdtDate, u"yyyy년 m월 d일", "d:2026-03-05T00:00:00|yyyy\"년\" m\"월\" d\"일\""},
        {wdtDate, u"yy/mm/dd (ddd)", "d:2026-03-05T00:00:00|yy-mm-dd (ddd)"},
        {wdtDate, u"d mmmm yyyy", "d:2026-03-05T00:00:00|d mmmm yyyy"},
        {wdtTime, u"hh:nn:ss", "d:13:07:09|hh:mm:ss"},
        {wdtTime, u"hh:mm", "d:13:07:09|hh:mm"},
        {wdtTime, u"h:nn am/pm", "d:13:07:09|h:mm AM/PM"},
        {wdtDateTime, u"yyyy-mm-dd hh:nn:ss.zzz", "d:2026-03-05T13:07:09|yyyy-mm-dd hh:mm:ss.000"},
    };
    TTabrix grid;
    grid.BeginUpdate();
    for (const auto &c : cases)
        AddColumn(grid, u"열", c.type, 70)->SetDisplayFormat(QString::fromUtf16(c.format));
    grid.EndUpdate();
    grid.SetRowCount(1);
    const TDateTime when = TXEncodeDateTime(TXDateOf(QDate(2026, 3, 5)), TXTimeOf(QTime(13, 7, 9)));
    for (int c = 0; c < grid.Columns().Count(); ++c) {
        switch (grid.GetMemColumn(c)->DataType()) {
        case wdtFloat:
            grid.Cells(c, 0).SetFloat(1234.5);
            break;
        case wdtDate:
            grid.Cells(c, 0).SetDateTime(TXDateOf(QDate(2026, 3, 5)));
            break;
        case wdtTime:
            grid.Cells(c, 0).SetDateTime(TXTimeOf(QTime(13, 7, 9)));
            break;
        default:
            grid.Cells(c, 0).SetDateTime(when);
            break;
        }
    }
    const QString path = PathOf(QStringLiteral("formats.xlsx"));
    TwXlsxOptions options;
    options.Titles = false;
    grid.ExportToXlsx(path, options);
    const Workbook book = ReadBack(path);
    ASSERT_EQ(book.Error, "");
    ASSERT_EQ(book.Rows.size(), 1u);
    ASSERT_EQ(book.Rows[0].size(), std::size(cases));
    for (std::size_t c = 0; c < std::size(cases); ++c)
        EXPECT_EQ(book.Rows[0][c], cases[c].expected) << QString::fromUtf16(cases[c].format).toStdString();
}

// In group mode the columns come level by level; each group's caption is merged over its
// run of columns above their titles (over both title rows where the group hides its
// columns' titles), and both title rows are frozen.
TEST_F(XlsxGrid, GroupCaptionsAreMergedAboveTheirColumns)
{
    TTabrix &grid = *m_grid;
    grid.BeginUpdate();
    const struct
    {
        const char16_t *caption;
        int levels;
    } groups[] = {{u"거래", 1}, {u"금액 정보", 2}, {u"확인 여부", 1}};
    for (const auto &g : groups) {
        TwGroup *group = grid.Groups().Add();
        group->SetLevels(g.levels);
        group->SetWidth(200);
        group->Title().SetCaption(QString::fromUtf16(g.caption));
    }
    // 거래: 코드, 거래처명 | 금액 정보: 금액 over 일자 | 확인 여부: 확인, without its title.
    grid.Groups().Items(0)->InsertItem(0, 0, grid.Columns().Items(0));
    grid.Groups().Items(0)->InsertItem(0, 1, grid.Columns().Items(1));
    grid.Groups().Items(1)->InsertItem(0, 0, grid.Columns().Items(2));
    grid.Groups().Items(1)->InsertItem(1, 0, grid.Columns().Items(3));
    grid.Groups().Items(2)->InsertItem(0, 0, grid.Columns().Items(4));
    grid.Groups().Items(2)->SetNoColTitles(true);
    grid.EndUpdate();
    grid.SetGroupMode(true);

    const QString path = PathOf(QStringLiteral("groups.xlsx"));
    grid.ExportToXlsx(path);
    const Workbook book = ReadBack(path);
    ASSERT_EQ(book.Error, "");
    EXPECT_EQ(book.Freeze, QStringLiteral("A3"));
    // Level 0 of every group, then level 1: 코드 거래처명 금액 확인 | 일자. 금액 정보 has two
    // runs (금액, and 일자 after 확인), each captioned.
    EXPECT_EQ(book.Merged, (QStringList{QStringLiteral("A1:B1"), QStringLiteral("D1:D2")}));
    ASSERT_GE(book.Rows.size(), 3u);
    EXPECT_EQ(book.Rows[0], (Row{"s:거래", "", "s:금액 정보", "s:확인 여부", "s:금액 정보"}));
    EXPECT_EQ(book.Rows[1], (Row{"s:코드", "s:거래처명", "s:금액", "", "s:일자"}));
    EXPECT_EQ(book.Rows[2], (Row{"n:1", "s:㈜한빛상사", "n:1500|#,##0", "b:TRUE", "d:2026-12-01T00:00:00|yyyy-mm-dd"}));
    ASSERT_EQ(book.Rows.size(), 2u + 3 + 2);
    EXPECT_EQ(book.Rows[5], (Row{"s:합계", "", "n:1204067|#,##0", "", ""}));
}

// A workbook that cannot be written fails with the path and leaves nothing behind: no file
// at the path, no temporary beside it, an earlier file as it was.
TEST_F(XlsxGrid, AFailedExportLeavesThePathAsItWas)
{
    TTabrix &grid = *m_grid;
    const auto failsWithPath = [&](const QString &path) {
        const std::string error = ErrorOf([&] { grid.ExportToXlsx(path); });
        EXPECT_NE(error.find(path.toStdString()), std::string::npos) << error;
        EXPECT_NE(error.find("저장할 수 없습니다"), std::string::npos) << error;
        return error;
    };

    // A folder that does not exist, and a file where the folder should be.
    failsWithPath(PathOf(QStringLiteral("없는 폴더/매출.xlsx")));
    EXPECT_FALSE(QFile::exists(PathOf(QStringLiteral("없는 폴더"))));
    const QString plain = PathOf(QStringLiteral("file.txt"));
    QFile file(plain);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("text");
    file.close();
    failsWithPath(plain + QStringLiteral("/매출.xlsx"));
    EXPECT_EQ(Contents(plain), "text");

    // A read-only folder (where permissions hold: not for root).
    const QString locked = PathOf(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkdir(locked));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
    if (::access(QFile::encodeName(locked).constData(), W_OK) != 0) {
        failsWithPath(locked + QStringLiteral("/매출.xlsx"));
        EXPECT_TRUE(Entries(locked).isEmpty());
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // A text longer than an Excel cell holds is named by row and column; the earlier file
    // at the path stays.
    const QString path = PathOf(QStringLiteral("매출.xlsx"));
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier workbook");
    earlier.close();
    const QStringList before = Entries(m_dir.path());
    grid.Cells(8, 1).SetString(QString(40000, QChar(u'가')));
    const std::string tooLong = failsWithPath(path);
    EXPECT_NE(tooLong.find("2행 '비고'"), std::string::npos) << tooLong;
    EXPECT_EQ(Contents(path), "earlier workbook");
    EXPECT_EQ(Entries(m_dir.path()), before);

    // A full disk, as a file size limit: the writes past it fail.
    grid.Cells(8, 1).SetString(QStringLiteral("짧은 글"));
    grid.SetRowCount(3000);
    for (int row = 3; row < 3000; ++row)
        grid.Cells(1, row).SetString(QStringLiteral("거래처 %1번 %2").arg(row).arg(row * 7919 % 104729));
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit saved = limit;
    limit.rlim_cur = 8192;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const std::string full = ErrorOf([&] { grid.ExportToXlsx(path); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_NE(full.find(path.toStdString()), std::string::npos) << full;
    EXPECT_EQ(Contents(path), "earlier workbook");
    EXPECT_EQ(Entries(m_dir.path()), before);

    // Without the limit the same rows are written.
    grid.ExportToXlsx(path);
    const Workbook book = ReadBack(path);
    ASSERT_EQ(book.Error, "");
    EXPECT_EQ(book.Rows.size(), 1u + 3000 + 2);
    EXPECT_EQ(book.Rows[3000][1], "s:거래처 2999번 " + std::to_string(2999 * 7919 % 104729));
    EXPECT_EQ(Entries(m_dir.path()), before);
}

// What the grid shows is what the workbook holds: hidden footer lines stay out, a text
// column's footer stays text, a list shown through its items keeps the item, a date Excel
// has no day for stays the text, seconds are cut as the grid cuts them; a number format too
// long for the workbook is refused with the path.
TEST_F(XlsxGrid, TheWorkbookHoldsWhatTheGridShows)
{
    TTabrix &grid = *m_grid;
    grid.BeginUpdate();
    TwMemColumn *payment = AddColumn(grid, u"결제", wdtLong, 56);
    payment->SetValues({QStringLiteral("1"), QStringLiteral("2")});
    payment->SetItems({QStringLiteral("현금"), QStringLiteral("카드")});
    payment->ListOption().SetValuesIndex(1);
    payment->SetEditStyle(wesText);
    grid.EndUpdate();
    grid.Cells(9, 0).SetLong(2);
    grid.Footers().Items(1)->SetVisible(false);
    grid.GetMemColumn(8)->Footer().SetValues(0, QStringLiteral("000987"));
    grid.Cells(3, 1).SetDateTime(TXDateOf(QDate(1899, 12, 31)));
    grid.Cells(7, 1).SetDateTime(TXEncodeDateTime(TXDateOf(QDate(2026, 12, 2)), TXTimeOf(QTime(23, 59, 59, 700))));
    const QString path = PathOf(QStringLiteral("shown.xlsx"));
    grid.ExportToXlsx(path);
    const Workbook book = ReadBack(path);
    ASSERT_TRUE(book.Error.empty()) << book.Error;
    ASSERT_EQ(book.Rows.size(), 5u) << "titles, three rows and the one footer line shown";
    EXPECT_EQ(book.Rows[1][8], "s:카드");
    EXPECT_EQ(book.Rows[2][3], "s:1899-12-31");
    EXPECT_EQ(book.Rows[2][6].substr(0, 21), "d:2026-12-02T23:59:59");
    EXPECT_EQ(book.Rows[4][7], "s:000987");

    grid.GetMemColumn(2)->SetDisplayFormat(QStringLiteral("#,##0\"") + QString(60, u'원') + u'"');
    const std::string error = ErrorOf([&] { grid.ExportToXlsx(PathOf(QStringLiteral("long.xlsx"))); });
    EXPECT_NE(error.find("long.xlsx"), std::string::npos) << error;
    EXPECT_FALSE(QFile::exists(PathOf(QStringLiteral("long.xlsx"))));
}
