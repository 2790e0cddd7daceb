// Qt Designer's own form editor, with the plugin loaded as Designer loads it: its property
// sheet offers the option sets and choices as check lists and choices, and a form it saves
// reloads with the same values.

#include "grid/tabrix.h"
#include "grid/uxdedit.h"
#include "gridex/uxcombos.h"
#include "gridex/uxctrls.h"
#include "gridex/uxlabels.h"
#include "formload.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QExtensionManager>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerPropertySheetExtension>

#include <memory>

namespace {

QDesignerFormEditorInterface *Designer()
{
    static QDesignerFormEditorInterface *core = [] {
        // Designer looks for its plugins in a "designer" folder under each library path.
        QDir plugins(QStringLiteral(TABRIX_DESIGNER_PLUGIN_DIR));
        plugins.cdUp();
        QCoreApplication::addLibraryPath(plugins.absolutePath());
        QDesignerComponents::initializeResources();
        QDesignerFormEditorInterface *editor = QDesignerComponents::createFormEditor(qApp);
        editor->setWidgetBox(QDesignerComponents::createWidgetBox(editor, nullptr));
        new QDesignerIntegration(editor, qApp); // the form windows ask it what they may do
        QDesignerComponents::createTaskMenu(editor, qApp);
        QDesignerComponents::initializePlugins(editor);
        return editor;
    }();
    return core;
}

} // namespace

TEST(DesignerEditor, OffersTheOptionSetsAndChoicesAndSavesThemIntoTheForm)
{
    QDesignerFormEditorInterface *core = Designer();
    QDesignerFormWindowInterface *window = core->formWindowManager()->createFormWindow(nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->setContents(EveryControlForm()));
    QWidget *sales = window->mainContainer()->findChild<TTabrix *>(QStringLiteral("sales"));
    QWidget *label = window->mainContainer()->findChild<TwLabel *>(QStringLiteral("customerLabel"));
    ASSERT_NE(sales, nullptr) << "the plugin's controls are in Designer's widget database";
    ASSERT_NE(label, nullptr);

    // The property editor edits what the property sheet offers: a flag value is a check
    // list, an enum value a choice; the published properties of the same settings are hidden.
    struct Case
    {
        QWidget *widget;
        const char *property;
        const char *editor;
    };
    const Case cases[] = {
        {sales, "options", "PropertySheetFlagValue"},
        {sales, "imeMode", "PropertySheetEnumValue"},
        {label, "borderStyle", "PropertySheetEnumValue"},
        {label, "textAlignment", "PropertySheetEnumValue"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.property);
        auto *sheet = qt_extension<QDesignerPropertySheetExtension *>(core->extensionManager(), c.widget);
        ASSERT_NE(sheet, nullptr);
        const int index = sheet->indexOf(QString::fromLatin1(c.property));
        ASSERT_GE(index, 0);
        EXPECT_TRUE(sheet->isVisible(index));
        EXPECT_TRUE(sheet->isChanged(index)) << "set by the form";
        EXPECT_TRUE(QString::fromLatin1(sheet->property(index).typeName()).contains(QLatin1String(c.editor)))
            << sheet->property(index).typeName();
    }
    auto *sheet = qt_extension<QDesignerPropertySheetExtension *>(core->extensionManager(), sales);
    const int published = sheet->indexOf(QStringLiteral("Options"));
    EXPECT_TRUE(published < 0 || !sheet->isVisible(published));

    // What Designer saves names the values with their scope, and loads back as they were.
    const QString saved = window->contents();
    EXPECT_TRUE(saved.contains(QLatin1String("<set>Tw::wgoAlwaysShowSelection|Tw::wgoEditing|Tw::wgoInserting|"
                                             "Tw::wgoMultiSelect|Tw::wgoRowSelect</set>")))
        << saved.toStdString();
    EXPECT_TRUE(saved.contains(QLatin1String("<enum>TwEx::mlbsSunken</enum>"))) << saved.toStdString();
    const std::unique_ptr<QWidget> loaded = LoadForm(saved);
    ASSERT_NE(loaded, nullptr);
    const auto *grid = loaded->findChild<TTabrix *>(QStringLiteral("sales"));
    const auto *loadedLabel = loaded->findChild<TwLabel *>(QStringLiteral("customerLabel"));
    const auto *date = loaded->findChild<TwDateEdit *>(QStringLiteral("saleDate"));
    const auto *payment = loaded->findChild<TwCombo *>(QStringLiteral("payment"));
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(loadedLabel, nullptr);
    ASSERT_NE(date, nullptr);
    ASSERT_NE(payment, nullptr);
    EXPECT_EQ(grid->Options(), (TwGridOptions{wgoAlwaysShowSelection, wgoEditing, wgoInserting, wgoMultiSelect,
                                              wgoRowSelect}));
    EXPECT_EQ(grid->ImeMode(), imHanguel);
    EXPECT_EQ(loadedLabel->BorderStyle(), mlbsSunken);
    EXPECT_EQ(loadedLabel->Alignment(), taCenter);
    EXPECT_EQ(loadedLabel->Layout(), tlBottom);
    EXPECT_EQ(date->DateMode(), dmUpDown);
    EXPECT_EQ(payment->Style(), wcsDropDownList);
    window->deleteLater();
}
