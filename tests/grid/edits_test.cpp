#include "grid/uxedits.h"
#include "grid/uxutils.h"
#include "platform/texception.h"
#include "testsupport.h"

#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// An edit with a 16-pixel custom area that it fills red.
class ButtonEdit : public TwCustomEdit
{
public:
    using TwCustomEdit::TwCustomEdit;
    QRect GetCustomRect() const override { return QRect(width() - 16, 0, 16, height()); }

protected:
    void DrawCustom(QPainter *canvas, const QRect &rect) override { canvas->fillRect(rect, Qt::red); }
};

} // namespace

TEST(CustomEdit, EditRectFollowsLayoutAndMargins)
{
    TwCustomEdit edit;
    QFont font = edit.font();
    font.setPixelSize(11);
    edit.setFont(font);
    edit.resize(100, 20);
    const int h = TXGetCharHeight(edit.font());

    edit.SetLayout(tlCenter);
    EXPECT_EQ(edit.GetEditRect(), QRect(0, (20 - h) / 2, 100, h));
    edit.SetMargins(QMargins(4, 2, 6, 3));
    EXPECT_EQ(edit.GetEditRect(), QRect(4, (20 - h) / 2, 90, h));
    edit.SetLayout(tlTop);
    EXPECT_EQ(edit.GetEditRect(), QRect(4, 2, 90, h));
    edit.SetLayout(tlBottom);
    EXPECT_EQ(edit.GetEditRect(), QRect(4, 20 - 3 - h, 90, h));
    edit.resize(100, 30);
    EXPECT_EQ(edit.GetEditRect(), QRect(4, 30 - 3 - h, 90, h));
}

TEST(CustomEdit, CentreLayoutOfA13PixelLine)
{
    // A line 13 pixels high in an edit 20 pixels high lies at y = 3.
    TwCustomEdit edit;
    QFont font = edit.font();
    for (int size = 4; size < 20 && TXGetCharHeight(font) != 13; ++size)
        font.setPixelSize(size);
    if (TXGetCharHeight(font) != 13)
        GTEST_SKIP() << "no font size with a 13-pixel line";
    edit.setFont(font);
    edit.resize(80, 20);
    edit.SetLayout(tlCenter);
    EXPECT_EQ(edit.GetEditRect().top(), 3);
}

TEST(CustomEdit, MarginsOneByOne)
{
    TwCustomEdit edit;
    for (int side = 0; side < 4; ++side)
        edit.SetMargin(side, side + 1);
    EXPECT_EQ(edit.Margins(), QMargins(1, 2, 3, 4));
    for (int side = 0; side < 4; ++side)
        EXPECT_EQ(edit.GetMargin(side), side + 1);
    EXPECT_EQ(ErrorOf([&] { edit.SetMargin(4, 1); }), QStringLiteral("Margin side bounds error[4]"));
    EXPECT_THROW(edit.GetMargin(-1), TException);
}

TEST(CustomEdit, CustomAreaIsPaintedAndLeftOutOfTheText)
{
    ButtonEdit edit;
    edit.resize(100, 20);
    edit.UpdateEditRect();
    EXPECT_EQ(edit.GetEditRect().right(), 100 - 16 - 1);
    edit.SetMargin(2, 2);
    EXPECT_EQ(edit.GetEditRect().right(), 100 - 16 - 2 - 1);
    const QImage image = edit.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(92, 10)), QColor(Qt::red));
    EXPECT_NE(QColor(image.pixel(50, 10)), QColor(Qt::red));
}

TEST(CustomMaskEdit, EscapeInAModifiedMaskedTextDoesNotCloseItsDialog)
{
    QDialog dialog;
    auto *edit = new TwCustomMaskEdit(&dialog);
    edit->SetEditMask(QStringLiteral("9999-99-99"));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("2024"));
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    edit->setModified(false);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible()) << "an unmodified text lets Esc close the dialog";
}

TEST(CustomEdit, EnteringByKeyboardSelectsAllUnlessAutoSelectIsOff)
{
    QWidget window;
    auto *first = new TwCustomEdit(&window);
    auto *second = new TwCustomEdit(&window);
    second->move(0, 30);
    second->setText(QStringLiteral("12345"));
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(second->AutoSelect());

    first->setFocus();
    second->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(second->selectedText(), QStringLiteral("12345"));

    second->SetAutoSelect(false);
    first->setFocus();
    second->deselect();
    second->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(second->selectedText(), QString());
}
