#include "grid/uxtypes.h"

#include <QGuiApplication>
#include <QPalette>

QColor TXColor(TColor color)
{
    if ((color & 0xFF000000u) != clSystemColor)
        return QColor(static_cast<int>(color & 0xFF), static_cast<int>(color >> 8 & 0xFF),
                      static_cast<int>(color >> 16 & 0xFF));
    const QPalette palette = QGuiApplication::palette();
    switch (color) {
    case clWindow:
        return palette.color(QPalette::Base);
    case clWindowText:
        return palette.color(QPalette::Text);
    case clHighlight:
        return palette.color(QPalette::Highlight);
    case clHighlightText:
        return palette.color(QPalette::HighlightedText);
    case clBtnFace:
        return palette.color(QPalette::Button);
    case clBtnShadow:
        return palette.color(QPalette::Dark);
    case clBtnHighlight:
        return palette.color(QPalette::Light);
    default:
        return palette.color(QPalette::Window);
    }
}

TColor TXColorOf(const QColor &color)
{
    return static_cast<TColor>(color.red()) | static_cast<TColor>(color.green()) << 8
        | static_cast<TColor>(color.blue()) << 16;
}

Qt::PenStyle TXQtPenStyle(TwPenStyle style)
{
    switch (style) {
    case psDash:
        return Qt::DashLine;
    case psDot:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    case psSolid:
        break;
    }
    return Qt::SolidLine;
}
