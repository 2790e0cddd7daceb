#include "salestable.h"

#include "grid/tabrix.h"
#include "grid/uxutils.h"
#include "platform/dbhealth.h"

#include <QDate>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <array>
#include <cmath>
#include <vector>

namespace SalesTable {

namespace {

// Each column: the table column, the caption, the data type and width, the group and the
// display width in pixels.
struct TColumnLayout
{
    const char *field;
    const char16_t *caption;
    TwDataType type;
    int dataWidth;
    int group;
    int width;
};

constexpr std::array<TColumnLayout, ColumnCount> Layouts{{
    {"SALE_NO", u"판매번호", wdtLong, 0, 0, 72},
    {"SALE_DT", u"판매일자", wdtDate, 0, 0, 88},
    {"CUST_CD", u"코드", wdtString, 6, 1, 60},
    {"CUST_NM", u"거래처명", wdtString, 40, 1, 120},
    {"ITEM_NM", u"품목명", wdtString, 40, 2, 130},
    {"QTY", u"수량", wdtLong, 0, 3, 76},
    {"PRICE", u"단가", wdtLong, 0, 3, 90},
    {"AMOUNT", u"금액", wdtFloat, 0, 3, 130},
    {"REMARK", u"비고", wdtString, 60, 4, 164},
}};

constexpr std::array<const char16_t *, 5> GroupCaptions{u"전표", u"거래처", u"품목", u"판매", u"비고"};

// Texts handed to the grid are copies: a module's literals go with its library.
QString Text(const char16_t *text)
{
    return QString::fromUtf16(text);
}

QString Field(int column)
{
    return QString::fromLatin1(Layouts.at(static_cast<std::size_t>(column)).field);
}

QString Columns(int first)
{
    QStringList names;
    for (int i = first; i < ColumnCount; ++i)
        names << Field(i);
    return names.join(QStringLiteral(", "));
}

QString QueryError(const QSqlQuery &query)
{
    return query.lastError().text();
}

// The caption of the column a database message names as the database quotes column
// names ("null value in column \"cust_cd\"", "NOT NULL constraint failed:
// SAJ202T.CUST_CD"), the first one named; empty when it names none. The detail lines
// that quote the row's values (the user's own texts) are not read.
QString ColumnNamedIn(const QString &message)
{
    const QString head = message.left(message.indexOf(QLatin1String("DETAIL:")));
    qsizetype first = head.size();
    QString caption;
    for (const TColumnLayout &layout : Layouts) {
        const QRegularExpression name(QStringLiteral("(\"%1\"|SAJ202T\\.%1(?![A-Za-z0-9_]))").arg(QString::fromLatin1(layout.field)),
                                      QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = name.match(head);
        if (match.hasMatch() && match.capturedStart() < first) {
            first = match.capturedStart();
            caption = QString::fromUtf16(layout.caption);
        }
    }
    return caption;
}

void Fill(TwMemPool &pool, int row, const QVariant &value)
{
    if (value.isNull()) {
        pool.SetNull(row);
        return;
    }
    switch (pool.DataType()) {
    case wdtLong:
        pool.SetLong(row, value.toInt());
        break;
    case wdtFloat:
        pool.SetFloat(row, value.toDouble());
        break;
    case wdtDate: {
        const int day = value.toString().toInt();
        if (day > 0)
            pool.SetDateTime(row, TXIntToDate(day));
        else
            pool.SetNull(row);
        break;
    }
    default:
        pool.SetString(row, value.toString());
        break;
    }
}

// The bind value of one cell, typed as the table column is: whole numbers for the
// number columns, YYYYMMDD text for the date.
QVariant BindValue(const TwMemPool &pool, int row)
{
    switch (pool.DataType()) {
    case wdtLong:
        return pool.GetNull(row) ? QVariant(QMetaType::fromType<int>()) : QVariant(pool.GetLong(row));
    case wdtFloat:
        return pool.GetNull(row) ? QVariant(QMetaType::fromType<qlonglong>())
                                 : QVariant(static_cast<qlonglong>(std::llround(pool.GetFloat(row))));
    case wdtDate:
        return pool.GetNull(row) ? QVariant(QMetaType::fromType<QString>())
                                 : QVariant(QString::number(TXDateToInt(pool.GetDateTime(row))));
    default:
        return pool.GetNull(row) ? QVariant(QMetaType::fromType<QString>()) : QVariant(pool.GetString(row));
    }
}

void BindRow(QSqlQuery &query, TTabrix &grid, int row, int first)
{
    for (int i = first; i < ColumnCount; ++i)
        query.addBindValue(BindValue(grid.GetMemColumn(i)->Pool(), row));
}

// The grid's rows by what a save does with them.
struct TChanges
{
    std::vector<int> Inserted;
    std::vector<int> Updated;
    std::vector<int> Deleted;
};

TChanges CollectChanges(TTabrix &grid)
{
    TChanges changes;
    const TwMemPool &keys = grid.GetMemColumn(SaleNo)->Pool();
    const int rows = grid.GetRowCount();
    for (int row = 0; row < rows; ++row) {
        switch (grid.RowState(row)) {
        case wrInserted:
            changes.Inserted.push_back(row);
            break;
        case wrUpdated:
            changes.Updated.push_back(row);
            break;
        case wrDeleted:
            // A new row deleted before it was ever saved has nothing in the table.
            if (!keys.GetNull(row))
                changes.Deleted.push_back(row);
            break;
        default:
            break;
        }
    }
    return changes;
}

// The statements of one save, run inside the transaction; new sale numbers go to
// `newKeys` (row, number) and reach the grid only after the commit.
class TSaveRun
{
public:
    TSaveRun(QSqlDatabase &connection, TTabrix &grid)
        : m_connection(connection)
        , m_grid(grid)
    {
    }

    // Whether the table holds what the save meant to write: the deleted sales gone, the
    // updated and new ones with the grid's values under their numbers. Asked when the
    // reply to the commit was lost with the connection, so the server may have written it.
    bool WasWritten(const TChanges &changes, const std::vector<std::pair<int, int>> &newKeys)
    {
        QSqlQuery gone(m_connection);
        for (int row : changes.Deleted) {
            if (!gone.exec(QStringLiteral("SELECT COUNT(*) FROM SAJ202T WHERE SALE_NO = %1").arg(Keys().GetLong(row)))
                || !gone.next() || gone.value(0).toInt() != 0)
                return false;
        }
        std::vector<std::pair<int, int>> written;
        for (int row : changes.Updated)
            written.emplace_back(row, Keys().GetLong(row));
        written.insert(written.end(), newKeys.begin(), newKeys.end());
        if (written.size() != changes.Updated.size() + changes.Inserted.size())
            return false;
        QSqlQuery query(m_connection);
        for (const auto &[row, key] : written) {
            if (!query.exec(QStringLiteral("SELECT %1 FROM SAJ202T WHERE SALE_NO = %2").arg(Columns(SaleDate)).arg(key))
                || !query.next())
                return false;
            for (int i = SaleDate; i < ColumnCount; ++i) {
                const QVariant stored = query.value(i - SaleDate);
                const QVariant meant = BindValue(m_grid.GetMemColumn(i)->Pool(), row);
                if (stored.isNull() != meant.isNull())
                    return false;
                const bool number = meant.typeId() == QMetaType::Int || meant.typeId() == QMetaType::LongLong;
                if (!meant.isNull()
                    && (number ? stored.toLongLong() != meant.toLongLong() : stored.toString() != meant.toString()))
                    return false;
            }
        }
        return true;
    }

    QString Run(const TChanges &changes, std::vector<std::pair<int, int>> &newKeys)
    {
        if (QString error = DeleteRows(changes.Deleted); !error.isEmpty())
            return error;
        if (QString error = UpdateRows(changes.Updated); !error.isEmpty())
            return error;
        return InsertRows(changes.Inserted, newKeys);
    }

private:
    TwMemPool &Keys() { return m_grid.GetMemColumn(SaleNo)->Pool(); }

    // What the database refused, with the row it refused on the screen and, where its
    // message names one, the column.
    QString RowError(int row, const QString &message)
    {
        QString where = Keys().GetNull(row)
            ? QStringLiteral("%1번째 행 (새 판매)").arg(row + 1)
            : QStringLiteral("%1번째 행 (판매번호 %2)").arg(row + 1).arg(Keys().GetLong(row));
        if (const QString column = ColumnNamedIn(message); !column.isEmpty())
            where += QStringLiteral(" [%1]").arg(column);
        return where + QStringLiteral(": ") + message;
    }

    QString DeleteRows(const std::vector<int> &rows)
    {
        QSqlQuery query(m_connection);
        if (!query.prepare(QStringLiteral("DELETE FROM SAJ202T WHERE SALE_NO = ?")))
            return QueryError(query);
        for (int row : rows) {
            query.addBindValue(Keys().GetLong(row));
            if (!query.exec())
                return RowError(row, QueryError(query));
        }
        return {};
    }

    QString UpdateRows(const std::vector<int> &rows)
    {
        QStringList sets;
        for (int i = SaleDate; i < ColumnCount; ++i)
            sets << Field(i) + QStringLiteral(" = ?");
        QSqlQuery query(m_connection);
        if (!query.prepare(QStringLiteral("UPDATE SAJ202T SET %1 WHERE SALE_NO = ?").arg(sets.join(QStringLiteral(", ")))))
            return QueryError(query);
        for (int row : rows) {
            BindRow(query, m_grid, row, SaleDate);
            query.addBindValue(Keys().GetLong(row));
            if (!query.exec())
                return RowError(row, QueryError(query));
            // A sale that another user removed meanwhile would lose this edit silently.
            if (query.numRowsAffected() != 1)
                return QStringLiteral("판매번호 %1의 자료가 테이블에 없습니다.").arg(Keys().GetLong(row));
        }
        return {};
    }

    QString InsertRows(const std::vector<int> &rows, std::vector<std::pair<int, int>> &newKeys)
    {
        if (rows.empty())
            return {};
        QSqlQuery last(m_connection);
        if (!last.exec(QStringLiteral("SELECT MAX(SALE_NO) FROM SAJ202T")) || !last.next())
            return QueryError(last);
        int next = last.value(0).toInt() + 1;
        QSqlQuery query(m_connection);
        if (!query.prepare(QStringLiteral("INSERT INTO SAJ202T (%1) VALUES (?%2)")
                               .arg(Columns(SaleNo), QStringLiteral(", ?").repeated(ColumnCount - 1))))
            return QueryError(query);
        for (int row : rows) {
            query.addBindValue(next);
            BindRow(query, m_grid, row, SaleDate);
            if (!query.exec())
                return RowError(row, QueryError(query));
            newKeys.emplace_back(row, next++);
        }
        return {};
    }

    QSqlDatabase &m_connection;
    TTabrix &m_grid;
};

// Every sale into the pools, counted first so the rows are laid out once. The rows on
// screen stay until the table has answered: a load that fails leaves them as they were.
QString LoadRows(QSqlDatabase &connection, TTabrix &grid)
{
    QSqlQuery count(connection);
    QSqlQuery query(connection);
    QString error;
    QString reopenFailure;
    const bool answered = Platform::RunReconnectingOnce(connection, [&] {
        error.clear();
        count = QSqlQuery(connection);
        query = QSqlQuery(connection);
        query.setForwardOnly(true);
        if (!count.exec(QStringLiteral("SELECT COUNT(*) FROM SAJ202T")) || !count.next()) {
            error = QueryError(count);
            return false;
        }
        if (!query.exec(QStringLiteral("SELECT %1 FROM SAJ202T ORDER BY SALE_NO").arg(Columns(SaleNo)))) {
            error = QueryError(query);
            return false;
        }
        return true;
    }, &reopenFailure);
    // A server that is gone says so better than the statement it cut off.
    if (!answered)
        return !reopenFailure.isEmpty() ? reopenFailure : !error.isEmpty() ? error : connection.lastError().text();

    const TUpdateScope update(grid);
    grid.Cancel();
    grid.SetRowCount(0);
    grid.ClearRowStates(false);
    grid.ClearChanged(false);
    const int expected = count.value(0).toInt();
    grid.SetRowCount(expected);
    std::array<TwMemPool *, ColumnCount> pools{};
    for (int i = 0; i < ColumnCount; ++i)
        pools.at(static_cast<std::size_t>(i)) = &grid.GetMemColumn(i)->Pool();
    int row = 0;
    for (; row < expected && query.next(); ++row) {
        for (int i = 0; i < ColumnCount; ++i)
            Fill(*pools.at(static_cast<std::size_t>(i)), row, query.value(i));
    }
    // Sales removed between the count and the query leave no empty rows behind.
    if (row < expected) {
        grid.SetRowCount(row);
        if (query.lastError().isValid())
            error = QueryError(query);
    }
    grid.CalcFooters();
    return error;
}

} // namespace

void BuildGrid(TTabrix &grid)
{
    grid.BeginUpdate();
    for (const char16_t *caption : GroupCaptions) {
        TwGroup *group = grid.Groups().Add();
        group->Title().SetCaption(Text(caption));
    }
    grid.Footers().Add();
    grid.Footers().Items(0)->Title().SetCaption(Text(u"합계"));
    std::array<int, GroupCaptions.size()> groupWidths{};
    for (const TColumnLayout &layout : Layouts)
        groupWidths.at(static_cast<std::size_t>(layout.group)) += layout.width;
    for (std::size_t g = 0; g < groupWidths.size(); ++g)
        grid.Groups().Items(static_cast<int>(g))->SetWidth(groupWidths.at(g));
    for (int i = 0; i < ColumnCount; ++i) {
        const TColumnLayout &layout = Layouts.at(static_cast<std::size_t>(i));
        auto *column = static_cast<TwMemColumn *>(grid.Columns().Add());
        column->SetDataType(layout.type);
        column->SetDataWidth(layout.dataWidth);
        column->Title().SetCaption(Text(layout.caption));
        // A click on the title sorts by the column.
        column->Title().SetClicking(true);
        column->SetWidth(layout.width);
        TwGroup *group = grid.Groups().Items(layout.group);
        group->InsertItem(0, group->GetColCount(0), column);
    }
    for (int i : {SaleNo, Quantity, Price, Amount}) {
        grid.GetMemColumn(i)->SetAlignment(taRightJustify);
        grid.GetMemColumn(i)->Footer().SetAlignment(taRightJustify);
    }
    for (int i : {Quantity, Price, Amount})
        grid.GetMemColumn(i)->SetDisplayFormat(QStringLiteral("#,##0"));
    grid.GetMemColumn(SaleNo)->SetDisplayFormat(QStringLiteral("#,##0"));
    // The number comes from the table on saving; the amount from quantity and price.
    grid.GetMemColumn(SaleNo)->SetReadOnly(true);
    grid.GetMemColumn(Amount)->SetReadOnly(true);
    grid.GetMemColumn(Amount)->SetCalculated(true);
    grid.GetMemColumn(Amount)->SetColor(0xFFF4E8u);
    grid.GetMemColumn(SaleDate)->SetRequired(true);
    grid.GetMemColumn(CustCode)->SetRequired(true);
    grid.GetMemColumn(SaleNo)->MemFooter().SetStyle(0, wfmeCount, -1, wfopAll, {});
    grid.GetMemColumn(Quantity)->MemFooter().SetStyle(0, wfmeSum, -1, wfopAll, {});
    grid.GetMemColumn(Amount)->MemFooter().SetStyle(0, wfmeSum, -1, wfopAll, {});

    grid.Indicators().SetShowRowNo(false);
    grid.Indicators().SetWidth(16);
    grid.SetOptions({wgoArrowMove, wgoEnterToTab, wgoFocusRect, wgoEditing, wgoInserting, wgoDeleting,
                     wgoConfirmDelete, wgoColSizing, wgoAlwaysShowSelection});
    grid.SetSoftDeleting(true);
    grid.EndUpdate();
    // Group mode: each group's title band above its columns' titles.
    grid.SetGroupMode(true);
    grid.SetFixedCount(1);
    // A column placed in a group shares the group's width; each takes its own back, the
    // last the rest.
    for (int i = 0; i < ColumnCount; ++i)
        grid.GetMemColumn(i)->SetWidth(Layouts.at(static_cast<std::size_t>(i)).width);
    grid.SetRowHeight(20);
    grid.Headers().SetGrpHeight(40);
    grid.Footers().Items(0)->SetGrpHeight(20);
}

QString Load(QSqlDatabase &connection, TTabrix &grid)
{
    QString error = LoadRows(connection, grid);
    if (grid.GetRowCount() > 0)
        grid.SetCurRow(0);
    return error;
}

bool Save(QSqlDatabase &connection, TTabrix &grid, TSaveCounts &counts, QString &error)
{
    const TChanges changes = CollectChanges(grid);
    counts = {};
    if (!HasChanges(grid))
        return true;
    // A session the server ended while the screen sat idle (a restart, a dropped network)
    // is opened again before the transaction starts; a save never starts on a dead one.
    if (QString reason; !Platform::ReviveConnection(connection, &reason)) {
        error = reason;
        return false;
    }
    if (!connection.transaction()) {
        error = connection.lastError().text();
        return false;
    }
    std::vector<std::pair<int, int>> newKeys;
    TSaveRun run(connection, grid);
    error = run.Run(changes, newKeys);
    if (error.isEmpty() && !connection.commit()) {
        error = connection.lastError().text();
        // A connection lost at the commit leaves it unknown whether the server wrote the
        // save; saving it again would write every new sale twice. The table tells.
        if (!Platform::ConnectionAnswers(connection) && Platform::ReopenConnection(connection, nullptr)
            && run.WasWritten(changes, newKeys))
            error.clear();
    }
    if (!error.isEmpty()) {
        connection.rollback();
        return false;
    }
    {
        const TUpdateScope update(grid);
        for (const auto &[row, key] : newKeys)
            grid.GetMemColumn(SaleNo)->Pool().SetLong(row, key);
        grid.DeleteMarkedRows();
        grid.ClearRowStates(false);
        grid.ClearChanged(false);
        grid.CalcFooters();
    }
    counts.Inserted = static_cast<int>(changes.Inserted.size());
    counts.Updated = static_cast<int>(changes.Updated.size());
    counts.Deleted = static_cast<int>(changes.Deleted.size());
    return true;
}

bool HasChanges(const TTabrix &grid)
{
    return grid.StateCount(wrInserted) + grid.StateCount(wrUpdated) + grid.StateCount(wrDeleted) > 0;
}

} // namespace SalesTable
