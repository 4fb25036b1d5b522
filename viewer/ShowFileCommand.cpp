#include "viewer/ShowFileCommand.h"

#include "app/OrderDocument.h"
#include "format/UserPrompt.h"
#include "viewer/PresentationProgram.h"
#include "viewer/ViewerUnit.h"

ShowFileCommand::ShowFileCommand(const OrderDocument& document, TViewer& viewer, UserPrompt& prompt)
    : m_document(document), m_viewer(viewer), m_prompt(prompt)
{
}

void ShowFileCommand::VisaBtnClick()
{
    if (m_document.CurrentFile.isEmpty()) {
        m_prompt.showMessage(QStringLiteral("Info"), QStringLiteral("Du måste först spara filen."),
                             UserPrompt::Buttons::Ok);
        return;
    }

    const QString program = PresentationProgram::ProgramPath();
    if (program.isEmpty()) {
        showInViewer();
        return;
    }
    PresentationProgram::Start(program, m_document.CurrentFile, PresentationProgram::IndexFilePath());
}

void ShowFileCommand::showInViewer()
{
    if (m_viewer.LoadFile(m_document.CurrentFile))
        m_viewer.ShowModal();
}
