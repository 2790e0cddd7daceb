#include "grid/customgrid.h"
#include "grid/core/extents.h"
#include "grid/core/customgrid_p.h"
#include "grid/core/gridaccessible_p.h"
#include "grid/columns.h"
#include "grid/drawobjects.h"
#include "grid/gridparts.h"
#include "grid/groups.h"
#include "grid/support/notify_p.h"

#include "platform/application.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QImage>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPixmap>
#include <QScrollBar>
#include <QThread>

#include <algorithm>
#include <utility>

TwCustomGrid::TwCustomGrid(QWidget *parent)
    : QAbstractScrollArea(parent)
    , d(std::make_unique<TwCustomGridPrivate>(*this))
{
    d->m_font = TwFont{QApplication::font(), clWindowText};
    d->m_footers = std::make_unique<TwGridFooters>(this);
    d->m_headers = std::make_unique<TwGridHeaders>(this);
    d->m_indicators = std::make_unique<TwIndicators>(this);
    d->m_markers = std::make_unique<TwMarkers>(this);
    d->m_fixedStyle = std::make_unique<TwFixedStyle>(this);
    d->m_extents = std::make_unique<TwGridExtents>(this);
    d->m_lines.SetHorzColor(clGray);
    d->m_lines.SetNotify([this] { InvalidateGrid(); });
    d->m_endLines.SetNotify([this] { InvalidateGrid(); });
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true); // the pointer's shape follows the sizing zones
    // Every pixel of the viewport is painted by the grid: the toolkit need not clear it first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    resize(320, 120);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

TwCustomGrid::~TwCustomGrid()
{
    if (!d->m_loadSnapshot.isEmpty())
        --t_twNotificationsHeld;
    // The editors go while the grid still answers their focus and key notifications.
    DeleteEditors();
    // Columns refer to groups and the other parts; they go first.
    d->m_columns.reset();
    d->m_groups.reset();
}

std::unique_ptr<TwColumns> TwCustomGrid::CreateColumns()
{
    return std::make_unique<TwColumns>(this);
}

std::unique_ptr<TwGroups> TwCustomGrid::CreateGroups()
{
    return std::make_unique<TwGroups>(this);
}

void TwCustomGrid::SetGridFont(const TwFont &font)
{
    if (d->m_font == font)
        return;
    d->m_font = font;
    setFont(font.Font);
    InvalidateGrid();
    if (t_twNotificationsHeld == 0)
        emit GridFontChanged(font);
}

void TwCustomGrid::SetColor(TColor value)
{
    if (d->m_color == value)
        return;
    d->m_color = value;
    InvalidateGrid();
    if (t_twNotificationsHeld == 0)
        emit ColorChanged(value);
}

void TwCustomGrid::SetColor(const QColor &value)
{
    SetColor(TXColorOf(value));
}

void TwCustomGrid::SetNullColor(TColor value)
{
    if (d->m_nullColor == value)
        return;
    d->m_nullColor = value;
    InvalidateGrid();
    if (t_twNotificationsHeld == 0)
        emit NullColorChanged(value);
}

void TwCustomGrid::SetNullColor(const QColor &value)
{
    SetNullColor(TXColorOf(value));
}

void TwCustomGrid::SetSelBgColor(TColor value)
{
    if (d->m_selBgColor == value)
        return;
    d->m_selBgColor = value;
    InvalidateGrid();
    if (t_twNotificationsHeld == 0)
        emit SelBgColorChanged(value);
}

void TwCustomGrid::SetSelBgColor(const QColor &value)
{
    SetSelBgColor(TXColorOf(value));
}

void TwCustomGrid::SetSelFgColor(TColor value)
{
    if (d->m_selFgColor == value)
        return;
    d->m_selFgColor = value;
    InvalidateGrid();
    if (t_twNotificationsHeld == 0)
        emit SelFgColorChanged(value);
}

void TwCustomGrid::SetSelFgColor(const QColor &value)
{
    SetSelFgColor(TXColorOf(value));
}

namespace {

// The objects whose published properties a design sets: the grid and each of its parts.
QList<QObject *> PublishedObjects(TwCustomGrid &grid)
{
    QList<QObject *> objects{&grid,
                             &grid.FixedStyle(),
                             &grid.FixedStyle().Lines(),
                             &grid.Lines(),
                             &grid.EndLines(),
                             &grid.Headers(),
                             &grid.Headers().Lines(),
                             &grid.Headers().Title(),
                             &grid.Indicators(),
                             &grid.Indicators().Lines(),
                             &grid.Markers(),
                             &grid.Markers().Lines()};
    for (int i = 0; i < grid.Footers().Count(); ++i)
        objects << grid.Footers().Items(i) << &grid.Footers().Items(i)->Title();
    for (int i = 0; i < grid.Groups().Count(); ++i)
        objects << grid.Groups().Items(i) << &grid.Groups().Items(i)->Title();
    for (int i = 0; i < grid.Columns().Count(); ++i) {
        TwColumn *column = grid.Columns().Items(i);
        objects << column << &column->Title() << &column->Footer() << &column->ListOption();
    }
    return objects;
}

QVariantList PropertyValues(const QObject &object)
{
    QVariantList values;
    const QMetaObject *meta = object.metaObject();
    // Only properties that notify are compared afterwards; the others (the design text,
    // which writes the whole design) are not read.
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        values << (property.hasNotifySignal() ? property.read(&object) : QVariant());
    }
    return values;
}

bool SameValue(const QVariant &a, const QVariant &b)
{
    // Pictures compare by their pixels: two loads of one picture are different objects.
    if (a.metaType() == QMetaType::fromType<QPixmap>() && b.metaType() == a.metaType())
        return a.value<QPixmap>().toImage() == b.value<QPixmap>().toImage();
    return a == b;
}

// Sends the notification of each published property of `object` whose value differs from
// `before`, with the value it has now.
void NotifyChanged(QObject &object, const QVariantList &before)
{
    const QMetaObject *meta = object.metaObject();
    QList<int> sent; // a signal that several properties share goes out once
    for (int i = 0; i < meta->propertyCount() && i < before.size(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (!property.hasNotifySignal() || sent.contains(property.notifySignalIndex()))
            continue;
        const QVariant now = property.read(&object);
        if (SameValue(now, before[i]))
            continue;
        sent << property.notifySignalIndex();
        const QMetaMethod signal = property.notifySignal();
        if (signal.parameterCount() == 0)
            signal.invoke(&object, Qt::DirectConnection);
        else if (signal.parameterMetaType(0) == now.metaType())
            signal.invoke(&object, Qt::DirectConnection, QGenericArgument(now.typeName(), now.constData()));
    }
}

// Holds back the notifications of the grid and its parts while an operation changes many
// of them (switching the mode switches the row height, fixed count, header height …), then
// notifies once for each property that reads differently.
class TwNotifyObjectsOnChange
{
public:
    explicit TwNotifyObjectsOnChange(const QList<QObject *> &objects)
        : m_exceptions(std::uncaught_exceptions())
    {
        for (QObject *object : objects)
            m_snapshot.append({object, PropertyValues(*object)});
        ++t_twNotificationsHeld;
    }
    ~TwNotifyObjectsOnChange() noexcept(false)
    {
        --t_twNotificationsHeld;
        if (std::uncaught_exceptions() != m_exceptions || t_twNotificationsHeld != 0)
            return;
        for (const auto &[object, values] : std::exchange(m_snapshot, {})) {
            if (object)
                NotifyChanged(*object, values);
        }
    }
    TwNotifyObjectsOnChange(const TwNotifyObjectsOnChange &) = delete;
    TwNotifyObjectsOnChange &operator=(const TwNotifyObjectsOnChange &) = delete;

private:
    QList<std::pair<QPointer<QObject>, QVariantList>> m_snapshot;
    int m_exceptions;
};

} // namespace

void TwCustomGrid::SetGroupMode(bool value)
{
    if (d->m_loading || d->m_updateCount > 0) {
        const auto notify =
            TwNotifyOnChange([this] { return d->m_groupMode; }, [this] { emit GroupModeChanged(d->m_groupMode); });
        d->m_groupMode = value;
        return;
    }
    if (value == d->m_groupMode)
        return;
    if (value && Groups().GetVCount() == 0)
        return;
    // The sizes kept per mode change with it: each property that then reads differently
    // notifies once.
    const TwNotifyObjectsOnChange notify(PublishedObjects(*this));
    SetEditValue();
    HideEditor();
    d->m_groupMode = value;
    SetFixedCount(FixedCount());
    UpdateScrollRange();
    SetLeftPos(0);
    InvalidateGrid();
    if (d->m_options.Has(wgoAlwaysShowEditor))
        ShowEditor();
}

void TwCustomGrid::SetRowHeight(int value)
{
    const auto notify = TwNotifyOnChange([this] { return d->m_rowHeights; }, [this] { emit RowHeightsChanged(); });
    value = std::clamp(value, MinSize(d->m_groupMode), TwMaxPixels);
    int &stored = d->m_rowHeights[ModeIndex()];
    const int old = stored;
    stored = value;
    if (!d->m_loading) {
        if (old != value)
            RowHeightChanged(old);
        UpdateScrollRange();
        InvalidateGrid();
    }
    UpdateEditor();
}

void TwCustomGrid::SetColRowHeight(int value)
{
    if (!d->m_groupMode) {
        SetRowHeight(value);
        return;
    }
    const auto notify = TwNotifyOnChange([this] { return d->m_rowHeights; }, [this] { emit RowHeightsChanged(); });
    d->m_rowHeights[0] = std::clamp(value, MinSize(false), TwMaxPixels);
}

void TwCustomGrid::SetGrpRowHeight(int value)
{
    if (d->m_groupMode) {
        SetRowHeight(value);
        return;
    }
    const auto notify = TwNotifyOnChange([this] { return d->m_rowHeights; }, [this] { emit RowHeightsChanged(); });
    d->m_rowHeights[1] = std::clamp(value, MinSize(true), TwMaxPixels);
}

// The other mode's strips (and any while a design loads) are not laid out: its count is kept
// as it is, and fitted when that mode is switched on or the design has loaded.
void TwCustomGrid::SetColFixedCount(int value)
{
    if (!d->m_groupMode && !d->m_loading) {
        SetFixedCount(value);
        return;
    }
    const auto notify = TwNotifyOnChange([this] { return d->m_fixedCounts; }, [this] { emit FixedCountsChanged(); });
    d->m_fixedCounts[0] = qMax(0, value);
}

void TwCustomGrid::SetGrpFixedCount(int value)
{
    if (d->m_groupMode && !d->m_loading) {
        SetFixedCount(value);
        return;
    }
    const auto notify = TwNotifyOnChange([this] { return d->m_fixedCounts; }, [this] { emit FixedCountsChanged(); });
    d->m_fixedCounts[1] = qMax(0, value);
}

void TwCustomGrid::SetFixedCount(int value)
{
    const auto notify = TwNotifyOnChange([this] { return d->m_fixedCounts; }, [this] { emit FixedCountsChanged(); });
    value = qBound(0, value, qMax(0, StripCount() - 1));
    if (d->m_loading || d->m_updateCount > 0) {
        d->m_fixedCounts[ModeIndex()] = value;
        return;
    }
    BeginUpdate();
    d->m_fixedCounts[ModeIndex()] = value;
    UpdateScrollRange();
    SetLeftCol(value);
    if (ColumnMode() && d->m_curCol < value && !d->m_fixedStyle->Options().Has(wfxSelecting))
        d->m_curCol = Columns().FirstCol() < value ? value : Columns().FirstCol();
    else if (GroupMode() && d->m_curCell.Group < value && !d->m_fixedStyle->Options().Has(wfxSelecting))
        d->m_curCell = FirstSelectCell();
    EndUpdate();
}

void TwCustomGrid::EndUpdate(bool repaint)
{
    if (d->m_updateCount > 0)
        --d->m_updateCount;
    if (d->m_updateCount == 0 && repaint)
        InvalidateGrid();
}


void TwCustomGrid::EndLoading()
{
    d->m_loading = false;
    RebuildAfterLoad();
    Loaded();
    if (d->m_loadSnapshot.isEmpty())
        return;
    --t_twNotificationsHeld;
    const QList<TwCustomGridPrivate::TLoadSnapshot> snapshot = std::exchange(d->m_loadSnapshot, {});
    for (const TwCustomGridPrivate::TLoadSnapshot &entry : snapshot) {
        if (entry.object)
            NotifyChanged(*entry.object, entry.values);
    }
}

void TwCustomGrid::RebuildAfterLoad()
{
    const int fixed = FixedCount();
    Groups().InitVIndices();
    Groups().Update(nullptr);
    Columns().InitVIndices();
    Columns().Update(nullptr);
    Groups().Init(Columns());
    for (int i = 0; i < Groups().Count(); ++i)
        Groups().Items(i)->ReadExtents();
    d->m_footers->Update(nullptr);
    SetFixedCount(fixed);
    if (d->m_groupMode)
        d->m_curCell = FirstSelectCell();
    else
        d->m_curCol = Columns().FirstCol();
    UpdateScrollRange();
}

void TwCustomGrid::LayoutChanged()
{
    UpdateScrollRange();
    UpdateEditor();
    InvalidateGrid();
    TXAccessibleReset(this);
}

void TwCustomGrid::InvalidateGrid()
{
    if (d->m_updateCount == 0 && !d->m_loading)
        viewport()->update();
}

void TwCustomGrid::InvalidateStrip(int strip)
{
    if (d->m_updateCount > 0 || d->m_loading)
        return;
    if (strip < -2 || strip >= StripCount()) {
        viewport()->update();
        return;
    }
    const QRect client = viewport()->rect();
    viewport()->update(QRect(d->m_extents->GetLefts(strip), client.top(), d->m_extents->GetColSize(strip), client.height()));
}

void TwCustomGrid::InvalidateFooters()
{
    if (d->m_updateCount > 0 || d->m_loading)
        return;
    const QRect client = viewport()->rect();
    viewport()->update(QRect(client.left(), d->m_extents->FooterTop(), client.width(), client.bottom() - d->m_extents->FooterTop() + 1));
}

void TwCustomGrid::InvalidateSelection()
{
    InvalidateGrid();
}

void TwCustomGrid::SetEditValue()
{
}

// A failure while the grid handles an event (a value out of range during a paint, an
// application handler that throws on a click) is reported and the event ends there: it
// never unwinds through the toolkit, which would end the program.
bool TwCustomGrid::event(QEvent *event)
{
    try {
        // Enter and Escape while editing reach the grid (or its editor) as keys: no shortcut
        // of the window takes them first. Key presses themselves never go past the grid.
        if (event->type() == QEvent::ShortcutOverride && ClaimsKey(static_cast<QKeyEvent *>(event))) {
            event->accept();
            return true;
        }
        return QAbstractScrollArea::event(event);
    } catch (...) {
        Platform::ReportException(std::current_exception());
    }
    return true;
}

bool TwCustomGrid::viewportEvent(QEvent *event)
{
    try {
        return QAbstractScrollArea::viewportEvent(event);
    } catch (...) {
        Platform::ReportException(std::current_exception());
    }
    return true;
}

void TwCustomGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void TwCustomGrid::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    UpdateScrollRange();
}

void TwCustomGrid::scrollContentsBy(int, int)
{
    // The bar's value decides, not the step: the grid sets the bar quietly, so the step
    // counted from the bar's last reported value can be zero while the columns must move.
    if (horizontalScrollBar()->value() != d->m_leftPos)
        SetLeftPos(horizontalScrollBar()->value());
}

TwColumns &TwCustomGrid::Columns()
{
    if (!d->m_columns)
        d->m_columns = CreateColumns();
    return *d->m_columns;
}

const TwColumns &TwCustomGrid::Columns() const
{
    return const_cast<TwCustomGrid *>(this)->Columns();
}

TwGroups &TwCustomGrid::Groups()
{
    if (!d->m_groups)
        d->m_groups = CreateGroups();
    return *d->m_groups;
}

const TwGroups &TwCustomGrid::Groups() const
{
    return const_cast<TwCustomGrid *>(this)->Groups();
}

TwGridFooters &TwCustomGrid::Footers()
{
    return *d->m_footers;
}

const TwGridFooters &TwCustomGrid::Footers() const
{
    return *d->m_footers;
}

TwGridHeaders &TwCustomGrid::Headers()
{
    return *d->m_headers;
}

const TwGridHeaders &TwCustomGrid::Headers() const
{
    return *d->m_headers;
}

TwIndicators &TwCustomGrid::Indicators()
{
    return *d->m_indicators;
}

const TwIndicators &TwCustomGrid::Indicators() const
{
    return *d->m_indicators;
}

TwMarkers &TwCustomGrid::Markers()
{
    return *d->m_markers;
}

const TwMarkers &TwCustomGrid::Markers() const
{
    return *d->m_markers;
}

TwFixedStyle &TwCustomGrid::FixedStyle()
{
    return *d->m_fixedStyle;
}

const TwFixedStyle &TwCustomGrid::FixedStyle() const
{
    return *d->m_fixedStyle;
}

TwGridExtents &TwCustomGrid::Extents()
{
    return *d->m_extents;
}

const TwGridExtents &TwCustomGrid::Extents() const
{
    return *d->m_extents;
}

TwGridLinesEx &TwCustomGrid::Lines()
{
    return d->m_lines;
}

const TwGridLinesEx &TwCustomGrid::Lines() const
{
    return d->m_lines;
}

TwGridLines &TwCustomGrid::EndLines()
{
    return d->m_endLines;
}

const TwGridLines &TwCustomGrid::EndLines() const
{
    return d->m_endLines;
}

TwFont TwCustomGrid::GridFont() const
{
    return d->m_font;
}

TwImeMode TwCustomGrid::ImeMode() const
{
    return d->m_imeMode;
}

void TwCustomGrid::SetImeMode(TwImeMode value)
{
    if (d->m_imeMode == value)
        return;
    d->m_imeMode = value;
    if (t_twNotificationsHeld == 0)
        emit ImeModeChanged(value);
}

QString TwCustomGrid::ImeName() const
{
    return d->m_imeName;
}

void TwCustomGrid::SetImeName(const QString &value)
{
    if (d->m_imeName == value)
        return;
    d->m_imeName = value;
    if (t_twNotificationsHeld == 0)
        emit ImeNameChanged(value);
}

int TwCustomGrid::ChangeDelay() const
{
    return d->m_changeDelay;
}

void TwCustomGrid::SetChangeDelay(int value)
{
    value = qMax(0, value);
    if (d->m_changeDelay == value)
        return;
    d->m_changeDelay = value;
    if (t_twNotificationsHeld == 0)
        emit ChangeDelayChanged(value);
}

TColor TwCustomGrid::Color() const
{
    return d->m_color;
}

TColor TwCustomGrid::NullColor() const
{
    return d->m_nullColor;
}

TColor TwCustomGrid::SelBgColor() const
{
    return d->m_selBgColor;
}

TColor TwCustomGrid::SelFgColor() const
{
    return d->m_selFgColor;
}

TwGridOptions TwCustomGrid::Options() const
{
    return d->m_options;
}

bool TwCustomGrid::Designing() const
{
    return d->m_designing;
}

void TwCustomGrid::SetDesigning(bool value)
{
    d->m_designing = value;
}

bool TwCustomGrid::Loading() const
{
    return d->m_loading;
}

bool TwCustomGrid::GroupMode() const
{
    return d->m_groupMode;
}

bool TwCustomGrid::ColumnMode() const
{
    return !d->m_groupMode;
}

int TwCustomGrid::RowHeight() const
{
    return d->m_rowHeights[ModeIndex()];
}

int TwCustomGrid::ColRowHeight() const
{
    return d->m_rowHeights[0];
}

int TwCustomGrid::GrpRowHeight() const
{
    return d->m_rowHeights[1];
}

int TwCustomGrid::FixedCount() const
{
    return d->m_fixedCounts[ModeIndex()];
}

int TwCustomGrid::ColFixedCount() const
{
    return d->m_fixedCounts[0];
}

int TwCustomGrid::GrpFixedCount() const
{
    return d->m_fixedCounts[1];
}

int TwCustomGrid::GetVGroupCount() const
{
    return Groups().GetVCount();
}

TwGroup *TwCustomGrid::GetVGroups(int index) const
{
    if (index < 0 || index >= Groups().GetVCount())
        return nullptr;
    return Groups().GetVItems(index);
}

int TwCustomGrid::GetGroupCount() const
{
    return Groups().Count();
}

int TwCustomGrid::GetVColCount() const
{
    return Columns().GetVCount();
}

TwColumn *TwCustomGrid::GetVColumns(int index) const
{
    return Columns().GetVItems(index);
}

int TwCustomGrid::GetColCount() const
{
    return Columns().Count();
}

int TwCustomGrid::MouseCol() const
{
    return d->m_mouseCol;
}

TwCell TwCustomGrid::MouseCell() const
{
    return d->m_mouseCell;
}

int TwCustomGrid::CurCol() const
{
    return d->m_curCol;
}

TwCell TwCustomGrid::CurCell() const
{
    return d->m_curCell;
}

int TwCustomGrid::CurRow() const
{
    return d->m_curRow;
}

void TwCustomGrid::AssignCurRow(int row)
{
    d->m_curRow = row;
}

int TwCustomGrid::LeftPos() const
{
    return d->m_leftPos;
}

void TwCustomGrid::BeginUpdate()
{
    ++d->m_updateCount;
}

bool TwCustomGrid::Updating() const
{
    return d->m_updateCount > 0;
}

void TwCustomGrid::BeginLoading()
{
    if (!d->m_loading) {
        for (QObject *object : PublishedObjects(*this))
            d->m_loadSnapshot.append({object, PropertyValues(*object)});
        ++t_twNotificationsHeld;
    }
    d->m_loading = true;
}

int TwCustomGrid::ModeIndex() const
{
    return d->m_groupMode ? 1 : 0;
}

