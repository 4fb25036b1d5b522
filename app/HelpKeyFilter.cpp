#include "app/HelpKeyFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

HelpKeyFilter::HelpKeyFilter(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler))
{
}

bool HelpKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || !widget)
        return QObject::eventFilter(watched, event);
    if (key->isAutoRepeat())
        return true;
    return m_handler(widget->window());
}
