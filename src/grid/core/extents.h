#pragma once

// The geometry of a grid: strips, bands, the rectangles of every part and the hit tests
// that map a point back to a strip, row or cell.

#include "grid/gridenums.h"

#include <QRect>

#include <vector>

class TwCustomGrid;

// Rectangles by their edges: a right or bottom edge is the first pixel outside.
namespace TwRect {
inline QRect Span(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}
inline int RightOf(const QRect &rect) { return rect.left() + rect.width(); }
inline int BottomOf(const QRect &rect) { return rect.top() + rect.height(); }
} // namespace TwRect

class TABRIX_EXPORT TwGridExtents
{
public:
    explicit TwGridExtents(TwCustomGrid *grid);

    /// Recomputes everything from the client rectangle.
    void ReadInfo(const QRect &client);
    void ReadVert();
    void ReadHorz();

    // Edges.
    int GetLefts(int strip) const;
    int GetRights(int strip) const;
    int GetColSize(int strip) const;
    int GetHeadTop() const { return m_client.top(); }
    int GetHeadBottom() const { return m_headerBottom; }
    int GetTops(int row) const;
    int GetBottoms(int row) const;
    int GetFootTops(int footer) const;
    int GetFootBottoms(int footer) const;
    QRect GetDataRect() const;

    // Bounds (lines included) and rects (inside the lines).
    QRect GetColBound(int strip, int row) const;
    QRect GetGroupBound(int strip, int row) const { return GetColBound(strip, row); }
    QRect GetLevelBound(int strip, int level, int row) const;
    QRect GetCellBound(const TwCell &cell, int row) const;
    QRect GetHeadColBound(int strip) const;
    QRect GetHeadGroupBound(int strip) const { return GetHeadColBound(strip); }
    QRect GetHeadLevelBound(int strip, int level) const;
    QRect GetHeadCellBound(const TwCell &cell) const;
    QRect GetFootColBound(int strip, int footer) const;
    QRect GetFootGroupBound(int strip, int footer) const { return GetFootColBound(strip, footer); }
    QRect GetFootLevelBound(int strip, int level, int footer) const;
    QRect GetFootCellBound(const TwCell &cell, int footer) const;
    QRect GetColRect(int strip, int row) const;
    QRect GetGroupRect(int strip, int row) const;
    QRect GetCellRect(const TwCell &cell, int row) const;
    QRect GetHeadColRect(int strip) const;
    QRect GetHeadGroupRect(int strip) const;
    QRect GetHeadLevelRect(int strip, int level) const;
    QRect GetHeadCellRect(const TwCell &cell) const;
    QRect GetFootColRect(int strip, int footer) const;
    QRect GetFootCellRect(const TwCell &cell, int footer) const;

    // Hit tests.
    int MouseToCol(int x) const;
    bool MouseInHeaders(int y) const;
    int MouseToRow(int y) const;
    int MouseToFootRow(int y) const;
    TwCell MouseToCell(int x, int y, int row) const;
    TwCell MouseToHeadCell(int x, int y) const;
    TwCell MouseToFootCell(int x, int y, int footer) const;
    int MouseToGroupTitle(int x, int y) const;

    // Horizontal scrolling.
    int GetScrollWidth() const;

    const QRect &Client() const { return m_client; }
    const QRect &DataRect() const { return m_data; }
    int StripCount() const { return m_strips; }
    int StripsLeft() const { return m_stripsLeft; }
    int ScrollingLeft() const { return m_scrollingLeft; }
    int ScrollWidthTotal() const { return m_scrollTotal; }
    int DataHeight() const { return m_dataHeight; }
    int FirstPartlyShown() const { return m_firstPartly; }
    int LastShown() const { return m_lastShown; }
    int FooterTop() const { return m_footerTop; }
    int RowsShown() const { return m_rowsShown; }
    int RowsFullyShown() const { return m_rowsFully; }

private:
    int Edge(int index) const;
    QRect ShrinkCell(QRect bound, const TwCell &cell, bool header) const;

    TwCustomGrid *m_grid;
    std::vector<int> m_edges;
    QRect m_client;
    QRect m_data;
    int m_scrollTotal = 0;
    int m_dataHeight = 0;
    int m_strips = 0;
    int m_stripsLeft = 0;
    int m_scrollingLeft = 0;
    int m_firstPartly = 0;
    int m_lastShown = 0;
    int m_headerBottom = 0;
    int m_footerTop = 0;
    int m_rowsShown = 0;
    int m_rowsFully = 0;
};
