#include "ToolbarIcons.h"

#include "Palette.h"
#include "Shapes.h"

using namespace Shapes;

namespace {
constexpr qreal Grid = 32;

Drawing openFolder()
{
    Drawing d(Grid);
    d.fill(polygon({QPointF(3, 7), QPointF(12, 7), QPointF(14.5, 9.5), QPointF(27, 9.5), QPointF(27, 27),
                    QPointF(3, 27)}),
           Palette::Violet);
    d.fillAndStroke(rect(QRectF(7.5, 11.5, 17, 12)), Palette::Paper, Palette::VioletDark, 1);
    addTextLines(d, 10, 13.5, {11, 8}, 2.5, 1.4, Palette::VioletSoft);
    QPainterPath front = polygon({QPointF(6.5, 17), QPointF(30, 17), QPointF(26.5, 27), QPointF(3, 27)});
    d.fillAndStroke(front, Palette::VioletMid, Palette::VioletMid, 1.2);
    return d;
}

Drawing newPage()
{
    Drawing d(Grid);
    addSheet(d, QRectF(6, 3, 18, 26), 6, 2);
    addBadge(d, QPointF(23.5, 23.5), 6.5, Palette::Green, 1.5);
    addPlus(d, QPointF(23.5, 23.5), 3.2, 2.2);
    return d;
}

Drawing saveDisk()
{
    Drawing d(Grid);
    QPainterPath body;
    body.moveTo(7, 4);
    body.lineTo(24, 4);
    body.lineTo(28, 8);
    body.lineTo(28, 25);
    body.quadTo(28, 28, 25, 28);
    body.lineTo(7, 28);
    body.quadTo(4, 28, 4, 25);
    body.lineTo(4, 7);
    body.quadTo(4, 4, 7, 4);
    d.fill(body, Palette::Violet);
    d.fill(rect(QRectF(9, 4, 13, 9), 1), Palette::Lavender);
    d.fill(rect(QRectF(17, 5.5, 3, 6), 0.8), Palette::Violet);
    d.fill(rect(QRectF(8, 16, 16, 12), 1.5), Palette::Paper);
    addTextLines(d, 10.5, 19, {11, 11}, 4, 1.6, Palette::VioletSoft);
    return d;
}

Drawing showFile()
{
    Drawing d(Grid);
    addSheet(d, QRectF(4, 3, 17, 24), 5, 2);
    addTextLines(d, 7.5, 9, {6, 9, 7, 5}, 3.5, 1.6, Palette::VioletSoft);
    d.stroke(polyline({QPointF(25, 23), QPointF(29, 27)}), Palette::VioletDark, 4);
    d.fillAndStroke(circle(QPointF(20, 18), 6), QColor(236, 236, 255, 225), Palette::VioletDark, 2.5);
    QPainterPath shine;
    shine.moveTo(17, 18.5);
    shine.quadTo(17, 15, 20.5, 15);
    d.stroke(shine, Palette::Paper, 1.6);
    return d;
}

// A small spreadsheet: a grid of cells with a coloured header row.
void addGrid(Drawing& d, const QRectF& area)
{
    d.fillAndStroke(rect(area, 1.5), Palette::Paper, Palette::Green, 1.5);
    d.fill(rect(QRectF(area.left(), area.top(), area.width(), area.height() / 4), 1.5), Palette::GreenLight);
    for (int i = 1; i < 4; ++i) {
        const qreal y = area.top() + area.height() * i / 4;
        d.stroke(polyline({QPointF(area.left(), y), QPointF(area.right(), y)}), Palette::Green, 1);
    }
    const qreal x = area.left() + area.width() * 0.42;
    d.stroke(polyline({QPointF(x, area.top()), QPointF(x, area.bottom())}), Palette::Green, 1);
}

// An arrow from `from` to `to` along a horizontal line.
void addArrow(Drawing& d, QPointF from, QPointF to)
{
    const qreal direction = to.x() > from.x() ? 1 : -1;
    d.stroke(polyline({from, QPointF(to.x() - direction * 4, to.y())}), Palette::Violet, 2.6);
    d.fill(polygon({QPointF(to.x() - direction * 5, to.y() - 4.6), to,
                    QPointF(to.x() - direction * 5, to.y() + 4.6)}),
           Palette::Violet);
}

Drawing importRows()
{
    Drawing d(Grid);
    addSheet(d, QRectF(13, 3, 16, 24), 5, 2);
    addTextLines(d, 16, 9, {9, 7, 9, 6}, 3.5, 1.6, Palette::VioletSoft);
    addGrid(d, QRectF(2.5, 14, 13, 14));
    addArrow(d, QPointF(4, 8), QPointF(16, 8));
    return d;
}

Drawing exportRows()
{
    Drawing d(Grid);
    addSheet(d, QRectF(3, 3, 16, 24), 5, 2);
    addTextLines(d, 6, 9, {9, 7, 9, 6}, 3.5, 1.6, Palette::VioletSoft);
    addGrid(d, QRectF(16.5, 14, 13, 14));
    addArrow(d, QPointF(15, 8), QPointF(28.5, 8));
    return d;
}

Drawing mandate()
{
    Drawing d(Grid);
    addSheet(d, QRectF(4, 3, 19, 26), 6, 2);
    addTextLines(d, 7.5, 8, {7, 11, 9}, 3.5, 1.6, Palette::VioletSoft);
    d.stroke(signature(QPointF(7.5, 22.5), 12, 3), Palette::Violet, 1.5);
    d.stroke(polyline({QPointF(7.5, 25.5), QPointF(19, 25.5)}), Palette::VioletSoft, 1);
    addPencil(d, QPointF(19.5, 23.5), -50, 17, 5);
    return d;
}

Drawing payment()
{
    Drawing d(Grid);
    d.fillAndStroke(rect(QRectF(2.5, 5.5, 21, 13), 2), Palette::GreenLight, Palette::Green, 1.5);
    d.stroke(circle(QPointF(13, 12), 3.2), Palette::Green, 1.5);
    d.fill(circle(QPointF(6.5, 12), 1.2), Palette::Green);
    d.fill(circle(QPointF(19.5, 12), 1.2), Palette::Green);
    addCoinStack(d, 13, 29.5, 15, 3, 2.4);
    QPainterPath arrow;
    arrow.moveTo(2.5, 25);
    arrow.lineTo(10, 25);
    d.stroke(arrow, Palette::Violet, 2.4);
    d.fill(polygon({QPointF(8.5, 20.8), QPointF(13, 25), QPointF(8.5, 29.2)}), Palette::Violet);
    return d;
}

Drawing cancel()
{
    Drawing d(Grid);
    addSheet(d, QRectF(4, 3, 19, 26), 6, 2);
    addTextLines(d, 7.5, 9, {7, 11, 9, 5}, 3.5, 1.6, Palette::VioletSoft);
    addBadge(d, QPointF(23, 23), 7, Palette::Red, 1.5);
    addCross(d, QPointF(23, 23), 3, 2.3);
    return d;
}

Drawing edit()
{
    Drawing d(Grid);
    d.stroke(polyline({QPointF(3, 29), QPointF(13, 29)}), Palette::VioletSoft, 1.6);
    addPencil(d, QPointF(4, 28), -45, 32, 7);
    return d;
}

Drawing deleteBin()
{
    Drawing d(Grid);
    d.stroke(polyline({QPointF(12.5, 7), QPointF(12.5, 4), QPointF(19.5, 4), QPointF(19.5, 7)}),
             Palette::Violet, 2);
    d.fill(rect(QRectF(5, 6.5, 22, 4), 1.8), Palette::Violet);
    d.fillAndStroke(polygon({QPointF(7.5, 12.5), QPointF(24.5, 12.5), QPointF(23, 28.5), QPointF(9, 28.5)}),
                    Palette::Lavender, Palette::Violet, 2);
    for (qreal x : {12.5, 16.0, 19.5})
        d.stroke(polyline({QPointF(x, 16), QPointF(x, 25)}), Palette::Violet, 1.8);
    return d;
}

Drawing settings()
{
    Drawing d(Grid);
    d.fill(gear(QPointF(16, 16), 14, 10.5, 4.2, 8), Palette::Violet);
    d.stroke(circle(QPointF(16, 16), 7.2), Palette::VioletMid, 1.5);
    return d;
}

Drawing help()
{
    Drawing d(Grid);
    d.fill(circle(QPointF(16, 16), 14), Palette::Violet);
    d.stroke(circle(QPointF(16, 16), 11.6), Palette::VioletMid, 1.2);
    d.fill(text(QStringLiteral("?"), boldFont(22), QPointF(16.3, 16.2)), Palette::Paper);
    return d;
}
} // namespace

std::vector<std::pair<QString, Drawing>> toolbarIcons()
{
    return {{QStringLiteral("open"), openFolder()},   {QStringLiteral("new"), newPage()},
            {QStringLiteral("save"), saveDisk()},     {QStringLiteral("show"), showFile()},
            {QStringLiteral("import"), importRows()}, {QStringLiteral("export"), exportRows()},
            {QStringLiteral("mandate"), mandate()},   {QStringLiteral("payment"), payment()},
            {QStringLiteral("cancel"), cancel()},     {QStringLiteral("edit"), edit()},
            {QStringLiteral("delete"), deleteBin()},  {QStringLiteral("settings"), settings()},
            {QStringLiteral("help"), help()}};
}
