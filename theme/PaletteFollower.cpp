#include "theme/PaletteFollower.h"

#include <QEvent>
#include <QWidget>

PaletteFollower::PaletteFollower(QWidget* widget, std::function<void()> apply)
    : QObject(widget), m_apply(std::move(apply))
{
    widget->installEventFilter(this);
}

void PaletteFollower::follow(QWidget* widget, std::function<void()> apply)
{
    apply();
    new PaletteFollower(widget, std::move(apply));
}

bool PaletteFollower::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ApplicationPaletteChange)
        m_apply();
    return QObject::eventFilter(watched, event);
}
