#include "dialogs/BtuUnit.h"
#include "support/GuiPrompt.h"

#include "app/Clock.h"
#include "gui/DialogTestSupport.h"
#include "rules/NumberEdit.h"
#include "rules/Periods.h"
#include "rules/ValmoError.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace DialogTest;

namespace {

const QString Nbsp = QString(QChar(0x00A0));

class BtuFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        resetMessages();
    }

    // A dialog as the first new payment order of a run shows it, with a valid payer.
    void prepareValidOrder(bool privatePayer = true)
    {
        form.PrivatePayer = privatePayer;
        form.FormShow();
        form.BetalarEdit->setText(privatePayer ? QStringLiteral("4711") : QStringLiteral("1234-5674"));
        form.BeloppEdit->setValue(150);
    }

    FixedClock clock{QDate(2026, 3, 10)};
    TBtuForm form{nullptr, &clock};
};

TEST_F(BtuFormTest, FirstShowingOfARunGivesTheDefaults)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Betaluppdrag"));
    EXPECT_EQ(form.TypCmbo->currentIndex(), -1);
    EXPECT_EQ(form.PeriodCmbo->count(), 9);
    form.PrivatePayer = true;
    form.FormShow();
    EXPECT_EQ(form.TypCmbo->currentText(), QStringLiteral("Debitering"));
    EXPECT_EQ(form.BeloppEdit->text(), QStringLiteral("0,00"));
    EXPECT_EQ(form.DateEdit->date(), QDate(2026, 3, 15));
    EXPECT_EQ(form.PeriodCmbo->currentText(), QStringLiteral("Sista bankdagen varje månad"));
    EXPECT_EQ(form.AntalEdit->text(), QStringLiteral("999"));
    EXPECT_TRUE(form.AntalEdit->isEnabled());
    EXPECT_EQ(form.BtNrLabel->text(), QStringLiteral("Betalarnummer"));
    EXPECT_FALSE(form.BtNrHelp->isHidden());
    EXPECT_TRUE(form.SaveBtn->isDefault());
}

TEST_F(BtuFormTest, TabOrderFollowsTheFieldsFromTopToBottom)
{
    const QList<QWidget*> expected = {form.TypCmbo,   form.BeloppEdit,  form.DateEdit, form.PeriodCmbo,
                                      form.AntalEdit, form.BetalarEdit, form.RefEdit,  form.HelpBtn,
                                      form.SaveBtn,   form.QuiteBtn,    form.BtNrHelp, form.RefHlp};
    EXPECT_EQ(tabOrderOf(expected), expected);
}

TEST_F(BtuFormTest, OneOffPaymentShowsCountOneInADisabledField)
{
    form.FormShow();
    form.PeriodCmbo->setCurrentIndex(0);
    EXPECT_EQ(form.AntalEdit->text(), QStringLiteral("1"));
    EXPECT_FALSE(form.AntalEdit->isEnabled());
    EXPECT_EQ(form.AntalEdit->value(), 999.0);
    form.PeriodCmbo->setCurrentIndex(1);
    EXPECT_TRUE(form.AntalEdit->isEnabled());
    EXPECT_EQ(form.AntalEdit->text(), QStringLiteral("1"));
}

TEST_F(BtuFormTest, PayerExitNormalisesByServiceType)
{
    const struct
    {
        bool privatePayer;
        QString typed;
        QString shown;
    } cases[] = {
        {true, QStringLiteral("AB-12"), QStringLiteral("12")},
        {true, QStringLiteral("12 34-56"), QStringLiteral("123456")},
        // The file keeps a payer number zero-filled: leading zeros cannot come back from it.
        {true, QStringLiteral("0001234567"), QStringLiteral("1234567")},
        {true, QStringLiteral("000"), QString()},
        {false, QStringLiteral("12345674"), QStringLiteral("1234-5674")},
        {false, QStringLiteral("0001234566"), QStringLiteral("123-4566")},
    };
    for (const auto& c : cases) {
        form.PrivatePayer = c.privatePayer;
        form.BetalarEdit->setText(c.typed);
        leaveField(form.BetalarEdit);
        EXPECT_EQ(form.BetalarEdit->text(), c.shown) << qPrintable(c.typed);
    }
}

TEST_F(BtuFormTest, CompanyServiceAsksForTheBankgiroNumber)
{
    form.PrivatePayer = false;
    form.FormShow();
    EXPECT_EQ(form.BtNrLabel->text(), QStringLiteral("Bankgironummer"));
    EXPECT_TRUE(form.BtNrHelp->isHidden());
    form.BetalarEdit->setText(QStringLiteral("1234 5674"));
    EXPECT_TRUE(pressOk(form));
    EXPECT_EQ(form.BetalarEdit->text(), QStringLiteral("1234-5674"));
}

TEST_F(BtuFormTest, OkChecksInOrderAndPutsTheFocusIntoTheFieldAtFault)
{
    const struct
    {
        const char* name;
        bool privatePayer;
        QString payer;
        double amount;
        QString reference;
        QString message;
        bool genast = false;
        int period = -1;
    } cases[] = {
        {"empty payer", true, QString(), 1e12, QString(), QStringLiteral("Felaktigt betalarnummer")},
        {"bad bankgiro", false, QStringLiteral("1234567"), 1e12, QString(),
         QStringLiteral("Felaktigt Bankgironummer")},
        {"too large", true, QStringLiteral("4711"), 100000000, QString(),
         QStringLiteral("Beloppet är för stort")},
        {"negative", true, QStringLiteral("4711"), -12.5, QString(),
         QStringLiteral("Beloppet får inte vara negativt")},
        {"unencodable reference", true, QStringLiteral("4711"), 10, QStringLiteral("Faktura \u03A9"),
         QStringLiteral(
             "Tecknet \u201D\u03A9\u201D kan inte sparas i en Autogirofil. Skriv texten utan det.")},
        {"tab in the reference", true, QStringLiteral("4711"), 10, QStringLiteral("a\tb"),
         QStringLiteral(
             "Tecknet \u201DU+0009\u201D kan inte sparas i en Autogirofil. Skriv texten utan det.")},
        {"GENAST with a period", true, QStringLiteral("4711"), 10, QString(),
         CheckImmediatePeriod(PeriodTexts()[1], QStringLiteral("GENAST")), true, 1},
    };
    QWidget* expectedField[] = {form.BetalarEdit, form.BetalarEdit, form.BeloppEdit, form.BeloppEdit,
                                form.RefEdit,     form.RefEdit,     form.PeriodCmbo};
    int i = 0;
    for (const auto& c : cases) {
        resetMessages();
        form.PrivatePayer = c.privatePayer;
        form.FormShow();
        form.BetalarEdit->setText(c.payer);
        form.BeloppEdit->setValue(c.amount);
        form.RefEdit->setText(c.reference);
        form.GenastCheck->setChecked(c.genast);
        if (c.period >= 0)
            form.PeriodCmbo->setCurrentIndex(c.period);
        form.SaveBtn->setFocus();
        EXPECT_FALSE(pressOk(form)) << c.name;
        EXPECT_EQ(shownTexts(), QStringList{c.message}) << c.name;
        EXPECT_EQ(guiPrompt().messages.value(0).caption, QString()) << c.name;
        EXPECT_EQ(form.focusWidget(), expectedField[i]) << c.name;
        if (auto* edit = qobject_cast<QLineEdit*>(expectedField[i]); edit && edit != form.BeloppEdit)
            EXPECT_EQ(edit->selectedText(), edit->text()) << c.name;
        ++i;
    }
}

TEST_F(BtuFormTest, ZeroAmountAndEuroSignPass)
{
    prepareValidOrder();
    form.BeloppEdit->setValue(0);
    form.RefEdit->setText(QStringLiteral("Avgift 5 \u20AC"));
    EXPECT_TRUE(pressOk(form));
    EXPECT_TRUE(guiPrompt().messages.isEmpty());
}

TEST_F(BtuFormTest, ReturnInTheAmountFieldConfirmsTheTypedAmount)
{
    form.show(); // the default button answers Return only on screen
    prepareValidOrder();
    enterField(form.BeloppEdit);
    form.BeloppEdit->selectAll();
    typeText(form.BeloppEdit, QStringLiteral("1234,5"));
    form.setResult(QDialog::Rejected);
    typeKey(form.BeloppEdit, QStringLiteral("\r"), Qt::NoModifier, Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.isVisible());
    EXPECT_DOUBLE_EQ(form.BeloppEdit->value(), 1234.5);
    EXPECT_EQ(form.Row().text(3), QStringLiteral("1") + Nbsp + QStringLiteral("234,50"));
}

TEST_F(BtuFormTest, ReturnInAFieldEnteredWithoutTypingWritesTheFormattedNumbers)
{
    // Entering a number field shows its plain form; Return right away must not hand that form to
    // the row, where 1234,5 would read as 123,45 kronor.
    const struct
    {
        double amount;
        QString amountText;
    } cases[] = {
        {1234.5, QStringLiteral("1") + Nbsp + QStringLiteral("234,50")},
        {0.1, QStringLiteral("0,10")},
        {150, QStringLiteral("150,00")},
    };
    for (const auto& c : cases) {
        prepareValidOrder();
        form.BeloppEdit->setValue(c.amount);
        enterField(form.BeloppEdit);
        ASSERT_TRUE(pressOk(form)) << c.amount;
        EXPECT_EQ(form.Row().text(3), c.amountText) << c.amount;
    }
    form.PeriodCmbo->setCurrentIndex(1);
    form.AntalEdit->setValue(1234);
    enterField(form.AntalEdit);
    ASSERT_TRUE(pressOk(form) == false); // the count is checked on the number shown
    EXPECT_EQ(form.AntalEdit->text(), QStringLiteral("1234"));
}

TEST_F(BtuFormTest, ReturnInTheAmountFieldChecksTheTypedAmount)
{
    prepareValidOrder();
    enterField(form.BeloppEdit);
    form.BeloppEdit->selectAll();
    typeText(form.BeloppEdit, QStringLiteral("100000000"));
    EXPECT_FALSE(pressOk(form));
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("Beloppet är för stort")});
    EXPECT_EQ(form.focusWidget(), form.BeloppEdit);
}

TEST_F(BtuFormTest, ReturnInTheAmountFieldWithNoNumberKeepsTheDialogOpen)
{
    prepareValidOrder();
    form.BeloppEdit->setText(QStringLiteral("1,2,3"));
    form.BeloppEdit->setModified(true);
    EXPECT_FALSE(pressOk(form));
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_EQ(guiPrompt().messages[0].text, QStringLiteral("'1,2,3' är inte ett giltigt tal"));
    EXPECT_EQ(guiPrompt().messages[0].caption, QStringLiteral("Lumora Valmo"));
    EXPECT_EQ(guiPrompt().messages[0].icon, UserPrompt::Icon::Error);
    EXPECT_EQ(form.focusWidget(), form.BeloppEdit);
}

TEST_F(BtuFormTest, ReturnInTheCountFieldConfirmsTheTypedCount)
{
    prepareValidOrder();
    form.AntalEdit->setText(QStringLiteral("12"));
    form.AntalEdit->setModified(true);
    EXPECT_TRUE(pressOk(form));
    EXPECT_EQ(form.AntalEdit->value(), 12.0);
    EXPECT_EQ(form.Row().text(4), QStringLiteral("12"));
}

TEST_F(BtuFormTest, CountThatTheFileCannotHoldIsRefused)
{
    for (double count : {-5.0, 1000.0, 2.5}) {
        resetMessages();
        prepareValidOrder();
        form.AntalEdit->setValue(count);
        EXPECT_FALSE(pressOk(form)) << count;
        EXPECT_EQ(form.focusWidget(), form.AntalEdit);
        EXPECT_EQ(shownTexts(),
                  QStringList{QStringLiteral("Antal betalningar ska vara ett heltal från 0 till 999")});
    }
}

TEST_F(BtuFormTest, RowWrittenHasTheFieldsInColumnOrder)
{
    prepareValidOrder();
    form.TypCmbo->setCurrentIndex(1);
    form.PeriodCmbo->setCurrentIndex(0);
    form.DateEdit->setDate(QDate(2026, 4, 1));
    form.BeloppEdit->setValue(1234.5);
    form.RefEdit->setText(QStringLiteral("Hyra april"));
    ASSERT_TRUE(pressOk(form));
    const ListRow row = form.Row();
    EXPECT_EQ(row, ListRow(QStringLiteral("Kreditering"),
                           {QStringLiteral("Engångsbetalning"), QStringLiteral("2026-04-01"),
                            QStringLiteral("1") + Nbsp + QStringLiteral("234,50"), QStringLiteral("1"),
                            QStringLiteral("4711"), QStringLiteral("Hyra april")}));
}

TEST_F(BtuFormTest, LoadingARowAndWritingItBackGivesTheSameRow)
{
    const ListRow row(QStringLiteral("Kreditering"),
                      {QStringLiteral("Varje år med start enligt betaldatum"), QStringLiteral("2027-01-31"),
                       QStringLiteral("1") + Nbsp + QStringLiteral("234,50"), QStringLiteral("12"),
                       QStringLiteral("1234-5674"), QStringLiteral("Årsavgift")});
    form.LoadRow(row, false); // before the first showing: the count is loaded too
    form.FormShow();
    EXPECT_EQ(form.AntalEdit->text(), QStringLiteral("12"));
    EXPECT_EQ(form.AntalEdit->value(), 12.0);
    EXPECT_FALSE(form.PrivatePayer);
    ASSERT_TRUE(pressOk(form));
    EXPECT_EQ(form.Row(), row);
}

TEST_F(BtuFormTest, APaymentAtOnceIsWrittenAsGenastAndLoadsBack)
{
    const ListRow row(QStringLiteral("Debitering"),
                      {QStringLiteral("Engångsbetalning"), QStringLiteral("GENAST"), QStringLiteral("350,00"),
                       QStringLiteral("1"), QStringLiteral("3331022"), QStringLiteral("KUNDNR5")});
    form.DateEdit->setDate(QDate(2027, 2, 3));
    form.LoadRow(row, true);
    form.FormShow();
    EXPECT_TRUE(form.GenastCheck->isChecked());
    EXPECT_FALSE(form.DateEdit->isEnabled());
    EXPECT_EQ(form.DateEdit->date(), QDate(2027, 2, 3)); // the date stays for when "Genast" is unticked
    ASSERT_TRUE(pressOk(form));
    EXPECT_EQ(form.Row(), row);

    form.GenastCheck->setChecked(false);
    EXPECT_TRUE(form.DateEdit->isEnabled());
    EXPECT_EQ(form.Row().text(2), QStringLiteral("2027-02-03"));
}

TEST_F(BtuFormTest, LoadingMatchesTextsWithoutRegardToCaseAndFallsBackToDefaults)
{
    form.FormShow();
    form.LoadRow(ListRow(QStringLiteral("kreditering"),
                         {QStringLiteral("X"), QStringLiteral("2026-05-05"), QStringLiteral("1234,50"),
                          QStringLiteral("3"), QStringLiteral("4711"), QString()}),
                 true);
    form.FormShow();
    EXPECT_EQ(form.TypCmbo->currentText(), QStringLiteral("Kreditering"));
    EXPECT_EQ(form.PeriodCmbo->currentText(), QStringLiteral("Sista bankdagen varje månad"));
    EXPECT_DOUBLE_EQ(form.BeloppEdit->value(), 1234.5);
    EXPECT_EQ(form.BeloppEdit->text(), QStringLiteral("1") + Nbsp + QStringLiteral("234,50"));
    EXPECT_EQ(form.DateEdit->date(), QDate(2026, 5, 5));

    form.LoadRow(ListRow(QStringLiteral("Nej"),
                         {QStringLiteral("Engångsbetalning"), QStringLiteral("1700-01-01"),
                          QStringLiteral("0,00"), QStringLiteral("1"), QStringLiteral("4711"), QString()}),
                 true);
    form.FormShow();
    EXPECT_EQ(form.TypCmbo->currentText(), QStringLiteral("Debitering"));
    EXPECT_FALSE(form.AntalEdit->isEnabled());
    EXPECT_EQ(form.Row().text(2), QStringLiteral("1700-01-01"));
}

TEST_F(BtuFormTest, LoadingAnEmptyCountKeepsItEmpty)
{
    form.LoadRow(
        ListRow(QStringLiteral("Debitering"),
                {QStringLiteral("Varje månad med start enligt betaldatum"), QStringLiteral("2026-05-05"),
                 QStringLiteral("10,00"), QString(), QStringLiteral("4711"), QString()}),
        true);
    form.FormShow();
    EXPECT_EQ(form.Row().text(4), QString());
}

TEST_F(BtuFormTest, RowsThatCannotBeReadFailWithTheConversionMessage)
{
    const struct
    {
        QString date;
        QString amount;
        QString message;
    } cases[] = {
        {QStringLiteral("2026-13-01"), QStringLiteral("1,00"),
         QStringLiteral("'2026-13-01' är inte ett giltigt datum")},
        {QStringLiteral("2026-01-01"), QStringLiteral("12 kr"),
         QStringLiteral("'12kr' är inte ett giltigt tal")},
    };
    for (const auto& c : cases) {
        try {
            form.LoadRow(
                ListRow(QStringLiteral("Debitering"), {QStringLiteral("Engångsbetalning"), c.date, c.amount,
                                                       QStringLiteral("1"), QStringLiteral("1"), QString()}),
                true);
            ADD_FAILURE() << qPrintable(c.date);
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.text(), c.message);
        }
    }
}

TEST_F(BtuFormTest, CancelKeepsTheFields)
{
    prepareValidOrder();
    form.RefEdit->setText(QStringLiteral("Kvar"));
    form.setResult(QDialog::Accepted);
    form.QuiteBtnClick();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    form.FormShow();
    EXPECT_EQ(form.RefEdit->text(), QStringLiteral("Kvar"));
    EXPECT_EQ(form.BetalarEdit->text(), QStringLiteral("4711"));
}

} // namespace
