#include "register/RegisterWindowEntry.h"

#include "app/Clock.h"
#include "app/MainActions.h"
#include "app/MainForm.h"
#include "app/RecentFiles.h"
#include "register/RegisterSettings.h"
#include "register/ItemSources.h"
#include "register/ReportOpening.h"
#include "register/RegisterWindow.h"
#include "register/RegisterFollowUps.h"
#include "register/ReportFollowUp.h"
#include "viewer/ViewerUnit.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The folders where the register's files are most likely: the current file's, those of the files
// used lately, and the order files' own folder in the documents.
QStringList SourceFolders(TMainForm& form)
{
    QStringList folders;
    const auto add = [&folders](const QString& folder) {
        if (!folder.isEmpty() && !folders.contains(folder))
            folders.append(folder);
    };
    if (!form.document().CurrentFile.isEmpty())
        add(QFileInfo(form.document().CurrentFile).absolutePath());
    for (const QString& file : RecentFiles::load())
        add(QFileInfo(file).absolutePath());
    add(QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QStringLiteral("Autogirofiler")));
    return folders;
}

} // namespace

void ConnectRegisterWindow(TMainForm& form)
{
    auto* window = new RegisterWindow(
        form.prompt(),
        [&form](const QString& path, int line) {
            if (!form.Viewer->LoadFile(path))
                return;
            form.Viewer->showLine(line);
            form.Viewer->ShowModal();
        },
        &form);
    const RegisterFollowUps followUps = MainFormFollowUps(form);
    window->setRetry(followUps.retry);
    window->setAnswer(followUps.answer);
    window->setNewPayments(followUps.newPayments);
    window->setCorrect(followUps.correct);
    auto* reportFollowUp = new ReportFollowUp(*form.Viewer->reportView(), form.prompt(),
                                              [] { return RegisterSettings::path(); }, followUps);
    form.Viewer->setReportOpened([&form, reportFollowUp](const QString& path) {
        const QString line = ImportReportOnOpening(path, RegisterSettings::path(), form.prompt(), Clock::system());
        reportFollowUp->refresh();
        return line;
    });
    form.Viewer->setItemSources(
        [](const QString& path) { return ReportItemSources(path, RegisterSettings::path()); });
    QObject::connect(form.Actions->Register, &QAction::triggered, window, [&form, window] {
        const QString path = RegisterSettings::path();
        window->setSourceFolders(SourceFolders(form));
        if (!window->openRegister(path))
            return;
        window->show();
        window->raise();
        window->activateWindow();
    });
}
