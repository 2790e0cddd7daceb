#include "grid/columns.h"
#include "grid/core/columns_p.h"

// The design properties of the core column and its footer, and the (empty) hook through
// which a descendant grid adds its own.

#include "grid/core/gridowner_p.h"
#include "grid/gridparts.h"
#include "grid/groups.h"
#include "grid/designio.h"
#include "grid/core/drawobjects_p.h"

#include <algorithm>

namespace {

// The sizes and the index are open fields that code may set to anything: they are written
// clamped into the range a design may hold, as a setter would keep them.
void WriteListOption(TwDesignWriter &out, const TwColumnListOption &option)
{
    constexpr int pixels = TwDesignReader::PixelMax;
    out.Bool("AutoDrop", option.AutoDrop(), true);
    out.Bool("CaseSensitive", option.CaseSensitive(), false);
    out.Int("CharWidth", std::clamp(option.CharWidth(), -pixels, pixels), 0);
    out.Bool("ColLines", option.ColLines(), false);
    out.Int("Color", option.Color(), clBtnFace);
    if (option.FontAssigned() && !(option.Font() == option.DefaultFont()))
        out.Font("Font", option.Font());
    out.Int("ItemCount", std::clamp(option.ItemCount(), 0, pixels), 8);
    out.Int("LineColor", option.LineColor(), clGray);
    out.Bool("RowLines", option.RowLines(), false);
    out.Bool("ShowTitle", option.ShowTitle(), false);
    out.Int("TitleColor", option.TitleColor(), clGray);
    if (option.TitleFontAssigned() && !(option.TitleFont() == option.DefaultTitleFont()))
        out.Font("TitleFont", option.TitleFont());
    out.Int("Width", std::clamp(option.Width(), -pixels, pixels), 0);
    if (option.Separator() != QLatin1Char(';'))
        out.Text("Separator", option.Separator());
    out.Int("ValuesIndex", std::max(option.ValuesIndex(), -1), -1);
    out.Text("Titles", option.Titles());
    out.Bool("ValuesOnly", option.ValuesOnly(), true);
}

void ReadListOption(const TwDesignReader &in, TwColumnListOption &option)
{
    constexpr int pixels = TwDesignReader::PixelMax;
    const QString separator = in.Has("Separator") ? in.Text("Separator") : QStringLiteral(";");
    if (separator.size() != 1)
        in.Fail("Separator", QStringLiteral("one character is expected"));
    option.SetAutoDrop(in.Bool("AutoDrop", true));
    option.SetCaseSensitive(in.Bool("CaseSensitive", false));
    option.SetCharWidth(in.Int("CharWidth", 0, -pixels, pixels));
    option.SetColLines(in.Bool("ColLines", false));
    option.SetColor(in.Color("Color", clBtnFace));
    if (in.Has("Font"))
        option.SetFont(in.Font("Font"));
    option.SetItemCount(in.Int("ItemCount", 8, 0, pixels));
    option.SetLineColor(in.Color("LineColor", clGray));
    option.SetRowLines(in.Bool("RowLines", false));
    option.SetShowTitle(in.Bool("ShowTitle", false));
    option.SetTitleColor(in.Color("TitleColor", clGray));
    if (in.Has("TitleFont"))
        option.SetTitleFont(in.Font("TitleFont"));
    // Negative widths ask for the width of all the list's columns.
    option.SetWidth(in.Int("Width", 0, -pixels, pixels));
    option.SetSeparator(separator.at(0));
    option.SetValuesIndex(in.Int("ValuesIndex", -1, -1));
    option.SetTitles(in.Text("Titles"));
    option.SetValuesOnly(in.Bool("ValuesOnly", true));
}

} // namespace

void TwColumn::WriteDesign(TwDesignWriter &out) const
{
    if (d->m_assigned.Has(wcvAlignment))
        out.Int("Alignment", Alignment(), DefaultAlignment());
    out.Bool("AutoSize", d->m_autoSize, true);
    out.Int("CharCase", d->m_charCase, ecNormal);
    out.Int("Color", d->m_color, clWhite);
    out.Bool("Ctl3D", d->m_ctl3D, true);
    out.Int("EditBorder", d->m_editBorder, webSingle);
    out.Bool("EditButton", d->m_editButton, false);
    out.Bool("EditColor", d->m_editColor, false);
    out.Text("EditFormat", d->m_editFormat);
    out.Int("EditStyle", d->m_editStyle, wesDefault);
    out.Bool("EqualBlank", d->m_equalBlank, false);
    out.Int("FitStyle", d->m_fitStyle, wfitNone);
    if (d->m_assigned.Has(wcvFont))
        out.Font("Font", Font());
    TwDesignWriter footer;
    Footer().WriteDesign(footer);
    out.Object("Footer", footer);
    out.Int("Group", d->m_group, -1);
    out.Int("ImageLayout", d->m_imageLayout, wimgNone);
    const TwGridOwner *grid = GridOwner();
    if (d->m_assigned.Has(wcvImeMode))
        out.Int("ImeMode", ImeMode(), grid ? grid->ImeMode() : imDontCare);
    if (d->m_assigned.Has(wcvImeName))
        out.Text("ImeName", ImeName(), grid ? grid->ImeName() : QString());
    out.List("Items", d->m_items);
    out.Int("Layout", d->m_layout, tlCenter);
    TwDesignWriter list;
    WriteListOption(list, ListOption());
    out.Object("ListOption", list);
    out.Int("Level", d->m_level, 0);
    out.Int("LevelIndex", d->m_levelIndex, 0);
    out.Int("MarginLeft", d->m_margins[0], 1);
    out.Int("MarginTop", d->m_margins[1], 1);
    out.Int("MarginRight", d->m_margins[2], 1);
    out.Int("MarginBottom", d->m_margins[3], 1);
    out.Int("MaxLength", d->m_maxLength, 0);
    out.Text("MaxValue", d->m_maxValue);
    out.Text("MinValue", d->m_minValue);
    out.Int("RadioColumns", d->m_radioColumns, 1);
    out.Bool("ReadOnly", d->m_readOnly, false);
    TwDesignWriter title;
    title.Title(Title());
    title.Int("SortMark", Title().SortMark(), wsmNone);
    out.Object("Title", title);
    out.Bool("Transparent", d->m_transparent, false);
    out.List("Values", d->m_values);
    out.Bool("Visible", d->m_visible, true);
    out.Bool("WordWrap", d->m_wordWrap, false);
    out.Int("ColWidth", d->m_colWidth, 64);
    out.Int("GrpWidth", d->m_grpWidth, 64);
}

void TwColumn::ReadDesign(const TwDesignReader &in)
{
    if (in.Has("Alignment"))
        SetAlignment(in.Enum("Alignment", taLeftJustify, taCenter));
    SetAutoSize(in.Bool("AutoSize", true));
    SetCharCase(in.Enum("CharCase", ecNormal, ecLowerCase));
    SetColor(in.Color("Color", clWhite));
    SetCtl3D(in.Bool("Ctl3D", true));
    SetEditBorder(in.Enum("EditBorder", webSingle, webSunken));
    SetEditButton(in.Bool("EditButton", false));
    SetEditColor(in.Bool("EditColor", false));
    SetEditFormat(in.Text("EditFormat"));
    SetEditStyle(in.Enum("EditStyle", wesDefault, wesDataList));
    SetEqualBlank(in.Bool("EqualBlank", false));
    SetFitStyle(in.Enum("FitStyle", wfitNone, wfitPath));
    if (in.Has("Font"))
        SetFont(in.Font("Font"));
    SetImageLayout(in.Enum("ImageLayout", wimgNone, wimgBottom));
    if (in.Has("ImeMode"))
        SetImeMode(in.Enum("ImeMode", imDontCare, imHanguel));
    if (in.Has("ImeName"))
        SetImeName(in.Text("ImeName"));
    SetItems(in.List("Items"));
    SetLayout(in.Enum("Layout", tlCenter, tlBottom));
    ReadListOption(in.Object("ListOption"), ListOption());
    SetMargin(0, in.Int("MarginLeft", 1, 0, 255));
    SetMargin(1, in.Int("MarginTop", 1, 0, 255));
    SetMargin(2, in.Int("MarginRight", 1, 0, 255));
    SetMargin(3, in.Int("MarginBottom", 1, 0, 255));
    SetMaxLength(in.Int("MaxLength", 0));
    SetMaxValue(in.Text("MaxValue"));
    SetMinValue(in.Text("MinValue"));
    SetRadioColumns(in.Int("RadioColumns", 1, 1));
    SetReadOnly(in.Bool("ReadOnly", false));
    const TwDesignReader title = in.Object("Title");
    title.Title(Title());
    Title().SetSortMark(title.Enum("SortMark", wsmNone, wsmDesc));
    Footer().ReadDesign(in.Object("Footer"));
    SetTransparent(in.Bool("Transparent", false));
    SetValues(in.List("Values"));
    SetVisible(in.Bool("Visible", true));
    SetWordWrap(in.Bool("WordWrap", false));

    // The place in the group structure and the two widths are stored as they are, without
    // side effects (the structure is rebuilt from them once the whole design is read), but
    // only within the bounds the structure can hold.
    TwGridOwner *grid = GridOwner();
    const int groups = grid ? grid->Groups().Count() : 0;
    d->m_group = in.Int("Group", -1, -1, groups - 1);
    const int levels = d->m_group >= 0 ? grid->Groups().Items(d->m_group)->Levels() : TwGroup::MaxLevels;
    d->m_level = in.Int("Level", 0, 0, levels - 1);
    d->m_levelIndex = in.Int("LevelIndex", 0);
    d->m_colWidth = in.Int("ColWidth", 64, 4, TwDesignReader::PixelMax);
    d->m_grpWidth = in.Int("GrpWidth", 64, 4, TwDesignReader::PixelMax);
}

void TwColumnFooter::WriteDesign(TwDesignWriter &out) const
{
    out.DrawObject(*this);
    // Texts of footer rows the grid no longer has are not part of its design.
    TwGridOwner *grid = TwOwnerOf(GetGrid());
    QStringList values = d->m_values.mid(0, grid ? grid->Footers().Count() : 0);
    while (!values.isEmpty() && values.constLast().isEmpty())
        values.removeLast();
    out.List("Values", values);
}

void TwColumnFooter::ReadDesign(const TwDesignReader &in)
{
    in.DrawObject(*this);
    const QStringList values = in.List("Values");
    TwGridOwner *grid = TwOwnerOf(GetGrid());
    const int rows = grid ? grid->Footers().Count() : 0;
    if (values.size() > rows)
        in.Fail("Values", QStringLiteral("%1 texts for %2 footer rows").arg(values.size()).arg(rows));
    for (int row = 0; row < values.size(); ++row)
        SetValues(row, values.at(row));
}
