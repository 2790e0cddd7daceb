// The controls as assistive technology reads them: each has its role and reports its
// value after typing, and a label names the control it is the focus control of.

#include "grid/uxdedit.h"
#include "gridex/uxcombos.h"
#include "gridex/uxctrls.h"
#include "gridex/uxlabels.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QAccessibleInterface *Face(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

class AccessibleControls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_form.resize(400, 200);
        m_form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
    }

    // A label in front of `control`, named by its caption.
    TwLabel *Label(const QString &caption, QWidget *control)
    {
        auto *label = new TwLabel(caption, &m_form);
        label->SetFocusControl(control);
        return label;
    }

    void Type(QWidget *control, const QString &text)
    {
        control->setFocus();
        QApplication::processEvents();
        // Key by key with its text, as an input method delivers Korean.
        for (const QChar character : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
            QApplication::sendEvent(control, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
            QApplication::sendEvent(control, &release);
        }
    }

    QWidget m_form;
};

} // namespace

TEST_F(AccessibleControls, LabelsReadTheirTextAndNameTheirControl)
{
    auto *edit = new TwEdit(&m_form);
    TwLabel *label = Label(QStringLiteral("거래처명(&N)"), edit);
    EXPECT_EQ(Face(label)->role(), QAccessible::StaticText);
    EXPECT_EQ(Face(label)->text(QAccessible::Name), QStringLiteral("거래처명(N)"));
    EXPECT_EQ(Face(edit)->text(QAccessible::Name), QStringLiteral("거래처명(N)"));
    const auto labelled = Face(label)->relations(QAccessible::Labelled);
    ASSERT_EQ(labelled.size(), 1);
    EXPECT_EQ(labelled.front().first->object(), edit);

    // The name follows the caption; a name the program gave stays.
    label->SetCaption(QStringLiteral("상호"));
    EXPECT_EQ(Face(edit)->text(QAccessible::Name), QStringLiteral("상호"));
    auto *other = new TwEdit(&m_form);
    other->setAccessibleName(QStringLiteral("대표자"));
    label->SetFocusControl(other);
    EXPECT_EQ(Face(other)->text(QAccessible::Name), QStringLiteral("대표자"));
    EXPECT_EQ(Face(edit)->text(QAccessible::Name), QString()) << "the label names another control now";

    // A masked label reads nothing of its text.
    label->SetPasswordChar(QLatin1Char('*'));
    EXPECT_EQ(Face(label)->text(QAccessible::Name), QString());

    auto *total = new TwNumLabel(&m_form);
    total->SetFormat(QStringLiteral("#,##0"));
    total->SetSuffix(QStringLiteral(" 원"));
    total->SetValue(4500);
    EXPECT_EQ(Face(total)->text(QAccessible::Value), QStringLiteral("4,500 원"));
}

TEST_F(AccessibleControls, EveryEditReportsItsValueAfterTyping)
{
    auto *name = new TwEdit(&m_form);
    Label(QStringLiteral("상호"), name);
    Type(name, QStringLiteral("한결상회"));
    EXPECT_EQ(Face(name)->role(), QAccessible::EditableText);
    EXPECT_EQ(Face(name)->text(QAccessible::Value), QStringLiteral("한결상회"));

    auto *amount = new TwNumEdit(&m_form);
    amount->SetThousandSep(true);
    Label(QStringLiteral("금액"), amount);
    QAccessibleInterface *number = Face(amount);
    EXPECT_EQ(number->role(), QAccessible::SpinBox);
    EXPECT_EQ(number->text(QAccessible::Name), QStringLiteral("금액"));
    Type(amount, QStringLiteral("12345"));
    ASSERT_NE(number->valueInterface(), nullptr);
    EXPECT_EQ(number->valueInterface()->currentValue().toDouble(), 12345.0);
    EXPECT_EQ(number->text(QAccessible::Value), amount->DisplayText());
    number->valueInterface()->setCurrentValue(77.0);
    EXPECT_EQ(amount->Value(), 77.0);

    auto *date = new TwDateEdit(&m_form);
    Label(QStringLiteral("판매일자"), date);
    date->SetLong(20261209);
    EXPECT_EQ(Face(date)->text(QAccessible::Name), QStringLiteral("판매일자"));
    EXPECT_EQ(Face(date)->role(), QAccessible::SpinBox);
    // The date as the field shows it.
    EXPECT_EQ(Face(date)->text(QAccessible::Value), date->text());
    EXPECT_TRUE(date->text().contains(QLatin1String("2026"))) << date->text().toStdString();
    date->SetIsNull(true);
    EXPECT_EQ(Face(date)->text(QAccessible::Value), QString());

    auto *payment = new TwCombo(&m_form);
    payment->SetItems({QStringLiteral("현금"), QStringLiteral("카드")});
    payment->SetValues({QStringLiteral("C"), QStringLiteral("K")});
    Label(QStringLiteral("결제"), payment);
    QAccessibleInterface *combo = Face(payment);
    EXPECT_EQ(combo->role(), QAccessible::ComboBox);
    EXPECT_EQ(combo->text(QAccessible::Name), QStringLiteral("결제"));
    payment->SetValueIndex(1);
    EXPECT_EQ(combo->text(QAccessible::Value), QStringLiteral("카드"));
    EXPECT_TRUE(combo->actionInterface()->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
}
