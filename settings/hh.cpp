#include "settings/hh.h"

#include "app/WidgetPrompt.h"
#include "format/UserPrompt.h"
#include "settings/HelpFile.h"
#include "settings/HelpWindow.h"

#include <QApplication>

void ShowHelpTopic(const QString& topic)
{
    if (!HelpFile::load()) {
        WidgetPrompt(QApplication::activeWindow())
            .showMessage(ApplicationTitle(), HelpFile::notAvailableMessage(), UserPrompt::Buttons::Ok,
                         UserPrompt::Icon::Information);
        return;
    }
    HelpWindow::open()->showTopic(topic);
}

void LoadHelpViewer()
{
    HelpFile::load();
}

void FreeHelpViewer()
{
    HelpWindow::closeAll();
    HelpFile::unload();
}
