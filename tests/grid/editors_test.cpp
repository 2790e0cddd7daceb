// The grid's in-place editors driven like a user: typing into number, text and list cells,
// the keys an editor keeps or hands to the grid, read-only columns, and the editor following
// its row out of view and back.

#include "testsupport.h"
#include "grid/tabrix.h"
#include "opengrid.h"
#include "grid/core/extents.h"
#include "grid/uxdlgmemo.h"
#include "grid/uxlists.h"
#include "grid/uxnedit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDateTimeEdit>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QTimer>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class BeepGrid : public OpenTabrix
{
public:
    int m_beeps = 0;
    void EditorBeep() override { ++m_beeps; }
};

enum { ColName, ColQty, ColSpin, ColKind, ColDay, ColNote, ColTiny, ColDone, ColMemo, ColDue, ColSize };

class EditorsTest : public ::testing::Test
{
protected:
    EditorsTest()
    {
        AddColumn("Name", wdtString);
        AddColumn("Qty", wdtLong)->SetEditFormat(QStringLiteral("#,##0"));
        AddColumn("Spin", wdtLong)->SetEditStyle(wesSpinEdit);
        AddColumn("Kind", wdtString)->SetValues({QStringLiteral("Apple"), QStringLiteral("Berry"), QStringLiteral("Cherry")});
        AddColumn("Day", wdtDate)->SetReadOnly(true);
        AddColumn("Note", wdtString)->SetReadOnly(true);
        AddColumn("Tiny", wdtShort);
        AddColumn("Done", wdtBool);
        AddColumn("Memo", wdtString)->SetEditStyle(wesMemo);
        AddColumn("Due", wdtDate);
        TwMemColumn *size = AddColumn("Size", wdtString);
        size->SetValues({QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L")});
        size->SetEditStyle(wesRadioGroup);
        size->SetRadioColumns(3);
        m_grid.Footers().Add();
        m_grid.SetOptions({wgoEditing, wgoInserting, wgoArrowMove});
        m_grid.resize(700, 240);
        m_grid.show();
        m_grid.SetRowCount(30);
        for (int row = 0; row < 30; ++row)
            m_grid.Cells(ColName, row).SetString(QStringLiteral("abc"));
        m_grid.setFocus();
    }

    TwMemColumn *AddColumn(const char *caption, TwDataType type)
    {
        auto *column = static_cast<TwMemColumn *>(m_grid.Columns().Add());
        column->SetDataType(type);
        column->Title().SetCaption(QString::fromLatin1(caption));
        return column;
    }

    void Open(int col)
    {
        m_grid.SetCurCol(col);
        m_grid.ShowEditor();
    }

    QLineEdit *TextEditor() const { return qobject_cast<QLineEdit *>(m_grid.ActiveEditor()); }
    TwCustomNumEdit *NumEditor() const { return qobject_cast<TwCustomNumEdit *>(m_grid.ActiveEditor()); }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(m_grid.ActiveEditor(), static_cast<Qt::Key>(key), modifiers);
    }

    BeepGrid m_grid;
};

TEST_F(EditorsTest, NumberAndSpinColumnsShareOneEditorThatTogglesItsSpinButtons)
{
    Open(ColQty);
    QWidget *number = m_grid.ActiveEditor();
    EXPECT_FALSE(NumEditor()->Spinner());
    m_grid.HideEditor();
    Open(ColSpin);
    EXPECT_EQ(m_grid.ActiveEditor(), number);
    EXPECT_TRUE(NumEditor()->Spinner());
    m_grid.HideEditor();
    Open(ColQty);
    EXPECT_FALSE(NumEditor()->Spinner());
}

TEST_F(EditorsTest, ArrowsMoveTheCaretInsideTheTextAndLeaveItAtItsEnds)
{
    Open(ColName);
    ASSERT_TRUE(TextEditor());
    TextEditor()->setCursorPosition(1);
    Key(Qt::Key_Right);
    EXPECT_EQ(m_grid.CurCol(), ColName);
    EXPECT_EQ(TextEditor()->cursorPosition(), 2);
    Key(Qt::Key_Right);
    EXPECT_EQ(m_grid.CurCol(), ColName);
    Key(Qt::Key_Right);
    EXPECT_EQ(m_grid.CurCol(), ColQty) << "at the right end Right moves to the next cell";

    m_grid.HideEditor();
    Open(ColName);
    TextEditor()->setCursorPosition(1);
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(m_grid.CurCol(), ColQty) << "Ctrl+Right always moves";
}

TEST_F(EditorsTest, EnterSelectsAllThenPutsTheCaretAtTheEnd)
{
    m_grid.SetOptions({wgoEditing, wgoInserting, wgoArrowMove, wgoAlwaysShowEditor});
    Open(ColName);
    ASSERT_TRUE(TextEditor());
    TextEditor()->setCursorPosition(1);
    Key(Qt::Key_Return);
    EXPECT_EQ(TextEditor()->selectedText(), QStringLiteral("abc"));
    Key(Qt::Key_Return);
    EXPECT_FALSE(TextEditor()->hasSelectedText());
    EXPECT_EQ(TextEditor()->cursorPosition(), 3);
}

TEST_F(EditorsTest, ReadOnlyColumnsShowNoDateEditorAndATextEditorThatRefusesTyping)
{
    Open(ColDay);
    EXPECT_FALSE(m_grid.EditorShowing());
    Open(ColNote);
    ASSERT_TRUE(m_grid.EditorShowing());
    QTest::keyClicks(TextEditor(), QStringLiteral("x"));
    EXPECT_EQ(TextEditor()->text(), QString());
    EXPECT_EQ(m_grid.m_beeps, 1);
    EXPECT_EQ(m_grid.GetGridMode(), wgmBrowse);
}

TEST_F(EditorsTest, NoEditorWithoutRowsOrWithoutEditingOptions)
{
    m_grid.SetOptions({wgoArrowMove});
    Open(ColName);
    EXPECT_FALSE(m_grid.EditorShowing());
    m_grid.SetOptions({wgoInserting});
    Open(ColName);
    EXPECT_TRUE(m_grid.EditorShowing());
    m_grid.HideEditor();
    m_grid.SetRowCount(0);
    Open(ColName);
    EXPECT_FALSE(m_grid.EditorShowing());
}

TEST_F(EditorsTest, ThePickListChoosesAValueThatIsStored)
{
    Open(ColKind);
    ASSERT_TRUE(TextEditor());
    QSignalSpy dropped(&m_grid, &TwCustomGrid::OnDropDown);
    QSignalSpy closed(&m_grid, &TwCustomGrid::OnCloseUp);
    Key(Qt::Key_Down, Qt::AltModifier);
    auto *list = TextEditor()->findChild<TwItemList *>();
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(dropped.count(), 1);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_FALSE(list->isVisible());
    ASSERT_EQ(closed.count(), 1);
    EXPECT_TRUE(closed.at(0).at(0).toBool());
    EXPECT_EQ(TextEditor()->text(), QStringLiteral("Berry"));
    EXPECT_EQ(m_grid.CurRow(), 0) << "the keys stayed with the list";
    m_grid.Post();
    EXPECT_EQ(m_grid.Cells(ColKind, 0).String(), QStringLiteral("Berry"));

    // Escape closes without taking the highlighted line.
    m_grid.ShowEditor();
    Key(Qt::Key_Down, Qt::AltModifier);
    Key(Qt::Key_Down);
    Key(Qt::Key_Escape);
    EXPECT_EQ(TextEditor()->text(), QStringLiteral("Berry"));
}

TEST_F(EditorsTest, TextTypedIntoAnOpenPickListStaysUnlessOnlyValuesAreAllowed)
{
    m_grid.GetMemColumn(ColKind)->ListOption().SetValuesOnly(true);
    Open(ColKind);
    Key(Qt::Key_Down, Qt::AltModifier);
    QTest::keyClicks(TextEditor(), QStringLiteral("Zed"));
    Key(Qt::Key_Return);
    EXPECT_EQ(TextEditor()->text(), QString());

    m_grid.GetMemColumn(ColKind)->ListOption().SetValuesOnly(false);
    Key(Qt::Key_Down, Qt::AltModifier);
    QTest::keyClicks(TextEditor(), QStringLiteral("Zed"));
    Key(Qt::Key_Return);
    EXPECT_EQ(TextEditor()->text(), QStringLiteral("Zed"));
    m_grid.Post();
    EXPECT_EQ(m_grid.Cells(ColKind, 0).String(), QStringLiteral("Zed"));
}

TEST_F(EditorsTest, AnEditorWhoseRowScrollsAwayHidesKeepingItsTextAndReturnsWithIt)
{
    Open(ColName);
    TextEditor()->clear();
    QTest::keyClicks(TextEditor(), QStringLiteral("typed"));
    const int footerTop = m_grid.Extents().FooterTop();
    m_grid.SetTopRow(5);
    EXPECT_TRUE(m_grid.EditorShowing());
    EXPECT_FALSE(TextEditor()->isVisible()) << "never drawn over the footers";
    EXPECT_LE(TextEditor()->geometry().bottom(), footerTop);
    m_grid.SetTopRow(0);
    EXPECT_TRUE(TextEditor()->isVisible());
    EXPECT_EQ(TextEditor()->text(), QStringLiteral("typed")) << "the cell was not loaded again";
    EXPECT_TRUE(m_grid.EditorChanged());
}

TEST_F(EditorsTest, NumbersBeyondTheColumnTypeAreNotStoredByTheirLowBits)
{
    Open(ColQty);
    QTest::keyClicks(NumEditor(), QStringLiteral("3000000000"));
    m_grid.Post();
    EXPECT_GT(m_grid.Cells(ColQty, 0).Long(), 0);
    EXPECT_LE(m_grid.Cells(ColQty, 0).Long(), std::numeric_limits<qint32>::max());

    Open(ColTiny);
    QTest::keyClicks(NumEditor(), QStringLiteral("200"));
    m_grid.Post();
    EXPECT_GE(m_grid.Cells(ColTiny, 0).Long(), 0);
    EXPECT_LE(m_grid.Cells(ColTiny, 0).Long(), 127);
}

TEST_F(EditorsTest, SpaceTogglesACheckBoxUnlessOnEditRefusesTheChange)
{
    Open(ColDone);
    ASSERT_TRUE(m_grid.EditorShowing());
    Key(Qt::Key_Space);
    m_grid.Post();
    EXPECT_TRUE(m_grid.Cells(ColDone, 0).Bool());

    QObject::connect(&m_grid, &TwCustomGrid::OnEdit, &m_grid, [](TwColumn *, bool &accept) { accept = false; });
    m_grid.ShowEditor();
    Key(Qt::Key_Space);
    EXPECT_EQ(m_grid.m_beeps, 1);
    EXPECT_FALSE(m_grid.EditorChanged());
    EXPECT_EQ(m_grid.GetGridMode(), wgmBrowse);
}

// The text editor holds a cell to its width in code page 949 bytes, as the cell stores it:
// what the user sees typed is what is kept.
TEST_F(EditorsTest, RegressionTheTextEditorCountsTheWidthInCodePageBytes)
{
    m_grid.GetMemColumn(ColName)->SetDataWidth(5);
    Open(ColName);
    TextEditor()->selectAll();
    // Hangul arrives as the input method's committed syllables.
    for (const QChar syllable : QStringLiteral("가나다라")) {
        QInputMethodEvent commit;
        commit.setCommitString(syllable);
        QApplication::sendEvent(TextEditor(), &commit);
    }
    EXPECT_EQ(TextEditor()->text(), QStringLiteral("가나"));
    QTest::keyClicks(TextEditor(), QStringLiteral("ab"));
    EXPECT_EQ(TextEditor()->text(), QStringLiteral("가나a"));
    m_grid.Post();
    EXPECT_EQ(m_grid.Cells(ColName, 0).String(), QStringLiteral("가나a"));

    // A paste past the limit is cut to fit, as a limit in characters cuts it.
    QApplication::clipboard()->setText(QStringLiteral("다라마"));
    m_grid.ShowEditor();
    TextEditor()->selectAll();
    TextEditor()->paste();
    EXPECT_EQ(TextEditor()->text(), QStringLiteral("다라"));
    TextEditor()->end(false);
    TextEditor()->paste();
    EXPECT_EQ(TextEditor()->text(), QStringLiteral("다라")) << "no room left";

    // A cell stored before its width narrowed opens within the limit.
    m_grid.Cancel();
    m_grid.Cells(ColName, 1).SetString(QStringLiteral("가나다라"));
    m_grid.GetMemColumn(ColName)->SetDataWidth(4);
    m_grid.SetCurRow(1);
    m_grid.ShowEditor();
    EXPECT_EQ(TextEditor()->text(), QStringLiteral("가나"));
}

// A click on the current cell of a check-box column opens its editor and toggles at once,
// as a click on the shown editor does; with wgoNoClickEdit the click only opens it. A click
// on a radio-group cell picks the item under the pointer.
TEST_F(EditorsTest, RegressionAClickOnTheCurrentCheckBoxCellTogglesIt)
{
    const auto click = [this](int col, QPoint offset = {}) {
        m_grid.Extents().ReadInfo(m_grid.viewport()->rect());
        const QRect cell = m_grid.Extents().GetColBound(m_grid.Columns().Items(col)->VIndex(), m_grid.CurRow());
        QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, {}, offset.isNull() ? cell.center() : cell.topLeft() + offset);
    };
    m_grid.SetCurCol(ColDone);
    ASSERT_FALSE(m_grid.EditorShowing());
    click(ColDone);
    ASSERT_TRUE(m_grid.EditorShowing());
    EXPECT_TRUE(m_grid.EditorChanged()) << "toggled by the click that opened it";
    m_grid.Post();
    EXPECT_TRUE(m_grid.Cells(ColDone, 0).Bool());
    // A second click lands on the editor itself and toggles back.
    QTest::mouseClick(m_grid.ActiveEditor(), Qt::LeftButton);
    m_grid.Post();
    EXPECT_FALSE(m_grid.Cells(ColDone, 0).Bool());

    m_grid.HideEditor();
    TwGridOptions options = m_grid.Options();
    options.Include(wgoNoClickEdit);
    m_grid.SetOptions(options);
    click(ColDone);
    ASSERT_TRUE(m_grid.EditorShowing());
    EXPECT_FALSE(m_grid.EditorChanged());
    m_grid.HideEditor();
    options.Exclude(wgoNoClickEdit);
    m_grid.SetOptions(options);

    // Three items side by side: a click in the right third picks the last one.
    m_grid.GetMemColumn(ColSize)->SetWidth(150);
    m_grid.SetCurCol(m_grid.Columns().Items(ColSize)->VIndex());
    ASSERT_FALSE(m_grid.EditorShowing());
    m_grid.Extents().ReadInfo(m_grid.viewport()->rect());
    const QRect cell = m_grid.Extents().GetColBound(m_grid.Columns().Items(ColSize)->VIndex(), 0);
    click(ColSize, QPoint(cell.width() * 5 / 6, cell.height() / 2));
    ASSERT_TRUE(m_grid.EditorShowing());
    m_grid.Post();
    EXPECT_EQ(m_grid.Cells(ColSize, 0).String(), QStringLiteral("L"));
}

// A click on a row of a cell's open pick list chooses it.
TEST_F(EditorsTest, AClickOnARowOfTheOpenPickListChoosesIt)
{
    Open(ColKind);
    Key(Qt::Key_Down, Qt::AltModifier);
    auto *list = TextEditor()->findChild<TwItemList *>();
    ASSERT_TRUE(list && list->isVisible());
    const int top = list->FrameWidth() + list->HeaderHeight() + (2 - list->TopRow()) * list->RowHeight();
    const QPoint at(list->width() / 2, top + list->RowHeight() / 2);
    ASSERT_EQ(list->MouseToRow(at.x(), at.y()), 2);
    QTest::mouseClick(list->windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(QTest::qWaitFor([list] { return !list->isVisible(); }, 5000));
    EXPECT_EQ(TextEditor()->text(), QStringLiteral("Cherry"));
    m_grid.Post();
    EXPECT_EQ(m_grid.Cells(ColKind, 0).String(), QStringLiteral("Cherry"));
}

TEST_F(EditorsTest, TheEditButtonSitsRightOfTheEditorAndRaisesItsClick)
{
    m_grid.GetMemColumn(ColName)->SetEditButton(true);
    Open(ColName);
    m_grid.UpdateButton();
    QSignalSpy clicks(&m_grid, &TwCustomGrid::OnEditButtonClick);
    QWidget *button = nullptr;
    for (QWidget *child : m_grid.viewport()->findChildren<QWidget *>())
        if (child->isVisible() && child != m_grid.ActiveEditor() && child->width() > 0)
            button = child;
    ASSERT_TRUE(button);
    const QRect editor = m_grid.ActiveEditor()->geometry();
    EXPECT_EQ(button->geometry().left(), editor.right() + 1);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(EditorsTest, TheEditorStoresAndHidesWhenTheFocusLeavesTheGrid)
{
    QLineEdit outside;
    outside.show();
    QApplication::setActiveWindow(&m_grid);
    Open(ColName);
    TextEditor()->clear();
    QTest::keyClicks(TextEditor(), QStringLiteral("gone"));
    ASSERT_TRUE(TextEditor()->hasFocus());
    QApplication::setActiveWindow(&outside);
    EXPECT_FALSE(m_grid.EditorShowing());
    EXPECT_EQ(m_grid.Cells(ColName, 0).String(), QStringLiteral("gone"));
}

TEST_F(EditorsTest, AMemoCellOpensItsPopupWithTheCellTextAndStoresWhatIsAccepted)
{
    m_grid.Cells(ColMemo, 0).SetString(QStringLiteral("old"));
    m_grid.SetCurCol(ColMemo);
    m_grid.ShowEditor();
    EXPECT_FALSE(m_grid.EditorShowing()) << "memo cells have no in-place editor";
    QString shown;
    QTimer::singleShot(0, &m_grid, [&shown] {
        auto *memo = qobject_cast<TwInDlgMemo *>(QApplication::activeModalWidget());
        if (!memo)
            return;
        shown = memo->Memo()->toPlainText();
        memo->Memo()->setPlainText(QStringLiteral("new text"));
        if (auto *ok = memo->findChild<QAbstractButton *>(QStringLiteral("OkButton")))
            ok->click();
    });
    EXPECT_TRUE(m_grid.ShowMemoDlg());
    EXPECT_EQ(shown, QStringLiteral("old"));
    EXPECT_EQ(m_grid.Cells(ColMemo, 0).String(), QStringLiteral("new text"));
    EXPECT_FALSE(m_grid.ShowImageDlg()) << "not a picture column";
}

TEST_F(EditorsTest, TheDateEditorShowsTheCellDateAndDeleteEmptiesIt)
{
    m_grid.Cells(ColDue, 0).SetString(QStringLiteral("2026-12-08"));
    Open(ColDue);
    auto *editor = qobject_cast<QDateTimeEdit *>(m_grid.ActiveEditor());
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->date(), QDate(2026, 12, 8));
    Key(Qt::Key_Up, Qt::ControlModifier);
    const QDate stepped = editor->date();
    EXPECT_NE(stepped, QDate(2026, 12, 8)) << "Ctrl+Up is the date edit's own";
    EXPECT_EQ(m_grid.CurRow(), 0);
    m_grid.Post();
    EXPECT_EQ(m_grid.Cells(ColDue, 0).String(), stepped.toString(QStringLiteral("yyyy-MM-dd")));
    m_grid.ShowEditor();
    Key(Qt::Key_Delete);
    EXPECT_TRUE(m_grid.EditorChanged());
    EXPECT_TRUE(m_grid.GetEditVal().isNull());
    m_grid.Post();
    EXPECT_TRUE(m_grid.CheckNull(m_grid.GetMemColumn(ColDue), 0));
}

TEST_F(EditorsTest, RadioGroupArrowsChooseItemsAndLeaveAtTheFirstOne)
{
    Open(ColSize);
    ASSERT_TRUE(m_grid.EditorShowing());
    Key(Qt::Key_Right);
    EXPECT_EQ(m_grid.GetEditVal(), QVariant(0)) << "with none chosen the first is chosen";
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    EXPECT_EQ(m_grid.GetEditVal(), QVariant(2));
    EXPECT_EQ(m_grid.CurCol(), ColSize);
    m_grid.Post();
    EXPECT_EQ(m_grid.Cells(ColSize, 0).String(), QStringLiteral("L"));
    m_grid.ShowEditor();
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(m_grid.GetEditVal(), QVariant(0));
    EXPECT_EQ(m_grid.CurCol(), ColSize);
    Key(Qt::Key_Left);
    EXPECT_EQ(m_grid.CurCol(), ColDue) << "Left at the first item leaves the cell";
}

TEST_F(EditorsTest, PictureOfAnEditingGrid)
{
    m_grid.resize(700, 300);
    Open(ColName);
    TextEditor()->setText(QStringLiteral("typing here"));
    QPixmap shot = m_grid.grab();
    const QRect editor = TextEditor()->geometry().translated(m_grid.viewport()->pos());
    const QImage image = shot.toImage();
    EXPECT_EQ(image.pixelColor(editor.center()).name(), QApplication::palette().color(QPalette::Base).name());
    m_grid.HideEditor();
    Open(ColKind);
    Key(Qt::Key_Down, Qt::AltModifier);
    auto *list = TextEditor()->findChild<TwItemList *>();
    ASSERT_TRUE(list && list->isVisible());
    QPixmap second = m_grid.grab();
    {
        QPainter painter(&second);
        painter.drawPixmap(m_grid.mapFromGlobal(list->pos()), list->grab());
    }
    QPixmap both(shot.width(), shot.height() * 2);
    {
        QPainter painter(&both);
        painter.drawPixmap(0, 0, shot);
        painter.drawPixmap(0, shot.height(), second);
    }
    both.save(PicturePath(QStringLiteral("grid-editing.png")));
    Key(Qt::Key_Escape);
}

} // namespace
