#include "gridtaskmenu.h"

#include "footstylesedit.h"

#include "grid/customgrid.h"

#include <QAction>
#include <QMenu>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>

namespace {

// The grid's design as the form's property sheet holds it: the text together with the
// settings the form keeps for it (a design text is not offered for translation), which a
// plain text would lose. The sheet takes the text from the grid when asked.
QVariant DesignValue(QDesignerFormWindowInterface *form, TwCustomGrid *grid)
{
    auto *sheet = qt_extension<QDesignerPropertySheetExtension *>(form->core()->extensionManager(), grid);
    const int index = sheet ? sheet->indexOf(QStringLiteral("Design")) : -1;
    if (index < 0)
        return grid->Design();
    return sheet->property(index);
}

} // namespace

TwGridTaskMenu::TwGridTaskMenu(TwCustomGrid *grid, QObject *parent)
    : QObject(parent)
    , m_grid(grid)
    , m_editFootStyles(new QAction(QStringLiteral("Edit Footer Styles"), this))
    , m_columns(new QMenu)
{
    m_editFootStyles->setObjectName(QStringLiteral("editFootStyles"));
    m_editFootStyles->setMenu(m_columns);
    connect(m_columns, &QMenu::aboutToShow, this, &TwGridTaskMenu::FillColumns);
}

TwGridTaskMenu::~TwGridTaskMenu() { delete m_columns; }

QList<QAction *> TwGridTaskMenu::taskActions() const
{
    // Without footer lines no column has styles: the entry shows, but disabled.
    m_editFootStyles->setEnabled(m_grid && !FootStylesColumnNames(*m_grid).isEmpty());
    return { m_editFootStyles };
}

void TwGridTaskMenu::FillColumns()
{
    m_columns->clear();
    if (!m_grid)
        return;
    const QStringList names = FootStylesColumnNames(*m_grid);
    for (int i = 0; i < names.size(); ++i) {
        // A caption's '&' is shown, not taken for a shortcut.
        QString name = names.at(i);
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction *action = m_columns->addAction(QStringLiteral("%1 - %2...").arg(i).arg(name));
        // Queued: the dialog opens after the context menu has closed.
        connect(
            action, &QAction::triggered, this, [this, i] { EditColumn(i); }, Qt::QueuedConnection);
    }
}

void TwGridTaskMenu::EditColumn(int column)
{
    if (!m_grid)
        return;
    const QString before = m_grid->Design();
    if (!EditColumnFootStyles(m_grid, column))
        return;
    QDesignerFormWindowInterface *form = QDesignerFormWindowInterface::findFormWindow(m_grid);
    if (!form)
        return;
    const QVariant after = DesignValue(form, m_grid);
    // The dialog has written into the grid itself. The form's property command must find the
    // old design in place, so that it marks the form modified and Undo brings the old one back.
    m_grid->SetDesign(before);
    form->cursor()->setWidgetProperty(m_grid, QStringLiteral("Design"), after);
}

TwGridTaskMenuFactory::TwGridTaskMenuFactory(QExtensionManager *parent)
    : QExtensionFactory(parent)
{
}

void TwGridTaskMenuFactory::Register(QDesignerFormEditorInterface *core)
{
    QExtensionManager *manager = core ? core->extensionManager() : nullptr;
    if (!manager)
        return;
    manager->registerExtensions(new TwGridTaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
}

QObject *TwGridTaskMenuFactory::createExtension(QObject *object, const QString &iid, QObject *parent) const
{
    if (iid != QLatin1String(Q_TYPEID(QDesignerTaskMenuExtension)))
        return nullptr;
    auto *grid = qobject_cast<TwCustomGrid *>(object);
    if (!grid)
        return nullptr;
    return new TwGridTaskMenu(grid, parent);
}
