#include "dialogs/BtuUnit.h"
#include "dialogs/MakUnit.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Shows the dialog modally and tells which control had the focus once it was up. Before
// closing it moves the focus to "Avbryt", as a click on that button would.
QWidget* focusWhenShown(EntryDialog& dialog)
{
    QWidget* focused = nullptr;
    QTimer::singleShot(0, [&] {
        QApplication::processEvents();
        focused = dialog.focusWidget();
        dialog.QuiteBtn->setFocus(Qt::MouseFocusReason);
        dialog.reject();
    });
    dialog.ShowModal();
    return focused;
}

TEST(EntryDialogFocusTest, EveryShowingStartsInTheFirstFieldOfTheTabOrder)
{
    TBtuForm btu;
    TMdgForm mdg;
    TMdgCompForm mdgComp;
    TMakForm mak;
    TMakForm change;
    change.ChangeRadio->setChecked(true);

    const struct
    {
        const char* name;
        EntryDialog* dialog;
        QWidget* first;
    } cases[] = {
        {"payment order", &btu, btu.TypCmbo},
        {"mandate", &mdg, mdg.TypCmbo},
        {"company mandate", &mdgComp, mdgComp.BgNrEdit},
        {"cancellation", &mak, mak.MakRadio},
        // Tab into a group of radio buttons lands on the selected one.
        {"change", &change, change.ChangeRadio},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(focusWhenShown(*c.dialog), c.first);
        // The next use starts there again, not on the button that closed the dialog.
        EXPECT_EQ(focusWhenShown(*c.dialog), c.first);
    }
}

TEST(EntryDialogFocusTest, TabFromTheLastButtonReturnsToTheFirstField)
{
    TMakForm mak;
    TMdgCompForm mdgComp;
    const struct
    {
        const char* name;
        EntryDialog* dialog;
        QWidget* first;
    } cases[] = {
        {"cancellation", &mak, mak.MakRadio},
        {"company mandate", &mdgComp, mdgComp.BgNrEdit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget* next = c.dialog->QuiteBtn->nextInFocusChain();
        while (next != c.dialog && !(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        if (next == c.dialog) { // the chain wraps through the window itself
            next = next->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus))
                next = next->nextInFocusChain();
        }
        EXPECT_EQ(next, c.first);
    }
}

} // namespace
