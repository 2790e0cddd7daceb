#pragma once

// The header band, the footer rows, the indicator strip and the marker strip.

#include "grid/drawobjects.h"

#include <memory>
#include <vector>

class TwGridFooter;
class TwGridFooters;

/// The title cell above the indicator and marker strips.
class TABRIX_EXPORT TwHeaderTitle : public TwTitle
{
public:
    explicit TwHeaderTitle(TwCustomGrid *grid);
    void Changed() override;
    TwCustomGrid *GetGrid() const override { return m_grid; }

private:
    TwCustomGrid *m_grid;
};

class TABRIX_EXPORT TwGridHeaders
{
public:
    explicit TwGridHeaders(TwCustomGrid *grid);

    /// The height of the current mode.
    int Height() const;
    void SetHeight(int value);
    int ColHeight = 21;
    int GrpHeight = 42;
    TwGridLinesEx &Lines() { return m_lines; }
    const TwGridLinesEx &Lines() const { return m_lines; }
    TwHeaderTitle &Title() { return m_title; }
    const TwHeaderTitle &Title() const { return m_title; }
    bool Sizing = false;
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);

private:
    TwCustomGrid *m_grid;
    TwGridLinesEx m_lines;
    TwHeaderTitle m_title;
    bool m_visible = true;
};

/// The title cell of one footer row, in the indicator strip.
class TABRIX_EXPORT TwFooterTitle : public TwTitle
{
public:
    explicit TwFooterTitle(TwGridFooter *footer);
    void Changed() override;
    TwCustomGrid *GetGrid() const override;
    TwCellStyle DefaultCellStyle() const override { return wcsNormal; }

private:
    TwGridFooter *m_footer;
};

class TABRIX_EXPORT TwGridFooter
{
public:
    explicit TwGridFooter(TwGridFooters *collection);

    TwGridFooters *Collection() const { return m_collection; }
    int Index() const;
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    int Height() const;
    void SetHeight(int value);
    int ColHeight = 21;
    int GrpHeight = 42;
    bool Sizing = false;
    TwFooterTitle &Title() { return m_title; }
    const TwFooterTitle &Title() const { return m_title; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    QString GetDisplayName() const;

private:
    TwGridFooters *m_collection;
    TColor m_color = clBtnFace;
    TwFooterTitle m_title;
    bool m_visible = true;
};

class TABRIX_EXPORT TwGridFooters
{
public:
    explicit TwGridFooters(TwCustomGrid *grid);
    ~TwGridFooters();

    TwCustomGrid *Grid() const { return m_grid; }
    TwGridFooter *Add();
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(m_items.size()); }
    TwGridFooter *Items(int index) const { return m_items.at(static_cast<std::size_t>(index)).get(); }
    int IndexOf(const TwGridFooter *footer) const;

    int GetVCount() const { return static_cast<int>(m_visible.size()); }
    TwGridFooter *GetVItems(int index) const { return m_visible.at(static_cast<std::size_t>(index)); }
    /// Top of visible footer row `index` within the footer band.
    int GetVTop(int index) const { return m_tops.at(static_cast<std::size_t>(index)); }
    int GetHeight() const;
    void CalcVItems();
    void Update(TwGridFooter *footer);

private:
    TwCustomGrid *m_grid;
    std::vector<std::unique_ptr<TwGridFooter>> m_items;
    std::vector<TwGridFooter *> m_visible;
    std::vector<int> m_tops;
};

/// The strip at the left edge showing each row's state and number.
class TABRIX_EXPORT TwIndicators : public TwDrawObject
{
public:
    explicit TwIndicators(TwCustomGrid *grid);
    void Changed() override;
    TwCustomGrid *GetGrid() const override { return m_grid; }
    TwCellStyle DefaultCellStyle() const override { return wcsRaised; }

    TwGridLines &Lines() { return m_lines; }
    const TwGridLines &Lines() const { return m_lines; }
    TColor SelBgColor = clBtnFace;
    bool SelDown = true;
    TColor SelFgColor = clBlack;
    bool ShowRowNo = true;
    bool ShowState() const { return m_showState; }
    void SetShowState(bool value);
    bool Sizing = false;
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    int Width() const { return m_width; }
    void SetWidth(int value);

    /// The state images, in the order of TwIndiState.
    static const TwImageList &Images();

private:
    TwCustomGrid *m_grid;
    TwGridLines m_lines;
    bool m_showState = true;
    bool m_visible = true;
    int m_width = 21;
};

/// The strip right of the indicators showing a per-row mark.
class TABRIX_EXPORT TwMarkers : public TwDrawObject
{
public:
    explicit TwMarkers(TwCustomGrid *grid);
    void Changed() override;
    TwCustomGrid *GetGrid() const override { return m_grid; }

    bool Clicking = false;
    TwImageLayout ImageLayout = wimgAlone;
    const TwImageList *Images = nullptr;
    TwGridLines &Lines() { return m_lines; }
    const TwGridLines &Lines() const { return m_lines; }
    bool Sizing = false;
    TwMarkerStyle Style = wmsDefault;
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    int Width() const { return m_width; }
    void SetWidth(int value);
    /// Repaints a row's marker (a negative row: the whole strip).
    void Update(int row);

private:
    TwCustomGrid *m_grid;
    TwGridLines m_lines;
    bool m_visible = false;
    int m_width = 15;
};
