#include "grid/tabrix.h"
#include "grid/core/extents.h"
#include "grid/core/gridaccessible_p.h"
#include "grid/store/tabrix_p.h"

#include "grid/designio.h"
#include "grid/support/notify_p.h"
#include "platform/texception.h"

#include <QMetaMethod>
#include <QScrollBar>

#include <utility>

namespace {

// Clears a flag when the scope ends, however it ends.
class TFlagScope
{
public:
    explicit TFlagScope(bool &flag)
        : m_flag(flag)
    {
        m_flag = true;
    }
    ~TFlagScope() { m_flag = false; }
    TFlagScope(const TFlagScope &) = delete;
    TFlagScope &operator=(const TFlagScope &) = delete;

private:
    bool &m_flag;
};

} // namespace

TTabrix::TTabrix(QWidget *parent)
    : TwCustomGrid(parent)
    , d(std::make_unique<TTabrixPrivate>())
{
    SetOptions({wgoArrowMove, wgoConfirmDelete, wgoEnterToTab, wgoFocusRect});
    d->m_rowInfos.Init();
}

TTabrix::~TTabrix() = default;

std::unique_ptr<TwColumn> TTabrix::NewColumn(TwColumns *collection)
{
    return std::make_unique<TwMemColumn>(collection, this);
}

void TTabrix::Loaded()
{
    TwCustomGrid::Loaded();
    if (!Designing()) {
        for (int i = 0; i < Columns().Count(); ++i)
            GetMemColumn(i)->Pool().Init();
        d->m_rowInfos.Init();
    }
    SetRowCount(d->m_designRowCount);
}

// Settings.

bool TTabrix::AutoCalcFooters() const
{
    return d->m_autoCalcFooters;
}

void TTabrix::SetAutoCalcFooters(bool value)
{
    if (d->m_autoCalcFooters == value)
        return;
    d->m_autoCalcFooters = value;
    if (t_twNotificationsHeld == 0)
        emit AutoCalcFootersChanged(value);
}

bool TTabrix::CheckRowState() const
{
    return d->m_checkRowState;
}

void TTabrix::SetCheckRowState(bool value)
{
    if (d->m_checkRowState == value)
        return;
    d->m_checkRowState = value;
    if (t_twNotificationsHeld == 0)
        emit CheckRowStateChanged(value);
}

bool TTabrix::SoftDeleting() const
{
    return d->m_softDeleting;
}

void TTabrix::SetSoftDeleting(bool value)
{
    if (d->m_softDeleting == value)
        return;
    d->m_softDeleting = value;
    if (t_twNotificationsHeld == 0)
        emit SoftDeletingChanged(value);
}

int TTabrix::MaxRowCount() const
{
    return d->m_maxRowCount;
}

void TTabrix::SetMaxRowCount(int value)
{
    value = qMax(0, value);
    if (d->m_maxRowCount == value)
        return;
    d->m_maxRowCount = value;
    if (t_twNotificationsHeld == 0)
        emit MaxRowCountChanged(value);
}

// Rows and cells.

int TTabrix::GetRowCount() const
{
    if (Designing())
        return d->m_designRowCount;
    return d->m_rowInfos.Count() + (d->m_gridMode == wgmInsert ? 1 : 0);
}

void TTabrix::SetRowCount(int count)
{
    if (Columns().Count() == 0)
        return;
    count = qMax(0, count);
    if (Loading()) {
        d->m_designRowCount = count;
        return;
    }
    const int before = GetRowCount();
    if (Designing()) {
        d->m_designRowCount = count;
    } else {
        if (d->m_gridMode != wgmBrowse)
            throw TException(QStringLiteral("수정/추가 중일 때는 RowCount를 변경할 수 없습니다."));
        // The pools first: a count beyond what a pool holds fails at the first one, before
        // anything changed.
        for (int i = 0; i < Columns().Count(); ++i)
            GetMemColumn(i)->Pool().SetCount(count);
        d->m_rowInfos.SetCount(count);
    }
    RowCountApplied(before);
}

TwCells TTabrix::Cells(int col, int row) const
{
    // The handle edits the cell: it holds the grid as the owner of its values.
    return TwCells(&Columns(), const_cast<TTabrix *>(this)).At(col, row);
}

TwMemColumn *TTabrix::GetMemColumn(int index) const
{
    return static_cast<TwMemColumn *>(Columns().Items(index));
}

TwMemColumn *TTabrix::GetVMemColumn(int index) const
{
    return static_cast<TwMemColumn *>(Columns().GetVItems(index));
}

TwRowInfos &TTabrix::RowInfos()
{
    return d->m_rowInfos;
}

const TwRowInfos &TTabrix::RowInfos() const
{
    return d->m_rowInfos;
}

TwRowSelection &TTabrix::Selection()
{
    return d->m_selection;
}

// Position.

int TTabrix::GetTopRow() const
{
    return d->m_topRow;
}

int TTabrix::VisibleRowCount() const
{
    return qMax(1, Extents().RowsFullyShown());
}

void TTabrix::SetTopRow(int value)
{
    const bool bar = verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
    const int bound = bar ? verticalScrollBar()->maximum() : qMax(0, GetVertRange());
    value = qBound(0, value, qMax(0, bound));
    const int old = d->m_topRow;
    if (value == old)
        return;
    d->m_topRow = value;
    UpdateEditor();
    const qint64 delta = static_cast<qint64>(value) - old;
    const TwGridExtents &extents = Extents();
    const int band = extents.FooterTop() - extents.GetHeadBottom();
    if ((delta == 1 || delta == -1) && band > RowHeight()) {
        // One row: the data band's pixels move and only the uncovered row is painted.
        const QRect client = extents.Client();
        viewport()->scroll(0, static_cast<int>(-delta) * RowHeight(),
                           QRect(client.left(), extents.GetHeadBottom(), client.width(), band));
        InvalidateRow(CurRow(), true); // its indicator may point up or down now
        bool equalBlank = false;
        for (int i = 0; i < Columns().Count() && !equalBlank; ++i)
            equalBlank = Columns().Items(i)->EqualBlank();
        if (equalBlank)
            InvalidateRow(delta > 0 ? value : value + 1, true);
    } else {
        InvalidateData();
    }
    if (verticalScrollBar()->value() != value) {
        const QSignalBlocker block(verticalScrollBar());
        verticalScrollBar()->setValue(value);
    }
}

void TTabrix::scrollContentsBy(int, int)
{
    // The bar's value decides, not the step: moves by keys set the bar quietly, so the step
    // counted from the bar's last reported value can be zero while the rows must move.
    if (GetRowCount() > 0 && verticalScrollBar()->value() != GetTopRow())
        SetTopRow(verticalScrollBar()->value());
    TwCustomGrid::scrollContentsBy(0, 0);
}

void TTabrix::resizeEvent(QResizeEvent *event)
{
    TwCustomGrid::resizeEvent(event);
    // A taller window shows more rows: the top row comes down so none stays empty below
    // the last row.
    SetTopRow(GetTopRow());
}

int TTabrix::GetVertRange()
{
    return qMax(0, GetRowCount() - VisibleRowCount());
}

void TTabrix::ScrollInView(int row)
{
    if (Options().Has(wgoNoScroll))
        return;
    const int visible = VisibleRowCount();
    if (row < GetTopRow())
        SetTopRow(row);
    else if (static_cast<qint64>(row) >= static_cast<qint64>(GetTopRow()) + visible)
        SetTopRow(row - visible + 1);
}

void TTabrix::SetCurRow(int row)
{
    row = qBound(0, row, qMax(0, GetRowCount() - 1));
    const int old = CurRow();
    if (row == old)
        return;
    SetEditValue();
    if (!d->m_inRowExit) {
        const TFlagScope guard(d->m_inRowExit);
        emit OnRowExit();
    }
    if (d->m_gridMode == wgmInsert && !d->m_modified) {
        Cancel();
        // The rows below the dropped row moved up by one: the target row with them.
        if (row > old && CurRow() == old)
            --row;
    } else {
        Post();
    }
    // A row-exit handler that moved the row itself, or a dropped new row, decided.
    if (CurRow() != old)
        return;
    // A handler may have taken rows away: the target must still be a row.
    row = qMin(row, qMax(0, GetRowCount() - 1));
    if (row == old)
        return;
    HideEditor();
    AssignCurRow(row);
    ScrollInView(row);
    if (Options().Has(wgoAlwaysShowEditor))
        ShowEditor();
    UpdateEditor();
    InvalidateRow(old, true);
    InvalidateRow(row, true);
    emit OnRowEnter();
    TXAccessibleCurrentMoved(this);
    RowChanged(true);
    if (GetSelectedCount() == 0 && Options().Has(wgoRowSelect))
        SelectionChanged();
}

// Selection.

bool TTabrix::GetSelected(int row) const
{
    if (Designing() || row < 0 || row >= GetRowCount())
        return false;
    const int stored = StoredRow(row);
    return stored >= 0 && stored < d->m_rowInfos.Count() && d->m_rowInfos.Selected(stored);
}

void TTabrix::SetSelected(int row, bool value)
{
    if (row < 0 || row >= GetRowCount())
        throw TException(QStringLiteral("Bound Error in SetSelected(%1)").arg(row));
    const int stored = StoredRow(row);
    // The row being inserted has no row byte yet.
    if (stored < 0 || stored >= d->m_rowInfos.Count() || d->m_rowInfos.Selected(stored) == value)
        return;
    d->m_rowInfos.SetSelected(stored, value);
    d->m_selectionTouched = false;
    InvalidateRow(row, true);
    SelectionChanged();
}

int TTabrix::GetSelectedCount() const
{
    return d->m_rowInfos.SelectedCount();
}

void TTabrix::ClearSelection()
{
    const bool any = d->m_rowInfos.SelectedCount() > 0;
    d->m_selection.ClearSelection();
    if (any)
        SelectionTouched();
}

void TTabrix::InvalidateSelection()
{
    // Only the rows on screen can show a selection.
    const int top = GetTopRow();
    const int last = static_cast<int>(qMin<qint64>(static_cast<qint64>(top) + Extents().RowsShown(), GetRowCount()));
    for (int row = top; row < last; ++row) {
        // At design time the rows shown have no row bytes.
        const int stored = StoredRow(row);
        const bool checked = stored >= 0 && stored < d->m_rowInfos.Count() && d->m_rowInfos.Checked(stored);
        if (GetSelected(row) || checked || row == CurRow())
            InvalidateRow(row, true);
    }
}

void TTabrix::SelectionTouched()
{
    if (!d->m_selectionTouched)
        return;
    d->m_selectionTouched = false;
    InvalidateData();
    SelectionChanged();
}

void TTabrix::DoInRow(Qt::KeyboardModifiers modifiers)
{
    // Ranges are of stored rows: the row being inserted takes no part.
    if (!Options().Has(wgoMultiSelect) || GetRowCount() == 0 || Designing() || d->m_gridMode == wgmInsert)
        return;
    d->m_selection.Click(CurRow(), modifiers);
    SelectionTouched();
}

void TTabrix::ExtendRange(int end)
{
    // The rows shown at design time, and the row being inserted, have no row bytes to select.
    if (Designing() || d->m_gridMode == wgmInsert)
        return;
    if (!d->m_selection.Selecting())
        d->m_selection.SetRange(CurRow(), CurRow());
    d->m_selection.MoveRangeEnd(end);
    SelectionTouched();
}

// Recalculation.

void TTabrix::CalcFooters()
{
    bool useDefault = true;
    emit OnCalcFooters(useDefault);
    if (useDefault) {
        for (int i = 0; i < Columns().Count(); ++i) {
            TwMemColumn *column = GetMemColumn(i);
            TwMemColumnFooter &footer = column->MemFooter();
            for (int line = 0; line < Footers().Count(); ++line) {
                if (footer.GetMethod(line) < wfmeCount)
                    continue;
                const int opColumn = footer.GetOpColumn(line);
                const TwMemPool *condition = opColumn == -1 ? &column->Pool()
                    : opColumn < Columns().Count()          ? &GetMemColumn(opColumn)->Pool()
                                                            : nullptr;
                footer.SetValues(line, column->Pool().CalcFooter(footer.GetMethod(line), condition,
                                                                 footer.GetOperator(line), footer.GetOperand(line)));
            }
        }
    }
    emit OnAfterCalcFooters();
    InvalidateFooters();
}

// Display hooks.

QString TTabrix::GetDisplayText(TwColumn *column, int row)
{
    auto *memColumn = static_cast<TwMemColumn *>(column);
    if (Designing()) {
        if (memColumn->DataType() == wdtGraphic && memColumn->Defaults().isEmpty())
            return QStringLiteral("[Graphic]");
        return memColumn->_GetText(memColumn->Defaults());
    }
    if (row < 0 || row >= GetRowCount())
        return {};
    const bool editedRow = d->m_gridMode != wgmBrowse && row == CurRow();
    if (editedRow)
        return memColumn->EditDisplayText(row);
    const int stored = StoredRow(row);
    // A repeated value reads as blank below the top row, so runs of equal values show once.
    if (column->EqualBlank() && row > GetTopRow() && row > 0
        && !(d->m_gridMode != wgmBrowse && row - 1 == CurRow())
        && memColumn->Pool().SameValue(stored, memColumn->Pool(), StoredRow(row - 1)))
        return {};
    return memColumn->RowText(stored, row);
}

bool TTabrix::CheckNull(TwColumn *column, int row)
{
    if (GetRowCount() == 0)
        return true;
    if (Designing())
        return false;
    auto *memColumn = static_cast<TwMemColumn *>(column);
    if (d->m_gridMode != wgmBrowse && row == CurRow())
        return memColumn->GetNull();
    const int stored = StoredRow(row);
    return stored < 0 || stored >= memColumn->Pool().GetCount() || memColumn->Pool().GetNull(stored);
}

bool TTabrix::CheckBool(TwColumn *column, int row)
{
    if (GetRowCount() == 0 || Designing() || CheckNull(column, row))
        return false;
    return Cells(column->Index(), row).Bool();
}

int TTabrix::CheckList(TwColumn *column, int row)
{
    auto *memColumn = static_cast<TwMemColumn *>(column);
    if (Designing())
        return column->Values().indexOf(memColumn->Defaults());
    if (GetRowCount() == 0 || CheckNull(column, row))
        return -1;
    return Cells(column->Index(), row).Index();
}

int TTabrix::GetImageIndex(TwColumn *column, int row)
{
    const TwImageList *images = column->Images();
    if (!images || images->Count() < 1)
        return -1;
    if (Designing())
        return 0;
    int index = CheckList(column, row);
    if (index >= images->Count())
        index = -1;
    if (isSignalConnected(QMetaMethod::fromSignal(&TwCustomGrid::OnGetImageIndex)))
        emit OnGetImageIndex(column, row, index);
    return index;
}

QPixmap TTabrix::GetDisplayImage(TwColumn *column, int row)
{
    if (Designing() || !isSignalConnected(QMetaMethod::fromSignal(&TTabrix::OnGetImage)))
        return {};
    d->m_image = QPixmap();
    emit OnGetImage(static_cast<TwMemColumn *>(column), row, d->m_image);
    return d->m_image;
}

QVariant TTabrix::GetEditValue(TwColumn *column)
{
    const int row = CurRow();
    if (GetRowCount() == 0 || CheckNull(column, row))
        return {};
    const TwCells cell = Cells(column->Index(), row);
    switch (column->GetEditKind()) {
    case wekCheckBox:
    case wekBoolean:
        return cell.Bool();
    case wekRadioGroup:
        return cell.Index();
    default:
        return cell.Value();
    }
}

void TTabrix::SetEditValue()
{
    TwColumn *column = EditingColumn();
    const int row = EditingRow();
    if (!column || !EditorChanged() || row < 0 || row >= GetRowCount() || row != CurRow())
        return;
    const QVariant value = GetEditVal();
    TwCells cell = Cells(column->Index(), row);
    if (value.isNull()) {
        cell.SetNull();
    } else {
        switch (column->GetEditKind()) {
        case wekText:
        case wekMultiText:
        case wekPickList:
            cell.SetString(value.toString());
            break;
        case wekCheckBox:
        case wekBoolean:
            cell.SetBool(value.toBool());
            break;
        case wekRadioGroup: {
            const int index = value.toInt();
            if (index >= 0 && index < column->Values().size())
                cell.SetString(column->Values().at(index));
            else
                cell.SetNull();
            break;
        }
        default:
            cell.SetValue(value);
            break;
        }
    }
    // The editor now holds the stored value, shown as the cell keeps it.
    ResetEditor();
    TXAccessibleCellChanged(this, column, row);
}

TwIndiState TTabrix::GetIndiState(int row)
{
    if (GetRowCount() == 0)
        return windiNone;
    if (Designing())
        return row == CurRow() ? windiArrow : windiNone;
    if (row != CurRow())
        return GetSelected(row) ? windiSelect : windiNone;
    if (d->m_gridMode == wgmEdit)
        return windiEdit;
    if (d->m_gridMode == wgmInsert)
        return windiInsert;
    if (GetSelected(row))
        return windiSelArrow;
    if (row == GetTopRow() && row != 0)
        return windiPrior;
    if (static_cast<qint64>(row) == static_cast<qint64>(GetTopRow()) + VisibleRowCount() - 1 && !IsLastRow(row))
        return windiNext;
    return windiArrow;
}

int TTabrix::GetRowNo(int row)
{
    return row + 1;
}

bool TTabrix::EnableRowNo()
{
    return true;
}

bool TTabrix::IsLastRow(int row)
{
    return row == GetRowCount() - 1;
}

bool TTabrix::EnableDeleting()
{
    return GetRowCount() > 0 && Options().Has(wgoDeleting);
}

void TTabrix::InsertFirst()
{
    if (GetRowCount() == 0)
        Insert(false);
}

QWidget *TTabrix::CreateDataListEditor()
{
    return nullptr;
}

QWidget *TTabrix::CreateLookupListEditor()
{
    return nullptr;
}

void TTabrix::MemoDlgOk(const QString &text)
{
    TwColumn *column = SelectedColumn();
    if (column && GetRowCount() > 0 && column->EditCanModify())
        Cells(column->Index(), CurRow()).SetString(text);
}

void TTabrix::ImgDlgOk(const QPixmap &image)
{
    auto *column = static_cast<TwMemColumn *>(SelectedColumn());
    if (column && GetRowCount() > 0)
        emit OnSetImage(column, CurRow(), image);
}

// The store's questions.

bool TTabrix::StoreEditing() const
{
    return d->m_gridMode != wgmBrowse;
}

int TTabrix::StoreCurrentRow() const
{
    return CurRow();
}

int TTabrix::StoreRowCount() const
{
    return GetRowCount();
}

void TTabrix::StoreValueChanging(TwMemColumn *column, const QVariant &value)
{
    emit OnValueChanging(column, value);
}

void TTabrix::StoreValueChanged(TwMemColumn *column)
{
    d->m_modified = true;
    StoreInvalidateCell(column, CurRow());
    if (!column->Calculated())
        CalcColumns();
    emit OnValueChanged(column);
}

void TTabrix::StoreInvalidateCell(TwMemColumn *column, int row)
{
    if (GroupMode()) {
        InvalidateCell(column->GetVCell(), row);
        return;
    }
    const int strip = column->VIndex();
    if (strip >= 0)
        InvalidateCell(strip, row);
}

void TTabrix::StoreSort(TwMemColumn *column, bool descending, bool showMark)
{
    Sort(column->Index(), descending, showMark);
}

bool TTabrix::StoreEdit()
{
    return Edit();
}

int TTabrix::StoreTopRow() const
{
    return GetTopRow();
}

int TTabrix::StoreRow(int row) const
{
    return StoredRow(row);
}

QString TTabrix::StoreGetText(TwMemColumn *column, int row, const QString &text)
{
    // Asked for every cell painted or copied: the signal is looked up once.
    static const QMetaMethod getText = QMetaMethod::fromSignal(&TTabrix::OnGetText);
    if (!isSignalConnected(getText))
        return text;
    QString shown = text;
    emit OnGetText(column, row, shown);
    return shown;
}

// Design.

void TTabrix::WriteDesign(TwDesignWriter &out) const
{
    TwCustomGrid::WriteDesign(out);
    out.Bool("AutoCalcFooters", d->m_autoCalcFooters, true);
    out.Bool("CheckRowState", d->m_checkRowState, true);
    out.Bool("SoftDeleting", d->m_softDeleting, false);
    out.Int("MaxRowCount", d->m_maxRowCount, 0);
    out.Int("RowCount", Designing() ? d->m_designRowCount : GetRowCount(), 0);
}

void TTabrix::ReadDesign(const TwDesignReader &in)
{
    TwCustomGrid::ReadDesign(in);
    SetAutoCalcFooters(in.Bool("AutoCalcFooters", true));
    SetCheckRowState(in.Bool("CheckRowState", true));
    SetSoftDeleting(in.Bool("SoftDeleting", false));
    SetMaxRowCount(in.Int("MaxRowCount", 0));
    d->m_designRowCount = in.Int("RowCount", 0);
}
