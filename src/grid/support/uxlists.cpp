#include "grid/uxlists.h"
#include "grid/support/uxlists_p.h"

// The item list's data, geometry and selection. Its painting and input are in
// uxlistsinput.cpp.

#include "grid/uxgraphics.h"
#include "grid/uxutils.h"
#include "platform/cp949.h"

#include <QFontMetrics>
#include <QScrollBar>

#include <algorithm>

namespace {

// Image and text of the first column stand this far apart.
constexpr int ImageGap = 2;
// Pixels between two columns.
constexpr int ColumnGap = 2;
// Height of a list without rows.
constexpr int EmptyHeight = 12;

// Texts are sized in the characters of the system's code page, where a Korean syllable
// counts two: the character width is that of a narrow character.
int CharCount(const QString &text)
{
    return static_cast<int>(Platform::ToCp949(text).size());
}

} // namespace

bool TwItemListPrivate::HasImages() const
{
    return m_images && m_images->Count() > 0;
}

int TwItemListPrivate::ItemColumns() const
{
    if (m_items.isEmpty())
        return 0;
    return 1 + static_cast<int>(m_items.first().count(ItemOption().Separator()));
}

int TwItemListPrivate::ValueColumn() const
{
    const int index = ItemOption().ValuesIndex();
    if (index < 0)
        return -1;
    // Past the item columns the value column is the last one.
    return std::min(index, ItemColumns());
}

TwItemList::TwItemList(QWidget *owner)
    : QWidget(owner, Qt::Popup)
    , d(std::make_unique<TwItemListPrivate>())
{
    d->m_owner = owner;
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    d->m_scrollBar = new QScrollBar(Qt::Vertical, this);
    d->m_scrollBar->setFocusPolicy(Qt::NoFocus);
    d->m_scrollBar->hide();
    connect(d->m_scrollBar, &QScrollBar::valueChanged, this, [this](int value) { SetTopRow(value); });
    CalcExtents();
}

TwItemList::~TwItemList() = default;

QWidget *TwItemList::Owner() const
{
    return d->m_owner;
}

void TwItemList::SetOwner(QWidget *owner)
{
    d->m_owner = owner;
}

void TwItemList::SetOptions(const TwListoption *option, const QStringList &items, const QStringList &values,
                            const TwImageList *images, bool ctl3d)
{
    d->m_option = option;
    d->m_items = items;
    d->m_values = values;
    d->m_images = images;
    d->m_ctl3d = ctl3d;
    d->m_itemIndex = -1;
    d->m_lastIndex = -1;
    d->m_topRow = 0;
    CalcExtents();
    update();
}

const TwListoption *TwItemList::Option() const
{
    return d->m_option;
}

const QStringList &TwItemList::Items() const
{
    return d->m_items;
}

const QStringList &TwItemList::Values() const
{
    return d->m_values;
}

const TwImageList *TwItemList::Images() const
{
    return d->m_images;
}

bool TwItemList::Ctl3D() const
{
    return d->m_ctl3d;
}

bool TwItemList::ValuesMode() const
{
    return d->m_items.isEmpty() || d->m_items.size() < d->m_values.size();
}

int TwItemList::GetRowCount() const
{
    return static_cast<int>(ValuesMode() ? d->m_values.size() : d->m_items.size());
}

int TwItemList::GetColCount() const
{
    if (ValuesMode())
        return d->m_values.isEmpty() ? 0 : 1;
    return d->ItemColumns() + (d->ValueColumn() >= 0 ? 1 : 0);
}

QString TwItemList::GetColText(int row, int column) const
{
    if (row < 0 || row >= GetRowCount() || column < 0 || column >= GetColCount())
        return {};
    if (ValuesMode())
        return d->m_values.at(row);
    const QChar separator = d->ItemOption().Separator();
    const int valueColumn = d->ValueColumn();
    if (valueColumn < 0 || column < valueColumn)
        return TXGetTocken(d->m_items.at(row), separator, column);
    if (column > valueColumn)
        return TXGetTocken(d->m_items.at(row), separator, column - 1);
    // More items than values: a row without a value shows none.
    return row < d->m_values.size() ? d->m_values.at(row) : QString();
}

QString TwItemList::GetTitle(int column) const
{
    if (column < 0 || column >= GetColCount())
        return {};
    const TwItemListOption &option = d->ItemOption();
    return TXGetTocken(option.Titles(), option.Separator(), column);
}

int TwItemList::GetColWidth(int column) const
{
    if (column < 0 || column >= static_cast<int>(d->m_colWidths.size()))
        return 0;
    return d->m_colWidths[column];
}

int TwItemList::RowHeight() const
{
    return d->m_rowHeight;
}

int TwItemList::HeaderHeight() const
{
    return d->Option().ShowTitle() ? d->m_titleHeight : 1;
}

int TwItemList::FrameWidth() const
{
    return d->m_ctl3d ? 2 : 1;
}

int TwItemList::ColumnsWidth() const
{
    return d->m_columnsWidth;
}

int TwItemList::VisibleRowCount() const
{
    return d->m_visibleRows;
}

int TwItemList::GetImageIndex(int row) const
{
    return row;
}

void TwItemList::CalcExtents()
{
    const TwListoption &option = d->Option();
    const bool titles = option.ShowTitle();
    const QFont font = option.Font().Font;
    const QFont titleFont = option.TitleFont().Font;
    d->m_titleHeight = TXGetCharHeight(titleFont) + 4;
    d->m_rowHeight = TXGetCharHeight(font) + 2;
    if (d->HasImages())
        d->m_rowHeight = std::max(d->m_rowHeight, d->m_images->Size().height() + 2);
    if (option.RowLines())
        d->m_rowHeight += 1;

    int charWidth = option.CharWidth();
    if (charWidth == 0)
        charWidth = titles ? std::max(TXGetCharWidth(font), TXGetCharWidth(titleFont)) + 1 : TXGetCharWidth(font);
    else if (charWidth < 0)
        charWidth = titles ? std::max(TXGetCharMaxWidth(font), TXGetCharMaxWidth(titleFont)) : TXGetCharMaxWidth(font);

    // A width taken from the font is an average: a text of wider glyphs (digits, capitals)
    // would be clipped, so such a column is at least as wide as its texts are drawn.
    const bool measured = option.CharWidth() <= 0;
    const QFontMetrics itemMetrics(font);
    const QFontMetrics titleMetrics(titleFont);

    const int columns = GetColCount();
    const int rows = GetRowCount();
    d->m_colWidths.assign(columns, 0);
    int total = 0;
    for (int column = 0; column < columns; ++column) {
        int chars = titles ? std::max(1, CharCount(GetTitle(column))) : 1;
        int pixels = measured && titles ? titleMetrics.horizontalAdvance(GetTitle(column)) : 0;
        for (int row = 0; row < rows; ++row) {
            const QString text = GetColText(row, column);
            chars = std::max(chars, CharCount(text));
            if (measured)
                pixels = std::max(pixels, itemMetrics.horizontalAdvance(text));
        }
        int width = std::min(chars * charWidth, TwMaxPixels);
        if (column + 1 < columns)
            width += ColumnGap;
        if (measured && pixels > 0)
            width = std::min(std::max(width, pixels + ListTextMarginLeft + ListTextMarginRight), TwMaxPixels);
        if (column == 0 && d->HasImages())
            width += d->m_images->Size().width() + ImageGap;
        d->m_colWidths[column] = width;
        total = std::min(total + width, TwMaxPixels);
    }
    total += 2 * FrameWidth() + 1;
    d->m_visibleRows = std::min(std::max(option.ItemCount(), 1), rows);
    if (rows > d->m_visibleRows)
        total += TXButtonWidth();
    d->m_columnsWidth = total;
    ResetBounds();
}

void TwItemList::ResetBounds()
{
    const int ownerWidth = d->m_owner ? d->m_owner->width() : d->m_columnsWidth;
    const int rows = GetRowCount();
    d->m_visibleRows = std::min(std::max(d->Option().ItemCount(), 1), rows);
    if (rows == 0) {
        resize(std::max(ownerWidth, 1), EmptyHeight);
        UpdateScrollRange();
        return;
    }
    const int height = 2 * FrameWidth() + d->m_visibleRows * d->m_rowHeight + HeaderHeight();
    const int option = d->Option().Width();
    int width = ownerWidth;
    if (option > 0)
        width = option;
    else if (option == -1)
        width = d->m_columnsWidth;
    else if (option < -1)
        width = std::max(ownerWidth, d->m_columnsWidth);
    resize(std::max(width, 1), height);
    UpdateScrollRange();
}

void TwItemList::UpdateScrollRange()
{
    const int rows = GetRowCount();
    const int maximum = std::max(0, rows - d->m_visibleRows);
    QScrollBar *bar = d->m_scrollBar;
    const QSignalBlocker block(bar);
    bar->setRange(0, maximum);
    bar->setPageStep(std::max(1, d->m_visibleRows));
    bar->setSingleStep(1);
    d->m_topRow = std::clamp(d->m_topRow, 0, maximum);
    bar->setValue(d->m_topRow);
    const int frame = FrameWidth();
    bar->setGeometry(width() - frame - TXButtonWidth(), frame, TXButtonWidth(), std::max(0, height() - 2 * frame));
    bar->setVisible(maximum > 0);
}

int TwItemList::ItemIndex() const
{
    return d->m_itemIndex;
}

void TwItemList::SetItemIndex(int row)
{
    row = std::clamp(row, -1, GetRowCount() - 1);
    const int old = d->m_itemIndex;
    if (row == old)
        return;
    d->m_itemIndex = row;
    if (row >= 0)
        d->m_lastIndex = row;
    if (row >= 0 && row < d->m_topRow) {
        SetTopRow(row);
        return;
    }
    if (row >= d->m_topRow + d->m_visibleRows) {
        SetTopRow(row - d->m_visibleRows + 1);
        return;
    }
    InvalidateRow(old);
    InvalidateRow(row);
}

int TwItemList::TopRow() const
{
    return d->m_topRow;
}

void TwItemList::SetTopRow(int row)
{
    row = std::clamp(row, 0, std::max(0, GetRowCount() - d->m_visibleRows));
    if (row == d->m_topRow)
        return;
    d->m_topRow = row;
    const QSignalBlocker block(d->m_scrollBar);
    d->m_scrollBar->setValue(row);
    InvalidateData();
}

int TwItemList::Locate(const QString &text, bool select)
{
    const QStringList &entries = ValuesMode() ? d->m_values : d->m_items;
    const Qt::CaseSensitivity sensitivity = d->Option().CaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const QString &entry) { return entry.startsWith(text, sensitivity); });
    const int row = found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
    if (select && row >= 0)
        SetItemIndex(row);
    return row;
}

int TwItemList::MouseToRow(int x, int y) const
{
    const int frame = FrameWidth();
    const int top = frame + HeaderHeight();
    const int right = width() - frame - (d->m_scrollBar->isVisible() ? d->m_scrollBar->width() : 0);
    if (x < frame || x >= right || y < top || d->m_rowHeight <= 0)
        return -1;
    const int offset = (y - top) / d->m_rowHeight;
    if (offset >= d->m_visibleRows)
        return -1;
    const int row = d->m_topRow + offset;
    return row < GetRowCount() ? row : -1;
}

void TwItemList::InvalidateRow(int row)
{
    if (row < d->m_topRow || row >= d->m_topRow + d->m_visibleRows)
        return;
    const int frame = FrameWidth();
    update(QRect(0, frame + HeaderHeight() + (row - d->m_topRow) * d->m_rowHeight, width(), d->m_rowHeight));
}

void TwItemList::InvalidateData()
{
    update();
}

QScrollBar *TwItemList::ScrollBar() const
{
    return d->m_scrollBar;
}

void TwItemList::CloseUp(bool accept)
{
    emit OnCloseUp(this, accept);
}
