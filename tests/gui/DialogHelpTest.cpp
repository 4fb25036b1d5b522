#include "dialogs/BtuUnit.h"
#include "dialogs/MakUnit.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"
#include "rules/NumberEdit.h"
#include "settings/HelpFile.h"
#include "settings/HelpWindow.h"
#include "settings/hh.h"
#include "support/GuiPrompt.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <QPushButton>
#include <QTextBrowser>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class DialogHelpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FreeHelpViewer();
        HelpFile::setSearchFolders({QString::fromUtf8(VALMO_HELP_FOLDER)});
        guiPrompt().messages.clear();
    }
    void TearDown() override
    {
        FreeHelpViewer();
        HelpFile::setSearchFolders({});
    }

    TBtuForm btu;
    TMdgForm mdg;
    TMdgCompForm mdgComp;
    TMakForm mak;
};

TEST_F(DialogHelpTest, EveryHelpButtonOpensItsTopic)
{
    const struct
    {
        const char* name;
        QAbstractButton* button;
        QString page;
        QString anchor;
    } cases[] = {
        {"payment Hjälp", btu.HelpBtn, QStringLiteral("Betaluppdrag.htm"), QString()},
        {"payment payer ?", btu.BtNrHelp, QStringLiteral("Betalarnummer.htm"), QString()},
        {"payment reference ?", btu.RefHlp, QStringLiteral("Betaluppdrag.htm"), QStringLiteral("referens")},
        {"mandate Hjälp", mdg.HelpBtn, QStringLiteral("Medgivanden.htm"), QString()},
        {"mandate payer ?", mdg.BtNrHelp, QStringLiteral("Betalarnummer.htm"), QString()},
        {"mandate civic number ?", mdg.PersNrHelp, QStringLiteral("Medgivanden.htm"),
         QStringLiteral("personnummer")},
        {"mandate account ?", mdg.KontoHelp, QStringLiteral("Medgivanden.htm"),
         QStringLiteral("kontonummer")},
        {"company mandate Hjälp", mdgComp.HelpBtn, QStringLiteral("Medgivanden.htm"), QString()},
        {"change Hjälp", mak.HelpBtn, QStringLiteral("Makuleringar_och_ändringar.htm"), QString()},
        {"change payer ?", mak.BtNrHelp, QStringLiteral("Betalarnummer.htm"), QString()},
    };
    for (const auto& c : cases) {
        c.button->click();
        HelpWindow* window = HelpWindow::instance();
        ASSERT_NE(window, nullptr) << c.name;
        EXPECT_EQ(window->currentPage(), c.page) << c.name;
        EXPECT_EQ(window->browser()->source().fragment(), c.anchor) << c.name;
    }
    EXPECT_TRUE(guiPrompt().messages.isEmpty());
}

TEST_F(DialogHelpTest, ReturnOnAFocusedButtonPressesThatButton)
{
    // Return on "Avbryt" cancels and Return on a help button opens its topic, as a click would;
    // only elsewhere does Return mean OK. Every dialog holds a valid order, so a wrong OK shows.
    btu.BetalarEdit->setText(QStringLiteral("4711"));
    btu.BeloppEdit->setValue(100);
    mdg.BetalarEdit->setText(QStringLiteral("4711"));
    mdg.PersonNrEdit->setText(QStringLiteral("19650101-1230"));
    mdg.ClearingNrEdit->setText(QStringLiteral("5000"));
    mdg.KontoNrEdit->setText(QStringLiteral("1234560"));
    mdgComp.BgNrEdit->setText(QStringLiteral("1234-5674"));
    mak.BetalarNrEdit->setText(QStringLiteral("4711"));
    mak.BeloppEdit->setValue(10);
    const struct
    {
        const char* name;
        EntryDialog* dialog;
        QAbstractButton* button;
        QString page; // empty: the dialog is cancelled
    } cases[] = {
        {"payment Avbryt", &btu, btu.QuiteBtn, QString()},
        {"payment Hjälp", &btu, btu.HelpBtn, QStringLiteral("Betaluppdrag.htm")},
        {"payment payer ?", &btu, btu.BtNrHelp, QStringLiteral("Betalarnummer.htm")},
        {"payment reference ?", &btu, btu.RefHlp, QStringLiteral("Betaluppdrag.htm")},
        {"mandate Avbryt", &mdg, mdg.QuiteBtn, QString()},
        {"mandate Hjälp", &mdg, mdg.HelpBtn, QStringLiteral("Medgivanden.htm")},
        {"mandate account ?", &mdg, mdg.KontoHelp, QStringLiteral("Medgivanden.htm")},
        {"company mandate Avbryt", &mdgComp, mdgComp.QuiteBtn, QString()},
        {"company mandate Hjälp", &mdgComp, mdgComp.HelpBtn, QStringLiteral("Medgivanden.htm")},
        {"change Avbryt", &mak, mak.QuiteBtn, QString()},
        {"change Hjälp", &mak, mak.HelpBtn, QStringLiteral("Makuleringar_och_ändringar.htm")},
    };
    for (const auto& c : cases) {
        FreeHelpViewer();
        c.dialog->show();
        c.dialog->setResult(-1);
        c.button->setFocus(Qt::TabFocusReason);
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(c.button, &event);
        EXPECT_NE(c.dialog->result(), int(QDialog::Accepted)) << c.name;
        if (c.page.isEmpty()) {
            EXPECT_EQ(c.dialog->result(), int(QDialog::Rejected)) << c.name;
            EXPECT_FALSE(c.dialog->isVisible()) << c.name;
        } else {
            EXPECT_TRUE(c.dialog->isVisible()) << c.name;
            HelpWindow* window = HelpWindow::instance();
            ASSERT_NE(window, nullptr) << c.name;
            EXPECT_EQ(window->currentPage(), c.page) << c.name;
        }
        c.dialog->hide();
    }
    EXPECT_TRUE(guiPrompt().messages.isEmpty());
}

} // namespace
