#include "grid/uxnedit.h"

#include "testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Counts refusal beeps instead of sounding them.
class BeepCountingEdit : public TwCustomNumEdit
{
public:
    int Beeps = 0;

protected:
    void ErrBeep() override { ++Beeps; }
};

// Presses keys: plain characters are typed, <Name> and <S-Name> press a named key
// (Home, End, Left, Right, Del, BS) without or with Shift.
void Press(QWidget *widget, const QString &keys)
{
    static const QHash<QString, Qt::Key> named
        = { { QStringLiteral("Home"), Qt::Key_Home }, { QStringLiteral("End"), Qt::Key_End },
              { QStringLiteral("Left"), Qt::Key_Left }, { QStringLiteral("Right"), Qt::Key_Right },
              { QStringLiteral("Del"), Qt::Key_Delete }, { QStringLiteral("BS"), Qt::Key_Backspace } };
    for (int i = 0; i < keys.size();) {
        if (keys.at(i) != QLatin1Char('<')) {
            QTest::keyClick(widget, keys.at(i++).toLatin1());
            continue;
        }
        const int close = keys.indexOf(QLatin1Char('>'), i);
        QString name = keys.mid(i + 1, close - i - 1);
        i = close + 1;
        const bool shift = name.startsWith(QLatin1String("S-"));
        if (shift)
            name = name.mid(2);
        ASSERT_TRUE(named.contains(name)) << name.toStdString();
        QTest::keyClick(widget, named.value(name), shift ? Qt::ShiftModifier : Qt::NoModifier);
    }
}

// "raw|display|caret" in one line, so a failure shows the whole state.
QString State(const TwCustomNumEdit &edit)
{
    return QStringLiteral("%1|%2|%3").arg(edit.RawText(), edit.DisplayText()).arg(edit.CaretPos());
}

const double Null = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

// Start NaN: the edit starts null (EnableNull on). Expected is raw|display|caret.
struct KeyCase
{
    const char *Name;
    int Precision, MaxLength;
    double Start;
    bool EnableNull;
    const char *Keys, *Expected;
    int Beeps;
};

void RunCases(const std::vector<KeyCase> &cases)
{
    for (const KeyCase &c : cases) {
        BeepCountingEdit edit;
        edit.SetMaxLength(c.MaxLength);
        edit.SetPrecision(c.Precision);
        edit.SetEnableNull(c.EnableNull || std::isnan(c.Start));
        if (std::isnan(c.Start))
            edit.Clear();
        else
            edit.SetValue(c.Start);
        Press(&edit, QString::fromLatin1(c.Keys));
        EXPECT_EQ(State(edit), QString::fromUtf8(c.Expected)) << c.Name;
        EXPECT_EQ(edit.Beeps, c.Beeps) << c.Name;
    }
}

bool IsDark(const QColor &color) { return color.lightness() < 110; }

int CountPixels(const QImage &image, const QRect &area, const std::function<bool(const QColor &)> &test)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

QImage Grab(QWidget &widget) { return widget.grab().toImage(); }

// The text band of the edit between the caret positions `from` and `to`.
QRect Columns(const TwCustomNumEdit &edit, int from, int to)
{
    const QRect area = edit.EditRect();
    return QRect(edit.PosToX(from), area.top(), edit.PosToX(to) - edit.PosToX(from), area.height());
}

// A window with two number edits, shown and active, so that focus really moves.
struct FocusForm
{
    QWidget Window;
    QVBoxLayout *Layout = new QVBoxLayout(&Window);
    BeepCountingEdit *First = new BeepCountingEdit;
    BeepCountingEdit *Second = new BeepCountingEdit;

    FocusForm()
    {
        Layout->addWidget(First);
        Layout->addWidget(Second);
    }
    bool Show()
    {
        Window.show();
        Window.activateWindow();
        if (!QTest::qWaitForWindowActive(&Window))
            return false;
        Second->setFocus();
        return Second->hasFocus();
    }
};

} // namespace

TEST(NumEditDefaults, NewControlAndPrecisionMaxLengthClamp)
{
    TwCustomNumEdit edit;
    EXPECT_EQ(State(edit), QStringLiteral("0|0|1"));
    EXPECT_TRUE(edit.setProperty("Value", 12.5));
    EXPECT_EQ(edit.RawText(), QStringLiteral("13")); // rounded to the precision
    edit.SetPrecision(12);
    EXPECT_EQ(edit.Precision(), 10); // at most MaxLength
    edit.SetMaxLength(3);
    EXPECT_EQ(edit.MaxLength(), 10); // never below Precision
    edit.SetMaxLength(0);
    edit.SetPrecision(12);
    EXPECT_EQ(edit.Precision(), 12);
    edit.SetPrecision(-4);
    EXPECT_EQ(edit.Precision(), 0);
    edit.SetPrecision(1);
    edit.SetValue(2.5);
    edit.SetPrecision(2);
    EXPECT_EQ(edit.RawText(), QStringLiteral("2.50")); // re-applied
}

TEST(NumEditTyping, FixedDecimalsIntegersAndSign)
{
    RunCases({
        { "digit on 0.00 at 0 replaces the zero", 2, 10, 0, false, "<Home>5", "5.00|5.00|1", 0 },
        { "digit on 0.00 at 1 replaces, caret stays", 2, 10, 0, false, "<Home><Right>5", "5.00|5.00|1", 0 },
        { "integer digits insert", 2, 10, 0, false, "<Home>123", "123.00|123.00|3", 0 },
        { "fraction digit overwrites", 2, 10, 12.34, false, "<Home><Right><Right><Right>9", "12.94|12.94|4", 0 },
        { "point jumps into the fraction", 2, 10, 0, false, "<Home>12.5", "12.50|12.50|4", 0 },
        { "point in the fraction jumps back", 2, 10, 1.5, false, "<End>.", "1.50|1.50|1", 0 },
        { "digit past the last decimal does nothing", 2, 10, 1.5, false, "<End>7", "1.50|1.50|4", 0 },
        { "point then two fraction digits", 2, 10, 3, false, "<Home>.12", "3.12|3.12|4", 0 },
        { "point from the last decimal goes back", 2, 10, 3, false, "<End>.12", "312.00|312.00|3", 0 },
        { "MaxLength refuses an integer digit", 2, 5, 123.45, false, "<Home>9", "123.45|123.45|0", 1 },
        { "MaxLength equal to Precision refuses", 2, 2, 0, false, "<Home>4", "0.00|0.00|0", 1 },
        { "leading zero kept in the display", 2, 10, 5, false, "<Home>0", "05.00|05.00|1", 0 },
        { "separators in a long value", 2, 12, 1234567.5, false, "", "1234567.50|1,234,567.50|10", 0 },
        { "digit on null", 2, 10, Null, true, "7", "7.00|7.00|1", 0 },
        { "point on null does nothing", 2, 10, Null, true, ".", "||0", 0 },
        { "digit replaces 0", 0, 10, 0, false, "<Home>7", "7|7|1", 0 },
        { "digit after 0 replaces it", 0, 10, 0, false, "7", "7|7|1", 0 },
        { "seven digits get two separators", 0, 10, 0, false, "1234567", "1234567|1,234,567|7", 0 },
        { "MaxLength keeps the text", 0, 3, 123, false, "4", "123|123|3", 1 },
        { "MaxLength: the caret still steps", 0, 3, 123, false, "<Home>4", "123|123|1", 1 },
        { "typed leading zeros stay", 0, 10, 5, false, "<Home>00", "005|005|2", 0 },
        { "leading zeros before a grouped value", 0, 10, 1234, false, "<Home>0", "01234|01,234|1", 0 },
        { "'.' is not a character of an integer edit", 0, 10, 12, false, ".", "12|12|2", 0 },
        { "letters are ignored", 0, 10, 12, false, "ab", "12|12|2", 0 },
        { "'-' flips a value", 0, 10, 5, false, "-", "5|-5|1", 0 },
        { "'-' twice", 0, 10, 5, false, "--", "5|5|1", 0 },
        { "'-' on 0 is visible", 0, 10, 0, false, "-", "0|-0|1", 0 },
        { "'-' then a digit on 0", 0, 10, 0, false, "-7", "7|-7|1", 0 },
        { "'-' anywhere in the text", 2, 10, 12.5, false, "<Home>-", "12.50|-12.50|0", 0 },
        { "'-' then a digit on null", 2, 10, Null, true, "-3", "3.00|-3.00|1", 0 },
        { "15 significant digits", 0, 0, 0, false, "1234567890123456", "123456789012345|123,456,789,012,345|15", 1 },
        { "the decimals' padding zeros do not count", 2, 0, 0, false, "<Home>1234567890123456",
            "123456789012345.00|123,456,789,012,345.00|15", 1 },
        { "as many decimals as digits allowed", 15, 0, Null, true, "3", "3.000000000000000|3.000000000000000|1", 0 },
        { "leading zeros are not significant", 0, 0, 0, false, "<Home>000", "0|0|1", 0 },
    });
}

TEST(NumEditTyping, CaretStepsOverSeparators)
{
    TwCustomNumEdit edit;
    edit.SetValue(1234567);
    ASSERT_EQ(edit.DisplayText(), QStringLiteral("1,234,567"));
    // Each raw index has its own x; the separators take no caret position.
    for (int i = 1; i <= 7; ++i)
        EXPECT_LT(edit.PosToX(i - 1), edit.PosToX(i)) << i;
    for (int i = 0; i <= 7; ++i)
        EXPECT_EQ(edit.XToPos(edit.PosToX(i)), i);
    EXPECT_EQ(edit.PosToX(7), edit.EditRect().right() - 1);
    const QFontMetrics metrics(edit.font());
    // The caret at raw 1 stands right of the separator, before the 2.
    EXPECT_EQ(edit.PosToX(1) - edit.PosToX(0),
        metrics.horizontalAdvance(QStringLiteral("1,234,567")) - metrics.horizontalAdvance(QStringLiteral("234,567")));
    Press(&edit, QStringLiteral("<Home><Right><Right>"));
    EXPECT_EQ(edit.CaretPos(), 2);
}

TEST(NumEditDeleting, DeleteBackspaceAndSelections)
{
    const char *integerAndFraction = "<Home><Right><Right><S-Right><S-Right><S-Right><S-Right><Del>";
    RunCases({
        { "Delete at the point steps over it", 2, 10, 12.34, false, "<Home><Right><Right><Del>", "12.34|12.34|3", 0 },
        { "Delete in the fraction zeroes", 2, 10, 12.34, false, "<End><Left><Del>", "12.30|12.30|5", 0 },
        { "Delete on a single integer digit zeroes it", 2, 10, 5, false, "<Home><Del>", "0.00|0.00|1", 0 },
        { "Delete removes an integer digit", 2, 10, 12.34, false, "<Home><Del>", "2.34|2.34|0", 0 },
        { "Delete at the end does nothing", 2, 10, 12.34, false, "<End><Del>", "12.34|12.34|5", 0 },
        { "Delete on one digit gives 0", 0, 10, 5, false, "<Home><Del>", "0|0|1", 0 },
        { "Delete removes a digit", 0, 10, 123, false, "<Home><Del>", "23|23|0", 0 },
        { "Delete with EnableNull empties", 0, 10, 5, true, "<Home><Del>", "||0", 0 },
        { "Delete on null does nothing", 0, 10, Null, true, "<Del>", "||0", 0 },
        { "Delete to null clears the sign", 0, 10, -5, true, "<Home><Del>3", "3|3|1", 0 },
        { "deleting all to null clears the sign", 0, 10, -12, true, "<Home><S-End><Del>4", "4|4|1", 0 },
        { "Backspace in the fraction zeroes", 2, 10, 12.34, false, "<End><BS>", "12.30|12.30|4", 0 },
        { "Backspace after the point steps over it", 2, 10, 12.34, false, "<End><BS><BS><BS>", "12.00|12.00|2", 0 },
        { "Backspace removes an integer digit", 2, 10, 12.34, false, "<End><BS><BS><BS><BS>", "1.00|1.00|1", 0 },
        { "Backspace on one integer digit zeroes it", 2, 10, 12.34, false, "<End><BS><BS><BS><BS><BS>", "0.00|0.00|1",
            0 },
        { "Backspace on one digit gives 0", 0, 10, 5, false, "<BS>", "0|0|0", 0 },
        { "Backspace with EnableNull empties", 0, 10, 5, true, "<BS>", "||0", 0 },
        { "Backspace at 0 removes the minus", 0, 10, -5, false, "<Home><BS>", "5|5|0", 0 },
        { "all, without EnableNull: 0", 0, 10, 123, false, "<Home><S-End><Del>", "0|0|1", 0 },
        { "all, with EnableNull: null", 0, 10, 123, true, "<Home><S-End><Del>", "||0", 0 },
        { "all of a fixed-decimal value: 0.00", 2, 10, 12.5, false, "<Home><S-End><BS>", "0.00|0.00|1", 0 },
        { "inside the integer part", 2, 10, 1234.56, false, "<Home><S-Right><S-Right><Del>", "34.56|34.56|0", 0 },
        { "integer and fraction", 2, 10, 1234.56, false, integerAndFraction, "12.06|12.06|2", 0 },
        { "fraction only", 2, 10, 12.34, false, "<End><S-Left><S-Left><Del>", "12.00|12.00|3", 0 },
        { "from 0 into the fraction gets a 0 in front", 2, 10, 12.34, false,
            "<Home><S-Right><S-Right><S-Right><S-Right><Del>", "0.04|0.04|0", 0 },
        { "a digit replaces the selection", 0, 10, 123, false, "<Home><S-End>7", "7|7|1", 0 },
        { "a digit replaces the integer part", 2, 10, 12.34, false, "<Home><S-Right><S-Right>5", "5.34|5.34|1", 0 },
        { "an arrow without Shift drops the selection", 0, 10, 123, false, "<S-Left><S-Left><Left><Del>", "23|23|0",
            0 },
    });
}

TEST(NumEditSign, ChangeNotifications)
{
    TwCustomNumEdit edit;
    QSignalSpy changes(&edit, &TwCustomNumEdit::OnChange);
    edit.SetValue(5);
    Press(&edit, QStringLiteral("-<Left>"));
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(edit.Value(), -5);
    edit.SetValue(0);
    changes.clear();
    Press(&edit, QStringLiteral("-")); // a flip on 0 changes no value
    EXPECT_EQ(changes.count(), 0);
    Press(&edit, QStringLiteral("4"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(edit.Value(), -4);
}

TEST(NumEditSign, ReadOnlyRefusesEveryChange)
{
    TwCustomNumEdit edit;
    edit.SetValue(12);
    edit.SetReadOnly(true);
    edit.SetSpinner(true);
    Press(&edit, QStringLiteral("5-<BS><Del>"));
    edit.SpinClick(1);
    EXPECT_EQ(edit.Value(), 12);
    Press(&edit, QStringLiteral("<Left>"));
    EXPECT_EQ(edit.CaretPos(), 1); // the caret still moves
}

TEST(NumEditRange, SpinStepsAndButtonHalves)
{
    TwCustomNumEdit edit;
    edit.SetSpinner(true);
    edit.SetValue(10);
    const QRect spin = edit.SpinRect();
    ASSERT_FALSE(spin.isEmpty());
    EXPECT_EQ(spin.right(), edit.rect().right() - 2);
    QTest::mouseClick(&edit, Qt::LeftButton, Qt::NoModifier, QPoint(spin.center().x(), spin.top() + 1));
    EXPECT_EQ(edit.Value(), 11);
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(&edit, Qt::LeftButton, Qt::NoModifier, QPoint(spin.center().x(), spin.bottom() - 1));
    EXPECT_EQ(edit.Value(), 9);
    edit.SpinClick(-3);
    EXPECT_EQ(edit.Value(), 6);

    edit.SetMinValue(0);
    edit.SetMaxValue(100);
    edit.SetValue(100);
    edit.SpinClick(1);
    EXPECT_EQ(edit.Value(), 100);
    int seenDelta = 0;
    QObject::connect(
        &edit, &TwCustomNumEdit::OnSpinClick, &edit, [&seenDelta](TwCustomNumEdit *, int delta, bool &accept) {
            seenDelta = delta;
            accept = false;
        });
    edit.SpinClick(-1);
    EXPECT_EQ(seenDelta, -1);
    EXPECT_EQ(edit.Value(), 100);
}

// Typing is not held to the range: a value on its way to a number within it ("25" typed
// into 1..12 before the user thinks better of it, "150" for 0..100) keeps every digit, and
// leaving the control clamps it.
TEST(NumEditLimits, RegressionTypingKeepsDigitsBeyondTheRangeAndLeavingClamps)
{
    // Start NaN: a new control. A refused key beeps and leaves the value.
    const struct
    {
        double Min, Max, Start;
        const char *Keys;
        double Typed;
        double Left; // after the focus leaves
        int Beeps;
    } cases[] = {
        { 1, 12, Null, "25", 25, 12, 0 },
        { 0, 100, Null, "150", 150, 100, 0 },
        { 0, 100, 5, "-", 5, 5, 1 }, // no minus when the range is not negative
        { -32768, 32767, -32768, "-", 32768, 32767, 0 },
        { -100, -10, Null, "50-0", -500, -100, 0 },
        { 0, 255, 200, "<Home><S-Right>3", 300, 255, 0 },
        { 3, 9, Null, "5", 5, 5, 0 },
        { 0, 0, Null, "123456", 123456, 123456, 0 }, // equal bounds: no range
    };
    for (const auto &c : cases) {
        FocusForm form;
        ASSERT_TRUE(form.Show());
        BeepCountingEdit &edit = *form.First;
        edit.SetMinValue(c.Min);
        edit.SetMaxValue(c.Max);
        edit.SetAutoSelect(false);
        edit.setFocus();
        if (!std::isnan(c.Start))
            edit.SetValue(c.Start);
        Press(&edit, QString::fromLatin1(c.Keys));
        EXPECT_EQ(edit.Value(), c.Typed) << c.Min << ".." << c.Max << " " << c.Keys;
        EXPECT_EQ(edit.Beeps, c.Beeps) << c.Min << ".." << c.Max << " " << c.Keys;
        form.Second->setFocus();
        EXPECT_EQ(edit.Value(), c.Left) << c.Min << ".." << c.Max << " " << c.Keys;
    }
}

TEST(NumEditLimits, CheckValueClampsToADifferingRange)
{
    BeepCountingEdit edit;
    EXPECT_EQ(edit.CheckValue(-7), -7); // equal bounds: no range
    edit.SetMinValue(0);
    edit.SetMaxValue(255);
    EXPECT_EQ(edit.CheckValue(300), 255);
    EXPECT_EQ(edit.CheckValue(-5), 0);
    EXPECT_EQ(edit.CheckValue(42.5), 42.5);
}

TEST(NumEditLimits, NanAndInfinitiesAreNeverAccepted)
{
    TwCustomNumEdit edit;
    edit.SetValue(12);
    QSignalSpy changes(&edit, &TwCustomNumEdit::OnChange);
    for (const double bad : { Null, Inf, -Inf })
        edit.SetValue(bad);
    edit.setProperty("Value", Null);
    EXPECT_EQ(edit.Value(), 12);
    EXPECT_EQ(changes.count(), 0);
    edit.SetMaxValue(Null);
    edit.SetMinValue(-Inf);
    EXPECT_EQ(edit.MaxValue(), 0);
    EXPECT_EQ(edit.MinValue(), 0);
}

TEST(NumEditClipboard, CopyAndCutTakeTheRawSelection)
{
    TwCustomNumEdit edit;
    edit.SetPrecision(2);
    edit.SetValue(-1234.5);
    Press(&edit, QStringLiteral("<Home><S-End>"));
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1234.50"));
    Press(&edit, QStringLiteral("<Home><S-Right><S-Right>"));
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("12"));
    EXPECT_EQ(edit.RawText(), QStringLiteral("34.50"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.RawText(), QStringLiteral("34.50")); // pasting inserts nothing
}

TEST(NumEditFocus, EnteringLeavingAndMouseSelection)
{
    FocusForm form;
    ASSERT_TRUE(form.Show());
    BeepCountingEdit *first = form.First, *second = form.Second;
    first->SetPrecision(2);
    first->SetValue(1234.5);
    first->setFocus();
    EXPECT_EQ(first->SelStart(), 0);
    EXPECT_EQ(first->SelEnd(), 4);
    Press(first, QStringLiteral("9"));
    EXPECT_EQ(State(*first), QStringLiteral("9.50|9.50|1"));
    second->SetAutoSelect(false);
    second->setFocus();
    EXPECT_EQ(second->SelStart(), second->SelEnd());

    first->SetPrecision(0);
    first->SetMinValue(10);
    first->SetMaxValue(100);
    first->setFocus();
    Press(first, QStringLiteral("5"));
    EXPECT_EQ(first->Value(), 5); // a value on its way to the range is allowed
    second->setFocus();
    EXPECT_EQ(first->Value(), 10);
    second->SetValue(0);
    Press(second, QStringLiteral("-"));
    EXPECT_EQ(second->DisplayText(), QStringLiteral("-0"));
    first->setFocus();
    EXPECT_EQ(second->DisplayText(), QStringLiteral("0"));

    // Null stays null on leaving; without EnableNull it becomes the range's value.
    first->SetEnableNull(true);
    first->Clear();
    second->setFocus();
    EXPECT_TRUE(first->IsNull());
    first->SetEnableNull(false);
    first->SetMinValue(3);
    first->SetMaxValue(9);
    first->setFocus();
    second->setFocus();
    EXPECT_EQ(first->Value(), 3);
    EXPECT_FALSE(first->IsNull());

    // The mouse drags a selection; a double click selects all.
    first->SetValue(123456);
    const int y = first->height() / 2;
    QTest::mousePress(first, Qt::LeftButton, Qt::NoModifier, QPoint(first->PosToX(1), y));
    QTest::mouseMove(first, QPoint(first->PosToX(4), y));
    QTest::mouseRelease(first, Qt::LeftButton, Qt::NoModifier, QPoint(first->PosToX(4), y));
    EXPECT_EQ(first->SelStart(), 1);
    EXPECT_EQ(first->SelEnd(), 4);
    QTest::mouseDClick(first, Qt::LeftButton, Qt::NoModifier, QPoint(first->PosToX(2), y));
    EXPECT_EQ(first->SelStart(), 0);
    EXPECT_EQ(first->SelEnd(), 6);
}

TEST(NumEditPainting, TextSignNullAndDisabled)
{
    TwCustomNumEdit edit;
    edit.SetValue(5);
    const int minusWidth = QFontMetrics(edit.font()).horizontalAdvance(QLatin1Char('-'));
    const QRect minusArea = Columns(edit, 0, 0).adjusted(-minusWidth, 0, 0, 0);
    EXPECT_GT(CountPixels(Grab(edit), Columns(edit, 0, 1), IsDark), 0);
    EXPECT_EQ(CountPixels(Grab(edit), minusArea, IsDark), 0);
    Press(&edit, QStringLiteral("-"));
    EXPECT_GT(CountPixels(Grab(edit), minusArea, IsDark), 0);
    edit.SetEnableNull(true);
    edit.Clear();
    EXPECT_EQ(CountPixels(Grab(edit), edit.EditRect(), IsDark), 0);

    // Disabled text is grey: inked, but nothing near black.
    edit.SetValue(8888);
    edit.setEnabled(false);
    const QImage image = Grab(edit);
    EXPECT_EQ(CountPixels(image, Columns(edit, 0, 4), [](const QColor &c) { return c.lightness() < 60; }), 0);
    EXPECT_GT(CountPixels(image, Columns(edit, 0, 4), [](const QColor &c) { return c.lightness() < 200; }), 0);
}

TEST(NumEditPainting, BordersAndSpinner)
{
    TwCustomNumEdit edit;
    edit.SetValue(1);
    const QColor base = edit.palette().color(QPalette::Base);
    EXPECT_EQ(Grab(edit).pixelColor(1, 5), QColor(Qt::black)); // inner edge
    EXPECT_EQ(edit.EditRect().left(), 2);
    edit.SetBorderStyle(bsNone);
    EXPECT_EQ(Grab(edit).pixelColor(0, 5), base);
    EXPECT_EQ(edit.EditRect(), edit.rect());
    edit.SetSpinner(true);
    const QRect spin = edit.SpinRect();
    EXPECT_EQ(spin.right(), edit.rect().right());
    const auto notBase = [&base](const QColor &color) { return color != base; };
    EXPECT_GT(CountPixels(Grab(edit), spin, notBase), spin.width() * spin.height() / 2);
    EXPECT_LT(edit.PosToX(1), spin.left()); // the digit moved left of the button
}

TEST(NumEditPainting, FocusedSelectionCoversTheWholeNumber)
{
    FocusForm form;
    form.Second->SetSpinner(true);
    form.Second->SetValue(-1234567);
    form.First->SetPrecision(2);
    form.First->SetValue(98765.43);
    ASSERT_TRUE(form.Show());
    form.First->setFocus();

    const QImage image = Grab(*form.First);
    const QColor highlight = form.First->palette().color(QPalette::Highlight);
    const auto isHighlight = [&highlight](const QColor &c) { return c == highlight; };
    const QRect band = Columns(*form.First, 0, form.First->SelEnd());
    EXPECT_GT(CountPixels(image, band, isHighlight), band.width());
    EXPECT_EQ(CountPixels(image, Columns(*form.First, 6, 8), isHighlight), 0); // not the fraction
}

TEST(NumEditPainting, CaretShowsWhileFocusedAndBlinks)
{
    FocusForm form;
    TwCustomNumEdit *edit = form.First;
    edit->SetAutoSelect(false);
    edit->SetValue(12);
    ASSERT_TRUE(form.Show());
    const QRect caretColumn(edit->PosToX(2), edit->EditRect().top(), 1, edit->EditRect().height());
    EXPECT_EQ(CountPixels(Grab(*edit), caretColumn, IsDark), 0);
    edit->setFocus();
    Press(edit, QStringLiteral("<End>"));
    const int ink = CountPixels(Grab(*edit), caretColumn, IsDark);
    EXPECT_GE(ink, QFontMetrics(edit->font()).height() - 1);
    if (QApplication::cursorFlashTime() > 0) {
        EXPECT_TRUE(WaitUntil([&] { return CountPixels(Grab(*edit), caretColumn, IsDark) < ink; }, 3000));
    }
}
