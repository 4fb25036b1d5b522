#include "RowIcons.h"

#include "Palette.h"
#include "Shapes.h"

using namespace Shapes;

namespace {
constexpr qreal Grid = 16;

// Small sheets are drawn on half pixels so that their one-pixel outline stays sharp.
void smallSheet(Drawing& d)
{
    addSheet(d, QRectF(2.5, 1.5, 10, 13), 3, 1);
}

Drawing payment()
{
    Drawing d(Grid);
    d.fillAndStroke(rect(QRectF(0.5, 2.5, 12, 7), 1), Palette::GreenLight, Palette::Green, 1);
    d.stroke(circle(QPointF(6.5, 6), 1.6), Palette::Green, 1);
    addCoin(d, QPointF(11, 10.5), 4.5, 1.1);
    return d;
}

Drawing mandate()
{
    Drawing d(Grid);
    smallSheet(d);
    addTextLines(d, 4.5, 4, {4, 6}, 2.5, 1, Palette::VioletSoft);
    d.stroke(signature(QPointF(4.5, 11), 6.5, 1.6), Palette::Violet, 1);
    return d;
}

Drawing change()
{
    Drawing d(Grid);
    smallSheet(d);
    addTextLines(d, 4.5, 4, {4, 6, 3}, 2.5, 1, Palette::VioletSoft);
    addBadge(d, QPointF(11.5, 11.5), 3.8, Palette::Red, 0.8);
    addCross(d, QPointF(11.5, 11.5), 1.6, 1.3);
    return d;
}
} // namespace

std::vector<std::pair<QString, Drawing>> rowIcons()
{
    return {{QStringLiteral("payment"), payment()},
            {QStringLiteral("mandate"), mandate()},
            {QStringLiteral("change"), change()}};
}
