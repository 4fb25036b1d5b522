#pragma once

#include "format/FileShower.h"

class OrderDocument;
class TViewer;
class UserPrompt;

// "&Visa fil": shows the file named by CurrentFile read-only, in the external presentation
// program when one is registered and otherwise in the viewer. What is shown is the file as
// stored, not the rows in the window.
class ShowFileCommand : public FileShower
{
public:
    ShowFileCommand(const OrderDocument& document, TViewer& viewer, UserPrompt& prompt);

    void VisaBtnClick() override;

private:
    void showInViewer();

    const OrderDocument& m_document;
    TViewer& m_viewer;
    UserPrompt& m_prompt;
};
