#pragma once

#include "app/DocumentView.h"

#include <QList>

// A DocumentView for tests: records the resizePanels flag of every UpdateView call.
class FakeDocumentView : public DocumentView
{
public:
    void UpdateView(bool resizePanels) override { calls.append(resizePanels); }

    QList<bool> calls;
};
