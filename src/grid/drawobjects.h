#pragma once

// The appearance objects of the grid: the draw-object base with its rule of assigned or
// inherited values, titles, column footers, line sets, the fixed-area style and the
// drop-down list options of a column.

#include "grid/gridenums.h"
#include "grid/uxgraphics.h"

#include <QPixmap>
#include <QStringList>

class TwColumn;
class TwCustomGrid;
class TwDesignReader;
class TwDesignWriter;

/// Base of every drawable part. A value that was never assigned is taken from the
/// class's default provider; only assigned values that differ from their default are
/// stored with a design.
class TABRIX_EXPORT TwDrawObject
{
public:
    virtual ~TwDrawObject();

    virtual void Assign(const TwDrawObject &source);
    /// Repaints the part this object belongs to.
    virtual void Changed() = 0;
    virtual TwCustomGrid *GetGrid() const = 0;
    /// Fills DrawInfo from the object's values, just before painting.
    virtual void SetDrawInfo();

    TwObjectValues AssignedValues() const { return m_assigned; }
    bool IsAssigned(TwObjectValue value) const { return m_assigned.Has(value); }

    TwAlignment Alignment() const;
    void SetAlignment(TwAlignment value);
    TwCellStyle CellStyle() const { return m_cellStyleStored ? m_cellStyle : DefaultCellStyle(); }
    void SetCellStyle(TwCellStyle value);
    TColor Color() const;
    void SetColor(TColor value);
    TwFitStyle FitStyle() const;
    void SetFitStyle(TwFitStyle value);
    TwFont Font() const;
    void SetFont(const TwFont &value);
    TwTextLayout Layout() const;
    void SetLayout(TwTextLayout value);
    int MarginLeft() const;
    int MarginTop() const;
    int MarginRight() const;
    int MarginBottom() const;
    void SetMarginLeft(int value);
    void SetMarginTop(int value);
    void SetMarginRight(int value);
    void SetMarginBottom(int value);
    /// Replaces all four margins (left, top, right, bottom) in one step.
    void SetMarginRect(int left, int top, int right, int bottom);
    bool WordWrap() const;
    void SetWordWrap(bool value);

    virtual TwAlignment DefaultAlignment() const { return taCenter; }
    virtual TColor DefaultColor() const { return clBtnFace; }
    virtual TwFitStyle DefaultFitStyle() const { return wfitNone; }
    virtual TwFont DefaultFont() const;
    virtual TwTextLayout DefaultLayout() const { return tlCenter; }
    virtual int DefaultMarginLeft() const { return 0; }
    virtual int DefaultMarginTop() const { return 0; }
    virtual int DefaultMarginRight() const { return 0; }
    virtual int DefaultMarginBottom() const { return 0; }
    virtual bool DefaultWordWrap() const { return false; }
    virtual TwCellStyle DefaultCellStyle() const { return wcsNormal; }

    TwDrawInfo DrawInfo{};

protected:
    TwDrawObject();
    void Mark(TwObjectValue value) { m_assigned.Include(value); }

private:
    friend class TwGridStream;
    TwObjectValues m_assigned;
    TwFont m_font;
    TwAlignment m_alignment = taCenter;
    TwCellStyle m_cellStyle = wcsNormal;
    bool m_cellStyleStored = false;
    TColor m_color = clBtnFace;
    TwFitStyle m_fitStyle = wfitNone;
    TwTextLayout m_layout = tlCenter;
    int m_margins[4] = {0, 0, 0, 0};
    bool m_wordWrap = false;
};

/// A caption cell with an optional picture.
class TABRIX_EXPORT TwTitle : public TwDrawObject
{
public:
    void Assign(const TwDrawObject &source) override;
    bool DefaultWordWrap() const override { return true; }
    TwCellStyle DefaultCellStyle() const override { return wcsRaised; }

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &value);
    bool Clicking() const { return m_clicking; }
    void SetClicking(bool value) { m_clicking = value; }
    QPixmap Image() const { return m_image; }
    void SetImage(const QPixmap &value);
    TwImageLayout ImageLayout() const { return m_imageLayout; }
    void SetImageLayout(TwImageLayout value);

protected:
    TwTitle();

private:
    QString m_caption;
    bool m_clicking = false;
    QPixmap m_image;
    TwImageLayout m_imageLayout = wimgNone;
};

/// The title of one column.
class TABRIX_EXPORT TwColumnTitle : public TwTitle
{
public:
    explicit TwColumnTitle(TwColumn *column);
    void Changed() override;
    TwCustomGrid *GetGrid() const override;
    TwFont DefaultFont() const override;
    int DefaultMarginLeft() const override;
    int DefaultMarginTop() const override;
    int DefaultMarginRight() const override;
    int DefaultMarginBottom() const override;

    TwColumn *Column() const { return m_column; }
    TwSortMark SortMark() const { return m_sortMark; }
    void SetSortMark(TwSortMark value);

private:
    TwColumn *m_column;
    TwSortMark m_sortMark = wsmNone;
};

/// The footer cells of one column: one text per footer row of the grid.
class TABRIX_EXPORT TwColumnFooter : public TwDrawObject
{
public:
    explicit TwColumnFooter(TwColumn *column);
    void Changed() override;
    TwCustomGrid *GetGrid() const override;
    TwAlignment DefaultAlignment() const override;
    TwFitStyle DefaultFitStyle() const override;
    TwFont DefaultFont() const override;
    TwTextLayout DefaultLayout() const override;
    int DefaultMarginLeft() const override;
    int DefaultMarginTop() const override;
    int DefaultMarginRight() const override;
    int DefaultMarginBottom() const override;
    bool DefaultWordWrap() const override;
    TwCellStyle DefaultCellStyle() const override { return wcsSunken; }

    QString GetValues(int row) const;
    /// Fails with "Bound Error in TwColumnFooter.SetValues(i)" outside the footer rows.
    void SetValues(int row, const QString &text);
    const QStringList &ValueList() const { return m_values; }
    virtual QString GetText(int row) const;
    /// Whether footer row `row` is computed (nothing is, here).
    virtual bool Footering(int row);
    /// The grid's footer rows changed.
    virtual void FootersChanged();
    int GetIndex() const;
    TwColumn *Column() const { return m_column; }

    /// Design properties: the assigned appearance and the value texts; a derived footer
    /// adds its own.
    virtual void WriteDesign(TwDesignWriter &out) const;
    virtual void ReadDesign(const TwDesignReader &in);

private:
    TwColumn *m_column;
    QStringList m_values;
};

/// The line set of a strip or area.
class TABRIX_EXPORT TwGridLines
{
public:
    using Notify = std::function<void()>;
    explicit TwGridLines(Notify changed = {});
    virtual ~TwGridLines();

    TColor HorzColor = clBlack;
    TwPenStyle HorzStyle = psSolid;
    std::uint16_t HorzWidth = 1;
    TColor VertColor = clBlack;
    TwPenStyle VertStyle = psSolid;
    std::uint16_t VertWidth = 1;

    /// Tells the owner that a line changed (it repaints).
    void Changed() const;
    void SetNotify(Notify changed) { m_changed = std::move(changed); }

private:
    Notify m_changed;
};

/// Lines of a grouped area: also the lines between cells of a group line and between levels.
class TABRIX_EXPORT TwGridLinesEx : public TwGridLines
{
public:
    explicit TwGridLinesEx(Notify changed = {});

    TColor CellColor = clSilver;
    TwPenStyle CellStyle = psSolid;
    std::uint16_t CellWidth = 1;
    TColor LevelColor = clSilver;
    TwPenStyle LevelStyle = psSolid;
    std::uint16_t LevelWidth = 1;
};

/// The style of the fixed strips at the left.
class TABRIX_EXPORT TwFixedStyle
{
public:
    explicit TwFixedStyle(TwCustomGrid *grid);

    TwCellStyle CellStyle() const { return m_cellStyle; }
    void SetCellStyle(TwCellStyle value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    TwGridLinesEx &Lines() { return m_lines; }
    const TwGridLinesEx &Lines() const { return m_lines; }
    TwFixedOptions Options() const { return m_options; }
    void SetOptions(TwFixedOptions value);
    TColor SelBgColor() const { return m_selBgColor; }
    void SetSelBgColor(TColor value);
    TColor SelFgColor() const { return m_selFgColor; }
    void SetSelFgColor(TColor value);

private:
    void Changed();

    TwCustomGrid *m_grid;
    TwCellStyle m_cellStyle = wcsRaised;
    TColor m_color = clBtnFace;
    TwGridLinesEx m_lines;
    TwFixedOptions m_options;
    TColor m_selBgColor = clBtnShadow;
    TColor m_selFgColor = clWhite;
};

/// Settings of a drop-down item list: its columns of texts, sizes and fonts.
class TABRIX_EXPORT TwItemListOption
{
public:
    virtual ~TwItemListOption();

    int DropDownCount = 8;
    int DropDownWidth = 0;
    QStringList ColumnWidths;
    QStringList Titles;
    bool ShowTitles = false;
    int ValuesIndex = 0;
    /// Splits an item line into the list's columns of text.
    QChar Separator = QLatin1Char(';');
    TwFont ListFont() const { return m_listFontAssigned ? m_listFont : DefaultFont(); }
    void SetListFont(const TwFont &font);
    TwFont TitleFont() const { return m_titleFontAssigned ? m_titleFont : DefaultFont(); }
    void SetTitleFont(const TwFont &font);
    bool ListFontAssigned() const { return m_listFontAssigned; }
    bool TitleFontAssigned() const { return m_titleFontAssigned; }
    void SetValuesIndex(int value);
    virtual TwFont DefaultFont() const;

protected:
    virtual void Changed() {}

private:
    TwFont m_listFont;
    TwFont m_titleFont;
    bool m_listFontAssigned = false;
    bool m_titleFontAssigned = false;
};

/// The list settings of one column's list editors.
class TABRIX_EXPORT TwColumnListOption : public TwItemListOption
{
public:
    explicit TwColumnListOption(TwColumn *column);
    TwFont DefaultFont() const override;

    const TwImageList *Images() const { return m_images; }
    void SetImages(const TwImageList *images) { m_images = images; }
    bool ValuesOnly = true;

protected:
    void Changed() override;

private:
    TwColumn *m_column;
    const TwImageList *m_images = nullptr;
};
