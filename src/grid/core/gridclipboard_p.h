#pragma once

// What a copy of grid cells puts on the clipboard: tab-separated text and an HTML table,
// the two formats spreadsheets read from the clipboard.

#include "grid/uxtypes.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <vector>

class QKeyEvent;
class TwColumn;
class TwCustomGrid;

/// The visible columns of a grid in reading order: left to right, and in group mode the
/// columns of each level of all groups, level by level.
std::vector<TwColumn *> TXReadingColumns(const TwCustomGrid &grid);

/// The keys that copy: Ctrl+C, Ctrl+Insert and the platform's copy key (no titles), and
/// Ctrl+Shift+C (with the titles); and those that paste: Ctrl+V and Shift+Insert.
enum class TwCopyKey { None, Copy, CopyWithTitles, Paste };
TwCopyKey TXCopyKey(const QKeyEvent *event);

/// A field of tab-separated text as spreadsheets read it back: quoted, with its quotes
/// doubled, when it holds a tab, a line break or a quote; as it is otherwise.
QString TXSpreadsheetField(const QString &text);

/// Tab-separated text as spreadsheets copy it, split into rows of fields: CRLF, LF or CR
/// end a row (the last one needs none), a field that starts with a quote runs to its
/// closing quote and holds tabs, line breaks and doubled quotes; blank lines at the end are
/// left out. More than `maxCells` fields (when not negative) fail the split at once.
std::vector<QStringList> TXSpreadsheetRows(const QString &text, long long maxCells = -1);

/// Text appended in place: room is made in large steps and the characters are copied in,
/// without the checks of a string append per piece (a copy appends several per cell).
class TwTextBuffer
{
public:
    void Append(QStringView text)
    {
        QChar *at = Room(text.size());
        std::copy(text.begin(), text.end(), at);
        m_size += text.size();
    }
    void Append(QChar c)
    {
        *Room(1) = c;
        ++m_size;
    }
    void Append(QLatin1String text)
    {
        QChar *at = Room(text.size());
        for (qsizetype i = 0; i < text.size(); ++i)
            at[i] = QLatin1Char(text[i]);
        m_size += text.size();
    }
    qsizetype Size() const { return m_size; }
    void Reserve(qsizetype size)
    {
        if (size > m_text.size())
            m_text.resize(size);
    }
    /// The text; the buffer is done with it.
    QString Take()
    {
        m_text.resize(m_size);
        return std::move(m_text);
    }

private:
    QChar *Room(qsizetype count)
    {
        if (m_size + count > m_text.size())
            m_text.resize(std::max<qsizetype>(m_text.size() * 2, m_size + count + 4096));
        return m_text.data() + m_size;
    }

    QString m_text;
    qsizetype m_size = 0;
};

/// Collects rows of cells as tab-separated text (CRLF after every row) and as an HTML table
/// whose cells take their column's alignment.
class TwClipboardWriter
{
public:
    explicit TwClipboardWriter(const std::vector<TwAlignment> &alignments);

    /// A row of column titles: header cells in the table.
    void AddTitles(const QStringList &titles);
    /// Room for about `rows` rows like the ones written so far.
    void Reserve(std::size_t rows);
    void BeginRow();
    void AddCell(const QString &text);
    void EndRow();

    /// The finished text and table; the writer is done with them.
    QString TakeText();
    QString TakeHtml();

private:
    void AddField(const QString &text, const QString &opening, QLatin1String closing);

    std::vector<QString> m_openings;
    TwTextBuffer m_text;
    TwTextBuffer m_html;
    qsizetype m_htmlStart = 0;
    std::size_t m_column = 0;
};
