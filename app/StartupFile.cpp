#include "app/StartupFile.h"

#include "app/MainForm.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace {

// How long the file waits for the window to reach the screen; a window that is started minimised
// or on a display that never confirms it gets the file all the same after this time.
constexpr int ExposureWaitMilliseconds = 3000;
constexpr int ExposurePollMilliseconds = 10;

bool isOnScreen(const TMainForm& mainForm)
{
    const QWindow* window = mainForm.windowHandle();
    return window && window->isExposed();
}

// The window system confirms a new window a little after show(); the window is painted in that
// same step. Reading starts after it, so a large file is read in a drawn window under the wait
// cursor rather than in an empty frame.
void openWhenOnScreen(QPointer<TMainForm> window, const QString& path, QDeadlineTimer deadline)
{
    if (!window)
        return;
    if (!isOnScreen(*window) && !deadline.hasExpired()) {
        QTimer::singleShot(ExposurePollMilliseconds, window.data(),
                           [window, path, deadline] { openWhenOnScreen(window, path, deadline); });
        return;
    }
    window->openFileAtStart(path);
}

} // namespace

void OpenStartupFileLater(TMainForm& mainForm, const QStringList& fileArguments)
{
    if (fileArguments.isEmpty() || fileArguments.first().isEmpty())
        return;
    const QString path = QDir::cleanPath(QFileInfo(fileArguments.first()).absoluteFilePath());
    QPointer<TMainForm> window(&mainForm);
    QTimer::singleShot(0, &mainForm, [window, path] {
        openWhenOnScreen(window, path, QDeadlineTimer(ExposureWaitMilliseconds));
    });
}
