#include "pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QImage Blank(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A deep sky band behind the favourites dialog's title and buttons. Their captions are
// white, so every pixel stays dark enough for white text to read (a contrast of at least
// 4.5 to 1), the faint stripes included.
QImage BackgroundBand()
{
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, 0, 64);
    gradient.setColorAt(0, QColor(0x2a, 0x5c, 0x9a));
    gradient.setColorAt(1, QColor(0x1a, 0x3d, 0x6e));
    p.fillRect(image.rect(), gradient);
    p.setPen(QColor(255, 255, 255, 32));
    for (int x = -64; x < 64; x += 8)
        p.drawLine(x, 64, x + 64, 0);
    return image;
}

// A round red button with a white cross.
QImage CloseGlyph(int side)
{
    QImage image = Blank(side, side);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal margin = side * 0.08;
    const QRectF disc(margin, margin, side - 2 * margin, side - 2 * margin);
    QLinearGradient gradient(disc.topLeft(), disc.bottomLeft());
    gradient.setColorAt(0, QColor(0xf2, 0x6d, 0x5b));
    gradient.setColorAt(1, QColor(0xb8, 0x2a, 0x1e));
    p.setPen(QPen(QColor(0x8a, 0x1c, 0x12), 1));
    p.setBrush(gradient);
    p.drawEllipse(disc);
    p.setPen(QPen(Qt::white, side * 0.12, Qt::SolidLine, Qt::RoundCap));
    const qreal a = side * 0.34;
    const qreal b = side - a;
    p.drawLine(QPointF(a, a), QPointF(b, b));
    p.drawLine(QPointF(b, a), QPointF(a, b));
    return image;
}

// A floppy disk.
QImage SaveGlyph(int side)
{
    QImage image = Blank(side, side);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(1.5, 1.5, side - 3, side - 3);
    p.setPen(QPen(QColor(0x1d, 0x3f, 0x66), 1));
    p.setBrush(QColor(0x2f, 0x6d, 0xae));
    p.drawRoundedRect(body, 2, 2);
    p.setBrush(QColor(0xe8, 0xf0, 0xf8));
    p.drawRect(QRectF(side * 0.25, 1.5, side * 0.5, side * 0.32));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(side * 0.2, side * 0.55, side * 0.6, side * 0.38));
    return image;
}

// The face of a favourites button; the program id is drawn onto it by the main window.
QImage FavouriteFace(const QColor &face)
{
    // As large as the toolbar's buttons (32 x 30) less their frame.
    QImage image = Blank(30, 28);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, 28);
    gradient.setColorAt(0, face.lighter(130));
    gradient.setColorAt(1, face.darker(120));
    p.setPen(QPen(face.darker(170), 1));
    p.setBrush(gradient);
    p.drawRoundedRect(QRectF(0.5, 0.5, 29, 27), 4, 4);
    p.setPen(QColor(255, 255, 255, 120));
    p.drawLine(QPointF(4, 2.5), QPointF(26, 2.5));
    return image;
}

} // namespace

QImage DrawPicture(int imageNo)
{
    switch (imageNo) {
    case 3:
        return BackgroundBand();
    case 109:
        return CloseGlyph(24);
    case 120:
        return FavouriteFace(QColor(0x2f, 0x6d, 0xae));
    case 121:
        return FavouriteFace(QColor(0x2e, 0x8b, 0x57));
    case 122:
        return FavouriteFace(QColor(0xc0, 0x6c, 0x1e));
    case 1203:
        return SaveGlyph(20);
    case 1209:
        return CloseGlyph(20);
    default:
        return {};
    }
}
