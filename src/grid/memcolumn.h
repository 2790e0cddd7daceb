#pragma once

// The data-store column: a column with a data type, a value pool, a default value, a
// display format and a one-row edit buffer; its footer with summary styles; the cell
// router; and multi-row selection ranges.

#include "grid/columns.h"
#include "grid/mempool.h"
#include "grid/rowinfos.h"

#include <type_traits>


class TwMemColumn;

/// What the store needs from the complete grid. The grid implements it; tests can too.
class TABRIX_EXPORT TwStoreOwner
{
public:
    virtual ~TwStoreOwner();
    /// Editing or inserting a row.
    virtual bool StoreEditing() const = 0;
    virtual int StoreCurrentRow() const = 0;
    virtual int StoreRowCount() const = 0;
    /// Before an edited value changes (only while editing).
    virtual void StoreValueChanging(TwMemColumn *column, const QVariant &value) = 0;
    /// After it changed: mark the row modified, refresh the editor or the cell, recalculate
    /// calculated columns (unless `column` is one) and raise the value-changed event.
    virtual void StoreValueChanged(TwMemColumn *column) = 0;
    virtual void StoreInvalidateCell(TwMemColumn *column, int row) = 0;
    /// The display text of a cell may be replaced by the application.
    virtual QString StoreGetText(TwMemColumn *column, int row, const QString &text);
    /// A column's own Sort: the grid sorts all of its rows by it.
    virtual void StoreSort(TwMemColumn *column, bool descending, bool showMark);
    /// The pool row behind a grid row: while a new row is inserted, the rows after it are
    /// stored one lower.
    virtual int StoreRow(int row) const;
    /// Starts editing the current row before a cell of it changes (true when it already
    /// is); false when the grid refuses (a deleted row).
    virtual bool StoreEdit();
    /// The first row shown.
    virtual int StoreTopRow() const;
};

/// A column footer whose lines carry summary styles: "MCCCCOoperand" — method digit,
/// condition column (9999 = own), operator digit, operand.
class TwMemColumnFooterPrivate;
class TwMemColumnPrivate;

class TABRIX_EXPORT TwMemColumnFooter : public TwColumnFooter
{
    Q_OBJECT
    Q_PROPERTY(QStringList Styles READ Styles WRITE SetStyles NOTIFY StylesChanged)

public:
    static constexpr char16_t DefaultStyle[] = u"099990";
    /// DefaultStyle as a text.
    static QString DefaultStyleText() { return QString::fromUtf16(DefaultStyle); }

    explicit TwMemColumnFooter(TwColumn *column);
    ~TwMemColumnFooter() override;
    bool Footering(int row) override;
    void FootersChanged() override;
    QString GetText(int row) const override;

    /// One entry per footer row at least; an entry shorter than six characters reads as
    /// DefaultStyle and is stored as it.
    const QStringList &Styles() const;
    void SetStyles(const QStringList &styles);
    TwFooterMethod GetMethod(int row) const;
    void SetMethod(int row, TwFooterMethod method);
    /// -1 is the footer's own column.
    int GetOpColumn(int row) const;
    void SetOpColumn(int row, int column);
    TwFooterOperator GetOperator(int row) const;
    void SetOperator(int row, TwFooterOperator op);
    QString GetOperand(int row) const;
    void SetOperand(int row, const QString &operand);
    void SetStyle(int row, TwFooterMethod method, int column, TwFooterOperator op, const QString &operand);
    void AssignStyles(const TwMemColumnFooter &other);

    /// Adds the "Style" list to the core footer's design properties.
    void WriteDesign(TwDesignWriter &out) const override;
    void ReadDesign(const TwDesignReader &in) override;

    static QString MethodLabel(TwFooterMethod method);
    static QString OperatorSymbol(TwFooterOperator op);

signals:
    void StylesChanged(const QStringList &value);

private:
    QString Entry(int row) const;
    void Rewrite(int row, TwFooterMethod method, int column, TwFooterOperator op, const QString &operand);

    Q_DECLARE_PRIVATE_D(d, TwMemColumnFooter)
    std::unique_ptr<TwMemColumnFooterPrivate> d;
};

/// The data-store column. Owned by its collection like every column; it owns its value pool
/// and its edit buffers, and its footer is a TwMemColumnFooter.
class TABRIX_EXPORT TwMemColumn : public TwColumn
{
    Q_OBJECT
    Q_PROPERTY(bool Calculated READ Calculated WRITE SetCalculated NOTIFY CalculatedChanged)
    Q_PROPERTY(TwDataType DataType READ DataType WRITE SetDataType NOTIFY DataTypeChanged)
    Q_PROPERTY(int DataWidth READ DataWidth WRITE SetDataWidth NOTIFY DataWidthChanged)
    Q_PROPERTY(QString Defaults READ Defaults WRITE SetDefaults NOTIFY DefaultsChanged)
    Q_PROPERTY(QString DisplayFormat READ DisplayFormat WRITE SetDisplayFormat NOTIFY DisplayFormatChanged)
    Q_PROPERTY(bool Required READ Required WRITE SetRequired NOTIFY RequiredChanged)

public:
    /// A column of `collection` whose values `owner` (the grid whose NewColumn makes it)
    /// edits, shows and sizes.
    TwMemColumn(TwColumns *collection, TwStoreOwner *owner);
    ~TwMemColumn() override;

    TwEditKind GetEditKind() const override;
    int GetEditLimit() const override;
    int GetDefWidth() const override;
    bool IsGraphic() const override;
    bool IsNumeric() const override;
    bool IsValidChar(QChar key) const override;
    bool CanSelect() const override;
    bool EditCanModify() const override;
    bool ValueRange(double &low, double &high) const override;
    /// Adds Calculated, DataType, DataWidth, Defaults, DisplayFormat and Required.
    void WriteDesign(TwDesignWriter &out) const override;
    void ReadDesign(const TwDesignReader &in) override;

    bool Calculated() const;
    void SetCalculated(bool value);
    TwDataType DataType() const;
    void SetDataType(TwDataType value);
    /// The width for strings and characters; the byte size of the other types.
    int DataWidth() const;
    void SetDataWidth(int value);
    QString Defaults() const;
    void SetDefaults(const QString &value);
    QString DisplayFormat() const;
    void SetDisplayFormat(const QString &value);
    bool Required() const;
    void SetRequired(bool value);

    TwMemPool &Pool();
    const TwMemPool &Pool() const;
    TwStoreOwner *Owner() const;
    TwMemColumnFooter &MemFooter() { return static_cast<TwMemColumnFooter &>(Footer()); }

    // The edit buffer of the row being edited.
    bool GetNull() const;
    void SetNull();
    QString GetString() const;
    void SetString(const QString &value);
    bool GetBool() const;
    void SetBool(bool value);
    qint32 GetLong() const;
    void SetLong(qint32 value);
    double GetFloat() const;
    void SetFloat(double value);
    TDateTime GetDateTime() const;
    void SetDateTime(TDateTime value);
    /// Null unless the grid is editing.
    QVariant GetValue() const;
    void SetValue(const QVariant &value);
    /// Loads the buffer from a pool row (editing starts) without events.
    void LoadBuffer(int row);
    /// Loads the buffer with the Defaults text, or null without one (a new row), without
    /// events.
    void LoadDefaults();
    /// Writes the buffer to a pool row.
    void StoreBuffer(int row);
    void SaveValue();
    QVariant GetOldValue() const;
    bool EqualValues() const;

    /// The text painted for a row of the pool.
    QString DisplayText(int row) const;
    /// The text painted for grid row `row` whose value is at pool row `storedRow`.
    QString RowText(int storedRow, int row) const;
    /// The text painted for the row being edited: its edit buffer through the same
    /// formatting and text event as any other row.
    QString EditDisplayText(int row) const;
    /// A text that does not come from a cell, formatted like the column's cells.
    QString _GetText(const QString &text) const;

    void Sort(bool descending, bool showMark);

protected:
    std::unique_ptr<TwColumnFooter> CreateFooter() override;

signals:
    void CalculatedChanged(bool value);
    void DataTypeChanged(TwDataType value);
    void DataWidthChanged(int value);
    void DefaultsChanged(const QString &value);
    void DisplayFormatChanged(const QString &value);
    void RequiredChanged(bool value);

private:
    /// Puts `next` (a one-row pool) into the edit buffer with the value events.
    void Store(const TwMemPool &next);
    /// Fills a fresh null one-row buffer with `fill` and stores it.
    template<typename Fill>
    void Write(Fill fill);
    TwMemPool NewBuffer() const;
    /// The width the pool and the buffers are laid out with: texts and characters only.
    int PoolWidth() const;
    void Relayout();
    QString ItemText(const QString &text, bool *found) const;
    QString Formatted(const QString &text) const;
    /// The text under the column's formats; `number` gives the value as a number.
    template<typename Number>
    QString ApplyFormats(const QString &text, Number number) const;
    /// Formats the value at `poolRow` of `pool` (the pool or the edit buffer) for grid row `row`.
    QString CellText(const TwMemPool &pool, int poolRow, int row) const;


    Q_DECLARE_PRIVATE_D(d, TwMemColumn)
    std::unique_ptr<TwMemColumnPrivate> d;
};

/// Addresses one cell and routes it: to the column's edit buffer while the row is being
/// edited, else to the pool (writes repaint the cell, without value events).
/// A small value: `At` hands out a new handle for each cell, so that
/// `cells.At(c, r1).SetLong(cells.At(c, r2).Long())` reads one cell and writes another.
class TABRIX_EXPORT TwCells
{
public:
    TwCells(const TwColumns *columns, TwStoreOwner *owner);

    /// The handle of one cell. Fails with "Cells col bounds error[c]" or
    /// "Cells row bounds error[r]".
    TwCells At(int column, int row) const;

    bool Null() const;
    void SetNull();
    QString String() const;
    void SetString(const QString &value);
    bool Bool() const;
    void SetBool(bool value);
    qint32 Long() const;
    void SetLong(qint32 value);
    double Float() const;
    void SetFloat(double value);
    TDateTime DateTime() const;
    void SetDateTime(TDateTime value);
    QVariant Value() const;
    void SetValue(const QVariant &value);
    /// Position of the cell's text in the column's Values list, -1 when absent.
    int Index() const;
    QString Text() const;

private:
    TwMemColumn *Column() const;
    void Written();
    /// The cell's value from the edit buffer while its row is edited, else from the pool.
    template<typename Result>
    Result Read(Result (TwMemColumn::*fromBuffer)() const, Result (TwMemPool::*fromPool)(int) const) const;
    /// Writes through the column's edit buffer (with its value events) while the row is
    /// edited, else into the pool and repaints the cell.
    template<typename Arg>
    void Write(void (TwMemColumn::*toBuffer)(Arg), void (TwMemPool::*toPool)(int, Arg),
               std::type_identity_t<Arg> value);

    const TwColumns *m_columns;
    TwStoreOwner *m_owner;
    int m_column = 0;
    int m_row = 0;
    // The pool row behind m_row.
    int m_stored = 0;
    bool m_editing = false;
};

/// Ranges of selected rows driven by keyboard and mouse.
class TABRIX_EXPORT TwRowSelection
{
public:
    explicit TwRowSelection(TwRowInfos &rows);

    bool Selecting() const { return m_selecting; }
    int Anchor() const { return m_anchor; }
    int End() const { return m_end; }
    /// No range is active any more; the selected rows stay selected.
    void EndRange() { m_selecting = false; }

    /// The selection becomes the checked marks, then is cleared.
    void ClearSelection();
    void SetRange(int anchor, int end);
    void MoveRangeEnd(int end);
    /// A click in the current row with the keyboard modifiers held.
    void Click(int currentRow, Qt::KeyboardModifiers modifiers);

private:
    TwRowInfos &m_rows;
    bool m_selecting = false;
    int m_anchor = -1;
    int m_end = -1;
};
