#include "DialogPictures.h"

#include "Palette.h"
#include "Shapes.h"

using namespace Shapes;

namespace {
constexpr qreal Grid = 96;

// Every decoration stands on a soft disc in the dialogs' panel colour.
Drawing withDisc(qreal grid)
{
    Drawing d(grid);
    d.fill(circle(QPointF(grid / 2, grid / 2), grid * 0.47), Palette::Lavender);
    return d;
}

void addCalendar(Drawing& d, const QRectF& area)
{
    const qreal header = area.height() * 0.26;
    d.fillAndStroke(rect(area, 5), Palette::Paper, Palette::Violet, 2.5);
    QPainterPath top;
    top.addRoundedRect(QRectF(area.left(), area.top(), area.width(), header + 6), 5, 5);
    top = top.intersected(rect(QRectF(area.left() - 2, area.top() - 2, area.width() + 4, header + 2)));
    d.fill(top, Palette::Violet);
    for (qreal x : {area.left() + area.width() * 0.25, area.left() + area.width() * 0.75})
        d.fill(rect(QRectF(x - 2.5, area.top() - 5, 5, 10), 2.5), Palette::VioletDark);
    const qreal cell = area.width() / 5.2;
    const qreal gap = cell * 0.2;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const QRectF box(area.left() + gap * 2 + column * cell,
                             area.top() + header + gap * 2 + row * cell * 0.85, cell - gap,
                             cell * 0.85 - gap);
            const bool chosen = row == 1 && column == 2;
            d.fill(rect(box, 1.5), chosen ? Palette::Gold : Palette::Lavender);
        }
    }
}

Drawing payment()
{
    Drawing d = withDisc(Grid);
    addCalendar(d, QRectF(12, 20, 50, 46));
    addCoinStack(d, 50, 84, 34, 5, 5);
    addBadge(d, QPointF(74, 24), 11, Palette::Green, 2.5);
    d.stroke(polyline({QPointF(68, 24), QPointF(79, 24)}), Palette::Paper, 3.5);
    d.stroke(polyline({QPointF(75, 19.5), QPointF(79.5, 24), QPointF(75, 28.5)}), Palette::Paper, 3.5);
    return d;
}

void addForm(Drawing& d, const QRectF& area, bool ticks)
{
    addSheet(d, area, 12, 2.5);
    const qreal left = area.left() + 7;
    d.fill(rect(QRectF(left, area.top() + 8, area.width() * 0.42, 5), 2.5), Palette::Violet);
    addTextLines(d, left, area.top() + 20, {area.width() - 16, area.width() - 22, area.width() - 18}, 7, 3,
                 Palette::VioletSoft);
    if (ticks) {
        for (int i = 0; i < 2; ++i) {
            const qreal y = area.top() + 42 + i * 9;
            d.fillAndStroke(rect(QRectF(left, y, 6, 6), 1), Palette::Paper, Palette::Violet, 1.5);
            d.fill(rect(QRectF(left + 10, y + 1.5, area.width() * (i ? 0.35 : 0.5), 3), 1.5),
                   Palette::VioletSoft);
        }
        d.stroke(polyline({QPointF(left + 1.2, area.top() + 45), QPointF(left + 3, area.top() + 47),
                           QPointF(left + 7.5, area.top() + 41)}),
                 Palette::Green, 2);
    }
    const qreal base = area.bottom() - 10;
    d.stroke(polyline({QPointF(left, base), QPointF(area.right() - 8, base)}), Palette::VioletSoft, 1.5);
    d.stroke(signature(QPointF(left + 2, base - 5), area.width() * 0.55, 5), Palette::Violet, 2.2);
}

Drawing mandate()
{
    Drawing d = withDisc(Grid);
    addForm(d, QRectF(18, 8, 50, 80), true);
    addPencil(d, QPointF(58, 74), -52, 40, 10);
    return d;
}

Drawing companyMandate()
{
    Drawing d = withDisc(Grid);
    const QRectF house(44, 12, 38, 70);
    d.fill(rect(house, 3), Palette::Violet);
    d.fill(rect(QRectF(50, 6, 26, 8), 2), Palette::VioletDark);
    for (int row = 0; row < 6; ++row)
        for (int column = 0; column < 3; ++column)
            d.fill(rect(QRectF(house.left() + 6 + column * 10, house.top() + 6 + row * 9.5, 6, 5.5), 1),
                   Palette::Lavender);
    d.fill(rect(QRectF(house.right() - 16, house.bottom() - 12, 10, 12), 1.5), Palette::VioletDark);
    addForm(d, QRectF(10, 26, 44, 62), false);
    return d;
}

Drawing change()
{
    Drawing d = withDisc(Grid);
    addSheet(d, QRectF(16, 8, 50, 78), 12, 2.5);
    d.fill(rect(QRectF(23, 16, 20, 5), 2.5), Palette::Violet);
    addTextLines(d, 23, 28, {34, 28, 32, 20, 26}, 7, 3, Palette::VioletSoft);
    // A struck-out amount with the new one beside it.
    d.fill(rect(QRectF(23, 64, 14, 4), 2), Palette::VioletSoft);
    d.stroke(polyline({QPointF(21, 66), QPointF(39, 66)}), Palette::Red, 2);
    d.fill(rect(QRectF(42, 64, 14, 4), 2), Palette::Green);
    addBadge(d, QPointF(68, 70), 14, Palette::Red, 3);
    addCross(d, QPointF(68, 70), 6, 4);
    addBadge(d, QPointF(72, 28), 11, Palette::Violet, 2.5);
    QPainterPath turn;
    turn.arcMoveTo(QRectF(66, 22, 12, 12), 120);
    turn.arcTo(QRectF(66, 22, 12, 12), 120, -270);
    d.stroke(turn, Palette::Paper, 2.6);
    d.fill(polygon({QPointF(64.5, 22), QPointF(70, 23.5), QPointF(66, 28.5)}), Palette::Paper);
    return d;
}

Drawing settings()
{
    Drawing d = withDisc(64);
    d.fill(gear(QPointF(27, 28), 21, 16, 6.5, 10), Palette::Violet);
    d.stroke(circle(QPointF(27, 28), 11), Palette::VioletMid, 2);
    d.fill(gear(QPointF(47, 47), 11.5, 8.5, 3.5, 8), Palette::VioletMid);
    return d;
}
} // namespace

std::vector<std::pair<QString, Drawing>> dialogPictures()
{
    return {{QStringLiteral("payment"), payment()},
            {QStringLiteral("mandate"), mandate()},
            {QStringLiteral("companymandate"), companyMandate()},
            {QStringLiteral("change"), change()},
            {QStringLiteral("settings"), settings()}};
}
