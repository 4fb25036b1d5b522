#pragma once

#include "Drawing.h"

#include <QFont>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <initializer_list>

// Paths and small compositions shared by the pictures.
namespace Shapes {
QPainterPath rect(const QRectF& area, qreal radius = 0);
QPainterPath circle(QPointF centre, qreal radius);
QPainterPath ellipse(const QRectF& area);
QPainterPath polyline(std::initializer_list<QPointF> points);
QPainterPath polygon(std::initializer_list<QPointF> points);
// The outline of a sheet with its upper right corner folded down by `fold`.
QPainterPath sheet(const QRectF& area, qreal fold);
QPainterPath sheetFold(const QRectF& area, qreal fold);
// Text as outlines, centred on `centre`.
QPainterPath text(const QString& text, const QFont& font, QPointF centre);
QFont boldFont(qreal pixelSize);
QFont monoFont(qreal pixelSize);
// A toothed wheel with a round hole.
QPainterPath gear(QPointF centre, qreal outer, qreal inner, qreal hole, int teeth);
// A signature-like scribble from `from`, `width` long.
QPainterPath signature(QPointF from, qreal width, qreal height);

// A white sheet with a violet outline and its fold, and text lines on it.
void addSheet(Drawing& d, const QRectF& area, qreal fold, qreal line);
void addTextLines(Drawing& d, qreal left, qreal top, std::initializer_list<qreal> lengths, qreal step,
                  qreal thickness, const QColor& colour);
// A pencil with its point at `tip`, lying at `angle` degrees (0 points the body to the right).
void addPencil(Drawing& d, QPointF tip, qreal angle, qreal length, qreal width);
// A stack of `count` coins seen slightly from above; `bottom` is the lowest coin's lower edge.
void addCoinStack(Drawing& d, qreal left, qreal bottom, qreal width, int count, qreal thickness);
// A coin seen from the front.
void addCoin(Drawing& d, QPointF centre, qreal radius, qreal outline);
// A round badge with a white rim.
void addBadge(Drawing& d, QPointF centre, qreal radius, const QColor& colour, qreal rim);
void addCross(Drawing& d, QPointF centre, qreal half, qreal width);
void addPlus(Drawing& d, QPointF centre, qreal half, qreal width);
} // namespace Shapes
