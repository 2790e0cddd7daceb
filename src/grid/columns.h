#pragma once

// The columns of a grid and their collection with its list of visible columns.

#include "grid/drawobjects.h"

#include <QDate>
#include <QStringList>

#include <memory>

class TwColumnPrivate;
class TwColumnsPrivate;
class TwColumns;
class TwGridOwner;
class TwDesignReader;
class TwDesignWriter;
class TwGroup;

/// One column: appearance, editing attributes and its place in the group structure.
/// Abstract: the data-store column supplies its edit kind, limits and character filter.
/// Owned by its collection (deleted by TwColumns::Delete or Clear, which first take it out
/// of its group); it owns its title, footer and list option.
class TABRIX_EXPORT TwColumn : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TwAlignment Alignment READ Alignment WRITE SetAlignment NOTIFY AlignmentChanged)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize NOTIFY AutoSizeChanged)
    Q_PROPERTY(TwCharCase CharCase READ CharCase WRITE SetCharCase NOTIFY CharCaseChanged)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor NOTIFY ColorChanged)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D NOTIFY Ctl3DChanged)
    Q_PROPERTY(TwEditBorderStyle EditBorder READ EditBorder WRITE SetEditBorder NOTIFY EditBorderChanged)
    Q_PROPERTY(bool EditButton READ EditButton WRITE SetEditButton NOTIFY EditButtonChanged)
    Q_PROPERTY(bool EditColor READ EditColor WRITE SetEditColor NOTIFY EditColorChanged)
    Q_PROPERTY(QString EditFormat READ EditFormat WRITE SetEditFormat NOTIFY EditFormatChanged)
    Q_PROPERTY(TwEditStyle EditStyle READ EditStyle WRITE SetEditStyle NOTIFY EditStyleChanged)
    Q_PROPERTY(bool EqualBlank READ EqualBlank WRITE SetEqualBlank NOTIFY EqualBlankChanged)
    Q_PROPERTY(TwFitStyle FitStyle READ FitStyle WRITE SetFitStyle NOTIFY FitStyleChanged)
    Q_PROPERTY(TwFont Font READ Font WRITE SetFont NOTIFY FontChanged)
    Q_PROPERTY(int Group READ Group WRITE SetGroup NOTIFY GroupChanged)
    Q_PROPERTY(TwImageLayout ImageLayout READ ImageLayout WRITE SetImageLayout NOTIFY ImageLayoutChanged)
    Q_PROPERTY(TwImeMode ImeMode READ ImeMode WRITE SetImeMode NOTIFY ImeModeChanged)
    Q_PROPERTY(QString ImeName READ ImeName WRITE SetImeName NOTIFY ImeNameChanged)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems NOTIFY ItemsChanged)
    Q_PROPERTY(TwTextLayout Layout READ Layout WRITE SetLayout NOTIFY LayoutChanged)
    Q_PROPERTY(int Level READ Level WRITE SetLevel NOTIFY LevelChanged)
    Q_PROPERTY(int LevelIndex READ LevelIndex WRITE SetLevelIndex NOTIFY LevelIndexChanged)
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom NOTIFY MarginBottomChanged)
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft NOTIFY MarginLeftChanged)
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight NOTIFY MarginRightChanged)
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop NOTIFY MarginTopChanged)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength NOTIFY MaxLengthChanged)
    Q_PROPERTY(QString MaxValue READ MaxValue WRITE SetMaxValue NOTIFY MaxValueChanged)
    Q_PROPERTY(QString MinValue READ MinValue WRITE SetMinValue NOTIFY MinValueChanged)
    Q_PROPERTY(int RadioColumns READ RadioColumns WRITE SetRadioColumns NOTIFY RadioColumnsChanged)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly NOTIFY ReadOnlyChanged)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent NOTIFY TransparentChanged)
    Q_PROPERTY(QStringList Values READ Values WRITE SetValues NOTIFY ValuesChanged)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible NOTIFY VisibleChanged)
    Q_PROPERTY(int Weight READ Weight WRITE SetWeight NOTIFY WeightChanged)
    Q_PROPERTY(int Width READ Width WRITE SetWidth NOTIFY WidthChanged)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap NOTIFY WordWrapChanged)

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
    /// The smallest and largest number the column's storage holds, for the number editor;
    /// false when it sets no bounds (texts, floating point). None here.
    virtual bool ValueRange(double &low, double &high) const;

    TwColumns *Collection() const;
    TwCustomGrid *Grid() const;
    int Index() const;
    /// Moves the column to another place in its collection, the order a stored design
    /// keeps; at design time the visible order follows it.
    void SetIndex(int value);
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
    void SetColor(const QColor &value);
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
    void SetMarginLeft(int value);
    void SetMarginTop(int value);
    void SetMarginRight(int value);
    void SetMarginBottom(int value);
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
    /// What the column tells its grid, and asks it; null outside a grid.
    TwGridOwner *GridOwner() const;
    /// The column's private state, for the data-store column's cell texts: the painter asks
    /// for one per visible cell, and reading the formats and lists in place spares a call
    /// and a string copy each.
    const TwColumnPrivate *ColumnData() const { return d.get(); }

    /// The caption the title gets when it is made; the title is not made for it, so a
    /// constructor may name its column without calling the part factories.
    void SetFirstCaption(const QString &caption);

    /// Factories of the owned parts, each called once, on the part's first use (never from
    /// a constructor), so that a derived column's override is the one that counts.
    virtual std::unique_ptr<TwColumnTitle> CreateTitle();
    virtual std::unique_ptr<TwColumnFooter> CreateFooter();
    virtual std::unique_ptr<TwColumnListOption> CreateListOption();

signals:
    void AlignmentChanged(TwAlignment value);
    void AutoSizeChanged(bool value);
    void CharCaseChanged(TwCharCase value);
    void ColorChanged(TColor value);
    void Ctl3DChanged(bool value);
    void EditBorderChanged(TwEditBorderStyle value);
    void EditButtonChanged(bool value);
    void EditColorChanged(bool value);
    void EditFormatChanged(const QString &value);
    void EditStyleChanged(TwEditStyle value);
    void EqualBlankChanged(bool value);
    void FitStyleChanged(TwFitStyle value);
    void FontChanged(const TwFont &value);
    void GroupChanged(int value);
    void ImageLayoutChanged(TwImageLayout value);
    void ImeModeChanged(TwImeMode value);
    void ImeNameChanged(const QString &value);
    void ItemsChanged(const QStringList &value);
    void LayoutChanged(TwTextLayout value);
    void LevelChanged(int value);
    void LevelIndexChanged(int value);
    void MarginBottomChanged(int value);
    void MarginLeftChanged(int value);
    void MarginRightChanged(int value);
    void MarginTopChanged(int value);
    void MaxLengthChanged(int value);
    void MaxValueChanged(const QString &value);
    void MinValueChanged(const QString &value);
    void RadioColumnsChanged(int value);
    void ReadOnlyChanged(bool value);
    void TransparentChanged(bool value);
    void ValuesChanged(const QStringList &value);
    void VisibleChanged(bool value);
    void WeightChanged(int value);
    void WidthChanged(int value);
    void WordWrapChanged(bool value);

private:
    void StoreMargin(int side, int value);
    friend class TwColumns;
    friend class TwGroup;
    friend class TwGroups;

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
    TwGridOwner *Owner() const;
    void Renumber();
    void InsertVisible(TwColumn *column, int position);
    void RemoveVisible(TwColumn *column);
    void MoveVisible(TwColumn *column, int position);

    Q_DECLARE_PRIVATE_D(d, TwColumns)
    std::unique_ptr<TwColumnsPrivate> d;
};
