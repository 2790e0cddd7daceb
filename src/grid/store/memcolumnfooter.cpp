#include "grid/memcolumn.h"
#include "grid/store/memcolumn_p.h"
#include "grid/support/notify_p.h"

// The data-store column's footer: one summary style per footer line, and the texts painted
// in its cells.

#include "grid/core/gridowner_p.h"
#include "grid/gridparts.h"
#include "grid/uxlocale.h"
#include "platform/texception.h"

namespace {

// A computed footer result as painted. Count, Sum and Average are numbers whatever the
// column holds: they never go through the column's item list (a count of 3 is no item
// "Three") and only a numeric column's display format applies to them; any other column
// shows the number as it is (a count under a date column is no date). Max and Min are
// values of the column and read like its cells. The painter asks for this text, so a result
// the format cannot take shows as computed instead of failing.
QString ResultText(const TwMemColumn &column, TwFooterMethod method, const QString &value)
{
    const bool number = method == wfmeCount || method == wfmeSum || method == wfmeAverage;
    try {
        if (!number)
            return column._GetText(value);
        if (value.isEmpty() || !column.IsNumeric() || column.DisplayFormat().isEmpty())
            return value;
        return TXFormatFloat(column.DisplayFormat(), TXTextToFloat(value));
    } catch (const TException &) {
        return value;
    }
}

} // namespace

// TwMemColumnFooter

TwMemColumnFooter::TwMemColumnFooter(TwColumn *column)
    : TwColumnFooter(column)
    , d(std::make_unique<TwMemColumnFooterPrivate>())
{
}

TwMemColumnFooter::~TwMemColumnFooter() = default;

QString TwMemColumnFooter::Entry(int row) const
{
    QString entry = row >= 0 && row < d->m_styles.size() ? d->m_styles.at(row) : DefaultStyleText();
    if (entry.size() < 6)
        entry = DefaultStyleText();
    return entry;
}

void TwMemColumnFooter::SetStyles(const QStringList &styles)
{
    const auto notify = TwNotifyOnChange([this] { return Styles(); }, [this] { emit StylesChanged(Styles()); });
    TwGridOwner *grid = TwOwnerOf(GetGrid());
    const qsizetype lines = grid ? grid->Footers().Count() : 0;
    QStringList entries = styles;
    for (QString &entry : entries) {
        if (entry.size() < 6)
            entry = DefaultStyleText();
    }
    while (entries.size() < lines)
        entries << DefaultStyleText();
    d->m_styles = entries;
    Changed();
}

TwFooterMethod TwMemColumnFooter::GetMethod(int row) const
{
    return static_cast<TwFooterMethod>(qBound(0, Entry(row).at(0).unicode() - '0', static_cast<int>(wfmeMin)));
}

int TwMemColumnFooter::GetOpColumn(int row) const
{
    const int column = Entry(row).mid(1, 4).toInt();
    return column == 9999 ? -1 : column;
}

TwFooterOperator TwMemColumnFooter::GetOperator(int row) const
{
    return static_cast<TwFooterOperator>(qBound(0, Entry(row).at(5).unicode() - '0', static_cast<int>(wfopNEQ)));
}

QString TwMemColumnFooter::GetOperand(int row) const
{
    return Entry(row).mid(6);
}

void TwMemColumnFooter::Rewrite(int row, TwFooterMethod method, int column, TwFooterOperator op, const QString &operand)
{
    if (row < 0)
        return;
    while (d->m_styles.size() <= row)
        d->m_styles << DefaultStyleText();
    const QString columnText = column < 0 ? QStringLiteral("9999") : QString::number(qMin(column, 9998)).rightJustified(4, QLatin1Char('0'));
    d->m_styles[row] = QString::number(method) + columnText + QString::number(op) + operand;
}

void TwMemColumnFooter::SetMethod(int row, TwFooterMethod method)
{
    const auto notify = TwNotifyOnChange([this] { return Styles(); }, [this] { emit StylesChanged(Styles()); });
    Rewrite(row, method, GetOpColumn(row), GetOperator(row), GetOperand(row));
    Changed();
}

void TwMemColumnFooter::SetOpColumn(int row, int column)
{
    const auto notify = TwNotifyOnChange([this] { return Styles(); }, [this] { emit StylesChanged(Styles()); });
    Rewrite(row, GetMethod(row), column, GetOperator(row), GetOperand(row));
    Changed();
}

void TwMemColumnFooter::SetOperator(int row, TwFooterOperator op)
{
    const auto notify = TwNotifyOnChange([this] { return Styles(); }, [this] { emit StylesChanged(Styles()); });
    Rewrite(row, GetMethod(row), GetOpColumn(row), op, GetOperand(row));
    Changed();
}

void TwMemColumnFooter::SetOperand(int row, const QString &operand)
{
    const auto notify = TwNotifyOnChange([this] { return Styles(); }, [this] { emit StylesChanged(Styles()); });
    Rewrite(row, GetMethod(row), GetOpColumn(row), GetOperator(row), operand);
    Changed();
}

void TwMemColumnFooter::SetStyle(int row, TwFooterMethod method, int column, TwFooterOperator op, const QString &operand)
{
    const auto notify = TwNotifyOnChange([this] { return Styles(); }, [this] { emit StylesChanged(Styles()); });
    Rewrite(row, method, column, op, operand);
    Changed();
}

void TwMemColumnFooter::AssignStyles(const TwMemColumnFooter &other)
{
    const auto notify = TwNotifyOnChange([this] { return Styles(); }, [this] { emit StylesChanged(Styles()); });
    d->m_styles = other.d->m_styles;
    Changed();
}

bool TwMemColumnFooter::Footering(int row)
{
    return GetMethod(row) != wfmeNone;
}

void TwMemColumnFooter::FootersChanged()
{
    const auto notify = TwNotifyOnChange([this] { return Styles(); }, [this] { emit StylesChanged(Styles()); });
    TwGridOwner *grid = TwOwnerOf(GetGrid());
    const int lines = grid ? grid->Footers().Count() : 0;
    while (d->m_styles.size() < lines)
        d->m_styles << DefaultStyleText();
    for (qsizetype i = lines; i < d->m_styles.size(); ++i)
        d->m_styles[i] = DefaultStyleText();
}

QString TwMemColumnFooter::MethodLabel(TwFooterMethod method)
{
    static const char *const labels[] = {"", "Custom", "Cnt", "Sum", "Avg", "Max", "Min"};
    return QString::fromLatin1(labels[qBound(0, static_cast<int>(method), 6)]);
}

QString TwMemColumnFooter::OperatorSymbol(TwFooterOperator op)
{
    static const char *const symbols[] = {"All", "==", ">", ">=", "<", "<=", "!="};
    return QString::fromLatin1(symbols[qBound(0, static_cast<int>(op), 6)]);
}

QString TwMemColumnFooter::GetText(int row) const
{
    TwGridOwner *grid = TwOwnerOf(GetGrid());
    const TwFooterMethod method = GetMethod(row);
    if (grid && grid->Designing()) {
        QString text = MethodLabel(method);
        if (method < wfmeCount)
            return text;
        const TwFooterOperator op = GetOperator(row);
        const int column = GetOpColumn(row);
        text += QStringLiteral(" (");
        if (op != wfopAll && column >= 0) {
            if (column < grid->Columns().Count())
                text += grid->Columns().Items(column)->Title().Caption() + QLatin1Char(' ');
            else
                text += QLatin1Char('"') + QString::number(column) + QStringLiteral("\" ");
        }
        text += OperatorSymbol(op);
        if (op != wfopAll)
            text += QLatin1Char(' ') + GetOperand(row);
        return text + QLatin1Char(')');
    }
    if (method >= wfmeCount) {
        if (const auto *column = dynamic_cast<const TwMemColumn *>(Column()))
            return ResultText(*column, method, GetValues(row));
    }
    return TwColumnFooter::GetText(row);
}

