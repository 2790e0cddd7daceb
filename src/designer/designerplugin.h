#pragma once

// The Qt Designer plugin of the grid library and its extension controls: one collection
// that puts every control on the widget box page "Tabrix".

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

#include <memory>
#include <vector>

class TwDesignerWidget;

class TwDesignerCollection : public QObject, public QDesignerCustomWidgetCollectionInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TwDesignerCollection(QObject *parent = nullptr);
    ~TwDesignerCollection() override;

    /// The extension controls in palette order, then TTabrix.
    QList<QDesignerCustomWidgetInterface *> customWidgets() const override;

private:
    std::vector<std::unique_ptr<TwDesignerWidget>> m_widgets;
};
