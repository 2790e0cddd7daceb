// The grid as assistive technology reads it, through Qt's accessibility interfaces: a
// table of the visible columns in reading order (group mode: level by level) and the
// data rows, each cell reading the text the grid shows, with events for moves and edits.

#include "grid/tabrix.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Records the accessibility events Qt delivers while it lives.
class AccessibilityEvents
{
public:
    AccessibilityEvents()
    {
        Instance() = this;
        m_previous = QAccessible::installUpdateHandler(&AccessibilityEvents::Record);
    }
    ~AccessibilityEvents()
    {
        QAccessible::installUpdateHandler(m_previous);
        Instance() = nullptr;
    }

    // "type:child" of each event of `object`, in order; cleared when read.
    QStringList Take(const QObject *object)
    {
        QStringList events;
        for (const auto &[source, text] : m_events) {
            if (source == object)
                events << text;
        }
        m_events.clear();
        return events;
    }

private:
    static AccessibilityEvents *&Instance()
    {
        static AccessibilityEvents *instance = nullptr;
        return instance;
    }
    static void Record(QAccessibleEvent *event)
    {
        if (!Instance())
            return;
        QString type;
        switch (event->type()) {
        case QAccessible::Focus:
            type = QStringLiteral("focus");
            break;
        case QAccessible::NameChanged:
            type = QStringLiteral("name");
            break;
        case QAccessible::TableModelChanged:
            type = static_cast<QAccessibleTableModelChangeEvent *>(event)->modelChangeType()
                        == QAccessibleTableModelChangeEvent::DataChanged
                    ? QStringLiteral("data")
                    : QStringLiteral("model");
            break;
        case QAccessible::SelectionWithin:
            type = QStringLiteral("selection");
            break;
        default:
            return;
        }
        Instance()->m_events.emplace_back(event->object(), QStringLiteral("%1:%2").arg(type).arg(event->child()));
    }

    QAccessible::UpdateHandler m_previous = nullptr;
    std::vector<std::pair<const QObject *, QString>> m_events;
};

// Two groups of two levels: 전표 (판매번호 over 비고) and 판매 (거래처명 over 수량).
class AccessibleGrid : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_grid = std::make_unique<TTabrix>();
        TTabrix &grid = *m_grid;
        grid.setObjectName(QStringLiteral("sales"));
        grid.BeginUpdate();
        for (const char16_t *caption : {u"전표", u"판매"}) {
            TwGroup *group = grid.Groups().Add();
            group->Title().SetCaption(QString::fromUtf16(caption));
            group->SetLevels(2);
            group->SetWidth(200);
        }
        const struct
        {
            const char16_t *caption;
            TwDataType type;
            int group;
            int level;
        } layout[] = {{u"판매번호", wdtLong, 0, 0}, {u"비고", wdtString, 0, 1}, {u"거래처명", wdtString, 1, 0},
                      {u"수량", wdtLong, 1, 1}};
        for (const auto &place : layout) {
            auto *column = static_cast<TwMemColumn *>(grid.Columns().Add());
            column->SetDataType(place.type);
            column->SetDataWidth(place.type == wdtString ? 40 : 0);
            column->Title().SetCaption(QString::fromUtf16(place.caption));
            grid.Groups().Items(place.group)->InsertItem(place.level, 0, column);
        }
        grid.GetMemColumn(3)->SetDisplayFormat(QStringLiteral("#,##0"));
        grid.SetOptions({wgoEditing, wgoArrowMove, wgoMultiSelect});
        grid.EndUpdate();
        grid.SetGroupMode(true);
        grid.SetRowCount(3);
        const QStringList names{QStringLiteral("㈜한빛상사"), QStringLiteral("한결상회"), QString()};
        for (int row = 0; row < 3; ++row) {
            grid.GetMemColumn(0)->Pool().SetLong(row, row + 1);
            if (!names[row].isEmpty())
                grid.GetMemColumn(2)->Pool().SetString(row, names[row]);
            grid.GetMemColumn(3)->Pool().SetLong(row, (row + 1) * 1500);
        }
        grid.GetMemColumn(1)->Pool().SetString(1, QStringLiteral("반품"));
        grid.resize(480, 240);
        grid.show();
        grid.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    }

    QAccessibleInterface *Face() const { return QAccessible::queryAccessibleInterface(m_grid.get()); }
    QAccessibleTableInterface *Table() const { return Face()->tableInterface(); }

    // Every cell's text, row by row, "|" between the cells.
    QString Texts() const
    {
        QStringList rows;
        for (int row = 0; row < Table()->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < Table()->columnCount(); ++column)
                cells << Table()->cellAt(row, column)->text(QAccessible::Name);
            rows << cells.join(u'|');
        }
        return rows.join(u'\n');
    }

    std::unique_ptr<TTabrix> m_grid;
};

} // namespace

TEST_F(AccessibleGrid, TheTableReadsLevelByLevelWithTitlesAndTheShownTexts)
{
    QAccessibleInterface *face = Face();
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Table);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("sales"));
    ASSERT_NE(Table(), nullptr);
    EXPECT_EQ(Table()->rowCount(), 3);
    ASSERT_EQ(Table()->columnCount(), 4);
    QStringList titles;
    for (int column = 0; column < 4; ++column)
        titles << Table()->columnDescription(column);
    EXPECT_EQ(titles.join(u'|'), QStringLiteral("판매번호|거래처명|비고|수량"));
    EXPECT_EQ(Texts(), QStringLiteral("1|㈜한빛상사||1,500\n2|한결상회|반품|3,000\n3|||4,500"));

    QAccessibleInterface *cell = Table()->cellAt(1, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cell->text(QAccessible::Description), QStringLiteral("판매 / 거래처명"));
    QAccessibleTableCellInterface *place = cell->tableCellInterface();
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->rowIndex(), 1);
    EXPECT_EQ(place->columnIndex(), 1);
    ASSERT_EQ(place->columnHeaderCells().size(), 1);
    EXPECT_EQ(place->columnHeaderCells().front()->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(place->columnHeaderCells().front()->text(QAccessible::Name), QStringLiteral("거래처명"));
    EXPECT_EQ(cell->parent(), face);
    EXPECT_EQ(face->child(face->indexOfChild(cell)), cell);
    EXPECT_EQ(Table()->cellAt(1, 1), cell) << "one interface per cell";
    // The cell's rectangle is where the grid paints it.
    EXPECT_FALSE(cell->rect().isEmpty());
    EXPECT_EQ(face->childAt(cell->rect().center().x(), cell->rect().center().y()), cell);

    // Column mode: the same columns in their visible order.
    m_grid->SetGroupMode(false);
    EXPECT_EQ(Table()->columnCount(), 4);
    EXPECT_EQ(Table()->cellAt(1, 0)->text(QAccessible::Name), QStringLiteral("2"));
}

TEST_F(AccessibleGrid, MovesEditsAndSelectionsAreAnnounced)
{
    AccessibilityEvents events;
    m_grid->setFocus();
    QApplication::processEvents();
    const int columns = Table()->columnCount();
    const auto child = [columns](int row, int column) { return (row + 1) * columns + column; };
    events.Take(m_grid.get());

    // Qt delivers accessibility events only while a bridge is active: the run on an X
    // server with the accessibility bus has one (grid_accessibility_tests).
    if (!qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
        GTEST_SKIP() << "no accessibility bus in this run";
    ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000)) << "the accessibility bridge came up";
    // Down goes through the levels of a row first: from 판매번호 to the 비고 under it, then
    // to the next row's 비고.
    QTest::keyClick(m_grid.get(), Qt::Key_Down);
    EXPECT_EQ(events.Take(m_grid.get()).filter(QStringLiteral("focus")),
              QStringList{QStringLiteral("focus:%1").arg(child(0, 2))});
    QTest::keyClick(m_grid.get(), Qt::Key_Down);
    EXPECT_EQ(m_grid->CurRow(), 1);
    EXPECT_EQ(events.Take(m_grid.get()).filter(QStringLiteral("focus")),
              QStringList{QStringLiteral("focus:%1").arg(child(1, 2))});
    QAccessibleInterface *focused = Face()->focusChild();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->text(QAccessible::Name), QStringLiteral("반품"));
    EXPECT_TRUE(focused->state().focused);

    // A move to the right: the cell the grid went to gets the focus.
    QTest::keyClick(m_grid.get(), Qt::Key_Right);
    TwColumn *right = m_grid->GetSelectedColumn();
    ASSERT_NE(right, m_grid->GetMemColumn(1));
    int rightIndex = 0;
    while (rightIndex < columns && Table()->columnDescription(rightIndex) != right->Title().Caption())
        ++rightIndex;
    EXPECT_EQ(events.Take(m_grid.get()).filter(QStringLiteral("focus")),
              QStringList{QStringLiteral("focus:%1").arg(child(1, rightIndex))});
    // A program's move to 수량 too.
    m_grid->SetSelectedColumn(m_grid->GetMemColumn(3));
    EXPECT_EQ(events.Take(m_grid.get()).filter(QStringLiteral("focus")),
              QStringList{QStringLiteral("focus:%1").arg(child(1, 3))});

    // An edit of 수량 on row 2 is read back at once, formatted as shown.
    // The first key opens the cell's editor, which takes the rest.
    for (const char key : {'1', '2', '0', '0', '0'})
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m_grid.get(), key);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(events.Take(m_grid.get()).contains(QStringLiteral("name:%1").arg(child(1, 3))));
    EXPECT_EQ(Table()->cellAt(1, 3)->text(QAccessible::Name), QStringLiteral("12,000"));
    m_grid->Post();

    // Rows selected by a program, and by the table interface.
    m_grid->SetSelected(0, true);
    EXPECT_TRUE(events.Take(m_grid.get()).contains(QStringLiteral("selection:-1")));
    EXPECT_TRUE(Table()->selectRow(2));
    EXPECT_EQ(Table()->selectedRows(), (QList<int>{0, 2}));
    EXPECT_EQ(Table()->selectedCellCount(), 2 * columns);
    EXPECT_TRUE(Table()->cellAt(2, 3)->tableCellInterface()->isSelected());

    // Fewer rows: the cells past the end are void, the table reads the rest.
    m_grid->SetRowCount(2);
    EXPECT_TRUE(events.Take(m_grid.get()).contains(QStringLiteral("model:-1")));
    EXPECT_EQ(Table()->rowCount(), 2);
    EXPECT_EQ(Table()->cellAt(2, 0), nullptr);
}
