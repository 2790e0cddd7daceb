#pragma once

// The sales screen on a table of the test's own: the screen's connection, a second one
// the test checks the table with, and the keys a user types.

#include "salesscreen.h"
#include "salestable.h"

#include "grid/tabrix.h"
#include "opengrid.h"
#include "testdatabase.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace SalesTable;

namespace SalesTest {

inline const QString ScreenConnection = QStringLiteral("j202p-screen");
inline const QString CheckConnection = QStringLiteral("j202p-check");

// One value of the table, read on a connection of the test's own.
inline QString Scalar(const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(CheckConnection));
    if (!query.exec(sql) || !query.next())
        return QStringLiteral("<error>");
    return query.value(0).toString();
}

inline QString Sale(int number)
{
    return Scalar(QStringLiteral("SELECT SALE_DT || '|' || CUST_CD || '|' || CUST_NM || '|' || ITEM_NM || '|' || QTY || '|' "
                                 "|| PRICE || '|' || AMOUNT FROM SAJ202T WHERE SALE_NO = %1")
                      .arg(number));
}

} // namespace SalesTest

using namespace SalesTest;

class SalesScreenTest : public ::testing::TestWithParam<TestDatabase::Backend>
{
protected:
    void SetUp() override
    {
        m_db = std::make_unique<TestDatabase>(GetParam(), m_folder.path());
        if (!m_db->Available())
            GTEST_SKIP() << "the PostgreSQL server of the test run is not running";
        ASSERT_EQ(m_db->Reset(), QString());
        ASSERT_EQ(m_db->SeedSales(Rows()), QString());
        ASSERT_EQ(m_db->Open(ScreenConnection, Waits()), QString());
        ASSERT_EQ(m_db->Open(CheckConnection), QString());
        m_screen = std::make_unique<TSalesScreen>(QSqlDatabase::database(ScreenConnection));
        m_screen->resize(960, 560);
        m_screen->show();
        m_screen->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_screen.get()));
        ASSERT_TRUE(m_screen->Query());
        m_grid = m_screen->Grid();
    }

    void TearDown() override
    {
        m_screen.reset();
        QSqlDatabase::removeDatabase(ScreenConnection);
        QSqlDatabase::removeDatabase(CheckConnection);
    }

    virtual int Rows() const { return 300; }
    virtual Platform::TDbWaits Waits() const { return {}; }

    // Types `text` into the cell of `column` on `row`, as the user does.
    void Type(int row, int column, const QString &text)
    {
        m_grid->SetCurRow(row);
        m_grid->SetSelectedColumn(m_grid->GetMemColumn(column));
        for (const QChar character : text) {
            // The first key opens the cell's editor, which takes the rest.
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : m_grid;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
            QApplication::sendEvent(target, &press);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    // Down from the last row opens a new one; the user types a sale into it.
    void TypeNewSale()
    {
        m_grid->SetCurRow(m_grid->GetRowCount() - 1);
        QTest::keyClick(m_grid, Qt::Key_Down);
        ASSERT_EQ(m_grid->GridMode(), wgmInsert);
        const int row = m_grid->CurRow();
        Type(row, CustCode, QStringLiteral("C2001"));
        Type(row, CustName, QStringLiteral("한결상회"));
        Type(row, ItemName, QStringLiteral("A4 용지"));
        Type(row, Quantity, QStringLiteral("3"));
        Type(row, Price, QStringLiteral("1500"));
    }

    QString States() const
    {
        QString states;
        for (int row = 0; row < m_grid->GetRowCount(); ++row)
            states += QString::number(m_grid->RowState(row));
        return states;
    }

    QString Footer(int column) const { return m_grid->GetMemColumn(column)->Footer().GetText(0); }

    QTemporaryDir m_folder;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TSalesScreen> m_screen;
    TTabrix *m_grid = nullptr;
    MessageBoxRecorder m_boxes{Platform::mbYes};
};

