// Draws the login window's picture (388 × 292) into a PNG. The labels of the fields and
// the OK and cancel areas are part of the picture; the edits and the flat buttons of the
// window lie over the places drawn for them.
//
//   drawloginart <out.png>

#include <QApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

void DrawButton(QPainter &p, const QRect &area, const QString &caption, const QColor &face)
{
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, face.lighter(125));
    gradient.setColorAt(1, face.darker(115));
    p.setPen(QPen(face.darker(160), 1));
    p.setBrush(gradient);
    p.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setPen(Qt::white);
    p.drawText(area, Qt::AlignCenter, caption);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;

    QPixmap art(388, 292);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, 292);
    sky.setColorAt(0, QColor(0x12, 0x3a, 0x6b));
    sky.setColorAt(0.55, QColor(0x2f, 0x6d, 0xae));
    sky.setColorAt(1, QColor(0xdc, 0xe8, 0xf4));
    p.fillRect(art.rect(), sky);

    // A quiet band of rising bars: the trade the suite settles.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        const int h = 18 + (i * 37) % 55;
        p.setBrush(QColor(255, 255, 255, 22 + i * 3));
        p.drawRect(222 + i * 17, 138 - h, 11, h);
    }
    QPainterPath trend;
    trend.moveTo(214, 128);
    trend.cubicTo(260, 120, 300, 100, 372, 62);
    p.setPen(QPen(QColor(255, 214, 102, 200), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trend);

    QFont title(QStringLiteral("NanumGothic"));
    title.setPixelSize(26);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(24, 30, 340, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("㈜Tovel 영업정산"));
    QFont subtitle(QStringLiteral("NanumGothic"));
    subtitle.setPixelSize(12);
    p.setFont(subtitle);
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QRect(26, 66, 300, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Sales Settlement System"));

    // The panel that holds the fields and buttons.
    const QRect panel(84, 162, 222, 102);
    p.setPen(QPen(QColor(0x9d, 0xb4, 0xcf), 1));
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawRoundedRect(QRectF(panel).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);

    QFont label(QStringLiteral("NanumGothic"));
    label.setPixelSize(13);
    label.setBold(true);
    p.setFont(label);
    p.setPen(QColor(0x1d, 0x3f, 0x66));
    p.drawText(QRect(100, 177, 78, 21), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("개인번호"));
    p.drawText(QRect(100, 203, 78, 21), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("비밀번호"));

    // Frames behind the two edits.
    p.setPen(QPen(QColor(0x7f, 0x9d, 0xc0), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(182.5, 176.5, 107, 22));
    p.drawRect(QRectF(182.5, 202.5, 107, 22));

    QFont button(QStringLiteral("NanumGothic"));
    button.setPixelSize(13);
    button.setBold(true);
    p.setFont(button);
    DrawButton(p, QRect(130, 231, 64, 22), QStringLiteral("확인"), QColor(0x2f, 0x6d, 0xae));
    DrawButton(p, QRect(198, 231, 64, 22), QStringLiteral("취소"), QColor(0x6b, 0x7b, 0x8c));

    QFont footer(QStringLiteral("NanumGothic"));
    footer.setPixelSize(10);
    p.setFont(footer);
    p.setPen(QColor(0x3a, 0x4f, 0x66));
    p.drawText(QRect(0, 270, 388, 16), Qt::AlignCenter, QStringLiteral("Copyright ㈜Tovel. All rights reserved."));
    p.end();
    return art.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
