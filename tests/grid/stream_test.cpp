#include "grid/designio.h"
#include "grid/gridstream.h"
#include "storegrid.h"
#include "testgrid.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

TEST(GridStream, AFreshGridWritesOnlyItsStructureAndAGridWithThreeGroupsComesBackExactly)
{
    TestGrid fresh;
    fresh.AddColumn();
    const QJsonObject freshJson = TwGridStream::Write(fresh);
    // The indicators' font is set when they are created, so it counts as assigned.
    EXPECT_EQ(freshJson.keys().join(QLatin1Char(',')), QStringLiteral("Columns,Indicators"));
    EXPECT_EQ(freshJson.value(QStringLiteral("Columns")).toArray().at(0).toObject(), QJsonObject());
    EXPECT_EQ(freshJson.value(QStringLiteral("Indicators")).toObject().keys(), QStringList{QStringLiteral("Font")});

    TestGrid grid;
    grid.Footers().Add()->Title().SetCaption(QStringLiteral("합계"));
    grid.Footers().Add()->SetVisible(false);
    for (int g = 0; g < 3; ++g) {
        TwGroup *group = grid.Groups().Add();
        group->SetLevels(g + 1);
        group->SetWidth(80 + 20 * g);
        for (int level = 0; level < group->Levels(); ++level) {
            for (int i = 0; i <= level; ++i) {
                TestColumn *column = grid.AddColumn(QStringLiteral("%1-%2-%3").arg(g).arg(level).arg(i));
                group->InsertItem(level, i, column);
            }
        }
    }
    TwGroup *third = grid.Groups().Items(2);
    third->SetWeight(7);
    third->SetLevelWeight(1, 3);
    third->Title().SetHeight(15);
    third->Title().SetAlignment(taLeftJustify);
    grid.Groups().Items(1)->SetVisible(false);
    TwColumn *column = grid.Columns().Items(1);
    column->SetColor(0x00FFCC00u);
    column->SetEditFormat(QStringLiteral("#,##0.00"));
    column->SetItems({QStringLiteral("가"), QStringLiteral("나")});
    column->SetValues({QStringLiteral("A"), QStringLiteral("B")});
    column->Title().SetSortMark(wsmDesc);
    column->Footer().SetValues(0, QStringLiteral("=SUM"));
    column->SetReadOnly(true);
    column->SetWidth(77);
    grid.Columns().Items(2)->SetVisible(false);
    grid.SetRowHeight(25);
    grid.SetFixedCount(1);
    grid.SetOptions({wgoSkipReadOnly, wgoColSizing});
    grid.Headers().SetColHeight(30);
    grid.Indicators().SetWidth(30);
    grid.Markers().SetVisible(true);
    grid.Lines().SetCellColor(0x123456u);
    grid.FixedStyle().SetOptions({wfxSelecting});
    grid.SetGroupMode(true);

    const QJsonObject first = TwGridStream::Write(grid);
    TestGrid copy;
    TwGridStream::Read(copy, first);
    const QJsonObject second = TwGridStream::Write(copy);
    EXPECT_EQ(QJsonDocument(second).toJson().toStdString(), QJsonDocument(first).toJson().toStdString());

    EXPECT_TRUE(copy.GroupMode());
    EXPECT_EQ(copy.Groups().Count(), 3);
    EXPECT_EQ(copy.Groups().GetVCount(), 2);
    const TwGroup *thirdCopy = copy.Groups().Items(2);
    EXPECT_EQ(thirdCopy->Weight(), 7);
    EXPECT_EQ(thirdCopy->GetLevelWeight(1), third->GetLevelWeight(1));
    EXPECT_EQ(thirdCopy->GetColCount(2), 3);
    EXPECT_EQ(thirdCopy->GetColumns(2, 1)->Title().Caption(), QStringLiteral("2-2-1"));
    EXPECT_EQ(thirdCopy->Title().Height(), 15);
    const TwColumn *columnCopy = copy.Columns().Items(1);
    EXPECT_EQ(columnCopy->ColWidth(), 77);
    EXPECT_EQ(columnCopy->Footer().GetValues(0), QStringLiteral("=SUM"));
    EXPECT_EQ(columnCopy->Title().SortMark(), wsmDesc);
    EXPECT_FALSE(copy.Columns().Items(2)->Visible());
    EXPECT_EQ(copy.Columns().GetVCount(), grid.Columns().Count() - 1);
    EXPECT_EQ(copy.GrpFixedCount(), grid.GrpFixedCount());
    EXPECT_EQ(copy.ColRowHeight(), 25);
    EXPECT_EQ(copy.Footers().GetVCount(), 1);
}

namespace {

QString Json(const QJsonObject &json)
{
    return QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact));
}

QStringList Keys(const QJsonObject &json)
{
    QStringList keys = json.keys();
    keys.sort();
    return keys;
}

// Every published property of the core column set away from its default.
void SetEveryCoreProperty(TwColumn &column)
{
    column.SetAlignment(taCenter);
    column.SetAutoSize(false);
    column.SetCharCase(ecUpperCase);
    column.SetColor(0x00112233u);
    column.SetCtl3D(false);
    column.SetEditBorder(webSunken);
    column.SetEditButton(true);
    column.SetEditColor(true);
    column.SetEditFormat(QStringLiteral("#,##0"));
    column.SetEditStyle(wesRadioGroup);
    column.SetEqualBlank(true);
    column.SetFitStyle(wfitEnd);
    TwFont font = column.Font();
    font.Font.setBold(true);
    column.SetFont(font);
    column.Footer().SetColor(0x00445566u);
    column.Footer().SetValues(0, QStringLiteral("합계"));
    column.SetImageLayout(wimgRight);
    column.SetImeMode(imHanguel);
    column.SetImeName(QStringLiteral("Korean IME"));
    column.SetItems({QStringLiteral("예"), QStringLiteral("아니오")});
    column.SetLayout(tlBottom);
    for (int side = 0; side < 4; ++side)
        column.SetMargin(side, side + 2);
    column.SetMaxLength(12);
    column.SetMaxValue(QStringLiteral("99"));
    column.SetMinValue(QStringLiteral("1"));
    column.SetRadioColumns(2);
    column.SetReadOnly(true);
    column.Title().SetCaption(QStringLiteral("품목"));
    column.Title().SetSortMark(wsmAsc);
    column.SetTransparent(true);
    column.SetValues({QStringLiteral("Y"), QStringLiteral("N")});
    column.SetVisible(false);
    column.SetWordWrap(true);
    column.SetWidth(90);
    TwColumnListOption &list = column.ListOption();
    list.SetAutoDrop(false);
    list.SetCaseSensitive(true);
    list.SetCharWidth(-1);
    list.SetColLines(true);
    list.SetColor(clWhite);
    TwFont listFont = list.Font();
    listFont.Font.setItalic(true);
    list.SetFont(listFont);
    list.SetItemCount(12);
    list.SetLineColor(clBlack);
    list.SetRowLines(true);
    list.SetSeparator(QLatin1Char('|'));
    list.SetShowTitle(true);
    list.SetTitleColor(clSilver);
    TwFont titleFont = list.TitleFont();
    titleFont.Font.setUnderline(true);
    list.SetTitleFont(titleFont);
    list.SetTitles(QStringLiteral("코드|이름"));
    list.SetWidth(-1);
    list.SetValuesIndex(1);
    list.SetValuesOnly(false);
}

// Compares what the two columns' getters give, property by property, so a property the
// writer leaves out shows as a difference even when both designs are written alike.
void ExpectSameCoreProperties(const TwColumn &a, const TwColumn &b)
{
    EXPECT_EQ(a.Alignment(), b.Alignment());
    EXPECT_EQ(a.AutoSize(), b.AutoSize());
    EXPECT_EQ(a.CharCase(), b.CharCase());
    EXPECT_EQ(a.Color(), b.Color());
    EXPECT_EQ(a.Ctl3D(), b.Ctl3D());
    EXPECT_EQ(a.EditBorder(), b.EditBorder());
    EXPECT_EQ(a.EditButton(), b.EditButton());
    EXPECT_EQ(a.EditColor(), b.EditColor());
    EXPECT_EQ(a.EditFormat(), b.EditFormat());
    EXPECT_EQ(a.EditStyle(), b.EditStyle());
    EXPECT_EQ(a.EqualBlank(), b.EqualBlank());
    EXPECT_EQ(a.FitStyle(), b.FitStyle());
    EXPECT_TRUE(a.Font() == b.Font());
    EXPECT_EQ(a.Footer().Color(), b.Footer().Color());
    EXPECT_EQ(a.Footer().ValueList(), b.Footer().ValueList());
    EXPECT_EQ(a.ImageLayout(), b.ImageLayout());
    EXPECT_EQ(a.ImeMode(), b.ImeMode());
    EXPECT_EQ(a.ImeName(), b.ImeName());
    EXPECT_EQ(a.Items(), b.Items());
    EXPECT_EQ(a.Layout(), b.Layout());
    for (int side = 0; side < 4; ++side)
        EXPECT_EQ(a.Margin(side), b.Margin(side)) << side;
    EXPECT_EQ(a.MaxLength(), b.MaxLength());
    EXPECT_EQ(a.MaxValue(), b.MaxValue());
    EXPECT_EQ(a.MinValue(), b.MinValue());
    EXPECT_EQ(a.RadioColumns(), b.RadioColumns());
    EXPECT_EQ(a.ReadOnly(), b.ReadOnly());
    EXPECT_EQ(a.Title().Caption(), b.Title().Caption());
    EXPECT_EQ(a.Title().SortMark(), b.Title().SortMark());
    EXPECT_EQ(a.Transparent(), b.Transparent());
    EXPECT_EQ(a.Values(), b.Values());
    EXPECT_EQ(a.Visible(), b.Visible());
    EXPECT_EQ(a.WordWrap(), b.WordWrap());
    EXPECT_EQ(a.ColWidth(), b.ColWidth());
    EXPECT_EQ(a.GrpWidth(), b.GrpWidth());
    const TwColumnListOption &x = a.ListOption();
    const TwColumnListOption &y = b.ListOption();
    EXPECT_EQ(x.AutoDrop(), y.AutoDrop());
    EXPECT_EQ(x.CaseSensitive(), y.CaseSensitive());
    EXPECT_EQ(x.CharWidth(), y.CharWidth());
    EXPECT_EQ(x.ColLines(), y.ColLines());
    EXPECT_EQ(x.Color(), y.Color());
    EXPECT_TRUE(x.Font() == y.Font());
    EXPECT_EQ(x.ItemCount(), y.ItemCount());
    EXPECT_EQ(x.LineColor(), y.LineColor());
    EXPECT_EQ(x.RowLines(), y.RowLines());
    EXPECT_EQ(x.Separator(), y.Separator());
    EXPECT_EQ(x.ShowTitle(), y.ShowTitle());
    EXPECT_EQ(x.TitleColor(), y.TitleColor());
    EXPECT_EQ(x.Width(), y.Width());
    EXPECT_TRUE(x.TitleFont() == y.TitleFont());
    EXPECT_EQ(x.Titles(), y.Titles());
    EXPECT_EQ(x.ValuesIndex(), y.ValuesIndex());
    EXPECT_EQ(x.ValuesOnly(), y.ValuesOnly());
}

const QStringList CoreKeys = QStringLiteral(
    "Alignment,AutoSize,CharCase,ColWidth,Color,Ctl3D,EditBorder,EditButton,EditColor,EditFormat,"
    "EditStyle,EqualBlank,FitStyle,Font,Footer,Group,GrpWidth,ImageLayout,ImeMode,ImeName,Items,Layout,"
    "Level,LevelIndex,ListOption,MarginBottom,MarginLeft,MarginRight,MarginTop,MaxLength,MaxValue,"
    "MinValue,RadioColumns,ReadOnly,Title,Transparent,Values,Visible,WordWrap")
                                  .split(QLatin1Char(','));

// Writes the grid, reads it into `copy`, and checks that the copy writes the same design.
void ExpectRoundTrip(const TwCustomGrid &grid, TwCustomGrid &copy)
{
    const QJsonObject first = TwGridStream::Write(grid);
    TwGridStream::Read(copy, first);
    EXPECT_EQ(Json(TwGridStream::Write(copy)), Json(first));
}

// A grid with one footer row and two groups of two levels, ready for columns.
template<typename Grid>
void Prepare(Grid &grid)
{
    grid.Footers().Add();
    grid.Groups().Add();
    TwGroup *group = grid.Groups().Add();
    group->SetLevels(2);
    group->SetWidth(120);
}

} // namespace

TEST(GridStream, RegressionEveryPropertyOfEveryColumnClassComesBack)
{
    // The core column.
    {
        TestGrid grid;
        Prepare(grid);
        TestColumn *column = grid.AddColumn();
        SetEveryCoreProperty(*column);
        column->SetCell(WCell(1, 1, 0));
        const QJsonObject written = TwGridStream::Write(grid).value(QStringLiteral("Columns")).toArray().at(0).toObject();
        QStringList expected = CoreKeys;
        expected.removeOne(QStringLiteral("LevelIndex")); // the first place of its line is the default
        expected.sort();
        EXPECT_EQ(Keys(written).join(QLatin1Char(',')).toStdString(), expected.join(QLatin1Char(',')).toStdString());
        TestGrid copy;
        ExpectRoundTrip(grid, copy);
        EXPECT_EQ(copy.Columns().Items(0)->Footer().GetValues(0), QStringLiteral("합계"));
        EXPECT_EQ(copy.Columns().Items(0)->Margin(3), 5);
        ExpectSameCoreProperties(*grid.Columns().Items(0), *copy.Columns().Items(0));
    }
    // The data-store column with its footer styles.
    {
        StoreGrid grid;
        Prepare(grid);
        TwMemColumn *first = grid.AddMemColumn(wdtString);
        TwMemColumn *column = grid.AddMemColumn(wdtDate);
        SetEveryCoreProperty(*column);
        column->SetCell(WCell(1, 1, 1));
        first->SetCell(WCell(1, 1, 0));
        column->SetDefaults(QStringLiteral("2024-01-02"));
        column->SetDisplayFormat(QStringLiteral("yyyy.mm.dd"));
        column->SetRequired(true);
        column->SetCalculated(true);
        column->MemFooter().SetStyle(0, wfmeMax, 0, wfopGT, QStringLiteral("A"));
        first->SetDataWidth(3);
        const QJsonObject written = TwGridStream::Write(grid).value(QStringLiteral("Columns")).toArray().at(1).toObject();
        QStringList expected = CoreKeys;
        expected << QStringLiteral("Calculated") << QStringLiteral("DataType") << QStringLiteral("Defaults")
                 << QStringLiteral("DisplayFormat") << QStringLiteral("Required");
        expected.sort();
        EXPECT_EQ(Keys(written).join(QLatin1Char(',')).toStdString(), expected.join(QLatin1Char(',')).toStdString())
            << "DataWidth 8 of a date is the default";
        EXPECT_EQ(written.value(QStringLiteral("Footer")).toObject().value(QStringLiteral("Style")).toArray().at(0).toString(),
                  QStringLiteral("500002A"));

        StoreGrid copy;
        ExpectRoundTrip(grid, copy);
        auto *back = static_cast<TwMemColumn *>(copy.Columns().Items(1));
        EXPECT_EQ(back->DataType(), wdtDate);
        EXPECT_EQ(back->DataWidth(), 8);
        EXPECT_EQ(back->Defaults(), QStringLiteral("2024-01-02"));
        EXPECT_EQ(back->DisplayFormat(), QStringLiteral("yyyy.mm.dd"));
        EXPECT_TRUE(back->Required());
        EXPECT_TRUE(back->Calculated());
        EXPECT_EQ(back->MemFooter().Styles().value(0), QStringLiteral("500002A"));
        EXPECT_EQ(static_cast<TwMemColumn *>(copy.Columns().Items(0))->DataWidth(), 3);
        ExpectSameCoreProperties(*grid.Columns().Items(1), *copy.Columns().Items(1));
    }
    // Store columns of every type keep their type and width; a fresh column's width of 16
    // is written because the stored default is 8.
    {
        StoreGrid grid;
        for (int type = wdtString; type <= wdtGraphic; ++type)
            grid.AddMemColumn(static_cast<TwDataType>(type));
        static_cast<TwMemColumn *>(grid.Columns().Items(1))->SetDataWidth(300);
        StoreGrid copy;
        ExpectRoundTrip(grid, copy);
        QStringList types;
        for (int i = 0; i < copy.Columns().Count(); ++i) {
            const auto *column = static_cast<TwMemColumn *>(copy.Columns().Items(i));
            types << QStringLiteral("%1/%2").arg(column->DataType()).arg(column->DataWidth());
        }
        EXPECT_EQ(types.join(QLatin1Char(' ')), QStringLiteral("0/16 1/300 2/1 3/1 4/1 5/2 6/2 7/4 8/8 9/8 10/8 11/8 12/0"));
    }
}

TEST(GridStream, RegressionAHostileDesignFailsNamingThePropertyAndChangesNothing)
{
    const QString weights = QString::fromLatin1(QByteArray(16, 1).toBase64());
    struct Case
    {
        std::string Json;
        QString Error;
    };
    const Case cases[] = {
        {R"({"Groups":[{}],"Columns":[{"Group":0,"LevelIndex":200000000}]})", QStringLiteral("Columns[0].LevelIndex: 200000000 is out of range 0..0")},
        {R"({"ColRowHeight":-5})", QStringLiteral("ColRowHeight: -5 is out of range 4..32767")},
        {R"({"GrpRowHeight":2.5})", QStringLiteral("GrpRowHeight: a whole number is expected")},
        {R"({"Groups":[{"Levels":99}]})", QStringLiteral("Groups[0].Levels: 99 is out of range 1..16")},
        {R"({"Groups":[{"Levels":2,"Weight":4,"Weights":")" + weights.toStdString() + R"("}]})", QStringLiteral("Groups[0].Weights: the level weights add up to 2, not to Weight 4")},
        {R"({"Columns":[{"MarginLeft":300}]})", QStringLiteral("Columns[0].MarginLeft: 300 is out of range 0..255")},
        {R"({"Columns":[{"DataType":40}]})", QStringLiteral("Columns[0].DataType: 40 is out of range 0..12")},
        {R"({"Columns":[{"Group":3}]})", QStringLiteral("Columns[0].Group: 3 is out of range -1..-1")},
        {R"({"Groups":[{"Levels":2}],"Columns":[{"Group":0,"Level":2}]})", QStringLiteral("Columns[0].Level: 2 is out of range 0..1")},
        {R"({"Groups":[{}],"Columns":[{"Group":0},{"Group":0}]})", QStringLiteral("Columns[1].LevelIndex: the place is taken by Columns[0]")},
        {R"({"Columns":"x"})", QStringLiteral("Columns: a list of objects is expected")},
        {R"({"Columns":[{"Title":{"Caption":5}}]})", QStringLiteral("Columns[0].Title.Caption: a text is expected")},
        {R"({"Columns":[{"Footer":{"Values":["a","b"]}}],"Footers":[{}]})", QStringLiteral("Columns[0].Footer.Values: 2 texts for 1 footer rows")},
        {R"({"Columns":[{"Footer":{"Style":["9xxxxx"]}}],"Footers":[{}]})", QStringLiteral("Columns[0].Footer.Style: entry 0 \"9xxxxx\" is not a footer style")},
        {R"({"Options":1e12})", QStringLiteral("Options: a set of 22 members is expected")},
        {R"({"Markers":{"Style":-1}})", QStringLiteral("Markers.Style: -1 is out of range 0..3")},
        {R"({"Lines":{"HorzWidth":70000}})", QStringLiteral("Lines.HorzWidth: 70000 is out of range 0..65535")},
        {R"({"Columns":[{"ColWidth":2147483647}]})", QStringLiteral("Columns[0].ColWidth: 2147483647 is out of range 4..32767")},
        {R"({"Columns":[{"GrpWidth":40000}]})", QStringLiteral("Columns[0].GrpWidth: 40000 is out of range 4..32767")},
        {R"({"Groups":[{"Width":40000}]})", QStringLiteral("Groups[0].Width: 40000 is out of range 4..32767")},
        {R"({"Footers":[{"ColHeight":40000}]})", QStringLiteral("Footers[0].ColHeight: 40000 is out of range 4..32767")},
        {R"({"Headers":{"GrpHeight":40000}})", QStringLiteral("Headers.GrpHeight: 40000 is out of range 8..32767")},
        {R"({"Indicators":{"Width":99999}})", QStringLiteral("Indicators.Width: 99999 is out of range 13..32767")},
        {R"({"Markers":{"Width":99999}})", QStringLiteral("Markers.Width: 99999 is out of range 4..32767")},
        {R"({"Columns":[{"DataType":8,"DisplayFormat":"0.00E+00"}]})", QStringLiteral("Columns[0].DisplayFormat: \"0.00E+00\": exponent patterns are not supported")},
        {R"({"Columns":[{"ListOption":{"Separator":"ab"}}]})", QStringLiteral("Columns[0].ListOption.Separator: one character is expected")},
        {R"({"Columns":[{"ListOption":{"ItemCount":-1}}]})", QStringLiteral("Columns[0].ListOption.ItemCount: -1 is out of range 0..32767")},
        {R"({"Columns":[{"ListOption":{"ValuesIndex":-2}}]})", QStringLiteral("Columns[0].ListOption.ValuesIndex: -2 is out of range -1..2147483647")},
    };
    for (const Case &c : cases) {
        StoreGrid grid;
        grid.AddMemColumn(wdtLong)->SetDisplayFormat(QStringLiteral("#,##0"));
        grid.SetRowHeight(30);
        const QString before = Json(TwGridStream::Write(grid));
        QJsonParseError parse{};
        const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(c.Json), &parse).object();
        ASSERT_EQ(parse.error, QJsonParseError::NoError) << c.Json;
        EXPECT_EQ(ErrorOf([&] { TwGridStream::Read(grid, json); }), c.Error) << c.Json;
        EXPECT_EQ(Json(TwGridStream::Write(grid)), before) << "the grid keeps its design: " << c.Json;
    }
}

namespace {

// A descendant grid with a property of its own, as the complete grid adds its row count.
class CountingGrid : public StoreGrid
{
public:
    int MaxRowCount = 0;

    void WriteDesign(TwDesignWriter &out) const override { out.Int("MaxRowCount", MaxRowCount, 0); }
    void ReadDesign(const TwDesignReader &in) override { MaxRowCount = in.Int("MaxRowCount", 0); }
};

} // namespace

TEST(GridStream, ADescendantGridStreamsItsOwnPropertiesThroughTheSameRules)
{
    CountingGrid grid;
    EXPECT_FALSE(TwGridStream::Write(grid).contains(QStringLiteral("MaxRowCount"))) << "the default is not written";
    grid.MaxRowCount = 40;
    CountingGrid copy;
    TwGridStream::Read(copy, TwGridStream::Write(grid));
    EXPECT_EQ(copy.MaxRowCount, 40);
    QJsonObject hostile = TwGridStream::Write(grid);
    hostile.insert(QStringLiteral("MaxRowCount"), -1);
    EXPECT_EQ(ErrorOf([&] { TwGridStream::Read(copy, hostile); }), QStringLiteral("MaxRowCount: -1 is out of range 0..2147483647"));
    EXPECT_EQ(copy.MaxRowCount, 40);
}

TEST(GridStream, RegressionStateSetByCodeOutsideTheReadRulesStillReadsBack)
{
    StoreGrid grid;
    grid.Footers().Add();
    grid.Footers().Add();
    TwMemColumn *column = grid.AddMemColumn(wdtLong);
    column->Footer().SetValues(1, QStringLiteral("합계"));
    grid.Footers().Delete(1);
    column->MemFooter().SetStyle(2, wfmeSum, -1, wfopAll, {});
    grid.Groups().Add()->Title().SetHeight(30);
    grid.Headers().SetGrpHeight(20);
    grid.SetImeName(QStringLiteral("Korean IME"));
    column->SetImeName(QString());
    TwColumnListOption &list = column->ListOption();
    list.SetItemCount(-3);
    list.SetWidth(1'000'000);
    list.SetValuesIndex(-7);
    StoreGrid copy;
    copy.SetImeName(QStringLiteral("Korean IME"));
    EXPECT_EQ(ErrorOf([&] { TwGridStream::Read(copy, TwGridStream::Write(grid)); }), QStringLiteral("(no error)"));
    const TwColumn *back = copy.Columns().Items(0);
    EXPECT_EQ(back->Footer().ValueList().size(), 0) << "texts of removed rows are not designed";
    EXPECT_EQ(copy.Groups().Items(0)->Title().Height(), 16) << "fitted under the lowered header";
    EXPECT_EQ(back->ImeName(), QString()) << "an ime name set empty stays empty";
    EXPECT_EQ(back->ListOption().ItemCount(), 0);
    EXPECT_EQ(back->ListOption().Width(), TwMaxPixels);
    EXPECT_EQ(back->ListOption().ValuesIndex(), -1);
    column->MemFooter().SetStyle(0, wfmeCount, -1, wfopAll, {});
    TwGridStream::Read(copy, TwGridStream::Write(grid));
    EXPECT_EQ(static_cast<TwMemColumn *>(copy.Columns().Items(0))->MemFooter().GetMethod(0), wfmeCount);

    // A group weight without level weights stays consistent.
    TestGrid weighted;
    const QJsonObject json = QJsonDocument::fromJson(R"({"Groups":[{"Levels":3,"Weight":7}]})").object();
    TwGridStream::Read(weighted, json);
    const TwGroup *group = weighted.Groups().Items(0);
    EXPECT_EQ(group->Weight(), 7);
    int total = 0;
    for (int level = 0; level < group->Levels(); ++level)
        total += group->GetLevelWeight(level);
    EXPECT_EQ(total, 7) << "the level weights add up to the total";
    TestGrid weightedCopy;
    ExpectRoundTrip(weighted, weightedCopy);
    EXPECT_EQ(weightedCopy.Groups().Items(0)->Weight(), 7);
}
