#include "Drawing.h"

#include <QPainter>
#include <QPen>
#include <QRegularExpression>

namespace {
QString number(qreal value)
{
    return QString::number(value, 'f', 2).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

QString colourText(const QColor& colour)
{
    return colour.name(QColor::HexRgb);
}
} // namespace

Drawing::Drawing(QSizeF grid) : m_grid(grid) {}

void Drawing::fill(const QPainterPath& path, const QColor& colour)
{
    m_shapes.push_back({path, colour, QColor(), 0});
}

void Drawing::stroke(const QPainterPath& path, const QColor& colour, qreal width)
{
    m_shapes.push_back({path, QColor(), colour, width});
}

void Drawing::fillAndStroke(const QPainterPath& path, const QColor& fill, const QColor& line, qreal width)
{
    m_shapes.push_back({path, fill, line, width});
}

void Drawing::append(const Drawing& other)
{
    m_shapes.insert(m_shapes.end(), other.m_shapes.begin(), other.m_shapes.end());
}

QImage Drawing::render(QSize pixels) const
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels.width() / m_grid.width(), pixels.height() / m_grid.height());
    for (const Shape& shape : m_shapes) {
        painter.setBrush(shape.fill.isValid() ? QBrush(shape.fill) : QBrush(Qt::NoBrush));
        if (shape.line.isValid())
            painter.setPen(QPen(shape.line, shape.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        else
            painter.setPen(Qt::NoPen);
        painter.drawPath(shape.path);
    }
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QString Drawing::svgPathData(const QPainterPath& path)
{
    QStringList parts;
    QPointF subpathStart;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        const QString point = number(element.x) + QLatin1Char(' ') + number(element.y);
        switch (element.type) {
        case QPainterPath::MoveToElement:
            subpathStart = element;
            parts << QStringLiteral("M") + point;
            break;
        case QPainterPath::LineToElement:
            if (QPointF(element) == subpathStart && i > 0 &&
                (i + 1 == path.elementCount() || path.elementAt(i + 1).type == QPainterPath::MoveToElement))
                parts << QStringLiteral("Z");
            else
                parts << QStringLiteral("L") + point;
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element second = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            parts << QStringLiteral("C") + point + QLatin1Char(' ') + number(second.x) + QLatin1Char(' ') +
                         number(second.y) + QLatin1Char(' ') + number(end.x) + QLatin1Char(' ') +
                         number(end.y);
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    return parts.join(QLatin1Char(' '));
}

QString Drawing::toSvg(QSize pixels) const
{
    QString svg;
    svg += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    svg += QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                          "viewBox=\"0 0 %3 %4\">\n")
               .arg(pixels.width())
               .arg(pixels.height())
               .arg(number(m_grid.width()), number(m_grid.height()));
    for (const Shape& shape : m_shapes) {
        svg += QStringLiteral("  <path d=\"") + svgPathData(shape.path) + QLatin1Char('"');
        svg += QStringLiteral(" fill=\"") +
               (shape.fill.isValid() ? colourText(shape.fill) : QStringLiteral("none")) + QLatin1Char('"');
        if (shape.fill.isValid() && shape.fill.alpha() < 255)
            svg += QStringLiteral(" fill-opacity=\"") + number(shape.fill.alphaF()) + QLatin1Char('"');
        if (shape.path.fillRule() == Qt::OddEvenFill)
            svg += QStringLiteral(" fill-rule=\"evenodd\"");
        if (shape.line.isValid()) {
            svg += QStringLiteral(" stroke=\"") + colourText(shape.line) +
                   QStringLiteral("\" stroke-width=\"") + number(shape.width) +
                   QStringLiteral("\" stroke-linecap=\"round\" stroke-linejoin=\"round\"");
        }
        svg += QStringLiteral("/>\n");
    }
    svg += QStringLiteral("</svg>\n");
    return svg;
}
