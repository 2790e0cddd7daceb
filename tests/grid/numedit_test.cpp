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
    for (int i = 0; i < keys.size();) {
        if (keys.at(i) != QLatin1Char('<')) {
            QTest::keyClick(widget, keys.at(i).toLatin1());
            ++i;
            continue;
        }
        const int close = keys.indexOf(QLatin1Char('>'), i);
        QString name = keys.mid(i + 1, close - i - 1);
        i = close + 1;
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
        if (name.startsWith(QLatin1String("S-"))) {
            modifiers = Qt::ShiftModifier;
            name = name.mid(2);
        }
        Qt::Key key = Qt::Key_unknown;
        if (name == QLatin1String("Home"))
            key = Qt::Key_Home;
        else if (name == QLatin1String("End"))
            key = Qt::Key_End;
        else if (name == QLatin1String("Left"))
            key = Qt::Key_Left;
        else if (name == QLatin1String("Right"))
            key = Qt::Key_Right;
        else if (name == QLatin1String("Del"))
            key = Qt::Key_Delete;
        else if (name == QLatin1String("BS"))
            key = Qt::Key_Backspace;
        ASSERT_NE(key, Qt::Key_unknown) << name.toStdString();
        QTest::keyClick(widget, key, modifiers);
    }
}

// "raw|display|caret" in one line, so a failure shows the whole state.
QString State(const TwCustomNumEdit &edit)
{
    return QStringLiteral("%1|%2|%3").arg(edit.RawText(), edit.DisplayText()).arg(edit.CaretPos());
}

struct KeyCase
{
    const char *Name;
    int Precision;
    int MaxLength;
    double Start;    // NaN: start null (EnableNull on)
    bool EnableNull;
    const char *Keys;
    const char *Expected; // raw|display|caret
    int Beeps;
};

const double Null = std::numeric_limits<double>::quiet_NaN();

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

} // namespace

TEST(NumEditDefaults, NewControlHoldsZeroWithStoredDefaults)
{
    TwCustomNumEdit edit;
    EXPECT_EQ(edit.size(), QSize(121, 21));
    EXPECT_EQ(edit.focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(State(edit), QStringLiteral("0|0|1"));
    EXPECT_FALSE(edit.IsNull());
    const QStringList expected = {
        QStringLiteral("AutoSelect=true"), QStringLiteral("BorderStyle=1"), QStringLiteral("EnableNull=false"),
        QStringLiteral("Layout=1"),        QStringLiteral("MaxLength=10"),  QStringLiteral("MaxValue=0"),
        QStringLiteral("MinValue=0"),      QStringLiteral("Precision=0"),   QStringLiteral("ReadOnly=false"),
        QStringLiteral("Spinner=false"),   QStringLiteral("Spinner3D=true"), QStringLiteral("ThousandSep=true"),
        QStringLiteral("Value=0"),
    };
    QStringList actual;
    for (const QString &entry : expected) {
        const QString name = entry.section(QLatin1Char('='), 0, 0);
        const QVariant value = edit.property(name.toLatin1().constData());
        ASSERT_TRUE(value.isValid()) << name.toStdString();
        QString text = value.toString();
        if (text.isEmpty())
            text = QString::number(value.value<int>());
        actual << name + QLatin1Char('=') + text;
    }
    EXPECT_EQ(actual.join(QLatin1Char(' ')), expected.join(QLatin1Char(' ')));

    // Stored forms write back through the property system.
    EXPECT_TRUE(edit.setProperty("BorderStyle", 0));
    EXPECT_EQ(edit.BorderStyle(), bsNone);
    EXPECT_TRUE(edit.setProperty("Layout", 2));
    EXPECT_EQ(edit.Layout(), tlBottom);
    EXPECT_TRUE(edit.setProperty("Value", 12.5));
    EXPECT_EQ(edit.RawText(), QStringLiteral("13"));
}

TEST(NumEditDefaults, PrecisionAndMaxLengthClampEachOther)
{
    TwCustomNumEdit edit;
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

TEST(NumEditTyping, FixedDecimals)
{
    RunCases({
        {"digit on 0.00 at 0 replaces the zero", 2, 10, 0, false, "<Home>5", "5.00|5.00|1", 0},
        {"digit on 0.00 at 1 replaces, caret stays", 2, 10, 0, false, "<Home><Right>5", "5.00|5.00|1", 0},
        {"integer digits insert", 2, 10, 0, false, "<Home>123", "123.00|123.00|3", 0},
        {"fraction digit overwrites", 2, 10, 12.34, false, "<Home><Right><Right><Right>9", "12.94|12.94|4", 0},
        {"point jumps into the fraction", 2, 10, 0, false, "<Home>12.5", "12.50|12.50|4", 0},
        {"point in the fraction jumps back", 2, 10, 1.5, false, "<End>.", "1.50|1.50|1", 0},
        {"digit past the last decimal does nothing", 2, 10, 1.5, false, "<End>7", "1.50|1.50|4", 0},
        {"point then two fraction digits", 2, 10, 3, false, "<Home>.12", "3.12|3.12|4", 0},
        {"point from the last decimal goes back to the integer part", 2, 10, 3, false, "<End>.12", "312.00|312.00|3", 0},
        {"MaxLength refuses an integer digit", 2, 5, 123.45, false, "<Home>9", "123.45|123.45|0", 1},
        {"MaxLength equal to Precision refuses", 2, 2, 0, false, "<Home>4", "0.00|0.00|0", 1},
        {"leading zero kept in the display", 2, 10, 5, false, "<Home>0", "05.00|05.00|1", 0},
        {"separators in a long value", 2, 12, 1234567.5, false, "", "1234567.50|1,234,567.50|10", 0},
        {"digit on null", 2, 10, Null, true, "7", "7.00|7.00|1", 0},
        {"point on null does nothing", 2, 10, Null, true, ".", "||0", 0},
    });
}

TEST(NumEditTyping, Integers)
{
    RunCases({
        {"digit replaces 0", 0, 10, 0, false, "<Home>7", "7|7|1", 0},
        {"digit after 0 replaces it", 0, 10, 0, false, "7", "7|7|1", 0},
        {"seven digits get two separators", 0, 10, 0, false, "1234567", "1234567|1,234,567|7", 0},
        {"MaxLength keeps the text", 0, 3, 123, false, "4", "123|123|3", 1},
        {"MaxLength: the caret still steps", 0, 3, 123, false, "<Home>4", "123|123|1", 1},
        {"typed leading zeros stay", 0, 10, 5, false, "<Home>00", "005|005|2", 0},
        {"leading zeros before a grouped value", 0, 10, 1234, false, "<Home>0", "01234|01,234|1", 0},
        {"'.' is not a character of an integer edit", 0, 10, 12, false, ".", "12|12|2", 0},
        {"letters are ignored", 0, 10, 12, false, "ab", "12|12|2", 0},
    });
}

TEST(NumEditTyping, CaretStepsOverSeparators)
{
    TwCustomNumEdit edit;
    edit.SetValue(1234567);
    ASSERT_EQ(edit.DisplayText(), QStringLiteral("1,234,567"));
    // Each raw index has its own x; the separators take no caret position.
    QList<int> xs;
    for (int i = 0; i <= 7; ++i)
        xs << edit.PosToX(i);
    for (int i = 1; i <= 7; ++i)
        EXPECT_LT(xs[i - 1], xs[i]) << i;
    EXPECT_EQ(xs[7], edit.EditRect().right() - 1);
    const QFontMetrics metrics(edit.font());
    // The caret at raw 1 stands right of the separator, before the 2.
    EXPECT_EQ(xs[1] - xs[0], metrics.horizontalAdvance(QStringLiteral("1,234,567"))
                                 - metrics.horizontalAdvance(QStringLiteral("234,567")));
    for (int i = 0; i <= 7; ++i)
        EXPECT_EQ(edit.XToPos(xs[i]), i);
    Press(&edit, QStringLiteral("<Home><Right><Right>"));
    EXPECT_EQ(edit.CaretPos(), 2);
}

TEST(NumEditDeleting, DeleteAndBackspace)
{
    RunCases({
        {"Delete at the point steps over it", 2, 10, 12.34, false, "<Home><Right><Right><Del>", "12.34|12.34|3", 0},
        {"Delete in the fraction zeroes", 2, 10, 12.34, false, "<End><Left><Del>", "12.30|12.30|5", 0},
        {"Delete on a single integer digit zeroes it", 2, 10, 5, false, "<Home><Del>", "0.00|0.00|1", 0},
        {"Delete removes an integer digit", 2, 10, 12.34, false, "<Home><Del>", "2.34|2.34|0", 0},
        {"Delete at the end does nothing", 2, 10, 12.34, false, "<End><Del>", "12.34|12.34|5", 0},
        {"Delete on one digit gives 0", 0, 10, 5, false, "<Home><Del>", "0|0|1", 0},
        {"Delete removes a digit", 0, 10, 123, false, "<Home><Del>", "23|23|0", 0},
        {"Delete with EnableNull empties", 0, 10, 5, true, "<Home><Del>", "||0", 0},
        {"Delete on null does nothing", 0, 10, Null, true, "<Del>", "||0", 0},
        {"Backspace in the fraction zeroes", 2, 10, 12.34, false, "<End><BS>", "12.30|12.30|4", 0},
        {"Backspace after the point steps over it", 2, 10, 12.34, false, "<End><BS><BS><BS>", "12.00|12.00|2", 0},
        {"Backspace removes an integer digit", 2, 10, 12.34, false, "<End><BS><BS><BS><BS>", "1.00|1.00|1", 0},
        {"Backspace on a single integer digit zeroes it", 2, 10, 12.34, false, "<End><BS><BS><BS><BS><BS>",
         "0.00|0.00|1", 0},
        {"Backspace on one digit gives 0", 0, 10, 5, false, "<BS>", "0|0|0", 0},
        {"Backspace with EnableNull empties", 0, 10, 5, true, "<BS>", "||0", 0},
        {"Backspace at 0 removes the minus", 0, 10, -5, false, "<Home><BS>", "5|5|0", 0},
    });
}

TEST(NumEditDeleting, Selections)
{
    RunCases({
        {"all, without EnableNull: 0", 0, 10, 123, false, "<Home><S-End><Del>", "0|0|1", 0},
        {"all, with EnableNull: null", 0, 10, 123, true, "<Home><S-End><Del>", "||0", 0},
        {"all of a fixed-decimal value: 0.00", 2, 10, 12.5, false, "<Home><S-End><BS>", "0.00|0.00|1", 0},
        {"inside the integer part", 2, 10, 1234.56, false, "<Home><S-Right><S-Right><Del>", "34.56|34.56|0", 0},
        {"integer and fraction", 2, 10, 1234.56, false, "<Home><Right><Right><S-Right><S-Right><S-Right><S-Right><Del>",
         "12.06|12.06|2", 0},
        {"fraction only", 2, 10, 12.34, false, "<End><S-Left><S-Left><Del>", "12.00|12.00|3", 0},
        {"from 0 into the fraction gets a 0 in front", 2, 10, 12.34, false,
         "<Home><S-Right><S-Right><S-Right><S-Right><Del>", "0.04|0.04|0", 0},
        {"a digit replaces the selection", 0, 10, 123, false, "<Home><S-End>7", "7|7|1", 0},
        {"a digit replaces the selected integer part", 2, 10, 12.34, false, "<Home><S-Right><S-Right>5",
         "5.34|5.34|1", 0},
        {"an arrow without Shift drops the selection", 0, 10, 123, false, "<S-Left><S-Left><Left><Del>", "23|23|0", 0},
    });
}

TEST(NumEditSign, MinusFlipsAndShows)
{
    RunCases({
        {"'-' flips a value", 0, 10, 5, false, "-", "5|-5|1", 0},
        {"'-' twice", 0, 10, 5, false, "--", "5|5|1", 0},
        {"'-' on 0 is visible", 0, 10, 0, false, "-", "0|-0|1", 0},
        {"'-' then a digit on 0", 0, 10, 0, false, "-7", "7|-7|1", 0},
        {"'-' anywhere in the text", 2, 10, 12.5, false, "<Home>-", "12.50|-12.50|0", 0},
        {"'-' then a digit on null", 2, 10, Null, true, "-3", "3.00|-3.00|1", 0},
    });
}

TEST(NumEditSign, ChangeNotifications)
{
    TwCustomNumEdit edit;
    QSignalSpy changes(&edit, &TwCustomNumEdit::OnChange);
    edit.SetValue(5);
    EXPECT_EQ(changes.count(), 1);
    Press(&edit, QStringLiteral("-"));
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(edit.Value(), -5);
    Press(&edit, QStringLiteral("<Left>"));
    EXPECT_EQ(changes.count(), 2);
    edit.SetValue(0);
    changes.clear();
    Press(&edit, QStringLiteral("-")); // a flip on 0 changes no value
    EXPECT_EQ(changes.count(), 0);
    Press(&edit, QStringLiteral("4"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(edit.Value(), -4);
}

TEST(NumEditSign, DeleteToNullClearsTheSign)
{
    BeepCountingEdit edit;
    edit.SetEnableNull(true);
    edit.SetValue(-5);
    Press(&edit, QStringLiteral("<Home><Del>"));
    ASSERT_TRUE(edit.IsNull());
    EXPECT_EQ(edit.Sign(), 1);
    Press(&edit, QStringLiteral("3"));
    EXPECT_EQ(edit.Value(), 3);
    EXPECT_EQ(edit.DisplayText(), QStringLiteral("3"));

    edit.SetValue(-12);
    Press(&edit, QStringLiteral("<Home><S-End><Del>4"));
    EXPECT_EQ(edit.Value(), 4);
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

TEST(NumEditRange, CheckValueAppliesOnlyWhenBoundsDiffer)
{
    TwCustomNumEdit edit;
    EXPECT_EQ(edit.CheckValue(1e9), 1e9);
    EXPECT_EQ(edit.CheckValue(-7), -7);
    edit.SetMinValue(0);
    edit.SetMaxValue(100);
    EXPECT_EQ(edit.CheckValue(150), 100);
    EXPECT_EQ(edit.CheckValue(-5), 0);
    EXPECT_EQ(edit.CheckValue(42.5), 42.5);
}

TEST(NumEditRange, MinusBeepsWhenTheRangeIsNotNegative)
{
    BeepCountingEdit edit;
    edit.SetMinValue(0);
    edit.SetMaxValue(100);
    edit.SetValue(5);
    Press(&edit, QStringLiteral("-"));
    EXPECT_EQ(edit.Beeps, 1);
    EXPECT_EQ(edit.Value(), 5);
}

TEST(NumEditRange, SpinSteps)
{
    TwCustomNumEdit edit;
    edit.SetSpinner(true);
    edit.SetValue(5);
    edit.SpinClick(1);
    EXPECT_EQ(edit.Value(), 6);
    edit.SpinClick(-3);
    EXPECT_EQ(edit.Value(), 3);

    edit.SetMinValue(0);
    edit.SetMaxValue(100);
    edit.SetValue(100);
    edit.SpinClick(1);
    EXPECT_EQ(edit.Value(), 100);

    int seenDelta = 0;
    QObject::connect(&edit, &TwCustomNumEdit::OnSpinClick, &edit,
                     [&seenDelta](TwCustomNumEdit *, int delta, bool &accept) {
                         seenDelta = delta;
                         accept = false;
                     });
    edit.SpinClick(-1);
    EXPECT_EQ(seenDelta, -1);
    EXPECT_EQ(edit.Value(), 100);
}

TEST(NumEditRange, SpinButtonHalvesUnderTheMouse)
{
    TwCustomNumEdit edit;
    edit.SetSpinner(true);
    edit.SetValue(10);
    const QRect spin = edit.SpinRect();
    ASSERT_FALSE(spin.isEmpty());
    EXPECT_EQ(spin.right(), edit.rect().right() - 2);
    QTest::mouseClick(&edit, Qt::LeftButton, Qt::NoModifier, QPoint(spin.center().x(), spin.top() + 1));
    EXPECT_EQ(edit.Value(), 11);
    QTest::mouseClick(&edit, Qt::LeftButton, Qt::NoModifier, QPoint(spin.center().x(), spin.bottom() - 1));
    QTest::mouseClick(&edit, Qt::LeftButton, Qt::NoModifier, QPoint(spin.center().x(), spin.bottom() - 1));
    EXPECT_EQ(edit.Value(), 9);
}

TEST(NumEditLimits, IntegerRangeRefusesDigitsBeyondItsMaximum)
{
    BeepCountingEdit edit;
    edit.SetMinValue(-32768);
    edit.SetMaxValue(32767);
    Press(&edit, QStringLiteral("32767"));
    EXPECT_EQ(edit.Beeps, 0);
    Press(&edit, QStringLiteral("1"));
    EXPECT_EQ(edit.Beeps, 1);
    EXPECT_EQ(State(edit), QStringLiteral("32767|32,767|5"));

    edit.SetValue(9999);
    edit.Beeps = 0;
    Press(&edit, QStringLiteral("9"));
    EXPECT_EQ(edit.Beeps, 1);
    EXPECT_EQ(edit.Value(), 9999);
    // Making a value smaller is always allowed.
    Press(&edit, QStringLiteral("<Home><Del>"));
    EXPECT_EQ(edit.Value(), 999);
    // Each sign has its own bound: -32768 fits, +32768 does not.
    edit.SetValue(-3276);
    Press(&edit, QStringLiteral("8"));
    EXPECT_EQ(edit.Value(), -32768);
    edit.SetValue(3276);
    edit.Beeps = 0;
    Press(&edit, QStringLiteral("8"));
    EXPECT_EQ(edit.Value(), 3276);
    EXPECT_EQ(edit.Beeps, 1);
    // Flipping the sign may not carry a value past the other bound.
    edit.SetValue(-32768);
    Press(&edit, QStringLiteral("-"));
    EXPECT_EQ(edit.Value(), -32768);
    EXPECT_EQ(edit.Beeps, 2);
    edit.SetValue(-32767);
    Press(&edit, QStringLiteral("-"));
    EXPECT_EQ(edit.Value(), 32767);
}

TEST(NumEditLimits, RangeWhollyNegativeStillTakesDigitsBeforeTheSign)
{
    BeepCountingEdit edit;
    edit.SetMinValue(-100);
    edit.SetMaxValue(-10);
    Press(&edit, QStringLiteral("50-"));
    EXPECT_EQ(edit.Value(), -50);
    Press(&edit, QStringLiteral("0"));
    EXPECT_EQ(edit.Value(), -50);
    EXPECT_EQ(edit.Beeps, 1);
}

TEST(NumEditLimits, RefusedDigitKeepsTheSelection)
{
    BeepCountingEdit edit;
    edit.SetMinValue(0);
    edit.SetMaxValue(255);
    edit.SetValue(200);
    Press(&edit, QStringLiteral("<Home><S-Right>1")); // 100 fits
    EXPECT_EQ(edit.Value(), 100);
    edit.SetValue(200);
    Press(&edit, QStringLiteral("<Home><S-Right>3")); // 300 does not
    EXPECT_EQ(edit.Beeps, 1);
    EXPECT_EQ(edit.Value(), 200);
    EXPECT_EQ(edit.SelStart(), 0);
    EXPECT_EQ(edit.SelEnd(), 1);
}

TEST(NumEditLimits, NeverMoreThanFifteenSignificantDigits)
{
    BeepCountingEdit edit;
    edit.SetMaxLength(0);
    Press(&edit, QStringLiteral("1234567890123456"));
    EXPECT_EQ(edit.RawText(), QStringLiteral("123456789012345"));
    EXPECT_EQ(edit.Beeps, 1);

    BeepCountingEdit decimals;
    decimals.SetMaxLength(0);
    decimals.SetPrecision(2);
    Press(&decimals, QStringLiteral("<Home>1234567890123456"));
    EXPECT_EQ(decimals.RawText(), QStringLiteral("123456789012345.00")) << "the decimals' padding zeros do not count";
    EXPECT_EQ(decimals.Beeps, 1);
    // With as many decimals as digits allowed the control still takes digits.
    BeepCountingEdit many;
    many.SetMaxLength(0);
    many.SetPrecision(15);
    many.SetEnableNull(true);
    many.Clear();
    Press(&many, QStringLiteral("3"));
    EXPECT_EQ(many.RawText(), QStringLiteral("3.000000000000000"));
    EXPECT_EQ(many.Beeps, 0);
    // Leading zeros are not significant.
    BeepCountingEdit zeros;
    zeros.SetMaxLength(0);
    Press(&zeros, QStringLiteral("<Home>000"));
    EXPECT_EQ(zeros.Beeps, 0);
}

TEST(NumEditLimits, NanAndInfinitiesAreNeverAccepted)
{
    TwCustomNumEdit edit;
    edit.SetValue(12);
    QSignalSpy changes(&edit, &TwCustomNumEdit::OnChange);
    edit.SetValue(std::numeric_limits<double>::quiet_NaN());
    edit.SetValue(std::numeric_limits<double>::infinity());
    edit.SetValue(-std::numeric_limits<double>::infinity());
    EXPECT_EQ(edit.Value(), 12);
    EXPECT_EQ(changes.count(), 0);
    edit.setProperty("Value", std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(edit.Value(), 12);
    edit.SetMaxValue(std::numeric_limits<double>::quiet_NaN());
    edit.SetMinValue(-std::numeric_limits<double>::infinity());
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

namespace {

// A window with two number edits, shown and active, so that focus really moves.
class FocusForm
{
public:
    FocusForm()
    {
        auto *layout = new QVBoxLayout(&m_window);
        First = new BeepCountingEdit;
        Second = new BeepCountingEdit;
        layout->addWidget(First);
        layout->addWidget(Second);
    }
    bool Show()
    {
        m_window.show();
        m_window.activateWindow();
        if (!QTest::qWaitForWindowActive(&m_window))
            return false;
        Second->setFocus();
        return Second->hasFocus();
    }
    QWidget &Window() { return m_window; }

    BeepCountingEdit *First = nullptr;
    BeepCountingEdit *Second = nullptr;

private:
    QWidget m_window;
};

bool IsDark(const QColor &color)
{
    return color.lightness() < 110;
}

int CountPixels(const QImage &image, const QRect &area, const std::function<bool(const QColor &)> &test)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixelColor(x, y)))
                ++count;
    return count;
}

QImage Grab(QWidget &widget)
{
    return widget.grab().toImage();
}

} // namespace

TEST(NumEditFocus, EnteringSelectsTheIntegerPart)
{
    FocusForm form;
    ASSERT_TRUE(form.Show());
    form.First->SetPrecision(2);
    form.First->SetValue(1234.5);
    form.First->setFocus();
    EXPECT_EQ(form.First->SelStart(), 0);
    EXPECT_EQ(form.First->SelEnd(), 4);
    EXPECT_EQ(form.First->CaretPos(), 4);
    Press(form.First, QStringLiteral("9"));
    EXPECT_EQ(State(*form.First), QStringLiteral("9.50|9.50|1"));

    form.Second->SetAutoSelect(false);
    form.Second->SetValue(77);
    form.Second->setFocus();
    EXPECT_EQ(form.Second->SelStart(), form.Second->SelEnd());
}

TEST(NumEditFocus, LeavingAppliesTheRange)
{
    FocusForm form;
    ASSERT_TRUE(form.Show());
    form.First->SetMinValue(10);
    form.First->SetMaxValue(100);
    form.First->setFocus();
    Press(form.First, QStringLiteral("5"));
    EXPECT_EQ(form.First->Value(), 5); // a value on its way to the range is allowed
    form.Second->setFocus();
    EXPECT_EQ(form.First->Value(), 10);

    form.Second->SetValue(0);
    Press(form.Second, QStringLiteral("-"));
    EXPECT_EQ(form.Second->DisplayText(), QStringLiteral("-0"));
    form.First->setFocus();
    EXPECT_EQ(form.Second->DisplayText(), QStringLiteral("0"));
}

TEST(NumEditFocus, LeavingNull)
{
    FocusForm form;
    ASSERT_TRUE(form.Show());
    form.First->SetEnableNull(true);
    form.First->Clear();
    form.First->setFocus();
    form.Second->setFocus();
    EXPECT_TRUE(form.First->IsNull());

    form.First->SetEnableNull(false); // null without EnableNull becomes the range's value
    form.First->SetMinValue(3);
    form.First->SetMaxValue(9);
    form.First->setFocus();
    form.Second->setFocus();
    EXPECT_FALSE(form.First->IsNull());
    EXPECT_EQ(form.First->Value(), 3);
}

TEST(NumEditFocus, MouseSelectsAndDoubleClickSelectsAll)
{
    FocusForm form;
    ASSERT_TRUE(form.Show());
    TwCustomNumEdit *edit = form.First;
    edit->SetValue(123456);
    const int y = edit->height() / 2;
    QTest::mousePress(edit, Qt::LeftButton, Qt::NoModifier, QPoint(edit->PosToX(1), y));
    QTest::mouseMove(edit, QPoint(edit->PosToX(4), y));
    QTest::mouseRelease(edit, Qt::LeftButton, Qt::NoModifier, QPoint(edit->PosToX(4), y));
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelEnd(), 4);
    QTest::mouseDClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(edit->PosToX(2), y));
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelEnd(), 6);
}

TEST(NumEditPainting, TextSignAndNull)
{
    TwCustomNumEdit edit;
    edit.SetValue(5);
    const QRect edit_area = edit.EditRect();
    const int minusWidth = QFontMetrics(edit.font()).horizontalAdvance(QLatin1Char('-'));
    const QRect minusArea(edit.PosToX(0) - minusWidth, edit_area.top(), minusWidth, edit_area.height());
    const QRect digitArea(edit.PosToX(0), edit_area.top(), edit.PosToX(1) - edit.PosToX(0), edit_area.height());

    QImage image = Grab(edit);
    EXPECT_GT(CountPixels(image, digitArea, IsDark), 0);
    EXPECT_EQ(CountPixels(image, minusArea, IsDark), 0);

    Press(&edit, QStringLiteral("-"));
    image = Grab(edit);
    EXPECT_GT(CountPixels(image, minusArea, IsDark), 0);

    edit.SetEnableNull(true);
    edit.Clear();
    image = Grab(edit);
    EXPECT_EQ(CountPixels(image, edit.EditRect(), IsDark), 0);
}

TEST(NumEditPainting, BordersAndSpinner)
{
    TwCustomNumEdit edit;
    edit.SetValue(1);
    const QColor base = edit.palette().color(QPalette::Base);
    QImage image = Grab(edit);
    EXPECT_NE(image.pixelColor(0, 5), base);           // outer edge
    EXPECT_EQ(image.pixelColor(1, 5), QColor(Qt::black)); // inner edge
    EXPECT_EQ(edit.EditRect().left(), 2);

    edit.SetBorderStyle(bsNone);
    image = Grab(edit);
    EXPECT_EQ(image.pixelColor(0, 5), base);
    EXPECT_EQ(edit.EditRect(), edit.rect());

    edit.SetSpinner(true);
    image = Grab(edit);
    const QRect spin = edit.SpinRect();
    EXPECT_EQ(spin.right(), edit.rect().right());
    const auto notBase = [&base](const QColor &color) { return color != base; };
    EXPECT_GT(CountPixels(image, spin, notBase), spin.width() * spin.height() / 2);
    // The digit moved left of the button.
    EXPECT_LT(edit.PosToX(1), spin.left());
}

TEST(NumEditPainting, DisabledTextIsGrey)
{
    TwCustomNumEdit edit;
    edit.SetValue(8888);
    edit.setEnabled(false);
    const QImage image = Grab(edit);
    const QRect text(edit.PosToX(0), edit.EditRect().top(), edit.PosToX(4) - edit.PosToX(0), edit.EditRect().height());
    EXPECT_EQ(CountPixels(image, text, [](const QColor &c) { return c.lightness() < 60; }), 0);
    EXPECT_GT(CountPixels(image, text, [](const QColor &c) { return c.lightness() < 200; }), 0);
}

TEST(NumEditPainting, FocusedSelectionAndSampleSheet)
{
    FocusForm form;
    QWidget &window = form.Window();
    auto *layout = static_cast<QVBoxLayout *>(window.layout());
    auto *negative = new TwCustomNumEdit;
    negative->SetValue(-42);
    auto *null = new TwCustomNumEdit;
    null->SetEnableNull(true);
    null->Clear();
    auto *spinner = new TwCustomNumEdit;
    spinner->SetSpinner(true);
    spinner->SetValue(7);
    layout->addWidget(negative);
    layout->addWidget(null);
    layout->addWidget(spinner);
    form.Second->SetPrecision(2);
    form.Second->SetValue(1234567.5);
    form.First->SetPrecision(2);
    form.First->SetValue(98765.43);
    ASSERT_TRUE(form.Show());
    form.First->setFocus();

    const QImage image = Grab(*form.First);
    const QColor highlight = form.First->palette().color(QPalette::Highlight);
    const QRect band(form.First->PosToX(0), form.First->EditRect().top(),
                     form.First->PosToX(form.First->SelEnd()) - form.First->PosToX(0), form.First->EditRect().height());
    EXPECT_GT(CountPixels(image, band, [&highlight](const QColor &c) { return c == highlight; }), band.width());
    const QRect fraction(form.First->PosToX(6), form.First->EditRect().top(), form.First->PosToX(8) - form.First->PosToX(6),
                         form.First->EditRect().height());
    EXPECT_EQ(CountPixels(image, fraction, [&highlight](const QColor &c) { return c == highlight; }), 0);

    const QString path = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../numedit.png"));
    QImage sheet = window.grab().toImage();
    sheet = sheet.scaled(sheet.size() * 3, Qt::KeepAspectRatio, Qt::FastTransformation);
    EXPECT_TRUE(sheet.save(path));
}

TEST(NumEditPainting, LayoutPlacesTheTextVertically)
{
    TwCustomNumEdit edit;
    edit.resize(121, 60);
    edit.SetValue(8);
    const QRect column(edit.PosToX(0), 0, edit.PosToX(1) - edit.PosToX(0), edit.height());
    const auto inkRows = [&edit, &column]() {
        const QImage image = Grab(edit);
        int first = -1;
        int last = -1;
        for (int y = edit.EditRect().top(); y <= edit.EditRect().bottom(); ++y)
            if (CountPixels(image, QRect(column.left(), y, column.width(), 1), IsDark) > 0) {
                if (first < 0)
                    first = y;
                last = y;
            }
        return std::make_pair(first, last);
    };
    edit.SetLayout(tlTop);
    const auto top = inkRows();
    edit.SetLayout(tlCenter);
    const auto centre = inkRows();
    edit.SetLayout(tlBottom);
    const auto bottom = inkRows();
    ASSERT_GE(top.first, 0);
    EXPECT_LT(top.first, 2 + QFontMetrics(edit.font()).height());
    EXPECT_GT(bottom.second, edit.height() - 2 - QFontMetrics(edit.font()).height());
    EXPECT_LT(top.first, centre.first);
    EXPECT_LT(centre.first, bottom.first);
}

TEST(NumEditPainting, CaretShowsWhileFocusedAndBlinks)
{
    FocusForm form;
    form.First->SetAutoSelect(false);
    form.First->SetValue(12);
    ASSERT_TRUE(form.Show());
    TwCustomNumEdit *edit = form.First;
    const QRect caretColumn(edit->PosToX(2), edit->EditRect().top(), 1, edit->EditRect().height());
    EXPECT_EQ(CountPixels(Grab(*edit), caretColumn, IsDark), 0);
    edit->setFocus();
    Press(edit, QStringLiteral("<End>"));
    const int ink = CountPixels(Grab(*edit), caretColumn, IsDark);
    EXPECT_GE(ink, QFontMetrics(edit->font()).height() - 1);
    if (QApplication::cursorFlashTime() > 0)
        QTRY_VERIFY_WITH_TIMEOUT(CountPixels(Grab(*edit), caretColumn, IsDark) < ink, 3000);
}
