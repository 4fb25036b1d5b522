#include "app/WidgetPrompt.h"

#include "app/CursorPause.h"
#include "app/FileDialog.h"
#include "app/MessageBox.h"
#include "app/WaitCursor.h"


UserPrompt::Answer WidgetPrompt::showMessage(const QString& caption, const QString& text, Buttons buttons,
                                             Icon icon)
{
    return MessageBox::show(m_parent, caption, text, buttons, icon);
}

QString WidgetPrompt::askSaveFileName(const FileDialogOptions& options)
{
    const CursorPause arrowCursor;
    return FileDialog::getSaveFileName(m_parent, options);
}

QString WidgetPrompt::askOpenFileName(const FileDialogOptions& options)
{
    const CursorPause arrowCursor;
    return FileDialog::getOpenFileName(m_parent, options);
}

void WidgetPrompt::beginBusy()
{
    BeginWaitCursor(m_parent);
}

void WidgetPrompt::endBusy()
{
    EndWaitCursor();
}
