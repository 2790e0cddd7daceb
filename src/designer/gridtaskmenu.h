#pragma once

// The grid's entries in Designer's context menu: the footer styles of its columns.

#include <QObject>
#include <QPointer>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>

class QAction;
class QDesignerFormEditorInterface;
class QMenu;
class TwCustomGrid;

/// "Edit Footer Styles" with one entry per column. The entries are made when the submenu
/// opens, so they follow the grid's columns as they are then.
class TwGridTaskMenu : public QObject, public QDesignerTaskMenuExtension
{
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

public:
    TwGridTaskMenu(TwCustomGrid *grid, QObject *parent);
    ~TwGridTaskMenu() override;

    QList<QAction *> taskActions() const override;

private:
    void FillColumns();
    void EditColumn(int column);

    QPointer<TwCustomGrid> m_grid;
    QAction *m_editFootStyles = nullptr;
    QMenu *m_columns = nullptr;
};

/// Gives every grid of a form its task menu.
class TwGridTaskMenuFactory : public QExtensionFactory
{
    Q_OBJECT

public:
    explicit TwGridTaskMenuFactory(QExtensionManager *parent);

    /// Registers a factory with the form editor's extension manager, which owns it.
    static void Register(QDesignerFormEditorInterface *core);

protected:
    QObject *createExtension(QObject *object, const QString &iid, QObject *parent) const override;
};
