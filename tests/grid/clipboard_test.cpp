// Copying cells to the clipboard: the texts the grid shows, in reading order, as the
// tab-separated text and the HTML table spreadsheets read.

#include "grid/tabrix.h"
#include "platform/cp949.h"

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

TEST_F(ClipboardGrid, TheContextMenuCopiesWithAndWithoutTitles)
{
    TTabrix &grid = *m_grid;
    grid.SetSelected(0, true);
    std::unique_ptr<QMenu> menu = grid.CreateStandardContextMenu();
    const QList<QAction *> actions = menu->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("복사"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("제목과 함께 복사"));
    actions[1]->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("코드\t거래처명")));
    actions[0]->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("1\t㈜한빛상사\t1,500\t2026-12-01")));

    grid.SetRowCount(0);
    menu = grid.CreateStandardContextMenu();
    EXPECT_FALSE(menu->actions()[0]->isEnabled()) << "nothing to copy";
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
