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

QImage Picture(QWidget &widget, const char *name = nullptr)
{
    const QImage image = widget.grab().toImage();
    if (name)
        image.save(QStringLiteral("%1-%2.png").arg(QString::fromLatin1(name), QGuiApplication::platformName()));
    return image;
}

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

int FirstDarkRow(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 2; x < image.width() - 2; ++x)
            if (IsDark(At(image, x, y)))
                return y;
    return -1;
}

} // namespace

// --- defaults --------------------------------------------------------------------------

TEST(LabelDefaults, PublishedPropertiesHoldTheirDefaults)
{
    TwLabel label;
    EXPECT_EQ(label.property("Alignment").value<TwAlignment>(), taCenter);
    EXPECT_EQ(label.property("BorderStyle").value<TwLabelBorderStyle>(), mlbsRaised);
    EXPECT_EQ(label.property("BorderColor").value<TColor>(), 0u);
    EXPECT_EQ(label.property("BorderWidth").toInt(), 1);
    EXPECT_FALSE(label.property("Chima").toBool());
    EXPECT_EQ(label.property("ChimaColor").value<TColor>(), 8388608u);
    EXPECT_EQ(label.property("Color").value<TColor>(), clBtnFace);
    EXPECT_EQ(label.property("Layout").value<TwTextLayout>(), tlCenter);
    for (const char *side : { "MarginLeft", "MarginTop", "MarginRight", "MarginBottom" })
        EXPECT_EQ(label.property(side).toInt(), 1) << side;
    EXPECT_EQ(label.property("PasswordChar").value<QChar>(), QChar());
    EXPECT_FALSE(label.property("Shadow").toBool());
    EXPECT_EQ(label.property("ShadowColor").value<TColor>(), clBtnShadow);
    EXPECT_TRUE(label.property("ShowAccelChar").toBool());
    EXPECT_FALSE(label.property("Transparent").toBool());
    EXPECT_FALSE(label.property("WordWrap").toBool());
    EXPECT_EQ(label.property("Caption").toString(), QString());
    EXPECT_EQ(label.property("FocusControl").value<QWidget *>(), nullptr);
    EXPECT_EQ(label.size(), QSize(121, 20));
}

TEST(LabelDefaults, NumberLabelAlignsRightAndPublishesItsOwnSet)
{
    TwNumLabel label;
    EXPECT_EQ(label.Alignment(), taRightJustify);
    EXPECT_FALSE(label.ShowAccelChar());
    EXPECT_EQ(label.property("Value").toDouble(), 0.0);
    EXPECT_FALSE(label.property("IsNull").toBool());
    EXPECT_EQ(label.property("Format").toString(), QString());
    EXPECT_EQ(label.property("Prefix").toString(), QString());
    EXPECT_EQ(label.property("Suffix").toString(), QString());
    const QMetaObject *meta = label.metaObject();
    for (const char *hidden : { "Caption", "FocusControl", "PasswordChar", "ShowAccelChar", "WordWrap" })
        EXPECT_EQ(meta->indexOfProperty(hidden), -1) << hidden;
    EXPECT_EQ(label.size(), QSize(121, 20));
}

// --- text ------------------------------------------------------------------------------

TEST(LabelText, EmptyAndAmpersandCaptionsGetABlank)
{
    TwLabel label;
    EXPECT_EQ(label.PaintedText(), QStringLiteral(" "));
    label.SetCaption(QStringLiteral("&"));
    EXPECT_EQ(label.PaintedText(), QStringLiteral("& "));
    label.SetShowAccelChar(false);
    EXPECT_EQ(label.PaintedText(), QStringLiteral("&"));
    label.SetCaption(QStringLiteral("abc"));
    label.Clear();
    EXPECT_EQ(label.Caption(), QString());
}

TEST(LabelText, PasswordCharMasksEachCharacter)
{
    TwLabel label(QStringLiteral("비밀번호"));
    label.SetPasswordChar(QLatin1Char('*'));
    EXPECT_EQ(label.PaintedText(), QStringLiteral("****"));
    label.SetPasswordChar(QLatin1Char(' '));
    EXPECT_EQ(label.PaintedText(), QStringLiteral("비밀번호"));
    label.SetPasswordChar(QChar(0x1F));
    EXPECT_EQ(label.PaintedText(), QStringLiteral("비밀번호"));
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
    const int measured
        = TXGetStrHeight(empty.font(), QRect(0, 0, 58, 38), QStringLiteral(" "), Qt::AlignHCenter | Qt::TextSingleLine);
    EXPECT_EQ(measured,
        TXGetStrHeight(one.font(), QRect(0, 0, 58, 38), QStringLiteral("X"), Qt::AlignHCenter | Qt::TextSingleLine));
    EXPECT_EQ(FirstDarkRow(Picture(empty)), -1);
    EXPECT_GT(FirstDarkRow(Picture(one)), 40 - 1 - measured - 1);
}

TEST(LabelText, LayoutMovesTheLine)
{
    TwLabel label(QStringLiteral("Tovel"));
    Plain(label, 80, 60);
    label.SetLayout(tlTop);
    const int top = FirstDarkRow(Picture(label));
    label.SetLayout(tlCenter);
    const int centre = FirstDarkRow(Picture(label));
    label.SetLayout(tlBottom);
    const int bottom = FirstDarkRow(Picture(label));
    EXPECT_LT(top, centre);
    EXPECT_LT(centre, bottom);
    EXPECT_LT(top, 10);
    EXPECT_GT(bottom, 35);
}

TEST(LabelText, WordWrapBreaksIntoLines)
{
    TwLabel label(QStringLiteral("one two three four five six"));
    Plain(label, 60, 80);
    label.SetWordWrap(true);
    const QImage image = Picture(label, "label-wordwrap");
    int bands = 0;
    bool inside = false;
    for (int y = 0; y < image.height(); ++y) {
        bool dark = false;
        for (int x = 2; x < image.width() - 2; ++x)
            dark = dark || IsDark(At(image, x, y));
        bands += dark && !inside;
        inside = dark;
    }
    EXPECT_GE(bands, 3);
}

// --- borders, shadow, corner mark -------------------------------------------------------

TEST(LabelGeometry, LineBorderOfWidthThree)
{
    TwLabel label;
    Plain(label, 40, 30);
    label.SetBorderStyle(mlbsLine);
    label.SetBorderColor(0x0000FF); // red as 0x00BBGGRR
    label.SetBorderWidth(3);
    label.SetMargins(QMargins());
    const QImage image = Picture(label, "label-line3");
    const QColor red(Qt::red);
    const QColor white(Qt::white);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(At(image, i, 15), red) << i;
        EXPECT_EQ(At(image, 39 - i, 15), red) << i;
        EXPECT_EQ(At(image, 20, i), red) << i;
        EXPECT_EQ(At(image, 20, 29 - i), red) << i;
    }
    EXPECT_EQ(At(image, 3, 15), white);
    EXPECT_EQ(At(image, 36, 15), white);
    EXPECT_EQ(At(image, 20, 3), white);
    EXPECT_EQ(At(image, 20, 26), white);
}

TEST(LabelGeometry, RaisedSunkenAndDeepEdges)
{
    const QColor light = Screen(clBtnHighlight);
    const QColor shadow = Screen(clBtnShadow);
    TwLabel label;
    Plain(label, 40, 20);

    QImage image = Picture(label);
    EXPECT_EQ(At(image, 0, 10), light);
    EXPECT_EQ(At(image, 20, 0), light);
    EXPECT_EQ(At(image, 39, 10), shadow);
    EXPECT_EQ(At(image, 20, 19), shadow);
    EXPECT_EQ(At(image, 1, 10), QColor(Qt::white));

    label.SetBorderStyle(mlbsSunken);
    image = Picture(label);
    EXPECT_EQ(At(image, 0, 10), shadow);
    EXPECT_EQ(At(image, 39, 10), light);
    EXPECT_EQ(At(image, 1, 10), QColor(Qt::white));

    label.SetBorderStyle(mlbsDeep);
    image = Picture(label, "label-deep");
    EXPECT_EQ(At(image, 0, 10), shadow);
    EXPECT_EQ(At(image, 1, 10), QColor(Qt::black));
    EXPECT_EQ(At(image, 20, 1), QColor(Qt::black));
    EXPECT_EQ(At(image, 38, 10), QColor(Qt::white)); // the inner edge is on the left and top only
    EXPECT_EQ(At(image, 2, 10), QColor(Qt::white));
}

TEST(LabelGeometry, ChimaLinesLeaveOutTheirEndPoint)
{
    TwLabel label;
    Plain(label, 40, 20);
    label.SetBorderStyle(mlbsLine);
    label.SetBorderWidth(0);
    label.SetChima(true);
    const QImage image = Picture(label, "label-chima");
    const int w = 40;
    const QColor navy = Screen(clNavy);
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    // The triangle: six pixels along each leg inside a one-pixel edge.
    for (int y = 1; y <= 6; ++y) {
        for (int x = w - 8 + y; x <= w - 2; ++x)
            EXPECT_EQ(At(image, x, y), navy) << x << "," << y;
        EXPECT_EQ(At(image, w - 1, y), white) << y;
    }
    EXPECT_EQ(At(image, w - 2, 0), white);
    // The black diagonal ends one pixel short of (Rt - 1, Tp + 8).
    for (int k = 0; k <= 6; ++k)
        EXPECT_EQ(At(image, w - 8 + k, 1 + k), black) << k;
    EXPECT_EQ(At(image, w - 1, 8), white);
    EXPECT_EQ(At(image, w - 9, 1), white);
    EXPECT_EQ(At(image, w - 2, 8), white);
}

TEST(LabelGeometry, ShadowIsTheTextOnePixelDownRight)
{
    TwLabel label(QStringLiteral("Hi"));
    Plain(label, 40, 20);
    label.SetShadowColor(0x0000FF);
    const QImage plain = Picture(label);
    label.SetShadow(true);
    const QImage shadowed = Picture(label, "label-shadow");
    int red = 0;
    for (int y = 1; y < 19; ++y) {
        for (int x = 1; x < 39; ++x) {
            if (!IsReddish(At(shadowed, x, y)))
                continue;
            ++red;
            EXPECT_LT(qGray(At(plain, x - 1, y - 1).rgb()), 250) << x << "," << y;
        }
    }
    EXPECT_GT(red, 3);
}

TEST(LabelGeometry, DisabledLabelIgnoresShadowAndIsEmbossed)
{
    TwLabel label(QStringLiteral("Hi"));
    Plain(label, 40, 20);
    label.SetShadowColor(0x0000FF);
    label.SetShadow(true);
    label.setEnabled(false);
    const QImage image = Picture(label, "label-disabled");
    const QColor shadow = Screen(clBtnShadow);
    int red = 0;
    int embossed = 0;
    for (int y = 1; y < 19; ++y)
        for (int x = 1; x < 39; ++x) {
            const QColor c = At(image, x, y);
            red += IsReddish(c);
            embossed += qAbs(c.red() - shadow.red()) < 24 && c.red() == c.green() && c.green() == c.blue();
        }
    EXPECT_EQ(red, 0);
    EXPECT_GT(embossed, 3);
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

// --- accelerator -------------------------------------------------------------------------

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

    // A password label has no accelerator.
    first->setFocus();
    label->SetPasswordChar(QLatin1Char('*'));
    QTest::keyClick(first, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(first->hasFocus());

    // Nor has a disabled one, nor one whose focus control is gone.
    label->SetPasswordChar(QChar());
    label->setEnabled(false);
    QTest::keyClick(first, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(first->hasFocus());
    label->setEnabled(true);
    delete name;
    EXPECT_EQ(label->FocusControl(), nullptr);

    // Its key is free again: another label with the same accelerator is not ambiguous.
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

// --- number label ------------------------------------------------------------------------

TEST(NumLabel, FormatsWithPrefixAndSuffix)
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
    EXPECT_FALSE(label.IsNull());
    EXPECT_EQ(label.GetLabelText(), QStringLiteral("5"));
    EXPECT_EQ(spy.count(), 2);
    label.SetValue(5);
    EXPECT_EQ(spy.count(), 2);
    label.SetIsNull(true);
    EXPECT_EQ(label.Value(), 0.0);
    EXPECT_EQ(spy.count(), 3);

    label.SetLoading(true);
    label.SetValue(7);
    EXPECT_EQ(spy.count(), 3);
    EXPECT_EQ(label.Value(), 7.0);
}

TEST(NumLabel, PaintsRightAligned)
{
    TwNumLabel label;
    Plain(label, 80, 20);
    label.SetValue(42);
    const QImage image = Picture(label, "numlabel");
    int leftmost = image.width();
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 78; ++x)
            if (IsDark(At(image, x, y)))
                leftmost = qMin(leftmost, x);
    EXPECT_GT(leftmost, 50);
}

TEST(NumLabel, NanIsNoValue)
{
    TwNumLabel label;
    label.SetValue(12);
    QSignalSpy spy(&label, &TwNumLabel::OnChange);
    label.SetValue(std::numeric_limits<double>::quiet_NaN());
    label.SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(label.Value(), 12.0);
    EXPECT_EQ(spy.count(), 0);
}
