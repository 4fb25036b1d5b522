#pragma once

#include "app/Clock.h"
#include "app/ListCommands.h"
#include "app/OrderDocument.h"
#include "dialogs/BtuUnit.h"
#include "dialogs/MakUnit.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"
#include "gui/DialogTestSupport.h"
#include "support/FakeDocumentView.h"
#include "support/FakeListSelection.h"
#include "support/GuiPrompt.h"
#include "support/TestSupport.h"

#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// The list commands over the four entry dialogs, with a fixed date. The tests act in the dialogs
// as the user does, from a timer that runs once the next dialog is open.
class ListCommandsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        DialogTest::resetMessages();
        document.FillMakTexts();
    }

    void TearDown() override { EXPECT_EQ(m_dialogsShown, m_dialogsExpected); }

    // What the user does in the next dialog that opens. A dialog still open afterwards is a fault
    // of the test or of the checks; it is cancelled so that the test never waits.
    void whenShown(QDialog& dialog, std::function<void()> action)
    {
        m_dialogsExpected++;
        QTimer::singleShot(0, &dialog, [this, &dialog, action] {
            ++m_dialogsShown;
            EXPECT_TRUE(dialog.isVisible());
            action();
            if (dialog.isVisible()) {
                ADD_FAILURE() << "dialog left open: "
                              << DialogTest::shownTexts().join(QLatin1Char(';')).toStdString();
                dialog.reject();
            }
        });
    }

    FixedClock clock{QDate(2026, 3, 10)};
    OrderDocument document;
    FakeDocumentView view;
    FakeListSelection selection;
    TBtuForm btu{nullptr, &clock};
    TMdgForm mdg;
    TMdgCompForm mdgComp;
    TMakForm mak{nullptr, &clock};
    ListCommands commands{document, view, selection, {btu, mdg, mdgComp, mak}, guiPrompt()};

private:
    int m_dialogsExpected = 0;
    int m_dialogsShown = 0;
};
