#include "dialogs/FieldPanel.h"

#include <QPainter>

FieldPanel::FieldPanel(QWidget* parent) : QWidget(parent) {}

void FieldPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(128, 128, 128), 1));
    painter.setBrush(fillColor());
    const qreal radius = 10;
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}
