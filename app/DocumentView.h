#pragma once

// What the commands need of the window that shows the document.
class DocumentView
{
public:
    virtual ~DocumentView() = default;
    // Recomputes visibility, layout, captions and enabled commands; does nothing while Loading.
    virtual void UpdateView(bool resizePanels) = 0;
    // Hides the payment section and the lower block and shows the start section.
    virtual void showStartSection() {}
    // Shows the settings dialog; true when the user stored new settings.
    virtual bool openSettings() { return false; }
};
