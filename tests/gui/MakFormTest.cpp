#include "dialogs/MakUnit.h"
#include "support/GuiPrompt.h"

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "gui/DialogTestSupport.h"
#include "rules/Check.h"
#include "rules/NumberEdit.h"
#include "rules/ValmoError.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace DialogTest;

namespace {

const QString Nbsp = QString(QChar(0x00A0));

class MakFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        resetMessages();
        document.FillMakTexts();
    }

    // Chooses a request the way the user does: radio button, then the list.
    void choose(int code)
    {
        const int makPositions[] = {25, 3, 23, 24};
        const int changePositions[] = {29, 26, 27, 28};
        for (int i = 0; i < 4; ++i) {
            if (makPositions[i] == code) {
                form.MakRadio->setChecked(true);
                form.MakTypCmbo->setCurrentIndex(i);
            }
            if (changePositions[i] == code) {
                form.ChangeRadio->setChecked(true);
                form.ChangeTypCmbo->setCurrentIndex(i);
            }
        }
    }

    FixedClock clock{QDate(2026, 3, 10)};
    TMakForm form{nullptr, &clock};
    OrderDocument document;
};

TEST_F(MakFormTest, FirstShowingIsACancellationOfOneTransaction)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Makulering eller ändring"));
    form.PrivatePayer = true;
    form.FormShow();
    EXPECT_TRUE(form.MakRadio->isChecked());
    EXPECT_EQ(form.Label1->text(), QStringLiteral("Typ av makulering"));
    EXPECT_FALSE(form.MakTypCmbo->isHidden());
    EXPECT_TRUE(form.ChangeTypCmbo->isHidden());
    EXPECT_EQ(form.MakTypCmbo->currentText(), QStringLiteral("En transaktion"));
    EXPECT_EQ(form.MakCode, 25);
    EXPECT_EQ(form.BetaldagEdit->date(), QDate(2026, 3, 12));
    EXPECT_EQ(form.NyBetalDagEdit->date(), QDate(2026, 3, 15));
    EXPECT_EQ(form.TransTypCmbo->currentText(), QStringLiteral("Debitering"));
    EXPECT_FALSE(form.BetalarNrEdit->isHidden());
    EXPECT_FALSE(form.BeloppEdit->isHidden());
    EXPECT_TRUE(form.NyBetalDagEdit->isHidden());
    EXPECT_TRUE(form.NyBetalDagLbl->isHidden());
    EXPECT_EQ(form.BetalarNrLbl->text(), QStringLiteral("Betalarnummer"));
}

TEST_F(MakFormTest, TabOrderSkipsThePayerHelpButton)
{
    // Of the two radio buttons only the checked one is a tab stop; the arrow keys reach the other.
    const QList<QWidget*> expected = {form.MakRadio,      form.ChangeTypCmbo, form.MakTypCmbo,
                                      form.BetalarNrEdit, form.BetaldagEdit,  form.NyBetalDagEdit,
                                      form.BeloppEdit,    form.TransTypCmbo,  form.HelpBtn,
                                      form.SaveBtn,       form.QuiteBtn};
    QList<QWidget*> controls = expected;
    controls.append(form.BtNrHelp);
    controls.append(form.ChangeRadio);
    EXPECT_EQ(tabOrderOf(controls), expected);
}

TEST_F(MakFormTest, EachRequestShowsItsFields)
{
    const struct
    {
        int code;
        bool payer, paymentDate, newPaymentDate, amount;
        QString listLabel;
    } cases[] = {
        {25, true, true, false, true, QStringLiteral("Typ av makulering")},
        {3, true, false, false, false, QStringLiteral("Typ av makulering")},
        {23, true, false, false, false, QStringLiteral("Typ av makulering")},
        {24, true, true, false, false, QStringLiteral("Typ av makulering")},
        {29, true, true, true, true, QStringLiteral("Typ av ändring")},
        {26, false, false, true, false, QStringLiteral("Typ av ändring")},
        {27, false, true, true, false, QStringLiteral("Typ av ändring")},
        {28, true, true, true, false, QStringLiteral("Typ av ändring")},
    };
    for (const bool privatePayer : {true, false}) {
        form.PrivatePayer = privatePayer;
        form.FormShow();
        for (const auto& c : cases) {
            choose(c.code);
            EXPECT_EQ(!form.BtNrHelp->isHidden(), c.payer && privatePayer) << c.code;
        }
    }
    form.PrivatePayer = true;
    form.FormShow();
    for (const auto& c : cases) {
        choose(c.code);
        EXPECT_EQ(form.MakCode, c.code);
        EXPECT_EQ(form.Label1->text(), c.listLabel) << c.code;
        EXPECT_EQ(!form.BetalarNrEdit->isHidden(), c.payer) << c.code;
        EXPECT_EQ(!form.BetalarNrLbl->isHidden(), c.payer) << c.code;
        EXPECT_EQ(!form.BetaldagEdit->isHidden(), c.paymentDate) << c.code;
        EXPECT_EQ(!form.BetalDagLbl->isHidden(), c.paymentDate) << c.code;
        EXPECT_EQ(!form.NyBetalDagEdit->isHidden(), c.newPaymentDate) << c.code;
        EXPECT_EQ(!form.NyBetalDagLbl->isHidden(), c.newPaymentDate) << c.code;
        EXPECT_EQ(!form.BeloppEdit->isHidden(), c.amount) << c.code;
        EXPECT_EQ(!form.TransTypCmbo->isHidden(), c.amount) << c.code;
        EXPECT_EQ(!form.TransTypLbl->isHidden(), c.amount) << c.code;
        // The new payment date takes the payment date's place only for code 26.
        EXPECT_EQ(form.newPaymentDateColumn(), c.code == 26 ? 1 : 3) << c.code;
    }
}

TEST_F(MakFormTest, NewPaymentDateMovesIntoThePaymentDatePlaceOnScreen)
{
    form.show();
    choose(26);
    QApplication::processEvents();
    EXPECT_EQ(form.NyBetalDagEdit->x(), form.BetaldagEdit->x());
    EXPECT_EQ(form.NyBetalDagLbl->x(), form.BetalDagLbl->x());
    choose(27);
    QApplication::processEvents();
    EXPECT_GT(form.NyBetalDagEdit->x(), form.BetaldagEdit->x());
    form.hide();
}

TEST_F(MakFormTest, OkChecksThePayerBeforeTheAmount)
{
    const struct
    {
        const char* name;
        bool privatePayer;
        int code;
        QString payer;
        double amount;
        QString message;
        bool amountField;
    } cases[] = {
        {"empty payer", true, 25, QString(), 1e12, QStringLiteral("Felaktigt betalarnummer"), false},
        {"bad bankgiro", false, 29, QStringLiteral("1234567"), 1e12,
         QStringLiteral("Felaktigt Bankgironummer"), false},
        {"too large", true, 25, QStringLiteral("4711"), 100000000, QStringLiteral("Beloppet är för stort"),
         true},
        {"negative", true, 29, QStringLiteral("4711"), -1, QStringLiteral("Beloppet får inte vara negativt"),
         true},
        {"empty payer, mandate", true, 3, QString(), 0, QStringLiteral("Felaktigt betalarnummer"), false},
    };
    for (const auto& c : cases) {
        resetMessages();
        form.PrivatePayer = c.privatePayer;
        form.FormShow();
        choose(c.code);
        form.BetalarNrEdit->setText(c.payer);
        form.BeloppEdit->setValue(c.amount);
        form.SaveBtn->setFocus();
        EXPECT_FALSE(pressOk(form)) << c.name;
        EXPECT_EQ(shownTexts(), QStringList{c.message}) << c.name;
        EXPECT_EQ(form.focusWidget(),
                  c.amountField ? static_cast<QWidget*>(form.BeloppEdit) : form.BetalarNrEdit)
            << c.name;
    }
}

// The reference of one payment's cancellation or change goes into the record as the payment's does.
TEST_F(MakFormTest, ReferenceFollowsThePaymentRulesAndAZeroAmountPasses)
{
    const struct
    {
        const char* name;
        int code;
        QString reference;
        bool passes;
    } cases[] = {
        {"tab", 29, QStringLiteral("a\tb"), false},
        {"file separator", 25, QStringLiteral("fs\u001C"), false},
        {"outside Windows-1252", 29, QStringLiteral("sn\u00F6 \u2603"), false},
        {"zero amount", 25, QStringLiteral("Faktura 1"), true},
    };
    for (const auto& c : cases) {
        resetMessages();
        form.FormShow();
        choose(c.code);
        form.BetalarNrEdit->setText(QStringLiteral("4711"));
        form.BeloppEdit->setValue(0);
        form.RefEdit->setText(c.reference);
        EXPECT_EQ(pressOk(form), c.passes) << c.name;
        if (c.passes)
            continue;
        EXPECT_EQ(shownTexts(), QStringList{CheckWritable(c.reference)}) << c.name;
        EXPECT_FALSE(shownTexts().value(0).isEmpty()) << c.name;
        EXPECT_EQ(form.focusWidget(), form.RefEdit) << c.name;
    }
}

TEST_F(MakFormTest, HiddenFieldsAreNotChecked)
{
    form.FormShow();
    form.BetalarNrEdit->setText(QString());
    form.BeloppEdit->setValue(1e12);
    choose(26);
    EXPECT_TRUE(pressOk(form));
    choose(24);
    form.BetalarNrEdit->setText(QStringLiteral("4711"));
    EXPECT_TRUE(pressOk(form)); // amount hidden
    EXPECT_TRUE(guiPrompt().messages.isEmpty());
}

TEST_F(MakFormTest, PayerIsShownInBankgiroFormForBothServiceTypes)
{
    form.PrivatePayer = true;
    form.FormShow();
    form.BetalarNrEdit->setText(QStringLiteral("1234567"));
    form.BeloppEdit->setValue(1);
    ASSERT_TRUE(pressOk(form));
    EXPECT_EQ(form.Row(document.MakTexts).text(1), QStringLiteral("123-4567"));

    form.PrivatePayer = false;
    form.FormShow();
    EXPECT_EQ(form.BetalarNrLbl->text(), QStringLiteral("Bankgironummer"));
}

TEST_F(MakFormTest, ReturnInTheAmountFieldConfirmsTheTypedAmount)
{
    form.FormShow();
    form.BetalarNrEdit->setText(QStringLiteral("4711"));
    enterField(form.BeloppEdit);
    form.BeloppEdit->selectAll();
    typeText(form.BeloppEdit, QStringLiteral("99,5"));
    ASSERT_TRUE(pressOk(form));
    EXPECT_EQ(form.Row(document.MakTexts).text(4), QStringLiteral("99,50"));
}

TEST_F(MakFormTest, ReturnInTheAmountFieldEnteredWithoutTypingWritesTheFormattedAmount)
{
    const struct
    {
        double amount;
        QString amountText;
    } cases[] = {
        {1234.5, QStringLiteral("1") + Nbsp + QStringLiteral("234,50")},
        {99.9, QStringLiteral("99,90")},
    };
    for (const auto& c : cases) {
        form.FormShow();
        form.BetalarNrEdit->setText(QStringLiteral("4711"));
        form.BeloppEdit->setValue(c.amount);
        enterField(form.BeloppEdit);
        ASSERT_TRUE(pressOk(form)) << c.amount;
        EXPECT_EQ(form.Row(document.MakTexts).text(4), c.amountText) << c.amount;
    }
}

TEST_F(MakFormTest, RowsWrittenCarryOnlyTheShownFields)
{
    form.FormShow();
    form.BetalarNrEdit->setText(QStringLiteral("4711"));
    form.BetaldagEdit->setDate(QDate(2026, 4, 1));
    form.NyBetalDagEdit->setDate(QDate(2026, 4, 15));
    form.BeloppEdit->setValue(1234.5);
    form.TransTypCmbo->setCurrentIndex(1);
    const QString amount = QStringLiteral("1") + Nbsp + QStringLiteral("234,50");
    const struct
    {
        int code;
        ListRow row;
    } cases[] = {
        {25, ListRow(QStringLiteral("Makulering av en transaktion"),
                     {QStringLiteral("4711"), QStringLiteral("2026-04-01"), QString(), amount,
                      QStringLiteral("Kreditering"), QStringLiteral("UTBETALN1")})},
        {3, ListRow(QStringLiteral("Makulering av ett medgivande"),
                    {QStringLiteral("4711"), QString(), QString(), QString(), QString(), QString()})},
        {23, ListRow(QStringLiteral("Makulering av alla transaktioner för ett betaluppdrag"),
                     {QStringLiteral("4711"), QString(), QString(), QString(), QString(), QString()})},
        {24,
         ListRow(
             QStringLiteral("Makulering av alla transaktioner, med angiven betaldag, för ett betalarnummer"),
             {QStringLiteral("4711"), QStringLiteral("2026-04-01"), QString(), QString(), QString(), QString()})},
        {29, ListRow(QStringLiteral("Ändring av en transaktion"),
                     {QStringLiteral("4711"), QStringLiteral("2026-04-01"), QStringLiteral("2026-04-15"),
                      amount, QStringLiteral("Kreditering"), QStringLiteral("UTBETALN1")})},
        {26, ListRow(QStringLiteral("Ändring av alla transaktioner"),
                     {QString(), QString(), QStringLiteral("2026-04-15"), QString(), QString(), QString()})},
        {27, ListRow(QStringLiteral("Ändring av alla transaktioner på angiven betaldag"),
                     {QString(), QStringLiteral("2026-04-01"), QStringLiteral("2026-04-15"), QString(),
                      QString(), QString()})},
        {28,
         ListRow(QStringLiteral("Ändring av alla transaktioner, på angiven betaldag, för ett betalarnummer"),
                 {QStringLiteral("4711"), QStringLiteral("2026-04-01"), QStringLiteral("2026-04-15"),
                  QString(), QString(), QString()})},
    };
    for (const auto& c : cases) {
        choose(c.code);
        form.TransTypCmbo->setCurrentIndex(1);
        form.BetalarNrEdit->setText(QStringLiteral("4711"));
        form.RefEdit->setText(QStringLiteral("UTBETALN1"));
        ASSERT_TRUE(pressOk(form)) << c.code << " " << shownTexts().join(QLatin1Char(';')).toStdString();
        EXPECT_EQ(form.CodeText(), QString::number(c.code));
        EXPECT_EQ(form.Row(document.MakTexts), c.row) << c.code;

        // Loading the row back into a dialog set to another request gives the same row again.
        choose(c.code == 25 ? 26 : 25);
        form.LoadRow(c.row, QString::number(c.code), true);
        form.FormShow();
        EXPECT_EQ(form.MakCode, c.code);
        ASSERT_TRUE(pressOk(form)) << c.code;
        EXPECT_EQ(form.Row(document.MakTexts), c.row) << c.code;
    }
}

TEST_F(MakFormTest, LoadingTakesTheAmountWithoutItsSign)
{
    form.FormShow();
    form.LoadRow(ListRow(QStringLiteral("Makulering av en transaktion"),
                         {QStringLiteral("4711"), QStringLiteral("2026-04-01"), QString(),
                          QStringLiteral("-12,50"), QStringLiteral("debitering")}),
                 QStringLiteral("25"), false);
    EXPECT_DOUBLE_EQ(form.BeloppEdit->value(), 12.5);
    EXPECT_EQ(form.TransTypCmbo->currentText(), QStringLiteral("Debitering"));
    EXPECT_FALSE(form.PrivatePayer);
}

TEST_F(MakFormTest, EmptyDatesAndAmountKeepTheFields)
{
    form.FormShow();
    form.BeloppEdit->setValue(7);
    form.LoadRow(ListRow(QStringLiteral("Ändring av alla transaktioner"),
                         {QString(), QString(), QStringLiteral("2026-06-30"), QString(), QString()}),
                 QStringLiteral("26"), true);
    EXPECT_EQ(form.BetaldagEdit->date(), QDate(2026, 3, 12));
    EXPECT_EQ(form.NyBetalDagEdit->date(), QDate(2026, 6, 30));
    EXPECT_EQ(form.BeloppEdit->value(), 7.0);
    EXPECT_TRUE(form.ChangeRadio->isChecked());
}

TEST_F(MakFormTest, UnknownCodeLeavesBothRadiosUnselectedAndBecomesAChange)
{
    form.FormShow();
    choose(27);
    choose(25);
    form.LoadRow(ListRow(QString(), {QStringLiteral("4711"), QString(), QString(), QString(), QString()}),
                 QStringLiteral("21"), true);
    EXPECT_EQ(form.MakCode, 21);
    EXPECT_FALSE(form.MakRadio->isChecked());
    EXPECT_FALSE(form.ChangeRadio->isChecked());
    form.FormShow();
    EXPECT_EQ(form.Label1->text(), QStringLiteral("Typ av ändring"));
    EXPECT_EQ(form.MakCode, 27);
}

TEST_F(MakFormTest, RowsThatCannotBeReadFailWithTheConversionMessage)
{
    const struct
    {
        QString code;
        QString date;
        QString amount;
        QString message;
    } cases[] = {
        {QStringLiteral("25"), QStringLiteral("2026-02-30"), QString(),
         QStringLiteral("'2026-02-30' är inte ett giltigt datum")},
        {QStringLiteral("25"), QString(), QStringLiteral("kr"),
         QStringLiteral("'' är inte ett giltigt tal")},
        {QStringLiteral("x"), QString(), QString(), QStringLiteral("'x' är inte ett giltigt heltal")},
    };
    for (const auto& c : cases) {
        try {
            form.LoadRow(ListRow(QString(), {QString(), c.date, QString(), c.amount, QString()}), c.code,
                         true);
            ADD_FAILURE() << qPrintable(c.message);
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.text(), c.message);
        }
    }
}

} // namespace
