#include "app/MessageBox.h"
#include "dialogs/BtuUnit.h"
#include "dialogs/MakUnit.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"
#include "settings/HelpFile.h"
#include "settings/HelpWindow.h"
#include "settings/hh.h"

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
        MessageBox::clearShown();
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
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

} // namespace
