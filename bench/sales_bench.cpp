// The J202P sales screen's load: the demo's 100,000 sales read from SQLite into the grid's
// value pools (SalesTable::Load) against a forward-only QSqlQuery that only reads every
// value of the same rows (the floor any load pays) and against QSqlQueryModel fetching all
// of them (what a QTableView over the table would hold). Goal: 500 ms.

#include "benchtiming.h"
#include "grid/tabrix.h"
#include "salestable.h"

#include <QApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Runs = 3;
const QString Connection = QStringLiteral("sales-bench");
const QString Select = QStringLiteral(
    "SELECT SALE_NO, SALE_DT, CUST_CD, CUST_NM, ITEM_NM, QTY, PRICE, AMOUNT, REMARK FROM SAJ202T ORDER BY SALE_NO");

QString Seed(QSqlDatabase &db)
{
    for (const char *file : {"schema.sql", "sales.sql"}) {
        QFile sql(QStringLiteral(TOVEL_SQL_DIR "/") + QString::fromLatin1(file));
        if (!sql.open(QIODevice::ReadOnly))
            return QStringLiteral("cannot read ") + sql.fileName();
        QString text;
        for (const QString &line : QString::fromUtf8(sql.readAll()).split(QLatin1Char('\n'))) {
            if (!line.trimmed().startsWith(QLatin1String("--")))
                text += line + QLatin1Char('\n');
        }
        for (const QString &statement : text.split(QLatin1Char(';'))) {
            QSqlQuery query(db);
            if (!statement.trimmed().isEmpty() && !query.exec(statement))
                return query.lastError().text();
        }
    }
    return {};
}

void Report(const char *peer, double seconds, double peerSeconds, double goalMs)
{
    std::printf("sales_bench: load of 100,000 sales into the grid %8.2f ms  %-28s %8.2f ms  ratio %5.2f  goal <= %.0f ms %s\n",
                seconds * 1e3, peer, peerSeconds * 1e3, seconds / peerSeconds, goalMs,
                seconds * 1e3 <= goalMs ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QTemporaryDir folder;
    int status = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Connection);
        db.setDatabaseName(folder.filePath(QStringLiteral("sales.db")));
        if (!db.open())
            return 1;
        if (const QString error = Seed(db); !error.isEmpty()) {
            std::printf("sales_bench: %s\n", qPrintable(error));
            return 1;
        }
        TTabrix grid;
        SalesTable::BuildGrid(grid);
        QString error;
        const double load = Bench::Best(Runs, [&] { error = SalesTable::Load(db, grid); });
        if (!error.isEmpty() || grid.GetRowCount() != 100000) {
            std::printf("sales_bench: the grid loaded %d rows: %s\n", grid.GetRowCount(), qPrintable(error));
            return 1;
        }
        const double read = Bench::Best(Runs, [&] {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            query.exec(Select);
            qint64 sum = 0;
            while (query.next()) {
                for (int i = 0; i < 9; ++i)
                    sum += query.value(i).toString().size();
            }
            if (sum == 0)
                std::printf("sales_bench: the query read nothing\n");
        });
        const double model = Bench::Best(Runs, [&] {
            QSqlQueryModel rows;
            rows.setQuery(QSqlQuery(Select, db));
            while (rows.canFetchMore())
                rows.fetchMore();
        });
        Report("plain QSqlQuery read", load, read, 500);
        Report("QSqlQueryModel, all fetched", load, model, 500);
        status = load * 1e3 <= 500 ? 0 : 1;
    }
    QSqlDatabase::removeDatabase(Connection);
    return status;
}
