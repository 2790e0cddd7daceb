#include "grid/gridstream.h"

#include "grid/customgrid.h"
#include "grid/designio.h"

#include "platform/texception.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QtGlobal>

#include <algorithm>
#include <map>
#include <utility>

namespace {

void WriteLines(TwDesignWriter &out, const TwGridLines &lines, const TwGridLines &defaults)
{
    out.Int("HorzColor", lines.HorzColor(), defaults.HorzColor());
    out.Int("HorzStyle", lines.HorzStyle(), defaults.HorzStyle());
    out.Int("HorzWidth", lines.HorzWidth(), defaults.HorzWidth());
    out.Int("VertColor", lines.VertColor(), defaults.VertColor());
    out.Int("VertStyle", lines.VertStyle(), defaults.VertStyle());
    out.Int("VertWidth", lines.VertWidth(), defaults.VertWidth());
}

void WriteLinesEx(TwDesignWriter &out, const TwGridLinesEx &lines, const TwGridLinesEx &defaults)
{
    WriteLines(out, lines, defaults);
    out.Int("CellColor", lines.CellColor(), defaults.CellColor());
    out.Int("CellStyle", lines.CellStyle(), defaults.CellStyle());
    out.Int("CellWidth", lines.CellWidth(), defaults.CellWidth());
    out.Int("LevelColor", lines.LevelColor(), defaults.LevelColor());
    out.Int("LevelStyle", lines.LevelStyle(), defaults.LevelStyle());
    out.Int("LevelWidth", lines.LevelWidth(), defaults.LevelWidth());
}

TwDesignWriter Lines(const TwGridLines &lines, const TwGridLines &defaults)
{
    TwDesignWriter out;
    WriteLines(out, lines, defaults);
    return out;
}

TwDesignWriter LinesEx(const TwGridLinesEx &lines, const TwGridLinesEx &defaults)
{
    TwDesignWriter out;
    WriteLinesEx(out, lines, defaults);
    return out;
}

std::uint16_t LineWidth(const TwDesignReader &in, const char *key, std::uint16_t value)
{
    return static_cast<std::uint16_t>(in.Int(key, value, 0, 65535));
}

void ReadLines(TwGridLines &lines, const TwDesignReader &in)
{
    lines.SetHorzColor(in.Color("HorzColor", lines.HorzColor()));
    lines.SetHorzStyle(in.Enum("HorzStyle", lines.HorzStyle(), psClear));
    lines.SetHorzWidth(LineWidth(in, "HorzWidth", lines.HorzWidth()));
    lines.SetVertColor(in.Color("VertColor", lines.VertColor()));
    lines.SetVertStyle(in.Enum("VertStyle", lines.VertStyle(), psClear));
    lines.SetVertWidth(LineWidth(in, "VertWidth", lines.VertWidth()));
}

void ReadLinesEx(TwGridLinesEx &lines, const TwDesignReader &in)
{
    ReadLines(lines, in);
    lines.SetCellColor(in.Color("CellColor", lines.CellColor()));
    lines.SetCellStyle(in.Enum("CellStyle", lines.CellStyle(), psClear));
    lines.SetCellWidth(LineWidth(in, "CellWidth", lines.CellWidth()));
    lines.SetLevelColor(in.Color("LevelColor", lines.LevelColor()));
    lines.SetLevelStyle(in.Enum("LevelStyle", lines.LevelStyle(), psClear));
    lines.SetLevelWidth(LineWidth(in, "LevelWidth", lines.LevelWidth()));
}

// The default line sets: the headers' and the fixed area's, and the grid's own.
const TwGridLinesEx &BlackCellLines()
{
    static TwGridLinesEx lines;
    [[maybe_unused]] static const bool made = [] {
        lines.SetCellColor(clBlack);
        lines.SetLevelColor(clBlack);
        return true;
    }();
    return lines;
}

const TwGridLinesEx &GridLines()
{
    static TwGridLinesEx lines;
    [[maybe_unused]] static const bool made = [] {
        lines.SetHorzColor(clGray);
        return true;
    }();
    return lines;
}

const TwGridLines &PlainLines()
{
    static const TwGridLines lines;
    return lines;
}

// The minimum heights and row heights of the two modes.
constexpr int MinColHeight = 4;
constexpr int MinGrpHeight = 8;

} // namespace

QJsonObject TwGridStream::Write(const TwCustomGrid &grid)
{
    TwDesignWriter out;
    out.Bool("GroupMode", grid.GroupMode(), false);
    out.Int("ColRowHeight", grid.ColRowHeight(), 18);
    out.Int("GrpRowHeight", grid.GrpRowHeight(), 36);
    out.Int("ColFixedCount", grid.ColFixedCount(), 0);
    out.Int("GrpFixedCount", grid.GrpFixedCount(), 0);
    out.Int("ChangeDelay", grid.ChangeDelay(), 200);
    out.Int("Color", grid.Color(), clBtnShadow);
    out.Int("NullColor", grid.NullColor(), clBtnShadow);
    out.Int("SelBgColor", grid.SelBgColor(), clBlack);
    out.Int("SelFgColor", grid.SelFgColor(), clWhite);
    out.Int("Options", grid.Options().Bits(), 0);
    QJsonObject json = out.Json();

    QJsonArray columns;
    for (int i = 0; i < grid.Columns().Count(); ++i) {
        TwDesignWriter column;
        grid.Columns().Items(i)->WriteDesign(column);
        columns.append(column.Json());
    }
    if (!columns.isEmpty())
        json.insert(QStringLiteral("Columns"), columns);

    QJsonArray groups;
    for (int i = 0; i < grid.Groups().Count(); ++i)
        {
        TwDesignWriter group;
        grid.Groups().Items(i)->WriteDesign(group);
        groups.append(group.Json());
    }
    if (!groups.isEmpty())
        json.insert(QStringLiteral("Groups"), groups);

    const TwGridHeaders &headers = grid.Headers();
    TwDesignWriter header;
    header.Int("ColHeight", headers.ColHeight(), 21);
    header.Int("GrpHeight", headers.GrpHeight(), 42);
    header.Object("Lines", LinesEx(headers.Lines(), BlackCellLines()));
    TwDesignWriter headerTitle;
    headerTitle.Title(headers.Title());
    header.Object("Title", headerTitle);
    header.Bool("Sizing", headers.Sizing(), false);
    header.Bool("Visible", headers.Visible(), true);

    QJsonArray footers;
    for (int i = 0; i < grid.Footers().Count(); ++i) {
        const TwGridFooter &footer = *grid.Footers().Items(i);
        TwDesignWriter item;
        item.Int("Color", footer.Color(), clBtnFace);
        item.Int("ColHeight", footer.ColHeight(), 21);
        item.Int("GrpHeight", footer.GrpHeight(), 42);
        item.Bool("Sizing", footer.Sizing(), false);
        TwDesignWriter title;
        title.Title(footer.Title());
        item.Object("Title", title);
        item.Bool("Visible", footer.Visible(), true);
        footers.append(item.Json());
    }
    if (!footers.isEmpty())
        json.insert(QStringLiteral("Footers"), footers);

    const TwIndicators &indicators = grid.Indicators();
    TwDesignWriter indicator;
    indicator.DrawObject(indicators);
    indicator.Object("Lines", Lines(indicators.Lines(), PlainLines()));
    indicator.Int("SelBgColor", indicators.SelBgColor(), clBtnFace);
    indicator.Bool("SelDown", indicators.SelDown(), true);
    indicator.Int("SelFgColor", indicators.SelFgColor(), clBlack);
    indicator.Bool("ShowRowNo", indicators.ShowRowNo(), true);
    indicator.Bool("ShowState", indicators.ShowState(), true);
    indicator.Bool("Sizing", indicators.Sizing(), false);
    indicator.Bool("Visible", indicators.Visible(), true);
    indicator.Int("Width", indicators.Width(), 21);

    const TwMarkers &markers = grid.Markers();
    TwDesignWriter marker;
    marker.DrawObject(markers);
    marker.Bool("Clicking", markers.Clicking(), false);
    marker.Int("ImageLayout", markers.ImageLayout(), wimgAlone);
    marker.Object("Lines", Lines(markers.Lines(), PlainLines()));
    marker.Bool("Sizing", markers.Sizing(), false);
    marker.Int("Style", markers.Style(), wmsDefault);
    marker.Bool("Visible", markers.Visible(), false);
    marker.Int("Width", markers.Width(), 15);

    const TwFixedStyle &fixed = grid.FixedStyle();
    TwDesignWriter fixedStyle;
    fixedStyle.Int("CellStyle", fixed.CellStyle(), wcsRaised);
    fixedStyle.Int("Color", fixed.Color(), clBtnFace);
    fixedStyle.Object("Lines", LinesEx(fixed.Lines(), BlackCellLines()));
    fixedStyle.Int("Options", fixed.Options().Bits(), 0);
    fixedStyle.Int("SelBgColor", fixed.SelBgColor(), clBtnShadow);
    fixedStyle.Int("SelFgColor", fixed.SelFgColor(), clWhite);

    TwDesignWriter parts;
    parts.Object("Headers", header);
    parts.Object("Indicators", indicator);
    parts.Object("Markers", marker);
    parts.Object("Lines", LinesEx(grid.Lines(), GridLines()));
    parts.Object("EndLines", Lines(grid.EndLines(), PlainLines()));
    parts.Object("FixedStyle", fixedStyle);
    grid.WriteDesign(parts);
    for (auto it = parts.Json().begin(); it != parts.Json().end(); ++it)
        json.insert(it.key(), it.value());
    return json;
}

void TwGridStream::ReadDesign(TwCustomGrid &grid, const QJsonObject &json)
{
    const TwDesignReader in(json, QString());
    grid.Columns().Clear();
    grid.Groups().Clear();
    grid.Footers().Clear();

    grid.SetGroupMode(in.Bool("GroupMode", false));
    grid.SetColRowHeight(in.Int("ColRowHeight", 18, MinColHeight, TwDesignReader::PixelMax));
    grid.SetGrpRowHeight(in.Int("GrpRowHeight", 36, MinGrpHeight, TwDesignReader::PixelMax));
    grid.SetColFixedCount(in.Int("ColFixedCount", 0));
    grid.SetGrpFixedCount(in.Int("GrpFixedCount", 0));
    grid.SetChangeDelay(in.Int("ChangeDelay", 200));
    grid.SetColor(in.Color("Color", clBtnShadow));
    grid.SetNullColor(in.Color("NullColor", clBtnShadow));
    grid.SetSelBgColor(in.Color("SelBgColor", clBlack));
    grid.SetSelFgColor(in.Color("SelFgColor", clWhite));
    grid.SetOptions(TwGridOptions::FromBits(in.Bits("Options", 0, wgoSkipReadOnly + 1)));

    const TwDesignReader headers = in.Object("Headers");
    grid.Headers().SetColHeight(headers.Int("ColHeight", 21, MinColHeight, TwDesignReader::PixelMax));
    grid.Headers().SetGrpHeight(headers.Int("GrpHeight", 42, MinGrpHeight, TwDesignReader::PixelMax));
    ReadLinesEx(grid.Headers().Lines(), headers.Object("Lines"));
    headers.Object("Title").Title(grid.Headers().Title());
    grid.Headers().SetSizing(headers.Bool("Sizing", false));
    grid.Headers().SetVisible(headers.Bool("Visible", true));

    for (const TwDesignReader &item : in.Array("Footers")) {
        TwGridFooter *footer = grid.Footers().Add();
        footer->SetColor(item.Color("Color", clBtnFace));
        footer->SetColHeight(item.Int("ColHeight", 21, MinColHeight, TwDesignReader::PixelMax));
        footer->SetGrpHeight(item.Int("GrpHeight", 42, MinGrpHeight, TwDesignReader::PixelMax));
        footer->SetSizing(item.Bool("Sizing", false));
        item.Object("Title").Title(footer->Title());
        footer->SetVisible(item.Bool("Visible", true));
    }

    for (const TwDesignReader &item : in.Array("Groups")) {
        TwGroup *group = grid.Groups().Add();
        group->ReadDesign(item);
    }

    const std::vector<TwDesignReader> columns = in.Array("Columns");
    std::map<std::pair<int, int>, std::map<int, int>> places; // (group, level) → index → column
    for (std::size_t i = 0; i < columns.size(); ++i) {
        TwColumn *column = grid.Columns().Add();
        column->ReadDesign(columns[i]);
        if (column->Group() < 0)
            continue;
        // Every column has its own place in a line, and a line never holds more places
        // than there are columns.
        if (column->LevelIndex() >= static_cast<int>(columns.size()))
            columns[i].Fail("LevelIndex",
                            QStringLiteral("%1 is out of range 0..%2").arg(column->LevelIndex()).arg(columns.size() - 1));
        auto &line = places[{column->Group(), column->Level()}];
        if (const auto taken = line.find(column->LevelIndex()); taken != line.end())
            columns[i].Fail("LevelIndex", QStringLiteral("the place is taken by Columns[%1]").arg(taken->second));
        line[column->LevelIndex()] = static_cast<int>(i);
    }

    const TwDesignReader indicators = in.Object("Indicators");
    indicators.DrawObject(grid.Indicators());
    ReadLines(grid.Indicators().Lines(), indicators.Object("Lines"));
    grid.Indicators().SetSelBgColor(indicators.Color("SelBgColor", clBtnFace));
    grid.Indicators().SetSelDown(indicators.Bool("SelDown", true));
    grid.Indicators().SetSelFgColor(indicators.Color("SelFgColor", clBlack));
    grid.Indicators().SetShowRowNo(indicators.Bool("ShowRowNo", true));
    grid.Indicators().SetShowState(indicators.Bool("ShowState", true));
    grid.Indicators().SetSizing(indicators.Bool("Sizing", false));
    grid.Indicators().SetVisible(indicators.Bool("Visible", true));
    grid.Indicators().SetWidth(indicators.Int("Width", 21, grid.Indicators().ShowState() ? 13 : 4, TwDesignReader::PixelMax));

    const TwDesignReader markers = in.Object("Markers");
    markers.DrawObject(grid.Markers());
    grid.Markers().SetClicking(markers.Bool("Clicking", false));
    grid.Markers().SetImageLayout(markers.Enum("ImageLayout", wimgAlone, wimgBottom));
    ReadLines(grid.Markers().Lines(), markers.Object("Lines"));
    grid.Markers().SetSizing(markers.Bool("Sizing", false));
    grid.Markers().SetStyle(markers.Enum("Style", wmsDefault, wmsFlatCheckBox));
    grid.Markers().SetVisible(markers.Bool("Visible", false));
    grid.Markers().SetWidth(markers.Int("Width", 15, 4, TwDesignReader::PixelMax));

    ReadLinesEx(grid.Lines(), in.Object("Lines"));
    ReadLines(grid.EndLines(), in.Object("EndLines"));

    const TwDesignReader fixed = in.Object("FixedStyle");
    grid.FixedStyle().SetCellStyle(fixed.Enum("CellStyle", wcsRaised, wcsDown));
    grid.FixedStyle().SetColor(fixed.Color("Color", clBtnFace));
    ReadLinesEx(grid.FixedStyle().Lines(), fixed.Object("Lines"));
    grid.FixedStyle().SetOptions(TwFixedOptions::FromBits(fixed.Bits("Options", 0, wfxSizing + 1)));
    grid.FixedStyle().SetSelBgColor(fixed.Color("SelBgColor", clBtnShadow));
    grid.FixedStyle().SetSelFgColor(fixed.Color("SelFgColor", clWhite));

    grid.ReadDesign(in);
}

void TwGridStream::Read(TwCustomGrid &grid, const QJsonObject &json)
{
    // A design that fails to read leaves the grid as it was: the current design is kept
    // and read back.
    const QJsonObject before = Write(grid);
    grid.BeginLoading();
    try {
        ReadDesign(grid, json);
    } catch (...) {
        ReadDesign(grid, before);
        grid.EndLoading();
        throw;
    }
    grid.EndLoading();
}

// The design as one property: form files keep a grid's columns, groups and footers in it.

QString TwCustomGrid::Design() const
{
    return QString::fromUtf8(QJsonDocument(TwGridStream::Write(*this)).toJson(QJsonDocument::Compact));
}

void TwCustomGrid::SetDesign(const QString &text)
{
    QJsonObject json;
    if (!text.trimmed().isEmpty()) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
        if (error.error != QJsonParseError::NoError) {
            qWarning("%s: the design is no JSON text (%s at offset %d); the grid keeps its design",
                     qPrintable(objectName()), qPrintable(error.errorString()), error.offset);
            return;
        }
        if (!document.isObject()) {
            qWarning("%s: the design is no JSON object; the grid keeps its design", qPrintable(objectName()));
            return;
        }
        json = document.object();
    }
    try {
        TwGridStream::Read(*this, json);
    } catch (const TException &e) {
        qWarning("%s: %s; the grid keeps its design", qPrintable(objectName()), qPrintable(e.Message()));
    }
}

// The grid core writes nothing of its own into a design; the complete grid adds its
// settings.
void TwCustomGrid::WriteDesign(TwDesignWriter &) const
{
}

void TwCustomGrid::ReadDesign(const TwDesignReader &)
{
}
