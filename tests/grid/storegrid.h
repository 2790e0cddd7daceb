#pragma once

#include "grid/memcolumn.h"
#include "testgrid.h"

#include <QStringList>

/// A value pool of `rows` null values.
inline TwMemPool Pool(TwDataType type, int width = 0, int rows = 3)
{
    TwMemPool pool(type, width);
    pool.Init();
    pool.SetCount(rows);
    return pool;
}

/// The grid core with data-store columns and a store owner that records what it is told.
class StoreGrid : public TestGrid, public TwStoreOwner
{
public:
    bool Editing = false;
    int CurrentRow = 0;
    QStringList Events;

    std::unique_ptr<TwColumn> NewColumn(TwColumns *collection) override
    {
        return std::make_unique<TwMemColumn>(collection, this);
    }

    TwMemColumn *AddMemColumn(TwDataType type, int width = 16)
    {
        auto *column = static_cast<TwMemColumn *>(Columns().Add());
        column->SetDataType(type);
        column->SetDataWidth(width);
        return column;
    }

    /// Sets the row count of every pool.
    void SetRows(int rows)
    {
        RowCount = rows;
        for (int i = 0; i < Columns().Count(); ++i)
            static_cast<TwMemColumn *>(Columns().Items(i))->Pool().SetCount(rows);
    }

    bool StoreEditing() const override { return Editing; }
    int StoreCurrentRow() const override { return CurrentRow; }
    int StoreRowCount() const override { return RowCount; }
    void StoreValueChanging(TwMemColumn *column, const QVariant &value) override
    {
        Events << QStringLiteral("changing %1=%2").arg(column->Title().Caption(), value.toString());
    }
    void StoreValueChanged(TwMemColumn *column) override
    {
        Events << QStringLiteral("changed %1").arg(column->Title().Caption());
    }
    void StoreInvalidateCell(TwMemColumn *column, int row) override
    {
        Events << QStringLiteral("repaint %1:%2").arg(column->Title().Caption()).arg(row);
    }
};
