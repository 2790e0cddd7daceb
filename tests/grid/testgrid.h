#pragma once

#include "grid/customgrid.h"
#include "grid/core/extents.h"

#include <QPixmap>

/// A data column whose kind the test chooses.
class TestColumn : public TwColumn
{
public:
    using TwColumn::TwColumn;
    TwEditKind GetEditKind() const override { return Kind; }
    int GetEditLimit() const override { return 0; }
    int GetDefWidth() const override { return DefWidth; }
    bool IsGraphic() const override { return Graphic; }
    bool IsNumeric() const override { return Numeric; }
    bool IsValidChar(QChar) const override { return true; }

    TwEditKind Kind = wekText;
    int DefWidth = 10;
    bool Graphic = false;
    bool Numeric = false;
};

/// The grid core with rows only as a count, as the geometry sees them.
class TestGrid : public TwCustomGrid
{
public:
    using TwCustomGrid::Extents;
    int RowCount = 0;
    int TopRow = 0;

    int GetImageIndex(TwColumn *, int) override { return -1; }
    bool EnableDeleting() override { return false; }
    bool CheckNull(TwColumn *, int) override { return true; }
    bool CheckBool(TwColumn *, int) override { return false; }
    int CheckList(TwColumn *, int) override { return -1; }
    void DoInRow(Qt::KeyboardModifiers) override {}
    QString GetDisplayText(TwColumn *, int) override { return {}; }
    QPixmap GetDisplayImage(TwColumn *, int) override { return {}; }
    QVariant GetEditValue(TwColumn *) override { return {}; }
    TwIndiState GetIndiState(int) override { return windiNone; }
    int GetVertRange() override { return RowCount; }
    bool EnableRowNo() override { return true; }
    bool IsLastRow(int row) override { return row == RowCount - 1; }
    bool Edit() override { return false; }
    void Delete() override {}
    void InsertFirst() override {}
    QWidget *CreateDataListEditor() override { return nullptr; }
    QWidget *CreateLookupListEditor() override { return nullptr; }
    void MemoDlgOk(const QString &) override {}
    void ImgDlgOk(const QPixmap &) override {}
    void SetCurRow(int) override {}
    int GetRowCount() const override { return RowCount; }
    void SetRowCount(int count) override { RowCount = count; }
    int GetRowNo(int row) override { return row + 1; }
    TwGridMode GetGridMode() const override { return wgmBrowse; }
    int GetTopRow() const override { return TopRow; }
    void ClearSelection() override {}
    void DeleteSelection() override {}
    std::unique_ptr<TwColumn> NewColumn(TwColumns *collection) override
    {
        return std::make_unique<TestColumn>(collection);
    }

    TestColumn *AddColumn(const QString &caption = {}, int width = 64)
    {
        auto *column = static_cast<TestColumn *>(Columns().Add());
        column->Title().SetCaption(caption);
        column->SetWidth(width);
        return column;
    }
};
