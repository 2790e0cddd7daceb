#pragma once

// The header band, the footer rows, the indicator strip and the marker strip.

#include "grid/drawobjects.h"

#include <memory>

class TwGridFooter;
class TwHeaderTitlePrivate;
class TwGridHeadersPrivate;
class TwFooterTitlePrivate;
class TwGridFooterPrivate;
class TwGridFootersPrivate;
class TwIndicatorsPrivate;
class TwMarkersPrivate;
class TwGridFooters;

/// The title cell above the indicator and marker strips, owned by the header band.
class TABRIX_EXPORT TwHeaderTitle : public TwTitle
{
    Q_OBJECT

public:
    explicit TwHeaderTitle(TwCustomGrid *grid);
    ~TwHeaderTitle() override;
    void Changed() override;
    TwCustomGrid *GetGrid() const override;

private:
    Q_DECLARE_PRIVATE_D(d, TwHeaderTitle)
    std::unique_ptr<TwHeaderTitlePrivate> d;
};

/// The header band: its heights of both modes, lines and title. Owned by the grid for its
/// whole life (a QObject for its properties, without a parent: never delete it).
class TABRIX_EXPORT TwGridHeaders : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int ColHeight READ ColHeight WRITE SetColHeight NOTIFY ColHeightChanged)
    Q_PROPERTY(int GrpHeight READ GrpHeight WRITE SetGrpHeight NOTIFY GrpHeightChanged)
    Q_PROPERTY(bool Sizing READ Sizing WRITE SetSizing NOTIFY SizingChanged)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible NOTIFY VisibleChanged)

public:
    explicit TwGridHeaders(TwCustomGrid *grid);
    ~TwGridHeaders();
    TwGridHeaders(const TwGridHeaders &) = delete;
    TwGridHeaders &operator=(const TwGridHeaders &) = delete;

    /// The height of the current mode.
    int Height() const;
    void SetHeight(int value);
    int ColHeight() const;
    void SetColHeight(int value);
    int GrpHeight() const;
    void SetGrpHeight(int value);
    TwGridLinesEx &Lines();
    const TwGridLinesEx &Lines() const;
    TwHeaderTitle &Title();
    const TwHeaderTitle &Title() const;
    bool Sizing() const;
    void SetSizing(bool value);
    bool Visible() const;
    void SetVisible(bool value);

signals:
    void ColHeightChanged(int value);
    void GrpHeightChanged(int value);
    void SizingChanged(bool value);
    void VisibleChanged(bool value);

private:
    /// Clamps and stores the height of one mode; the grid follows when it is the current one.
    void StoreHeight(bool groupMode, int value);

    Q_DECLARE_PRIVATE_D(d, TwGridHeaders)
    std::unique_ptr<TwGridHeadersPrivate> d;
};

/// The title cell of one footer row, in the indicator strip; owned by its footer row.
class TABRIX_EXPORT TwFooterTitle : public TwTitle
{
    Q_OBJECT

public:
    explicit TwFooterTitle(TwGridFooter *footer);
    ~TwFooterTitle() override;
    void Changed() override;
    TwCustomGrid *GetGrid() const override;
    TwCellStyle DefaultCellStyle() const override { return wcsNormal; }

private:
    Q_DECLARE_PRIVATE_D(d, TwFooterTitle)
    std::unique_ptr<TwFooterTitlePrivate> d;
};

/// One footer row. Owned by its collection (a QObject for its properties, without a parent:
/// delete it through TwGridFooters::Delete only).
class TABRIX_EXPORT TwGridFooter : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TColor Color READ Color WRITE SetColor NOTIFY ColorChanged)
    Q_PROPERTY(int ColHeight READ ColHeight WRITE SetColHeight NOTIFY ColHeightChanged)
    Q_PROPERTY(int GrpHeight READ GrpHeight WRITE SetGrpHeight NOTIFY GrpHeightChanged)
    Q_PROPERTY(bool Sizing READ Sizing WRITE SetSizing NOTIFY SizingChanged)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible NOTIFY VisibleChanged)

public:
    explicit TwGridFooter(TwGridFooters *collection);
    ~TwGridFooter();
    TwGridFooter(const TwGridFooter &) = delete;
    TwGridFooter &operator=(const TwGridFooter &) = delete;

    TwGridFooters *Collection() const;
    int Index() const;
    TColor Color() const;
    void SetColor(TColor value);
    void SetColor(const QColor &value);
    int Height() const;
    void SetHeight(int value);
    int ColHeight() const;
    void SetColHeight(int value);
    int GrpHeight() const;
    void SetGrpHeight(int value);
    bool Sizing() const;
    void SetSizing(bool value);
    TwFooterTitle &Title();
    const TwFooterTitle &Title() const;
    bool Visible() const;
    void SetVisible(bool value);
    QString GetDisplayName() const;

signals:
    void ColorChanged(TColor value);
    void ColHeightChanged(int value);
    void GrpHeightChanged(int value);
    void SizingChanged(bool value);
    void VisibleChanged(bool value);

private:
    /// Clamps and stores the height of one mode; the grid follows when it is the current one.
    void StoreHeight(bool groupMode, int value);

    Q_DECLARE_PRIVATE_D(d, TwGridFooter)
    std::unique_ptr<TwGridFooterPrivate> d;
};

/// The owned footer rows of a grid and the visible ones, owned by the grid for its whole
/// life. Items(), GetVItems() and GetVTop() fail with the library's exception outside their range.
class TABRIX_EXPORT TwGridFooters
{
public:
    explicit TwGridFooters(TwCustomGrid *grid);
    ~TwGridFooters();

    TwCustomGrid *Grid() const;
    TwGridFooter *Add();
    void Delete(int index);
    void Clear();
    int Count() const;
    TwGridFooter *Items(int index) const;
    int IndexOf(const TwGridFooter *footer) const;

    int GetVCount() const;
    TwGridFooter *GetVItems(int index) const;
    /// Top of visible footer row `index` within the footer band.
    int GetVTop(int index) const;
    int GetHeight() const;
    void CalcVItems();
    void Update(TwGridFooter *footer);

private:
    Q_DECLARE_PRIVATE_D(d, TwGridFooters)
    std::unique_ptr<TwGridFootersPrivate> d;
};

/// The strip at the left edge showing each row's state and number. Owned by the grid for its
/// whole life (a QObject for its properties, without a parent: never delete it).
class TABRIX_EXPORT TwIndicators : public TwDrawObject
{
    Q_OBJECT
    Q_PROPERTY(TColor SelBgColor READ SelBgColor WRITE SetSelBgColor NOTIFY SelBgColorChanged)
    Q_PROPERTY(bool SelDown READ SelDown WRITE SetSelDown NOTIFY SelDownChanged)
    Q_PROPERTY(TColor SelFgColor READ SelFgColor WRITE SetSelFgColor NOTIFY SelFgColorChanged)
    Q_PROPERTY(bool ShowRowNo READ ShowRowNo WRITE SetShowRowNo NOTIFY ShowRowNoChanged)
    Q_PROPERTY(bool ShowState READ ShowState WRITE SetShowState NOTIFY ShowStateChanged)
    Q_PROPERTY(bool Sizing READ Sizing WRITE SetSizing NOTIFY SizingChanged)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible NOTIFY VisibleChanged)
    Q_PROPERTY(int Width READ Width WRITE SetWidth NOTIFY WidthChanged)

public:
    explicit TwIndicators(TwCustomGrid *grid);
    ~TwIndicators() override;
    void Changed() override;
    TwCustomGrid *GetGrid() const override;
    TwCellStyle DefaultCellStyle() const override { return wcsRaised; }

    TwGridLines &Lines();
    const TwGridLines &Lines() const;
    TColor SelBgColor() const;
    void SetSelBgColor(TColor value);
    void SetSelBgColor(const QColor &value);
    bool SelDown() const;
    void SetSelDown(bool value);
    TColor SelFgColor() const;
    void SetSelFgColor(TColor value);
    void SetSelFgColor(const QColor &value);
    bool ShowRowNo() const;
    void SetShowRowNo(bool value);
    bool ShowState() const;
    void SetShowState(bool value);
    bool Sizing() const;
    void SetSizing(bool value);
    bool Visible() const;
    void SetVisible(bool value);
    int Width() const;
    void SetWidth(int value);

    /// The state images, in the order of TwIndiState.
    static const TwImageList &Images();

signals:
    void SelBgColorChanged(TColor value);
    void SelDownChanged(bool value);
    void SelFgColorChanged(TColor value);
    void ShowRowNoChanged(bool value);
    void ShowStateChanged(bool value);
    void SizingChanged(bool value);
    void VisibleChanged(bool value);
    void WidthChanged(int value);

private:
    Q_DECLARE_PRIVATE_D(d, TwIndicators)
    std::unique_ptr<TwIndicatorsPrivate> d;
};

/// The strip right of the indicators showing a per-row mark. Owned by the grid for its whole
/// life (a QObject for its properties, without a parent: never delete it).
class TABRIX_EXPORT TwMarkers : public TwDrawObject
{
    Q_OBJECT
    Q_PROPERTY(bool Clicking READ Clicking WRITE SetClicking NOTIFY ClickingChanged)
    Q_PROPERTY(TwImageLayout ImageLayout READ ImageLayout WRITE SetImageLayout NOTIFY ImageLayoutChanged)
    Q_PROPERTY(bool Sizing READ Sizing WRITE SetSizing NOTIFY SizingChanged)
    Q_PROPERTY(TwMarkerStyle Style READ Style WRITE SetStyle NOTIFY StyleChanged)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible NOTIFY VisibleChanged)
    Q_PROPERTY(int Width READ Width WRITE SetWidth NOTIFY WidthChanged)

public:
    explicit TwMarkers(TwCustomGrid *grid);
    ~TwMarkers() override;
    void Changed() override;
    TwCustomGrid *GetGrid() const override;

    bool Clicking() const;
    void SetClicking(bool value);
    TwImageLayout ImageLayout() const;
    void SetImageLayout(TwImageLayout value);
    const TwImageList *Images() const;
    void SetImages(const TwImageList *value);
    TwGridLines &Lines();
    const TwGridLines &Lines() const;
    bool Sizing() const;
    void SetSizing(bool value);
    TwMarkerStyle Style() const;
    void SetStyle(TwMarkerStyle value);
    bool Visible() const;
    void SetVisible(bool value);
    int Width() const;
    void SetWidth(int value);
    /// Repaints a row's marker (a negative row: the whole strip).
    void Update(int row);

signals:
    void ClickingChanged(bool value);
    void ImageLayoutChanged(TwImageLayout value);
    void SizingChanged(bool value);
    void StyleChanged(TwMarkerStyle value);
    void VisibleChanged(bool value);
    void WidthChanged(int value);

private:
    Q_DECLARE_PRIVATE_D(d, TwMarkers)
    std::unique_ptr<TwMarkersPrivate> d;
};
