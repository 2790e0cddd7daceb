#pragma once

// One byte of bookkeeping per row beside the value pools: row type (bits 0-2), changed
// (bit 3), row state (bits 4-5), selected (bit 6) and checked (bit 7).

#include "grid/bytebuffer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

enum TwRowState : std::uint8_t { wrNormal, wrUpdated, wrInserted, wrDeleted };
using TwRowType = std::uint8_t;

class TwRowInfosPrivate;

/// The row bytes of a grid. Owned by the grid, beside its column pools.
class TABRIX_EXPORT TwRowInfos
{
public:
    /// `selectionChanged` is told whenever a row's selected bit changes.
    explicit TwRowInfos(std::function<void()> selectionChanged = {});
    ~TwRowInfos();
    TwRowInfos(const TwRowInfos &) = delete;
    TwRowInfos &operator=(const TwRowInfos &) = delete;

    void Init();
    void Clear();
    int Count() const;
    int Capacity() const;
    void SetCount(int count);
    void Insert(int row);
    void Delete(int row, int count = 1);
    /// Removes the rows listed (ascending, each once) in one pass over the bytes.
    void DeleteRows(const std::vector<int> &rows);
    void Move(int from, int to);
    void Exchange(int a, int b);
    /// Rearranges the bytes so that row order[i] comes to position i (a permutation of all
    /// rows).
    void Permute(const std::vector<int> &order);

    bool Checked(int row) const;
    void SetChecked(int row, bool value);
    bool Selected(int row) const;
    void SetSelected(int row, bool value);
    TwRowState State(int row) const;
    void SetState(int row, TwRowState state);
    bool Changed(int row) const;
    void SetChanged(int row, bool value);
    TwRowType RowType(int row) const;
    /// 0..7; anything else fails with "Invalid TwRowType Value(n)".
    void SetRowType(int row, int type);

    int GetStateCount(TwRowState state) const;
    int GetChangedCount() const;
    int GetTypeCount(int type) const;
    int SelectedCount() const;
    int GetSelectedCount(int first, int last) const;

    void ClearChecked();
    void ClearSelection();
    void ClearState();
    void ClearChanged();
    void ClearType();
    void SelectionToChecked();

    std::size_t BytesReserved() const;

private:
    std::uint8_t &Byte(int row);
    std::uint8_t Byte(int row) const;
    void Reserve(int capacity);
    int CountWhere(const std::function<bool(std::uint8_t)> &test) const;
    void ClearBits(std::uint8_t mask);

    Q_DECLARE_PRIVATE_D(d, TwRowInfos)
    std::unique_ptr<TwRowInfosPrivate> d;
};
