#include "dialogs/FieldExitWatcher.h"

#include <QFocusEvent>
#include <QWidget>

FieldExitWatcher::FieldExitWatcher(QWidget* field, std::function<void()> onExit)
    : QObject(field), m_onExit(std::move(onExit))
{
    field->installEventFilter(this);
}

bool FieldExitWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_onExit();
    }
    return QObject::eventFilter(watched, event);
}
