#include "designerplugin.h"

#include "gridtaskmenu.h"

#include "grid/tabrix.h"
#include "gridex/uxexregs.h"

#include <QMetaProperty>

#include <map>

namespace {

struct TwWidgetLook
{
    const char *ToolTip;
    QSize Size;
};

// What the widget box shows and the size a control has when dropped on a form: the size
// the control is created with (labels 121 x 20, edits and combos 20 high, the number edit
// 121 x 21), so that a dropped control matches one made in code. The date picker has no
// size of its own.
const std::map<QString, TwWidgetLook> &Looks()
{
    static const std::map<QString, TwWidgetLook> looks{
        {QStringLiteral("TwLabel"), {"Label with borders, shadow and corner marks", {121, 20}}},
        {QStringLiteral("TwNumLabel"), {"Label that shows a number in its display format", {121, 20}}},
        {QStringLiteral("TwEdit"), {"Text edit with alignment and margins", {121, 20}}},
        {QStringLiteral("TwMaskEdit"), {"Text edit with an edit mask", {121, 20}}},
        {QStringLiteral("TwNumEdit"), {"Number edit with limits, precision and a spinner", {121, 21}}},
        {QStringLiteral("TwDateEdit"), {"Date edit", {121, 21}}},
        {QStringLiteral("TwCombo"), {"Combo box with a drop-down list of several columns", {145, 20}}},
        {QStringLiteral("TTabrix"), {"Data grid with column groups, footers and its own row store", {320, 120}}},
        {QStringLiteral("TwFileGrid"), {"Data grid for file lists (a TTabrix)", {320, 120}}},
    };
    return looks;
}

TwWidgetLook LookOf(const QString &className)
{
    const auto found = Looks().find(className);
    if (found == Looks().end())
        return {nullptr, {100, 21}};
    return found->second;
}

// Whether a widget lies in one of Designer's form windows, as
// QDesignerFormWindowInterface::findFormWindow finds it: up the parents to the first
// window. The class is named rather than cast to, so the plugin does not bring Designer's
// library into the programs that load forms at run time.
bool InFormWindow(const QWidget *widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (widget->inherits("QDesignerFormWindowInterface"))
            return true;
        if (widget->isWindow())
            return false;
    }
    return false;
}

// Created inside a form window, a control is being designed. The flag is a published
// property of the classes that behave differently at design time; others have none.
void MarkDesigning(QWidget *widget, const QWidget *parent)
{
    if (!InFormWindow(parent))
        return;
    const int index = widget->metaObject()->indexOfProperty("Designing");
    if (index < 0)
        return;
    widget->metaObject()->property(index).write(widget, true);
}

} // namespace

/// One control of the collection, created through its palette entry.
class TwDesignerWidget : public QDesignerCustomWidgetInterface
{
public:
    /// `designText`: the class keeps its design in the string property Design.
    explicit TwDesignerWidget(TwPaletteEntry entry, bool designText = false)
        : m_entry(std::move(entry))
        , m_include(m_entry.Include)
        , m_designText(designText)
    {
    }

    QString name() const override { return m_entry.ClassName; }
    QString group() const override { return TXPalettePage(); }
    QString toolTip() const override
    {
        const TwWidgetLook look = LookOf(m_entry.ClassName);
        return look.ToolTip ? QString::fromUtf8(look.ToolTip) : m_entry.ClassName;
    }
    QString whatsThis() const override { return toolTip(); }
    QString includeFile() const override { return m_include; }
    QIcon icon() const override { return {}; }
    bool isContainer() const override { return false; }
    bool isInitialized() const override { return m_initialized; }
    // The grid brings its entries for Designer's context menu; Designer initialises every
    // control once per form editor.
    void initialize(QDesignerFormEditorInterface *core) override
    {
        if (m_initialized)
            return;
        m_initialized = true;
        if (m_designText)
            TwGridTaskMenuFactory::Register(core);
    }

    // Only the geometry: every other property keeps the value the class publishes as its
    // default, exactly as a control constructed in code. A design text is edited as plain
    // lines and never offered for translation (a translated design would be read again).
    QString domXml() const override
    {
        const QSize size = LookOf(m_entry.ClassName).Size;
        QString objectName = m_entry.ClassName;
        objectName[0] = objectName[0].toLower();
        const QString designTextSettings =
            m_designText ? QStringLiteral(" <customwidgets>\n"
                                          "  <customwidget>\n"
                                          "   <class>%1</class>\n"
                                          "   <propertyspecifications>\n"
                                          "    <stringpropertyspecification name=\"Design\" notr=\"true\" type=\"multiline\"/>\n"
                                          "   </propertyspecifications>\n"
                                          "  </customwidget>\n"
                                          " </customwidgets>\n")
                               .arg(m_entry.ClassName)
                         : QString();
        return QStringLiteral("<ui language=\"c++\">\n"
                              " <widget class=\"%1\" name=\"%2\">\n"
                              "  <property name=\"geometry\">\n"
                              "   <rect><x>0</x><y>0</y><width>%3</width><height>%4</height></rect>\n"
                              "  </property>\n"
                              " </widget>\n"
                              "%5"
                              "</ui>\n")
            .arg(m_entry.ClassName, objectName)
            .arg(size.width())
            .arg(size.height())
            .arg(designTextSettings);
    }

    QWidget *createWidget(QWidget *parent) override
    {
        QWidget *widget = m_entry.Create(parent);
        MarkDesigning(widget, parent);
        return widget;
    }

private:
    TwPaletteEntry m_entry;
    QString m_include;
    bool m_designText = false;
    bool m_initialized = false;
};

TwDesignerCollection::TwDesignerCollection(QObject *parent)
    : QObject(parent)
{
    for (TwPaletteEntry &entry : TXRegisteredControls())
        m_widgets.push_back(std::make_unique<TwDesignerWidget>(std::move(entry)));
    m_widgets.push_back(std::make_unique<TwDesignerWidget>(TwPaletteEntry{
        QStringLiteral("TTabrix"), [](QWidget *parent) -> QWidget * { return new TTabrix(parent); },
        QStringLiteral("grid/tabrix.h")},
        true));
    m_widgets.push_back(std::make_unique<TwDesignerWidget>(TwPaletteEntry{
        QStringLiteral("TwFileGrid"), [](QWidget *parent) -> QWidget * { return new TwFileGrid(parent); },
        QStringLiteral("grid/tabrix.h")},
        true));
}

TwDesignerCollection::~TwDesignerCollection() = default;

QList<QDesignerCustomWidgetInterface *> TwDesignerCollection::customWidgets() const
{
    QList<QDesignerCustomWidgetInterface *> widgets;
    for (const auto &widget : m_widgets)
        widgets.append(widget.get());
    return widgets;
}
