#include "grid/memcolumn.h"
#include "grid/store/memcolumn_p.h"

// The design properties the data-store column and its footer add to the core column's.

#include "grid/core/gridowner_p.h"
#include "grid/gridparts.h"
#include "grid/designio.h"
#include "grid/uxlocale.h"

namespace {

// The width a design holds when it names none.
constexpr int StoredDataWidth = 8;

// "MCCCCO…": a method digit, four digits of condition column, an operator digit, operand.
bool ValidStyle(const QString &entry)
{
    if (entry.size() < 6)
        return false;
    const auto digitIn = [&entry](int at, char last) {
        return entry.at(at) >= QLatin1Char('0') && entry.at(at) <= QLatin1Char(last);
    };
    return digitIn(0, '0' + wfmeMin) && digitIn(1, '9') && digitIn(2, '9') && digitIn(3, '9') && digitIn(4, '9')
        && digitIn(5, '0' + wfopNEQ);
}

} // namespace

void TwMemColumn::WriteDesign(TwDesignWriter &out) const
{
    TwColumn::WriteDesign(out);
    out.Bool("Calculated", d->m_calculated, false);
    out.Int("DataType", d->m_dataType, wdtString);
    out.Int("DataWidth", DataWidth(), StoredDataWidth);
    out.Text("Defaults", d->m_defaults);
    out.Text("DisplayFormat", d->m_displayFormat);
    out.Bool("Required", d->m_required, false);
}

void TwMemColumn::ReadDesign(const TwDesignReader &in)
{
    // The type first: it decides how the width is taken, and a later type change would
    // clear the defaults.
    SetDataType(in.Enum("DataType", wdtString, wdtGraphic));
    const int width = in.Int("DataWidth", StoredDataWidth, 0, 65535);
    if (TXIsStringType(d->m_dataType))
        SetDataWidth(width);
    TwColumn::ReadDesign(in);
    SetCalculated(in.Bool("Calculated", false));
    SetDefaults(in.Text("Defaults"));
    const QString displayFormat = in.Text("DisplayFormat");
    if (TXIsNumericType(d->m_dataType) && TXHasExponent(displayFormat))
        in.Fail("DisplayFormat", QStringLiteral("\"%1\": exponent patterns are not supported").arg(displayFormat));
    SetDisplayFormat(displayFormat);
    SetRequired(in.Bool("Required", false));
}

void TwMemColumnFooter::WriteDesign(TwDesignWriter &out) const
{
    TwColumnFooter::WriteDesign(out);
    // Styles of footer rows the grid does not have are not part of its design: a reader
    // would rightly refuse them.
    TwGridOwner *grid = TwOwnerOf(GetGrid());
    const QStringList styles = d->m_styles.mid(0, grid ? grid->Footers().Count() : 0);
    const QString standard = DefaultStyleText();
    if (std::any_of(styles.begin(), styles.end(), [&standard](const QString &entry) { return entry != standard; }))
        out.List("Style", styles);
}

void TwMemColumnFooter::ReadDesign(const TwDesignReader &in)
{
    TwColumnFooter::ReadDesign(in);
    const QStringList styles = in.List("Style");
    TwGridOwner *grid = TwOwnerOf(GetGrid());
    const int rows = grid ? grid->Footers().Count() : 0;
    const QString standard = DefaultStyleText();
    for (qsizetype i = 0; i < styles.size(); ++i) {
        if (!ValidStyle(styles.at(i)))
            in.Fail("Style", QStringLiteral("entry %1 \"%2\" is not a footer style").arg(i).arg(styles.at(i)));
        if (i >= rows && styles.at(i) != standard)
            in.Fail("Style", QStringLiteral("entry %1 styles a footer row the grid does not have").arg(i));
    }
    SetStyles(styles);
}
