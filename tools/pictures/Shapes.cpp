#include "Shapes.h"

#include "Palette.h"

#include <QFontMetricsF>
#include <QTransform>
#include <QtMath>

namespace Shapes {
QPainterPath rect(const QRectF& area, qreal radius)
{
    QPainterPath path;
    if (radius > 0)
        path.addRoundedRect(area, radius, radius);
    else
        path.addRect(area);
    return path;
}

QPainterPath circle(QPointF centre, qreal radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QPainterPath ellipse(const QRectF& area)
{
    QPainterPath path;
    path.addEllipse(area);
    return path;
}

QPainterPath polyline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF& point : points) {
        if (first)
            path.moveTo(point);
        else
            path.lineTo(point);
        first = false;
    }
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path = polyline(points);
    path.closeSubpath();
    return path;
}

QPainterPath sheet(const QRectF& area, qreal fold)
{
    QPainterPath path;
    path.moveTo(area.left(), area.top());
    path.lineTo(area.right() - fold, area.top());
    path.lineTo(area.right(), area.top() + fold);
    path.lineTo(area.right(), area.bottom());
    path.lineTo(area.left(), area.bottom());
    path.closeSubpath();
    return path;
}

QPainterPath sheetFold(const QRectF& area, qreal fold)
{
    return polygon({QPointF(area.right() - fold, area.top()), QPointF(area.right() - fold, area.top() + fold),
                    QPointF(area.right(), area.top() + fold)});
}

QPainterPath text(const QString& text, const QFont& font, QPointF centre)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    path.translate(centre - bounds.center());
    path.setFillRule(Qt::WindingFill);
    return path;
}

QFont boldFont(qreal pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(true);
    return font;
}

QFont monoFont(qreal pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(qRound(pixelSize));
    return font;
}

QPainterPath gear(QPointF centre, qreal outer, qreal inner, qreal hole, int teeth)
{
    QPainterPath wheel;
    const qreal step = 2 * M_PI / teeth;
    // Each tooth: a flank up, a flat top, a flank down, a stretch of root circle.
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * step - M_PI / 2;
        const QList<QPair<qreal, qreal>> corners = {{a - step * 0.30, inner},
                                                    {a - step * 0.17, outer},
                                                    {a + step * 0.17, outer},
                                                    {a + step * 0.30, inner}};
        for (const auto& [angle, radius] : corners) {
            const QPointF point(centre.x() + radius * qCos(angle), centre.y() + radius * qSin(angle));
            if (i == 0 && angle == corners.first().first)
                wheel.moveTo(point);
            else
                wheel.lineTo(point);
        }
    }
    wheel.closeSubpath();
    QPainterPath rounded;
    rounded.addEllipse(centre, inner + 0.4, inner + 0.4);
    return wheel.united(rounded).subtracted(circle(centre, hole));
}

QPainterPath signature(QPointF from, qreal width, qreal height)
{
    QPainterPath path(from);
    const qreal w = width;
    const qreal h = height;
    const qreal x = from.x();
    const qreal y = from.y();
    path.cubicTo(x + w * 0.10, y - h, x + w * 0.22, y - h, x + w * 0.20, y);
    path.cubicTo(x + w * 0.18, y + h * 0.6, x + w * 0.34, y + h * 0.2, x + w * 0.42, y - h * 0.5);
    path.cubicTo(x + w * 0.48, y - h, x + w * 0.56, y - h * 0.2, x + w * 0.58, y + h * 0.3);
    path.cubicTo(x + w * 0.62, y + h * 0.6, x + w * 0.72, y - h * 0.8, x + w * 0.80, y - h * 0.2);
    path.cubicTo(x + w * 0.86, y + h * 0.3, x + w * 0.92, y + h * 0.1, x + w, y - h * 0.3);
    return path;
}

void addSheet(Drawing& d, const QRectF& area, qreal fold, qreal line)
{
    d.fillAndStroke(sheet(area, fold), Palette::Paper, Palette::Violet, line);
    d.fillAndStroke(sheetFold(area, fold), Palette::Lavender, Palette::Violet, line);
}

void addTextLines(Drawing& d, qreal left, qreal top, std::initializer_list<qreal> lengths, qreal step,
                  qreal thickness, const QColor& colour)
{
    qreal y = top;
    for (qreal length : lengths) {
        if (length > 0)
            d.fill(rect(QRectF(left, y, length, thickness), thickness / 2), colour);
        y += step;
    }
}

void addPencil(Drawing& d, QPointF tip, qreal angle, qreal length, qreal width)
{
    QTransform place;
    place.translate(tip.x(), tip.y());
    place.rotate(angle);
    const qreal half = width / 2;
    const qreal point = width * 1.35;
    const qreal lead = point * 0.38;
    const qreal eraser = width * 0.9;
    const qreal band = width * 0.45;
    const qreal body = length - point - eraser - band;

    const QPainterPath wood = polygon({QPointF(0, 0), QPointF(point, -half), QPointF(point, half)});
    const QPainterPath graphite =
        polygon({QPointF(0, 0), QPointF(lead, -half * lead / point), QPointF(lead, half * lead / point)});
    const QPainterPath shaft = rect(QRectF(point, -half, body, width));
    const QPainterPath shaftLight = rect(QRectF(point, -half, body, width * 0.38));
    const QPainterPath ferrule = rect(QRectF(point + body, -half, band, width));
    const QPainterPath rubber =
        rect(QRectF(point + body + band - width * 0.2, -half, eraser + width * 0.2, width), width * 0.3);

    d.fill(place.map(rubber), Palette::Rose);
    d.fill(place.map(ferrule), Palette::Steel);
    d.fill(place.map(shaft), Palette::Gold);
    d.fill(place.map(shaftLight), Palette::GoldLight);
    d.fill(place.map(wood), Palette::Wood);
    d.fill(place.map(graphite), Palette::VioletDark);
}

void addCoinStack(Drawing& d, qreal left, qreal bottom, qreal width, int count, qreal thickness)
{
    const qreal face = width * 0.36;
    for (int i = 0; i < count; ++i) {
        const qreal top = bottom - face - thickness * (i + 1);
        QPainterPath side;
        side.addRect(QRectF(left, top + face / 2, width, thickness));
        side.addEllipse(QRectF(left, top + thickness, width, face));
        side = side.simplified();
        d.fill(side, Palette::GoldDark);
        d.fill(ellipse(QRectF(left, top, width, face)), Palette::Gold);
        if (i == count - 1) {
            const qreal inset = width * 0.16;
            d.stroke(ellipse(QRectF(left + inset, top + face * 0.2, width - 2 * inset, face * 0.6)),
                     Palette::GoldDark, thickness * 0.35);
        }
    }
}

void addCoin(Drawing& d, QPointF centre, qreal radius, qreal outline)
{
    d.fill(circle(centre, radius), Palette::GoldDark);
    d.fill(circle(centre - QPointF(radius * 0.06, radius * 0.06), radius - outline), Palette::Gold);
    d.stroke(circle(centre, radius * 0.62), Palette::GoldDark, outline * 0.8);
}

void addBadge(Drawing& d, QPointF centre, qreal radius, const QColor& colour, qreal rim)
{
    d.fill(circle(centre, radius + rim), Palette::Paper);
    d.fill(circle(centre, radius), colour);
}

void addCross(Drawing& d, QPointF centre, qreal half, qreal width)
{
    const qreal x = centre.x();
    const qreal y = centre.y();
    d.stroke(polyline({QPointF(x - half, y - half), QPointF(x + half, y + half)}), Palette::Paper, width);
    d.stroke(polyline({QPointF(x + half, y - half), QPointF(x - half, y + half)}), Palette::Paper, width);
}

void addPlus(Drawing& d, QPointF centre, qreal half, qreal width)
{
    const qreal x = centre.x();
    const qreal y = centre.y();
    d.stroke(polyline({QPointF(x - half, y), QPointF(x + half, y)}), Palette::Paper, width);
    d.stroke(polyline({QPointF(x, y - half), QPointF(x, y + half)}), Palette::Paper, width);
}
} // namespace Shapes
