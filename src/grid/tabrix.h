#pragma once

// The complete grid: the grid core with its data — a value pool per column, a row byte per
// row and the footer summaries — browsed a row at a time like a database cursor.

#include "grid/customgrid.h"
#include "grid/memcolumn.h"

#include <QDateTime>

#include <memory>

class QPrinter;
class TTabrixPrivate;

/// How ExportToCsv writes: UTF-8 with a byte order mark (what spreadsheets take for UTF-8),
/// without one, or in code page 949 for older Korean programs.
enum class TwCsvEncoding : std::uint8_t { Utf8Bom, Utf8, Cp949 };
struct TwCsvOptions
{
    TwCsvEncoding Encoding = TwCsvEncoding::Utf8Bom;
    QChar Separator = u',';
    bool Titles = true; ///< a first line of column titles
    bool Footers = true; ///< the footer lines after the rows
};

/// How ExportToXlsx writes: one worksheet, the column titles (group titles merged above them
/// in group mode) frozen above the rows, and the footer lines under them.
struct TwXlsxOptions
{
    QString SheetName; ///< empty: "Sheet1"
    bool Titles = true;
    bool Footers = true;
};

/// What a printed page shows besides the grid: a caption line with the screen's title, the
/// user and the print time, and the page numbers.
struct TwPrintOptions
{
    QString Title; ///< empty: the title of the grid's window
    QString User; ///< empty: the user the program runs as
    QDateTime Time; ///< invalid: the time the printing starts
};

/// A widget: its Qt parent owns it. It owns its row bytes and, through its columns, the
/// value pools.
class TABRIX_EXPORT TTabrix : public TwCustomGrid, public TwStoreOwner
{
    Q_OBJECT
    Q_PROPERTY(bool AutoCalcFooters READ AutoCalcFooters WRITE SetAutoCalcFooters NOTIFY AutoCalcFootersChanged)
    Q_PROPERTY(bool CheckRowState READ CheckRowState WRITE SetCheckRowState NOTIFY CheckRowStateChanged)
    Q_PROPERTY(bool SoftDeleting READ SoftDeleting WRITE SetSoftDeleting NOTIFY SoftDeletingChanged)
    Q_PROPERTY(int MaxRowCount READ MaxRowCount WRITE SetMaxRowCount NOTIFY MaxRowCountChanged)
    Q_PROPERTY(int RowCount READ GetRowCount WRITE SetRowCount NOTIFY RowCountChanged)

public:
    explicit TTabrix(QWidget *parent = nullptr);
    ~TTabrix() override;

    // Published settings.
    bool AutoCalcFooters() const;
    void SetAutoCalcFooters(bool value);
    bool CheckRowState() const;
    void SetCheckRowState(bool value);
    bool SoftDeleting() const;
    void SetSoftDeleting(bool value);
    int MaxRowCount() const;
    /// Negative values store 0 (no bound).
    void SetMaxRowCount(int value);

    // Rows and cells.
    /// The stored rows (plus the row being inserted); at design time the rows shown.
    int GetRowCount() const override;
    /// Every pool and the row bytes take the count; fails with "수정/추가 중일 때는 RowCount를
    /// 변경할 수 없습니다." while a row is edited or inserted.
    void SetRowCount(int count) override;
    /// The cell object of a cell; fails with "Cells col bounds error[c]" or
    /// "Cells row bounds error[r]".
    TwCells Cells(int col, int row) const;
    /// Column i in collection order / in visible order.
    TwMemColumn *GetMemColumn(int index) const;
    TwMemColumn *GetVMemColumn(int index) const;
    TwRowInfos &RowInfos();
    const TwRowInfos &RowInfos() const;
    TwRowSelection &Selection();

    // Position.
    int TopRow() const { return GetTopRow(); }
    int GetTopRow() const override;
    /// Clamped to the scroll range; a one-row change scrolls the data band by a row.
    void SetTopRow(int value) override;
    /// Rows wholly visible between the headers and the footers (at least 1).
    int VisibleRowCount() const;
    /// Moves to a row (clamped): OnRowExit, post or drop the edit, OnRowEnter, OnRowChange.
    void SetCurRow(int row) override;

    // Row states of grid rows. While a row is inserted the rows after it are stored one
    // lower; the row being inserted reads wrNormal, unchanged and of type 0, and writes to
    // it are ignored.
    TwRowState RowState(int row) const;
    void SetRowState(int row, TwRowState state);
    bool Changed(int row) const;
    void SetChanged(int row, bool value);
    TwRowType RowType(int row) const;
    /// 0..7; anything else fails with "Invalid TwRowType Value(n)".
    void SetRowType(int row, int type);
    int StateCount(TwRowState state) const;
    int ChangedCount() const;
    int TypeCount(int type) const;
    /// Clear the changed flags, the states or the types of every row; with `repaint` the
    /// marker column shows it (unless inside an update bracket).
    void ClearChanged(bool repaint = true);
    void ClearRowStates(bool repaint = true);
    void ClearRowTypes(bool repaint = true);

    // Selection through the row bytes.
    bool GetSelected(int row) const override;
    /// Fails with "Bound Error in SetSelected(row)" outside the rows.
    void SetSelected(int row, bool value) override;
    int GetSelectedCount() const override;
    /// The selection becomes the checked marks, then is cleared.
    void ClearSelection() override;
    void InvalidateSelection() override;

    // Export.
    /// Every row of the visible columns in reading order as CSV, CRLF lines: numbers plainly
    /// ("-32000", "1234.5"), dates and times as 2026-12-01 and 13:05:00, check boxes as
    /// TRUE/FALSE, list columns as the item shown, texts as they are (one a spreadsheet would
    /// take for a formula behind an apostrophe). The file appears whole or not at all; a
    /// failure to write, or a character code page 949 lacks, fails with the path.
    void ExportToCsv(const QString &path, const TwCsvOptions &options = {});
    /// Every row of the visible columns as a workbook: numbers and dates as numbers and
    /// dates with the column's display format, texts as text, check boxes as booleans,
    /// footers as values under the rows, column widths as on the screen. The file appears
    /// whole or not at all; a failure to write fails with the path.
    void ExportToXlsx(const QString &path, const TwXlsxOptions &options = {});
    /// The visible columns on pages of `printer`: scaled to the page width, or split across
    /// pages left to right where they would shrink below a readable size; the title rows on
    /// every page, the footers after the last row, a caption line and page numbers.
    void Print(QPrinter &printer, const TwPrintOptions &options = {});
    /// The pages Print makes, as a PDF file at `path` (whole or not at all).
    void ExportToPdf(const QString &path, const TwPrintOptions &options = {});
    /// Print's pages in a preview dialog, from which the user prints them.
    void PrintPreview(const TwPrintOptions &options = {});

    // Paste.
    /// The clipboard's text pasted at the current cell as PasteText does; false when the
    /// clipboard holds no text.
    bool PasteFromClipboard();
    /// Tab-separated rows (as spreadsheets copy them) from the current cell rightwards and
    /// downwards, through the editing cycle: each row is edited and posted with its events,
    /// each text read by its column's type and format; read-only and calculated columns are
    /// skipped, rows past the last are inserted where wgoInserting allows. All or nothing:
    /// the first value refused fails the paste with the row, the column and the reason, and
    /// every row it touched is as it was.
    void PasteText(const QString &text);
    /// The core's menu (복사, 제목과 함께 복사) with 붙여넣기, 엑셀로 저장 and 인쇄, each where the
    /// grid's options and rows allow it.
    std::unique_ptr<QMenu> CreateStandardContextMenu();

    // The editing cycle: a row is browsed, edited or inserted; its values are collected in
    // the columns' edit buffers until Post stores them or Cancel drops them.
    TwGridMode GridMode() const { return GetGridMode(); }
    TwGridMode GetGridMode() const override;
    /// A value of the edited or inserted row changed since editing began.
    bool Modified() const;
    /// Starts editing the current row; false on a deleted row or without wgoEditing. On an
    /// empty grid inserts the first row.
    bool Edit() override;
    /// A new row (with wgoInserting, below MaxRowCount) after the stored rows (`append`) or
    /// at the current row, filled with the columns' Defaults.
    void Insert(bool append);
    /// Stores the edit buffers; fails with "Column 'caption' must have a value." on a null
    /// Required column and stays in its mode.
    void Post();
    void Cancel();
    /// The current row: marked deleted (SoftDeleting) or removed. While inserting, only
    /// cancels the new row.
    void Delete() override;
    /// The selected rows each OnDeleteRow accepts, asked from the last to the first.
    void DeleteSelection() override;
    /// Removes every row marked wrDeleted; fails with "Can't DeleteMarkedRow in Editing"
    /// unless browsing. No events.
    void DeleteMarkedRows();

    // Row operations on stored rows; each fails with its message while a row is edited or
    // inserted and leaves the data as it was. No row-state or value events.
    /// A null row at `row` (0..RowCount): with `defaults` the columns' Defaults, with
    /// `inserted` marked wrInserted, with `newRow` OnNewRow.
    void InsertRow(int row, bool defaults = false, bool inserted = false, bool newRow = false);
    void AddRow(bool defaults = false, bool inserted = false, bool newRow = false);
    void MoveRow(int curRow, int newRow);
    void ExchangeRows(int row1, int row2);
    /// `count` rows from `row` (a negative count: to the last row).
    void DeleteRow(int row, int count = 1, bool dataChanged = false);
    /// No rows.
    void Clear();
    /// Every value null and every row byte clear; the rows stay.
    void ClearData();
    /// The first row becomes current.
    void Reset();
    /// The values of `source` (its stored rows, its first columns); row bytes start clear.
    void AssignData(TTabrix *source);
    /// The texts of `list` into column `col` from `startRow`, adding rows (with defaults)
    /// unless `noAppend`. Every text is converted before anything is written.
    void LoadFromList(int col, const QStringList *list, int startRow = 0, bool noAppend = false);
    /// The stored texts of `count` rows (negative: to the last) from `startRow`.
    void SaveToList(int col, QStringList *list, int startRow = 0, int count = -1);
    /// The first stored row whose value equals `value`, or -1.
    int Find(int col, const QVariant &value);
    /// The first stored row whose text matches `text` under `options`, or -1.
    int Find(int col, const QString &text, TwFindOptions options);
    /// A stable sort of all rows by one column (nulls first ascending, last descending);
    /// row states and marks travel with their rows. With `mark` the title shows the order.
    void Sort(int col, bool descending = false, bool mark = true);

    void CalcColumns();
    /// Computes every styled footer line from the pools, between OnCalcFooters and
    /// OnAfterCalcFooters.
    void CalcFooters();
    /// After posts and deletions: the footers (with AutoCalcFooters), then OnDataChanged.
    void DataChanged();

    // What the grid shows of a row and a cell.
    /// The text a cell shows (formats, items and OnGetText applied).
    QString GetDisplayText(TwColumn *column, int row) override;
    /// The cell holds no value.
    bool CheckNull(TwColumn *column, int row) override;
    /// Stores the shown editor's value into its cell when the editor holds a change.
    void SetEditValue() override;
    TwIndiState GetIndiState(int row) override;
    int GetRowNo(int row) override;
    bool EnableRowNo() override;

    void WriteDesign(TwDesignWriter &out) const override;
    void ReadDesign(const TwDesignReader &in) override;

signals:
    void AutoCalcFootersChanged(bool value);
    void CheckRowStateChanged(bool value);
    void SoftDeletingChanged(bool value);
    void MaxRowCountChanged(int value);
    void RowCountChanged(int value);

    // Events. Those with reference parameters need a direct connection.
    void OnRowEnter();
    void OnRowExit();
    void OnBeforeEdit();
    void OnAfterEdit();
    void OnBeforeInsert(bool append);
    void OnAfterInsert(bool append);
    void OnNewRow();
    void OnBeforePost();
    void OnAfterPost();
    void OnBeforeCancel();
    void OnAfterCancel();
    void OnBeforeDelete();
    void OnAfterDelete();
    void OnDeleteRow(int row, bool &accept);
    void OnCalcColumns();
    void OnCalcFooters(bool &useDefault);
    void OnAfterCalcFooters();
    void OnDataChanged();
    void OnValueChanging(TwMemColumn *column, const QVariant &newValue);
    void OnValueChanged(TwMemColumn *column);
    /// The last step of every cell's display text.
    void OnGetText(TwMemColumn *column, int row, QString &text);
    /// The picture of a graphic cell: the handler fills `image`.
    void OnGetImage(TwMemColumn *column, int row, QPixmap &image);
    void OnSetImage(TwMemColumn *column, int row, const QPixmap &image);

protected:
    // The display hooks the core paints from.
    bool CheckBool(TwColumn *column, int row) override;
    int CheckList(TwColumn *column, int row) override;
    int GetImageIndex(TwColumn *column, int row) override;
    QPixmap GetDisplayImage(TwColumn *column, int row) override;
    QVariant GetEditValue(TwColumn *column) override;
    bool IsLastRow(int row) override;
    int GetVertRange() override;
    bool EnableDeleting() override;
    void DoInRow(Qt::KeyboardModifiers modifiers) override;
    void InsertFirst() override;
    QWidget *CreateDataListEditor() override;
    QWidget *CreateLookupListEditor() override;
    void MemoDlgOk(const QString &text) override;
    void ImgDlgOk(const QPixmap &image) override;

    // The store's questions.
    bool StoreEditing() const override;
    int StoreCurrentRow() const override;
    int StoreRowCount() const override;
    void StoreValueChanging(TwMemColumn *column, const QVariant &value) override;
    void StoreValueChanged(TwMemColumn *column) override;
    void StoreInvalidateCell(TwMemColumn *column, int row) override;
    QString StoreGetText(TwMemColumn *column, int row, const QString &text) override;
    int StoreRow(int row) const override;
    void StoreSort(TwMemColumn *column, bool descending, bool showMark) override;
    bool StoreEdit() override;
    int StoreTopRow() const override;

    std::unique_ptr<TwColumn> NewColumn(TwColumns *collection) override;
    void Loaded() override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // A cell as ExportToCsv writes it.
    QString CsvValue(int column, int row) const;
    void MoveDown(int count, Qt::KeyboardModifiers modifiers, bool downKey);
    void MoveUp(int count, Qt::KeyboardModifiers modifiers);
    /// Extends the keyboard range to `end` (started at the current row when none is active).
    void ExtendRange(int end);
    void ScrollInView(int row);
    /// The stored row behind a grid row; -1 for the row being inserted.
    int StoredRow(int row) const;
    /// Removes stored rows (ascending) from every pool and the row bytes at once, then
    /// clamps the current and top rows.
    void RemoveRows(const std::vector<int> &rows);
    void FinishDelete(bool removed);
    /// Fails with "Can't <operation> in Editing" unless browsing.
    void CheckBrowsing(const char *operation) const;
    /// Fails with "Bounds error in TTabrix.<operation>(col)." outside the columns.
    void CheckListColumn(int col, const char *operation) const;
    /// Takes the shown editor's value into its cell and posts an open edit.
    void PostPending();
    /// After the stored row count changed from `before`: the scroll range, top and current
    /// rows, a repaint unless updating, the editor and the count's notice.
    void RowCountApplied(int before);
    void CopyAbove();
    void EnterKey();
    void EscapeKey();
    /// The editor after a post, a cancel or a deletion: shown with wgoAlwaysShowEditor, else
    /// refreshed.
    void FollowEditor();
    /// Repaints the visible rows once a range operation changed selected bits.
    void SelectionTouched();
    /// After row bytes of every row changed: the marker column, when asked and shown.
    void RowBytesCleared(bool repaint);

    Q_DECLARE_PRIVATE_D(d, TTabrix)
    std::unique_ptr<TTabrixPrivate> d;

public:
    // The setters under Qt-style names, as uic calls them in compiled forms; the
    // names above stay the published ones.
    void setAutoCalcFooters(bool value) { SetAutoCalcFooters(value); }
    void setCheckRowState(bool value) { SetCheckRowState(value); }
    void setSoftDeleting(bool value) { SetSoftDeleting(value); }
    void setMaxRowCount(int value) { SetMaxRowCount(value); }
    void setRowCount(int value) { SetRowCount(value); }
};

/// The grid as a palette entry of its own for file lists; it is a TTabrix in every respect.
class TABRIX_EXPORT TwFileGrid : public TTabrix
{
    Q_OBJECT

public:
    using TTabrix::TTabrix;
};
