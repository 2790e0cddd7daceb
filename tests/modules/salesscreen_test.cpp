#include "salesfixture.h"

#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

TEST_P(SalesScreenTest, AnEditAnInsertAndADeleteAreSavedInOneTransaction)
{
    EXPECT_EQ(m_grid->GetRowCount(), 300);
    EXPECT_EQ(Footer(SaleNo), QStringLiteral("300"));
    EXPECT_EQ(Footer(Amount),
              QLocale(QLocale::English).toString(Scalar(QStringLiteral("SELECT SUM(AMOUNT) FROM SAJ202T")).toLongLong()));
    // Sale 2 (row 1): the quantity changes and the amount follows it.
    Type(1, Quantity, QStringLiteral("7"));
    const double price = m_grid->GetMemColumn(Price)->Pool().GetFloat(1);
    EXPECT_EQ(m_grid->GetMemColumn(Amount)->GetFloat(), 7 * price);
    // Sale 4 (row 3): deleted, still shown until saved.
    m_grid->SetCurRow(3);
    QTest::keyClick(m_grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(m_grid->GetRowCount(), 300);
    // A new sale after the last row.
    TypeNewSale();
    EXPECT_EQ(States().left(4) + States().mid(299), QStringLiteral("010300"));
    EXPECT_TRUE(m_screen->HasChanges());

    // Ctrl+S posts the new row, then saves.
    QTest::keyClick(m_grid, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(m_screen->Status(), QStringLiteral("저장했습니다: 추가 1건, 수정 1건, 삭제 1건."));
    EXPECT_EQ(m_boxes.Summary(), QStringLiteral("삭제|자료를 삭제하시겠습니까?|question"));
    EXPECT_EQ(m_grid->GetRowCount(), 300);
    EXPECT_EQ(States(), QString(300, QLatin1Char('0')));
    EXPECT_FALSE(m_screen->HasChanges());
    EXPECT_EQ(m_grid->GetMemColumn(SaleNo)->Pool().GetLong(299), 301) << "the new sale shows its number";
    EXPECT_EQ(Scalar(QStringLiteral("SELECT COUNT(*) FROM SAJ202T")), QStringLiteral("300"));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT COUNT(*) FROM SAJ202T WHERE SALE_NO = 4")), QStringLiteral("0"));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT QTY || '|' || AMOUNT FROM SAJ202T WHERE SALE_NO = 2")),
              QStringLiteral("7|%1").arg(7 * qRound64(price)));
    EXPECT_EQ(Sale(301), QStringLiteral("%1|C2001|한결상회|A4 용지|3|1500|4500")
                             .arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))));
}

TEST_P(SalesScreenTest, AFailedSaveRollsBackAndKeepsEveryRowAndState)
{
    Type(0, Quantity, QStringLiteral("9"));
    m_grid->SetCurRow(2);
    QTest::keyClick(m_grid, Qt::Key_Delete, Qt::ControlModifier);
    m_boxes.Clear();
    // Another user removes sale 1 meanwhile: the delete of sale 3 runs first, then the
    // update of sale 1 finds nothing, and the delete must be undone.
    ASSERT_EQ(Scalar(QStringLiteral("SELECT COUNT(*) FROM SAJ202T WHERE SALE_NO = 1")), QStringLiteral("1"));
    QSqlQuery(QSqlDatabase::database(CheckConnection)).exec(QStringLiteral("DELETE FROM SAJ202T WHERE SALE_NO = 1"));
    EXPECT_FALSE(m_screen->Save());
    EXPECT_EQ(m_boxes.Summary(), QStringLiteral("일일판매현황|저장하지 못했습니다. 변경한 내용은 화면에 그대로 있습니다.\n\n"
                                                "판매번호 1의 자료가 테이블에 없습니다.|error"));
    EXPECT_EQ(Scalar(QStringLiteral("SELECT COUNT(*) FROM SAJ202T WHERE SALE_NO = 3")), QStringLiteral("1"));
    EXPECT_EQ(States().left(4), QStringLiteral("1030"));
    EXPECT_EQ(m_grid->GetMemColumn(Quantity)->Pool().GetLong(0), 9);
    EXPECT_TRUE(m_screen->Status().startsWith(QStringLiteral("저장 실패: ")));

    // The table gone altogether: the same.
    m_boxes.Clear();
    QSqlQuery(QSqlDatabase::database(CheckConnection)).exec(QStringLiteral("DROP TABLE SAJ202T"));
    EXPECT_FALSE(m_screen->Save());
    EXPECT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(States().left(4), QStringLiteral("1030"));
    EXPECT_EQ(m_grid->GetRowCount(), 300);
}

TEST_P(SalesScreenTest, LeavingWithUnsavedChangesAsksYesNoOrCancel)
{
    EXPECT_TRUE(m_screen->ConfirmLeave()) << "nothing changed, nothing asked";
    EXPECT_TRUE(m_boxes.Calls().empty());
    Type(5, Remark, QStringLiteral("확인"));
    {
        MessageBoxRecorder cancel(Platform::mbCancel);
        EXPECT_FALSE(m_screen->ConfirmLeave());
        EXPECT_EQ(cancel.Summary(), QStringLiteral("일일판매현황|변경된 내용이 있습니다. 저장하시겠습니까?|question"));
        EXPECT_EQ(cancel.Calls()[0].Buttons, Platform::mbYes | Platform::mbNo | Platform::mbCancel);
    }
    EXPECT_EQ(States().mid(5, 1), QStringLiteral("1"));
    {
        MessageBoxRecorder yes(Platform::mbYes);
        EXPECT_TRUE(m_screen->ConfirmLeave());
    }
    EXPECT_EQ(Scalar(QStringLiteral("SELECT REMARK FROM SAJ202T WHERE SALE_NO = 6")), QStringLiteral("확인"));
}

TEST_P(SalesScreenTest, AClickOnAColumnTitleSortsByItAndASecondClickReverses)
{
    Type(1, Remark, QStringLiteral("x"));
    const auto clickTitle = [this](int column) {
        m_grid->SetSelectedColumn(m_grid->GetMemColumn(column));
        const QRect cell = OpenTabrix::EditorRectOf(*m_grid, m_grid->GetMemColumn(column), m_grid->TopRow(), false);
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {},
                          m_grid->viewport()->mapFrom(m_grid, QPoint(cell.center().x(), cell.top() - 8)));
    };
    // (sale number, quantity, state) of the first rows.
    const auto firstRows = [this] {
        QStringList rows;
        for (int row = 0; row < 3; ++row)
            rows << QStringLiteral("%1/%2/%3")
                        .arg(m_grid->GetMemColumn(SaleNo)->Pool().GetLong(row))
                        .arg(m_grid->GetMemColumn(Quantity)->Pool().GetLong(row))
                        .arg(m_grid->RowState(row));
        return rows.join(QLatin1Char(' '));
    };
    clickTitle(Quantity);
    EXPECT_EQ(firstRows(), QStringLiteral("50/1/0 100/1/0 150/1/0"));
    EXPECT_EQ(m_grid->GetMemColumn(Quantity)->Title().SortMark(), wsmAsc);
    clickTitle(Quantity);
    EXPECT_EQ(firstRows(), QStringLiteral("7/50/0 57/50/0 107/50/0")) << "equal quantities keep their order";
    EXPECT_EQ(m_grid->GetMemColumn(Quantity)->Title().SortMark(), wsmDesc);
    clickTitle(CustName);
    EXPECT_EQ(m_grid->GetMemColumn(Quantity)->Title().SortMark(), wsmNone);
    // The edited sale keeps its state wherever it went.
    const int edited = m_grid->Find(SaleNo, QVariant(2));
    ASSERT_GE(edited, 0);
    EXPECT_EQ(m_grid->RowState(edited), wrUpdated);
    EXPECT_EQ(m_grid->StateCount(wrUpdated), 1);
}

// What a user does with the day's sales next: copies rows into a spreadsheet and back, saves
// them as a workbook, prints them through the preview.
TEST_P(SalesScreenTest, RowsGoToASpreadsheetAndBackToAWorkbookAndToPaper)
{
    ASSERT_NE(m_screen->findChild<QPushButton *>(QStringLiteral("btnExcel")), nullptr);
    ASSERT_NE(m_screen->findChild<QPushButton *>(QStringLiteral("btnPrint")), nullptr);
    m_grid->setFocus();
    // Two selected rows, copied with Ctrl+C as the grid shows them.
    m_grid->SetSelected(0, true);
    m_grid->SetSelected(1, true);
    QTest::keyClick(m_grid, Qt::Key_C, Qt::ControlModifier);
    const QStringList copied = QApplication::clipboard()->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(copied.size(), 2);
    EXPECT_EQ(copied[0].split(u'\t').size(), m_grid->GetVColCount());
    m_grid->ClearSelection();

    // A spreadsheet's column of remarks pasted at row 6 with Ctrl+V: two rows edited.
    m_grid->SetCurRow(5);
    m_grid->SetSelectedColumn(m_grid->GetMemColumn(Remark));
    QApplication::clipboard()->setText(QStringLiteral("엑셀에서\r\n붙임\r\n"));
    QTest::keyClick(m_grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(m_grid->GetMemColumn(Remark)->Pool().GetString(5), QStringLiteral("엑셀에서"));
    EXPECT_EQ(m_grid->GetMemColumn(Remark)->Pool().GetString(6), QStringLiteral("붙임"));
    EXPECT_EQ(States().mid(4, 4), QStringLiteral("0110"));

    // The rows as a workbook: every sale under the titles, amounts as numbers.
    const QString path = m_folder.filePath(QStringLiteral("일일판매현황.xlsx"));
    ASSERT_TRUE(m_screen->ExportExcel(path)) << m_screen->Status().toStdString();
    EXPECT_TRUE(m_screen->Status().startsWith(QStringLiteral("300건을 엑셀로 저장했습니다: "))) << m_screen->Status().toStdString();
    QProcess python;
    // The system's Python, which has openpyxl (a python3 earlier on the path may not).
    python.start(QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import openpyxl,sys\n"
                                 "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                                 "numbers = sum(1 for row in ws.iter_rows() for c in row if type(c.value) in (int, float))\n"
                                 "print(ws.title, ws.max_row, numbers > 300 * 3)\n"),
                  path});
    ASSERT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()).trimmed().section(u' ', 0, 0), QStringLiteral("일일판매현황"));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();

    // Ctrl+P opens the print preview; closing it changes nothing.
    bool previewed = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&previewed, &closer] {
        if (auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget())) {
            previewed = true;
            closer.stop();
            dialog->reject();
        }
    });
    closer.start(50);
    QTest::keyClick(m_grid, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(previewed);
    EXPECT_EQ(States().mid(4, 4), QStringLiteral("0110"));
    EXPECT_TRUE(m_boxes.Calls().empty());
}

INSTANTIATE_TEST_SUITE_P(Backends, SalesScreenTest,
                         ::testing::Values(TestDatabase::Backend::SQLite, TestDatabase::Backend::PostgreSQL),
                         [](const auto &info) { return TestDatabase::BackendName(info.param).toStdString(); });

// The demo's whole table, on SQLite: every sale arrives, and the picture shows the bands,
// the rows and the footers.
class SalesScreenDemoTest : public SalesScreenTest
{
protected:
    int Rows() const override { return 100000; }
};

TEST_P(SalesScreenDemoTest, TheDemosHundredThousandSalesLoadWithTheirFooters)
{
    EXPECT_EQ(m_grid->GetRowCount(), 100000);
    EXPECT_EQ(Footer(SaleNo), QStringLiteral("100,000"));
    EXPECT_EQ(Footer(Amount), QStringLiteral("225,324,147,500"));
    EXPECT_EQ(m_grid->GetMemColumn(CustName)->Pool().GetString(99999), QStringLiteral("㈜한빛상사"));
    const QImage picture = m_screen->grab().toImage();
    picture.save(PicturePath(QStringLiteral("j202p-screen.png")));
    // The amount column's tint beside its right-aligned number, on the third row.
    m_grid->SetSelectedColumn(m_grid->GetMemColumn(Amount));
    const QRect amount = OpenTabrix::EditorRectOf(*m_grid, m_grid->GetMemColumn(Amount), 2, false);
    const QPoint inside = m_grid->mapTo(m_screen.get(), QPoint(amount.left() + 3, amount.center().y()));
    EXPECT_EQ(picture.pixelColor(inside * picture.devicePixelRatio()), QColor(0xE8, 0xF4, 0xFF));
    EXPECT_TRUE(m_screen->Status().startsWith(QStringLiteral("100,000건을 조회했습니다")));
}

INSTANTIATE_TEST_SUITE_P(Backends, SalesScreenDemoTest, ::testing::Values(TestDatabase::Backend::SQLite),
                         [](const auto &info) { return TestDatabase::BackendName(info.param).toStdString(); });
