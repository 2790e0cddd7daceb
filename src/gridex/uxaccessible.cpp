// What assistive technology reads of the extension controls. The labels are static
// texts that name their focus control; the combo box is a combo box whose value is its
// text. The edits derive from Qt's line edit and date edit and read as those do.

#include "gridex/uxaccessible_p.h"

#include "gridex/uxcombos.h"
#include "gridex/uxlabels.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QVariant>

namespace {

// Where a control keeps the name its label gave it.
constexpr char LabelNameProperty[] = "_tabrix_label_name";

class TwLabelAccessible : public QAccessibleWidget
{
public:
    explicit TwLabelAccessible(TwCustomLabel *label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    TwCustomLabel *Label() const { return static_cast<TwCustomLabel *>(widget()); }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Name && widget()->accessibleName().isEmpty())
            return TXLabelSpokenText(Label());
        if (type == QAccessible::Value && qobject_cast<TwNumLabel *>(Label()))
            return TXLabelSpokenText(Label());
        return QAccessibleWidget::text(type);
    }

    QList<QPair<QAccessibleInterface *, QAccessible::Relation>> relations(QAccessible::Relation match) const override
    {
        auto relations = QAccessibleWidget::relations(match);
        if (QWidget *control = Label()->FocusControl(); control && (match & QAccessible::Labelled)) {
            if (QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control))
                relations.append({face, QAccessible::Labelled});
        }
        return relations;
    }
};

class TwComboAccessible : public QAccessibleWidget
{
public:
    explicit TwComboAccessible(TwCustomCombo *combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox)
    {
        addControllingSignal(QStringLiteral("textChanged(QString)"));
    }

    TwCustomCombo *Combo() const { return static_cast<TwCustomCombo *>(widget()); }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return Combo()->text();
        return QAccessibleWidget::text(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = Combo()->DroppedDown();
        state.collapsed = !state.expanded;
        state.editable = Combo()->Style() == wcsDropDown && !Combo()->isReadOnly();
        state.readOnly = !state.editable;
        return state;
    }
    QStringList actionNames() const override
    {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override
    {
        if (action == showMenuAction()) {
            if (Combo()->DroppedDown())
                Combo()->CloseUp(false);
            else
                Combo()->DropDown(true);
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *ControlsFactory(const QString &, QObject *object)
{
    if (auto *label = qobject_cast<TwCustomLabel *>(object))
        return new TwLabelAccessible(label);
    if (auto *combo = qobject_cast<TwCustomCombo *>(object))
        return new TwComboAccessible(combo);
    return nullptr;
}

void InstallControlsFactory()
{
    QAccessible::installFactory(ControlsFactory);
}
Q_CONSTRUCTOR_FUNCTION(InstallControlsFactory)

} // namespace

QString TXLabelSpokenText(const TwCustomLabel *label)
{
    const QString text = label->GetLabelText();
    if (label->PasswordChar() >= QLatin1Char('!'))
        return {};
    if (!label->ShowAccelChar())
        return text;
    // "&Name" reads "Name", "&&" reads "&".
    QString spoken;
    spoken.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        spoken += text.at(i);
    }
    return spoken;
}

void TXNameLabelledControl(const TwCustomLabel *label, QWidget *control, QWidget *previous)
{
    const auto ownName = [](QWidget *widget) {
        return widget->accessibleName() != widget->property(LabelNameProperty).toString();
    };
    if (previous && previous != control && !ownName(previous)) {
        previous->setAccessibleName(QString());
        previous->setProperty(LabelNameProperty, QVariant());
    }
    if (!control || ownName(control))
        return;
    const QString name = TXLabelSpokenText(label).trimmed();
    control->setProperty(LabelNameProperty, name);
    control->setAccessibleName(name);
}
