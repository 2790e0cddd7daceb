// Forms at run time: QUiLoader creates the controls through the plugin, and a grid's
// columns, groups and footers travel in its design text.

#include "grid/tabrix.h"
#include "grid/uxdedit.h"
#include "gridex/uxcombos.h"
#include "gridex/uxctrls.h"
#include "gridex/uxlabels.h"
#include "formload.h"
#include "ui_everycontrol.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QMetaEnum>
#include <QUiLoader>

#include <memory>

namespace {

const char *const TwoColumns =
    R"({"Columns":[{"ColWidth":80,"Title":{"Caption":"코드"}},{"ColWidth":120,"Title":{"Caption":"이름"}}]})";

QString Form(const QString &design)
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <property name="geometry"><rect><x>0</x><y>0</y><width>400</width><height>300</height></rect></property>
  <widget class="TwLabel" name="label">
   <property name="geometry"><rect><x>10</x><y>10</y><width>80</width><height>21</height></rect></property>
  </widget>
  <widget class="TwNumEdit" name="amount">
   <property name="geometry"><rect><x>100</x><y>10</y><width>121</width><height>21</height></rect></property>
  </widget>
  <widget class="TTabrix" name="grid">
   <property name="geometry"><rect><x>10</x><y>40</y><width>320</width><height>120</height></rect></property>
   <property name="Design"><string>%1</string></property>
   <property name="RowCount"><number>3</number></property>
  </widget>
 </widget>
 <customwidgets>
  <customwidget><class>TwLabel</class><extends>QWidget</extends><header>gridex/uxlabels.h</header></customwidget>
  <customwidget><class>TwNumEdit</class><extends>QWidget</extends><header>gridex/uxctrls.h</header></customwidget>
  <customwidget><class>TTabrix</class><extends>QAbstractScrollArea</extends><header>grid/tabrix.h</header></customwidget>
 </customwidgets>
</ui>
)")
        .arg(design.toHtmlEscaped());
}

// Collects the warnings issued while it lives.
class WarningRecorder
{
public:
    WarningRecorder() { m_previous = qInstallMessageHandler(&WarningRecorder::Record); }
    ~WarningRecorder() { qInstallMessageHandler(m_previous); }
    static QStringList &Warnings()
    {
        static QStringList warnings;
        return warnings;
    }

private:
    static void Record(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        if (type == QtWarningMsg)
            Warnings() << text;
    }
    QtMessageHandler m_previous;
};

QString Captions(const TTabrix &grid)
{
    QStringList captions;
    for (int i = 0; i < grid.Columns().Count(); ++i)
        captions << grid.Columns().Items(i)->Title().Caption();
    return captions.join(u'|');
}

} // namespace

TEST(DesignerForms, LoadsControlsAndTheGridDesign)
{
    const std::unique_ptr<QWidget> form = LoadForm(Form(QString::fromUtf8(TwoColumns)));
    ASSERT_NE(form, nullptr);
    EXPECT_NE(form->findChild<TwLabel *>(QStringLiteral("label")), nullptr);
    EXPECT_NE(form->findChild<TwNumEdit *>(QStringLiteral("amount")), nullptr);
    const auto *grid = form->findChild<TTabrix *>(QStringLiteral("grid"));
    ASSERT_NE(grid, nullptr);
    EXPECT_FALSE(grid->Designing());
    EXPECT_EQ(Captions(*grid), QStringLiteral("코드|이름"));
    EXPECT_EQ(grid->Columns().Items(1)->Width(), 120);
    // The row count set after the design gives that many empty rows.
    EXPECT_EQ(grid->GetRowCount(), 3);
}

// Columns, groups and footers come back from the text the grid gives.
TEST(DesignerForms, DesignTextRoundTrip)
{
    TTabrix source;
    source.SetDesign(QString::fromUtf8(TwoColumns));
    source.Groups().Add();
    source.Columns().Items(0)->SetGroup(0);
    source.Footers().Add();
    source.SetGroupMode(true);
    const QString text = source.property("Design").toString();

    TTabrix copy;
    EXPECT_TRUE(copy.setProperty("Design", text));
    EXPECT_EQ(copy.Design(), text);
    EXPECT_EQ(Captions(copy), QStringLiteral("코드|이름"));
    EXPECT_EQ(copy.Groups().Count(), 1);
    EXPECT_EQ(copy.Footers().Count(), 1);
    EXPECT_TRUE(copy.GroupMode());

    // An empty text is the empty design.
    copy.SetDesign(QString());
    EXPECT_EQ(copy.Columns().Count(), 0);
    EXPECT_EQ(copy.Groups().Count(), 0);
}

TEST(DesignerForms, BadDesignTextKeepsTheGrid)
{
    TTabrix grid;
    grid.setObjectName(QStringLiteral("grid"));
    grid.SetDesign(QString::fromUtf8(TwoColumns));
    const QString before = grid.Design();

    const std::pair<const char *, const char *> cases[] = {
        {R"({"Columns":[)", "grid: the design is no JSON text.*"},
        {R"([1, 2])", "grid: the design is no JSON object.*"},
        {R"({"Columns":[{"ColWidth":"wide"}]})", "grid: Columns\\[0\\]\\.ColWidth.*"},
    };
    for (const auto &[text, warning] : cases) {
        SCOPED_TRACE(text);
        WarningRecorder::Warnings().clear();
        {
            const WarningRecorder recorder;
            EXPECT_NO_THROW(grid.setProperty("Design", QString::fromUtf8(text)));
        }
        EXPECT_TRUE(WarningRecorder::Warnings().join(u'\n').contains(QRegularExpression(QString::fromLatin1(warning))))
            << WarningRecorder::Warnings().join(u'\n').toStdString();
        EXPECT_EQ(grid.Design(), before);
        EXPECT_EQ(Captions(grid), QStringLiteral("코드|이름"));
    }
}

// The properties a form stores for each of its named widgets, as "name.property=value".
QStringList StoredProperties(const QWidget &form)
{
    QStringList lines;
    for (const QWidget *widget : form.findChildren<QWidget *>()) {
        if (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QMetaObject *meta = widget->metaObject();
        for (int i = 0; i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (!property.isStored() || !property.isReadable())
                continue;
            const QVariant value = property.read(widget);
            QString text = value.toString();
            if (text.isEmpty() && value.canConvert<QStringList>())
                text = value.toStringList().join(u',');
            if (text.isEmpty() && value.isValid() && !value.canConvert<QString>())
                text = QString::fromLatin1(value.typeName());
            lines << QStringLiteral("%1.%2=%3").arg(widget->objectName(), QString::fromLatin1(property.name()), text);
        }
    }
    lines.sort();
    return lines;
}

// A form with every control of the palette, as Designer saves it, compiled by uic into
// this test: it builds, and the compiled form holds what QUiLoader makes of the file.
TEST(DesignerForms, AFormOfEveryControlCompiledByUicEqualsTheLoadedOne)
{
    QWidget compiled;
    Ui::EveryControl ui;
    ui.setupUi(&compiled);
    EXPECT_EQ(ui.customerLabel->Caption(), QStringLiteral("거래처명(&N)"));
    EXPECT_TRUE(ui.customerLabel->Shadow());
    EXPECT_EQ(ui.customerName->Color(), 16777215u);
    EXPECT_EQ(ui.phone->EditMask(), QStringLiteral("999-9999-9999"));
    EXPECT_EQ(ui.amount->Precision(), 2);
    EXPECT_EQ(ui.amount->Value(), 1234.5);
    EXPECT_EQ(ui.total->GetLabelText(), QStringLiteral("4,500 원"));
    EXPECT_TRUE(ui.saleDate->EnableNull());
    EXPECT_EQ(ui.payment->Items(), (QStringList{QStringLiteral("현금"), QStringLiteral("카드"), QStringLiteral("어음")}));
    EXPECT_EQ(Captions(*ui.sales), QStringLiteral("코드|품목명"));
    EXPECT_EQ(ui.sales->GetRowCount(), 4) << "the rows set after the design";
    EXPECT_EQ(ui.sales->ChangeDelay(), 250);
    EXPECT_EQ(ui.files->ChangeDelay(), 100);
    // The option sets and choices Designer edits, as the controls' published settings.
    EXPECT_EQ(ui.sales->Options(), (TwGridOptions{wgoAlwaysShowSelection, wgoEditing, wgoInserting, wgoMultiSelect,
                                                  wgoRowSelect}));
    EXPECT_TRUE(ui.files->Options().IsEmpty()) << "every option off";
    EXPECT_EQ(ui.sales->ImeMode(), imHanguel);
    EXPECT_EQ(ui.customerLabel->Alignment(), taCenter);
    EXPECT_EQ(ui.customerLabel->BorderStyle(), mlbsSunken);
    EXPECT_EQ(ui.customerLabel->Layout(), tlBottom);
    EXPECT_EQ(ui.customerName->Alignment(), taRightJustify);
    EXPECT_EQ(ui.amount->BorderStyle(), bsNone);
    EXPECT_EQ(ui.amount->Layout(), tlTop);
    EXPECT_EQ(ui.saleDate->DateMode(), dmUpDown);
    EXPECT_EQ(ui.payment->Style(), wcsDropDownList);

    const std::unique_ptr<QWidget> loaded = LoadForm(EveryControlForm());
    ASSERT_NE(loaded, nullptr);
    const QStringList compiledProperties = StoredProperties(compiled);
    const QStringList loadedProperties = StoredProperties(*loaded);
    EXPECT_GT(compiledProperties.size(), 100);
    EXPECT_EQ(compiledProperties.join(u'\n').toStdString(), loadedProperties.join(u'\n').toStdString());
}

// Designer shows a property as a check list or a choice only when its type is a registered
// flag or enum; the published properties of the same settings stay out of its editor.
TEST(DesignerForms, OptionSetsAndChoicesAreQtFlagsAndEnums)
{
    struct Case
    {
        const QMetaObject *meta;
        const char *property;
        const char *published;
        bool flags;
        const char *firstKey;
    };
    const Case cases[] = {
        {&TTabrix::staticMetaObject, "options", "Options", true, "wgoNone"},
        {&TTabrix::staticMetaObject, "imeMode", "ImeMode", false, "imDisable"},
        {&TwEdit::staticMetaObject, "textAlignment", "Alignment", false, "taLeftJustify"},
        {&TwEdit::staticMetaObject, "textLayout", "Layout", false, "tlTop"},
        {&TwNumEdit::staticMetaObject, "borderStyle", "BorderStyle", false, "bsNone"},
        {&TwNumEdit::staticMetaObject, "textLayout", "Layout", false, "tlTop"},
        {&TwDateEdit::staticMetaObject, "kind", "Kind", false, "dtkDate"},
        {&TwDateEdit::staticMetaObject, "dateMode", "DateMode", false, "dmComboBox"},
        {&TwCombo::staticMetaObject, "comboStyle", "Style", false, "wcsDropDown"},
        {&TwLabel::staticMetaObject, "textAlignment", "Alignment", false, "taLeftJustify"},
        {&TwLabel::staticMetaObject, "borderStyle", "BorderStyle", false, "mlbsLine"},
        {&TwNumLabel::staticMetaObject, "textLayout", "Layout", false, "tlTop"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.meta->className()) + "." + c.property);
        const int index = c.meta->indexOfProperty(c.property);
        ASSERT_GE(index, 0);
        const QMetaProperty property = c.meta->property(index);
        EXPECT_TRUE(property.isDesignable());
        EXPECT_TRUE(property.isWritable());
        EXPECT_EQ(property.isFlagType(), c.flags);
        EXPECT_TRUE(property.isEnumType());
        EXPECT_STREQ(property.enumerator().key(0), c.firstKey);
        const QMetaProperty published = c.meta->property(c.meta->indexOfProperty(c.published));
        ASSERT_TRUE(published.isValid());
        EXPECT_FALSE(published.isDesignable());
    }
    // Every grid option is a flag of its own bit, after the key of none.
    const QMetaEnum options = TTabrix::staticMetaObject.property(TTabrix::staticMetaObject.indexOfProperty("options"))
                                  .enumerator();
    ASSERT_EQ(options.keyCount(), wgoSkipReadOnly + 2);
    EXPECT_EQ(options.value(0), 0);
    for (int i = 1; i < options.keyCount(); ++i)
        EXPECT_EQ(options.value(i), 1 << (i - 1)) << options.key(i);
}

// A form sets the values by name, with the scope Designer writes or without it, and the
// published setters show through the Designer properties.
TEST(DesignerForms, OptionsAndChoicesAreSetByName)
{
    TTabrix grid;
    TwLabel label;
    TwDateEdit date;
    EXPECT_TRUE(grid.setProperty("options", QStringLiteral("Tw::wgoEditing|Tw::wgoDeleting|wgoNullMark")));
    EXPECT_EQ(grid.Options(), (TwGridOptions{wgoEditing, wgoDeleting, wgoNullMark}));
    EXPECT_TRUE(grid.setProperty("imeMode", QStringLiteral("Tw::imSHanguel")));
    EXPECT_EQ(grid.ImeMode(), imSHanguel);
    EXPECT_TRUE(label.setProperty("borderStyle", QStringLiteral("TwEx::mlbsDeep")));
    EXPECT_EQ(label.BorderStyle(), mlbsDeep);
    EXPECT_TRUE(label.setProperty("textAlignment", QStringLiteral("taRightJustify")));
    EXPECT_EQ(label.Alignment(), taRightJustify);
    EXPECT_TRUE(date.setProperty("kind", QStringLiteral("Tw::dtkTime")));
    EXPECT_EQ(date.Kind(), dtkTime);
    EXPECT_TRUE(grid.setProperty("options", QStringLiteral("Tw::wgoNone")));
    EXPECT_TRUE(grid.Options().IsEmpty());
    EXPECT_TRUE(grid.setProperty("options", QStringLiteral("wgoEditing|wgoDeleting|wgoNullMark")));
    // An unknown key is refused and changes nothing.
    EXPECT_FALSE(grid.setProperty("imeMode", QStringLiteral("Tw::imKlingon")));
    EXPECT_EQ(grid.ImeMode(), imSHanguel);

    TwGridOptions more = grid.Options();
    more.Include(wgoRowSelect);
    grid.SetOptions(more);
    EXPECT_EQ(grid.property("options").value<Tw::GridOptions>(),
              Tw::wgoEditing | Tw::wgoDeleting | Tw::wgoNullMark | Tw::wgoRowSelect);
    grid.SetImeMode(imOpen);
    EXPECT_EQ(grid.property("imeMode").toString(), QStringLiteral("imOpen"));
}
