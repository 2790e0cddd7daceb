#pragma once

// Internal: small helpers shared by the painting files of the grid core. Not installed.

#include "grid/customgrid.h"
#include "grid/core/extents.h"

#include <QPainter>

namespace TwPaint {

struct TLine
{
    TColor Color = clBlack;
    TwPenStyle Style = psSolid;
    int Width = 0;
};

inline TLine Horz(const TwGridLines &lines)
{
    return {lines.HorzColor(), lines.HorzStyle(), lines.HorzWidth()};
}

inline TLine Vert(const TwGridLines &lines)
{
    return {lines.VertColor(), lines.VertStyle(), lines.VertWidth()};
}

inline TLine LevelLine(const TwGridLinesEx &lines)
{
    return {lines.LevelColor(), lines.LevelStyle(), lines.LevelWidth()};
}

inline TLine CellLine(const TwGridLinesEx &lines)
{
    return {lines.CellColor(), lines.CellStyle(), lines.CellWidth()};
}

inline void SetBottom(TwDrawInfo &info, const TLine &line)
{
    info.BottomLineColor = line.Color;
    info.BottomLineStyle = line.Style;
    info.BottomLineWidth = line.Width;
}

inline void SetRight(TwDrawInfo &info, const TLine &line)
{
    info.RightLineColor = line.Color;
    info.RightLineStyle = line.Style;
    info.RightLineWidth = line.Width;
}

inline TwFontStyles StylesOf(const QFont &font)
{
    TwFontStyles styles;
    if (font.bold())
        styles.Include(fsBold);
    if (font.italic())
        styles.Include(fsItalic);
    if (font.underline())
        styles.Include(fsUnderline);
    if (font.strikeOut())
        styles.Include(fsStrikeOut);
    return styles;
}

inline QFont WithStyles(QFont font, TwFontStyles styles)
{
    // A font whose styles stay is handed on as it is: changing it would detach it.
    if (StylesOf(font) == styles)
        return font;
    font.setBold(styles.Has(fsBold));
    font.setItalic(styles.Has(fsItalic));
    font.setUnderline(styles.Has(fsUnderline));
    font.setStrikeOut(styles.Has(fsStrikeOut));
    return font;
}

inline void SetCanvas(QPainter &painter, TColor background, TColor foreground, const QFont &font)
{
    painter.setBrush(TXColor(background));
    painter.setPen(TXColor(foreground));
    // Most cells of a row share a font: setting the same one again costs a font lookup.
    if (!painter.font().isCopyOf(font))
        painter.setFont(font);
}

using TwRect::BottomOf;
using TwRect::RightOf;
using TwRect::Span;

/// The first strip right of the fixed ones that a paint from strip `first` on must visit:
/// strips wholly beneath the fixed ones are skipped.
inline int FirstScrolled(const TwCustomGrid &grid, const TwGridExtents &extents, int first)
{
    return qMax(extents.FirstPartlyShown(), qMax(first, grid.FixedCount()));
}

/// Visits the strips from `first` to `last` in paint order: the fixed strips, then the
/// scrolled strips that show beside them.
template <typename TVisit>
void ForEachStrip(const TwCustomGrid &grid, const TwGridExtents &extents, int first, int last, TVisit visit)
{
    last = qMin(grid.StripCount() - 1, last);
    for (int k = first; k <= qMin(grid.FixedCount() - 1, last); ++k)
        visit(k);
    for (int k = FirstScrolled(grid, extents, first); k <= last; ++k)
        visit(k);
}

inline bool IsTextKind(TwEditKind kind)
{
    return kind != wekCheckBox && kind != wekBoolean && kind != wekRadioGroup;
}

} // namespace TwPaint
