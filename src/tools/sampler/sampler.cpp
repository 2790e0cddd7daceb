// A sheet of sample cells painted with each of the grid library's drawing routines.

#include "grid/gridparts.h"
#include "grid/uxgraphics.h"
#include "grid/uxutils.h"
#include "platform/application.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

namespace {

TwDrawInfo Info(TwAlignment alignment, TwBackState back = wbkFlat)
{
    TwDrawInfo info;
    TXInitDrawInfo(info);
    info.Alignment = alignment;
    info.Layout = tlCenter;
    info.BottomLineWidth = 1;
    info.BottomLineColor = clSilver;
    info.RightLineWidth = 1;
    info.RightLineColor = clSilver;
    info.BackState = back;
    for (int &margin : info.Margins)
        margin = 2;
    return info;
}

} // namespace

int main(int argc, char **argv)
{
    Platform::TApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("tabrix-sampler.png");
    QImage sheet(560, 300, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0xdd, 0xdd, 0xdd));
    QPainter p(&sheet);
    QFont font(QStringLiteral("NanumGothic"));
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(Qt::black);

    const int w = 130;
    const int h = 24;
    p.setBrush(QColor(Qt::white));
    TXDrawText(&p, QRect(10, 10, w, h), QStringLiteral("왼쪽 정렬"), Info(taLeftJustify), wbtnNone, wbtsNone);
    TXDrawText(&p, QRect(145, 10, w, h), QStringLiteral("1,234,567"), Info(taRightJustify), wbtnNone, wbtsNone);
    TXDrawText(&p, QRect(280, 10, w, h), QStringLiteral("가운데"), Info(taCenter), wbtnNone, wbtsNone);
    TwDrawInfo fit = Info(taLeftJustify);
    fit.FitStyle = wfitEnd;
    TXDrawText(&p, QRect(415, 10, w, h), QStringLiteral("아주 긴 품목 이름이 잘립니다"), fit, wbtnNone, wbtsNone);

    p.setBrush(TXColor(clBtnFace));
    TXDrawText(&p, QRect(10, 44, w, h), QStringLiteral("머리글"), Info(taCenter, wbkRaised), wbtnNone, wbtsNone);
    TXDrawText(&p, QRect(145, 44, w, h), QStringLiteral("눌림"), Info(taCenter, wbkDown), wbtnNone, wbtsNone);
    p.setBrush(QColor(Qt::white));
    TXDrawText(&p, QRect(280, 44, w, h), QStringLiteral("콤보"), Info(taLeftJustify, wbkSunken), wbtnCombo, wbtsDraw);
    TXDrawText(&p, QRect(415, 44, w, h), QStringLiteral("12"), Info(taRightJustify), wbtnSpin, wbtsDraw);

    TwDrawInfo wrap = Info(taLeftJustify);
    wrap.WordWrap = true;
    TXDrawText(&p, QRect(10, 78, w, 40), QStringLiteral("여러 줄로 나뉘는 비고 내용입니다"), wrap, wbtnNone, wbtsNone);
    const TwImageList &states = TwIndicators::Images();
    TXDrawText(&p, QRect(145, 78, w, 40), QStringLiteral("그림 왼쪽"), Info(taLeftJustify), wbtnNone, wbtsNone, &states,
               windiEdit, wimgLeft);
    TXDrawImageList(&p, QRect(280, 78, 40, 40), &states, windiArrow, Info(taCenter), wbtsNone);
    TXDrawImageList(&p, QRect(320, 78, 40, 40), &states, windiInsert, Info(taCenter), wbtsNone);
    TwDrawInfo focus = Info(taCenter);
    focus.FocusRect = true;
    TXDrawText(&p, QRect(415, 78, w, 40), QStringLiteral("초점"), focus, wbtnNone, wbtsNone);

    TXDrawCheckBox(&p, QRect(10, 128, w, h), true, false, QStringLiteral("확인함"), Info(taLeftJustify), false, true);
    TXDrawCheckBox(&p, QRect(145, 128, w, h), false, false, QStringLiteral("확인 안함"), Info(taLeftJustify), true, true);
    TXDrawBoolean(&p, QRect(280, 128, 60, h), true, Info(taCenter), false);
    TXDrawBoolean(&p, QRect(340, 128, 60, h), false, Info(taCenter), true);
    TXDrawCheckBox(&p, QRect(415, 128, w, h), true, true, QStringLiteral("회색"), Info(taLeftJustify), false, true);

    TXDrawRadioGroup(&p, QRect(10, 162, 265, 50), {QStringLiteral("경매"), QStringLiteral("수의매"), QStringLiteral("기타")},
                     2, 1, Info(taLeftJustify), false, true);
    TXDrawEllipsis(&p, QRect(280, 162, 21, 20), false);
    TXDrawEllipsis(&p, QRect(305, 162, 21, 20), true);
    TXDrawSpinButton(&p, QRect(330, 162, 17, 24), 1, false, true);
    TXDrawComboButton(&p, QRect(350, 162, 17, 20), false, false, false);
    TXEffect3D(&p, QRect(375, 162, 40, 24), true, true);
    TXEffect3D(&p, QRect(420, 162, 40, 24), false, true);
    p.drawPixmap(470, 168, TXSortMarks().At(0));
    p.drawPixmap(485, 168, TXSortMarks().At(1));

    p.setBrush(QColor(0xfa, 0xf0, 0xd2));
    TwDrawInfo clipped = Info(taLeftJustify);
    clipped.ClipLeft = 60;
    clipped.ClipRight = 200;
    TXDrawText(&p, QRect(10, 222, 260, h), QStringLiteral("왼쪽과 오른쪽이 잘린 셀입니다 (60~200)"), clipped, wbtnNone, wbtsNone);
    TXHorzXorLine(&p, 260, 10, 540, 2, clWhite);
    TXDrawSizingLine(&p, clWhite, 300, 215, 300, 290);
    p.end();
    return sheet.save(out, "PNG") ? 0 : 1;
}
