#include "main/background.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap DrawArtwork()
{
    QPixmap art(520, 260);
    art.fill(Qt::transparent);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        const int h = 30 + (i * 41) % 110;
        p.setBrush(QColor(255, 255, 255, 60 + i * 4));
        p.drawRoundedRect(QRectF(150 + i * 26, 200 - h, 18, h), 3, 3);
    }
    QPainterPath trend;
    trend.moveTo(130, 190);
    trend.cubicTo(250, 180, 360, 140, 480, 70);
    p.setPen(QPen(QColor(0x12, 0x3a, 0x6b, 110), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trend);
    QFont font(QStringLiteral("NanumGothic"));
    font.setPixelSize(40);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x12, 0x3a, 0x6b, 120));
    p.drawText(QRect(0, 200, 520, 56), Qt::AlignCenter, QStringLiteral("㈜Tovel 영업정산"));
    return art;
}

} // namespace

TMainBackground::TMainBackground(QWidget *parent)
    : QMdiArea(parent)
    , m_artwork(DrawArtwork())
{
    setObjectName(QStringLiteral("Image1"));
    setBackground(BackgroundColor());
}

QColor TMainBackground::BackgroundColor()
{
    return QColor(0xB0, 0xD6, 0xFB);
}

void TMainBackground::paintEvent(QPaintEvent *event)
{
    QMdiArea::paintEvent(event);
    QPainter p(viewport());
    const QRect area = viewport()->rect();
    p.drawPixmap(area.center() - m_artwork.rect().center(), m_artwork);
}
