// The Designer plugin as Designer sees it: loaded from its file, its collection lists the
// palette page's controls in order and creates each with the defaults the class publishes.

#include "grid/tabrix.h"
#include "gridex/uxexregs.h"
#include "gridex/uxlabels.h"

#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QPluginLoader>
#include <QXmlStreamReader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

#include <memory>

// Designer's form window as the plugin recognises it: a widget of that class among the
// parents up to the window.
class QDesignerFormWindowInterface : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;
};

namespace {

QList<QDesignerCustomWidgetInterface *> PluginWidgets()
{
    static QPluginLoader loader(QStringLiteral(TABRIX_DESIGNER_PLUGIN));
    auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
    if (!collection)
        ADD_FAILURE() << "plugin not loaded: " << loader.errorString().toStdString();
    return collection ? collection->customWidgets() : QList<QDesignerCustomWidgetInterface *>{};
}

std::unique_ptr<QWidget> CreateDirectly(const QString &className)
{
    if (className == QLatin1String("TTabrix"))
        return std::make_unique<TTabrix>();
    if (className == QLatin1String("TwFileGrid"))
        return std::make_unique<TwFileGrid>();
    for (const TwPaletteEntry &entry : TXRegisteredControls()) {
        if (entry.ClassName == className)
            return std::unique_ptr<QWidget>(entry.Create(nullptr));
    }
    return nullptr;
}

// "name=value" of every published property that differs between the two widgets.
// Published option objects (a combo's list option) are compared by their own properties.
QString PropertyDifferences(const QObject &created, const QObject &direct, int from, const QString &prefix = {})
{
    QString differences;
    const QMetaObject *meta = direct.metaObject();
    for (int i = from; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const QVariant expected = property.read(&direct);
        const QVariant actual = property.read(&created);
        const QString name = prefix + QString::fromLatin1(property.name());
        if (expected.metaType().flags().testFlag(QMetaType::PointerToQObject)) {
            const QObject *expectedObject = expected.value<QObject *>();
            const QObject *actualObject = actual.value<QObject *>();
            if (expectedObject && actualObject)
                differences += PropertyDifferences(*actualObject, *expectedObject, QObject::staticMetaObject.propertyCount(),
                                                   name + u'.');
            else if (expectedObject != actualObject)
                differences += name + QStringLiteral(" ");
            continue;
        }
        if (actual != expected)
            differences += QStringLiteral("%1=%2 ").arg(name, actual.toString());
    }
    return differences;
}

QString PropertyDifferences(const QWidget &created, const QWidget &direct)
{
    return PropertyDifferences(created, direct, QWidget::staticMetaObject.propertyCount());
}

} // namespace

TEST(DesignerPlugin, ListsThePalettePageInOrder)
{
    QStringList expected;
    for (const TwPaletteEntry &entry : TXRegisteredControls())
        expected << entry.ClassName;
    expected << QStringLiteral("TTabrix") << QStringLiteral("TwFileGrid");

    QStringList names;
    QStringList groups;
    for (QDesignerCustomWidgetInterface *widget : PluginWidgets()) {
        names << widget->name();
        groups << widget->group();
        EXPECT_FALSE(widget->includeFile().isEmpty()) << widget->name().toStdString();
        EXPECT_FALSE(widget->isContainer());
    }
    EXPECT_EQ(names.join(u'|'), expected.join(u'|'));
    EXPECT_EQ(groups.removeAll(QStringLiteral("Tabrix")), expected.size());
}

// A dropped control gets a size and nothing else: its other properties keep their defaults.
TEST(DesignerPlugin, DomXmlHoldsOnlyTheGeometry)
{
    for (QDesignerCustomWidgetInterface *widget : PluginWidgets()) {
        QXmlStreamReader xml(widget->domXml());
        QStringList seen;
        QStringList untranslated;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("widget"))
                seen << xml.attributes().value(QLatin1String("class")).toString();
            else if (xml.name() == QLatin1String("property"))
                seen << xml.attributes().value(QLatin1String("name")).toString();
            else if (xml.name() == QLatin1String("stringpropertyspecification")
                     && xml.attributes().value(QLatin1String("notr")) == QLatin1String("true"))
                untranslated << xml.attributes().value(QLatin1String("name")).toString();
            else if (xml.name() == QLatin1String("width") || xml.name() == QLatin1String("height")) {
                EXPECT_GT(xml.readElementText().toInt(), 16);
            }
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_EQ(seen.join(u'|'), widget->name() + QStringLiteral("|geometry"));
        // Generated code that retranslates a form must not read a design again.
        EXPECT_EQ(untranslated.join(u'|'), widget->name().endsWith(QLatin1String("Grid")) || widget->name() == QLatin1String("TTabrix") ? QStringLiteral("Design") : QString());
    }
}

TEST(DesignerPlugin, CreatesControlsWithTheirPublishedDefaults)
{
    for (QDesignerCustomWidgetInterface *widget : PluginWidgets()) {
        SCOPED_TRACE(widget->name().toStdString());
        QWidget parent;
        QWidget *created = widget->createWidget(&parent);
        ASSERT_NE(created, nullptr);
        EXPECT_EQ(created->parent(), &parent);
        EXPECT_EQ(QString::fromLatin1(created->metaObject()->className()), widget->name());
        const std::unique_ptr<QWidget> direct = CreateDirectly(widget->name());
        ASSERT_NE(direct, nullptr);
        EXPECT_EQ(PropertyDifferences(*created, *direct), QString());
        // Dropped on a form a control has the height it is created with (the date picker and
        // the grid have none of their own); a label and the number edit have their width too.
        const QString xml = widget->domXml();
        const auto number = [&xml](const char *tag) {
            const QString open = QStringLiteral("<%1>").arg(QLatin1String(tag));
            const qsizetype from = xml.indexOf(open) + open.size();
            return xml.mid(from, xml.indexOf(u'<', from) - from).toInt();
        };
        if (!qobject_cast<TTabrix *>(created) && widget->name() != QLatin1String("TwDateEdit")) {
            EXPECT_EQ(number("height"), created->height());
        }
        if (qobject_cast<TwCustomLabel *>(created) || widget->name() == QLatin1String("TwNumEdit")) {
            EXPECT_EQ(number("width"), created->width());
        }
        // Outside a form window a control runs as at run time.
        EXPECT_FALSE(created->property("Designing").toBool());
    }

    // The grid's own defaults, as published.
    QWidget parent;
    auto *grid = qobject_cast<TTabrix *>(PluginWidgets().constLast()->createWidget(&parent));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->property("AutoCalcFooters").toBool(), true);
    EXPECT_EQ(grid->property("CheckRowState").toBool(), true);
    EXPECT_EQ(grid->property("ChangeDelay").toInt(), 200);
    EXPECT_EQ(grid->Columns().Count(), 0);
    // The design flag is neither shown nor stored in form files.
    const QMetaProperty designing = grid->metaObject()->property(grid->metaObject()->indexOfProperty("Designing"));
    EXPECT_FALSE(designing.isDesignable());
    EXPECT_FALSE(designing.isStored());
}

TEST(DesignerPlugin, ControlsCreatedInAFormWindowAreDesigned)
{
    QDesignerFormWindowInterface formWindow;
    QWidget form(&formWindow);
    QStringList designing;
    for (QDesignerCustomWidgetInterface *widget : PluginWidgets()) {
        QWidget *created = widget->createWidget(&form);
        if (created->property("Designing").toBool())
            designing << widget->name();
        // Classes without the flag are left alone: no property is added to them.
        EXPECT_EQ(created->dynamicPropertyNames(), CreateDirectly(widget->name())->dynamicPropertyNames())
            << widget->name().toStdString();
    }
    // The classes that behave differently at design time: the combo shows its name.
    EXPECT_EQ(designing, QStringList({QStringLiteral("TwCombo"), QStringLiteral("TTabrix"), QStringLiteral("TwFileGrid")}));

    // At design time the stored row count gives empty rows without data behind them.
    auto *grid = form.findChild<TTabrix *>();
    ASSERT_NE(grid, nullptr);
    grid->SetDesign(QStringLiteral(R"({"Columns":[{},{}]})"));
    grid->setProperty("RowCount", 4);
    EXPECT_EQ(grid->GetRowCount(), 4);
    EXPECT_EQ(grid->RowInfos().Count(), 0);
    EXPECT_TRUE(grid->Design().contains(QLatin1String("\"RowCount\":4")));
}

#include "plugin_test.moc"
