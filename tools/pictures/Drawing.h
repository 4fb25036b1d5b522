#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QSizeF>
#include <QString>
#include <vector>

// A picture as an ordered list of filled and stroked paths on a grid of its own. The same list
// paints a PNG of any size and writes a scalable SVG, so both always show the same thing.
class Drawing
{
public:
    explicit Drawing(QSizeF grid);
    explicit Drawing(qreal gridSide) : Drawing(QSizeF(gridSide, gridSide)) {}

    void fill(const QPainterPath& path, const QColor& colour);
    void stroke(const QPainterPath& path, const QColor& colour, qreal width);
    void fillAndStroke(const QPainterPath& path, const QColor& fill, const QColor& line, qreal width);
    void append(const Drawing& other);

    QSizeF grid() const { return m_grid; }
    QImage render(QSize pixels) const;
    QImage render(int side) const { return render(QSize(side, side)); }
    QString toSvg(QSize pixels) const;

private:
    struct Shape
    {
        QPainterPath path;
        QColor fill;
        QColor line;
        qreal width = 0;
    };

    static QString svgPathData(const QPainterPath& path);

    QSizeF m_grid;
    std::vector<Shape> m_shapes;
};
