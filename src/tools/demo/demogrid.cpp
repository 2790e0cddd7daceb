#include "demo/demogrid.h"

#include "grid/tabrix.h"
#include "grid/uxlocale.h"
#include "grid/uxutils.h"

#include <QStringList>

#include <array>

namespace TabrixDemo {

namespace {

enum TColumn { Number, Code, Customer, Manager, Region, Memo, Quantity, Price, Amount, Day, Checked, Held };

// Each column: its caption, data type, and the group and level it sits in.
struct TColumnLayout
{
    const char16_t *caption;
    TwDataType type;
    int group;
    int level;
};

constexpr std::array<TColumnLayout, ColumnCount> Layouts{{
    {u"번호", wdtLong, 0, 0},
    {u"코드", wdtString, 0, 1},
    {u"거래처", wdtString, 1, 0},
    {u"담당자", wdtString, 1, 1},
    {u"지역", wdtString, 1, 1},
    {u"비고", wdtString, 1, 2},
    {u"수량", wdtLong, 2, 0},
    {u"단가", wdtFloat, 2, 0},
    {u"금액", wdtFloat, 2, 1},
    {u"일자", wdtDate, 2, 2},
    {u"확인", wdtBool, 2, 2},
    {u"보류", wdtBool, 2, 2},
}};

const QStringList &Customers()
{
    static const QStringList names{
        QStringLiteral("㈜한빛상사"), QStringLiteral("대성물산"), QStringLiteral("미래유통"), QStringLiteral("동해수산"),
        QStringLiteral("서울식품"), QStringLiteral("가온전자"), QStringLiteral("새롬건설"), QStringLiteral("누리무역"),
        QStringLiteral("태평양화학"), QStringLiteral("Tovel Trading"), QStringLiteral("한길문구"), QStringLiteral("청솔농산")};
    return names;
}

const QStringList &Managers()
{
    static const QStringList names{QStringLiteral("김민수"), QStringLiteral("이서연"), QStringLiteral("박지훈"),
                                   QStringLiteral("최유진"), QStringLiteral("정하늘"), QStringLiteral("강도윤"),
                                   QStringLiteral("윤서아")};
    return names;
}

const QStringList &Regions()
{
    static const QStringList names{QStringLiteral("서울"), QStringLiteral("부산"), QStringLiteral("대구"),
                                   QStringLiteral("인천"), QStringLiteral("광주"), QStringLiteral("대전"),
                                   QStringLiteral("울산"), QStringLiteral("제주")};
    return names;
}

const QStringList &Memos()
{
    static const QStringList texts{QStringLiteral("정기 납품"), QStringLiteral("Urgent delivery"),
                                   QStringLiteral("월말 정산"), QStringLiteral("반품 확인 필요"), QStringLiteral("-")};
    return texts;
}

// The values of a row, made from its number alone.
int QuantityOf(int row)
{
    return static_cast<int>((static_cast<qint64>(row) * 37) % 500) + 1;
}

double PriceOf(int row)
{
    return static_cast<double>((static_cast<qint64>(row) * 7) % 200 + 1) * 500.0;
}

bool MemoIsNull(int row)
{
    return row % 13 == 5;
}

TDateTime FirstDay()
{
    static const TDateTime day = TXIntToDate(20240101);
    return day;
}

QString CodeOf(int row)
{
    return QStringLiteral("A%1").arg((static_cast<qint64>(row) * 7919) % 1000000, 6, 10, QLatin1Char('0'));
}

} // namespace

QString Caption(int column)
{
    return QString::fromUtf16(Layouts.at(static_cast<std::size_t>(column)).caption);
}

void BuildGrid(TTabrix &grid, bool groupMode)
{
    grid.BeginUpdate();
    const std::array<const char16_t *, 3> groupCaptions{u"기본", u"거래처 정보", u"금액 및 일자"};
    const std::array<int, 3> levels{2, 3, 3};
    const std::array<int, 3> widths{110, 300, 330};
    for (int g = 0; g < 3; ++g) {
        TwGroup *group = grid.Groups().Add();
        group->Title().SetCaption(QString::fromUtf16(groupCaptions[static_cast<std::size_t>(g)]));
        group->SetLevels(levels[static_cast<std::size_t>(g)]);
        group->SetWidth(widths[static_cast<std::size_t>(g)]);
    }
    for (int i = 0; i < 3; ++i)
        grid.Footers().Add();
    grid.Footers().Items(0)->Title().SetCaption(QStringLiteral("합계"));
    grid.Footers().Items(1)->Title().SetCaption(QStringLiteral("평균"));
    grid.Footers().Items(2)->Title().SetCaption(QStringLiteral("백만↑"));
    for (int i = 0; i < ColumnCount; ++i) {
        const TColumnLayout &layout = Layouts.at(static_cast<std::size_t>(i));
        auto *column = static_cast<TwMemColumn *>(grid.Columns().Add());
        column->SetDataType(layout.type);
        column->SetDataWidth(layout.type == wdtString ? 40 : 0);
        column->Title().SetCaption(Caption(i));
        column->SetWidth(i == Memo || i == Customer ? 160 : 80);
        TwGroup *group = grid.Groups().Items(layout.group);
        const int level = layout.level;
        int index = 0;
        for (int k = 0; k < i; ++k) {
            const TColumnLayout &before = Layouts.at(static_cast<std::size_t>(k));
            index += before.group == layout.group && before.level == level;
        }
        group->InsertItem(level, index, column);
    }
    for (int i : {Quantity, Number})
        grid.GetMemColumn(i)->SetAlignment(taRightJustify);
    for (int i : {Price, Amount}) {
        grid.GetMemColumn(i)->SetDisplayFormat(QStringLiteral("#,##0"));
        grid.GetMemColumn(i)->SetAlignment(taRightJustify);
    }
    grid.GetMemColumn(Held)->SetEditStyle(wesBoolean);
    grid.GetMemColumn(Amount)->SetColor(0xFFF4E8u);

    TwMemColumnFooter &quantity = grid.GetMemColumn(Quantity)->MemFooter();
    quantity.SetStyle(0, wfmeSum, -1, wfopAll, {});
    quantity.SetStyle(1, wfmeAverage, -1, wfopAll, {});
    TwMemColumnFooter &amount = grid.GetMemColumn(Amount)->MemFooter();
    amount.SetStyle(0, wfmeSum, -1, wfopAll, {});
    amount.SetStyle(1, wfmeAverage, -1, wfopAll, {});
    amount.SetStyle(2, wfmeCount, -1, wfopGTE, QStringLiteral("1000000"));
    TwMemColumnFooter &price = grid.GetMemColumn(Price)->MemFooter();
    price.SetStyle(1, wfmeAverage, -1, wfopAll, {});
    for (int i : {Quantity, Price, Amount}) {
        grid.GetMemColumn(i)->Footer().SetAlignment(taRightJustify);
    }

    grid.Indicators().SetShowRowNo(true);
    grid.Indicators().SetWidth(64);
    grid.Headers().Title().SetCaption(QStringLiteral("No"));
    grid.SetOptions({wgoArrowMove, wgoEnterToTab, wgoFocusRect, wgoMultiSelect, wgoNullMark, wgoColSizing,
                     wgoAlwaysShowSelection});
    // The mode and the fixed strips outside the update bracket, so the current cell moves
    // out of the fixed group.
    grid.EndUpdate();
    grid.SetFixedCount(1);
    if (!groupMode) {
        grid.SetRowHeight(20);
        return;
    }
    grid.SetGroupMode(true);
    grid.SetFixedCount(1);
    // Three lines of 20 pixels a row; the header holds the group titles above them.
    grid.SetRowHeight(60);
    grid.Headers().SetGrpHeight(80);
    for (int i = 0; i < grid.Footers().Count(); ++i)
        grid.Footers().Items(i)->SetGrpHeight(60);
}

void FillRows(TTabrix &grid, int rows)
{
    grid.BeginUpdate();
    grid.SetRowCount(rows);
    const int count = grid.GetRowCount();
    std::array<TwMemPool *, ColumnCount> pools{};
    for (int i = 0; i < ColumnCount; ++i)
        pools[static_cast<std::size_t>(i)] = &grid.GetMemColumn(i)->Pool();
    const QStringList &customers = Customers();
    const QStringList &managers = Managers();
    const QStringList &regions = Regions();
    const QStringList &memos = Memos();
    const TDateTime firstDay = FirstDay();
    for (int row = 0; row < count; ++row) {
        pools[Number]->SetLong(row, row + 1);
        pools[Code]->SetString(row, CodeOf(row));
        pools[Customer]->SetString(row, customers.at(row % customers.size()));
        pools[Manager]->SetString(row, managers.at(row % managers.size()));
        pools[Region]->SetString(row, regions.at((row / 3) % regions.size()));
        if (!MemoIsNull(row))
            pools[Memo]->SetString(row, memos.at(row % memos.size()));
        pools[Quantity]->SetLong(row, QuantityOf(row));
        pools[Price]->SetFloat(row, PriceOf(row));
        pools[Amount]->SetFloat(row, QuantityOf(row) * PriceOf(row));
        pools[Day]->SetDateTime(row, firstDay + row % 730);
        pools[Checked]->SetBool(row, row % 3 == 0);
        pools[Held]->SetBool(row, row % 7 == 0);
    }
    grid.CalcFooters();
    grid.EndUpdate();
}

void TGeneratedGrid::SetRowCount(int count)
{
    m_rows = qMax(0, count);
    UpdateScrollRange();
    SetTopRow(GetTopRow());
    AssignCurRow(qBound(0, CurRow(), qMax(0, m_rows - 1)));
    InvalidateGrid();
}

QString TGeneratedGrid::GetDisplayText(TwColumn *column, int row)
{
    if (row < 0 || row >= m_rows)
        return {};
    const auto *memColumn = static_cast<TwMemColumn *>(column);
    const QString text = CellText(column->Index(), row);
    return memColumn->DataType() == wdtBool ? QString() : text;
}

bool TGeneratedGrid::CheckNull(TwColumn *column, int row)
{
    return m_rows == 0 || (column->Index() == Memo && MemoIsNull(row));
}

bool TGeneratedGrid::CheckBool(TwColumn *column, int row)
{
    return m_rows > 0 && CellText(column->Index(), row) == QStringLiteral("True");
}

QString CellText(int column, int row)
{
    switch (column) {
    case Number:
        return QString::number(row + 1);
    case Code:
        return CodeOf(row);
    case Customer:
        return Customers().at(row % Customers().size());
    case Manager:
        return Managers().at(row % Managers().size());
    case Region:
        return Regions().at((row / 3) % Regions().size());
    case Memo:
        return MemoIsNull(row) ? QString() : Memos().at(row % Memos().size());
    case Quantity:
        return QString::number(QuantityOf(row));
    case Price:
        return TXFormatFloat(QStringLiteral("#,##0"), PriceOf(row));
    case Amount:
        return TXFormatFloat(QStringLiteral("#,##0"), QuantityOf(row) * PriceOf(row));
    case Day:
        return TXDateToText(FirstDay() + row % 730);
    case Checked:
        return row % 3 == 0 ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return row % 7 == 0 ? QStringLiteral("True") : QStringLiteral("False");
    }
}

} // namespace TabrixDemo
