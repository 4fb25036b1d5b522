#include "AppIcons.h"

#include "Palette.h"
#include "Shapes.h"

using namespace Shapes;

Drawing applicationIcon()
{
    Drawing d(256);
    d.fill(rect(QRectF(16, 16, 224, 224), 52), Palette::Violet);

    const QRectF page(58, 40, 116, 164);
    d.fill(sheet(page, 34), Palette::Paper);
    d.fill(sheetFold(page, 34), Palette::Lavender);
    d.fill(rect(QRectF(78, 84, 50, 12), 6), Palette::Violet);
    addTextLines(d, 78, 110, {76, 64, 76, 44}, 20, 10, Palette::VioletSoft);

    d.fill(circle(QPointF(178, 176), 50), Palette::Violet);
    d.fill(circle(QPointF(178, 176), 42), Palette::GoldDark);
    d.fill(circle(QPointF(174, 172), 36), Palette::Gold);
    d.stroke(circle(QPointF(175, 173), 24), Palette::GoldDark, 6);
    QPainterPath shine;
    shine.arcMoveTo(QRectF(146, 144, 56, 56), 110);
    shine.arcTo(QRectF(146, 144, 56, 56), 110, 50);
    d.stroke(shine, Palette::GoldLight, 6);
    return d;
}

Drawing orderFileIcon()
{
    Drawing d(48);
    const QRectF page(8, 3, 32, 42);
    addSheet(d, page, 10, 2);
    addTextLines(d, 12.5, 10, {12, 0, 0, 0}, 5, 2, Palette::VioletSoft);
    addTextLines(d, 12.5, 15, {22, 19, 22}, 4.5, 2, Palette::VioletSoft);
    d.fill(rect(QRectF(13, 31, 22, 10.5), 3), Palette::Violet);
    d.fill(text(QStringLiteral("AG"), boldFont(9), QPointF(24, 36.3)), Palette::Paper);
    return d;
}
