#include "dialogs/MdgCompUnit.h"

#include "gui/DialogTestSupport.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace DialogTest;

namespace {

class MdgCompFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        resetMessages();
    }
    TMdgCompForm form;
};

TEST_F(MdgCompFormTest, OkNormalisesAndChecksTheBankgiroNumber)
{
    const struct
    {
        QString typed;
        bool accepted;
        QString shown;
    } cases[] = {
        {QStringLiteral("1234 5674"), true, QStringLiteral("1234-5674")},
        {QStringLiteral("0001234566"), true, QStringLiteral("123-4566")},
        {QString(), false, QString()},
        {QStringLiteral("1234567"), false, QStringLiteral("123-4567")},
        {QStringLiteral("12345"), false, QStringLiteral("12345")},
    };
    for (const auto& c : cases) {
        resetMessages();
        form.BgNrEdit->setText(c.typed);
        form.SaveBtn->setFocus();
        EXPECT_EQ(pressOk(form), c.accepted) << qPrintable(c.typed);
        EXPECT_EQ(form.BgNrEdit->text(), c.shown);
        if (!c.accepted) {
            EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("Felaktigt Bankgironummer")});
            EXPECT_EQ(form.focusWidget(), form.BgNrEdit);
        }
    }
}

TEST_F(MdgCompFormTest, ExitFormatsAndRowRoundTrips)
{
    form.BgNrEdit->setText(QStringLiteral("12345674"));
    leaveField(form.BgNrEdit);
    EXPECT_EQ(form.BgNrEdit->text(), QStringLiteral("1234-5674"));

    const ListRow row(QStringLiteral("123-4566"), {});
    form.LoadRow(row);
    EXPECT_EQ(form.BgNrEdit->text(), QStringLiteral("123-4566"));
    ASSERT_TRUE(pressOk(form));
    EXPECT_EQ(form.Row(), row);
}

} // namespace
