#include "grid/core/gridclipboard_p.h"

#include "grid/columns.h"
#include "grid/customgrid.h"
#include "grid/groups.h"
#include "platform/texception.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>

#include <algorithm>
#include <memory>

namespace {
bool NeedsQuotes(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c == u'\t' || c == u'\n' || c == u'\r' || c == u'"'; });
}
QString OpeningTag(const char *tag, TwAlignment alignment)
{
    // The short attribute spreadsheets read: a copy writes it into a great many cells.
    const char *style = alignment == taRightJustify ? " align=right" : alignment == taCenter ? " align=center" : "";
    return QStringLiteral("<%1%2>").arg(QLatin1String(tag), QLatin1String(style));
}
} // namespace

std::vector<TwColumn *> TXReadingColumns(const TwCustomGrid &grid)
{
    std::vector<TwColumn *> columns;
    if (!grid.GroupMode()) {
        for (int i = 0; i < grid.GetVColCount(); ++i)
            columns.push_back(grid.GetVColumns(i));
        return columns;
    }
    int levels = 0;
    for (int g = 0; g < grid.GetVGroupCount(); ++g)
        levels = std::max(levels, grid.GetVGroups(g)->Levels());
    for (int level = 0; level < levels; ++level) {
        for (int g = 0; g < grid.GetVGroupCount(); ++g) {
            const TwGroup *group = grid.GetVGroups(g);
            if (level >= group->Levels())
                continue;
            for (TwColumn *column : group->GetLines(level)) {
                if (column && column->Visible())
                    columns.push_back(column);
            }
        }
    }
    return columns;
}

TwCopyKey TXCopyKey(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (event->key() == Qt::Key_C && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return TwCopyKey::CopyWithTitles;
    if (event->matches(QKeySequence::Copy))
        return TwCopyKey::Copy;
    return event->matches(QKeySequence::Paste) ? TwCopyKey::Paste : TwCopyKey::None;
}

QString TXSpreadsheetField(const QString &text)
{
    if (!NeedsQuotes(text))
        return text;
    QString field;
    field.reserve(text.size() + 2);
    field += u'"';
    for (QChar c : text) {
        if (c == u'"')
            field += u'"';
        field += c;
    }
    field += u'"';
    return field;
}

std::vector<QStringList> TXSpreadsheetRows(const QString &text, long long maxCells)
{
    std::vector<QStringList> rows;
    QStringList fields;
    QString field;
    const qsizetype size = text.size();
    qsizetype i = 0;
    long long cells = 0;
    // A quote with none after it cannot open a field: found at once, not by a scan to the end.
    const qsizetype lastQuote = text.lastIndexOf(u'"');
    bool open = false; // a row has begun
    bool fieldStart = true;
    const auto endField = [&] {
        fields << field;
        field.clear();
        if (maxCells >= 0 && ++cells > maxCells)
            throw TException(QStringLiteral("붙여넣을 셀이 너무 많습니다 (최대 %1개).").arg(QLocale(QLocale::Korean).toString(maxCells)));
    };
    while (i < size) {
        open = true;
        if (fieldStart && text[i] == u'"' && i < lastQuote) {
            fieldStart = false;
            // A quoted field: up to the quote that is not doubled; what follows it up to
            // the next tab or line break belongs to the field as it stands. A quote that
            // never closes is a character of the field like any other.
            qsizetype at = i + 1;
            QString quoted;
            bool closed = false;
            while (at < size) {
                if (text[at] == u'"') {
                    if (at + 1 < size && text[at + 1] == u'"') {
                        quoted += u'"';
                        at += 2;
                        continue;
                    }
                    ++at;
                    closed = true;
                    break;
                }
                quoted += text[at++];
            }
            if (closed) {
                field += quoted;
                i = at;
            } else {
                field += u'"';
                ++i;
            }
            continue;
        }
        const QChar c = text[i];
        fieldStart = c == u'\t' || c == u'\r' || c == u'\n';
        if (c == u'\t') {
            endField();
            ++i;
        } else if (c == u'\r' || c == u'\n') {
            endField();
            rows.push_back(std::move(fields));
            fields = {};
            open = false;
            i += (c == u'\r' && i + 1 < size && text[i + 1] == u'\n') ? 2 : 1;
        } else {
            qsizetype stop = i;
            while (stop < size && text[stop] != u'\t' && text[stop] != u'\r' && text[stop] != u'\n')
                ++stop;
            field += QStringView(text).mid(i, stop - i);
            i = stop;
        }
    }
    if (open) {
        endField();
        rows.push_back(std::move(fields));
    }
    // Blank lines at the end are no rows (some programs end a copy with more than one).
    while (!rows.empty() && rows.back().size() == 1 && rows.back().front().isEmpty())
        rows.pop_back();
    return rows;
}

TwClipboardWriter::TwClipboardWriter(const std::vector<TwAlignment> &alignments)
{
    m_html.Append(QLatin1String("<html><head><meta charset=\"utf-8\"></head><body><table>\n"));
    m_htmlStart = m_html.Size();
    // Each column's tags are made once: a copy writes them for every one of its cells.
    m_openings.reserve(alignments.size());
    for (TwAlignment alignment : alignments)
        m_openings.push_back(OpeningTag("td", alignment));
}

void TwClipboardWriter::AddTitles(const QStringList &titles)
{
    static const QString opening = OpeningTag("th", taLeftJustify);
    m_html.Append(QLatin1String("<tr>"));
    m_column = 0;
    for (const QString &title : titles)
        AddField(title, opening, QLatin1String("</th>"));
    m_text.Append(QLatin1String("\r\n"));
    m_html.Append(QLatin1String("</tr>\n"));
}

void TwClipboardWriter::Reserve(std::size_t rows)
{
    const double factor = static_cast<double>(rows) * 1.25;
    m_text.Reserve(static_cast<qsizetype>(std::min(factor * static_cast<double>(m_text.Size()), 5e8)));
    const double perRow = static_cast<double>(m_html.Size() - m_htmlStart);
    m_html.Reserve(m_htmlStart + static_cast<qsizetype>(std::min(factor * perRow, 5e8)));
}

void TwClipboardWriter::BeginRow()
{
    m_html.Append(QLatin1String("<tr>"));
    m_column = 0;
}

void TwClipboardWriter::AddCell(const QString &text)
{
    static const QString plain = OpeningTag("td", taLeftJustify);
    AddField(text, m_column < m_openings.size() ? m_openings[m_column] : plain, QLatin1String("</td>"));
}

void TwClipboardWriter::EndRow()
{
    m_text.Append(QLatin1String("\r\n"));
    m_html.Append(QLatin1String("</tr>\n"));
}

void TwClipboardWriter::AddField(const QString &text, const QString &opening, QLatin1String closing)
{
    if (m_column > 0)
        m_text.Append(u'\t');
    ++m_column;
    // One look at the characters tells whether the field needs quotes in the text and
    // escapes in the table; most need neither and go in whole.
    bool quotes = false;
    bool escapes = false;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\t':
            quotes = true;
            break;
        case u'\r':
        case u'\n':
        case u'"':
            quotes = escapes = true;
            break;
        case u'&':
        case u'<':
        case u'>':
            escapes = true;
            break;
        default:
            break;
        }
    }
    if (quotes)
        m_text.Append(TXSpreadsheetField(text));
    else
        m_text.Append(QStringView(text));
    m_html.Append(QStringView(opening));
    if (!escapes) {
        m_html.Append(QStringView(text));
    } else {
        // A line break inside a cell stays inside it.
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            switch (c.unicode()) {
            case u'&':
                m_html.Append(QLatin1String("&amp;"));
                break;
            case u'<':
                m_html.Append(QLatin1String("&lt;"));
                break;
            case u'>':
                m_html.Append(QLatin1String("&gt;"));
                break;
            case u'"':
                m_html.Append(QLatin1String("&quot;"));
                break;
            case u'\r': // CR, LF and CRLF each break the line once
                if (i + 1 < text.size() && text[i + 1] == u'\n')
                    ++i;
                m_html.Append(QLatin1String("<br>"));
                break;
            case u'\n':
                m_html.Append(QLatin1String("<br>"));
                break;
            default:
                m_html.Append(c);
            }
        }
    }
    m_html.Append(closing);
}

QString TwClipboardWriter::TakeText()
{
    return m_text.Take();
}

QString TwClipboardWriter::TakeHtml()
{
    // Finished in place: a large table is never copied once more.
    m_html.Append(QLatin1String("</table></body></html>\n"));
    return m_html.Take();
}

// The grid's copy

std::unique_ptr<QMimeData> TwCustomGrid::CopyData(bool withTitles)
{
    const std::vector<TwColumn *> reading = TXReadingColumns(*this);
    const int rowCount = GetRowCount();
    if (rowCount <= 0 || reading.empty())
        return nullptr;
    // The selected rows whole, else the current row whole where rows are selected as a
    // whole, else the current cell alone.
    std::vector<TwColumn *> columns = reading;
    std::vector<int> rows;
    const int selected = GetSelectedCount();
    // A copy is held in memory twice (text and table): far more cells than a spreadsheet
    // takes are refused before any is read.
    constexpr long long MaxCells = 10'000'000;
    const long long cells = static_cast<long long>(std::max(selected, 1)) * static_cast<long long>(reading.size());
    if (cells > MaxCells)
        throw TException(QStringLiteral("복사할 셀이 너무 많습니다 (%1개, 최대 %2개).")
                             .arg(QLocale(QLocale::Korean).toString(cells), QLocale(QLocale::Korean).toString(MaxCells)));
    if (selected > 0) {
        rows.reserve(static_cast<std::size_t>(selected));
        for (int row = 0; row < rowCount && static_cast<int>(rows.size()) < selected; ++row) {
            if (GetSelected(row))
                rows.push_back(row);
        }
    } else {
        rows.push_back(std::clamp(CurRow(), 0, rowCount - 1));
        TwColumn *current = GetSelectedColumn();
        if (!Options().Has(wgoRowSelect) && current && std::find(reading.begin(), reading.end(), current) != reading.end())
            columns = {current};
    }
    std::vector<TwAlignment> alignments;
    alignments.reserve(columns.size());
    for (const TwColumn *column : columns)
        alignments.push_back(column->Alignment());
    TwClipboardWriter writer(alignments);
    if (withTitles) {
        QStringList titles;
        for (TwColumn *column : columns)
            titles << column->Title().Caption();
        writer.AddTitles(titles);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        writer.BeginRow();
        for (TwColumn *column : columns)
            writer.AddCell(GetDisplayText(column, rows[i]));
        writer.EndRow();
        // The first row tells how long the rest will be: the texts grow once, not by doubling.
        if (i == 0 && rows.size() > 1)
            writer.Reserve(rows.size());
    }
    auto data = std::make_unique<QMimeData>();
    data->setText(writer.TakeText());
    data->setHtml(writer.TakeHtml());
    return data;
}

bool TwCustomGrid::CopyToClipboard(bool withTitles)
{
    std::unique_ptr<QMimeData> data = CopyData(withTitles);
    if (!data)
        return false;
    QApplication::clipboard()->setMimeData(data.release());
    return true;
}
