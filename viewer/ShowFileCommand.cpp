#include "viewer/ShowFileCommand.h"

#include "app/MessageBox.h"
#include "app/OrderDocument.h"
#include "viewer/PresentationProgram.h"
#include "viewer/ViewerUnit.h"

ShowFileCommand::ShowFileCommand(const OrderDocument& document, TViewer& viewer, QWidget* parent)
    : m_document(document), m_viewer(viewer), m_parent(parent)
{
}

void ShowFileCommand::VisaBtnClick()
{
    if (m_document.CurrentFile.isEmpty()) {
        MessageBox::show(m_parent, QStringLiteral("Info"), QStringLiteral("Du måste först spara filen."),
                         MessageBox::Buttons::Ok);
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
