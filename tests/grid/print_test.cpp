// Printing and PDF export: the pages read back with poppler's pdftotext and pdfinfo.

#include "demo/demogrid.h"
#include "grid/tabrix.h"
#include "grid/groups.h"
#include "platform/texception.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace print_test {

QString Run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of page `page` (1-based), or of all pages, as laid out on the paper.
QString PdfText(const QString &path, int page = 0)
{
    QStringList arguments{QStringLiteral("-layout")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    return Run(QStringLiteral("pdftotext"), arguments << path << QStringLiteral("-"));
}

// True when `text` holds `phrase` with any spacing between its words. Qt leaves the spaces
// out of a PDF's text layer as gaps (see DrawWords in the printing), and where the gaps are
// narrow pdftotext joins the words, as in "2026-03-0514:30" and "1/3".
bool HasPhrase(const QString &text, const QString &phrase)
{
    QStringList words = phrase.split(u' ', Qt::SkipEmptyParts);
    for (QString &word : words)
        word = QRegularExpression::escape(word);
    return text.contains(QRegularExpression(QStringLiteral("(?<![0-9])") + words.join(QStringLiteral("\\s*"))
                                            + QStringLiteral("(?![0-9])")));
}

int PdfPages(const QString &path)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Run(QStringLiteral("pdfinfo"), {path}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString PdfPageSize(const QString &path)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+)")).match(Run(QStringLiteral("pdfinfo"), {path}));
    if (!match.hasMatch())
        return {};
    return match.captured(1).toDouble() > match.captured(2).toDouble() ? QStringLiteral("landscape")
                                                                        : QStringLiteral("portrait");
}

// Page 1 as a picture in the build folder, to be looked at.
void RenderFirstPage(const QString &path, const QString &name)
{
    QDir().mkpath(QStringLiteral("print_pages"));
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-f"),
                                     QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-singlefile"),
                                     path, QStringLiteral("print_pages/") + name});
}

// A sales list in a window titled 매출 정산: 코드, 거래처명, 금액 (#,##0, summed in the footer
// line 합계), 원가 (hidden) and 비고.
class PrintGrid : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = std::make_unique<QWidget>();
        m_window->setWindowTitle(QStringLiteral("매출 정산"));
        m_grid = new TTabrix(m_window.get());
        auto *layout = new QVBoxLayout(m_window.get());
        layout->addWidget(m_grid);
        m_window->resize(640, 320);
        TTabrix &grid = *m_grid;
        grid.BeginUpdate();
        const struct
        {
            const char16_t *caption;
            TwDataType type;
            int width;
        } columns[] = {{u"코드", wdtLong, 60},
                       {u"거래처명", wdtString, 160},
                       {u"금액", wdtFloat, 110},
                       {u"원가", wdtFloat, 90},
                       {u"비고", wdtString, 140}};
        for (const auto &c : columns) {
            auto *column = static_cast<TwMemColumn *>(grid.Columns().Add());
            column->SetDataType(c.type);
            column->SetDataWidth(c.type == wdtString ? 40 : 0);
            column->Title().SetCaption(QString::fromUtf16(c.caption));
            column->SetWidth(c.width);
        }
        grid.GetMemColumn(2)->SetDisplayFormat(QStringLiteral("#,##0"));
        grid.GetMemColumn(2)->SetAlignment(taRightJustify);
        grid.GetMemColumn(3)->SetVisible(false);
        grid.Footers().Add()->Title().SetCaption(QStringLiteral("합계"));
        grid.GetMemColumn(2)->MemFooter().SetStyle(0, wfmeSum, -1, wfopAll, {});
        grid.SetOptions({wgoEditing, wgoMultiSelect});
        grid.EndUpdate();
    }

    // Rows 1..count: 상사-n, amounts n * 1,000 but row 2 1,234,567, cost 777,777, 비고 only on
    // the first row.
    void Fill(int count)
    {
        TTabrix &grid = *m_grid;
        grid.SetRowCount(count);
        for (int row = 0; row < count; ++row) {
            grid.GetMemColumn(0)->Pool().SetLong(row, row + 1);
            grid.GetMemColumn(1)->Pool().SetString(row, QStringLiteral("상사-%1").arg(row + 1));
            grid.GetMemColumn(2)->Pool().SetFloat(row, row == 1 ? 1234567 : (row + 1) * 1000.0);
            grid.GetMemColumn(3)->Pool().SetFloat(row, 777777);
        }
        if (count > 0)
            grid.GetMemColumn(4)->Pool().SetString(0, QStringLiteral("㈜한빛 반품"));
        grid.CalcFooters();
    }

    QString Export(const QString &name, const TwPrintOptions &options = Stamp())
    {
        const QString path = m_dir.filePath(name);
        m_grid->ExportToPdf(path, options);
        return path;
    }

    static TwPrintOptions Stamp()
    {
        TwPrintOptions options;
        options.User = QStringLiteral("홍길동");
        options.Time = QDateTime(QDate(2026, 3, 5), QTime(14, 30, 59));
        return options;
    }

    QTemporaryDir m_dir{QDir::currentPath() + QStringLiteral("/print_test_XXXXXX")};
    std::unique_ptr<QWidget> m_window;
    TTabrix *m_grid = nullptr;
};

} // namespace print_test

using print_test::HasPhrase;
using print_test::PdfPages;
using print_test::PdfPageSize;
using print_test::PdfText;
using print_test::PrintGrid;

TEST_F(PrintGrid, APageShowsTheTitlesTheShownTextsTheFootersAndTheCaption)
{
    Fill(3);
    m_grid->GetMemColumn(4)->Pool().SetString(2, QStringLiteral("다음 달 정산분과 합쳐 청구하기로 거래처와 협의함 마지막말"));
    const QString path = Export(QStringLiteral("sales.pdf"));
    print_test::RenderFirstPage(path, QStringLiteral("sales"));
    EXPECT_EQ(PdfPages(path), 1);
    EXPECT_EQ(PdfPageSize(path), QStringLiteral("portrait")) << "the columns fit a portrait page";
    const QString text = PdfText(path);
    for (const char16_t *expected : {u"코드", u"거래처명", u"금액", u"비고", u"상사-1", u"상사-3", u"㈜한빛 반품", u"1,234,567",
                                     u"3,000", u"합계", u"1,238,567", u"매출 정산", u"홍길동", u"2026-03-05 14:30", u"1 / 1"})
        EXPECT_TRUE(HasPhrase(text, QString::fromUtf16(expected))) << QString::fromUtf16(expected).toStdString() << "\n"
                                                                   << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("마지막말"))) << "a text too long for its cell is cut";
    EXPECT_TRUE(text.contains(QStringLiteral("…")));
    EXPECT_FALSE(text.contains(QStringLiteral("원가"))) << "a hidden column does not print";
    EXPECT_FALSE(text.contains(QStringLiteral("777,777")));

    // The amounts stand right-aligned in their column: their last digits line up.
    const QStringList lines = text.split(u'\n');
    const auto endOf = [&lines](const QString &number) {
        for (const QString &line : lines) {
            const qsizetype at = line.indexOf(number);
            if (at >= 0)
                return at + number.size();
        }
        return qsizetype(-1);
    };
    EXPECT_GT(endOf(QStringLiteral("1,234,567")), 0);
    // pdftotext places the glyphs on a grid of characters: within one character.
    EXPECT_NEAR(endOf(QStringLiteral("1,234,567")), endOf(QStringLiteral(" 1,000")), 1);
    EXPECT_NEAR(endOf(QStringLiteral("1,234,567")), endOf(QStringLiteral("1,238,567")), 1) << "the footer sum too";
}

TEST_F(PrintGrid, TheCaptionDefaultsToTheWindowTheUserAndNowAndTakesTheOptions)
{
    Fill(1);
    const QDateTime before = QDateTime::currentDateTime();
    QString text = PdfText(Export(QStringLiteral("defaults.pdf"), {}));
    EXPECT_TRUE(text.contains(QStringLiteral("매출 정산")));
    EXPECT_TRUE(text.contains(qEnvironmentVariable("USER", QStringLiteral("root")))) << text.toStdString();
    const QString now = before.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const QString later = before.addSecs(60).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    EXPECT_TRUE(HasPhrase(text, now) || HasPhrase(text, later)) << text.toStdString();

    TwPrintOptions options = PrintGrid::Stamp();
    options.Title = QStringLiteral("거래처별 매출");
    text = PdfText(Export(QStringLiteral("titled.pdf"), options));
    EXPECT_TRUE(text.contains(QStringLiteral("거래처별 매출")));
    EXPECT_FALSE(text.contains(QStringLiteral("매출 정산")));
}

TEST_F(PrintGrid, ManyRowsBreakIntoNumberedPagesEachWithTheTitles)
{
    Fill(300);
    const QString path = Export(QStringLiteral("long.pdf"));
    const int pages = PdfPages(path);
    ASSERT_GT(pages, 2);
    QList<int> rowsSeen(300, 0);
    const QRegularExpression name(QStringLiteral("상사-(\\d+)"));
    for (int page = 1; page <= pages; ++page) {
        const QString text = PdfText(path, page);
        EXPECT_TRUE(text.contains(QStringLiteral("거래처명")) && text.contains(QStringLiteral("금액"))) << "page " << page;
        EXPECT_TRUE(HasPhrase(text, QStringLiteral("%1 / %2").arg(page).arg(pages))) << "page " << page;
        EXPECT_EQ(text.contains(QStringLiteral("합계")), page == pages) << "the footers after the last row, page " << page;
        for (auto it = name.globalMatch(text); it.hasNext();)
            ++rowsSeen[it.next().captured(1).toInt() - 1];
    }
    // Every row on exactly one page: none is lost or printed twice (in part) at a break.
    EXPECT_EQ(rowsSeen.count(1), 300);

    // A column that leaves repeats blank shows its value again at the top of every page,
    // wherever the screen is scrolled.
    for (int row = 0; row < 300; ++row)
        m_grid->GetMemColumn(4)->Pool().SetString(row, QStringLiteral("같은비고"));
    m_grid->GetMemColumn(4)->SetEqualBlank(true);
    m_grid->SetTopRow(150);
    const QString repeated = Export(QStringLiteral("repeated.pdf"));
    for (int page = 1; page <= pages; ++page) {
        const QString text = PdfText(repeated, page);
        // (A last page may hold the footer line alone.)
        EXPECT_EQ(text.count(QStringLiteral("같은비고")), text.contains(QStringLiteral("상사-")) ? 1 : 0) << "page " << page;
    }
}

// More pages than any printer takes are refused at once, before a page is painted; a preview
// takes fewer.
TEST_F(PrintGrid, AGridOfTwoBillionRowsIsRefusedAtOnce)
{
    TabrixDemo::TGeneratedGrid most;
    TabrixDemo::BuildGrid(most, false);
    most.SetRowCount(std::numeric_limits<int>::max());
    const QString path = m_dir.filePath(QStringLiteral("most.pdf"));
    QElapsedTimer timer;
    timer.start();
    try {
        most.ExportToPdf(path);
        ADD_FAILURE() << "no refusal";
    } catch (const TException &error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("페이지가 너무 많습니다"))) << error.Message().toStdString();
    }
    EXPECT_LT(timer.elapsed(), 10'000);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(PrintGrid, AnEmptyGridPrintsOnePageWithTheTitles)
{
    const QString path = Export(QStringLiteral("empty.pdf"));
    EXPECT_EQ(PdfPages(path), 1);
    const QString text = PdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("거래처명")));
    EXPECT_TRUE(HasPhrase(text, QStringLiteral("1 / 1")));
}

// Twenty-four columns of 160 pixels: too wide for a readable page, split into slices.
TEST_F(PrintGrid, AWideGridSplitsLeftToRightEverySliceWithAllRows)
{
    TTabrix &grid = *m_grid;
    grid.BeginUpdate();
    for (int i = 1; i <= 24; ++i) {
        auto *column = static_cast<TwMemColumn *>(grid.Columns().Add());
        column->SetDataType(wdtString);
        column->SetDataWidth(20);
        column->Title().SetCaption(QStringLiteral("항목%1").arg(i, 2, 10, QLatin1Char('0')));
        column->SetWidth(160);
    }
    grid.EndUpdate();
    Fill(80);
    const int last = grid.Columns().Count() - 1;
    for (int row = 0; row < 80; ++row)
        grid.GetMemColumn(last)->Pool().SetString(row, QStringLiteral("끝-%1").arg(row + 1));

    const QString path = Export(QStringLiteral("wide.pdf"));
    print_test::RenderFirstPage(path, QStringLiteral("wide"));
    EXPECT_EQ(PdfPageSize(path), QStringLiteral("landscape")) << "wider than a portrait page";
    const int pages = PdfPages(path);
    ASSERT_GT(pages, 2);
    int firstTitlePage = 0;
    int lastTitlePage = 0;
    QList<int> codes(80, 0);
    QList<int> ends(80, 0);
    const QRegularExpression code(QStringLiteral("상사-(\\d+)"));
    const QRegularExpression end(QStringLiteral("끝-(\\d+)"));
    for (int page = 1; page <= pages; ++page) {
        const QString text = PdfText(path, page);
        EXPECT_TRUE(HasPhrase(text, QStringLiteral("%1 / %2").arg(page).arg(pages)));
        if (text.contains(QStringLiteral("거래처명")))
            firstTitlePage = firstTitlePage ? firstTitlePage : page;
        if (text.contains(QStringLiteral("항목24")))
            lastTitlePage = lastTitlePage ? lastTitlePage : page;
        for (auto it = code.globalMatch(text); it.hasNext();)
            ++codes[it.next().captured(1).toInt() - 1];
        for (auto it = end.globalMatch(text); it.hasNext();)
            ++ends[it.next().captured(1).toInt() - 1];
    }
    EXPECT_EQ(firstTitlePage, 1);
    EXPECT_GT(lastTitlePage, firstTitlePage);
    EXPECT_EQ(codes.count(1), 80) << "every row once in the first slice";
    EXPECT_EQ(ends.count(1), 80) << "and once in the last";
    EXPECT_EQ(pages % 2, 0) << "each slice has the same pages of rows";
}

TEST_F(PrintGrid, GroupCaptionsStandAboveTheColumnTitles)
{
    TTabrix &grid = *m_grid;
    grid.BeginUpdate();
    const char16_t *captions[] = {u"거래처정보", u"판매내역"};
    for (int g = 0; g < 2; ++g) {
        TwGroup *group = grid.Groups().Add();
        group->SetWidth(240);
        group->Title().SetCaption(QString::fromUtf16(captions[g]));
    }
    grid.Groups().Items(0)->InsertItem(0, 0, grid.Columns().Items(0));
    grid.Groups().Items(0)->InsertItem(0, 1, grid.Columns().Items(1));
    grid.Groups().Items(1)->InsertItem(0, 0, grid.Columns().Items(2));
    grid.Groups().Items(1)->InsertItem(0, 1, grid.Columns().Items(4));
    grid.EndUpdate();
    grid.SetGroupMode(true);
    Fill(2);
    const QString path = Export(QStringLiteral("groups.pdf"));
    print_test::RenderFirstPage(path, QStringLiteral("groups"));
    const QStringList lines = PdfText(path).split(u'\n');
    const auto lineOf = [&lines](const QString &text) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].contains(text))
                return i;
        }
        return qsizetype(-1);
    };
    EXPECT_GE(lineOf(QStringLiteral("거래처정보")), 0);
    EXPECT_EQ(lineOf(QStringLiteral("거래처정보")), lineOf(QStringLiteral("판매내역"))) << "one line of group captions";
    EXPECT_LT(lineOf(QStringLiteral("거래처정보")), lineOf(QStringLiteral("거래처명")));
    EXPECT_LT(lineOf(QStringLiteral("거래처명")), lineOf(QStringLiteral("상사-1")));
    EXPECT_GE(lineOf(QStringLiteral("1,234,567")), 0);
}

TEST_F(PrintGrid, AFailedExportNamesThePathAndLeavesNothingBehind)
{
    Fill(3);
    // A folder under a plain file cannot be written, whoever runs the test.
    QFile plain(m_dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString path = m_dir.filePath(QStringLiteral("plain/sales.pdf"));
    QString message;
    try {
        m_grid->ExportToPdf(path);
    } catch (const TException &error) {
        message = error.Message();
    }
    EXPECT_TRUE(message.startsWith(QStringLiteral("'%1'에 저장할 수 없습니다: ").arg(path))) << message.toStdString();
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("plain")});

    // A file already at the path is replaced whole, with nothing left beside it.
    const QString existing = m_dir.filePath(QStringLiteral("old.pdf"));
    QFile old(existing);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    m_grid->ExportToPdf(existing);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_TRUE(old.readAll().startsWith("%PDF"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("old.pdf"), QStringLiteral("plain")}));
}

TEST_F(PrintGrid, PrintingShowsAnEditedRowAsShownAndLeavesTheGridAsItWas)
{
    Fill(40);
    TTabrix &grid = *m_grid;
    m_window->show();
    grid.SetCurRow(5);
    grid.SetSelected(7, true);
    ASSERT_TRUE(grid.Edit());
    grid.Cells(1, 5).SetString(QStringLiteral("고친상회"));
    const int top = grid.GetTopRow();

    const QString text = PdfText(Export(QStringLiteral("editing.pdf")));
    EXPECT_TRUE(text.contains(QStringLiteral("고친상회")));
    EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("상사-6(?!\\d)")))) << "the stored value is not shown";
    EXPECT_EQ(grid.GridMode(), wgmEdit);
    EXPECT_EQ(grid.CurRow(), 5);
    EXPECT_EQ(grid.GetTopRow(), top);
    EXPECT_TRUE(grid.GetSelected(7));
    EXPECT_FALSE(grid.GetSelected(6));
    EXPECT_EQ(grid.GetMemColumn(1)->Pool().GetString(5), QStringLiteral("상사-6")) << "nothing posted";
}

// Print on a printer of the user's choice, here one writing PDF, takes the pages chosen in
// the print dialog.
TEST_F(PrintGrid, APrinterGetsThePagesOfItsRange)
{
    Fill(300);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(m_dir.filePath(QStringLiteral("all.pdf")));
    m_grid->Print(printer, PrintGrid::Stamp());
    const int pages = PdfPages(printer.outputFileName());
    ASSERT_GT(pages, 2);

    printer.setOutputFileName(m_dir.filePath(QStringLiteral("range.pdf")));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 2);
    m_grid->Print(printer, PrintGrid::Stamp());
    EXPECT_EQ(PdfPages(printer.outputFileName()), 1);
    const QString text = PdfText(printer.outputFileName());
    EXPECT_TRUE(HasPhrase(text, QStringLiteral("2 / %1").arg(pages))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("거래처명")));
    EXPECT_EQ(text, PdfText(m_dir.filePath(QStringLiteral("all.pdf")), 2)) << "the page as in the whole print";
}
