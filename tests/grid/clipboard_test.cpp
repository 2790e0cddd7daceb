// Copying cells to the clipboard: the texts the grid shows, in reading order, as the
// tab-separated text and the HTML table spreadsheets read.

#include "demo/demogrid.h"
#include "grid/tabrix.h"
#include "grid/uxutils.h"
#include "platform/cp949.h"
#include "platform/texception.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace {

// 코드, 거래처명, 금액 (#,##0, negative money), 일자 (yyyy-mm-dd) and 비고; row 1 has nulls and a
// remark that holds a tab, a line break and quotes.
class ClipboardGrid : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_grid = std::make_unique<TTabrix>();
        TTabrix &grid = *m_grid;
        grid.BeginUpdate();
        const struct
        {
            const char16_t *caption;
            TwDataType type;
        } columns[] = {{u"코드", wdtLong}, {u"거래처명", wdtString}, {u"금액", wdtFloat}, {u"일자", wdtDate},
                       {u"비고", wdtString}};
        for (const auto &c : columns) {
            auto *column = static_cast<TwMemColumn *>(grid.Columns().Add());
            column->SetDataType(c.type);
            column->SetDataWidth(c.type == wdtString ? 40 : 0);
            column->Title().SetCaption(QString::fromUtf16(c.caption));
        }
        grid.GetMemColumn(2)->SetDisplayFormat(QStringLiteral("#,##0"));
        grid.GetMemColumn(3)->SetDisplayFormat(QStringLiteral("yyyy-mm-dd"));
        grid.SetOptions({wgoEditing, wgoMultiSelect});
        grid.EndUpdate();
        grid.SetRowCount(3);
        const QString names[] = {QStringLiteral("㈜한빛상사"), QString(), QStringLiteral("한결상회")};
        const double amounts[] = {1500, -32000, 1234567};
        for (int row = 0; row < 3; ++row) {
            grid.GetMemColumn(0)->Pool().SetLong(row, row + 1);
            if (!names[row].isEmpty())
                grid.GetMemColumn(1)->Pool().SetString(row, names[row]);
            grid.GetMemColumn(2)->Pool().SetFloat(row, amounts[row]);
            if (row != 1)
                grid.GetMemColumn(3)->Pool().SetString(row, QStringLiteral("2026-12-0%1").arg(row + 1));
        }
        grid.GetMemColumn(4)->Pool().SetString(1, QStringLiteral("반품\t\"급\"\n재입고"));
        grid.resize(560, 200);
    }

    std::unique_ptr<TTabrix> m_grid;
};

} // namespace

TEST_F(ClipboardGrid, SelectedRowsCopyAsTheShownTextsInTextAndTable)
{
    TTabrix &grid = *m_grid;
    grid.SetSelected(2, true);
    grid.SetSelected(1, true);

    std::unique_ptr<QMimeData> data = grid.CopyData(true);
    ASSERT_NE(data, nullptr);
    // Rows in grid order; the field with a tab, a line break and quotes is quoted with its
    // quotes doubled; a null is an empty field; every row ends with CRLF.
    EXPECT_EQ(data->text().toStdString(),
              QStringLiteral("코드\t거래처명\t금액\t일자\t비고\r\n"
                             "2\t\t-32,000\t\t\"반품\t\"\"급\"\"\n재입고\"\r\n"
                             "3\t한결상회\t1,234,567\t2026-12-03\t\r\n")
                  .toStdString());
    const QString html = data->html();
    EXPECT_TRUE(html.contains(QLatin1String("<meta charset=\"utf-8\">")));
    EXPECT_TRUE(html.contains(QStringLiteral("<tr><th>코드</th><th>거래처명</th>"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("<td align=right>-32,000</td>"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("<td>반품\t&quot;급&quot;<br>재입고</td>"))) << html.toStdString();
    EXPECT_EQ(html.count(QLatin1String("<tr>")), 3);

    // Without titles the title row is left out of both.
    data = grid.CopyData(false);
    EXPECT_TRUE(data->text().startsWith(QStringLiteral("2\t\t-32,000")));
    EXPECT_FALSE(data->html().contains(QLatin1String("<th>")));
}

TEST_F(ClipboardGrid, WithoutASelectionTheCurrentCellOrRowIsCopied)
{
    TTabrix &grid = *m_grid;
    grid.SetCurRow(2);
    grid.SetSelectedIndex(1);
    EXPECT_EQ(grid.CopyData()->text(), QStringLiteral("한결상회\r\n"));
    EXPECT_EQ(grid.CopyData(true)->text(), QStringLiteral("거래처명\r\n한결상회\r\n"));

    // Where rows are selected whole, the current row is.
    grid.SetOptions({wgoRowSelect});
    EXPECT_EQ(grid.CopyData()->text(), QStringLiteral("3\t한결상회\t1,234,567\t2026-12-03\t\r\n"));

    // A hidden column is not copied; nothing to copy is no copy.
    grid.Columns().Items(3)->SetVisible(false);
    EXPECT_EQ(grid.CopyData()->text(), QStringLiteral("3\t한결상회\t1,234,567\t\r\n"));
    QApplication::clipboard()->setText(QStringLiteral("before"));
    grid.SetRowCount(0);
    EXPECT_EQ(grid.CopyData(), nullptr);
    EXPECT_FALSE(grid.CopyToClipboard());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
}

TEST_F(ClipboardGrid, GroupModeCopiesLevelByLevel)
{
    TTabrix &grid = *m_grid;
    grid.BeginUpdate();
    for (int g = 0; g < 2; ++g) {
        TwGroup *group = grid.Groups().Add();
        group->SetLevels(2);
        group->SetWidth(200);
    }
    // 코드 over 일자 | 거래처명 over 금액; 비고 stays out of the groups.
    grid.Groups().Items(0)->InsertItem(0, 0, grid.Columns().Items(0));
    grid.Groups().Items(0)->InsertItem(1, 0, grid.Columns().Items(3));
    grid.Groups().Items(1)->InsertItem(0, 0, grid.Columns().Items(1));
    grid.Groups().Items(1)->InsertItem(1, 0, grid.Columns().Items(2));
    grid.EndUpdate();
    grid.SetGroupMode(true);
    grid.SetSelected(0, true);
    EXPECT_EQ(grid.CopyData(true)->text(),
              QStringLiteral("코드\t거래처명\t일자\t금액\r\n1\t㈜한빛상사\t2026-12-01\t1,500\r\n"));
}

// The keys reach the grid before a window's own copy shortcut: the grid's cells are copied.
TEST_F(ClipboardGrid, CopyKeysCopyTheGridsCellsBeforeAWindowShortcut)
{
    QMainWindow window;
    TTabrix *grid = m_grid.release();
    window.setCentralWidget(grid);
    auto *windowCopy = new QAction(&window);
    windowCopy->setShortcut(QKeySequence::Copy);
    window.addAction(windowCopy);
    QSignalSpy windowCopied(windowCopy, &QAction::triggered);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    grid->setFocus();
    grid->SetCurRow(0);
    grid->SetSelectedIndex(2);

    QApplication::clipboard()->clear();
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1,500\r\n"));
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("금액\r\n1,500\r\n"));
    grid->SetSelectedIndex(0);
    QTest::keyClick(grid, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1\r\n"));
    EXPECT_EQ(QApplication::clipboard()->mimeData()->html().count(QLatin1String("<td")), 1);
    EXPECT_EQ(windowCopied.count(), 0);
    EXPECT_EQ(grid->GetRowCount(), 3) << "Ctrl+Insert copies; it inserts no row";

    // In the number editor Ctrl+Insert is the editor's own copy, not the grid's.
    grid->SetSelectedIndex(2);
    QTest::keyClick(grid, Qt::Key_F2);
    QWidget *editor = QApplication::focusWidget();
    ASSERT_NE(editor, grid) << "the editor is open";
    QApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::keyClick(editor, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_FALSE(QApplication::clipboard()->text().endsWith(QLatin1String("\r\n")));
    EXPECT_EQ(grid->GetRowCount(), 3);
}

TEST_F(ClipboardGrid, TheContextMenuOffersWhatTheGridAllows)
{
    TTabrix &grid = *m_grid;
    grid.SetSelected(0, true);
    QApplication::clipboard()->setText(QStringLiteral("9"));
    std::unique_ptr<QMenu> menu = grid.CreateStandardContextMenu();
    QStringList texts;
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator())
            texts << action->text();
    }
    EXPECT_EQ(texts, (QStringList{QStringLiteral("복사"), QStringLiteral("제목과 함께 복사"), QStringLiteral("붙여넣기"),
                                  QStringLiteral("엑셀로 저장"), QStringLiteral("인쇄")}));
    const auto action = [&menu](const QString &text) {
        for (QAction *item : menu->actions()) {
            if (item->text() == text)
                return item;
        }
        return static_cast<QAction *>(nullptr);
    };
    action(QStringLiteral("제목과 함께 복사"))->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("코드\t거래처명")));
    action(QStringLiteral("복사"))->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("1\t㈜한빛상사\t1,500\t2026-12-01")));
    EXPECT_TRUE(action(QStringLiteral("붙여넣기"))->isEnabled());

    // Without editing there is no paste; without rows nothing to copy.
    grid.SetOptions({wgoMultiSelect});
    grid.SetRowCount(0);
    menu = grid.CreateStandardContextMenu();
    EXPECT_FALSE(action(QStringLiteral("복사"))->isEnabled()) << "nothing to copy";
    EXPECT_FALSE(action(QStringLiteral("붙여넣기"))->isEnabled());
}

// The rows as a CSV file: values in the forms spreadsheets read, in UTF-8 with a byte order
// mark or in code page 949, written whole or not at all.
TEST_F(ClipboardGrid, ExportToCsvWritesValuesTitlesAndFootersInEitherEncoding)
{
    TTabrix &grid = *m_grid;
    grid.GetMemColumn(1)->Pool().SetString(1, QStringLiteral("=HYPERLINK(\"x\")"));
    grid.GetMemColumn(4)->Pool().SetString(2, QStringLiteral("C:\\매출")); // a backslash stays byte 5C in code page 949
    grid.Columns().Items(3)->SetVisible(false);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString expected = QStringLiteral("코드,거래처명,금액,비고\r\n"
                                            "1,㈜한빛상사,1500,\r\n"
                                            "2,\"'=HYPERLINK(\"\"x\"\")\",-32000,\"반품\t\"\"급\"\"\n재입고\"\r\n"
                                            "3,한결상회,1234567,C:\\매출\r\n");
    const QString utf8Path = dir.filePath(QStringLiteral("매출.csv"));
    grid.ExportToCsv(utf8Path);
    QFile utf8(utf8Path);
    ASSERT_TRUE(utf8.open(QIODevice::ReadOnly));
    const QByteArray bytes = utf8.readAll();
    utf8.close();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(QString::fromUtf8(bytes.mid(3)).toStdString(), expected.toStdString());

    const QString cp949Path = dir.filePath(QStringLiteral("cp949.csv"));
    TwCsvOptions cp949;
    cp949.Encoding = TwCsvEncoding::Cp949;
    grid.ExportToCsv(cp949Path, cp949);
    QFile legacy(cp949Path);
    ASSERT_TRUE(legacy.open(QIODevice::ReadOnly));
    const QByteArray legacyBytes = legacy.readAll();
    EXPECT_EQ(Platform::FromCp949(legacyBytes).toStdString(), expected.toStdString());
    EXPECT_EQ(legacyBytes.indexOf("\xEF\xBB\xBF"), -1);
    EXPECT_TRUE(legacyBytes.contains("C:\\")) << "the Windows table, not IBM's";

    // Dates as ISO dates; without titles.
    grid.Columns().Items(3)->SetVisible(true);
    TwCsvOptions plain;
    plain.Titles = false;
    plain.Encoding = TwCsvEncoding::Utf8;
    grid.ExportToCsv(utf8Path, plain);
    ASSERT_TRUE(utf8.open(QIODevice::ReadOnly));
    EXPECT_TRUE(utf8.readAll().startsWith("1,㈜한빛상사,1500,2026-12-01,\r\n"));
    utf8.close();
}

TEST_F(ClipboardGrid, AnExportThatCannotBeWrittenFailsWithThePathAndLeavesNoFile)
{
    TTabrix &grid = *m_grid;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A folder that cannot exist: its parent is a file.
    const QString blocked = dir.filePath(QStringLiteral("blocker/sales.csv"));
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        grid.ExportToCsv(blocked);
        ADD_FAILURE() << "no failure";
    } catch (const std::exception &error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains(blocked)) << error.what();
    }
    EXPECT_FALSE(QFile::exists(blocked));

    // A text code page 949 cannot hold: the earlier file at the path stays as it was.
    const QString path = dir.filePath(QStringLiteral("old.csv"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier");
    old.close();
    grid.GetMemColumn(4)->Pool().SetString(0, QStringLiteral("사과 🍎"));
    TwCsvOptions cp949;
    cp949.Encoding = TwCsvEncoding::Cp949;
    EXPECT_ANY_THROW(grid.ExportToCsv(path, cp949));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("earlier"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "no temporary file is left";
}

// Fractions in their shortest digits, formula-like texts guarded (plain numbers not), and a
// separator that would break the file refused.
TEST_F(ClipboardGrid, ExportedValuesReadBackAsTheyAreStored)
{
    TTabrix &grid = *m_grid;
    grid.GetMemColumn(2)->Pool().SetFloat(0, 0.1);
    grid.GetMemColumn(2)->Pool().SetFloat(1, -12.3);
    grid.GetMemColumn(4)->Pool().SetString(0, QStringLiteral("-2+3+cmd|' /C calc'!A0"));
    grid.GetMemColumn(4)->Pool().SetString(1, QStringLiteral("-32,000"));
    grid.GetMemColumn(4)->Pool().SetString(2, QStringLiteral("@SUM(1)"));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("values.csv"));
    TwCsvOptions options;
    options.Encoding = TwCsvEncoding::Utf8;
    options.Titles = false;
    grid.ExportToCsv(path, options);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()).toStdString(),
              QStringLiteral("1,㈜한빛상사,0.1,2026-12-01,'-2+3+cmd|' /C calc'!A0\r\n"
                             "2,,-12.3,,\"-32,000\"\r\n"
                             "3,한결상회,1234567,2026-12-03,'@SUM(1)\r\n")
                  .toStdString());
    file.close();

    options.Separator = u'"';
    EXPECT_ANY_THROW(grid.ExportToCsv(path, options));

    // In the copied table a lone carriage return breaks the line as a line feed does.
    grid.GetMemColumn(1)->Pool().SetString(0, QStringLiteral("가\r나\r\n다"));
    grid.SetSelectedIndex(1);
    grid.SetCurRow(0);
    EXPECT_TRUE(grid.CopyData()->html().contains(QStringLiteral("<td>가<br>나<br>다</td>")));
}

// Pasting: spreadsheet text split as spreadsheets write it, read by each column, through the
// editing cycle, all or nothing.

namespace {

// Every value, null mark and row byte of a grid, with its row count, current row and mode:
// two grids that print alike hold the same.
std::string Dump(TTabrix &grid)
{
    QString out = QStringLiteral("rows=%1 cur=%2 mode=%3\n").arg(grid.GetRowCount()).arg(grid.CurRow()).arg(grid.GetGridMode());
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        out += QStringLiteral("%1/%2/%3:").arg(grid.RowState(row)).arg(grid.Changed(row)).arg(grid.RowType(row));
        for (int col = 0; col < grid.Columns().Count(); ++col) {
            const TwCells cell = grid.Cells(col, row);
            out += cell.Null() ? QStringLiteral("<null>") : cell.String();
            out += u'|';
        }
        out += u'\n';
    }
    return out.toStdString();
}

std::string PasteError(TTabrix &grid, const QString &text)
{
    try {
        grid.PasteText(text);
    } catch (const TException &error) {
        return error.Message().toStdString();
    }
    return "no error";
}

} // namespace

TEST(SpreadsheetPaste, RowsAndQuotedFieldsSplitAsSpreadsheetsWriteThem)
{
    TTabrix grid;
    for (int i = 0; i < 3; ++i) {
        auto *column = static_cast<TwMemColumn *>(grid.Columns().Add());
        column->SetDataType(wdtString);
    }
    grid.SetOptions({wgoEditing, wgoInserting});
    grid.PasteText(QStringLiteral("a\t\"b\tc\"\t\r\n\"줄\n바꿈 \"\"인용\"\"\"\t끝\n\r마지막\r\n"));
    ASSERT_EQ(grid.GetRowCount(), 4) << "a last line break adds no row";
    const auto row = [&grid](int r) {
        QStringList texts;
        for (int c = 0; c < 3; ++c)
            texts << (grid.Cells(c, r).Null() ? QStringLiteral("-") : grid.Cells(c, r).String());
        return texts;
    };
    EXPECT_EQ(row(0), (QStringList{QStringLiteral("a"), QStringLiteral("b\tc"), QStringLiteral("-")}));
    EXPECT_EQ(row(1), (QStringList{QStringLiteral("줄\n바꿈 \"인용\""), QStringLiteral("끝"), QStringLiteral("-")}));
    EXPECT_EQ(row(2), (QStringList{QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-")}));
    EXPECT_EQ(row(3), (QStringList{QStringLiteral("마지막"), QStringLiteral("-"), QStringLiteral("-")}));
    // An empty clipboard text pastes nothing.
    grid.PasteText(QString());
    EXPECT_EQ(grid.GetRowCount(), 4);
}

// A copy of the grid pasted into an empty grid of the same columns holds the same rows.
TEST_F(ClipboardGrid, CopiedRowsPasteIntoASecondGridAsTheyWere)
{
    TTabrix &source = *m_grid;
    for (int row = 0; row < 3; ++row)
        source.SetSelected(row, true);
    const QString copied = source.CopyData()->text();

    TTabrix target;
    target.BeginUpdate();
    for (int col = 0; col < source.Columns().Count(); ++col) {
        const TwMemColumn *from = source.GetMemColumn(col);
        auto *column = static_cast<TwMemColumn *>(target.Columns().Add());
        column->SetDataType(from->DataType());
        column->SetDataWidth(from->DataWidth());
        column->SetDisplayFormat(from->DisplayFormat());
        column->Title().SetCaption(from->Title().Caption());
    }
    target.SetOptions({wgoEditing, wgoInserting, wgoMultiSelect});
    target.EndUpdate();
    target.SetCheckRowState(true);
    int posts = 0;
    QObject::connect(&target, &TTabrix::OnAfterPost, [&posts] { ++posts; });
    target.PasteText(copied);
    EXPECT_EQ(posts, 3) << "each row posted through the editing cycle";
    for (int row = 0; row < 3; ++row) {
        target.SetSelected(row, true);
        EXPECT_EQ(target.RowState(row), wrInserted);
    }
    EXPECT_EQ(target.CopyData()->text().toStdString(), copied.toStdString());
    EXPECT_EQ(target.Cells(2, 1).Float(), -32000);
    EXPECT_TRUE(target.Cells(3, 1).Null());
    EXPECT_EQ(target.CurRow(), 0) << "the pasted block's first row is current";

    // Pasted over the rows again, from the second column: those rows are edited, not added.
    target.SetCurRow(1);
    target.SetSelectedIndex(1);
    target.ClearRowStates();
    target.PasteText(QStringLiteral("새이름\t(2,500)\r\n"));
    EXPECT_EQ(target.GetRowCount(), 3);
    EXPECT_EQ(target.Cells(1, 1).String(), QStringLiteral("새이름"));
    EXPECT_EQ(target.Cells(2, 1).Float(), -2500);
    EXPECT_EQ(target.Cells(0, 1).Long(), 2) << "left of the current cell nothing changes";
    EXPECT_EQ(target.RowState(1), wrUpdated);
    EXPECT_TRUE(target.Changed(1));
    EXPECT_EQ(target.RowState(0), wrNormal);
}

// Texts are read by each column: numbers with separators and units, dates in the column's
// order, check boxes, list items; read-only and calculated columns are passed over.
TEST_F(ClipboardGrid, PastedTextsAreReadByTheirColumnsTypeAndFormat)
{
    TTabrix &grid = *m_grid;
    grid.BeginUpdate();
    auto *done = static_cast<TwMemColumn *>(grid.Columns().Add());
    done->SetDataType(wdtBool);
    auto *kind = static_cast<TwMemColumn *>(grid.Columns().Add());
    kind->SetDataType(wdtString);
    kind->SetValues({QStringLiteral("A"), QStringLiteral("B")});
    kind->SetItems({QStringLiteral("도매"), QStringLiteral("소매")});
    kind->ListOption().SetValuesIndex(1);
    grid.EndUpdate();
    grid.GetMemColumn(3)->SetDisplayFormat(QStringLiteral("dd.mm.yyyy"));
    grid.GetMemColumn(4)->SetReadOnly(true);
    grid.SetCurRow(0);
    grid.SetSelectedIndex(1);
    grid.PasteText(QStringLiteral("가게\t1,234.5원\t05.12.2026\t무시\t예\t소매\r\n"
                                  "나라\t₩ 7\t2026-12-06\t\tfalse\tA\r\n"));
    EXPECT_EQ(grid.Cells(2, 0).Float(), 1234.5);
    EXPECT_EQ(TXDateFrom(grid.Cells(3, 0).DateTime()), QDate(2026, 12, 5));
    EXPECT_EQ(grid.Cells(4, 0).String(), QStringLiteral("")) << "read-only: kept";
    EXPECT_TRUE(grid.Cells(5, 0).Bool());
    EXPECT_EQ(grid.Cells(6, 0).String(), QStringLiteral("B"));
    EXPECT_EQ(grid.Cells(2, 1).Float(), 7);
    EXPECT_EQ(TXDateFrom(grid.Cells(3, 1).DateTime()), QDate(2026, 12, 6));
    EXPECT_FALSE(grid.Cells(5, 1).Bool());
    EXPECT_EQ(grid.Cells(6, 1).String(), QStringLiteral("A"));
    EXPECT_EQ(grid.Cells(4, 1).String(), QStringLiteral("반품\t\"급\"\n재입고"));

    // Texts a column cannot take, each named with its row, column and reason.
    EXPECT_EQ(PasteError(grid, QStringLiteral("x\t12abc")),
              "1행 '금액' 열에 붙여넣을 수 없습니다: '12abc'은(는) 숫자가 아닙니다.");
    EXPECT_NE(PasteError(grid, QStringLiteral("x\t1\t31.02.2026")).find("'31.02.2026'"), std::string::npos);
    EXPECT_NE(PasteError(grid, QStringLiteral("x\t1\t\t\t아마")).find("참/거짓"), std::string::npos);
    EXPECT_NE(PasteError(grid, QStringLiteral("x\t1\t\t\t\t온라인")).find("목록에 없는"), std::string::npos);
    // Thousands separators only between groups of three; a sign before a currency sign; a
    // format's own text for zero; dates in the column's order before the locale's.
    EXPECT_NE(PasteError(grid, QStringLiteral("x\t1.234,56")).find("숫자가 아닙니다"), std::string::npos);
    EXPECT_NE(PasteError(grid, QStringLiteral("x\t12,34.5")).find("숫자가 아닙니다"), std::string::npos);
    grid.GetMemColumn(2)->SetDisplayFormat(QStringLiteral("₩#,##0;-₩#,##0;-"));
    grid.GetMemColumn(3)->SetDisplayFormat(QStringLiteral("dd-mm-yy"));
    grid.PasteText(QStringLiteral("x\t-₩1,234\t03-04-05\r\ny\t-\t"));
    EXPECT_EQ(grid.Cells(2, 0).Float(), -1234);
    EXPECT_EQ(TXDateFrom(grid.Cells(3, 0).DateTime()), QDate(2005, 4, 3));
    EXPECT_EQ(grid.Cells(2, 1).Float(), 0);
    EXPECT_TRUE(grid.Cells(3, 1).Null());

    grid.GetMemColumn(1)->SetDataWidth(4);
    EXPECT_NE(PasteError(grid, QStringLiteral("다섯글자요")).find("4바이트"), std::string::npos);
    grid.SetSelectedIndex(0);
    EXPECT_NE(PasteError(grid, QStringLiteral("99999999999")).find("사이여야"), std::string::npos);
    EXPECT_NE(PasteError(grid, QStringLiteral("1.5")).find("정수가"), std::string::npos);
}

// The first refusal cancels the whole paste: every row as it was, the reason named.
TEST_F(ClipboardGrid, APasteRefusedMidwayLeavesTheGridAsItWas)
{
    TTabrix &grid = *m_grid;
    grid.SetOptions({wgoEditing, wgoInserting});
    grid.SetCheckRowState(true);
    grid.SetRowState(0, wrUpdated);
    grid.SetChanged(2, true);
    grid.SetCurRow(0);
    const std::string before = Dump(grid);
    const QString rows = QStringLiteral("11\t가\t1\r\n12\t나\t2\r\n13\t다\t3\r\n14\t라\t4\r\n");

    // A handler refuses the third row's post.
    int posts = 0;
    QMetaObject::Connection refuse = QObject::connect(&grid, &TTabrix::OnBeforePost, [&grid, &posts] {
        if (grid.CurRow() == 2)
            throw TException(QStringLiteral("마감된 거래입니다."));
        ++posts;
    });
    EXPECT_EQ(PasteError(grid, rows), "3행에 붙여넣을 수 없어 붙여넣기를 취소했습니다: 마감된 거래입니다.");
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(Dump(grid), before);
    QObject::disconnect(refuse);

    // A value handler refuses in the added row: the added rows go too.
    refuse = QObject::connect(&grid, &TTabrix::OnValueChanging, [&grid](TwMemColumn *column, const QVariant &value) {
        if (column->Index() == 1 && value.toString() == QStringLiteral("라"))
            throw TException(QStringLiteral("거래처가 없습니다."));
        Q_UNUSED(grid);
    });
    EXPECT_EQ(PasteError(grid, rows), "4행 '거래처명' 열에 붙여넣을 수 없어 붙여넣기를 취소했습니다: 거래처가 없습니다.");
    EXPECT_EQ(Dump(grid), before);
    QObject::disconnect(refuse);

    // OnEdit refuses the second row, as it would refuse typing into it; the application
    // hears of the row the grid is back on, and the footers are as they were.
    int entered = -1;
    QObject::connect(&grid, &TTabrix::OnRowEnter, [&grid, &entered] { entered = grid.CurRow(); });
    refuse = QObject::connect(&grid, &TTabrix::OnEdit, [&grid](TwColumn *, bool &accept) { accept = grid.CurRow() != 1; });
    EXPECT_EQ(PasteError(grid, rows), "2행 '코드' 열에 붙여넣을 수 없어 붙여넣기를 취소했습니다: 이 행은 고칠 수 없습니다.");
    EXPECT_EQ(Dump(grid), before);
    EXPECT_EQ(entered, 0);
    QObject::disconnect(refuse);

    // A required column left empty.
    grid.GetMemColumn(3)->SetRequired(true);
    grid.SetSelectedIndex(0);
    EXPECT_NE(PasteError(grid, QStringLiteral("21\t가\t1\t2026-01-01\r\n22\t나\t2\t\r\n")).find("must have a value"),
              std::string::npos);
    EXPECT_EQ(Dump(grid), before);
    grid.GetMemColumn(3)->SetRequired(false);

    // Without wgoInserting, rows past the last are refused before anything changes; so are
    // rows past MaxRowCount.
    grid.SetOptions({wgoEditing});
    EXPECT_NE(PasteError(grid, rows).find("추가할 수 없어"), std::string::npos);
    grid.SetOptions({wgoEditing, wgoInserting});
    grid.SetMaxRowCount(3);
    EXPECT_NE(PasteError(grid, rows).find("최대 3개"), std::string::npos);
    EXPECT_EQ(Dump(grid), before);
}

// A clipboard far larger than any spreadsheet copy is refused at once, with the limit named.
TEST_F(ClipboardGrid, AHugeClipboardTextIsRefusedWithItsSize)
{
    TTabrix &grid = *m_grid;
    const std::string before = Dump(grid);
    const QString huge(50 * 1024 * 1024, u'1');
    EXPECT_NE(PasteError(grid, huge).find("너무 큽니다"), std::string::npos);
    // Many short rows past the cell limit too.
    grid.SetOptions({wgoEditing, wgoInserting});
    const QString rows = QStringLiteral("1\t2\t3\t4\t5\t6\t7\t8\t9\t10\n").repeated(300'000);
    EXPECT_NE(PasteError(grid, rows).find("셀이 너무 많습니다"), std::string::npos);
    EXPECT_EQ(Dump(grid), before);

    // A grid of 2,147,483,647 rows takes no row past its last.
    TabrixDemo::TGeneratedGrid most;
    TabrixDemo::BuildGrid(most, false);
    most.SetOptions({wgoEditing, wgoInserting});
    most.SetRowCount(std::numeric_limits<int>::max());
    most.SetCurRow(std::numeric_limits<int>::max() - 1);
    EXPECT_NE(PasteError(most, QStringLiteral("1\n2\n")).find("최대 2,147,483,647개"), std::string::npos)
        << PasteError(most, QStringLiteral("1\n2\n"));
    EXPECT_EQ(most.GetRowCount(), std::numeric_limits<int>::max());
}

// Ctrl+V and Shift+Insert paste into the grid that has the keyboard; in an open editor they
// are the editor's own.
TEST_F(ClipboardGrid, PasteKeysPasteIntoTheGrid)
{
    QMainWindow window;
    TTabrix *grid = m_grid.release();
    window.setCentralWidget(grid);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    grid->setFocus();
    grid->SetCurRow(0);
    grid->SetSelectedIndex(1);
    QApplication::clipboard()->setText(QStringLiteral("붙인상사\r\n"));
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid->Cells(1, 0).String(), QStringLiteral("붙인상사"));
    grid->SetCurRow(2);
    QApplication::clipboard()->setText(QStringLiteral("두번째"));
    QTest::keyClick(grid, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(grid->Cells(1, 2).String(), QStringLiteral("두번째"));
    EXPECT_EQ(grid->GetRowCount(), 3) << "Shift+Insert pastes; it inserts no row";

    QTest::keyClick(grid, Qt::Key_F2);
    QWidget *editor = QApplication::focusWidget();
    ASSERT_NE(editor, grid);
    QApplication::clipboard()->setText(QStringLiteral("편집기"));
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid->Cells(1, 2).String(), QStringLiteral("두번째")) << "not stored until the editor is";
}

// A new row nothing was typed into takes the paste as added rows; the footers are summed
// once, after the last row.
TEST_F(ClipboardGrid, APasteIntoAnUntouchedNewRowAddsTheRows)
{
    TTabrix &grid = *m_grid;
    grid.SetOptions({wgoEditing, wgoInserting});
    grid.SetCheckRowState(true);
    grid.Footers().Add();
    grid.GetMemColumn(2)->MemFooter().SetMethod(0, wfmeSum);
    grid.CalcFooters();
    grid.GetMemColumn(0)->SetRequired(true);
    grid.SetCurRow(2);
    grid.Insert(true);
    ASSERT_EQ(grid.GetGridMode(), wgmInsert);
    int sums = 0;
    QObject::connect(&grid, &TTabrix::OnCalcFooters, [&sums](bool &) { ++sums; });
    grid.PasteText(QStringLiteral("4\t가\t100\r\n5\t나\t200\r\n"));
    EXPECT_EQ(grid.GetRowCount(), 5) << "no blank row before the pasted ones";
    EXPECT_EQ(grid.Cells(0, 3).Long(), 4);
    EXPECT_EQ(grid.RowState(3), wrInserted);
    EXPECT_FALSE(grid.Changed(3));
    EXPECT_EQ(grid.RowState(4), wrInserted);
    EXPECT_EQ(sums, 1);
    EXPECT_EQ(grid.GetMemColumn(2)->Footer().GetText(0), QStringLiteral("1,204,367"));
}
