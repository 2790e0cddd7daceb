#include "gridex/uxcombos.h"

#include "testsupport.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QMetaProperty>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

// A shown, active window holding a combo with the values 10, 20, 30 and the items
// ten, twenty, thirty.
struct ComboForm
{
    QWidget window;
    TwCombo *combo = new TwCombo;
    QLineEdit *other = new QLineEdit;

    explicit ComboForm(TwComboStyle style = wcsDropDownList)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(combo);
        layout->addWidget(other);
        combo->SetStyle(style);
        combo->SetValues({ Q("10"), Q("20"), Q("30") });
        combo->SetItems({ Q("ten"), Q("twenty"), Q("thirty") });
        window.move(40, 40);
        window.show();
        window.activateWindow();
        // On a real X server the window becomes active when the server says so, which a busy
        // machine delays: focus set before then is only noted, and moves no focus at all.
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        combo->setFocus();
        QApplication::processEvents();
    }
    ~ComboForm() { combo->CloseUp(false); }

    QWidget *Popup() const { return combo->DroppedDown() ? combo->List() : nullptr; }
    QPoint ButtonCentre() const { return combo->GetCustomRect().center(); }
};

QString State(const TwCombo &combo) { return QStringLiteral("%1|%2").arg(combo.ValueIndex()).arg(combo.text()); }

} // namespace

// Setting the list option copies the given one into the combo's own.
TEST(ComboValue, ListOptionIsCopied)
{
    TwCombo combo;
    TwItemListOption other;
    other.SetItemCount(3);
    other.SetValuesIndex(1);
    combo.setProperty("ListOption", QVariant::fromValue(&other));
    EXPECT_EQ(combo.ListOption()->ItemCount(), 3);
    EXPECT_EQ(combo.ListOption()->ValuesIndex(), 1);
    combo.setProperty("Values", QStringList { Q("1"), Q("2") });
    combo.setProperty("Items", QStringList { Q("x;one"), Q("y;two") });
    combo.SetValueIndex(1);
    EXPECT_EQ(combo.text(), Q("y"));
}

TEST(ComboValue, DropDownListTakesListedValuesOnly)
{
    TwCombo combo;
    combo.SetValues({ Q("10"), Q("20"), Q("30") });
    combo.SetItems({ Q("ten"), Q("twenty"), Q("thirty") });
    EXPECT_TRUE(combo.IsNull());
    EXPECT_EQ(combo.GetInteger(), 0);

    combo.SetString(Q("20"));
    EXPECT_EQ(State(combo), Q("1|twenty"));
    combo.SetString(Q("25"));
    EXPECT_EQ(State(combo), Q("1|twenty"));
    EXPECT_EQ(combo.GetInteger(), 20);
    EXPECT_EQ(combo.GetFloat(), 20.0);
    EXPECT_FALSE(combo.IsNull());

    combo.SetInteger(30);
    EXPECT_EQ(State(combo), Q("2|thirty"));
    combo.Clear();
    EXPECT_EQ(State(combo), Q("-1|"));
    EXPECT_TRUE(combo.GetVariant().isNull());
}

TEST(ComboValue, DropDownTakesFreeTextSilently)
{
    TwCombo combo;
    combo.SetStyle(wcsDropDown);
    combo.SetValues({ Q("10"), Q("20"), Q("30") });
    combo.SetItems({ Q("ten"), Q("twenty"), Q("thirty") });
    combo.SetString(Q("20"));
    QSignalSpy values(&combo, &TwCombo::OnValueChange);
    QSignalSpy changes(&combo, &TwCustomCombo::OnChange);

    combo.SetString(Q("25"));
    EXPECT_EQ(State(combo), Q("-1|25"));
    EXPECT_EQ(values.count(), 1);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(combo.GetString(), Q("25"));
    EXPECT_FALSE(combo.IsNull());
    EXPECT_EQ(combo.GetInteger(), 25);

    combo.SetString(Q("abc"));
    EXPECT_EQ(ErrorOf([&] { combo.GetInteger(); }), Q("'abc' is not a valid integer value"));
    combo.setText(QString());
    EXPECT_TRUE(combo.IsNull());
}

TEST(ComboValue, SelectingRowsLimitsAndFollowsTheOption)
{
    TwCombo combo;
    combo.SetValues({ Q("10"), Q("20"), Q("30") });
    combo.SetItems({ Q("10;ten"), Q("20;twenty"), Q("30;thirty") });
    QSignalSpy values(&combo, &TwCombo::OnValueChange);

    combo.SetValueIndex(1);
    EXPECT_EQ(State(combo), Q("1|20")); // the first item field
    combo.SetItems({ Q("ten;10"), Q("twenty;20"), Q("thirty;30") });
    EXPECT_EQ(State(combo), Q("1|twenty"));
    combo.ListOption()->SetValuesIndex(0);
    EXPECT_EQ(State(combo), Q("1|20"));

    combo.SetValueIndex(7);
    EXPECT_EQ(State(combo), Q("2|30"));
    combo.SetValueIndex(-5);
    EXPECT_EQ(State(combo), Q("-1|"));
    EXPECT_EQ(values.count(), 3);

    combo.SetValueIndex(2);
    combo.SetValues({ Q("10") }); // fewer values: the selection is limited again
    EXPECT_EQ(State(combo), Q("0|10"));

    combo.SetDesigning(true);
    combo.setObjectName(Q("BranchCombo"));
    EXPECT_EQ(combo.text(), Q("BranchCombo"));
    combo.SetValueIndex(-1);
    EXPECT_EQ(combo.ValueIndex(), 0);
}

TEST(ComboKeys, ArrowsAndPagesStepTheClosedCombo)
{
    ComboForm form;
    TwCombo &combo = *form.combo;
    combo.ListOption()->SetItemCount(2);
    QSignalSpy values(&combo, &TwCombo::OnValueChange);

    QTest::keyClick(&combo, Qt::Key_Up);
    EXPECT_EQ(State(combo), Q("0|ten"));
    QTest::keyClick(&combo, Qt::Key_PageDown);
    EXPECT_EQ(State(combo), Q("2|thirty"));
    values.clear();
    QTest::keyClick(&combo, Qt::Key_Down); // the last row stays, silently
    EXPECT_EQ(State(combo), Q("2|thirty"));
    EXPECT_EQ(values.count(), 0);
    QTest::keyClick(&combo, Qt::Key_PageUp);
    EXPECT_EQ(State(combo), Q("0|ten"));

    // Without values a list-only combo takes no typed character, composed ones neither.
    TwCombo empty;
    empty.show();
    QTest::keyClick(&empty, Qt::Key_A);
    EXPECT_EQ(empty.text(), QString());
    EXPECT_FALSE(empty.DroppedDown());
    QInputMethodEvent compose(Q("ㄱ"), {});
    QApplication::sendEvent(&empty, &compose);
    QInputMethodEvent commit;
    commit.setCommitString(Q("가"));
    QApplication::sendEvent(&empty, &commit);
    EXPECT_EQ(empty.text(), QString());
    EXPECT_FALSE(empty.DroppedDown());
}

TEST(ComboDropDown, KeysChooseAndEscapeRestores)
{
    ComboForm form;
    TwCombo &combo = *form.combo;
    combo.SetValueIndex(0);
    QSignalSpy drops(&combo, &TwCustomCombo::OnDropDown);
    QSignalSpy closes(&combo, &TwCustomCombo::OnCloseUp);

    QTest::keyClick(&combo, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(combo.DroppedDown());
    EXPECT_TRUE(combo.List()->isVisible());
    QTest::keyClick(form.Popup(), Qt::Key_Down);
    if (qApp->platformName() == QLatin1String("xcb")) {
        // The offscreen platform puts a frame around popups; a real display places the list
        // right under the combo.
        EXPECT_EQ(combo.List()->pos(), combo.mapToGlobal(QPoint(0, combo.height())));
        QApplication::processEvents();
        // The picture: the combo with its open list under it.
        const QPixmap edit = combo.grab();
        const QPixmap list = combo.List()->grab();
        QPixmap picture(qMax(edit.width(), list.width()), edit.height() + list.height());
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.drawPixmap(0, 0, edit);
        painter.drawPixmap(0, edit.height(), list);
        painter.end();
        picture.save(PicturePath(QStringLiteral("combo.png")));
    }
    QTest::keyClick(form.Popup(), Qt::Key_Return);
    EXPECT_FALSE(combo.DroppedDown());
    EXPECT_EQ(State(combo), Q("1|twenty"));
    EXPECT_EQ(drops.count(), 1);
    ASSERT_EQ(closes.count(), 1);
    EXPECT_TRUE(closes.at(0).at(0).toBool());

    QTest::keyClick(&combo, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(form.Popup(), Qt::Key_Down);
    QTest::keyClick(form.Popup(), Qt::Key_Escape);
    EXPECT_FALSE(combo.DroppedDown());
    EXPECT_EQ(State(combo), Q("1|twenty"));
    EXPECT_FALSE(closes.at(1).at(0).toBool());

    // Alt+Up toggles the list closed again.
    QTest::keyClick(&combo, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(&combo, Qt::Key_Up, Qt::AltModifier);
    EXPECT_FALSE(combo.DroppedDown());
}

TEST(ComboDropDown, EscapeRestoresTheTextBeforeTyping)
{
    ComboForm form(wcsDropDown);
    TwCombo &combo = *form.combo;
    combo.SetString(Q("free"));
    QTest::keyClick(&combo, Qt::Key_End);
    QTest::keyClicks(&combo, Q("t"));
    ASSERT_TRUE(combo.DroppedDown()); // typing opens the list
    QTest::keyClicks(form.Popup(), Q("w"));
    EXPECT_EQ(combo.text(), Q("freetw"));
    QTest::keyClick(form.Popup(), Qt::Key_Escape);
    EXPECT_EQ(State(combo), Q("-1|free"));

    // A typed text that no row begins with is kept by Enter, without a value.
    combo.SetValueIndex(1);
    QTest::keyClick(&combo, Qt::Key_Down, Qt::AltModifier);
    ASSERT_EQ(combo.List()->ItemIndex(), 1);
    combo.selectAll();
    QTest::keyClicks(form.Popup(), Q("xy"));
    EXPECT_EQ(combo.List()->ItemIndex(), -1);
    QTest::keyClick(form.Popup(), Qt::Key_Return);
    EXPECT_EQ(State(combo), Q("-1|xy"));

    // Typing the start of an item locates it; Enter takes it.
    combo.selectAll();
    QTest::keyClicks(&combo, Q("thi"));
    EXPECT_EQ(combo.List()->ItemIndex(), 2);
    QTest::keyClick(form.Popup(), Qt::Key_Enter);
    EXPECT_EQ(State(combo), Q("2|thirty"));
}

TEST(ComboDropDown, FocusOutClosesOnlyWhenLeaving)
{
    ComboForm form;
    TwCombo &combo = *form.combo;
    combo.SetValueIndex(1);
    combo.DropDown(true);
    ASSERT_TRUE(combo.DroppedDown());
    QFocusEvent popupOut(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(&combo, &popupOut);
    EXPECT_TRUE(combo.DroppedDown());

    combo.selectAll();
    QTest::keyClicks(form.Popup(), Q("xy"));
    form.other->setFocus(Qt::TabFocusReason);
    // The focus change reaches the combo through the window system: wait for it, not for
    // one turn of the event loop (a slow, sanitized run needs more).
    EXPECT_TRUE(QTest::qWaitFor([&combo] { return !combo.DroppedDown(); }, 5000));
    EXPECT_FALSE(combo.List()->isVisible());
    EXPECT_EQ(State(combo), Q("1|twenty")); // a list-only combo shows a listed value again

    // An input method's composition opens the list first.
    combo.setFocus();
    QInputMethodEvent compose(Q("ㅅ"), {});
    QApplication::sendEvent(&combo, &compose);
    EXPECT_TRUE(combo.DroppedDown());
}

TEST(ComboDropDown, OpensAboveNearTheScreenBottom)
{
    ComboForm form;
    TwCombo &combo = *form.combo;
    const QRect screen = combo.screen()->geometry();
    form.window.move(screen.left() + 40, screen.bottom() - form.window.frameGeometry().height() - 10);
    QApplication::processEvents();
    combo.DropDown(true);
    ASSERT_TRUE(combo.DroppedDown());
    EXPECT_LT(combo.List()->geometry().bottom(), combo.mapToGlobal(QPoint(0, 0)).y() + 3);

    // The owner chooses the row images.
    QObject::connect(&combo, &TwCombo::OnGetImageIndex, [](int row, int &index) { index = row * 10; });
    EXPECT_EQ(combo.List()->GetImageIndex(2), 20);
}

TEST(ComboMouse, PressDragReleaseChoosesTheRowUnderTheRelease)
{
    ComboForm form;
    TwCombo &combo = *form.combo;
    // Through the form's window, as the display delivers them: Qt passes the events after
    // the press to the open list.
    QWindow *window = form.window.windowHandle();
    const auto inWindow = [&](QWidget *widget, QPoint at) { return window->mapFromGlobal(widget->mapToGlobal(at)); };
    QTest::mousePress(window, Qt::LeftButton, {}, inWindow(&combo, form.ButtonCentre()));
    ASSERT_TRUE(combo.DroppedDown());
    TwItemList *list = combo.List();
    const QPoint third(list->width() / 2, list->height() - 4);
    QTest::mouseMove(window, inWindow(list, third));
    QTest::mouseRelease(window, Qt::LeftButton, {}, inWindow(list, third));
    EXPECT_FALSE(combo.DroppedDown());
    EXPECT_EQ(State(combo), Q("2|thirty"));

    // A click on the button opens the list and leaves it open; the next press there closes it.
    const QPoint button = list->mapFromGlobal(combo.mapToGlobal(form.ButtonCentre()));
    QTest::mousePress(&combo, Qt::LeftButton, {}, form.ButtonCentre());
    QTest::mouseRelease(list, Qt::LeftButton, {}, button);
    EXPECT_TRUE(combo.DroppedDown());
    QTest::mousePress(list, Qt::LeftButton, {}, button);
    QTest::mouseRelease(list, Qt::LeftButton, {}, button);
    QApplication::processEvents();
    EXPECT_FALSE(combo.DroppedDown());
    EXPECT_EQ(State(combo), Q("2|thirty"));
}

TEST(ComboMouse, ButtonPaintsAtTheRightEdge)
{
    ComboForm form;
    TwCombo &combo = *form.combo;
    const QRect button = combo.GetCustomRect();
    EXPECT_EQ(button.width(), combo.ButtonWidth());
    EXPECT_GE(button.right(), combo.width() - 3);
    const QImage image = combo.grab().toImage();
    // The arrow: a dark pixel in the middle of the button, none in the edit's empty field.
    const auto dark = [&](QPoint at) { return qGray(image.pixel(at)) < 96; };
    bool arrow = false;
    for (int y = button.top(); y <= button.bottom(); ++y)
        arrow = arrow || dark(QPoint(button.center().x(), y));
    EXPECT_TRUE(arrow);
    EXPECT_FALSE(dark(QPoint(button.left() - 6, combo.height() / 2)));
}

// A row past the last value (more items than values) selects nothing instead of the last value.
TEST(ComboRegression, RowWithoutValueSelectsNothing)
{
    ComboForm form;
    TwCombo &combo = *form.combo;
    combo.SetItems({ Q("ten"), Q("twenty"), Q("thirty"), Q("forty") });
    combo.SetValueIndex(1);
    QTest::keyClick(&combo, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(form.Popup(), Qt::Key_End);
    ASSERT_EQ(combo.List()->ItemIndex(), 3);
    QTest::keyClick(form.Popup(), Qt::Key_Return);
    EXPECT_EQ(State(combo), Q("-1|"));
    EXPECT_TRUE(combo.IsNull());
}

// Values replaced while the list is open leave the value index past them until it closes:
// reading the value then must not reach past the values, and closing limits the index.
TEST(ComboRegression, ValuesShrinkingUnderAnOpenListAreReadSafely)
{
    ComboForm form(wcsDropDown);
    TwCombo &combo = *form.combo;
    combo.SetValueIndex(2);
    combo.DropDown(false);
    ASSERT_TRUE(combo.DroppedDown());
    combo.SetValues({ Q("10") });
    EXPECT_EQ(combo.GetString(), Q("thirty")) << "no value: the edit text";
    QTest::keyClick(form.Popup(), Qt::Key_Escape);
    EXPECT_EQ(State(combo), Q("0|ten"));
    EXPECT_EQ(combo.GetInteger(), 10);

    combo.DropDown(false);
    combo.SetValues({});
    QTest::keyClick(form.Popup(), Qt::Key_Return);
    EXPECT_EQ(State(combo), Q("-1|"));
}

// The open list holds the pointer and the keyboard: hiding the form or the combo, or
// disabling the combo, closes it without a choice.
TEST(ComboRegression, HidingOrDisablingClosesTheList)
{
    ComboForm form;
    TwCombo &combo = *form.combo;
    combo.SetValueIndex(1);
    QSignalSpy closes(&combo, &TwCustomCombo::OnCloseUp);
    combo.DropDown(true);
    form.window.hide();
    EXPECT_FALSE(combo.DroppedDown());
    EXPECT_FALSE(combo.List()->isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    form.window.show();

    combo.DropDown(true);
    combo.hide();
    EXPECT_FALSE(combo.List()->isVisible());
    combo.show();

    combo.DropDown(true);
    QTest::keyClick(form.Popup(), Qt::Key_Down);
    combo.setEnabled(false);
    EXPECT_FALSE(combo.List()->isVisible());
    EXPECT_EQ(State(combo), Q("1|twenty"));
    ASSERT_EQ(closes.count(), 3);
    EXPECT_FALSE(closes.at(2).at(0).toBool());
}

// A click on a row of the open list chooses it, whether the list was opened by the button or
// by Alt+Down: the press hands the list the focus, which is not the combo losing it. The
// clicks go through the list's own window, as the display delivers them to an open popup.
TEST(ComboRegression, ClickOnARowOfTheOpenListChoosesIt)
{
    ComboForm form;
    TwCombo &combo = *form.combo;
    QSignalSpy closes(&combo, &TwCustomCombo::OnCloseUp);
    const auto clickRow = [&](int row) {
        TwItemList *list = combo.List();
        ASSERT_TRUE(list->isVisible());
        const int top = list->FrameWidth() + list->HeaderHeight() + (row - list->TopRow()) * list->RowHeight();
        const QPoint at(list->width() / 2, top + list->RowHeight() / 2);
        ASSERT_EQ(list->MouseToRow(at.x(), at.y()), row);
        QWindow *window = list->windowHandle();
        ASSERT_NE(window, nullptr);
        QTest::mouseClick(window, Qt::LeftButton, {}, at);
    };

    QTest::mouseClick(&combo, Qt::LeftButton, {}, form.ButtonCentre());
    ASSERT_TRUE(combo.DroppedDown());
    clickRow(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !combo.DroppedDown(); }, 5000));
    EXPECT_EQ(State(combo), Q("1|twenty"));
    ASSERT_EQ(closes.count(), 1);
    EXPECT_TRUE(closes.at(0).at(0).toBool()) << "accepted, not cancelled";

    combo.setFocus();
    QTest::keyClick(&combo, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(combo.DroppedDown());
    clickRow(2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !combo.DroppedDown(); }, 5000));
    EXPECT_EQ(State(combo), Q("2|thirty"));
    ASSERT_EQ(closes.count(), 2);
    EXPECT_TRUE(closes.at(1).at(0).toBool());
}

// The list opens directly below the control's left edge, or directly above it near the
// bottom of the screen, touching the control without overlapping it.
TEST(ComboRegression, TheListOpensAgainstTheControlsEdge)
{
    ComboForm form;
    TwCombo &combo = *form.combo;
    combo.DropDown(true);
    ASSERT_TRUE(combo.DroppedDown());
    EXPECT_EQ(combo.List()->frameGeometry().topLeft(), combo.mapToGlobal(QPoint(0, combo.height())));
    combo.CloseUp(false);

    const QRect screen = combo.screen()->geometry();
    form.window.move(screen.left() + 40, screen.bottom() - form.window.frameGeometry().height() - 10);
    QApplication::processEvents();
    combo.DropDown(true);
    ASSERT_TRUE(combo.DroppedDown());
    const QRect list = combo.List()->frameGeometry();
    EXPECT_EQ(list.left(), combo.mapToGlobal(QPoint(0, 0)).x());
    EXPECT_EQ(list.bottom() + 1, combo.mapToGlobal(QPoint(0, 0)).y());
}

// A press on the list that chooses no row (its scroll bar) leaves it the keyboard: the focus
// moving on from there to another control still closes the list without a choice.
TEST(ComboRegression, FocusLeavingTheListForAnotherControlClosesIt)
{
    ComboForm form;
    TwCombo &combo = *form.combo;
    QStringList values, items;
    for (int i = 0; i < 12; ++i) {
        values << QString::number(i);
        items << QStringLiteral("item %1").arg(i);
    }
    combo.SetValues(values);
    combo.SetItems(items);
    combo.SetValueIndex(1);
    combo.DropDown(true);
    ASSERT_TRUE(combo.DroppedDown());
    combo.List()->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return combo.List()->hasFocus(); }, 5000));
    EXPECT_TRUE(combo.DroppedDown()) << "the list taking the keyboard is no leaving";
    QTest::keyClick(combo.List(), Qt::Key_Down);
    form.other->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !combo.DroppedDown(); }, 5000));
    EXPECT_FALSE(combo.List()->isVisible());
    EXPECT_EQ(State(combo), Q("1|item 1"));
}
