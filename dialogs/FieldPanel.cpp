#include "dialogs/FieldPanel.h"

#include "theme/ThemeColours.h"

#include <QPainter>

FieldPanel::FieldPanel(QWidget* parent) : QWidget(parent) {}

QColor FieldPanel::fillColor()
{
    return ThemeColours::panelFill();
}

void FieldPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ThemeColours::panelOutline(), 1));
    painter.setBrush(fillColor());
    const qreal radius = 10;
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}
