#include "grid/core/gridaccessible_p.h"

#include "grid/core/customgrid_p.h"
#include "grid/core/extents.h"
#include "grid/core/gridclipboard_p.h"
#include "grid/columns.h"
#include "grid/customgrid.h"
#include "grid/groups.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <vector>

// The table interface of a grid. A friend of the grid: it reads the display texts, the
// geometry and the current position the grid keeps for itself.
class TwGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit TwGridAccessible(TwCustomGrid *grid)
        : QAccessibleWidget(grid, QAccessible::Table)
    {
    }
    ~TwGridAccessible() override { DropCells(); }

    TwCustomGrid *Grid() const { return static_cast<TwCustomGrid *>(widget()); }

    // The visible columns in reading order.
    std::vector<TwColumn *> ReadingColumns() const { return TXReadingColumns(*Grid()); }

    int ColumnIndex(const TwColumn *column) const
    {
        const std::vector<TwColumn *> columns = ReadingColumns();
        const auto found = std::find(columns.begin(), columns.end(), column);
        return found == columns.end() ? -1 : static_cast<int>(found - columns.begin());
    }

    TwColumn *ColumnAt(int index) const
    {
        const std::vector<TwColumn *> columns = ReadingColumns();
        return index >= 0 && index < static_cast<int>(columns.size()) ? columns[static_cast<std::size_t>(index)] : nullptr;
    }

    // The cell of `column` on `row` (-1: its title), created once and kept until the
    // grid's rows or columns change.
    QAccessibleInterface *Cell(TwColumn *column, int row) const;

    QString DisplayText(TwColumn *column, int row) const { return Grid()->GetDisplayText(column, row); }

    // The screen rectangle of a cell, empty while it is scrolled out of view.
    QRect CellRect(TwColumn *column, int row) const
    {
        TwCustomGrid *grid = Grid();
        const TwGridExtents &extents = *grid->d->m_extents;
        QRect rect;
        if (grid->GroupMode()) {
            const TwCell cell = VisibleCell(column);
            if (!TXValidCell(cell))
                return {};
            rect = row < 0 ? extents.GetHeadCellRect(cell) : extents.GetCellRect(cell, row);
        } else {
            const int strip = column->VIndex();
            rect = row < 0 ? extents.GetHeadColRect(strip) : extents.GetColRect(strip, row);
        }
        if (row >= 0 && !rect.intersects(extents.GetDataRect()))
            return {};
        return QRect(grid->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }

    TwCell VisibleCell(const TwColumn *column) const
    {
        const TwCustomGrid *grid = Grid();
        const TwGroup *group = column->GroupObject();
        if (!group)
            return {};
        const std::vector<TwColumn *> &line = group->GetLines(column->Level());
        const auto found = std::find(line.begin(), line.end(), column);
        if (found == line.end())
            return {};
        return WCell(grid->Groups().IndexOfVisible(group), column->Level(), static_cast<int>(found - line.begin()));
    }

    // The column and the row of the current position.
    TwColumn *CurrentColumn() const { return Grid()->GetSelectedColumn(); }
    int CurrentRow() const { return Grid()->GetRowCount() > 0 ? Grid()->CurRow() : -1; }

    bool RowSelected(int row) const
    {
        TwCustomGrid *grid = Grid();
        return grid->GetSelectedCount() > 0 ? grid->GetSelected(row) : false;
    }

    int ChildIndex(int row, int column) const { return (row + 1) * columnCount() + column; }

    void DropCells()
    {
        for (const QAccessible::Id id : std::as_const(m_cells))
            QAccessible::deleteAccessibleInterface(id);
        m_cells.clear();
    }

    // QAccessibleInterface
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return (rowCount() + 1) * columnCount(); }
    QAccessibleInterface *child(int index) const override
    {
        const int columns = columnCount();
        if (columns == 0 || index < 0 || index >= childCount())
            return nullptr;
        return Cell(ColumnAt(index % columns), index / columns - 1);
    }
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override
    {
        TwCustomGrid *grid = Grid();
        const QPoint point = grid->viewport()->mapFromGlobal(QPoint(x, y));
        const std::vector<TwColumn *> columns = ReadingColumns();
        const int row = grid->d->m_extents->MouseToRow(point.y());
        for (TwColumn *column : columns) {
            if (CellRect(column, row).contains(QPoint(x, y)))
                return Cell(column, row);
            if (CellRect(column, -1).contains(QPoint(x, y)))
                return Cell(column, -1);
        }
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        TwColumn *column = CurrentColumn();
        const int row = CurrentRow();
        return column && row >= 0 ? Cell(column, row) : nullptr;
    }
    QString text(QAccessible::Text type) const override
    {
        QString text = QAccessibleWidget::text(type);
        if (type == QAccessible::Name && text.isEmpty())
            text = Grid()->objectName();
        return text;
    }

    // QAccessibleTableInterface
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < 0 || row >= rowCount())
            return nullptr;
        TwColumn *at = ColumnAt(column);
        return at ? Cell(at, row) : nullptr;
    }
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QList<QAccessibleInterface *> cells;
        const std::vector<TwColumn *> columns = ReadingColumns();
        for (int row : selectedRows()) {
            for (TwColumn *column : columns)
                cells << Cell(column, row);
        }
        return cells;
    }
    QString columnDescription(int column) const override
    {
        TwColumn *at = ColumnAt(column);
        return at ? at->Title().Caption() : QString();
    }
    QString rowDescription(int row) const override { return QString::number(row + 1); }
    int columnCount() const override { return static_cast<int>(ReadingColumns().size()); }
    int rowCount() const override { return Grid()->GetRowCount(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return Grid()->GetSelectedCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> rows;
        TwCustomGrid *grid = Grid();
        if (grid->GetSelectedCount() == 0)
            return rows;
        for (int row = 0; row < grid->GetRowCount(); ++row) {
            if (grid->GetSelected(row))
                rows << row;
        }
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override { return row >= 0 && row < rowCount() && RowSelected(row); }
    bool selectRow(int row) override
    {
        if (row < 0 || row >= rowCount() || !Grid()->Options().Has(wgoMultiSelect))
            return false;
        Grid()->SetSelected(row, true);
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override
    {
        if (row < 0 || row >= rowCount() || !Grid()->Options().Has(wgoMultiSelect))
            return false;
        Grid()->SetSelected(row, false);
        return true;
    }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override { DropCells(); }

private:
    struct TKey
    {
        const TwColumn *Column;
        int Row;
        bool operator==(const TKey &) const = default;
    };
    friend size_t qHash(const TKey &key, size_t seed) { return qHashMulti(seed, key.Column, key.Row); }

    mutable QHash<TKey, QAccessible::Id> m_cells;
};

namespace {

// One cell of the grid, or (row -1) the title of a column.
class TwGridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    TwGridCellAccessible(TwCustomGrid *grid, TwColumn *column, int row)
        : m_grid(grid)
        , m_column(column)
        , m_row(row)
    {
    }

    TwGridAccessible *Table() const
    {
        return m_grid ? static_cast<TwGridAccessible *>(QAccessible::queryAccessibleInterface(m_grid.data()))
                      : nullptr;
    }

    // QAccessibleInterface
    bool isValid() const override
    {
        return m_grid && m_column && m_row < m_grid->GetRowCount() && Table() && Table()->ColumnIndex(m_column) >= 0;
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return Table(); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text type) const override
    {
        if (!isValid())
            return {};
        switch (type) {
        case QAccessible::Name:
            return m_row < 0 ? m_column->Title().Caption() : Table()->DisplayText(m_column, m_row);
        case QAccessible::Description:
            // The title, and in group mode the group's caption before it.
            if (m_grid->GroupMode() && m_column->GroupObject())
                return m_column->GroupObject()->Title().Caption() + QStringLiteral(" / ") + m_column->Title().Caption();
            return m_column->Title().Caption();
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override { return isValid() ? Table()->CellRect(m_column, m_row) : QRect(); }
    QAccessible::Role role() const override { return m_row < 0 ? QAccessible::ColumnHeader : QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        if (rect().isEmpty())
            state.invisible = state.offscreen = true;
        if (m_row < 0)
            return state;
        TwGridAccessible *table = Table();
        state.focusable = true;
        state.selectable = true;
        state.readOnly = m_column->ReadOnly() || !m_grid->Options().Has(wgoEditing);
        const bool current = table->CurrentRow() == m_row && table->CurrentColumn() == m_column;
        state.selected = table->RowSelected(m_row) || current;
        state.focused = current && m_grid->hasFocus();
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface *>(this) : nullptr;
    }

    // QAccessibleTableCellInterface
    int columnExtent() const override { return 1; }
    QList<QAccessibleInterface *> columnHeaderCells() const override
    {
        if (m_row < 0 || !isValid())
            return {};
        return {Table()->Cell(m_column, -1)};
    }
    int columnIndex() const override { return isValid() ? Table()->ColumnIndex(m_column) : -1; }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int rowIndex() const override { return m_row; }
    bool isSelected() const override { return isValid() && m_row >= 0 && Table()->RowSelected(m_row); }
    QAccessibleInterface *table() const override { return Table(); }

    TwColumn *Column() const { return m_column; }
    int Row() const { return m_row; }

private:
    QPointer<TwCustomGrid> m_grid;
    QPointer<TwColumn> m_column;
    int m_row;
};

QAccessibleInterface *GridFactory(const QString &, QObject *object)
{
    // Asked for the most derived class first: any grid gets the table interface.
    if (auto *grid = qobject_cast<TwCustomGrid *>(object))
        return new TwGridAccessible(grid);
    return nullptr;
}

void InstallGridFactory()
{
    QAccessible::installFactory(GridFactory);
}
Q_CONSTRUCTOR_FUNCTION(InstallGridFactory)

TwGridAccessible *GridTableOf(TwCustomGrid *grid)
{
    if (!QAccessible::isActive())
        return nullptr;
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(grid);
    return face && face->tableInterface() ? static_cast<TwGridAccessible *>(face) : nullptr;
}

} // namespace

QAccessibleInterface *TwGridAccessible::Cell(TwColumn *column, int row) const
{
    if (!column)
        return nullptr;
    const TKey key{column, row};
    if (const auto found = m_cells.constFind(key); found != m_cells.cend()) {
        // A cell of a column that went is void, even when a new column took its address.
        auto *cell = static_cast<TwGridCellAccessible *>(QAccessible::accessibleInterface(*found));
        if (cell && cell->Column() == column)
            return cell;
        if (cell)
            QAccessible::deleteAccessibleInterface(*found);
        m_cells.erase(found);
    }
    auto *cell = new TwGridCellAccessible(Grid(), column, row);
    m_cells.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int TwGridAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child || child->parent() != this)
        return -1;
    const auto *cell = static_cast<const TwGridCellAccessible *>(child);
    const int column = ColumnIndex(cell->Column());
    return column < 0 ? -1 : ChildIndex(cell->Row(), column);
}

void TXAccessibleCurrentMoved(TwCustomGrid *grid)
{
    TwGridAccessible *table = GridTableOf(grid);
    if (!table)
        return;
    TwColumn *column = table->CurrentColumn();
    const int row = table->CurrentRow();
    const int index = column && row >= 0 ? table->ColumnIndex(column) : -1;
    if (index < 0)
        return;
    QAccessibleEvent focus(grid, QAccessible::Focus);
    focus.setChild(table->ChildIndex(row, index));
    QAccessible::updateAccessibility(&focus);
}

void TXAccessibleCellChanged(TwCustomGrid *grid, TwColumn *column, int row)
{
    TwGridAccessible *table = GridTableOf(grid);
    const int index = table ? table->ColumnIndex(column) : -1;
    if (index < 0)
        return;
    QAccessibleEvent changed(grid, QAccessible::NameChanged);
    changed.setChild(table->ChildIndex(row, index));
    QAccessible::updateAccessibility(&changed);
    QAccessibleTableModelChangeEvent data(grid, QAccessibleTableModelChangeEvent::DataChanged);
    data.setFirstRow(row);
    data.setLastRow(row);
    data.setFirstColumn(index);
    data.setLastColumn(index);
    QAccessible::updateAccessibility(&data);
}

void TXAccessibleReset(TwCustomGrid *grid)
{
    if (!GridTableOf(grid))
        return;
    QAccessibleTableModelChangeEvent reset(grid, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&reset);
}

void TXAccessibleSelectionChanged(TwCustomGrid *grid)
{
    if (!GridTableOf(grid))
        return;
    QAccessibleEvent selection(grid, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&selection);
}
