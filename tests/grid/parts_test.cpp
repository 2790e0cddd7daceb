#include "grid/gridstream.h"
#include "platform/texception.h"
#include "storegrid.h"
#include "testsupport.h"

#include <QMetaProperty>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// A module's column class that substitutes its own title.
class OwnTitle : public TwColumnTitle
{
public:
    using TwColumnTitle::TwColumnTitle;
};

class OwnTitleColumn : public TestColumn
{
public:
    using TestColumn::TestColumn;

protected:
    std::unique_ptr<TwColumnTitle> CreateTitle() override { return std::make_unique<OwnTitle>(this); }
};

// The same for a data-store column, which names itself while it is constructed.
class OwnTitleMemColumn : public TwMemColumn
{
public:
    using TwMemColumn::TwMemColumn;

protected:
    std::unique_ptr<TwColumnTitle> CreateTitle() override { return std::make_unique<OwnTitle>(this); }
};

class OwnTitleStoreGrid : public StoreGrid
{
public:
    std::unique_ptr<TwColumn> NewColumn(TwColumns *collection) override
    {
        return std::make_unique<OwnTitleMemColumn>(collection, this);
    }
};

class OwnTitleGrid : public TestGrid
{
public:
    std::unique_ptr<TwColumn> NewColumn(TwColumns *collection) override
    {
        return std::make_unique<OwnTitleColumn>(collection);
    }
};

/// A grid with three data-store columns in one group, one footer row and every part
/// reachable by name.
struct Parts
{
    StoreGrid grid;
    TwGroup *group = nullptr;

    Parts()
    {
        group = grid.Groups().Add();
        for (int i = 0; i < 3; ++i)
            group->InsertItem(0, i, grid.AddMemColumn(wdtString));
        grid.Footers().Add();
    }

    QObject *Object(const std::string &name)
    {
        const std::map<std::string, QObject *> objects{
            {"grid", &grid},
            {"fixed", &grid.FixedStyle()},
            {"fixedLines", &grid.FixedStyle().Lines()},
            {"lines", &grid.Lines()},
            {"endLines", &grid.EndLines()},
            {"headers", &grid.Headers()},
            {"headerLines", &grid.Headers().Lines()},
            {"footer", grid.Footers().Items(0)},
            {"indicators", &grid.Indicators()},
            {"indicatorLines", &grid.Indicators().Lines()},
            {"markers", &grid.Markers()},
            {"markerLines", &grid.Markers().Lines()},
            {"group", grid.Groups().Items(0)},
            {"column", grid.Columns().Items(0)},
            {"columnTitle", &grid.Columns().Items(0)->Title()},
            {"columnFooter", &grid.Columns().Items(0)->Footer()},
            {"listOption", &grid.Columns().Items(0)->ListOption()},
            {"headerTitle", &grid.Headers().Title()},
            {"footerTitle", &grid.Footers().Items(0)->Title()},
            {"groupTitle", &grid.Groups().Items(0)->Title()},
        };
        return objects.at(name);
    }
};

const char *const drawObjects[] = {"columnTitle", "columnFooter", "headerTitle", "footerTitle",
                                   "groupTitle", "indicators", "markers"};

/// Property values compare as values; pictures by their pixels, which a design keeps.
bool Same(const QVariant &a, const QVariant &b)
{
    if (a.metaType() != QMetaType::fromType<QPixmap>() || b.metaType() != a.metaType())
        return a == b;
    const auto pixels = [](const QVariant &v) { return v.value<QPixmap>().toImage().convertToFormat(QImage::Format_ARGB32); };
    return pixels(a) == pixels(b);
}

/// One published property: what is written and what must then be read back.
struct PropertyCase
{
    std::string object;
    const char *name;
    QVariant written;
    QVariant read;
};

const QVariant Color(TColor color)
{
    return QVariant::fromValue(color);
}

const QVariant Width(std::uint16_t width)
{
    return QVariant::fromValue(width);
}

// Every published property of the parts, each with a value other than its default;
// several twice, the second time out of range, to show the clamp.
const std::vector<PropertyCase> &PropertyCases()
{
    static const std::vector<PropertyCase> cases = [] {
        const QStringList items{QStringLiteral("하나"), QStringLiteral("둘")};
        const QStringList values{QStringLiteral("1"), QStringLiteral("2")};
        const TwFont font{QFont(QStringLiteral("NanumGothicCoding"), 10), clGray};
        const TwFont partFont{QFont(QStringLiteral("NanumMyeongjo"), 9), TColor(0x800000u)};
        std::vector<PropertyCase> list{
            // The column first, while the grid is in column mode.
            {"column", "Alignment", QVariant::fromValue(taRightJustify), QVariant::fromValue(taRightJustify)},
            {"column", "AutoSize", false, false},
            {"column", "CharCase", QVariant::fromValue(ecUpperCase), QVariant::fromValue(ecUpperCase)},
            {"column", "Color", Color(clSilver), Color(clSilver)},
            {"column", "Ctl3D", false, false},
            {"column", "EditBorder", QVariant::fromValue(webNone), QVariant::fromValue(webNone)},
            {"column", "EditButton", true, true},
            {"column", "EditColor", true, true},
            {"column", "EditFormat", QStringLiteral("#,##0"), QStringLiteral("#,##0")},
            {"column", "EditStyle", QVariant::fromValue(wesMemo), QVariant::fromValue(wesMemo)},
            {"column", "EqualBlank", true, true},
            {"column", "FitStyle", QVariant::fromValue(wfitEnd), QVariant::fromValue(wfitEnd)},
            {"column", "Font", QVariant::fromValue(font), QVariant::fromValue(font)},
            {"column", "ImageLayout", QVariant::fromValue(wimgRight), QVariant::fromValue(wimgRight)},
            {"column", "ImeMode", QVariant::fromValue(imSHanguel), QVariant::fromValue(imSHanguel)},
            {"column", "ImeName", QStringLiteral("IME"), QStringLiteral("IME")},
            {"column", "Items", items, items},
            {"column", "Layout", QVariant::fromValue(tlBottom), QVariant::fromValue(tlBottom)},
            {"column", "MarginBottom", 300, 255},
            {"column", "MarginLeft", 3, 3},
            {"column", "MarginRight", 4, 4},
            {"column", "MarginTop", -1, 0},
            {"column", "MaxLength", -5, 0},
            {"column", "MaxLength", 10, 10},
            {"column", "MaxValue", QStringLiteral("99"), QStringLiteral("99")},
            {"column", "MinValue", QStringLiteral("1"), QStringLiteral("1")},
            {"column", "RadioColumns", 0, 1},
            {"column", "RadioColumns", 3, 3},
            {"column", "ReadOnly", true, true},
            {"column", "Transparent", true, true},
            {"column", "Values", values, values},
            {"column", "Visible", false, false},
            {"column", "Visible", true, true},
            {"column", "Width", 2, 4},
            {"column", "Width", 80, 80},
            {"column", "WordWrap", true, true},
            {"column", "Calculated", true, true},
            {"column", "DataWidth", 20, 20},
            {"column", "DataType", QVariant::fromValue(wdtLong), QVariant::fromValue(wdtLong)},
            {"column", "Defaults", QStringLiteral("7"), QStringLiteral("7")},
            {"column", "DisplayFormat", QStringLiteral("0.0"), QStringLiteral("0.0")},
            {"column", "Required", true, true},
            {"grid", "ChangeDelay", -5, 0},
            {"grid", "ChangeDelay", 350, 350},
            {"grid", "Color", Color(clWhite), Color(clWhite)},
            {"grid", "NullColor", Color(0x123456u), Color(0x123456u)},
            {"grid", "SelBgColor", Color(TColor(0x800000u)), Color(TColor(0x800000u))},
            {"grid", "SelFgColor", Color(TColor(0x00FFFFu)), Color(TColor(0x00FFFFu))},
            {"grid", "Options", QVariant::fromValue(TwGridOptions{wgoRowSelect}), QVariant::fromValue(TwGridOptions{wgoRowSelect})},
            {"grid", "RowHeight", 1, 4},
            {"grid", "RowHeight", 20, 20},
            {"grid", "ColRowHeight", 22, 22},
            {"grid", "GrpRowHeight", 2, 8},
            {"grid", "GrpRowHeight", 40, 40},
            {"grid", "FixedCount", 9, 2},
            {"grid", "ColFixedCount", 1, 1},
            {"grid", "GrpFixedCount", -3, 0},
            {"grid", "GrpFixedCount", 1, 1},
            {"grid", "GroupMode", true, true},
            {"grid", "ImeMode", QVariant::fromValue(imHanguel), QVariant::fromValue(imHanguel)},
            {"grid", "ImeName", QStringLiteral("한글"), QStringLiteral("한글")},
            {"grid", "GridFont", QVariant::fromValue(TwFont{QFont(QStringLiteral("NanumGothic"), 11), TColor(0x800000u)}),
             QVariant::fromValue(TwFont{QFont(QStringLiteral("NanumGothic"), 11), TColor(0x800000u)})},
            {"fixed", "CellStyle", QVariant::fromValue(wcsSunken), QVariant::fromValue(wcsSunken)},
            {"fixed", "Color", Color(clSilver), Color(clSilver)},
            {"fixed", "Options", QVariant::fromValue(TwFixedOptions{wfxEditing}), QVariant::fromValue(TwFixedOptions{wfxEditing})},
            {"fixed", "SelBgColor", Color(clGray), Color(clGray)},
            {"fixed", "SelFgColor", Color(clBlack), Color(clBlack)},
            {"headers", "ColHeight", 2, 4},
            {"headers", "ColHeight", 25, 25},
            {"headers", "GrpHeight", 50, 50},
            {"headers", "Sizing", true, true},
            {"headers", "Visible", false, false},
            {"footer", "Color", Color(clWhite), Color(clWhite)},
            {"footer", "ColHeight", 0, 4},
            {"footer", "ColHeight", 30, 30},
            {"footer", "GrpHeight", 7, 8},
            {"footer", "GrpHeight", 44, 44},
            {"footer", "Sizing", true, true},
            {"footer", "Visible", false, false},
            {"indicators", "SelBgColor", Color(clWhite), Color(clWhite)},
            {"indicators", "SelDown", false, false},
            {"indicators", "SelFgColor", Color(TColor(0x0000FFu)), Color(TColor(0x0000FFu))},
            {"indicators", "ShowRowNo", false, false},
            {"indicators", "ShowState", false, false},
            {"indicators", "Sizing", true, true},
            {"indicators", "Visible", false, false},
            {"indicators", "Width", 1, 4},
            {"indicators", "Width", 30, 30},
            {"markers", "Clicking", true, true},
            {"markers", "ImageLayout", QVariant::fromValue(wimgLeft), QVariant::fromValue(wimgLeft)},
            {"markers", "Sizing", true, true},
            {"markers", "Style", QVariant::fromValue(wmsCheckBox), QVariant::fromValue(wmsCheckBox)},
            {"markers", "Visible", true, true},
            {"markers", "Width", 2, 4},
            {"markers", "Width", 18, 18},
            {"listOption", "AutoDrop", false, false},
            {"listOption", "CaseSensitive", true, true},
            {"listOption", "CharWidth", -40000, -TwMaxPixels},
            {"listOption", "CharWidth", 7, 7},
            {"listOption", "ColLines", true, true},
            {"listOption", "Color", Color(clWhite), Color(clWhite)},
            {"listOption", "Font", QVariant::fromValue(partFont), QVariant::fromValue(partFont)},
            {"listOption", "ItemCount", -1, 0},
            {"listOption", "ItemCount", 12, 12},
            {"listOption", "LineColor", Color(clBlack), Color(clBlack)},
            {"listOption", "RowLines", true, true},
            {"listOption", "Separator", QChar(u','), QChar(u',')},
            {"listOption", "ShowTitle", true, true},
            {"listOption", "TitleColor", Color(clSilver), Color(clSilver)},
            {"listOption", "TitleFont", QVariant::fromValue(partFont), QVariant::fromValue(partFont)},
            {"listOption", "Titles", QStringLiteral("a;b"), QStringLiteral("a;b")},
            {"listOption", "Width", 40000, TwMaxPixels},
            {"listOption", "Width", -40, -40},
            {"listOption", "ValuesIndex", -5, -1},
            {"listOption", "ValuesIndex", 1, 1},
            {"listOption", "ValuesOnly", false, false},
            {"columnTitle", "SortMark", QVariant::fromValue(wsmDesc), QVariant::fromValue(wsmDesc)},
            {"columnFooter", "Styles", QStringList{QStringLiteral("12")}, QStringList{TwMemColumnFooter::DefaultStyleText()}},
            {"columnFooter", "Styles", QStringList{QStringLiteral("3999900")}, QStringList{QStringLiteral("3999900")}},
            {"group", "Levels", 0, 1},
            {"group", "Levels", 20, 16},
            {"group", "Levels", 2, 2},
            {"group", "NoColTitles", true, true},
            {"group", "Visible", false, false},
            {"group", "Weight", 9, 6},
            {"group", "Weight", 3, 3},
            {"group", "Width", 100, 100},
            // After the group's levels and the group-mode header height: at most 50 - 4 x 2.
            {"groupTitle", "Height", 100, 42},
            {"groupTitle", "Height", -3, 0},
            {"groupTitle", "Height", 25, 25},
            {"groupTitle", "Visible", false, true}, // refused: the group hides its column titles
        };
        QPixmap image(8, 8);
        image.fill(Qt::darkCyan);
        for (const char *title : {"columnTitle", "headerTitle", "footerTitle", "groupTitle"}) {
            list.push_back({title, "Caption", QStringLiteral("제목"), QStringLiteral("제목")});
            list.push_back({title, "Clicking", true, true});
            list.push_back({title, "Image", image, image});
            list.push_back({title, "ImageLayout", QVariant::fromValue(wimgTop), QVariant::fromValue(wimgTop)});
        }
        for (const char *part : drawObjects) {
            const bool strip = std::string(part) == "indicators" || std::string(part) == "markers";
            list.push_back({part, "Alignment", QVariant::fromValue(taLeftJustify), QVariant::fromValue(taLeftJustify)});
            list.push_back({part, "CellStyle", QVariant::fromValue(wcsUp), QVariant::fromValue(wcsUp)});
            list.push_back({part, "Color", Color(clWhite), Color(clWhite)});
            list.push_back({part, "FitStyle", QVariant::fromValue(wfitPath), QVariant::fromValue(wfitPath)});
            list.push_back({part, "Font", QVariant::fromValue(partFont), QVariant::fromValue(partFont)});
            list.push_back({part, "Layout", QVariant::fromValue(tlTop), QVariant::fromValue(tlTop)});
            list.push_back({part, "MarginBottom", 5, 5});
            list.push_back({part, "MarginLeft", 6, 6});
            list.push_back({part, "MarginRight", 7, 7});
            list.push_back({part, "MarginTop", 8, 8});
            list.push_back({part, "WordWrap", strip, strip});
        }
        const char *lineSets[] = {"fixedLines", "lines", "endLines", "headerLines", "indicatorLines", "markerLines"};
        for (const char *lines : lineSets) {
            list.push_back({lines, "HorzColor", Color(TColor(0xFF0000u)), Color(TColor(0xFF0000u))});
            list.push_back({lines, "HorzStyle", QVariant::fromValue(psDot), QVariant::fromValue(psDot)});
            list.push_back({lines, "HorzWidth", Width(3), Width(3)});
            list.push_back({lines, "VertColor", Color(TColor(0x0000FFu)), Color(TColor(0x0000FFu))});
            list.push_back({lines, "VertStyle", QVariant::fromValue(psDash), QVariant::fromValue(psDash)});
            list.push_back({lines, "VertWidth", Width(2), Width(2)});
            if (std::string(lines) == "endLines" || std::string(lines) == "indicatorLines" || std::string(lines) == "markerLines")
                continue;
            list.push_back({lines, "CellColor", Color(TColor(0x008000u)), Color(TColor(0x008000u))});
            list.push_back({lines, "CellStyle", QVariant::fromValue(psDot), QVariant::fromValue(psDot)});
            list.push_back({lines, "CellWidth", Width(4), Width(4)});
            list.push_back({lines, "LevelColor", Color(TColor(0x800080u)), Color(TColor(0x800080u))});
            list.push_back({lines, "LevelStyle", QVariant::fromValue(psDash), QVariant::fromValue(psDash)});
            list.push_back({lines, "LevelWidth", Width(5), Width(5)});
        }
        return list;
    }();
    return cases;
}

/// The notifying properties an object publishes itself (not those of its Qt base classes).
std::vector<QMetaProperty> PublishedProperties(const QObject *object)
{
    std::vector<QMetaProperty> properties;
    const QMetaObject *meta = object->metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.enclosingMetaObject()->className() == QByteArray("QWidget")
            || property.enclosingMetaObject()->className() == QByteArray("QFrame")
            || property.enclosingMetaObject()->className() == QByteArray("QAbstractScrollArea"))
            continue;
        // Lower-case names are Designer's views of published settings (options for Options …),
        // tested with the forms.
        if (QChar::fromLatin1(property.name()[0]).isLower())
            continue;
        properties.push_back(property);
    }
    return properties;
}

} // namespace

TEST(GridParts, AColumnClassesPartFactoriesTakeEffectWithoutFurtherCalls)
{
    OwnTitleGrid grid;
    EXPECT_NE(dynamic_cast<OwnTitle *>(&grid.Columns().Add()->Title()), nullptr);

    StoreGrid store;
    EXPECT_NE(dynamic_cast<TwMemColumnFooter *>(&store.AddMemColumn(wdtLong)->Footer()), nullptr);

    OwnTitleStoreGrid named;
    named.Columns().Add();
    const TwColumn *second = named.Columns().Add();
    EXPECT_NE(dynamic_cast<const OwnTitle *>(&second->Title()), nullptr);
    EXPECT_EQ(second->Title().Caption(), QStringLiteral("Column2"));
}

// Regression: setting the header or footer height of the current mode, or one margin by its
// side number, changed the value without its notification.
TEST(GridParts, RegressionEveryWayToSetAValueNotifies)
{
    Parts parts;
    QSignalSpy header(&parts.grid.Headers(), &TwGridHeaders::ColHeightChanged);
    parts.grid.Headers().SetHeight(parts.grid.Headers().Height() + 5);
    EXPECT_EQ(header.count(), 1);
    TwGridFooter *footer = parts.grid.Footers().Items(0);
    QSignalSpy footerHeight(footer, &TwGridFooter::ColHeightChanged);
    footer->SetHeight(footer->Height() + 5);
    EXPECT_EQ(footerHeight.count(), 1);
    TwColumn *column = parts.grid.Columns().Items(0);
    QSignalSpy margin(column, &TwColumn::MarginTopChanged);
    column->SetMargin(1, column->MarginTop() + 3);
    EXPECT_EQ(margin.count(), 1);
}

TEST(GridParts, ReplacingTheColumnsLeavesNoPointerToAColumnThatIsGone)
{
    Parts parts;
    StoreGrid &grid = parts.grid;
    grid.SetGroupMode(true);
    const TwColumns *columns = &grid.Columns();

    grid.Columns().Clear();
    EXPECT_EQ(&grid.Columns(), columns) << "the collection is never replaced, only its items";
    EXPECT_EQ(parts.group->GetCount(), 0);
    EXPECT_EQ(grid.ColumnByCell(WCell(0, 0, 0)), nullptr);

    TwColumn *added = grid.AddMemColumn(wdtLong);
    parts.group->InsertItem(0, 0, added);
    EXPECT_EQ(grid.ColumnByVCell(WCell(0, 0, 0)), added);
    grid.grab(); // paints through every pointer the groups and the geometry hold

    TwGridStream::Read(grid, TwGridStream::Write(grid)); // a design read replaces the columns too
    EXPECT_EQ(grid.ColumnByVCell(WCell(0, 0, 0)), grid.Columns().Items(0));
    grid.grab();
}

TEST(GridParts, EachPublishedPropertyClampsAndNotifiesOncePerRealChange)
{
    Parts parts;
    // A column's place in the group structure has its own tests (groups_test.cpp). The
    // design text stands for the whole design and the design-time flag is not a setting:
    // neither notifies (tests/designer).
    std::set<std::string> covered{"column.Group", "column.Level", "column.LevelIndex", "column.Weight"};
    const std::set<std::string> withoutNotification{"grid.Design", "grid.Designing"};
    for (const PropertyCase &c : PropertyCases()) {
        SCOPED_TRACE(c.object + "." + c.name);
        QObject *object = parts.Object(c.object);
        const QMetaProperty property = object->metaObject()->property(object->metaObject()->indexOfProperty(c.name));
        ASSERT_TRUE(property.isValid());
        ASSERT_TRUE(property.hasNotifySignal());
        covered.insert(c.object + "." + c.name);

        QSignalSpy spy(object, property.notifySignal());
        const QVariant before = property.read(object);
        ASSERT_TRUE(property.write(object, c.written));
        EXPECT_TRUE(Same(property.read(object), c.read));
        EXPECT_EQ(spy.count(), Same(before, c.read) ? 0 : 1);
        ASSERT_TRUE(property.write(object, c.written));
        EXPECT_EQ(spy.count(), Same(before, c.read) ? 0 : 1) << "the same value again changes nothing";
    }
    for (const char *name : {"grid", "fixed", "fixedLines", "lines", "endLines", "headers", "headerLines", "footer",
                             "indicators", "indicatorLines", "markers", "markerLines", "group", "column",
                             "columnTitle", "columnFooter", "listOption", "headerTitle", "footerTitle", "groupTitle"}) {
        for (const QMetaProperty &property : PublishedProperties(parts.Object(name))) {
            const std::string key = std::string(name) + "." + property.name();
            if (withoutNotification.count(key))
                continue;
            EXPECT_TRUE(property.hasNotifySignal()) << key;
            EXPECT_TRUE(covered.count(key)) << key << " has no case";
        }
    }
}

TEST(GridParts, AnAssignmentNotifiesEachPropertyItChanges)
{
    Parts parts;
    TwTitle &source = parts.grid.Headers().Title();
    source.SetCaption(QStringLiteral("번호"));
    source.SetColor(clWhite);
    source.SetMarginLeft(6);
    TwTitle &target = parts.grid.Footers().Items(0)->Title();
    QSignalSpy caption(&target, &TwTitle::CaptionChanged);
    QSignalSpy color(&target, &TwDrawObject::ColorChanged);
    QSignalSpy margin(&target, &TwDrawObject::MarginLeftChanged);
    QSignalSpy cellStyle(&target, &TwDrawObject::CellStyleChanged); // raised by the header's title
    QSignalSpy layout(&target, &TwDrawObject::LayoutChanged);
    target.Assign(source);
    target.Assign(source);
    EXPECT_EQ(caption.count(), 1);
    EXPECT_EQ(color.count(), 1);
    EXPECT_EQ(margin.count(), 1);
    EXPECT_EQ(cellStyle.count(), 1);
    EXPECT_EQ(layout.count(), 0);
}

TEST(GridParts, EveryStreamedPropertyComesBackFromADesign)
{
    // The input method and the font come from the form, not from the grid's design.
    const std::set<std::string> notStreamed{"grid.ImeMode", "grid.ImeName", "grid.GridFont"};
    Parts parts;
    for (const PropertyCase &c : PropertyCases())
        parts.Object(c.object)->setProperty(c.name, c.written);
    Parts copy;
    TwGridStream::Read(copy.grid, TwGridStream::Write(parts.grid));
    for (const PropertyCase &c : PropertyCases()) {
        if (notStreamed.count(c.object + "." + c.name))
            continue;
        EXPECT_TRUE(Same(copy.Object(c.object)->property(c.name), parts.Object(c.object)->property(c.name)))
            << c.object << "." << c.name;
    }
}

TEST(GridParts, EveryAccessOutsideACollectionFailsWithItsText)
{
    Parts parts;
    StoreGrid &grid = parts.grid;
    TwGroup *group = parts.group;
    const std::vector<std::pair<std::function<void()>, QString>> cases{
        {[&] { grid.Columns().Items(3); }, QStringLiteral("TwColumns Bounds Error in Items(3)")},
        {[&] { grid.Columns().Items(-1); }, QStringLiteral("TwColumns Bounds Error in Items(-1)")},
        {[&] { grid.Columns().Delete(7); }, QStringLiteral("TwColumns Bounds Error in Items(7)")},
        {[&] { grid.Columns().GetVItems(3); }, QStringLiteral("TwColumns Bounds Error in GetVItems(3)")},
        {[&] { grid.Groups().Items(1); }, QStringLiteral("TwGroups Bounds Error in Items(1)")},
        {[&] { grid.Groups().Delete(2); }, QStringLiteral("TwGroups Bounds Error in Items(2)")},
        {[&] { grid.Groups().GetVItems(1); }, QStringLiteral("TwGroups Bounds Error in GetVItems(1)")},
        {[&] { group->GetLines(1); }, QStringLiteral("Level bounds error in GetLines(1)")},
        {[&] { group->GetColumns(0, 3); }, QStringLiteral("TwGroup Bounds Error in GetColumns(0, 3)")},
        {[&] { group->GetLevelWeight(1); }, QStringLiteral("Level bounds error in GetLevelWeight(1)")},
        {[&] { grid.Footers().Items(1); }, QStringLiteral("TwGridFooters Bounds Error in Items(1)")},
        {[&] { grid.Footers().Delete(1); }, QStringLiteral("TwGridFooters Bounds Error in Items(1)")},
        {[&] { grid.Footers().GetVItems(1); }, QStringLiteral("TwGridFooters Bounds Error in GetVItems(1)")},
        {[&] { grid.Footers().GetVTop(1); }, QStringLiteral("TwGridFooters Bounds Error in GetVTop(1)")},
        {[&] { grid.Columns().Items(0)->Footer().SetValues(1, {}); }, QStringLiteral("Bound Error in TwColumnFooter.SetValues(1)")},
    };
    for (const auto &[access, text] : cases)
        EXPECT_EQ(ErrorOf(access), text);
    EXPECT_EQ(grid.Columns().Count(), 3) << "a failed access changes nothing";
}

// Regression: reading a design notified every property as it went, with the grid half
// built, and a design that failed notified each restored value twice.
TEST(GridParts, RegressionADesignNotifiesOnceWhenItHasLoaded)
{
    Parts source;
    source.grid.SetColor(0x102030);
    source.grid.Headers().SetColHeight(40);
    const QJsonObject design = TwGridStream::Write(source.grid);

    Parts parts;
    QStringList seen;
    QObject::connect(&parts.grid, &TwCustomGrid::ColorChanged, &parts.grid,
                     [&] { seen << QStringLiteral("color %1").arg(parts.grid.Loading()); });
    QObject::connect(&parts.grid.Headers(), &TwGridHeaders::ColHeightChanged, &parts.grid,
                     [&](int height) { seen << QStringLiteral("height %1").arg(height); });
    TwGridStream::Read(parts.grid, design);
    EXPECT_EQ(seen.join(QLatin1Char('|')), QStringLiteral("color 0|height 40"));

    seen.clear();
    QJsonObject broken = design;
    broken.insert(QStringLiteral("Color"), QStringLiteral("not a colour"));
    EXPECT_NE(ErrorOf([&] { TwGridStream::Read(parts.grid, broken); }), QStringLiteral("(no error)"));
    EXPECT_EQ(seen.join(QLatin1Char('|')), QString());
    EXPECT_EQ(parts.grid.Color(), 0x102030u);
}

// Regression: switching the mode switched the row height and the header height kept per
// mode without a word.
TEST(GridParts, RegressionSwitchingTheModeNotifiesWhatItSwitches)
{
    Parts parts;
    parts.grid.SetColRowHeight(20);
    parts.grid.SetGrpRowHeight(30);
    QSignalSpy rows(&parts.grid, &TwCustomGrid::RowHeightsChanged);
    QSignalSpy mode(&parts.grid, &TwCustomGrid::GroupModeChanged);
    parts.grid.SetGroupMode(true);
    ASSERT_TRUE(parts.grid.GroupMode());
    EXPECT_EQ(parts.grid.RowHeight(), 30);
    EXPECT_EQ(rows.count(), 1);
    EXPECT_EQ(mode.count(), 1);
}

// Regression: sharing out a group's width, or a column's width with its neighbour, changed
// the other columns' widths without a word, as did a group's weight when its levels changed.
TEST(GridParts, RegressionWidthsSharedOutInAGroupNotify)
{
    StoreGrid grid;
    TwGroup *group = grid.Groups().Add();
    TwMemColumn *a = grid.AddMemColumn(wdtString);
    TwMemColumn *b = grid.AddMemColumn(wdtString);
    group->InsertItem(0, 0, a);
    group->InsertItem(0, 1, b);
    grid.SetGroupMode(true);
    ASSERT_TRUE(grid.GroupMode());
    QSignalSpy widthA(a, &TwColumn::WidthChanged);
    QSignalSpy widthB(b, &TwColumn::WidthChanged);
    group->SetWidth(group->Width() + 40);
    EXPECT_EQ(widthA.count() + widthB.count(), 2);
    widthA.clear();
    widthB.clear();
    a->SetWidth(a->Width() + 10);
    EXPECT_EQ(widthA.count(), 1);
    EXPECT_EQ(widthB.count(), 1);

    TwGroup *other = grid.Groups().Add();
    other->SetLevels(3);
    other->SetWeight(1);
    QSignalSpy weight(other, &TwGroup::WeightChanged);
    other->SetLevels(2);
    EXPECT_EQ(other->Weight(), 2);
    EXPECT_EQ(weight.count(), 1);
}
