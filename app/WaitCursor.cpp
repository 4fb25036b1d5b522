#include "app/WaitCursor.h"

#include <QApplication>
#include <QWidget>

void BeginWaitCursor(QWidget* window)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (window && window->window()->isVisible())
        window->window()->repaint();
}

void EndWaitCursor()
{
    QApplication::restoreOverrideCursor();
}
