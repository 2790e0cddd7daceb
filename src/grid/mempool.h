#pragma once

// The packed value store of one column: one fixed-size record per row, a presence byte
// first and the value bytes after it; texts of string columns in a list beside it.

#include "grid/bytebuffer.h"
#include "grid/uxlocale.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

enum TwDataType : std::uint8_t {
    wdtString,
    wdtChar,
    wdtBool,
    wdtShort,
    wdtByte,
    wdtSmall,
    wdtWord,
    wdtLong,
    wdtFloat,
    wdtDate,
    wdtTime,
    wdtDateTime,
    wdtGraphic,
};

enum TwFooterMethod : std::uint8_t { wfmeNone, wfmeCustom, wfmeCount, wfmeSum, wfmeAverage, wfmeMax, wfmeMin };
enum TwFooterOperator : std::uint8_t { wfopAll, wfopEQ, wfopGT, wfopGTE, wfopLT, wfopLTE, wfopNEQ };

/// The characters a fixed-width character field holds for a requested width.
inline int TXCharWidth(int dataWidth)
{
    return std::clamp(dataWidth, 1, 255);
}

/// The value bytes a type takes in a record (0 for texts kept in the list and pictures).
TABRIX_EXPORT int TXTypeSize(TwDataType type, int dataWidth);
TABRIX_EXPORT bool TXIsNumericType(TwDataType type);
TABRIX_EXPORT bool TXIsDateType(TwDataType type);
TABRIX_EXPORT bool TXIsStringType(TwDataType type);
/// A text read as the number a value of `type` holds: the serial of a date, time or
/// date-time, a floating value otherwise. Fails with the conversion error.
TABRIX_EXPORT double TXTextToNumber(TwDataType type, const QString &text);

class TwMemPoolPrivate;

/// The values of one column, one record per row. Owned by its column (or held as a value:
/// the column's edit buffers are one-row pools).
class TABRIX_EXPORT TwMemPool
{
public:
    /// A pool laid out for `type` and `dataWidth` (its column re-lays it when they change).
    explicit TwMemPool(TwDataType type = wdtString, int dataWidth = 0);
    ~TwMemPool();
    /// Pools move but do not copy; a moved-from pool may only be assigned or destroyed.
    TwMemPool(const TwMemPool &) = delete;
    TwMemPool &operator=(const TwMemPool &) = delete;
    TwMemPool(TwMemPool &&other) noexcept;
    TwMemPool &operator=(TwMemPool &&other) noexcept;

    void Init();
    void Clear();
    void ClearData();
    /// Re-lays the records after the type or width changed.
    void ColumnChanged(TwDataType type, int dataWidth);

    int GetCount() const;
    void SetCount(int count);
    int Capacity() const;
    int RecordSize() const;
    TwDataType DataType() const;
    int Width() const;
    /// Bytes held for values (records and texts' list slots, not the texts themselves).
    std::size_t BytesReserved() const;

    void Insert(int row);
    void Delete(int row, int count = 1);
    /// Removes the rows listed (ascending, each once) in one pass over the records.
    void DeleteRows(const std::vector<int> &rows);
    void Move(int from, int to);
    void Exchange(int a, int b);
    void Assign(const TwMemPool &source);
    /// The rows in a stable order of their values (nulls first ascending, last descending):
    /// element i is the row that belongs at position i. Texts are ordered as Compare
    /// orders them, through collation keys made once per row.
    std::vector<int> SortOrder(bool descending) const;
    /// Rearranges the rows so that row order[i] comes to position i (a permutation of all
    /// rows), in one pass over the records.
    void Permute(const std::vector<int> &order);

    bool GetNull(int row) const;
    void SetNull(int row, bool isNull = true);
    QString GetString(int row) const;
    void SetString(int row, const QString &value);
    bool GetBool(int row) const;
    void SetBool(int row, bool value);
    qint8 GetShort(int row) const { return static_cast<qint8>(GetInteger(row)); }
    void SetShort(int row, qint8 value) { SetInteger(row, value); }
    quint8 GetByte(int row) const { return static_cast<quint8>(GetInteger(row)); }
    void SetByte(int row, quint8 value) { SetInteger(row, value); }
    qint16 GetSmall(int row) const { return static_cast<qint16>(GetInteger(row)); }
    void SetSmall(int row, qint16 value) { SetInteger(row, value); }
    quint16 GetWord(int row) const { return static_cast<quint16>(GetInteger(row)); }
    void SetWord(int row, quint16 value) { SetInteger(row, value); }
    qint32 GetLong(int row) const { return static_cast<qint32>(GetInteger(row)); }
    void SetLong(int row, qint32 value) { SetInteger(row, value); }
    double GetFloat(int row) const;
    void SetFloat(int row, double value);
    TDateTime GetDateTime(int row) const;
    void SetDateTime(int row, TDateTime value);
    QVariant GetValue(int row) const;
    void SetValue(int row, const QVariant &value);

    /// -1, 0 or 1: null before any value, two nulls equal.
    int Compare(int row1, int row2) const;
    /// The row against a text: -1 for a null row; 1 for an empty text on a non-string type.
    int Compare(int row, const QString &text) const;

    QString CalcFooter(TwFooterMethod method, const TwMemPool *condition, TwFooterOperator op, const QString &operand) const;
    QString CalcCount(const TwMemPool *condition, TwFooterOperator op, const QString &operand) const;
    QString CalcSum(const TwMemPool *condition, TwFooterOperator op, const QString &operand) const;
    QString CalcAverage(const TwMemPool *condition, TwFooterOperator op, const QString &operand) const;
    QString CalcMax(const TwMemPool *condition, TwFooterOperator op, const QString &operand) const;
    QString CalcMin(const TwMemPool *condition, TwFooterOperator op, const QString &operand) const;

    /// Copies one row of `source` (laid out alike) over row `row`.
    void CopyRow(const TwMemPool &source, int sourceRow, int row);
    /// Equal texts (string types, case-sensitive) or equal value bytes; two nulls are equal
    /// and a null never equals a present value.
    bool SameValue(int row, const TwMemPool &other, int otherRow) const;

    /// Raw access to a record's value bytes (after the presence byte).
    const std::uint8_t *ValueBytes(int row) const;

    // Conversions between a value of `type` held in raw bytes and the other forms; the
    // column's edit buffer uses them too.
    static QString BytesToString(TwDataType type, const std::uint8_t *bytes, int width);
    static double BytesToFloat(TwDataType type, const std::uint8_t *bytes);
    static qint64 BytesToInteger(TwDataType type, const std::uint8_t *bytes);

private:
    std::size_t Offset(int row) const;
    std::uint8_t *Record(int row);
    const std::uint8_t *Record(int row) const;
    void Reserve(int capacity);
    /// Sizes the records and the scratch record for the current type and width.
    void LayRecords();
    /// After a fixed-width text field narrowed: every text cut to whole characters.
    void CutCharRecords();
    qint64 GetInteger(int row) const;
    void SetInteger(int row, qint64 value);
    QString ValueText(int row) const;
    /// A present value read as a number: strings parsed by `fromText`, packed values
    /// converted by `fromBytes`; 0 for a null row or a picture.
    template<typename Number>
    Number ReadNumber(int row, Number (*fromText)(const QString &),
                      Number (*fromBytes)(TwDataType, const std::uint8_t *)) const;
    /// Calls visit(row) for every row meeting the condition, in row order.
    template<typename Visit>
    void ForEachMeeting(const TwMemPool *condition, TwFooterOperator op, const QString &operand, Visit visit) const;
    void CheckRow(int row) const;
    /// The text of the first meeting row that compares `side` (1 largest, -1 smallest)
    /// against every other meeting row.
    QString CalcExtreme(const TwMemPool *condition, TwFooterOperator op, const QString &operand, int side) const;

    Q_DECLARE_PRIVATE_D(d, TwMemPool)
    std::unique_ptr<TwMemPoolPrivate> d;
};
