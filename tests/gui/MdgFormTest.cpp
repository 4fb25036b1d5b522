#include "dialogs/MdgUnit.h"

#include "app/Clock.h"
#include "gui/DialogTestSupport.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace DialogTest;

namespace {

class MdgFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        resetMessages();
    }

    void fillValidPaperMandate()
    {
        form.FormShow();
        form.TypCmbo->setCurrentIndex(0);
        form.BetalarEdit->setText(QStringLiteral("4711"));
        form.ClearingNrEdit->setText(QStringLiteral("5000"));
        form.KontoNrEdit->setText(QStringLiteral("1234560"));
        form.PersonNrEdit->setText(QStringLiteral("6501011230"));
    }

    FixedClock clock{QDate(2026, 12, 8)};
    TMdgForm form{nullptr, &clock};
};

TEST_F(MdgFormTest, TypeRuleShowsTheFieldsOfTheKind)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Medgivande"));
    EXPECT_EQ(form.TypCmbo->currentIndex(), -1);
    form.FormShow();
    EXPECT_EQ(form.TypCmbo->currentText(), QStringLiteral("Medgivande på papper"));
    EXPECT_FALSE(form.ClearingNrEdit->isHidden() || form.KontoNrEdit->parentWidget()->isHidden());
    EXPECT_FALSE(form.KontoLabel->isHidden());
    EXPECT_TRUE(form.IdEdit->isHidden());
    EXPECT_TRUE(form.OkRadio->isHidden());

    form.TypCmbo->setCurrentIndex(1);
    EXPECT_TRUE(form.KontoLabel->isHidden());
    EXPECT_TRUE(form.KontoNrEdit->parentWidget()->isHidden());
    EXPECT_FALSE(form.IdEdit->isHidden());
    EXPECT_EQ(form.IdLabel->text(), QStringLiteral("Unikt id-nummer"));
    EXPECT_FALSE(form.OkRadio->isHidden());
    EXPECT_TRUE(form.OkRadio->isChecked());
}

TEST_F(MdgFormTest, ExitsNormaliseThePayerAndTheCivicNumber)
{
    const struct
    {
        QString typed;
        QString shown;
    } personCases[] = {
        {QStringLiteral("6501011234"), QStringLiteral("19650101-1234")},
        {QStringLiteral("0101011234"), QStringLiteral("20010101-1234")},  // the century of the date
        {QStringLiteral("050101+1233"), QStringLiteral("19050101-1233")}, // "+": a hundred years more
        {QStringLiteral("270101-1234"), QStringLiteral("19270101-1234")}, // 2027 lies ahead
        {QStringLiteral("196501011234"), QStringLiteral("19650101-1234")},
        {QStringLiteral("650101-1234"), QStringLiteral("19650101-1234")},
        {QStringLiteral("19650101-1234"), QStringLiteral("19650101-1234")},
        {QStringLiteral("5560001234"), QStringLiteral("5560001234")}, // month 60: an organisation number
    };
    for (const auto& c : personCases) {
        form.PersonNrEdit->setText(c.typed);
        leaveField(form.PersonNrEdit);
        EXPECT_EQ(form.PersonNrEdit->text(), c.shown) << qPrintable(c.typed);
    }
    form.BetalarEdit->setText(QStringLiteral("0001234567"));
    leaveField(form.BetalarEdit);
    EXPECT_EQ(form.BetalarEdit->text(), QStringLiteral("123-4567"));
}

TEST_F(MdgFormTest, OkChecksInOrderAndPutsTheFocusIntoTheFieldAtFault)
{
    const struct
    {
        const char* name;
        int type;
        QString payer;
        QString person;
        QString clearing;
        QString account;
        QString id;
        QString message;
        int field; // 0 payer, 1 person, 2 clearing, 3 account, 4 id
    } cases[] = {
        {"empty payer", 0, QString(), QStringLiteral("19651301-1234"), QStringLiteral("1"), QString(),
         QString(), QStringLiteral("Felaktigt betalarnummer"), 0},
        {"bad month", 0, QStringLiteral("1"), QStringLiteral("19651301-1234"), QStringLiteral("1"), QString(),
         QString(), QStringLiteral("Felaktigt personnummer"), 1},
        {"bad century", 0, QStringLiteral("1"), QStringLiteral("18991231-1234"), QStringLiteral("1"),
         QString(), QString(), QStringLiteral("Felaktigt personnummer"), 1},
        {"empty civic number", 1, QStringLiteral("1"), QString(), QString(), QString(), QString(),
         QStringLiteral("Felaktigt personnummer"), 1},
        {"too few digits", 1, QStringLiteral("1"), QStringLiteral("650101-123"), QString(), QString(),
         QString(), QStringLiteral("Felaktigt personnummer"), 1},
        {"check digit", 0, QStringLiteral("1"), QStringLiteral("19650101-1234"), QStringLiteral("5000"),
         QStringLiteral("1234560"), QString(), QStringLiteral("Felaktigt personnummer"), 1},
        {"short clearing", 0, QStringLiteral("1"), QStringLiteral("19650101-1230"), QStringLiteral("123"),
         QStringLiteral("1234567"), QString(), QStringLiteral("Felaktigt clearingnummer"), 2},
        {"wrong Swedbank check digit", 0, QStringLiteral("1"), QStringLiteral("19650101-1230"),
         QStringLiteral("8327-8"), QStringLiteral("1234567897"), QString(),
         QStringLiteral("Felaktigt clearingnummer"), 2},
        {"short account", 0, QStringLiteral("1"), QStringLiteral("19650101-1230"), QStringLiteral("1234"),
         QStringLiteral("123456"), QString(), QStringLiteral("Felaktigt kontonummer"), 3},
        {"account check digit", 0, QStringLiteral("1"), QStringLiteral("19650101-1230"),
         QStringLiteral("5000"), QStringLiteral("1234567"), QString(),
         QStringLiteral("Felaktigt kontonummer"), 3},
        {"clearing with zero", 0, QStringLiteral("1"), QStringLiteral("19650101-1230"),
         QStringLiteral("0123"), QStringLiteral("4567890"), QString(),
         QStringLiteral("Felaktigt clearingnummer"), 2},
        {"unencodable id", 1, QStringLiteral("1"), QStringLiteral("19650101-1230"), QString(), QString(),
         QStringLiteral("12\u2603"),
         QStringLiteral(
             "Tecknet \u201D\u2603\u201D kan inte sparas i en Autogirofil. Skriv texten utan det."),
         4},
        {"letters in the id", 1, QStringLiteral("1"), QStringLiteral("19650101-1230"), QString(), QString(),
         QStringLiteral("9918A"), QStringLiteral("Id-numret ska bestå av siffror"), 4},
        {"unencodable civic number", 1, QStringLiteral("1"), QStringLiteral("AB\u0141"), QString(), QString(),
         QString(),
         QStringLiteral(
             "Tecknet \u201D\u0141\u201D kan inte sparas i en Autogirofil. Skriv texten utan det."),
         1},
    };
    QWidget* fields[] = {form.BetalarEdit, form.PersonNrEdit, form.ClearingNrEdit, form.KontoNrEdit,
                         form.IdEdit};
    for (const auto& c : cases) {
        resetMessages();
        form.FormShow();
        form.TypCmbo->setCurrentIndex(c.type);
        form.BetalarEdit->setText(c.payer);
        form.PersonNrEdit->setText(c.person);
        form.ClearingNrEdit->setText(c.clearing);
        form.KontoNrEdit->setText(c.account);
        form.IdEdit->setText(c.id);
        form.SaveBtn->setFocus();
        EXPECT_FALSE(pressOk(form)) << c.name;
        EXPECT_EQ(shownTexts(), QStringList{c.message}) << c.name;
        EXPECT_EQ(form.focusWidget(), fields[c.field]) << c.name;
    }
}

TEST_F(MdgFormTest, ElectronicMandateSkipsTheAccountChecks)
{
    form.FormShow();
    form.TypCmbo->setCurrentIndex(1);
    form.BetalarEdit->setText(QStringLiteral("4711"));
    form.PersonNrEdit->setText(QStringLiteral("19650101-1230"));
    form.ClearingNrEdit->setText(QStringLiteral("1"));
    form.IdEdit->setText(QString());
    EXPECT_TRUE(pressOk(form));
}

TEST_F(MdgFormTest, SeparatorInTheCenturyIsRefusedAsAWrongNumber)
{
    fillValidPaperMandate();
    form.PersonNrEdit->setText(QStringLiteral("1-96501011230")); // 12 digits, month field 01
    EXPECT_FALSE(pressOk(form));
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("Felaktigt personnummer")});
    EXPECT_EQ(form.PersonNrEdit->text(), QStringLiteral("1-96501011230")); // kept as typed
    EXPECT_EQ(form.focusWidget(), form.PersonNrEdit);
}

TEST_F(MdgFormTest, RowsWritten)
{
    fillValidPaperMandate();
    form.AvvisaRadio->setChecked(true); // hidden: a paper mandate never gets the prefix
    ASSERT_TRUE(pressOk(form));
    EXPECT_EQ(form.Row(), ListRow(QStringLiteral("Medgivande på papper"),
                                  {QStringLiteral("4711"), QStringLiteral("5000-1234560"),
                                   QStringLiteral("19650101-1230")}));

    // Swedbank's fifth clearing digit checks the clearing number and is no part of the account.
    form.ClearingNrEdit->setText(QStringLiteral("8327-9"));
    form.KontoNrEdit->setText(QStringLiteral("123456-6"));
    ASSERT_TRUE(pressOk(form));
    EXPECT_EQ(form.Row().text(2), QStringLiteral("8327-0001234566"));

    form.TypCmbo->setCurrentIndex(1);
    form.IdEdit->setText(QStringLiteral("0099887766"));
    ASSERT_TRUE(pressOk(form));
    EXPECT_EQ(form.Row().caption(), QStringLiteral("Avvisad - Autogiro elektroniskt medgivande"));
    EXPECT_EQ(form.Row().text(2), QStringLiteral("0099887766"));
    form.OkRadio->setChecked(true);
    EXPECT_EQ(form.Row().caption(), QStringLiteral("Autogiro elektroniskt medgivande"));
}

TEST_F(MdgFormTest, LoadingRowsOfEveryKindAndWritingThemBack)
{
    const ListRow rows[] = {
        ListRow(
            QStringLiteral("Medgivande på papper"),
            {QStringLiteral("123-4567"), QStringLiteral("6000-000012343"), QStringLiteral("19650101-1230")}),
        ListRow(QStringLiteral("Autogiro elektroniskt medgivande"),
                {QStringLiteral("4711"), QStringLiteral("998877"), QStringLiteral("19700101-0003")}),
        ListRow(QStringLiteral("Avvisad - Autogiro elektroniskt medgivande"),
                {QStringLiteral("4712"), QStringLiteral("12345"), QStringLiteral("20001231-0009")}),
    };
    for (const ListRow& row : rows) {
        form.LoadRow(row);
        form.FormShow();
        ASSERT_TRUE(pressOk(form)) << qPrintable(row.caption());
        EXPECT_EQ(form.Row(), row);
    }
}

TEST_F(MdgFormTest, LoadingFillsBothTheAccountAndTheIdFields)
{
    form.LoadRow(
        ListRow(QStringLiteral("Medgivande på papper"),
                {QStringLiteral("1"), QStringLiteral("5000-1234567"), QStringLiteral("19650101-1234")}));
    EXPECT_EQ(form.ClearingNrEdit->text(), QStringLiteral("5000"));
    EXPECT_EQ(form.KontoNrEdit->text(), QStringLiteral("1234567"));
    EXPECT_EQ(form.IdEdit->text(), QStringLiteral("50001234567"));
    EXPECT_TRUE(form.OkRadio->isChecked());

    form.LoadRow(ListRow(QStringLiteral("AVVISAD - autogiro elektroniskt medgivande"),
                         {QStringLiteral("1"), QStringLiteral("777"), QString()}));
    EXPECT_EQ(form.TypCmbo->currentIndex(), 1);
    EXPECT_TRUE(form.AvvisaRadio->isChecked());
    EXPECT_EQ(form.ClearingNrEdit->text(), QString());
    EXPECT_EQ(form.KontoNrEdit->text(), QStringLiteral("777"));

    form.LoadRow(ListRow(QStringLiteral("Okänt"), {QString(), QString(), QString()}));
    form.FormShow();
    EXPECT_EQ(form.TypCmbo->currentText(), QStringLiteral("Medgivande på papper"));
}

} // namespace
