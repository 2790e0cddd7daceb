#include "grid/gridstream.h"

#include "grid/customgrid.h"

#include <QBuffer>
#include <QJsonArray>

namespace {

// Writers put a key only when the value differs from its default.
template<typename T>
void Put(QJsonObject &json, const char *key, T value, T defaultValue)
{
    if (value != defaultValue)
        json.insert(QLatin1String(key), QJsonValue(static_cast<qint64>(value)));
}

void PutBool(QJsonObject &json, const char *key, bool value, bool defaultValue)
{
    if (value != defaultValue)
        json.insert(QLatin1String(key), value);
}

void PutText(QJsonObject &json, const char *key, const QString &value)
{
    if (!value.isEmpty())
        json.insert(QLatin1String(key), value);
}

void PutList(QJsonObject &json, const char *key, const QStringList &value)
{
    if (!value.isEmpty())
        json.insert(QLatin1String(key), QJsonArray::fromStringList(value));
}

void PutObject(QJsonObject &json, const char *key, const QJsonObject &value)
{
    if (!value.isEmpty())
        json.insert(QLatin1String(key), value);
}

int Int(const QJsonObject &json, const char *key, int defaultValue)
{
    return json.value(QLatin1String(key)).toInt(defaultValue);
}

bool Bool(const QJsonObject &json, const char *key, bool defaultValue)
{
    return json.value(QLatin1String(key)).toBool(defaultValue);
}

TColor Color(const QJsonObject &json, const char *key, TColor defaultValue)
{
    const QJsonValue value = json.value(QLatin1String(key));
    return value.isDouble() ? static_cast<TColor>(value.toInteger()) : defaultValue;
}

QStringList List(const QJsonObject &json, const char *key)
{
    QStringList list;
    for (const QJsonValue &value : json.value(QLatin1String(key)).toArray())
        list << value.toString();
    return list;
}

QJsonObject Object(const QJsonObject &json, const char *key)
{
    return json.value(QLatin1String(key)).toObject();
}

bool Has(const QJsonObject &json, const char *key)
{
    return json.contains(QLatin1String(key));
}

QJsonObject WriteFont(const TwFont &font)
{
    QJsonObject json;
    json.insert(QStringLiteral("Family"), font.Font.family());
    if (font.Font.pixelSize() > 0)
        json.insert(QStringLiteral("PixelSize"), font.Font.pixelSize());
    else
        json.insert(QStringLiteral("PointSize"), font.Font.pointSizeF());
    PutBool(json, "Bold", font.Font.bold(), false);
    PutBool(json, "Italic", font.Font.italic(), false);
    PutBool(json, "Underline", font.Font.underline(), false);
    PutBool(json, "StrikeOut", font.Font.strikeOut(), false);
    json.insert(QStringLiteral("Color"), static_cast<qint64>(font.Color));
    return json;
}

TwFont ReadFont(const QJsonObject &json)
{
    TwFont font;
    font.Font.setFamily(json.value(QStringLiteral("Family")).toString());
    if (Has(json, "PixelSize"))
        font.Font.setPixelSize(Int(json, "PixelSize", 12));
    else
        font.Font.setPointSizeF(json.value(QStringLiteral("PointSize")).toDouble(9));
    font.Font.setBold(Bool(json, "Bold", false));
    font.Font.setItalic(Bool(json, "Italic", false));
    font.Font.setUnderline(Bool(json, "Underline", false));
    font.Font.setStrikeOut(Bool(json, "StrikeOut", false));
    font.Color = Color(json, "Color", clWindowText);
    return font;
}

QString WriteImage(const QPixmap &image)
{
    if (image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QString::fromLatin1(bytes.toBase64());
}

QPixmap ReadImage(const QString &text)
{
    QPixmap image;
    if (!text.isEmpty())
        image.loadFromData(QByteArray::fromBase64(text.toLatin1()), "PNG");
    return image;
}

// Draw objects: only assigned values that differ from the class's default.
QJsonObject WriteDrawObject(const TwDrawObject &object)
{
    QJsonObject json;
    if (object.IsAssigned(wovAlignment))
        Put(json, "Alignment", object.Alignment(), object.DefaultAlignment());
    if (object.IsAssigned(wovColor))
        Put(json, "Color", object.Color(), object.DefaultColor());
    if (object.IsAssigned(wovFitStyle))
        Put(json, "FitStyle", object.FitStyle(), object.DefaultFitStyle());
    if (object.IsAssigned(wovFont))
        json.insert(QStringLiteral("Font"), WriteFont(object.Font()));
    if (object.IsAssigned(wovLayout))
        Put(json, "Layout", object.Layout(), object.DefaultLayout());
    if (object.IsAssigned(wovMarginLeft))
        Put(json, "MarginLeft", object.MarginLeft(), object.DefaultMarginLeft());
    if (object.IsAssigned(wovMarginTop))
        Put(json, "MarginTop", object.MarginTop(), object.DefaultMarginTop());
    if (object.IsAssigned(wovMarginRight))
        Put(json, "MarginRight", object.MarginRight(), object.DefaultMarginRight());
    if (object.IsAssigned(wovMarginBottom))
        Put(json, "MarginBottom", object.MarginBottom(), object.DefaultMarginBottom());
    if (object.IsAssigned(wovWordWrap))
        PutBool(json, "WordWrap", object.WordWrap(), object.DefaultWordWrap());
    Put(json, "CellStyle", object.CellStyle(), object.DefaultCellStyle());
    return json;
}

void ReadDrawObject(TwDrawObject &object, const QJsonObject &json)
{
    if (Has(json, "Alignment"))
        object.SetAlignment(static_cast<TwAlignment>(Int(json, "Alignment", 0)));
    if (Has(json, "Color"))
        object.SetColor(Color(json, "Color", 0));
    if (Has(json, "FitStyle"))
        object.SetFitStyle(static_cast<TwFitStyle>(Int(json, "FitStyle", 0)));
    if (Has(json, "Font"))
        object.SetFont(ReadFont(Object(json, "Font")));
    if (Has(json, "Layout"))
        object.SetLayout(static_cast<TwTextLayout>(Int(json, "Layout", 0)));
    if (Has(json, "MarginLeft"))
        object.SetMarginLeft(Int(json, "MarginLeft", 0));
    if (Has(json, "MarginTop"))
        object.SetMarginTop(Int(json, "MarginTop", 0));
    if (Has(json, "MarginRight"))
        object.SetMarginRight(Int(json, "MarginRight", 0));
    if (Has(json, "MarginBottom"))
        object.SetMarginBottom(Int(json, "MarginBottom", 0));
    if (Has(json, "WordWrap"))
        object.SetWordWrap(Bool(json, "WordWrap", false));
    if (Has(json, "CellStyle"))
        object.SetCellStyle(static_cast<TwCellStyle>(Int(json, "CellStyle", 0)));
}

QJsonObject WriteTitle(const TwTitle &title)
{
    QJsonObject json = WriteDrawObject(title);
    PutText(json, "Caption", title.Caption());
    PutBool(json, "Clicking", title.Clicking(), false);
    PutText(json, "Image", WriteImage(title.Image()));
    Put(json, "ImageLayout", title.ImageLayout(), wimgNone);
    return json;
}

void ReadTitle(TwTitle &title, const QJsonObject &json)
{
    ReadDrawObject(title, json);
    title.SetCaption(json.value(QStringLiteral("Caption")).toString());
    title.SetClicking(Bool(json, "Clicking", false));
    title.SetImage(ReadImage(json.value(QStringLiteral("Image")).toString()));
    title.SetImageLayout(static_cast<TwImageLayout>(Int(json, "ImageLayout", wimgNone)));
}

QJsonObject WriteLines(const TwGridLines &lines, const TwGridLines &defaults)
{
    QJsonObject json;
    Put(json, "HorzColor", lines.HorzColor, defaults.HorzColor);
    Put(json, "HorzStyle", lines.HorzStyle, defaults.HorzStyle);
    Put(json, "HorzWidth", lines.HorzWidth, defaults.HorzWidth);
    Put(json, "VertColor", lines.VertColor, defaults.VertColor);
    Put(json, "VertStyle", lines.VertStyle, defaults.VertStyle);
    Put(json, "VertWidth", lines.VertWidth, defaults.VertWidth);
    return json;
}

QJsonObject WriteLinesEx(const TwGridLinesEx &lines, const TwGridLinesEx &defaults)
{
    QJsonObject json = WriteLines(lines, defaults);
    Put(json, "CellColor", lines.CellColor, defaults.CellColor);
    Put(json, "CellStyle", lines.CellStyle, defaults.CellStyle);
    Put(json, "CellWidth", lines.CellWidth, defaults.CellWidth);
    Put(json, "LevelColor", lines.LevelColor, defaults.LevelColor);
    Put(json, "LevelStyle", lines.LevelStyle, defaults.LevelStyle);
    Put(json, "LevelWidth", lines.LevelWidth, defaults.LevelWidth);
    return json;
}

void ReadLines(TwGridLines &lines, const QJsonObject &json)
{
    lines.HorzColor = Color(json, "HorzColor", lines.HorzColor);
    lines.HorzStyle = static_cast<TwPenStyle>(Int(json, "HorzStyle", lines.HorzStyle));
    lines.HorzWidth = static_cast<std::uint16_t>(Int(json, "HorzWidth", lines.HorzWidth));
    lines.VertColor = Color(json, "VertColor", lines.VertColor);
    lines.VertStyle = static_cast<TwPenStyle>(Int(json, "VertStyle", lines.VertStyle));
    lines.VertWidth = static_cast<std::uint16_t>(Int(json, "VertWidth", lines.VertWidth));
}

void ReadLinesEx(TwGridLinesEx &lines, const QJsonObject &json)
{
    ReadLines(lines, json);
    lines.CellColor = Color(json, "CellColor", lines.CellColor);
    lines.CellStyle = static_cast<TwPenStyle>(Int(json, "CellStyle", lines.CellStyle));
    lines.CellWidth = static_cast<std::uint16_t>(Int(json, "CellWidth", lines.CellWidth));
    lines.LevelColor = Color(json, "LevelColor", lines.LevelColor);
    lines.LevelStyle = static_cast<TwPenStyle>(Int(json, "LevelStyle", lines.LevelStyle));
    lines.LevelWidth = static_cast<std::uint16_t>(Int(json, "LevelWidth", lines.LevelWidth));
}

TwGridLinesEx BlackCellLines()
{
    TwGridLinesEx lines;
    lines.CellColor = clBlack;
    lines.LevelColor = clBlack;
    return lines;
}

} // namespace

namespace {

QJsonObject WriteColumn(const TwColumn &column)
{
    QJsonObject json;
    if (column.AssignedValues().Has(wcvAlignment))
        Put(json, "Alignment", column.Alignment(), column.DefaultAlignment());
    PutBool(json, "AutoSize", column.AutoSize(), true);
    Put(json, "CharCase", column.CharCase(), ecNormal);
    Put(json, "Color", column.Color(), clWhite);
    PutBool(json, "Ctl3D", column.Ctl3D(), true);
    Put(json, "EditBorder", column.EditBorder(), webSingle);
    PutBool(json, "EditButton", column.EditButton(), false);
    PutBool(json, "EditColor", column.EditColor(), false);
    PutText(json, "EditFormat", column.EditFormat());
    Put(json, "EditStyle", column.EditStyle(), wesDefault);
    PutBool(json, "EqualBlank", column.EqualBlank(), false);
    Put(json, "FitStyle", column.FitStyle(), wfitNone);
    if (column.AssignedValues().Has(wcvFont))
        json.insert(QStringLiteral("Font"), WriteFont(column.Font()));
    Put(json, "Group", column.Group(), -1);
    Put(json, "ImageLayout", column.ImageLayout(), wimgNone);
    if (column.AssignedValues().Has(wcvImeMode))
        Put(json, "ImeMode", column.ImeMode(), column.Grid()->ImeMode());
    if (column.AssignedValues().Has(wcvImeName) && column.ImeName() != column.Grid()->ImeName())
        json.insert(QStringLiteral("ImeName"), column.ImeName());
    PutList(json, "Items", column.Items());
    Put(json, "Layout", column.Layout(), tlCenter);
    Put(json, "Level", column.Level(), 0);
    Put(json, "LevelIndex", column.LevelIndex(), 0);
    Put(json, "MarginLeft", column.MarginLeft(), 1);
    Put(json, "MarginTop", column.MarginTop(), 1);
    Put(json, "MarginRight", column.MarginRight(), 1);
    Put(json, "MarginBottom", column.MarginBottom(), 1);
    Put(json, "MaxLength", column.MaxLength(), 0);
    PutText(json, "MaxValue", column.MaxValue());
    PutText(json, "MinValue", column.MinValue());
    Put(json, "RadioColumns", column.RadioColumns(), 1);
    PutBool(json, "ReadOnly", column.ReadOnly(), false);
    QJsonObject title = WriteTitle(column.Title());
    Put(title, "SortMark", column.Title().SortMark(), wsmNone);
    PutObject(json, "Title", title);
    QJsonObject footer = WriteDrawObject(column.Footer());
    PutList(footer, "Values", column.Footer().ValueList());
    PutObject(json, "Footer", footer);
    PutBool(json, "Transparent", column.Transparent(), false);
    PutList(json, "Values", column.Values());
    PutBool(json, "Visible", column.Visible(), true);
    PutBool(json, "WordWrap", column.WordWrap(), false);
    Put(json, "ColWidth", column.ColWidth(), 64);
    Put(json, "GrpWidth", column.GrpWidth(), 64);
    return json;
}

QJsonObject WriteGroup(const TwGroup &group)
{
    QJsonObject json;
    Put(json, "Levels", group.Levels(), 1);
    PutBool(json, "NoColTitles", group.NoColTitles(), false);
    QJsonObject title = WriteTitle(group.Title());
    Put(title, "Height", group.Title().Height(), 19);
    PutBool(title, "Visible", group.Title().Visible(), true);
    PutObject(json, "Title", title);
    PutBool(json, "Visible", group.Visible(), true);
    Put(json, "Weight", group.Weight(), 1);
    Put(json, "Width", group.Width(), 64);
    const auto &weights = group.Weights();
    if (std::any_of(weights.begin(), weights.end(), [](std::uint8_t w) { return w != 1; })) {
        const QByteArray bytes(reinterpret_cast<const char *>(weights.data()), static_cast<qsizetype>(weights.size()));
        json.insert(QStringLiteral("Weights"), QString::fromLatin1(bytes.toBase64()));
    }
    return json;
}

} // namespace

QJsonObject TwGridStream::Write(const TwCustomGrid &grid)
{
    QJsonObject json;
    PutBool(json, "GroupMode", grid.GroupMode(), false);
    Put(json, "ColRowHeight", grid.ColRowHeight(), 18);
    Put(json, "GrpRowHeight", grid.GrpRowHeight(), 36);
    Put(json, "ColFixedCount", grid.ColFixedCount(), 0);
    Put(json, "GrpFixedCount", grid.GrpFixedCount(), 0);
    Put(json, "ChangeDelay", grid.ChangeDelay(), 200);
    Put(json, "Color", grid.Color(), clBtnShadow);
    Put(json, "NullColor", grid.NullColor(), clBtnShadow);
    Put(json, "SelBgColor", grid.SelBgColor(), clBlack);
    Put(json, "SelFgColor", grid.SelFgColor(), clWhite);
    Put(json, "Options", grid.Options().Bits(), 0u);

    QJsonArray columns;
    for (int i = 0; i < grid.Columns().Count(); ++i)
        columns.append(WriteColumn(*grid.Columns().Items(i)));
    if (!columns.isEmpty())
        json.insert(QStringLiteral("Columns"), columns);

    QJsonArray groups;
    for (int i = 0; i < grid.Groups().Count(); ++i)
        groups.append(WriteGroup(*grid.Groups().Items(i)));
    if (!groups.isEmpty())
        json.insert(QStringLiteral("Groups"), groups);

    const TwGridHeaders &headers = grid.Headers();
    QJsonObject headerJson;
    Put(headerJson, "ColHeight", headers.ColHeight, 21);
    Put(headerJson, "GrpHeight", headers.GrpHeight, 42);
    PutObject(headerJson, "Lines", WriteLinesEx(headers.Lines(), BlackCellLines()));
    PutObject(headerJson, "Title", WriteTitle(headers.Title()));
    PutBool(headerJson, "Sizing", headers.Sizing, false);
    PutBool(headerJson, "Visible", headers.Visible(), true);
    PutObject(json, "Headers", headerJson);

    QJsonArray footers;
    for (int i = 0; i < grid.Footers().Count(); ++i) {
        const TwGridFooter &footer = *grid.Footers().Items(i);
        QJsonObject footerJson;
        Put(footerJson, "Color", footer.Color(), clBtnFace);
        Put(footerJson, "ColHeight", footer.ColHeight, 21);
        Put(footerJson, "GrpHeight", footer.GrpHeight, 42);
        PutBool(footerJson, "Sizing", footer.Sizing, false);
        PutObject(footerJson, "Title", WriteTitle(footer.Title()));
        PutBool(footerJson, "Visible", footer.Visible(), true);
        footers.append(footerJson);
    }
    if (!footers.isEmpty())
        json.insert(QStringLiteral("Footers"), footers);

    const TwIndicators &indicators = grid.Indicators();
    QJsonObject indicatorJson = WriteDrawObject(indicators);
    PutObject(indicatorJson, "Lines", WriteLines(indicators.Lines(), TwGridLines()));
    Put(indicatorJson, "SelBgColor", indicators.SelBgColor, clBtnFace);
    PutBool(indicatorJson, "SelDown", indicators.SelDown, true);
    Put(indicatorJson, "SelFgColor", indicators.SelFgColor, clBlack);
    PutBool(indicatorJson, "ShowRowNo", indicators.ShowRowNo, true);
    PutBool(indicatorJson, "ShowState", indicators.ShowState(), true);
    PutBool(indicatorJson, "Sizing", indicators.Sizing, false);
    PutBool(indicatorJson, "Visible", indicators.Visible(), true);
    Put(indicatorJson, "Width", indicators.Width(), 21);
    PutObject(json, "Indicators", indicatorJson);

    const TwMarkers &markers = grid.Markers();
    QJsonObject markerJson = WriteDrawObject(markers);
    PutBool(markerJson, "Clicking", markers.Clicking, false);
    Put(markerJson, "ImageLayout", markers.ImageLayout, wimgAlone);
    PutObject(markerJson, "Lines", WriteLines(markers.Lines(), TwGridLines()));
    PutBool(markerJson, "Sizing", markers.Sizing, false);
    Put(markerJson, "Style", markers.Style, wmsDefault);
    PutBool(markerJson, "Visible", markers.Visible(), false);
    Put(markerJson, "Width", markers.Width(), 15);
    PutObject(json, "Markers", markerJson);

    TwGridLinesEx gridLines;
    gridLines.HorzColor = clGray;
    PutObject(json, "Lines", WriteLinesEx(grid.Lines(), gridLines));
    PutObject(json, "EndLines", WriteLines(grid.EndLines(), TwGridLines()));

    const TwFixedStyle &fixed = grid.FixedStyle();
    QJsonObject fixedJson;
    Put(fixedJson, "CellStyle", fixed.CellStyle(), wcsRaised);
    Put(fixedJson, "Color", fixed.Color(), clBtnFace);
    PutObject(fixedJson, "Lines", WriteLinesEx(fixed.Lines(), BlackCellLines()));
    Put(fixedJson, "Options", fixed.Options().Bits(), 0u);
    Put(fixedJson, "SelBgColor", fixed.SelBgColor(), clBtnShadow);
    Put(fixedJson, "SelFgColor", fixed.SelFgColor(), clWhite);
    PutObject(json, "FixedStyle", fixedJson);
    return json;
}

namespace {

void ReadColumn(TwColumn &column, const QJsonObject &json)
{
    if (Has(json, "Alignment"))
        column.SetAlignment(static_cast<TwAlignment>(Int(json, "Alignment", 0)));
    column.SetAutoSize(Bool(json, "AutoSize", true));
    column.SetCharCase(static_cast<TwCharCase>(Int(json, "CharCase", ecNormal)));
    column.SetColor(Color(json, "Color", clWhite));
    column.SetCtl3D(Bool(json, "Ctl3D", true));
    column.SetEditBorder(static_cast<TwEditBorderStyle>(Int(json, "EditBorder", webSingle)));
    column.SetEditButton(Bool(json, "EditButton", false));
    column.SetEditColor(Bool(json, "EditColor", false));
    column.SetEditFormat(json.value(QStringLiteral("EditFormat")).toString());
    column.SetEditStyle(static_cast<TwEditStyle>(Int(json, "EditStyle", wesDefault)));
    column.SetEqualBlank(Bool(json, "EqualBlank", false));
    column.SetFitStyle(static_cast<TwFitStyle>(Int(json, "FitStyle", wfitNone)));
    if (Has(json, "Font"))
        column.SetFont(ReadFont(Object(json, "Font")));
    column.SetImageLayout(static_cast<TwImageLayout>(Int(json, "ImageLayout", wimgNone)));
    if (Has(json, "ImeMode"))
        column.SetImeMode(static_cast<TwImeMode>(Int(json, "ImeMode", imDontCare)));
    if (Has(json, "ImeName"))
        column.SetImeName(json.value(QStringLiteral("ImeName")).toString());
    column.SetItems(List(json, "Items"));
    column.SetLayout(static_cast<TwTextLayout>(Int(json, "Layout", tlCenter)));
    column.SetMargin(0, Int(json, "MarginLeft", 1));
    column.SetMargin(1, Int(json, "MarginTop", 1));
    column.SetMargin(2, Int(json, "MarginRight", 1));
    column.SetMargin(3, Int(json, "MarginBottom", 1));
    column.SetMaxLength(Int(json, "MaxLength", 0));
    column.SetMaxValue(json.value(QStringLiteral("MaxValue")).toString());
    column.SetMinValue(json.value(QStringLiteral("MinValue")).toString());
    column.SetRadioColumns(Int(json, "RadioColumns", 1));
    column.SetReadOnly(Bool(json, "ReadOnly", false));
    const QJsonObject title = Object(json, "Title");
    ReadTitle(column.Title(), title);
    column.Title().SetSortMark(static_cast<TwSortMark>(Int(title, "SortMark", wsmNone)));
    const QJsonObject footer = Object(json, "Footer");
    ReadDrawObject(column.Footer(), footer);
    const QStringList values = List(footer, "Values");
    for (int row = 0; row < values.size(); ++row) {
        if (row < column.Grid()->Footers().Count())
            column.Footer().SetValues(row, values.at(row));
    }
    column.SetTransparent(Bool(json, "Transparent", false));
    column.SetValues(List(json, "Values"));
    column.SetVisible(Bool(json, "Visible", true));
    column.SetWordWrap(Bool(json, "WordWrap", false));
}

void ReadGroup(TwGroup &group, const QJsonObject &json)
{
    group.SetLevels(Int(json, "Levels", 1));
    const QJsonObject title = Object(json, "Title");
    ReadTitle(group.Title(), title);
    group.Title().SetHeight(Int(title, "Height", 19));
    group.Title().SetVisible(Bool(title, "Visible", true));
    group.SetNoColTitles(Bool(json, "NoColTitles", false));
    group.SetVisible(Bool(json, "Visible", true));
    group.SetWidth(Int(json, "Width", 64));
}

} // namespace

void TwGridStream::Read(TwCustomGrid &grid, const QJsonObject &json)
{
    grid.BeginLoading();
    grid.Columns().Clear();
    grid.Groups().Clear();
    grid.Footers().Clear();

    grid.SetGroupMode(Bool(json, "GroupMode", false));
    grid.m_rowHeights = {Int(json, "ColRowHeight", 18), Int(json, "GrpRowHeight", 36)};
    grid.m_fixedCounts = {Int(json, "ColFixedCount", 0), Int(json, "GrpFixedCount", 0)};
    grid.SetChangeDelay(Int(json, "ChangeDelay", 200));
    grid.SetColor(Color(json, "Color", clBtnShadow));
    grid.SetNullColor(Color(json, "NullColor", clBtnShadow));
    grid.SetSelBgColor(Color(json, "SelBgColor", clBlack));
    grid.SetSelFgColor(Color(json, "SelFgColor", clWhite));
    grid.SetOptions(TwGridOptions::FromBits(static_cast<std::uint32_t>(json.value(QStringLiteral("Options")).toInteger(0))));

    const QJsonObject headers = Object(json, "Headers");
    grid.Headers().ColHeight = Int(headers, "ColHeight", 21);
    grid.Headers().GrpHeight = Int(headers, "GrpHeight", 42);
    ReadLinesEx(grid.Headers().Lines(), Object(headers, "Lines"));
    ReadTitle(grid.Headers().Title(), Object(headers, "Title"));
    grid.Headers().Sizing = Bool(headers, "Sizing", false);
    grid.Headers().SetVisible(Bool(headers, "Visible", true));

    for (const QJsonValue &value : json.value(QStringLiteral("Footers")).toArray()) {
        const QJsonObject footerJson = value.toObject();
        TwGridFooter *footer = grid.Footers().Add();
        footer->SetColor(Color(footerJson, "Color", clBtnFace));
        footer->ColHeight = Int(footerJson, "ColHeight", 21);
        footer->GrpHeight = Int(footerJson, "GrpHeight", 42);
        footer->Sizing = Bool(footerJson, "Sizing", false);
        ReadTitle(footer->Title(), Object(footerJson, "Title"));
        footer->SetVisible(Bool(footerJson, "Visible", true));
    }

    const QJsonArray groups = json.value(QStringLiteral("Groups")).toArray();
    for (const QJsonValue &value : groups) {
        const QJsonObject groupJson = value.toObject();
        TwGroup *group = grid.Groups().Add();
        ReadGroup(*group, groupJson);
        group->m_weight = Int(groupJson, "Weight", 1);
        group->m_weights.fill(1);
        const QByteArray weights = QByteArray::fromBase64(groupJson.value(QStringLiteral("Weights")).toString().toLatin1());
        for (qsizetype i = 0; i < weights.size() && i < TwGroup::MaxLevels; ++i)
            group->m_weights[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(weights.at(i));
    }

    for (const QJsonValue &value : json.value(QStringLiteral("Columns")).toArray()) {
        const QJsonObject columnJson = value.toObject();
        TwColumn *column = grid.Columns().Add();
        ReadColumn(*column, columnJson);
        column->m_group = Int(columnJson, "Group", -1);
        column->m_level = Int(columnJson, "Level", 0);
        column->m_levelIndex = Int(columnJson, "LevelIndex", 0);
        column->m_colWidth = Int(columnJson, "ColWidth", 64);
        column->m_grpWidth = Int(columnJson, "GrpWidth", 64);
    }

    const QJsonObject indicators = Object(json, "Indicators");
    ReadDrawObject(grid.Indicators(), indicators);
    ReadLines(grid.Indicators().Lines(), Object(indicators, "Lines"));
    grid.Indicators().SelBgColor = Color(indicators, "SelBgColor", clBtnFace);
    grid.Indicators().SelDown = Bool(indicators, "SelDown", true);
    grid.Indicators().SelFgColor = Color(indicators, "SelFgColor", clBlack);
    grid.Indicators().ShowRowNo = Bool(indicators, "ShowRowNo", true);
    grid.Indicators().SetShowState(Bool(indicators, "ShowState", true));
    grid.Indicators().Sizing = Bool(indicators, "Sizing", false);
    grid.Indicators().SetVisible(Bool(indicators, "Visible", true));
    grid.Indicators().SetWidth(Int(indicators, "Width", 21));

    const QJsonObject markers = Object(json, "Markers");
    ReadDrawObject(grid.Markers(), markers);
    grid.Markers().Clicking = Bool(markers, "Clicking", false);
    grid.Markers().ImageLayout = static_cast<TwImageLayout>(Int(markers, "ImageLayout", wimgAlone));
    ReadLines(grid.Markers().Lines(), Object(markers, "Lines"));
    grid.Markers().Sizing = Bool(markers, "Sizing", false);
    grid.Markers().Style = static_cast<TwMarkerStyle>(Int(markers, "Style", wmsDefault));
    grid.Markers().SetVisible(Bool(markers, "Visible", false));
    grid.Markers().SetWidth(Int(markers, "Width", 15));

    ReadLinesEx(grid.Lines(), Object(json, "Lines"));
    ReadLines(grid.EndLines(), Object(json, "EndLines"));

    const QJsonObject fixed = Object(json, "FixedStyle");
    grid.FixedStyle().SetCellStyle(static_cast<TwCellStyle>(Int(fixed, "CellStyle", wcsRaised)));
    grid.FixedStyle().SetColor(Color(fixed, "Color", clBtnFace));
    ReadLinesEx(grid.FixedStyle().Lines(), Object(fixed, "Lines"));
    grid.FixedStyle().SetOptions(TwFixedOptions::FromBits(static_cast<std::uint32_t>(Int(fixed, "Options", 0))));
    grid.FixedStyle().SetSelBgColor(Color(fixed, "SelBgColor", clBtnShadow));
    grid.FixedStyle().SetSelFgColor(Color(fixed, "SelFgColor", clWhite));

    grid.EndLoading();
}
