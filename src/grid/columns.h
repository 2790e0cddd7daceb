#pragma once

// The columns of a grid and their collection with its list of visible columns.

#include "grid/drawobjects.h"

#include <QDate>
#include <QStringList>

#include <memory>

class TwColumnPrivate;
class TwColumnsPrivate;
class TwColumns;
class TwDesignReader;
class TwDesignWriter;
class TwGroup;

/// One column: appearance, editing attributes and its place in the group structure.
/// Abstract: the data-store column supplies its edit kind, limits and character filter.
/// Owned by its collection (deleted by TwColumns::Delete or Clear, which first take it out
/// of its group); it owns its title, footer and list option.
class TABRIX_EXPORT TwColumn
{
public:
    explicit TwColumn(TwColumns *collection);
    virtual ~TwColumn();
    TwColumn(const TwColumn &) = delete;
    TwColumn &operator=(const TwColumn &) = delete;

    // Supplied by the data-store column.
    virtual TwEditKind GetEditKind() const = 0;
    virtual int GetEditLimit() const = 0;
    virtual int GetDefWidth() const = 0;
    virtual bool IsGraphic() const = 0;
    virtual bool IsNumeric() const = 0;
    virtual bool IsValidChar(QChar key) const = 0;

    virtual bool CanEditShow() const;
    virtual bool CanSelect() const;
    virtual bool EditCanModify() const;
    virtual QString GetBoolStr(bool value) const;
    virtual QString GetBoolText(bool value) const;

    TwColumns *Collection() const;
    TwCustomGrid *Grid() const;
    int Index() const;
    QString GetDisplayName() const;

    // Appearance.
    TwAlignment Alignment() const;
    void SetAlignment(TwAlignment value);
    TwAlignment DefaultAlignment() const;
    TwColumnValues AssignedValues() const;
    TwFont Font() const;
    void SetFont(const TwFont &value);
    TwFont DefaultFont() const;
    TColor Color() const;
    void SetColor(TColor value);
    TwFitStyle FitStyle() const;
    void SetFitStyle(TwFitStyle value);
    TwTextLayout Layout() const;
    void SetLayout(TwTextLayout value);
    bool WordWrap() const;
    void SetWordWrap(bool value);
    /// Side 0 = left, 1 = top, 2 = right, 3 = bottom; any other side fails with
    /// "Margin side bounds error[side]".
    int Margin(int side) const;
    int MarginLeft() const;
    int MarginTop() const;
    int MarginRight() const;
    int MarginBottom() const;
    void SetMargin(int side, int value);
    TwImageLayout ImageLayout() const;
    void SetImageLayout(TwImageLayout value);
    const TwImageList *Images() const;
    void SetImages(const TwImageList *value);
    bool Transparent() const;
    void SetTransparent(bool value);
    bool EqualBlank() const;
    void SetEqualBlank(bool value);
    bool AutoSize() const;
    void SetAutoSize(bool value);
    bool Ctl3D() const;
    void SetCtl3D(bool value);

    // Editing.
    TwCharCase CharCase() const;
    void SetCharCase(TwCharCase value);
    TwEditBorderStyle EditBorder() const;
    void SetEditBorder(TwEditBorderStyle value);
    bool EditButton() const;
    void SetEditButton(bool value);
    bool EditColor() const;
    void SetEditColor(bool value);
    QString EditFormat() const;
    void SetEditFormat(const QString &value);
    TwEditStyle EditStyle() const;
    void SetEditStyle(TwEditStyle value);
    TwImeMode ImeMode() const;
    void SetImeMode(TwImeMode value);
    QString ImeName() const;
    void SetImeName(const QString &value);
    int MaxLength() const;
    void SetMaxLength(int value);
    QString MaxValue() const;
    void SetMaxValue(const QString &value);
    QString MinValue() const;
    void SetMinValue(const QString &value);
    int RadioColumns() const;
    void SetRadioColumns(int value);
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    const QStringList &Items() const;
    void SetItems(const QStringList &value);
    const QStringList &Values() const;
    void SetValues(const QStringList &value);

    bool ItemsMode() const;
    int GetPrecision() const;
    bool HasThousandSep() const;
    double GetMinNum() const;
    double GetMaxNum() const;
    QDate GetMinDate() const;
    QDate GetMaxDate() const;

    // Owned parts: the column owns its title, footer and list option for its lifetime;
    // references stay valid as long as the column lives.
    TwColumnTitle &Title();
    const TwColumnTitle &Title() const;
    TwColumnFooter &Footer();
    const TwColumnFooter &Footer() const;
    TwColumnListOption &ListOption();
    const TwColumnListOption &ListOption() const;

    // Place and size.
    bool Visible() const;
    void SetVisible(bool value);
    int VIndex() const;
    void SetVIndex(int value);
    int Group() const;
    void SetGroup(int value);
    int Level() const;
    void SetLevel(int value);
    int LevelIndex() const;
    void SetLevelIndex(int value);
    void SetCell(const TwCell &cell);
    TwCell GetCell() const;
    TwCell GetVCell() const;
    TwGroup *GroupObject() const;
    int Width() const;
    void SetWidth(int value);
    int ColWidth() const;
    int GrpWidth() const;
    int Weight() const;
    void SetWeight(int value);
    int LeftOffset() const;
    int RightOffset() const;

    /// Filled by SetDrawInfo just before painting.
    const TwDrawInfo &DrawInfo() const;
    void SetDrawInfo();

    /// Repaints the column's strip.
    void Changed();

    /// Design properties: each column class writes its own, a value only when it was
    /// assigned and differs from its default, and reads them back through its setters,
    /// failing with the property's name on a value its setter would not keep.
    virtual void WriteDesign(TwDesignWriter &out) const;
    virtual void ReadDesign(const TwDesignReader &in);

protected:
    /// The column's private state, for the data-store column's cell texts: the painter asks
    /// for one per visible cell, and reading the formats and lists in place spares a call
    /// and a string copy each.
    const TwColumnPrivate *ColumnData() const { return d.get(); }

    /// Factories of the owned parts, each called once, on the part's first use (never from
    /// a constructor), so that a derived column's override is the one that counts.
    virtual std::unique_ptr<TwColumnTitle> CreateTitle();
    virtual std::unique_ptr<TwColumnFooter> CreateFooter();
    virtual std::unique_ptr<TwColumnListOption> CreateListOption();

private:
    friend class TwColumns;
    friend class TwGroup;
    friend class TwGroups;
    void KeepCurrentAfterMove(bool wasCurrent);

    Q_DECLARE_PRIVATE_D(d, TwColumn)
    std::unique_ptr<TwColumnPrivate> d;
};

/// The owned, ordered columns of a grid and the visible ones in display order. Owned by the
/// grid for its whole life: made once by the grid's CreateColumns and never replaced.
/// Items() and GetVItems() fail with the library's exception outside their range.
class TABRIX_EXPORT TwColumns
{
public:
    explicit TwColumns(TwCustomGrid *grid);
    ~TwColumns();

    TwCustomGrid *Grid() const;
    /// A new column of the grid's column class, appended.
    TwColumn *Add();
    void Delete(int index);
    void Clear();
    int Count() const;
    TwColumn *Items(int index) const;

    int GetVCount() const;
    /// Fails with "TwColumns Bounds Error in GetVItems(i)" outside the visible positions.
    TwColumn *GetVItems(int index) const;
    int IndexOfVisible(const TwColumn *column) const;
    void InitVIndices();

    int FirstCol() const;
    int LastCol() const;
    int NextCol(int position) const;
    int PrevCol(int position) const;

    void RestoreWidths();
    void RestoreFonts();
    void RestoreColumnsFonts();

    void BeginUpdate();
    void EndUpdate();
    bool Updating() const;
    /// A change of one column (or of the whole collection when null).
    void Update(TwColumn *column);

private:
    friend class TwColumn;
    void Renumber();
    void InsertVisible(TwColumn *column, int position);
    void RemoveVisible(TwColumn *column);
    void MoveVisible(TwColumn *column, int position);

    Q_DECLARE_PRIVATE_D(d, TwColumns)
    std::unique_ptr<TwColumnsPrivate> d;
};
