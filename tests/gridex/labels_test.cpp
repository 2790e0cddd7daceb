#include "testsupport.h"
#include "grid/uxgraphics.h"
#include "grid/uxutils.h"
#include "gridex/uxlabels.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <limits>

namespace {

QImage Picture(QWidget &widget) { return widget.grab().toImage(); }

QColor At(const QImage &image, int x, int y) { return QColor(image.pixel(x, y)); }

// A label of plain white with a black font, the base of the geometry samples.
void Plain(TwCustomLabel &label, int width, int height)
{
    label.resize(width, height);
    label.SetColor(clWhite);
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label.setPalette(palette);
}

// A stored colour as a pixel of a 32-bit picture holds it.
QColor Screen(TColor color) { return QColor(TXColor(color).rgb()); }

bool IsReddish(const QColor &c) { return c.red() > 150 && c.green() < 110 && c.blue() < 110; }

bool IsDark(const QColor &c) { return qGray(c.rgb()) < 128; }

// Counts the pixels inside a two-pixel frame that pass `test`; `rows` gets each row's count.
int Count(const QImage &image, const std::function<bool(const QColor &)> &test, QList<int> *rows = nullptr)
{
    int total = 0;
    for (int y = 0; y < image.height(); ++y) {
        int row = 0;
        for (int x = 2; x < image.width() - 2; ++x)
            row += test(At(image, x, y)) ? 1 : 0;
        total += row;
        if (rows)
            *rows << row;
    }
    return total;
}

int FirstDarkRow(const QImage &image)
{
    QList<int> rows;
    Count(image, IsDark, &rows);
    for (int y = 0; y < rows.size(); ++y)
        if (rows[y] > 0)
            return y;
    return -1;
}

} // namespace

TEST(LabelText, PaintedTextOfEmptyAmpersandAndPasswordCaptions)
{
    TwLabel label;
    EXPECT_EQ(label.PaintedText(), QStringLiteral(" "));
    label.SetCaption(QStringLiteral("&"));
    EXPECT_EQ(label.PaintedText(), QStringLiteral("& "));
    label.SetShowAccelChar(false);
    EXPECT_EQ(label.PaintedText(), QStringLiteral("&"));
    label.Clear();
    EXPECT_EQ(label.Caption(), QString());

    label.SetCaption(QStringLiteral("비밀번호"));
    label.SetPasswordChar(QLatin1Char('*'));
    EXPECT_EQ(label.PaintedText(), QStringLiteral("****"));
    for (const QChar none : { QChar(QLatin1Char(' ')), QChar(0x1F) }) {
        label.SetPasswordChar(none);
        EXPECT_EQ(label.PaintedText(), QStringLiteral("비밀번호"));
    }
}

TEST(LabelText, EmptyCaptionIsOneLineHigh)
{
    TwLabel empty;
    TwLabel one(QStringLiteral("X"));
    for (TwLabel *label : { &empty, &one }) {
        Plain(*label, 60, 40);
        label->SetLayout(tlBottom);
        label->SetBorderStyle(mlbsLine);
        label->SetBorderWidth(0);
    }
    // Both measure one line: "X" at the bottom sits where a blank's line would.
    const auto height = [](const TwLabel &label, const QString &text) {
        return TXGetStrHeight(label.font(), QRect(0, 0, 58, 38), text, Qt::AlignHCenter | Qt::TextSingleLine);
    };
    const int measured = height(empty, QStringLiteral(" "));
    EXPECT_EQ(measured, height(one, QStringLiteral("X")));
    EXPECT_EQ(FirstDarkRow(Picture(empty)), -1);
    EXPECT_GT(FirstDarkRow(Picture(one)), 40 - 1 - measured - 1);
}

TEST(LabelText, LayoutMovesTheLineAndWordWrapBreaksIt)
{
    TwLabel label(QStringLiteral("Tovel"));
    Plain(label, 80, 60);
    const auto firstRow = [&label](TwTextLayout layout) {
        label.SetLayout(layout);
        return FirstDarkRow(Picture(label));
    };
    const int top = firstRow(tlTop), centre = firstRow(tlCenter), bottom = firstRow(tlBottom);
    EXPECT_LT(top, 10);
    EXPECT_LT(top, centre);
    EXPECT_LT(centre, bottom);
    EXPECT_GT(bottom, 35);

    TwLabel wrapped(QStringLiteral("one two three four five six"));
    Plain(wrapped, 60, 80);
    wrapped.SetWordWrap(true);
    QList<int> rows;
    Count(Picture(wrapped), IsDark, &rows);
    int bands = 0;
    for (int y = 0; y < rows.size(); ++y)
        bands += rows[y] > 0 && (y == 0 || rows[y - 1] == 0) ? 1 : 0;
    EXPECT_GE(bands, 3);
}

TEST(LabelGeometry, LineRaisedSunkenAndDeepBorders)
{
    TwLabel label;
    Plain(label, 40, 30);
    label.SetBorderStyle(mlbsLine);
    label.SetBorderColor(0x0000FF); // red as 0x00BBGGRR
    label.SetBorderWidth(3);
    label.SetMargins(QMargins());
    QImage image = Picture(label);
    // The third pixel of a side is red, the fourth white.
    EXPECT_EQ(At(image, 2, 15), QColor(Qt::red));
    EXPECT_EQ(At(image, 3, 15), QColor(Qt::white));
    EXPECT_EQ(At(image, 20, 27), QColor(Qt::red));
    EXPECT_EQ(At(image, 20, 26), QColor(Qt::white));

    // Raised, sunken and deep edges.
    const QColor light = Screen(clBtnHighlight);
    const QColor shadow = Screen(clBtnShadow);
    Plain(label, 40, 20);
    label.SetBorderStyle(mlbsRaised);
    label.SetBorderWidth(1);
    label.SetMargins(QMargins(1, 1, 1, 1));
    image = Picture(label);
    EXPECT_EQ(At(image, 0, 10), light);
    EXPECT_EQ(At(image, 39, 10), shadow);
    EXPECT_EQ(At(image, 1, 10), QColor(Qt::white));
    label.SetBorderStyle(mlbsSunken);
    image = Picture(label);
    EXPECT_EQ(At(image, 0, 10), shadow);
    EXPECT_EQ(At(image, 39, 10), light);
    label.SetBorderStyle(mlbsDeep);
    image = Picture(label);
    EXPECT_EQ(At(image, 0, 10), shadow);
    EXPECT_EQ(At(image, 1, 10), QColor(Qt::black));
    EXPECT_EQ(At(image, 38, 10), QColor(Qt::white)); // the inner edge is on the left and top only
}

TEST(LabelGeometry, ChimaLinesLeaveOutTheirEndPoint)
{
    TwLabel label;
    Plain(label, 40, 20);
    label.SetBorderStyle(mlbsLine);
    label.SetBorderWidth(0);
    label.SetChima(true);
    const QImage image = Picture(label);
    image.save(PicturePath(QStringLiteral("label-chima-%1.png").arg(QGuiApplication::platformName())));
    const int w = 40;
    // The triangle: six pixels along each leg inside a one-pixel edge.
    for (int y = 1; y <= 6; ++y) {
        for (int x = w - 8 + y; x <= w - 2; ++x)
            EXPECT_EQ(At(image, x, y), Screen(clNavy)) << x << "," << y;
        EXPECT_EQ(At(image, w - 1, y), QColor(Qt::white)) << y;
    }
    EXPECT_EQ(At(image, w - 2, 0), QColor(Qt::white));
    // The black diagonal ends one pixel short of (Rt - 1, Tp + 8).
    for (int k = 0; k <= 6; ++k)
        EXPECT_EQ(At(image, w - 8 + k, 1 + k), QColor(Qt::black)) << k;
    EXPECT_EQ(At(image, w - 1, 8), QColor(Qt::white));
    EXPECT_EQ(At(image, w - 9, 1), QColor(Qt::white));
    EXPECT_EQ(At(image, w - 2, 8), QColor(Qt::white));
}

TEST(LabelGeometry, ShadowIsTheTextOnePixelDownRightButNotWhenDisabled)
{
    TwLabel label(QStringLiteral("Hi"));
    Plain(label, 40, 20);
    label.SetShadowColor(0x0000FF);
    const QImage plain = Picture(label);
    label.SetShadow(true);
    const QImage shadowed = Picture(label);
    int red = 0;
    for (int y = 1; y < 19; ++y)
        for (int x = 1; x < 39; ++x)
            if (IsReddish(At(shadowed, x, y))) {
                ++red;
                EXPECT_LT(qGray(At(plain, x - 1, y - 1).rgb()), 250) << x << "," << y;
            }
    EXPECT_GT(red, 3);

    // Disabled, the label ignores its shadow and is embossed in the shadow grey.
    label.setEnabled(false);
    const QImage disabled = Picture(label);
    const QColor grey = Screen(clBtnShadow);
    EXPECT_EQ(Count(disabled, IsReddish), 0);
    EXPECT_GT(Count(disabled,
                  [&grey](const QColor &c) {
                      return qAbs(c.red() - grey.red()) < 24 && c.red() == c.green() && c.green() == c.blue();
                  }),
        3);
}

TEST(LabelGeometry, TransparentLeavesTheBackground)
{
    QWidget parent;
    parent.resize(60, 30);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::green);
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    TwLabel label(QString(), &parent);
    label.setGeometry(0, 0, 60, 30);
    label.SetTransparent(true);
    EXPECT_EQ(At(Picture(parent), 30, 15), QColor(Qt::green));
    label.SetTransparent(false);
    EXPECT_EQ(At(Picture(parent), 30, 15), Screen(clBtnFace));
}

TEST(LabelAccelerator, FocusGoesToTheFocusControl)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *first = new QLineEdit(&window);
    auto *label = new TwLabel(QStringLiteral("&Name"), &window);
    auto *name = new QLineEdit(&window);
    layout->addWidget(first);
    layout->addWidget(label);
    layout->addWidget(name);
    label->SetFocusControl(name);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->setFocus();
    QTest::keyClick(first, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(name->hasFocus());

    // A password label has no accelerator, nor has a disabled one.
    first->setFocus();
    label->SetPasswordChar(QLatin1Char('*'));
    QTest::keyClick(first, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(first->hasFocus());
    label->SetPasswordChar(QChar());
    label->setEnabled(false);
    QTest::keyClick(first, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(first->hasFocus());

    // Once its focus control is gone the key is free again: another label with it is not ambiguous.
    label->setEnabled(true);
    delete name;
    EXPECT_EQ(label->FocusControl(), nullptr);
    auto *number = new QLineEdit(&window);
    auto *other = new TwLabel(QStringLiteral("&Number"), &window);
    layout->addWidget(other);
    layout->addWidget(number);
    other->SetFocusControl(number);
    other->show();
    number->show();
    first->setFocus();
    QTest::keyClick(first, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(number->hasFocus());
}

TEST(NumLabel, FormatsWithPrefixAndSuffixRightAligned)
{
    TwNumLabel label;
    EXPECT_EQ(label.GetLabelText(), QStringLiteral("0"));
    label.SetValue(1234.4);
    EXPECT_EQ(label.GetLabelText(), QStringLiteral("1234.4"));
    label.SetFormat(QStringLiteral("#,##0"));
    label.SetPrefix(QStringLiteral("₩"));
    EXPECT_EQ(label.GetLabelText(), QStringLiteral("₩1,234"));
    label.SetSuffix(QStringLiteral(" 원"));
    label.SetValue(-1234567.5);
    EXPECT_EQ(label.GetLabelText(), QStringLiteral("₩-1,234,568 원"));
    label.SetFormat(QStringLiteral("#,##0.00;(#,##0.00)"));
    EXPECT_EQ(label.GetLabelText(), QStringLiteral("₩(1,234,567.50) 원"));
    // A pattern the formatting cannot show falls back to the general form.
    label.SetFormat(QStringLiteral("0.00E+00"));
    EXPECT_EQ(label.GetLabelText(), QStringLiteral("₩-1234567.5 원"));
    label.Clear();
    EXPECT_TRUE(label.IsNull());
    EXPECT_EQ(label.GetLabelText(), QString());

    TwNumLabel painted;
    Plain(painted, 80, 20);
    painted.SetValue(42);
    const QImage image = Picture(painted);
    int leftmost = image.width();
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 78; ++x)
            if (IsDark(At(image, x, y)))
                leftmost = qMin(leftmost, x);
    EXPECT_GT(leftmost, 50);
}

TEST(NumLabel, ValueAndNullRaiseOnChangeOnlyOnChange)
{
    TwNumLabel label;
    QSignalSpy spy(&label, &TwNumLabel::OnChange);
    label.SetIsNull(true);
    EXPECT_EQ(spy.count(), 1);
    label.SetValue(0); // equal to the held value: stays null, no event
    EXPECT_TRUE(label.IsNull());
    EXPECT_EQ(spy.count(), 1);
    label.SetValue(5);
    label.SetValue(5);
    EXPECT_FALSE(label.IsNull());
    EXPECT_EQ(label.GetLabelText(), QStringLiteral("5"));
    EXPECT_EQ(spy.count(), 2);
    // NaN is no value.
    label.SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(label.Value(), 5.0);
    EXPECT_EQ(spy.count(), 2);
    label.SetIsNull(true);
    EXPECT_EQ(label.Value(), 0.0);
    EXPECT_EQ(spy.count(), 3);
    label.SetLoading(true);
    label.SetValue(7);
    EXPECT_EQ(spy.count(), 3);
    EXPECT_EQ(label.Value(), 7.0);
}

// '#' is an optional digit: a pattern of optional digits only shows nothing for zero (and
// for what rounds to zero), with its prefix and suffix, while "#,##0" keeps its 0.
TEST(NumLabel, RegressionOptionalDigitsShowNothingForZero)
{
    TwNumLabel label;
    label.SetFormat(QStringLiteral("#,###"));
    label.SetValue(0);
    EXPECT_EQ(label.GetLabelText(), QString());
    label.SetValue(0.4);
    EXPECT_EQ(label.GetLabelText(), QString());
    label.SetValue(-0.4);
    EXPECT_EQ(label.GetLabelText(), QString()) << "no sign without a digit";
    label.SetValue(1234);
    EXPECT_EQ(label.GetLabelText(), QStringLiteral("1,234"));
    label.SetSuffix(QStringLiteral("원"));
    label.SetValue(0);
    EXPECT_EQ(label.GetLabelText(), QStringLiteral("원"));
    label.SetFormat(QStringLiteral("#.##"));
    label.SetValue(0.5);
    EXPECT_EQ(label.GetLabelText(), QStringLiteral(".5원"));
    label.SetFormat(QStringLiteral("#,##0"));
    label.SetValue(0);
    EXPECT_EQ(label.GetLabelText(), QStringLiteral("0원"));
}
