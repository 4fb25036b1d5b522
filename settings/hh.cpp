#include "settings/hh.h"

#include "app/MessageBox.h"
#include "format/UserPrompt.h"
#include "settings/HelpFile.h"
#include "settings/HelpWindow.h"

#include <QApplication>

void ShowHelpTopic(const QString& topic)
{
    if (!HelpFile::load()) {
        MessageBox::show(QApplication::activeWindow(), ApplicationTitle(), HelpFile::notAvailableMessage(),
                         MessageBox::Buttons::Ok, MessageBox::Icon::Information);
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
