#include "grid/uxgraphics.h"

#include "grid/uxutils.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstring>

namespace {

constexpr int CheckSize = 13;
constexpr int ImageSpacing = 2;

// The two shared buffers: composed cells, and their content. They only ever grow.
QImage &CellBuffer()
{
    static QImage buffer;
    return buffer;
}

QImage &ContentBuffer()
{
    static QImage buffer;
    return buffer;
}

void Grow(QImage &buffer, const QSize &size)
{
    if (buffer.width() >= size.width() && buffer.height() >= size.height())
        return;
    buffer = QImage(qMax(buffer.width(), size.width()), qMax(buffer.height(), size.height()),
                    QImage::Format_ARGB32_Premultiplied);
}

QColor Light()
{
    return TXColor(clBtnHighlight);
}

QColor Shadow()
{
    return TXColor(clBtnShadow);
}

QBrush Background(const QPainter *canvas)
{
    const QBrush brush = canvas->brush();
    return brush.style() == Qt::NoBrush ? QBrush(Qt::white) : brush;
}

// The parts of a cell, in local coordinates.
struct CellLayout
{
    QRect area;    // inside the grid lines
    QRect button;  // the embedded button's strip, empty without one
    QRect content; // what is left for the content
};

CellLayout LayOut(const QSize &cell, const TwDrawInfo &info, TwButtonStyle buttonStyle)
{
    CellLayout layout;
    QRect r(0, 0, cell.width(), cell.height());
    if (info.BottomLineWidth > 0)
        r.setHeight(qMax(0, r.height() - info.BottomLineWidth));
    if (info.RightLineWidth > 0)
        r.setWidth(qMax(0, r.width() - info.RightLineWidth));
    layout.area = r;
    switch (info.BackState) {
    case wbkRaised:
    case wbkSunken:
        r.adjust(1, 1, -1, -1);
        break;
    case wbkDown:
        r.adjust(2, 1, 0, 0);
        break;
    default:
        break;
    }
    if (buttonStyle != wbtnNone) {
        const int width = qMin(TXButtonWidth(), qMax(0, r.width()));
        layout.button = QRect(r.right() - width + 1, r.top(), width, r.height());
        r.setWidth(r.width() - width);
    }
    r.adjust(info.Margins[0], info.Margins[1], -info.Margins[2], -info.Margins[3]);
    if (r.width() <= 0 || r.height() <= 0)
        r = QRect();
    layout.content = r;
    return layout;
}

void DrawLines(QPainter &p, const QSize &cell, const TwDrawInfo &info)
{
    if (info.BottomLineWidth == 1) {
        p.setPen(QPen(TXColor(info.BottomLineColor), 1, TXQtPenStyle(static_cast<TwPenStyle>(info.BottomLineStyle))));
        p.drawLine(0, cell.height() - 1, cell.width() - 1, cell.height() - 1);
    } else if (info.BottomLineWidth > 1) {
        p.fillRect(QRect(0, cell.height() - info.BottomLineWidth, cell.width(), info.BottomLineWidth),
                   TXColor(info.BottomLineColor));
    }
    if (info.RightLineWidth == 1) {
        p.setPen(QPen(TXColor(info.RightLineColor), 1, TXQtPenStyle(static_cast<TwPenStyle>(info.RightLineStyle))));
        p.drawLine(cell.width() - 1, 0, cell.width() - 1, cell.height() - 1);
    } else if (info.RightLineWidth > 1) {
        p.fillRect(QRect(cell.width() - info.RightLineWidth, 0, info.RightLineWidth, cell.height()),
                   TXColor(info.RightLineColor));
    }
}

void DrawEdges(QPainter &p, const QRect &area, const QRect &content, const TwDrawInfo &info)
{
    switch (info.BackState) {
    case wbkRaised:
        TXEffect3D(&p, area, true, true);
        break;
    case wbkSunken:
        TXEffect3D(&p, area, false, true);
        break;
    case wbkUp:
        TXEffect3D(&p, area, true, false);
        break;
    case wbkDown:
        TXEffect3D(&p, area, false, false);
        break;
    default:
        break;
    }
    if (info.FocusRect && !content.isEmpty()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(content.adjusted(0, 0, -1, -1));
    }
}

void CopyToTarget(QPainter *canvas, const QRect &rect, const TwDrawInfo &info)
{
    int sourceX = 0;
    int width = rect.width();
    if (info.ClipLeft != 0 || info.ClipRight != 0) {
        if (info.ClipLeft > rect.left())
            sourceX = info.ClipLeft - rect.left();
        width = qMin(rect.right() + 1, info.ClipRight) - (rect.left() + sourceX);
    }
    if (width <= 0 || sourceX >= rect.width())
        return;
    canvas->drawImage(QPoint(rect.left() + sourceX, rect.top()), CellBuffer(),
                      QRect(sourceX, 0, width, rect.height()));
}

QRect Place(const QRect &area, const QSize &size, TwAlignment alignment, TwTextLayout layout)
{
    int x = area.left();
    if (alignment == taRightJustify)
        x = area.right() + 1 - size.width();
    else if (alignment == taCenter)
        x = area.left() + (area.width() - size.width()) / 2;
    int y = area.top();
    if (layout == tlBottom)
        y = area.bottom() + 1 - size.height();
    else if (layout == tlCenter)
        y = area.top() + (area.height() - size.height()) / 2;
    return QRect(QPoint(x, y), size);
}

QString Fitted(const QFontMetrics &metrics, const QString &text, const TwDrawInfo &info, int width)
{
    if (info.WordWrap || info.FitStyle == wfitNone)
        return text;
    return metrics.elidedText(text, info.FitStyle == wfitPath ? Qt::ElideMiddle : Qt::ElideRight, width);
}

void PaintText(QPainter &p, const QRect &area, const QString &text, const TwDrawInfo &info)
{
    if (text.isEmpty() || area.isEmpty())
        return;
    const int flags = TXTextFlags(info);
    const QString shown = Fitted(p.fontMetrics(), text, info, area.width());
    QRect r = area;
    const int height = TXGetStrHeight(p.font(), area, shown, flags);
    if (info.Layout == tlCenter)
        r.setTop(area.top() + (area.height() - height) / 2);
    else if (info.Layout == tlBottom)
        r.setTop(area.bottom() + 1 - height);
    r.setHeight(qMax(height, 1));
    p.drawText(r, flags, shown);
}

void PaintCheck(QPainter &p, const QRect &box, bool checked, bool grayed, bool flat, bool enabled)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(grayed || !enabled ? TXColor(clBtnFace) : QColor(Qt::white));
    p.drawRect(box);
    if (flat) {
        p.setPen(Shadow());
        p.setBrush(Qt::NoBrush);
        p.drawRect(box.adjusted(0, 0, -1, -1));
    } else {
        TXEffect3D(&p, box, false, true);
        TXEffect3D(&p, box.adjusted(1, 1, -1, -1), false, true);
    }
    if (checked) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(enabled && !grayed ? QColor(Qt::black) : Shadow(), 2));
        const int x = box.left();
        const int y = box.top();
        p.drawPolyline(QPolygon({QPoint(x + 3, y + 6), QPoint(x + 5, y + 9), QPoint(x + 10, y + 3)}));
    }
    p.restore();
}

void PaintRadio(QPainter &p, const QRect &circle, bool checked, bool flat, bool enabled)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(flat ? Shadow() : TXColor(clBtnShadow).darker(130));
    p.setBrush(enabled ? QColor(Qt::white) : TXColor(clBtnFace));
    p.drawEllipse(QRectF(circle).adjusted(0.5, 0.5, -0.5, -0.5));
    if (checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(enabled ? QColor(Qt::black) : Shadow());
        p.drawEllipse(QRectF(circle).adjusted(4, 4, -4, -4));
    }
    p.restore();
}

void PaintTriangle(QPainter &p, const QRect &r, bool down, const QColor &color)
{
    const int w = qMax(3, qMin(r.width(), r.height() * 2) / 3 | 1);
    const int h = (w + 1) / 2;
    const int x = r.left() + (r.width() - w) / 2;
    const int y = r.top() + (r.height() - h) / 2;
    QPolygon triangle = down ? QPolygon({QPoint(x, y), QPoint(x + w - 1, y), QPoint(x + w / 2, y + h - 1)})
                             : QPolygon({QPoint(x + w / 2, y), QPoint(x, y + h - 1), QPoint(x + w - 1, y + h - 1)});
    p.save();
    p.setPen(color);
    p.setBrush(color);
    p.drawPolygon(triangle);
    p.restore();
}

void PaintButtonFrame(QPainter &p, const QRect &r, bool flat, bool pressed)
{
    p.fillRect(r, TXColor(clBtnFace));
    if (flat) {
        p.setPen(Shadow());
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        return;
    }
    TXEffect3D(&p, r, !pressed, true);
}

} // namespace

bool TXEqualColors(TColor a, TColor b)
{
    return TXColor(a).rgb() == TXColor(b).rgb();
}

void TXInitDrawInfo(TwDrawInfo &info)
{
    std::memset(&info, 0, sizeof info);
}

int TXTextFlags(const TwDrawInfo &info)
{
    int flags = Qt::TextExpandTabs;
    switch (info.Alignment) {
    case taRightJustify:
        flags |= Qt::AlignRight;
        break;
    case taCenter:
        flags |= Qt::AlignHCenter;
        break;
    default:
        flags |= Qt::AlignLeft;
        break;
    }
    if (info.WordWrap)
        flags |= Qt::TextWordWrap;
    return flags;
}

int TXCalcStrHeight(const QFont &font, const QRect &rect, const QString &text, const TwDrawInfo &info)
{
    return TXGetStrHeight(font, rect, text, TXTextFlags(info));
}

void TXDrawSizingLine(QPainter *canvas, TColor color, int x1, int y1, int x2, int y2)
{
    canvas->save();
    canvas->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    canvas->setPen(QPen(TXColor(color), 1, Qt::DotLine));
    canvas->drawLine(x1, y1, x2, y2);
    canvas->restore();
}

void TXHorzXorLine(QPainter *canvas, int y, int x1, int x2, int count, TColor color)
{
    canvas->save();
    canvas->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    canvas->setPen(QPen(TXColor(color), 1));
    for (int i = 0; i < count; ++i)
        canvas->drawLine(x1, y + i, x2, y + i);
    canvas->restore();
}

void TXVertXorLine(QPainter *canvas, int x, int y1, int y2, int count, TColor color)
{
    canvas->save();
    canvas->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    canvas->setPen(QPen(TXColor(color), 1));
    for (int i = 0; i < count; ++i)
        canvas->drawLine(x + i, y1, x + i, y2);
    canvas->restore();
}

void TXEffect3D(QPainter *canvas, const QRect &rect, bool raised, bool full)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    canvas->save();
    canvas->setRenderHint(QPainter::Antialiasing, false);
    const QColor topLeft = raised ? Light() : Shadow();
    const QColor bottomRight = raised ? Shadow() : Light();
    canvas->setPen(topLeft);
    canvas->drawLine(rect.left(), rect.top(), rect.right(), rect.top());
    canvas->drawLine(rect.left(), rect.top(), rect.left(), rect.bottom());
    if (full) {
        canvas->setPen(bottomRight);
        canvas->drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
        canvas->drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    }
    canvas->restore();
}

void TXDrawComboButton(QPainter *canvas, const QRect &rect, bool enabled, bool flat, bool pressed)
{
    PaintButtonFrame(*canvas, rect, flat, pressed);
    const QRect inner = rect.adjusted(pressed ? 1 : 0, pressed ? 1 : 0, 0, 0);
    PaintTriangle(*canvas, inner, true, enabled ? QColor(Qt::black) : Shadow());
}

void TXDrawSpinButton(QPainter *canvas, const QRect &rect, int delta, bool flat, bool enabled)
{
    const int half = rect.height() / 2;
    const QRect up(rect.left(), rect.top(), rect.width(), half);
    const QRect down(rect.left(), rect.top() + half, rect.width(), rect.height() - half);
    PaintButtonFrame(*canvas, up, flat, delta >= 1);
    PaintButtonFrame(*canvas, down, flat, delta < 0);
    const QColor arrow = enabled ? QColor(Qt::black) : Shadow();
    PaintTriangle(*canvas, up, false, arrow);
    PaintTriangle(*canvas, down, true, arrow);
}

void TXDrawComboImageButton(QPainter *canvas, const QRect &rect, bool flat, bool pressed, const QPixmap &bitmap)
{
    PaintButtonFrame(*canvas, rect, flat, pressed);
    if (bitmap.isNull())
        return;
    const int shift = pressed ? 1 : 0;
    const QRect place = Place(rect, bitmap.size(), taCenter, tlCenter).translated(shift, shift);
    canvas->drawPixmap(place.topLeft(), bitmap);
}

void TXDrawEllipsis(QPainter *canvas, const QRect &rect, bool pressed)
{
    PaintButtonFrame(*canvas, rect, false, pressed);
    const int dotWidth = qMax(1, rect.width() / 7);
    const int dotHeight = qMin(dotWidth, qMax(1, rect.height() / 8));
    const int total = dotWidth * 5; // three dots with one dot's gap between them
    const int shift = pressed ? 1 : 0;
    const int x = rect.left() + (rect.width() - total) / 2 + shift;
    const int y = rect.top() + (rect.height() - dotHeight) / 2 + shift;
    for (int i = 0; i < 3; ++i)
        canvas->fillRect(QRect(x + i * 2 * dotWidth, y, dotWidth, dotHeight), Qt::black);
}

QRect TXContentRect(const QSize &cell, const TwDrawInfo &info, TwButtonStyle buttonStyle)
{
    return LayOut(cell, info, buttonStyle).content;
}

void TXPaintCell(QPainter *canvas, const QRect &rect, const TwDrawInfo &info, TwButtonStyle buttonStyle,
                 TwButtonState buttonState, const TwCellContent &content)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const QSize size = rect.size();
    Grow(CellBuffer(), size);
    const CellLayout layout = LayOut(size, info, buttonStyle);
    const QBrush background = Background(canvas);
    {
        QPainter p(&CellBuffer());
        p.fillRect(QRect(QPoint(0, 0), size), background);
        DrawLines(p, size, info);
        if (buttonState == wbtsDraw && !layout.button.isEmpty()) {
            if (buttonStyle == wbtnSpin)
                TXDrawSpinButton(&p, layout.button, 0, false, true);
            else if (buttonStyle == wbtnCombo)
                TXDrawComboButton(&p, layout.button, true, false, false);
        }
        if (!layout.content.isEmpty() && content) {
            Grow(ContentBuffer(), layout.content.size());
            {
                QPainter c(&ContentBuffer());
                c.fillRect(QRect(QPoint(0, 0), layout.content.size()), background);
                c.setFont(canvas->font());
                c.setPen(canvas->pen());
                content(c, QRect(QPoint(0, 0), layout.content.size()));
            }
            p.drawImage(layout.content.topLeft(), ContentBuffer(), QRect(QPoint(0, 0), layout.content.size()));
        }
        DrawEdges(p, layout.area, layout.content, info);
    }
    CopyToTarget(canvas, rect, info);
}

void TXDrawText(QPainter *canvas, const QRect &rect, const QString &text, const TwDrawInfo &info,
                TwButtonStyle buttonStyle, TwButtonState buttonState)
{
    TXPaintCell(canvas, rect, info, buttonStyle, buttonState,
                text.isEmpty() ? TwCellContent() : [&](QPainter &p, const QRect &area) { PaintText(p, area, text, info); });
}

namespace {

// Text beside an image of `imageSize`, painted by `paintImage` into the rectangle it gets.
void PaintTextAndImage(QPainter &p, const QRect &area, const QString &text, const TwDrawInfo &info,
                       const QSize &imageSize, TwImageLayout layout, const std::function<void(const QRect &)> &paintImage)
{
    const auto alignment = static_cast<TwAlignment>(info.Alignment);
    const auto vertical = static_cast<TwTextLayout>(info.Layout);
    if (layout == wimgNone || imageSize.isEmpty()) {
        PaintText(p, area, text, info);
        return;
    }
    if (layout == wimgAlone) {
        paintImage(Place(area, imageSize, alignment, vertical));
        return;
    }
    QRect strip = area;
    QRect rest = area;
    switch (layout) {
    case wimgLeft:
        strip.setWidth(imageSize.width());
        rest.setLeft(strip.right() + 1 + ImageSpacing);
        paintImage(Place(strip, imageSize, taLeftJustify, vertical));
        break;
    case wimgRight:
        strip.setLeft(area.right() + 1 - imageSize.width());
        rest.setRight(strip.left() - 1 - ImageSpacing);
        paintImage(Place(strip, imageSize, taLeftJustify, vertical));
        break;
    case wimgTop:
        strip.setHeight(imageSize.height());
        rest.setTop(strip.bottom() + 1 + ImageSpacing);
        paintImage(Place(strip, imageSize, alignment, tlTop));
        break;
    default:
        strip.setTop(area.bottom() + 1 - imageSize.height());
        rest.setBottom(strip.top() - 1 - ImageSpacing);
        paintImage(Place(strip, imageSize, alignment, tlTop));
        break;
    }
    PaintText(p, rest, text, info);
}

} // namespace

void TXDrawText(QPainter *canvas, const QRect &rect, const QString &text, const TwDrawInfo &info,
                TwButtonStyle buttonStyle, TwButtonState buttonState, const QPixmap &bitmap, TwImageLayout imageLayout)
{
    TXPaintCell(canvas, rect, info, buttonStyle, buttonState, [&](QPainter &p, const QRect &area) {
        PaintTextAndImage(p, area, text, info, bitmap.size(), imageLayout,
                          [&](const QRect &place) { p.drawPixmap(place.topLeft(), bitmap); });
    });
}

void TXDrawText(QPainter *canvas, const QRect &rect, const QString &text, const TwDrawInfo &info,
                TwButtonStyle buttonStyle, TwButtonState buttonState, const TwImageList *images, int imageIndex,
                TwImageLayout imageLayout)
{
    const bool hasImage = images && imageIndex >= 0 && imageIndex < images->Count();
    TXPaintCell(canvas, rect, info, buttonStyle, buttonState, [&](QPainter &p, const QRect &area) {
        PaintTextAndImage(p, area, text, info, hasImage ? images->Size() : QSize(), imageLayout,
                          [&](const QRect &place) { p.drawPixmap(place.topLeft(), images->At(imageIndex)); });
    });
}

void TXDrawImage(QPainter *canvas, const QRect &rect, const QPixmap &bitmap, TwAlignment alignment,
                 TwTextLayout layout, bool stretch)
{
    if (bitmap.isNull())
        return;
    if (stretch) {
        canvas->drawPixmap(rect, bitmap);
        return;
    }
    canvas->save();
    canvas->setClipRect(rect, Qt::IntersectClip);
    canvas->drawPixmap(Place(rect, bitmap.size(), alignment, layout).topLeft(), bitmap);
    canvas->restore();
}

void TXDrawImage(QPainter *canvas, const QRect &rect, const QPixmap &bitmap, const TwDrawInfo &info, bool stretch,
                 TwButtonState buttonState)
{
    TXPaintCell(canvas, rect, info, wbtnNone, buttonState, [&](QPainter &p, const QRect &area) {
        TXDrawImage(&p, area, bitmap, static_cast<TwAlignment>(info.Alignment), static_cast<TwTextLayout>(info.Layout),
                    stretch);
    });
}

void TXDrawImageList(QPainter *canvas, const QRect &rect, const TwImageList *images, int index, const TwDrawInfo &info,
                     TwButtonState buttonState)
{
    TXPaintCell(canvas, rect, info, wbtnNone, buttonState, [&](QPainter &p, const QRect &area) {
        if (!images || index < 0 || index >= images->Count())
            return;
        const QRect place = Place(area, images->Size(), static_cast<TwAlignment>(info.Alignment),
                                  static_cast<TwTextLayout>(info.Layout));
        p.drawPixmap(place.topLeft(), images->At(index));
    });
}

void TXDrawBox(QPainter *canvas, const QRect &rect, const TwDrawInfo &info, TwButtonStyle buttonStyle,
               TwButtonState buttonState)
{
    TXPaintCell(canvas, rect, info, buttonStyle, buttonState, {});
}

void TXDrawCheckBox(QPainter *canvas, const QRect &rect, bool checked, bool grayed, const QString &text,
                    TwAlignment alignment, TwTextLayout layout, bool flat, bool enabled)
{
    const int textWidth = text.isEmpty() ? 0 : TXGetStrWidth(canvas->font(), text) + 4;
    const QRect block = Place(rect, QSize(CheckSize + textWidth, CheckSize), alignment, layout);
    const QRect box(block.topLeft(), QSize(CheckSize, CheckSize));
    PaintCheck(*canvas, box, checked, grayed, flat, enabled);
    if (text.isEmpty())
        return;
    canvas->save();
    if (!enabled)
        canvas->setPen(Shadow());
    canvas->drawText(QRect(box.right() + 5, rect.top(), qMax(0, rect.right() - box.right() - 4), rect.height()),
                     Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
    canvas->restore();
}

void TXDrawCheckBox(QPainter *canvas, const QRect &rect, bool checked, bool grayed, const QString &text,
                    const TwDrawInfo &info, bool flat, bool enabled)
{
    TXPaintCell(canvas, rect, info, wbtnNone, wbtsNone, [&](QPainter &p, const QRect &area) {
        TXDrawCheckBox(&p, area, checked, grayed, text, static_cast<TwAlignment>(info.Alignment),
                       static_cast<TwTextLayout>(info.Layout), flat, enabled);
    });
}

void TXDrawBoolean(QPainter *canvas, const QRect &rect, bool value, bool flat)
{
    PaintCheck(*canvas, Place(rect, QSize(CheckSize, CheckSize), taCenter, tlCenter), value, false, flat, true);
}

void TXDrawBoolean(QPainter *canvas, const QRect &rect, bool value, const TwDrawInfo &info, bool flat)
{
    TXPaintCell(canvas, rect, info, wbtnNone, wbtsNone,
                [&](QPainter &p, const QRect &area) { TXDrawBoolean(&p, area, value, flat); });
}

QRect TXRadioItemRect(const QFont &font, const QRect &rect, int items, int columns, int index, TwTextLayout layout)
{
    columns = qMax(1, columns);
    const int h = qMax(TXGetCharHeight(font), CheckSize);
    const int rows = (items + columns - 1) / columns;
    int top = rect.top();
    if (layout == tlCenter)
        top = rect.top() + (rect.height() - rows * h) / 2;
    else if (layout == tlBottom)
        top = rect.bottom() + 1 - rows * h;
    const int width = rect.width() / columns;
    return QRect(rect.left() + index % columns * width, top + index / columns * h, width, h);
}

void TXDrawRadioGroup(QPainter *canvas, const QRect &rect, const QStringList &items, int columns, int itemIndex,
                      TwAlignment alignment, TwTextLayout layout, bool flat, bool enabled)
{
    Q_UNUSED(alignment);
    for (int i = 0; i < items.size(); ++i) {
        const QRect item = TXRadioItemRect(canvas->font(), rect, static_cast<int>(items.size()), columns, i, layout);
        const QRect circle(item.left(), item.top() + (item.height() - CheckSize) / 2, CheckSize, CheckSize);
        PaintRadio(*canvas, circle, i == itemIndex, flat, enabled);
        canvas->save();
        if (!enabled)
            canvas->setPen(Shadow());
        canvas->drawText(QRect(circle.right() + 4, item.top(), qMax(0, item.right() - circle.right() - 3), item.height()),
                         Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, items.at(i));
        canvas->restore();
    }
}

void TXDrawRadioGroup(QPainter *canvas, const QRect &rect, const QStringList &items, int columns, int itemIndex,
                      const TwDrawInfo &info, bool flat, bool enabled)
{
    TXPaintCell(canvas, rect, info, wbtnNone, wbtsNone, [&](QPainter &p, const QRect &area) {
        TXDrawRadioGroup(&p, area, items, columns, itemIndex, static_cast<TwAlignment>(info.Alignment),
                         static_cast<TwTextLayout>(info.Layout), flat, enabled);
    });
}

QSize TXCellBufferSize()
{
    return CellBuffer().size();
}

QSize TXContentBufferSize()
{
    return ContentBuffer().size();
}

const TwImageList &TXSortMarks()
{
    static const TwImageList marks = [] {
        TwImageList list(QSize(9, 6));
        for (bool down : {false, true}) {
            QPixmap image(9, 6);
            image.fill(Qt::transparent);
            QPainter p(&image);
            PaintTriangle(p, QRect(0, 0, 9, 6), down, QColor(Qt::black));
            p.end();
            list.Add(image);
        }
        return list;
    }();
    return marks;
}
