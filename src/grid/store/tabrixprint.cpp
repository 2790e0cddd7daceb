// The grid's rows on paper and in PDF.
//
// The pages are laid out by arithmetic before anything is painted: one print scale for all
// columns, the columns cut into slices that each fit the page width, a fixed number of one-
// line rows a page. Page n is then painted from the grid alone, so a grid of any size prints
// page by page and every page knows the page count.

#include "grid/tabrix.h"
#include "grid/columns.h"
#include "grid/core/gridclipboard_p.h"
#include "grid/gridparts.h"
#include "grid/groups.h"
#include "platform/texception.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
namespace TabrixPrinting {

// Below this size a printed cell text is hard to read: columns that would have to shrink
// further to fit the page width are split across pages instead.
constexpr double MinTextPoints = 7.0;
// Narrow grids are enlarged to fill the page, but only this far: a few columns should not
// print in headline letters.
constexpr double MaxScale = 1.5;
// The margins of a PDF page.
constexpr double PdfMarginMillimetres = 12.0;

Qt::Alignment HorizontalOf(TwAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return Qt::AlignRight;
    case taCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

// A cell prints on one line: the text up to its first line break.
QString FirstLine(const QString &text)
{
    const auto end = std::find_if(text.begin(), text.end(), [](QChar c) { return c == u'\r' || c == u'\n'; });
    QString line = text.left(end - text.begin());
    line.replace(u'\t', u' ');
    return line;
}

// Draws `text` with its baseline at `origin`. The words are drawn one by one and the spaces
// left as gaps: some fonts (NanumGothic among them) write their space glyph into the PDF's
// text layer as another character, and a viewer's search and copy would lose the spaces.
// Each word is measured by itself, as it is drawn: digits next to Hangul take the Hangul
// font, alone the grid's own.
void DrawWords(QPainter &painter, const QFontMetricsF &metrics, QPointF origin, const QString &text)
{
    if (!text.contains(u' ')) {
        painter.drawText(origin, text);
        return;
    }
    const double space = metrics.horizontalAdvance(u' ');
    double x = origin.x();
    for (const QString &word : text.split(u' ')) {
        if (!word.isEmpty()) {
            painter.drawText(QPointF(x, origin.y()), word);
            x += metrics.horizontalAdvance(word);
        }
        x += space;
    }
}

// The width DrawWords gives `text`.
double WordsWidth(const QFontMetricsF &metrics, const QString &text)
{
    if (!text.contains(u' '))
        return metrics.horizontalAdvance(text);
    const QStringList words = text.split(u' ');
    double width = metrics.horizontalAdvance(u' ') * static_cast<double>(words.size() - 1);
    for (const QString &word : words)
        width += metrics.horizontalAdvance(word);
    return width;
}

// One line of text in `box`: centred from top to bottom, aligned from side to side, and
// ended by an ellipsis where it does not fit, so that a cut number cannot pass for a smaller
// one.
void DrawLine(QPainter &painter, const QFontMetricsF &metrics, const QRectF &box, const QString &line,
              Qt::Alignment alignment)
{
    if (line.isEmpty() || box.width() <= 0)
        return;
    QString shown = line;
    double width = WordsWidth(metrics, shown);
    // Words measured one by one can come out a little wider than Qt's elision measured them.
    double room = box.width();
    for (int pass = 0; pass < 3 && width > box.width(); ++pass) {
        shown = metrics.elidedText(line, Qt::ElideRight, room);
        width = WordsWidth(metrics, shown);
        room -= width - box.width();
    }
    double x = box.left();
    if (alignment & Qt::AlignRight)
        x = box.right() - width;
    else if (alignment & Qt::AlignHCenter)
        x = box.left() + (box.width() - width) / 2;
    DrawWords(painter, metrics, QPointF(x, box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent()), shown);
}

QString LoginName()
{
    if (const passwd *entry = getpwuid(geteuid()); entry && entry->pw_name && *entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

// The grid font's size in points, also when it was set in pixels.
double FontPoints(const QFont &font, double screenDpi)
{
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    if (font.pixelSize() > 0)
        return font.pixelSize() * 72.0 / screenDpi;
    return 9.0;
}

double ScreenDpi(const QWidget &widget)
{
    const int dpi = widget.logicalDpiX();
    return dpi > 0 ? dpi : 96.0;
}

// The width of all visible columns on the screen, in points.
double NaturalPoints(const QWidget &widget, const std::vector<TwColumn *> &columns)
{
    double pixels = 0;
    for (const TwColumn *column : columns)
        pixels += column->Width();
    return pixels * 72.0 / ScreenDpi(widget);
}

struct PrintColumn
{
    TwColumn *Column = nullptr;
    double Left = 0; // within its slice, in device pixels
    double Width = 0;
    Qt::Alignment Cells;
    Qt::Alignment Footers;
    Qt::Alignment Title;
    QString Caption;
    const TwGroup *Group = nullptr;
};

// Columns [First, Last) of the reading order, printed side by side on one page.
struct Slice
{
    std::size_t First = 0;
    std::size_t Last = 0;
};

// One footer line as the grid shows it: its index among all footers and its title.
struct FooterLine
{
    int Index = 0;
    QString Title;
};

// A print of more pages is refused before the first is painted: no printer or reader takes
// it, and the pages alone would take hours.
constexpr qint64 MaxPages = 100'000;
// A preview holds every page it shows in memory (some 70 KB a page).
constexpr qint64 MaxPreviewPages = 5'000;

// The text a cell prints: as the grid shows it, except that a column which leaves repeated
// values blank starts again on every page (on the screen the rule counts from the row at the
// top of the view, which has nothing to do with the pages).
QString PrintedText(TTabrix &grid, TwColumn *column, int row, int pageFirst)
{
    const TwGridMode mode = grid.GetGridMode();
    const int current = grid.CurRow();
    // The row being edited or inserted shows its edit buffer and never reads as blank.
    if (!column->EqualBlank() || (mode != wgmBrowse && row == current))
        return grid.GetDisplayText(column, row);
    const auto stored = [mode, current](int r) { return mode == wgmInsert && r > current ? r - 1 : r; };
    auto *memColumn = static_cast<TwMemColumn *>(column);
    const int here = stored(row);
    const QString text = memColumn->RowText(here, row);
    if (row == pageFirst || row == 0 || (mode != wgmBrowse && row - 1 == current))
        return text;
    return memColumn->Pool().SameValue(here, memColumn->Pool(), stored(row - 1)) ? QString() : text;
}

/// The pages of one print of a grid on one device: computed once from the grid and the
/// device's page, then painted a page at a time.
class PageMaker
{
public:
    PageMaker(TTabrix &grid, QPagedPaintDevice &device, const TwPrintOptions &options);

    int PageCount() const { return m_rowPages * static_cast<int>(m_slices.size()); }
    void Paint(QPainter &painter, int page);

private:
    void PaintCaption(QPainter &painter, int page);
    double PaintTitles(QPainter &painter, const Slice &slice);
    void PaintLine(QPainter &painter, const Slice &slice, int line, int pageFirst, double top);
    void PaintText(QPainter &painter, const QFontMetricsF &metrics, const QRectF &cell, const QString &text,
                   Qt::Alignment alignment);

    TTabrix &m_grid;
    QString m_title;
    QString m_stamp; // the user and the print time
    std::vector<PrintColumn> m_columns;
    std::vector<Slice> m_slices;
    std::vector<FooterLine> m_footers;
    bool m_groupRow = false;
    int m_titleLines = 1;

    QSizeF m_page; // the printable area, in device pixels
    QFont m_cellFont;
    QFont m_boldFont; // the titles and the footers
    QFont m_captionFont;
    QFont m_boldCaptionFont;
    QFontMetricsF m_cellMetrics;
    QFontMetricsF m_boldMetrics;
    QFontMetricsF m_captionMetrics;
    QFontMetricsF m_boldCaptionMetrics;
    double m_padding = 0; // between a cell's lines and its text
    double m_rowHeight = 0;
    double m_captionHeight = 0; // the caption line with the space under it
    double m_headerHeight = 0; // the group and column titles
    double m_bottomHeight = 0; // the page number with the space above it
    double m_thin = 0; // the width of the grid lines
    int m_rows = 0;
    int m_linesPerPage = 1;
    int m_rowPages = 1;
};

PageMaker::PageMaker(TTabrix &grid, QPagedPaintDevice &device, const TwPrintOptions &options)
    : m_grid(grid), m_cellMetrics(grid.font()), m_boldMetrics(grid.font()), m_captionMetrics(grid.font()),
      m_boldCaptionMetrics(grid.font())
{
    const double dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 72.0;
    const double screenDpi = ScreenDpi(grid);
    m_page = device.pageLayout().paintRectPixels(qRound(dpi)).size();

    m_title = options.Title.isEmpty() ? grid.window()->windowTitle() : options.Title;
    const QString user = options.User.isEmpty() ? LoginName() : options.User;
    const QDateTime time = options.Time.isValid() ? options.Time : QDateTime::currentDateTime();
    m_stamp = user + QStringLiteral("   ") + time.toString(QStringLiteral("yyyy-MM-dd HH:mm"));

    // One scale for every column, so that the slices of a wide grid have the same rows and
    // lay side by side: the screen widths fitted to the page width, within a readable size.
    const std::vector<TwColumn *> columns = TXReadingColumns(grid);
    const double points = FontPoints(grid.font(), screenDpi);
    const double minScale = std::min(MinTextPoints / points, MaxScale);
    const double natural = NaturalPoints(grid, columns) * dpi / 72.0;
    const double fit = natural > 0 ? m_page.width() / natural : 1.0;
    const double scale = fit >= minScale ? std::min(fit, MaxScale) : minScale;
    const double perScreenPixel = scale * dpi / screenDpi;

    Slice slice;
    double left = 0;
    for (TwColumn *column : columns) {
        PrintColumn print;
        print.Column = column;
        print.Width = column->Width() * perScreenPixel;
        if (left > 0 && left + print.Width > m_page.width() + 0.5) {
            slice.Last = m_columns.size();
            m_slices.push_back(slice);
            slice.First = m_columns.size();
            left = 0;
        }
        // A column wider than the page has a page of its own and is cut at its edge.
        print.Width = std::min(print.Width, m_page.width());
        print.Left = left;
        print.Cells = HorizontalOf(column->Alignment());
        print.Footers = HorizontalOf(column->Footer().Alignment());
        print.Title = HorizontalOf(column->Title().Alignment());
        print.Caption = column->Title().Caption();
        print.Group = grid.GroupMode() ? column->GroupObject() : nullptr;
        if (print.Group && !print.Group->Title().Caption().isEmpty())
            m_groupRow = true;
        m_titleLines = std::max<int>(m_titleLines, std::min<qsizetype>(3, print.Caption.split(u'\n').size()));
        left += print.Width;
        m_columns.push_back(std::move(print));
    }
    slice.Last = m_columns.size();
    m_slices.push_back(slice); // an empty grid still prints a page

    const TwGridFooters &footers = grid.Footers();
    for (int i = 0; i < footers.Count(); ++i) {
        if (footers.Items(i)->Visible())
            m_footers.push_back({i, footers.Items(i)->Title().Caption()});
    }

    m_cellFont = grid.font();
    m_cellFont.setPointSizeF(points * scale);
    m_boldFont = m_cellFont;
    m_boldFont.setBold(true);
    m_captionFont = grid.font();
    m_captionFont.setPointSizeF(std::clamp(points * scale, 9.0, 11.0));
    m_boldCaptionFont = m_captionFont;
    m_boldCaptionFont.setBold(true);
    // Metrics of the device: its resolution, not the screen's.
    m_cellMetrics = QFontMetricsF(m_cellFont, &device);
    m_boldMetrics = QFontMetricsF(m_boldFont, &device);
    m_captionMetrics = QFontMetricsF(m_captionFont, &device);
    m_boldCaptionMetrics = QFontMetricsF(m_boldCaptionFont, &device);

    const double line = m_cellMetrics.height();
    m_padding = std::max(line * 0.25, m_cellMetrics.averageCharWidth() * 0.4);
    m_rowHeight = std::ceil(line * 1.5);
    m_thin = dpi * 0.5 / 72.0; // half a point
    m_captionHeight = std::ceil(m_captionMetrics.height() * 1.8);
    m_bottomHeight = std::ceil(m_captionMetrics.height() * 1.6);
    m_headerHeight = std::ceil(line * (m_titleLines + 0.5)) + (m_groupRow ? m_rowHeight : 0);

    // The rows, then the footer lines, fill the pages a whole line at a time.
    m_rows = grid.GetRowCount();
    const double body = m_page.height() - m_captionHeight - m_headerHeight - m_bottomHeight;
    m_linesPerPage = std::max(1, static_cast<int>(std::floor(body / m_rowHeight)));
    const qint64 lines = static_cast<qint64>(m_rows) + static_cast<qint64>(m_footers.size());
    const qint64 rowPages = std::max<qint64>(1, (lines + m_linesPerPage - 1) / m_linesPerPage);
    const qint64 pages = rowPages * static_cast<qint64>(std::max<std::size_t>(m_slices.size(), 1));
    if (pages > MaxPages)
        throw TException(QStringLiteral("인쇄할 페이지가 너무 많습니다 (%1쪽, 최대 %2쪽).")
                             .arg(QLocale(QLocale::Korean).toString(pages), QLocale(QLocale::Korean).toString(MaxPages)));
    m_rowPages = static_cast<int>(rowPages);
}

void PageMaker::PaintText(QPainter &painter, const QFontMetricsF &metrics, const QRectF &cell, const QString &text,
                          Qt::Alignment alignment)
{
    if (!text.isEmpty())
        DrawLine(painter, metrics, cell.adjusted(m_padding, 0, -m_padding, 0), FirstLine(text), alignment);
}

void PageMaker::PaintCaption(QPainter &painter, int page)
{
    painter.setPen(Qt::black);
    const double height = m_captionMetrics.height();
    painter.setFont(m_captionFont);
    DrawLine(painter, m_captionMetrics, QRectF(0, 0, m_page.width(), height), m_stamp, Qt::AlignRight);
    DrawLine(painter, m_captionMetrics, QRectF(0, m_page.height() - height, m_page.width(), height),
             QStringLiteral("%1 / %2").arg(page + 1).arg(PageCount()), Qt::AlignHCenter);
    // The title takes what the user and the time leave of the line.
    const double stampWidth = WordsWidth(m_captionMetrics, m_stamp);
    painter.setFont(m_boldCaptionFont);
    DrawLine(painter, m_boldCaptionMetrics, QRectF(0, 0, std::max(0.0, m_page.width() - stampWidth - 2 * height), height),
             m_title, Qt::AlignLeft);
    painter.setPen(QPen(Qt::black, m_thin));
    painter.drawLine(QPointF(0, height * 1.25), QPointF(m_page.width(), height * 1.25));
}

// The group captions above the column titles: one cell over each run of neighbouring
// columns of one group.
double PageMaker::PaintTitles(QPainter &painter, const Slice &slice)
{
    const QColor shade(232, 232, 232);
    const PrintColumn &last = m_columns[slice.Last - 1];
    const double width = last.Left + last.Width;
    double top = m_captionHeight;
    painter.setFont(m_boldFont);
    if (m_groupRow) {
        for (std::size_t i = slice.First; i < slice.Last;) {
            std::size_t end = i + 1;
            while (end < slice.Last && m_columns[end].Group == m_columns[i].Group)
                ++end;
            const QRectF cell(m_columns[i].Left, top, m_columns[end - 1].Left + m_columns[end - 1].Width - m_columns[i].Left,
                              m_rowHeight);
            painter.fillRect(cell, shade);
            painter.setPen(QPen(Qt::black, m_thin));
            painter.drawRect(cell);
            if (m_columns[i].Group)
                PaintText(painter, m_boldMetrics, cell, m_columns[i].Group->Title().Caption(), Qt::AlignHCenter);
            i = end;
        }
        top += m_rowHeight;
    }
    const double height = m_captionHeight + m_headerHeight - top;
    painter.fillRect(QRectF(0, top, width, height), shade);
    painter.setPen(QPen(Qt::black, m_thin));
    for (std::size_t i = slice.First; i < slice.Last; ++i) {
        const PrintColumn &column = m_columns[i];
        const QRectF cell(column.Left, top, column.Width, height);
        painter.drawRect(cell);
        // A title of several lines prints them all, up to three, centred as a block.
        const QStringList lines = column.Caption.split(u'\n');
        const double line = m_boldMetrics.height();
        const qsizetype count = std::min<qsizetype>(lines.size(), m_titleLines);
        const double first = cell.top() + (cell.height() - count * line) / 2;
        for (qsizetype l = 0; l < count; ++l)
            DrawLine(painter, m_boldMetrics, QRectF(cell.left() + m_padding, first + l * line, cell.width() - 2 * m_padding, line),
                     lines[l].trimmed(), column.Title);
    }
    return top + height;
}

void PageMaker::PaintLine(QPainter &painter, const Slice &slice, int line, int pageFirst, double top)
{
    if (line < m_rows) {
        for (std::size_t i = slice.First; i < slice.Last; ++i) {
            const PrintColumn &column = m_columns[i];
            PaintText(painter, m_cellMetrics, QRectF(column.Left, top, column.Width, m_rowHeight),
                      PrintedText(m_grid, column.Column, line, pageFirst), column.Cells);
        }
        return;
    }
    // A footer line: its title stands in the first column where that column shows nothing.
    const FooterLine &footer = m_footers[static_cast<std::size_t>(line - m_rows)];
    for (std::size_t i = slice.First; i < slice.Last; ++i) {
        const PrintColumn &column = m_columns[i];
        QString text = column.Column->Footer().GetText(footer.Index);
        Qt::Alignment alignment = column.Footers;
        if (text.isEmpty() && i == slice.First) {
            text = footer.Title;
            alignment = Qt::AlignLeft;
        }
        PaintText(painter, m_boldMetrics, QRectF(column.Left, top, column.Width, m_rowHeight), text, alignment);
    }
}

void PageMaker::Paint(QPainter &painter, int page)
{
    const Slice &slice = m_slices[static_cast<std::size_t>(page / m_rowPages)];
    const int first = (page % m_rowPages) * m_linesPerPage;
    const int lines = m_rows + static_cast<int>(m_footers.size()); // bounded by MaxPages
    const int last = std::min(lines, first + m_linesPerPage);

    painter.save();
    PaintCaption(painter, page);
    if (slice.First == slice.Last) {
        painter.restore();
        return;
    }
    double top = PaintTitles(painter, slice);
    const double bodyTop = top;
    const PrintColumn &lastColumn = m_columns[slice.Last - 1];
    const double width = lastColumn.Left + lastColumn.Width;

    // The footer lines lie on a light shade, in bold.
    const int footerFirst = std::max(first, m_rows);
    if (footerFirst < last)
        painter.fillRect(QRectF(0, bodyTop + (footerFirst - first) * m_rowHeight, width, (last - footerFirst) * m_rowHeight),
                         QColor(244, 244, 244));
    painter.setPen(Qt::black);
    painter.setFont(m_cellFont);
    for (int line = first; line < last; ++line, top += m_rowHeight) {
        if (line == m_rows)
            painter.setFont(m_boldFont);
        PaintLine(painter, slice, line, first, top);
    }

    // Thin lines between the rows and the columns, the frame and the line above the footers
    // darker.
    const double bottom = top;
    painter.setPen(QPen(QColor(150, 150, 150), m_thin));
    for (int line = first + 1; line < last; ++line) {
        const double y = bodyTop + (line - first) * m_rowHeight;
        painter.drawLine(QPointF(0, y), QPointF(width, y));
    }
    for (std::size_t i = slice.First + 1; i < slice.Last; ++i)
        painter.drawLine(QPointF(m_columns[i].Left, bodyTop), QPointF(m_columns[i].Left, bottom));
    painter.setPen(QPen(Qt::black, m_thin));
    if (footerFirst < last && footerFirst > first) {
        const double y = bodyTop + (footerFirst - first) * m_rowHeight;
        painter.drawLine(QPointF(0, y), QPointF(width, y));
    }
    painter.drawRect(QRectF(0, bodyTop, width, bottom - bodyTop));
    painter.restore();
}

// The pages of `pages` that `printer` was asked for: all, or the range chosen in the print
// dialog.
std::pair<int, int> PageRange(const QPrinter *printer, int pages)
{
    if (printer && printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        const int from = std::clamp(printer->fromPage(), 1, pages);
        const int to = printer->toPage() > 0 ? std::clamp(printer->toPage(), from, pages) : pages;
        return {from - 1, to - 1};
    }
    return {0, pages - 1};
}

// Paints every page on `device`, which `painter` has begun.
void PaintPages(TTabrix &grid, QPagedPaintDevice &device, QPainter &painter, const QPrinter *printer,
                const TwPrintOptions &options, const QString &failure)
{
    PageMaker pages(grid, device, options);
    const auto [from, to] = PageRange(printer, pages.PageCount());
    for (int page = from; page <= to; ++page) {
        if (page > from && !device.newPage())
            throw TException(failure);
        pages.Paint(painter, page);
    }
}

// The options with the time fixed: every page of one print, and a preview and the print
// made from it, carry the same time.
TwPrintOptions Resolved(const TwPrintOptions &options)
{
    TwPrintOptions resolved = options;
    if (!resolved.Time.isValid())
        resolved.Time = QDateTime::currentDateTime();
    return resolved;
}

} // namespace TabrixPrinting
} // namespace

void TTabrix::Print(QPrinter &printer, const TwPrintOptions &options)
{
    using namespace TabrixPrinting;
    const QString failure = QStringLiteral("인쇄할 수 없습니다: 프린터 '%1'에 쓰지 못했습니다.").arg(printer.printerName());
    QPainter painter;
    if (!painter.begin(&printer))
        throw TException(failure);
    try {
        PaintPages(*this, printer, painter, &printer, Resolved(options), failure);
    } catch (...) {
        printer.abort();
        painter.end();
        throw;
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw TException(failure);
}

void TTabrix::ExportToPdf(const QString &path, const TwPrintOptions &options)
{
    using namespace TabrixPrinting;
    const TwPrintOptions resolved = Resolved(options);
    const QString failure = QStringLiteral("'%1'에 저장할 수 없습니다: %2");
    // Written beside `path` under another name and put in its place when whole, as the
    // other exports are.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TException(failure.arg(path, file.errorString()));
    {
        QPdfWriter writer(&file);
        writer.setResolution(1200);
        writer.setTitle(resolved.Title.isEmpty() ? window()->windowTitle() : resolved.Title);
        writer.setCreator(QCoreApplication::applicationName());
        // Columns wider than a portrait page's printable width take the page across.
        const QPageLayout portrait(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(PdfMarginMillimetres, PdfMarginMillimetres, PdfMarginMillimetres,
                                             PdfMarginMillimetres),
                                   QPageLayout::Millimeter);
        const bool across = NaturalPoints(*this, TXReadingColumns(*this)) > portrait.paintRect(QPageLayout::Point).width();
        QPageLayout layout = portrait;
        layout.setOrientation(across ? QPageLayout::Landscape : QPageLayout::Portrait);
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer))
            throw TException(failure.arg(path, QStringLiteral("PDF를 만들지 못했습니다.")));
        try {
            PaintPages(*this, writer, painter, nullptr, resolved,
                       failure.arg(path, QStringLiteral("PDF 쪽을 만들지 못했습니다.")));
        } catch (...) {
            painter.end();
            throw;
        }
        painter.end();
    }
    if (!file.commit())
        throw TException(failure.arg(path, file.errorString()));
}

void TTabrix::PrintPreview(const TwPrintOptions &options)
{
    using namespace TabrixPrinting;
    const TwPrintOptions resolved = Resolved(options);
    QPrintPreviewDialog dialog(window());
    dialog.setWindowTitle(QStringLiteral("인쇄 미리 보기"));
    if (NaturalPoints(*this, TXReadingColumns(*this)) > dialog.printer()->pageLayout().paintRect(QPageLayout::Point).width())
        dialog.printer()->setPageOrientation(QPageLayout::Landscape);
    // The preview keeps every page it shows: a very long print goes to a PDF or straight to
    // the printer instead.
    if (const qint64 pages = PageMaker(*this, *dialog.printer(), resolved).PageCount(); pages > MaxPreviewPages)
        throw TException(QStringLiteral("미리 보기에는 페이지가 너무 많습니다 (%1쪽, 최대 %2쪽). PDF로 저장해서 보십시오.")
                             .arg(QLocale(QLocale::Korean).toString(pages), QLocale(QLocale::Korean).toString(MaxPreviewPages)));
    // The dialog paints through a signal: a failure is shown here and goes no further.
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this, &dialog, &resolved](QPrinter *printer) {
        try {
            Print(*printer, resolved);
        } catch (const std::exception &error) {
            QMessageBox::warning(&dialog, dialog.windowTitle(), QString::fromUtf8(error.what()));
        } catch (...) {
            QMessageBox::warning(&dialog, dialog.windowTitle(), QStringLiteral("인쇄하지 못했습니다."));
        }
    });
    dialog.exec();
}
