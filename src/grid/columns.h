#pragma once

// The columns of a grid and their collection with its list of visible columns.

#include "grid/drawobjects.h"

#include <QDate>
#include <QStringList>

#include <memory>
#include <vector>

class TwColumns;
class TwDesignReader;
class TwDesignWriter;
class TwGroup;

/// One column: appearance, editing attributes and its place in the group structure.
/// Abstract: the data-store column supplies its edit kind, limits and character filter.
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

    TwColumns *Collection() const { return m_collection; }
    TwCustomGrid *Grid() const;
    int Index() const;
    QString GetDisplayName() const;

    // Appearance.
    TwAlignment Alignment() const;
    void SetAlignment(TwAlignment value);
    TwAlignment DefaultAlignment() const;
    TwColumnValues AssignedValues() const { return m_assigned; }
    TwFont Font() const;
    void SetFont(const TwFont &value);
    TwFont DefaultFont() const;
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    TwFitStyle FitStyle() const { return m_fitStyle; }
    void SetFitStyle(TwFitStyle value);
    TwTextLayout Layout() const { return m_layout; }
    void SetLayout(TwTextLayout value);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);
    /// Side 0 = left, 1 = top, 2 = right, 3 = bottom; any other side fails with
    /// "Margin side bounds error[side]".
    int Margin(int side) const;
    int MarginLeft() const { return m_margins[0]; }
    int MarginTop() const { return m_margins[1]; }
    int MarginRight() const { return m_margins[2]; }
    int MarginBottom() const { return m_margins[3]; }
    void SetMargin(int side, int value);
    TwImageLayout ImageLayout() const { return m_imageLayout; }
    void SetImageLayout(TwImageLayout value);
    const TwImageList *Images() const { return m_images; }
    void SetImages(const TwImageList *value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    bool EqualBlank() const { return m_equalBlank; }
    void SetEqualBlank(bool value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool value);

    // Editing.
    TwCharCase CharCase() const { return m_charCase; }
    void SetCharCase(TwCharCase value) { m_charCase = value; }
    TwEditBorderStyle EditBorder() const { return m_editBorder; }
    void SetEditBorder(TwEditBorderStyle value);
    bool EditButton() const { return m_editButton; }
    void SetEditButton(bool value);
    bool EditColor() const { return m_editColor; }
    void SetEditColor(bool value);
    QString EditFormat() const { return m_editFormat; }
    void SetEditFormat(const QString &value);
    TwEditStyle EditStyle() const { return m_editStyle; }
    void SetEditStyle(TwEditStyle value);
    TwImeMode ImeMode() const;
    void SetImeMode(TwImeMode value);
    QString ImeName() const;
    void SetImeName(const QString &value);
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int value);
    QString MaxValue() const { return m_maxValue; }
    void SetMaxValue(const QString &value) { m_maxValue = value; }
    QString MinValue() const { return m_minValue; }
    void SetMinValue(const QString &value) { m_minValue = value; }
    int RadioColumns() const { return m_radioColumns; }
    void SetRadioColumns(int value);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value);
    const QStringList &Items() const { return m_items; }
    void SetItems(const QStringList &value);
    const QStringList &Values() const { return m_values; }
    void SetValues(const QStringList &value);

    bool ItemsMode() const;
    int GetPrecision() const;
    bool HasThousandSep() const;
    double GetMinNum() const;
    double GetMaxNum() const;
    QDate GetMinDate() const;
    QDate GetMaxDate() const;

    // Owned parts.
    TwColumnTitle &Title() { return *m_title; }
    const TwColumnTitle &Title() const { return *m_title; }
    TwColumnFooter &Footer() { return *m_footer; }
    const TwColumnFooter &Footer() const { return *m_footer; }
    TwColumnListOption &ListOption() { return *m_listOption; }
    const TwColumnListOption &ListOption() const { return *m_listOption; }

    // Place and size.
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    int VIndex() const;
    void SetVIndex(int value);
    int Group() const { return m_group; }
    void SetGroup(int value);
    int Level() const { return m_level; }
    void SetLevel(int value);
    int LevelIndex() const { return m_levelIndex; }
    void SetLevelIndex(int value);
    void SetCell(const TwCell &cell);
    TwCell GetCell() const;
    TwCell GetVCell() const;
    TwGroup *GroupObject() const;
    int Width() const;
    void SetWidth(int value);
    int ColWidth() const { return m_colWidth; }
    int GrpWidth() const { return m_grpWidth; }
    int Weight() const;
    void SetWeight(int value);
    int LeftOffset() const { return m_left; }
    int RightOffset() const { return m_right; }

    TwDrawInfo DrawInfo{};
    void SetDrawInfo();

    /// Repaints the column's strip.
    void Changed();

    /// Design properties: each column class writes its own, a value only when it was
    /// assigned and differs from its default, and reads them back through its setters,
    /// failing with the property's name on a value its setter would not keep.
    virtual void WriteDesign(TwDesignWriter &out) const;
    virtual void ReadDesign(const TwDesignReader &in);

protected:
    virtual std::unique_ptr<TwColumnTitle> CreateTitle();
    virtual std::unique_ptr<TwColumnFooter> CreateFooter();
    virtual std::unique_ptr<TwColumnListOption> CreateListOption();
    /// Creates the owned parts through the factories; a derived column calls it again
    /// from its own constructor when it substitutes a part.
    void CreateParts();

private:
    friend class TwColumns;
    friend class TwGroup;
    friend class TwGroups;
    friend class TwGridStream;
    void KeepCurrentAfterMove(bool wasCurrent);

    TwColumns *m_collection;
    int m_index = -1;
    TwColumnValues m_assigned;
    TwFont m_font;
    TwAlignment m_alignment = taLeftJustify;
    TwImeMode m_imeMode = imDontCare;
    QString m_imeName;
    bool m_autoSize = true;
    TwCharCase m_charCase = ecNormal;
    TColor m_color = clWhite;
    bool m_ctl3D = true;
    TwEditBorderStyle m_editBorder = webSingle;
    bool m_editButton = false;
    bool m_editColor = false;
    QString m_editFormat;
    TwEditStyle m_editStyle = wesDefault;
    bool m_equalBlank = false;
    TwFitStyle m_fitStyle = wfitNone;
    int m_group = -1;
    TwImageLayout m_imageLayout = wimgNone;
    const TwImageList *m_images = nullptr;
    QStringList m_items;
    TwTextLayout m_layout = tlCenter;
    int m_level = 0;
    int m_levelIndex = 0;
    int m_margins[4] = {1, 1, 1, 1};
    int m_maxLength = 0;
    QString m_maxValue;
    QString m_minValue;
    int m_radioColumns = 1;
    bool m_readOnly = false;
    bool m_transparent = false;
    QStringList m_values;
    bool m_visible = true;
    bool m_wordWrap = false;
    int m_colWidth = 64;
    int m_grpWidth = 64;
    int m_savedGrpWidth = 64;
    int m_left = 0;
    int m_right = 0;
    int m_lastVIndex = 0;
    std::unique_ptr<TwColumnTitle> m_title;
    std::unique_ptr<TwColumnFooter> m_footer;
    std::unique_ptr<TwColumnListOption> m_listOption;
};

/// The owned, ordered columns of a grid and the visible ones in display order.
class TABRIX_EXPORT TwColumns
{
public:
    explicit TwColumns(TwCustomGrid *grid);
    ~TwColumns();

    TwCustomGrid *Grid() const { return m_grid; }
    /// A new column of the grid's column class, appended.
    TwColumn *Add();
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(m_items.size()); }
    TwColumn *Items(int index) const { return m_items.at(static_cast<std::size_t>(index)).get(); }

    int GetVCount() const { return static_cast<int>(m_visible.size()); }
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

    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate();
    bool Updating() const { return m_updateCount > 0; }
    /// A change of one column (or of the whole collection when null).
    void Update(TwColumn *column);

private:
    friend class TwColumn;
    void Renumber();
    void InsertVisible(TwColumn *column, int position);
    void RemoveVisible(TwColumn *column);
    void MoveVisible(TwColumn *column, int position);

    TwCustomGrid *m_grid;
    std::vector<std::unique_ptr<TwColumn>> m_items;
    std::vector<TwColumn *> m_visible;
    int m_updateCount = 0;
};
