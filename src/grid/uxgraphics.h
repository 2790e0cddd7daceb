#pragma once

// Painting of one grid cell: background, grid lines, 3-D edges, an embedded spin or combo
// button, text, images, check boxes, boolean marks and radio groups, and the XOR lines
// shown while a border is dragged. Every cell is composed in a shared off-screen buffer
// and copied to the target in one step.

#include "grid/uxtypes.h"

#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <functional>

class QPainter;
class QImage;

enum TwBackState : std::uint8_t { wbkFlat, wbkRaised, wbkSunken, wbkUp, wbkDown };
enum TwButtonStyle : std::uint8_t { wbtnNone, wbtnSpin, wbtnCombo };
enum TwButtonState : std::uint8_t { wbtsNone, wbtsDraw, wbtsNoDraw };
enum TwImageLayout : std::uint8_t { wimgNone, wimgAlone, wimgLeft, wimgRight, wimgTop, wimgBottom };
enum TwFitStyle : std::uint8_t { wfitNone, wfitEnd, wfitPath };
enum TwUpDownState : std::uint8_t { wudsNone, wudsUp, wudsDown };

/// How a cell is painted (56 bytes; TXInitDrawInfo clears it).
struct TwDrawInfo
{
    std::uint8_t Alignment;   // TwAlignment
    std::uint8_t FitStyle;    // TwFitStyle
    std::uint8_t Layout;      // TwTextLayout
    bool WordWrap;
    std::int32_t ClipLeft;    // no pixel left of this x is painted (both 0: no clipping)
    std::int32_t ClipRight;   // no pixel at or right of this x is painted
    std::int32_t Margins[4];  // left, top, right, bottom
    TColor BottomLineColor;
    std::uint8_t BottomLineStyle; // TwPenStyle
    std::int32_t BottomLineWidth; // 0 none, 1 a pen line, more a filled band
    TColor RightLineColor;
    std::uint8_t RightLineStyle;
    std::int32_t RightLineWidth;
    std::uint8_t BackState;   // TwBackState
    bool FocusRect;
};

static_assert(sizeof(TwDrawInfo) == 56);
static_assert(offsetof(TwDrawInfo, ClipLeft) == 4);
static_assert(offsetof(TwDrawInfo, Margins) == 12);
static_assert(offsetof(TwDrawInfo, BottomLineColor) == 28);
static_assert(offsetof(TwDrawInfo, BottomLineWidth) == 36);
static_assert(offsetof(TwDrawInfo, RightLineColor) == 40);
static_assert(offsetof(TwDrawInfo, RightLineWidth) == 48);
static_assert(offsetof(TwDrawInfo, BackState) == 52);
static_assert(offsetof(TwDrawInfo, FocusRect) == 53);

/// A list of equally sized images (sort marks, indicator images, images of a column).
class TABRIX_EXPORT TwImageList
{
public:
    TwImageList() = default;
    explicit TwImageList(QSize size)
        : m_size(size)
    {
    }
    QSize Size() const { return m_size; }
    int Count() const { return static_cast<int>(m_images.size()); }
    void Add(const QPixmap &image) { m_images.push_back(image); }
    const QPixmap &At(int index) const { return m_images.at(index); }

private:
    QSize m_size;
    QList<QPixmap> m_images;
};

TABRIX_EXPORT bool TXEqualColors(TColor a, TColor b);
TABRIX_EXPORT void TXInitDrawInfo(TwDrawInfo &info);
/// Height the text needs in the rect with the info's alignment and word wrap.
TABRIX_EXPORT int TXCalcStrHeight(const QFont &font, const QRect &rect, const QString &text, const TwDrawInfo &info);
/// The Qt text flags that paint text as the info asks (alignment, wrap, tabs).
TABRIX_EXPORT int TXTextFlags(const TwDrawInfo &info);

TABRIX_EXPORT void TXDrawSizingLine(QPainter *canvas, TColor color, int x1, int y1, int x2, int y2);
TABRIX_EXPORT void TXHorzXorLine(QPainter *canvas, int y, int x1, int x2, int count, TColor color);
TABRIX_EXPORT void TXVertXorLine(QPainter *canvas, int x, int y1, int y2, int count, TColor color);

TABRIX_EXPORT void TXEffect3D(QPainter *canvas, const QRect &rect, bool raised, bool full);
TABRIX_EXPORT void TXDrawComboButton(QPainter *canvas, const QRect &rect, bool enabled, bool flat, bool pressed);
TABRIX_EXPORT void TXDrawSpinButton(QPainter *canvas, const QRect &rect, int delta, bool flat, bool enabled);
TABRIX_EXPORT void TXDrawComboImageButton(QPainter *canvas, const QRect &rect, bool flat, bool pressed,
                                          const QPixmap &bitmap);
TABRIX_EXPORT void TXDrawEllipsis(QPainter *canvas, const QRect &rect, bool pressed);

/// The area left for content inside a cell once lines, edges, the button strip and the
/// margins are taken away (local coordinates, 0,0 at the cell's top left).
TABRIX_EXPORT QRect TXContentRect(const QSize &cell, const TwDrawInfo &info, TwButtonStyle buttonStyle);

/// Paints a cell through the shared buffers: `content` paints into the content area of
/// a buffer whose font and brush are the canvas's.
using TwCellContent = std::function<void(QPainter &painter, const QRect &area)>;
TABRIX_EXPORT void TXPaintCell(QPainter *canvas, const QRect &rect, const TwDrawInfo &info, TwButtonStyle buttonStyle,
                               TwButtonState buttonState, const TwCellContent &content);

TABRIX_EXPORT void TXDrawText(QPainter *canvas, const QRect &rect, const QString &text, const TwDrawInfo &info,
                              TwButtonStyle buttonStyle, TwButtonState buttonState);
TABRIX_EXPORT void TXDrawText(QPainter *canvas, const QRect &rect, const QString &text, const TwDrawInfo &info,
                              TwButtonStyle buttonStyle, TwButtonState buttonState, const QPixmap &bitmap,
                              TwImageLayout imageLayout);
TABRIX_EXPORT void TXDrawText(QPainter *canvas, const QRect &rect, const QString &text, const TwDrawInfo &info,
                              TwButtonStyle buttonStyle, TwButtonState buttonState, const TwImageList *images,
                              int imageIndex, TwImageLayout imageLayout);
TABRIX_EXPORT void TXDrawImage(QPainter *canvas, const QRect &rect, const QPixmap &bitmap, TwAlignment alignment,
                               TwTextLayout layout, bool stretch);
TABRIX_EXPORT void TXDrawImage(QPainter *canvas, const QRect &rect, const QPixmap &bitmap, const TwDrawInfo &info,
                               bool stretch, TwButtonState buttonState);
TABRIX_EXPORT void TXDrawImageList(QPainter *canvas, const QRect &rect, const TwImageList *images, int index,
                                   const TwDrawInfo &info, TwButtonState buttonState);
TABRIX_EXPORT void TXDrawBox(QPainter *canvas, const QRect &rect, const TwDrawInfo &info, TwButtonStyle buttonStyle,
                             TwButtonState buttonState);
TABRIX_EXPORT void TXDrawCheckBox(QPainter *canvas, const QRect &rect, bool checked, bool grayed, const QString &text,
                                  TwAlignment alignment, TwTextLayout layout, bool flat, bool enabled);
TABRIX_EXPORT void TXDrawCheckBox(QPainter *canvas, const QRect &rect, bool checked, bool grayed, const QString &text,
                                  const TwDrawInfo &info, bool flat, bool enabled);
TABRIX_EXPORT void TXDrawBoolean(QPainter *canvas, const QRect &rect, bool value, bool flat);
TABRIX_EXPORT void TXDrawBoolean(QPainter *canvas, const QRect &rect, bool value, const TwDrawInfo &info, bool flat);
TABRIX_EXPORT QRect TXRadioItemRect(const QFont &font, const QRect &rect, int items, int columns, int index,
                                    TwTextLayout layout);
TABRIX_EXPORT void TXDrawRadioGroup(QPainter *canvas, const QRect &rect, const QStringList &items, int columns,
                                    int itemIndex, TwAlignment alignment, TwTextLayout layout, bool flat, bool enabled);
TABRIX_EXPORT void TXDrawRadioGroup(QPainter *canvas, const QRect &rect, const QStringList &items, int columns,
                                    int itemIndex, const TwDrawInfo &info, bool flat, bool enabled);

/// The sizes the shared buffers have grown to (they never shrink).
TABRIX_EXPORT QSize TXCellBufferSize();
TABRIX_EXPORT QSize TXContentBufferSize();
/// The sort marks "UXUP" (0) and "UXDOWN" (1).
TABRIX_EXPORT const TwImageList &TXSortMarks();
