#include "grid/drawobjects.h"

#include "grid/columns.h"
#include "grid/customgrid.h"
#include "platform/texception.h"

#include <algorithm>

// TwDrawObject

TwDrawObject::TwDrawObject()
{
    TXInitDrawInfo(DrawInfo);
}

TwDrawObject::~TwDrawObject() = default;

void TwDrawObject::Assign(const TwDrawObject &source)
{
    m_assigned = source.m_assigned;
    m_font = source.m_font;
    m_color = source.m_color;
    m_alignment = source.m_alignment;
    m_layout = source.m_layout;
    m_fitStyle = source.m_fitStyle;
    for (int i = 0; i < 4; ++i)
        m_margins[i] = source.m_margins[i];
    m_wordWrap = source.m_wordWrap;
    m_cellStyle = source.CellStyle();
    m_cellStyleStored = true;
    Changed();
}

void TwDrawObject::SetDrawInfo()
{
    TXInitDrawInfo(DrawInfo);
    DrawInfo.Alignment = Alignment();
    DrawInfo.FitStyle = FitStyle();
    DrawInfo.Layout = Layout();
    DrawInfo.WordWrap = WordWrap();
    DrawInfo.Margins[0] = MarginLeft();
    DrawInfo.Margins[1] = MarginTop();
    DrawInfo.Margins[2] = MarginRight();
    DrawInfo.Margins[3] = MarginBottom();
    DrawInfo.BackState = CellStyle();
}

TwFont TwDrawObject::DefaultFont() const
{
    const TwCustomGrid *grid = GetGrid();
    return grid ? grid->GridFont() : TwFont();
}

TwAlignment TwDrawObject::Alignment() const
{
    return m_assigned.Has(wovAlignment) ? m_alignment : DefaultAlignment();
}

void TwDrawObject::SetAlignment(TwAlignment value)
{
    m_alignment = value;
    Mark(wovAlignment);
    Changed();
}

void TwDrawObject::SetCellStyle(TwCellStyle value)
{
    m_cellStyle = value;
    m_cellStyleStored = true;
    Changed();
}

TColor TwDrawObject::Color() const
{
    return m_assigned.Has(wovColor) ? m_color : DefaultColor();
}

void TwDrawObject::SetColor(TColor value)
{
    if (m_assigned.Has(wovColor) && m_color == value)
        return;
    m_color = value;
    Mark(wovColor);
    Changed();
}

TwFitStyle TwDrawObject::FitStyle() const
{
    return m_assigned.Has(wovFitStyle) ? m_fitStyle : DefaultFitStyle();
}

void TwDrawObject::SetFitStyle(TwFitStyle value)
{
    m_fitStyle = value;
    Mark(wovFitStyle);
    Changed();
}

TwFont TwDrawObject::Font() const
{
    return m_assigned.Has(wovFont) ? m_font : DefaultFont();
}

void TwDrawObject::SetFont(const TwFont &value)
{
    m_font = value;
    Mark(wovFont);
    Changed();
}

TwTextLayout TwDrawObject::Layout() const
{
    return m_assigned.Has(wovLayout) ? m_layout : DefaultLayout();
}

void TwDrawObject::SetLayout(TwTextLayout value)
{
    m_layout = value;
    Mark(wovLayout);
    Changed();
}

int TwDrawObject::MarginLeft() const
{
    return m_assigned.Has(wovMarginLeft) ? m_margins[0] : DefaultMarginLeft();
}

int TwDrawObject::MarginTop() const
{
    return m_assigned.Has(wovMarginTop) ? m_margins[1] : DefaultMarginTop();
}

int TwDrawObject::MarginRight() const
{
    return m_assigned.Has(wovMarginRight) ? m_margins[2] : DefaultMarginRight();
}

int TwDrawObject::MarginBottom() const
{
    return m_assigned.Has(wovMarginBottom) ? m_margins[3] : DefaultMarginBottom();
}

void TwDrawObject::SetMarginLeft(int value)
{
    m_margins[0] = value;
    Mark(wovMarginLeft);
    Changed();
}

void TwDrawObject::SetMarginTop(int value)
{
    m_margins[1] = value;
    Mark(wovMarginTop);
    Changed();
}

void TwDrawObject::SetMarginRight(int value)
{
    m_margins[2] = value;
    Mark(wovMarginRight);
    Changed();
}

void TwDrawObject::SetMarginBottom(int value)
{
    m_margins[3] = value;
    Mark(wovMarginBottom);
    Changed();
}

void TwDrawObject::SetMarginRect(int left, int top, int right, int bottom)
{
    m_margins[0] = left;
    m_margins[1] = top;
    m_margins[2] = right;
    m_margins[3] = bottom;
    Mark(wovMarginLeft);
    Mark(wovMarginTop);
    Mark(wovMarginRight);
    Mark(wovMarginBottom);
    Changed();
}

bool TwDrawObject::WordWrap() const
{
    return m_assigned.Has(wovWordWrap) ? m_wordWrap : DefaultWordWrap();
}

void TwDrawObject::SetWordWrap(bool value)
{
    m_wordWrap = value;
    Mark(wovWordWrap);
    Changed();
}

// TwTitle

TwTitle::TwTitle() = default;

void TwTitle::Assign(const TwDrawObject &source)
{
    if (const auto *title = dynamic_cast<const TwTitle *>(&source)) {
        m_caption = title->m_caption;
        m_clicking = title->m_clicking;
        m_image = title->m_image;
        m_imageLayout = title->m_imageLayout;
    }
    TwDrawObject::Assign(source);
}

void TwTitle::SetCaption(const QString &value)
{
    m_caption = value;
    Changed();
}

void TwTitle::SetImage(const QPixmap &value)
{
    m_image = value;
    Changed();
}

void TwTitle::SetImageLayout(TwImageLayout value)
{
    m_imageLayout = value;
    Changed();
}

// TwColumnTitle

TwColumnTitle::TwColumnTitle(TwColumn *column)
    : m_column(column)
{
}

void TwColumnTitle::Changed()
{
    if (m_column)
        m_column->Changed();
}

TwCustomGrid *TwColumnTitle::GetGrid() const
{
    return m_column ? m_column->Grid() : nullptr;
}

TwFont TwColumnTitle::DefaultFont() const
{
    return m_column ? m_column->Font() : TwDrawObject::DefaultFont();
}

int TwColumnTitle::DefaultMarginLeft() const
{
    return m_column ? m_column->MarginLeft() : 0;
}

int TwColumnTitle::DefaultMarginTop() const
{
    return m_column ? m_column->MarginTop() : 0;
}

int TwColumnTitle::DefaultMarginRight() const
{
    return m_column ? m_column->MarginRight() : 0;
}

int TwColumnTitle::DefaultMarginBottom() const
{
    return m_column ? m_column->MarginBottom() : 0;
}

void TwColumnTitle::SetSortMark(TwSortMark value)
{
    m_sortMark = value;
    Changed();
}

// TwColumnFooter

TwColumnFooter::TwColumnFooter(TwColumn *column)
    : m_column(column)
{
}

void TwColumnFooter::Changed()
{
    TwCustomGrid *grid = GetGrid();
    if (!grid || grid->Designing() || !m_column)
        return;
    if (grid->ColumnMode() && m_column->Visible())
        grid->InvalidateFooters();
    else if (grid->GroupMode() && m_column->GroupObject() && m_column->GroupObject()->Visible())
        grid->InvalidateFooters();
}

TwCustomGrid *TwColumnFooter::GetGrid() const
{
    return m_column ? m_column->Grid() : nullptr;
}

TwAlignment TwColumnFooter::DefaultAlignment() const
{
    return m_column ? m_column->Alignment() : taLeftJustify;
}

TwFitStyle TwColumnFooter::DefaultFitStyle() const
{
    return m_column ? m_column->FitStyle() : wfitNone;
}

TwFont TwColumnFooter::DefaultFont() const
{
    return m_column ? m_column->Font() : TwDrawObject::DefaultFont();
}

TwTextLayout TwColumnFooter::DefaultLayout() const
{
    return m_column ? m_column->Layout() : tlCenter;
}

int TwColumnFooter::DefaultMarginLeft() const
{
    return m_column ? m_column->MarginLeft() : 0;
}

int TwColumnFooter::DefaultMarginTop() const
{
    return m_column ? m_column->MarginTop() : 0;
}

int TwColumnFooter::DefaultMarginRight() const
{
    return m_column ? m_column->MarginRight() : 0;
}

int TwColumnFooter::DefaultMarginBottom() const
{
    return m_column ? m_column->MarginBottom() : 0;
}

bool TwColumnFooter::DefaultWordWrap() const
{
    return m_column && m_column->WordWrap();
}

QString TwColumnFooter::GetValues(int row) const
{
    return row >= 0 && row < m_values.size() ? m_values.at(row) : QString();
}

void TwColumnFooter::SetValues(int row, const QString &text)
{
    const TwCustomGrid *grid = GetGrid();
    const int rows = grid ? grid->Footers().Count() : 0;
    if (row < 0 || row >= rows)
        throw TException(QStringLiteral("Bound Error in TwColumnFooter.SetValues(%1)").arg(row));
    while (m_values.size() <= row)
        m_values << QString();
    m_values[row] = text;
    Changed();
}

QString TwColumnFooter::GetText(int row) const
{
    return GetValues(row);
}

bool TwColumnFooter::Footering(int)
{
    return false;
}

void TwColumnFooter::FootersChanged()
{
}

int TwColumnFooter::GetIndex() const
{
    return m_column ? m_column->Index() : -1;
}

// Lines

TwGridLines::TwGridLines(Notify changed)
    : m_changed(std::move(changed))
{
}

TwGridLines::~TwGridLines() = default;

void TwGridLines::Changed() const
{
    if (m_changed)
        m_changed();
}

TwGridLinesEx::TwGridLinesEx(Notify changed)
    : TwGridLines(std::move(changed))
{
}

// TwFixedStyle

TwFixedStyle::TwFixedStyle(TwCustomGrid *grid)
    : m_grid(grid)
    , m_lines([this] { Changed(); })
{
    m_lines.CellColor = clBlack;
    m_lines.LevelColor = clBlack;
}

void TwFixedStyle::Changed()
{
    if (m_grid)
        m_grid->InvalidateGrid();
}

void TwFixedStyle::SetCellStyle(TwCellStyle value)
{
    m_cellStyle = value;
    Changed();
}

void TwFixedStyle::SetColor(TColor value)
{
    m_color = value;
    Changed();
}

void TwFixedStyle::SetOptions(TwFixedOptions value)
{
    m_options = value;
    Changed();
}

void TwFixedStyle::SetSelBgColor(TColor value)
{
    m_selBgColor = value;
    Changed();
}

void TwFixedStyle::SetSelFgColor(TColor value)
{
    m_selFgColor = value;
    Changed();
}

// List options

TwItemListOption::~TwItemListOption() = default;

TwFont TwItemListOption::DefaultFont() const
{
    return TwFont();
}

void TwItemListOption::SetListFont(const TwFont &font)
{
    m_listFont = font;
    m_listFontAssigned = true;
    Changed();
}

void TwItemListOption::SetTitleFont(const TwFont &font)
{
    m_titleFont = font;
    m_titleFontAssigned = true;
    Changed();
}

void TwItemListOption::SetValuesIndex(int value)
{
    ValuesIndex = std::max(value, -1); // -1: no value column
    Changed();
}

TwColumnListOption::TwColumnListOption(TwColumn *column)
    : m_column(column)
{
}

TwFont TwColumnListOption::DefaultFont() const
{
    return m_column ? m_column->Font() : TwFont();
}

void TwColumnListOption::Changed()
{
    if (m_column)
        m_column->Changed();
}
