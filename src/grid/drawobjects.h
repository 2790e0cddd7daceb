#pragma once

// The appearance objects of the grid: the draw-object base with its rule of assigned or
// inherited values, titles, column footers, line sets, the fixed-area style and the
// drop-down list options of a column.

#include "grid/gridenums.h"
#include "grid/uxgraphics.h"
#include "grid/uxlistoption.h"

#include <QObject>
#include <QPixmap>
#include <QStringList>

#include <memory>

class TwColumn;
class TwCustomGrid;
class TwDesignReader;
class TwDesignWriter;
class TwDrawObjectPrivate;
class TwTitlePrivate;
class TwColumnTitlePrivate;
class TwColumnFooterPrivate;
class TwGridLinesPrivate;
class TwGridLinesExPrivate;
class TwFixedStylePrivate;
class TwColumnListOptionPrivate;

/// Base of every drawable part. A value that was never assigned is taken from the
/// class's default provider; only assigned values that differ from their default are
/// stored with a design. A QObject for its properties, without a parent: its owner (a
/// column, a group, a footer row or the grid) deletes it.
class TABRIX_EXPORT TwDrawObject : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TwAlignment Alignment READ Alignment WRITE SetAlignment NOTIFY AlignmentChanged)
    Q_PROPERTY(TwCellStyle CellStyle READ CellStyle WRITE SetCellStyle NOTIFY CellStyleChanged)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor NOTIFY ColorChanged)
    Q_PROPERTY(TwFitStyle FitStyle READ FitStyle WRITE SetFitStyle NOTIFY FitStyleChanged)
    Q_PROPERTY(TwFont Font READ Font WRITE SetFont NOTIFY FontChanged)
    Q_PROPERTY(TwTextLayout Layout READ Layout WRITE SetLayout NOTIFY LayoutChanged)
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom NOTIFY MarginBottomChanged)
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft NOTIFY MarginLeftChanged)
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight NOTIFY MarginRightChanged)
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop NOTIFY MarginTopChanged)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap NOTIFY WordWrapChanged)

public:
    virtual ~TwDrawObject();

    /// Takes the source's values; each property that changes by it notifies once.
    virtual void Assign(const TwDrawObject &source);
    /// Repaints the part this object belongs to.
    virtual void Changed() = 0;
    virtual TwCustomGrid *GetGrid() const = 0;
    /// Fills DrawInfo from the object's values, just before painting.
    virtual void SetDrawInfo();

    TwObjectValues AssignedValues() const;
    bool IsAssigned(TwObjectValue value) const;

    TwAlignment Alignment() const;
    void SetAlignment(TwAlignment value);
    TwCellStyle CellStyle() const;
    void SetCellStyle(TwCellStyle value);
    TColor Color() const;
    void SetColor(TColor value);
    void SetColor(const QColor &value);
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

    /// Filled by SetDrawInfo.
    const TwDrawInfo &DrawInfo() const;

signals:
    void AlignmentChanged(TwAlignment value);
    void CellStyleChanged(TwCellStyle value);
    void ColorChanged(TColor value);
    void FitStyleChanged(TwFitStyle value);
    void FontChanged(const TwFont &value);
    void LayoutChanged(TwTextLayout value);
    void MarginBottomChanged(int value);
    void MarginLeftChanged(int value);
    void MarginRightChanged(int value);
    void MarginTopChanged(int value);
    void WordWrapChanged(bool value);

protected:
    TwDrawObject();
    TwDrawInfo &DrawInfoRef();
    void Mark(TwObjectValue value);

private:

    Q_DECLARE_PRIVATE_D(d, TwDrawObject)
    std::unique_ptr<TwDrawObjectPrivate> d;
};

/// A caption cell with an optional picture.
class TABRIX_EXPORT TwTitle : public TwDrawObject
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption NOTIFY CaptionChanged)
    Q_PROPERTY(bool Clicking READ Clicking WRITE SetClicking NOTIFY ClickingChanged)
    Q_PROPERTY(QPixmap Image READ Image WRITE SetImage NOTIFY ImageChanged)
    Q_PROPERTY(TwImageLayout ImageLayout READ ImageLayout WRITE SetImageLayout NOTIFY ImageLayoutChanged)

public:
    ~TwTitle() override;
    void Assign(const TwDrawObject &source) override;
    bool DefaultWordWrap() const override { return true; }
    TwCellStyle DefaultCellStyle() const override { return wcsRaised; }

    QString Caption() const;
    void SetCaption(const QString &value);
    bool Clicking() const;
    void SetClicking(bool value);
    QPixmap Image() const;
    void SetImage(const QPixmap &value);
    TwImageLayout ImageLayout() const;
    void SetImageLayout(TwImageLayout value);

signals:
    void CaptionChanged(const QString &value);
    void ClickingChanged(bool value);
    void ImageChanged(const QPixmap &value);
    void ImageLayoutChanged(TwImageLayout value);

protected:
    TwTitle();

private:
    Q_DECLARE_PRIVATE_D(d, TwTitle)
    std::unique_ptr<TwTitlePrivate> d;
};

/// The title of one column, owned by the column.
class TABRIX_EXPORT TwColumnTitle : public TwTitle
{
    Q_OBJECT
    Q_PROPERTY(TwSortMark SortMark READ SortMark WRITE SetSortMark NOTIFY SortMarkChanged)

public:
    ~TwColumnTitle() override;
    explicit TwColumnTitle(TwColumn *column);
    void Changed() override;
    TwCustomGrid *GetGrid() const override;
    TwFont DefaultFont() const override;
    int DefaultMarginLeft() const override;
    int DefaultMarginTop() const override;
    int DefaultMarginRight() const override;
    int DefaultMarginBottom() const override;

    TwColumn *Column() const;
    TwSortMark SortMark() const;
    void SetSortMark(TwSortMark value);

signals:
    void SortMarkChanged(TwSortMark value);

private:
    Q_DECLARE_PRIVATE_D(d, TwColumnTitle)
    std::unique_ptr<TwColumnTitlePrivate> d;
};

/// The footer cells of one column: one text per footer row of the grid. Owned by the column.
class TABRIX_EXPORT TwColumnFooter : public TwDrawObject
{
    Q_OBJECT

public:
    ~TwColumnFooter() override;
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
    const QStringList &ValueList() const;
    virtual QString GetText(int row) const;
    /// Whether footer row `row` is computed (nothing is, here).
    virtual bool Footering(int row);
    /// The grid's footer rows changed.
    virtual void FootersChanged();
    int GetIndex() const;
    TwColumn *Column() const;

    /// Design properties: the assigned appearance and the value texts; a derived footer
    /// adds its own.
    virtual void WriteDesign(TwDesignWriter &out) const;
    virtual void ReadDesign(const TwDesignReader &in);

private:
    Q_DECLARE_PRIVATE_D(d, TwColumnFooter)
    std::unique_ptr<TwColumnFooterPrivate> d;
};

/// The line set of a strip or area, owned by that strip's or area's object.
class TABRIX_EXPORT TwGridLines : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TColor HorzColor READ HorzColor WRITE SetHorzColor NOTIFY HorzColorChanged)
    Q_PROPERTY(TwPenStyle HorzStyle READ HorzStyle WRITE SetHorzStyle NOTIFY HorzStyleChanged)
    Q_PROPERTY(std::uint16_t HorzWidth READ HorzWidth WRITE SetHorzWidth NOTIFY HorzWidthChanged)
    Q_PROPERTY(TColor VertColor READ VertColor WRITE SetVertColor NOTIFY VertColorChanged)
    Q_PROPERTY(TwPenStyle VertStyle READ VertStyle WRITE SetVertStyle NOTIFY VertStyleChanged)
    Q_PROPERTY(std::uint16_t VertWidth READ VertWidth WRITE SetVertWidth NOTIFY VertWidthChanged)

public:
    using Notify = std::function<void()>;
    explicit TwGridLines(Notify changed = {});
    virtual ~TwGridLines();

    TColor HorzColor() const;
    void SetHorzColor(TColor value);
    void SetHorzColor(const QColor &value);
    TwPenStyle HorzStyle() const;
    void SetHorzStyle(TwPenStyle value);
    std::uint16_t HorzWidth() const;
    void SetHorzWidth(std::uint16_t value);
    TColor VertColor() const;
    void SetVertColor(TColor value);
    void SetVertColor(const QColor &value);
    TwPenStyle VertStyle() const;
    void SetVertStyle(TwPenStyle value);
    std::uint16_t VertWidth() const;
    void SetVertWidth(std::uint16_t value);

    /// Tells the owner that a line changed (it repaints).
    void Changed() const;
    void SetNotify(Notify changed);

signals:
    void HorzColorChanged(TColor value);
    void HorzStyleChanged(TwPenStyle value);
    void HorzWidthChanged(std::uint16_t value);
    void VertColorChanged(TColor value);
    void VertStyleChanged(TwPenStyle value);
    void VertWidthChanged(std::uint16_t value);

private:
    Q_DECLARE_PRIVATE_D(d, TwGridLines)
    std::unique_ptr<TwGridLinesPrivate> d;
};

/// Lines of a grouped area: also the lines between cells of a group line and between levels.
class TABRIX_EXPORT TwGridLinesEx : public TwGridLines
{
    Q_OBJECT
    Q_PROPERTY(TColor CellColor READ CellColor WRITE SetCellColor NOTIFY CellColorChanged)
    Q_PROPERTY(TwPenStyle CellStyle READ CellStyle WRITE SetCellStyle NOTIFY CellStyleChanged)
    Q_PROPERTY(std::uint16_t CellWidth READ CellWidth WRITE SetCellWidth NOTIFY CellWidthChanged)
    Q_PROPERTY(TColor LevelColor READ LevelColor WRITE SetLevelColor NOTIFY LevelColorChanged)
    Q_PROPERTY(TwPenStyle LevelStyle READ LevelStyle WRITE SetLevelStyle NOTIFY LevelStyleChanged)
    Q_PROPERTY(std::uint16_t LevelWidth READ LevelWidth WRITE SetLevelWidth NOTIFY LevelWidthChanged)

public:
    ~TwGridLinesEx() override;
    explicit TwGridLinesEx(Notify changed = {});

    TColor CellColor() const;
    void SetCellColor(TColor value);
    void SetCellColor(const QColor &value);
    TwPenStyle CellStyle() const;
    void SetCellStyle(TwPenStyle value);
    std::uint16_t CellWidth() const;
    void SetCellWidth(std::uint16_t value);
    TColor LevelColor() const;
    void SetLevelColor(TColor value);
    void SetLevelColor(const QColor &value);
    TwPenStyle LevelStyle() const;
    void SetLevelStyle(TwPenStyle value);
    std::uint16_t LevelWidth() const;
    void SetLevelWidth(std::uint16_t value);

signals:
    void CellColorChanged(TColor value);
    void CellStyleChanged(TwPenStyle value);
    void CellWidthChanged(std::uint16_t value);
    void LevelColorChanged(TColor value);
    void LevelStyleChanged(TwPenStyle value);
    void LevelWidthChanged(std::uint16_t value);

private:
    Q_DECLARE_PRIVATE_D(d, TwGridLinesEx)
    std::unique_ptr<TwGridLinesExPrivate> d;
};

/// The style of the fixed strips at the left. Owned by the grid for its whole life (a QObject
/// for its properties, without a parent: never delete it).
class TABRIX_EXPORT TwFixedStyle : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TwCellStyle CellStyle READ CellStyle WRITE SetCellStyle NOTIFY CellStyleChanged)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor NOTIFY ColorChanged)
    Q_PROPERTY(TwFixedOptions Options READ Options WRITE SetOptions NOTIFY OptionsChanged)
    Q_PROPERTY(TColor SelBgColor READ SelBgColor WRITE SetSelBgColor NOTIFY SelBgColorChanged)
    Q_PROPERTY(TColor SelFgColor READ SelFgColor WRITE SetSelFgColor NOTIFY SelFgColorChanged)

public:
    explicit TwFixedStyle(TwCustomGrid *grid);
    ~TwFixedStyle();
    TwFixedStyle(const TwFixedStyle &) = delete;
    TwFixedStyle &operator=(const TwFixedStyle &) = delete;

    TwCellStyle CellStyle() const;
    void SetCellStyle(TwCellStyle value);
    TColor Color() const;
    void SetColor(TColor value);
    void SetColor(const QColor &value);
    TwGridLinesEx &Lines();
    const TwGridLinesEx &Lines() const;
    TwFixedOptions Options() const;
    void SetOptions(TwFixedOptions value);
    TColor SelBgColor() const;
    void SetSelBgColor(TColor value);
    void SetSelBgColor(const QColor &value);
    TColor SelFgColor() const;
    void SetSelFgColor(TColor value);
    void SetSelFgColor(const QColor &value);

signals:
    void CellStyleChanged(TwCellStyle value);
    void ColorChanged(TColor value);
    void OptionsChanged(TwFixedOptions value);
    void SelBgColorChanged(TColor value);
    void SelFgColorChanged(TColor value);

private:
    void Changed();

    Q_DECLARE_PRIVATE_D(d, TwFixedStyle)
    std::unique_ptr<TwFixedStylePrivate> d;
};

/// The list settings of one column's list editors.
class TABRIX_EXPORT TwColumnListOption : public TwItemListOption
{
    Q_OBJECT
    Q_PROPERTY(bool ValuesOnly READ ValuesOnly WRITE SetValuesOnly NOTIFY ValuesOnlyChanged)

public:
    ~TwColumnListOption() override;
    explicit TwColumnListOption(TwColumn *column);
    void Assign(const TwListoption &source) override;
    /// Both default fonts are the column's font.
    TwFont DefaultFont() const override;
    TwFont DefaultTitleFont() const override;

    const TwImageList *Images() const;
    void SetImages(const TwImageList *images);
    bool ValuesOnly() const;
    void SetValuesOnly(bool value);

signals:
    void ValuesOnlyChanged(bool value);

protected:
    void Changed() override;

private:
    Q_DECLARE_PRIVATE_D(d, TwColumnListOption)
    std::unique_ptr<TwColumnListOptionPrivate> d;
};
