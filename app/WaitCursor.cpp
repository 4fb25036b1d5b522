#include "app/WaitCursor.h"

#include <QApplication>
#include <QWidget>

// Only layout requests are delivered and the window is repainted directly: the event loop does
// not run, so no timer or queued call can fire in the middle of the command that waits.
void BeginWaitCursor(QWidget* window)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QWidget* topLevel = window ? window->window() : nullptr;
    if (!topLevel || !topLevel->isVisible())
        return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    topLevel->repaint();
}

void EndWaitCursor()
{
    QApplication::restoreOverrideCursor();
}
