// Typing into the complete grid while the grid itself has the focus: characters and
// input-method compositions open the in-place editor and continue in it, F2 and Delete open
// or clear the current cell, Ctrl+F2 clicks the edit button, and a dialog's default button
// does not take Enter from a grid that edits.

#include "testsupport.h"
#include "grid/tabrix.h"
#include "opengrid.h"
#include "grid/uxnedit.h"

#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

QString EditorText(QWidget *editor)
{
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        return edit->text();
    if (auto *number = qobject_cast<TwCustomNumEdit *>(editor))
        return number->DisplayText();
    if (auto *inner = editor ? editor->findChild<QLineEdit *>() : nullptr)
        return inner->text();
    return QStringLiteral("<no editor>");
}

// The widget that has the keyboard: where a user's next key goes.
QWidget *KeyTarget(QWidget *fallback)
{
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus : fallback;
}

class EditKeysTest : public ::testing::Test
{
protected:
    EditKeysTest()
    {
        const std::pair<const char *, TwDataType> columns[] = {{"Name", wdtString}, {"Qty", wdtLong}};
        for (const auto &[caption, type] : columns) {
            auto *column = static_cast<TwMemColumn *>(m_grid.Columns().Add());
            column->SetDataType(type);
            column->Title().SetCaption(QString::fromLatin1(caption));
            column->SetWidth(120);
        }
        m_grid.Columns().Items(1)->SetEditFormat(QStringLiteral("#,##0"));
        m_grid.SetOptions({wgoEditing, wgoInserting, wgoArrowMove});
        m_grid.resize(360, 220);
        m_grid.SetRowCount(2);
        m_grid.Cells(0, 0).SetString(QStringLiteral("abc"));
        m_grid.Cells(1, 0).SetLong(7);
    }

    void Show(QWidget &window)
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        m_grid.setFocus();
        QApplication::processEvents();
    }

    void Type(const QString &text)
    {
        for (const QChar ch : text)
            QTest::keyClick(KeyTarget(&m_grid), ch.toLatin1());
    }

    OpenTabrix m_grid;
};

TEST_F(EditKeysTest, TypedCharactersReplaceTheCellOnceAndArePosted)
{
    Show(m_grid);
    // The first key replaces the selected content, the next ones add to it.
    QTest::keyClick(&m_grid, Qt::Key_X);
    ASSERT_TRUE(m_grid.EditorShowing());
    EXPECT_EQ(EditorText(m_grid.ActiveEditor()), QStringLiteral("x"));
    Type(QStringLiteral("yz"));
    EXPECT_EQ(EditorText(m_grid.ActiveEditor()), QStringLiteral("xyz"));
    m_grid.grab().save(PicturePath(QStringLiteral("editkeys-typing.png")));
    EXPECT_EQ(m_grid.GridMode(), wgmEdit);

    // A number column: grouped while shown, stored as the number on post.
    m_grid.SetEditValue();
    m_grid.HideEditor();
    m_grid.setFocus();
    QTest::keyClick(&m_grid, Qt::Key_Right);
    QTest::keyClick(&m_grid, Qt::Key_1);
    Type(QStringLiteral("2345"));
    EXPECT_EQ(EditorText(m_grid.ActiveEditor()), QStringLiteral("12,345"));
    QTest::keyClick(KeyTarget(&m_grid), Qt::Key_Down);
    EXPECT_EQ(m_grid.GridMode(), wgmBrowse);
    EXPECT_EQ(m_grid.Cells(1, 0).Long(), 12345);
    EXPECT_EQ(m_grid.Cells(0, 0).String(), QStringLiteral("xyz"));

    // A character the column refuses opens nothing.
    m_grid.HideEditor();
    m_grid.setFocus();
    QTest::keyClick(&m_grid, Qt::Key_Q);
    EXPECT_FALSE(m_grid.EditorShowing());
}

TEST_F(EditKeysTest, DeleteNullsTheCellThroughItsEditor)
{
    Show(m_grid);
    QTest::keyClick(&m_grid, Qt::Key_Delete);
    ASSERT_TRUE(m_grid.EditorShowing());
    EXPECT_EQ(EditorText(m_grid.ActiveEditor()), QString());
    m_grid.SetEditValue();
    EXPECT_TRUE(m_grid.Cells(0, 0).Null());

    // Without a right to modify, the editor shows and the cell stays.
    m_grid.Post();
    m_grid.HideEditor();
    m_grid.GetMemColumn(0)->SetReadOnly(true);
    m_grid.Cells(0, 1).SetString(QStringLiteral("keep"));
    m_grid.SetCurRow(1);
    m_grid.setFocus();
    QTest::keyClick(&m_grid, Qt::Key_Delete);
    m_grid.SetEditValue();
    EXPECT_EQ(m_grid.Cells(0, 1).String(), QStringLiteral("keep"));
}

TEST_F(EditKeysTest, F2OnAnEmptyGridInsertsTheFirstRow)
{
    m_grid.SetRowCount(0);
    Show(m_grid);
    QTest::keyClick(&m_grid, Qt::Key_F2);
    EXPECT_EQ(m_grid.GetRowCount(), 1);
    EXPECT_EQ(m_grid.GridMode(), wgmInsert);
    EXPECT_TRUE(m_grid.EditorShowing());

    // F2 leaves the content as it is: the caret goes to its end.
    m_grid.Cancel();
    m_grid.SetRowCount(1);
    m_grid.Cells(0, 0).SetString(QStringLiteral("abc"));
    m_grid.setFocus();
    QTest::keyClick(&m_grid, Qt::Key_F2);
    auto *edit = qobject_cast<QLineEdit *>(m_grid.ActiveEditor());
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->hasSelectedText());
    QTest::keyClick(KeyTarget(&m_grid), Qt::Key_D);
    EXPECT_EQ(edit->text(), QStringLiteral("abcd"));
}

TEST_F(EditKeysTest, HangulCompositionStartedInTheGridEndsInTheCell)
{
    Show(m_grid);
    // The input method sends each step to the object with the focus at that moment.
    for (const char16_t *preedit : {u"ㅎ", u"하", u"한"}) {
        QInputMethodEvent step(QString::fromUtf16(preedit), {});
        QCoreApplication::sendEvent(QGuiApplication::focusObject(), &step);
    }
    ASSERT_TRUE(m_grid.EditorShowing());
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("한"));
    QCoreApplication::sendEvent(QGuiApplication::focusObject(), &commit);
    EXPECT_EQ(EditorText(m_grid.ActiveEditor()), QStringLiteral("한"));
    m_grid.SetEditValue();
    EXPECT_EQ(m_grid.Cells(0, 0).String(), QStringLiteral("한"));
    EXPECT_TRUE(m_grid.testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(static_cast<QWidget &>(m_grid).inputMethodQuery(Qt::ImCursorRectangle).toRect().isValid());
}

TEST_F(EditKeysTest, DialogDefaultButtonLeavesEnterToTheEditingGrid)
{
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    m_grid.setParent(&dialog);
    const auto release = qScopeGuard([this] { m_grid.setParent(nullptr); });
    layout->addWidget(&m_grid);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    layout->addWidget(ok);
    QSignalSpy clicked(ok, &QPushButton::clicked);
    // A window shortcut on Enter does not take it from the editing grid either.
    auto *shortcut = new QShortcut(QKeySequence(Qt::Key_Return), &dialog);
    QSignalSpy shortcutFired(shortcut, &QShortcut::activated);
    Show(dialog);
    m_grid.setFocus();

    QTest::keyClick(&m_grid, Qt::Key_Return);
    EXPECT_TRUE(m_grid.EditorShowing()); // Enter opened the editor
    QTest::keyClick(KeyTarget(&m_grid), Qt::Key_Return);
    QTest::keyClick(KeyTarget(&m_grid), Qt::Key_Escape);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(shortcutFired.count(), 0);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(EditKeysTest, OptionsShowAndHideTheEditor)
{
    Show(m_grid);
    m_grid.SetOptions({wgoEditing, wgoAlwaysShowEditor});
    EXPECT_TRUE(m_grid.EditorShowing());
    m_grid.SetOptions({wgoAlwaysShowEditor});
    EXPECT_FALSE(m_grid.EditorShowing());
    // Without editing, characters are not the grid's: they pass on to the window.
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(&m_grid, &key);
    EXPECT_FALSE(key.isAccepted());
    EXPECT_FALSE(m_grid.EditorShowing());
}

// An always-shown editor that has the keyboard goes with the current row, showing its value.
TEST_F(EditKeysTest, AnAlwaysShownEditorFollowsTheCurrentRow)
{
    m_grid.SetRowCount(4);
    for (int row = 0; row < 4; ++row)
        m_grid.Cells(0, row).SetString(QStringLiteral("row%1").arg(row));
    m_grid.SetOptions({wgoEditing, wgoAlwaysShowEditor});
    Show(m_grid);
    for (const int expected : {1, 2, 3}) {
        QTest::keyClick(KeyTarget(&m_grid), Qt::Key_Down);
        ASSERT_EQ(m_grid.CurRow(), expected);
        QWidget *editor = m_grid.ActiveEditor();
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_TRUE(editor->hasFocus());
        EXPECT_EQ(editor->property("text").toString(), QStringLiteral("row%1").arg(expected));
    }
}

TEST_F(EditKeysTest, CtrlF2ClicksTheEditButton)
{
    QSignalSpy clicks(&m_grid, &TwCustomGrid::OnEditButtonClick);
    Show(m_grid);
    QTest::keyClick(&m_grid, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(clicks.count(), 0); // the column has no button
    m_grid.Columns().Items(0)->SetEditButton(true);
    m_grid.UpdateButton();
    QTest::keyClick(&m_grid, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(clicks.count(), 1);
}

} // namespace

namespace {

TEST(EditKeysIme, ColumnModeTurnsInputMethodsOnOrOff)
{
    TTabrix grid;
    for (const TwImeMode mode : {imHanguel, imAlpha}) {
        auto *column = static_cast<TwMemColumn *>(grid.Columns().Add());
        column->SetDataType(wdtString);
        column->SetImeMode(mode);
    }
    grid.SetRowCount(1);
    grid.SetOptions({wgoEditing});
    EXPECT_TRUE(grid.testAttribute(Qt::WA_InputMethodEnabled));
    grid.SetCurCol(1);
    EXPECT_FALSE(grid.testAttribute(Qt::WA_InputMethodEnabled)); // Latin input: no compositions
    grid.SetCurCol(0);
    grid.SetOptions({});
    EXPECT_FALSE(grid.testAttribute(Qt::WA_InputMethodEnabled)); // nothing to compose into
}

} // namespace
