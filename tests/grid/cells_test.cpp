#include "grid/bytebuffer.h"
#include "grid/memcolumn.h"
#include "platform/cp949.h"
#include "platform/texception.h"
#include "storegrid.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// A store grid whose text event marks every text it sees, as an application's OnGetText.
class TextEventGrid : public StoreGrid
{
public:
    QString StoreGetText(TwMemColumn *, int row, const QString &text) override
    {
        return QStringLiteral("%1:<%2>").arg(row).arg(text);
    }
};

// A store grid whose text event fails, as an application's OnGetText may.
class FailingTextGrid : public StoreGrid
{
public:
    bool Unknown = false;
    QString StoreGetText(TwMemColumn *, int, const QString &) override
    {
        if (Unknown)
            throw 42;
        throw TException(QStringLiteral("lookup failed"));
    }
};

} // namespace

TEST(Cells, RegressionAssigningOneCellToAnotherThroughOneRouter)
{
    StoreGrid grid;
    TwMemColumn *qty = grid.AddMemColumn(wdtLong);
    qty->Title().SetCaption(QStringLiteral("qty"));
    grid.SetRows(3);
    const TwCells cells(&grid.Columns(), &grid);
    cells.At(0, 2).SetLong(9);
    cells.At(0, 1).SetLong(cells.At(0, 2).Long());
    EXPECT_EQ(qty->Pool().GetLong(1), 9);
    EXPECT_EQ(qty->Pool().GetLong(2), 9);

    // Into the edited row: the value goes through its edit buffer with the value events.
    cells.At(0, 0).SetLong(4);
    grid.Editing = true;
    grid.CurrentRow = 1;
    qty->LoadBuffer(1);
    grid.Events.clear();
    cells.At(0, 1).SetLong(cells.At(0, 0).Long());
    EXPECT_EQ(grid.Events.join(QLatin1Char('|')), QStringLiteral("changing qty=4|changed qty"));
    EXPECT_EQ(qty->GetLong(), 4);
    EXPECT_EQ(qty->Pool().GetLong(1), 9) << "the pool waits for the post";
}

TEST(Cells, RegressionTheEditedRowReadsThroughTheSameFormatting)
{
    TextEventGrid grid;
    TwMemColumn *flag = grid.AddMemColumn(wdtBool);
    TwMemColumn *amount = grid.AddMemColumn(wdtFloat);
    amount->SetDisplayFormat(QStringLiteral("#,##0.00"));
    grid.SetRows(2);
    const TwCells cells(&grid.Columns(), &grid);
    cells.At(0, 1).SetBool(true);
    cells.At(1, 1).SetFloat(1234.5);
    const QString browsed = cells.At(0, 1).Text() + QLatin1Char('|') + cells.At(1, 1).Text();
    EXPECT_EQ(browsed, QStringLiteral("1:<True>|1:<1,234.50>"));

    grid.Editing = true;
    grid.CurrentRow = 1;
    flag->LoadBuffer(1);
    amount->LoadBuffer(1);
    EXPECT_EQ(cells.At(0, 1).Text() + QLatin1Char('|') + cells.At(1, 1).Text(), browsed);
    cells.At(0, 1).SetBool(false);
    EXPECT_EQ(cells.At(0, 1).Text(), QStringLiteral("1:<False>"));
    cells.At(0, 1).SetNull();
    EXPECT_EQ(cells.At(0, 1).Text(), QString()) << "a null cell has no text, as when browsed";
}

// A text width counts code page 949 bytes, the unit the company's database sizes its
// fields in, for free texts as for fixed-width fields: a Hangul syllable takes two bytes, a
// character the code page lacks one (it is stored as '?'), and a cut keeps whole
// characters (a pair of surrogates included).
TEST(Cells, RegressionATextWidthCountsCodePageBytesAndCutsWholeCharacters)
{
    const QString face = QString::fromUtf8("\xF0\x9F\x98\x80"); // outside the basic plane
    struct Case
    {
        int Width;
        QString Text;
        QString Kept;
    };
    const Case cases[] = {
        {4, QStringLiteral("가나다"), QStringLiteral("가나")},
        {5, QStringLiteral("가나다"), QStringLiteral("가나")},
        {6, QStringLiteral("가나다"), QStringLiteral("가나다")},
        {3, QStringLiteral("a가나"), QStringLiteral("a가")},
        {3, QStringLiteral("abcdef"), QStringLiteral("abc")},
        {1, face + QStringLiteral("abc"), face},
        {2, QStringLiteral("a") + face + QStringLiteral("b"), QStringLiteral("a") + face},
        {2, QStringLiteral("김") + face, QStringLiteral("김")},
        {1, QStringLiteral("김") + face, QString()},
        {0, face + face, face + face},
        {3, face, face},
        // A private-use character the code page writes as the single byte FF, which no
        // double-byte character starts with.
        {3, QString(QChar(0xF8F7)) + QStringLiteral("가나"), QString(QChar(0xF8F7)) + QStringLiteral("가")},
    };
    for (const Case &c : cases) {
        TwMemPool text = Pool(wdtString, c.Width, 1);
        text.SetString(0, c.Text);
        EXPECT_EQ(text.GetString(0), c.Kept) << c.Width << " " << c.Text.toStdString();
        if (c.Width == 0)
            continue;
        TwMemPool chars = Pool(wdtChar, c.Width, 1);
        chars.SetString(0, c.Text);
        EXPECT_EQ(chars.GetString(0), QString(c.Kept).replace(face, QStringLiteral("?")))
            << "the same cut in a fixed-width field: " << c.Width << " " << c.Text.toStdString();
    }
}

// Narrowing a fixed-width field keeps whole characters of every text, never a lone lead byte.
TEST(Cells, RegressionNarrowingACharacterFieldKeepsWholeCharacters)
{
    StoreGrid grid;
    TwMemColumn *name = grid.AddMemColumn(wdtChar, 6);
    grid.SetRows(3);
    name->Pool().SetString(0, QStringLiteral("가나다"));
    name->Pool().SetString(1, QStringLiteral("ab가나"));
    name->Pool().SetString(2, QStringLiteral("abcdef"));
    name->SetDataWidth(3);
    EXPECT_EQ(name->Pool().GetString(0), QStringLiteral("가"));
    EXPECT_EQ(name->Pool().GetString(1), QStringLiteral("ab"));
    EXPECT_EQ(name->Pool().GetString(2), QStringLiteral("abc"));
    name->SetDataWidth(6);
    EXPECT_EQ(name->Pool().GetString(0), QStringLiteral("가")) << "no byte comes back";
    name->Pool().SetString(0, QStringLiteral("가나다"));
    EXPECT_EQ(name->Pool().GetString(0), QStringLiteral("가나다"));
}

TEST(Cells, CharacterFieldsHoldTheSuitesCodePageBytesAndNeverSplitACharacter)
{
    for (int width : {4, 5}) {
        TwMemPool pool = Pool(wdtChar, width, 1);
        pool.SetString(0, QStringLiteral("가나다"));
        const QByteArray expected = Platform::ToCp949(QStringLiteral("가나"));
        EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(pool.ValueBytes(0))), expected) << width;
        EXPECT_EQ(pool.GetString(0), QStringLiteral("가나"));
    }
}

// Character fields once went through IBM's variant of the code page: "\" became 82 and
// 똠 became AF FE, so a path or a name read back differently.
TEST(Cells, RegressionCharacterFieldsHoldTheWindowsBytesOfBackslashAndExtendedSyllables)
{
    TwMemPool pool = Pool(wdtChar, 10, 1);
    pool.SetString(0, QStringLiteral("sub\\똠햏"));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(pool.ValueBytes(0))).toHex(' '),
              QByteArray("73 75 62 5c 8c 63 c1 64"));
    EXPECT_EQ(pool.GetString(0), QStringLiteral("sub\\똠햏"));
}

TEST(Cells, RegressionRowRangesThatWouldOverflowAreBoundsErrors)
{
    TwMemPool pool = Pool(wdtLong, 0, 10);
    EXPECT_EQ(ErrorOf([&pool] { pool.Delete(5, INT_MAX); }), QStringLiteral("Pool row bounds error[5]"));
    EXPECT_EQ(ErrorOf([&pool] { pool.Delete(INT_MAX, 2); }), QStringLiteral("Pool row bounds error[%1]").arg(INT_MAX));
    EXPECT_EQ(ErrorOf([&pool] { pool.SetCount(INT_MAX); }), QStringLiteral("Pool row count error[%1]").arg(INT_MAX));
    EXPECT_EQ(pool.GetCount(), 10);
    pool.Delete(5, 5);
    EXPECT_EQ(pool.GetCount(), 5);

    TwRowInfos rows;
    rows.Init();
    rows.SetCount(10);
    EXPECT_EQ(ErrorOf([&rows] { rows.Delete(5, INT_MAX); }), QStringLiteral("Row bounds error[5]"));
    EXPECT_EQ(ErrorOf([&rows] { rows.SetCount(INT_MAX); }), QStringLiteral("Row count error[%1]").arg(INT_MAX));
    EXPECT_EQ(rows.Count(), 10);
}

TEST(Footers, RegressionACountUnderAFormattedDateColumnIsANumberAndPaintingNeverThrows)
{
    StoreGrid grid;
    grid.Footers().Add();
    TwMemColumn *day = grid.AddMemColumn(wdtDate);
    day->SetDisplayFormat(QStringLiteral("dd.mm.yyyy"));
    TwMemColumn *amount = grid.AddMemColumn(wdtFloat);
    amount->SetDisplayFormat(QStringLiteral("#,##0.00"));
    TwMemColumn *name = grid.AddMemColumn(wdtString);
    name->SetDisplayFormat(QStringLiteral("%s 님"));
    grid.SetRows(3);
    for (int row = 0; row < 3; ++row) {
        day->Pool().SetString(row, QStringLiteral("2024-03-0%1").arg(row + 1));
        amount->Pool().SetFloat(row, 1000.25 * row);
        name->Pool().SetString(row, QStringLiteral("김%1").arg(row));
    }
    const auto footerText = [](TwMemColumn *column, TwFooterMethod method) {
        TwMemColumnFooter &footer = column->MemFooter();
        footer.SetStyle(0, method, -1, wfopAll, {});
        footer.SetValues(0, column->Pool().CalcFooter(method, &column->Pool(), wfopAll, {}));
        return footer.GetText(0);
    };
    EXPECT_EQ(footerText(day, wfmeCount), QStringLiteral("3"));
    EXPECT_EQ(footerText(day, wfmeMax), QStringLiteral("03.03.2024")) << "a maximum is a value of the column";
    EXPECT_EQ(footerText(amount, wfmeCount), QStringLiteral("3.00")) << "a numeric column formats its numbers";
    EXPECT_EQ(footerText(amount, wfmeAverage), QStringLiteral("1,000.25"));
    EXPECT_EQ(footerText(name, wfmeCount), QStringLiteral("3")) << "a text pattern is no number format";
    EXPECT_EQ(footerText(name, wfmeMin), QStringLiteral("김0 님"));

    day->MemFooter().SetValues(0, QStringLiteral("not a date"));
    EXPECT_EQ(day->MemFooter().GetText(0), QStringLiteral("not a date")) << "shown as computed, no exception";
}

TEST(Cells, PoolBuffersKeepTheirBytesAcrossTheReservedAddressSpace)
{
    // Small blocks live on the heap, large ones in reserved address space that grows by
    // remapping; every step keeps the old bytes and reads new ones as zero.
    TwByteBuffer buffer;
    const auto check = [&buffer](std::size_t filled, std::size_t zeroFrom) {
        for (std::size_t i = 0; i < filled; i += 4093)
            if (buffer.Data()[i] != static_cast<std::uint8_t>(i % 251 + 1))
                return QStringLiteral("byte %1 lost").arg(i);
        for (std::size_t i = zeroFrom; i < buffer.Size(); i += 4093)
            if (buffer.Data()[i] != 0)
                return QStringLiteral("byte %1 not zero").arg(i);
        return QStringLiteral("ok");
    };
    const auto fill = [&buffer](std::size_t size) {
        for (std::size_t i = 0; i < size; ++i)
            buffer.Data()[i] = static_cast<std::uint8_t>(i % 251 + 1);
    };
    buffer.Resize(100000);
    fill(100000);
    buffer.Resize(1 << 20); // from the heap into reserved space
    EXPECT_EQ(check(100000, 100000), QStringLiteral("ok"));
    fill(1 << 20);
    buffer.Resize(8 << 20); // beyond the reservation: remapped
    EXPECT_EQ(check(1 << 20, 1 << 20), QStringLiteral("ok"));
    buffer.Resize(300000); // pages beyond the end are given back
    buffer.Resize(2 << 20);
    EXPECT_EQ(check(300000, 303104), QStringLiteral("ok"));
    EXPECT_LE(buffer.Reserved(), std::size_t{3} << 20);
}

TEST(Cells, RegressionAFailingTextEventNeverLeavesThePaintPath)
{
    for (const bool unknown : {false, true}) {
        FailingTextGrid grid;
        grid.Unknown = unknown;
        TwMemColumn *qty = grid.AddMemColumn(wdtLong);
        TwMemColumn *flag = grid.AddMemColumn(wdtBool);
        grid.SetRows(1);
        qty->Pool().SetLong(0, 12);
        flag->Pool().SetBool(0, true);
        QString text;
        EXPECT_NO_THROW(text = qty->DisplayText(0)) << unknown;
        EXPECT_EQ(text, QStringLiteral("12")) << "the text the event was given";
        EXPECT_NO_THROW(text = flag->DisplayText(0)) << unknown;
        EXPECT_EQ(text, flag->GetBoolText(true));
    }
}
