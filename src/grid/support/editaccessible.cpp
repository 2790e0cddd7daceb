// What assistive technology reads of the number edit and the date edit: spin boxes whose
// value is the number (none while it is null) or the date as shown (nothing while it is
// null). Their names come from the widgets' accessible names, which a label naming the
// edit as its focus control fills.

#include "grid/uxdedit.h"
#include "grid/uxnedit.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <cmath>

namespace {

class TwNumEditAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit TwNumEditAccessible(TwCustomNumEdit *edit)
        : QAccessibleWidget(edit, QAccessible::SpinBox)
    {
    }

    TwCustomNumEdit *Edit() const { return static_cast<TwCustomNumEdit *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return Edit()->DisplayText();
        return QAccessibleWidget::text(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !Edit()->ReadOnly();
        state.readOnly = Edit()->ReadOnly();
        return state;
    }

    QVariant currentValue() const override { return Edit()->IsNull() ? QVariant() : QVariant(Edit()->Value()); }
    void setCurrentValue(const QVariant &value) override
    {
        if (!Edit()->ReadOnly() && value.canConvert<double>())
            Edit()->SetValue(value.toDouble());
    }
    // Equal limits mean no limits.
    QVariant maximumValue() const override
    {
        return Edit()->MaxValue() == Edit()->MinValue() ? QVariant() : QVariant(Edit()->MaxValue());
    }
    QVariant minimumValue() const override
    {
        return Edit()->MaxValue() == Edit()->MinValue() ? QVariant() : QVariant(Edit()->MinValue());
    }
    QVariant minimumStepSize() const override { return std::pow(10.0, -Edit()->Precision()); }
};

class TwDateEditAccessible : public QAccessibleWidget
{
public:
    explicit TwDateEditAccessible(TwCustomDateEdit *edit)
        : QAccessibleWidget(edit, QAccessible::SpinBox)
    {
    }

    TwCustomDateEdit *Edit() const { return static_cast<TwCustomDateEdit *>(widget()); }

    QString text(QAccessible::Text type) const override
    {
        // A null date shows no text, whatever the field holds underneath.
        if (type == QAccessible::Value)
            return Edit()->IsNull() ? QString() : Edit()->text();
        return QAccessibleWidget::text(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !Edit()->isReadOnly();
        state.readOnly = Edit()->isReadOnly();
        return state;
    }
};

QAccessibleInterface *EditsFactory(const QString &, QObject *object)
{
    if (auto *edit = qobject_cast<TwCustomNumEdit *>(object))
        return new TwNumEditAccessible(edit);
    if (auto *edit = qobject_cast<TwCustomDateEdit *>(object))
        return new TwDateEditAccessible(edit);
    return nullptr;
}

void InstallEditsFactory()
{
    QAccessible::installFactory(EditsFactory);
}
Q_CONSTRUCTOR_FUNCTION(InstallEditsFactory)

} // namespace
