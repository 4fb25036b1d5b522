#include "app/StartupFile.h"

#include "app/MainForm.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

void OpenStartupFileLater(TMainForm& mainForm, const QStringList& fileArguments)
{
    if (fileArguments.isEmpty() || fileArguments.first().isEmpty())
        return;
    const QString path = QDir::cleanPath(QFileInfo(fileArguments.first()).absoluteFilePath());
    QPointer<TMainForm> window(&mainForm);
    QTimer::singleShot(0, &mainForm, [window, path] {
        if (window)
            window->openFileAtStart(path);
    });
}
