#pragma once

#include "app/DocumentView.h"

#include <QList>

#include <functional>

// A DocumentView for tests: records the resizePanels flag of every UpdateView call.
class FakeDocumentView : public DocumentView
{
public:
    void UpdateView(bool resizePanels) override { calls.append(resizePanels); }
    bool openSettings() override
    {
        ++settingsOpened;
        return settingsAnswer ? settingsAnswer() : false;
    }

    QList<bool> calls;
    int settingsOpened = 0;
    std::function<bool()> settingsAnswer; // what the user does in the settings dialog
};
