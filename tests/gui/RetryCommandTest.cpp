#include "register/RetryCommand.h"

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "register/MandateAnswerCommand.h"
#include "register/RegisterStates.h"
#include "register/RetryOrders.h"
#include "rules/Extra.h"
#include "support/FakePrompt.h"

#include <QUndoStack>

#include <gtest/gtest.h>

namespace {

RegisterPaymentRow Payment(const char* payer, const char* type, qint64 amount, const QString& state, const char* code)
{
    RegisterPaymentRow row;
    row.payer = QString::fromLatin1(payer);
    row.type = QString::fromLatin1(type);
    row.amount = amount;
    row.reference = QStringLiteral("REF") + row.payer;
    row.date = QStringLiteral("2026-11-30");
    row.state = state;
    row.code = QString::fromLatin1(code);
    row.meaning = QStringLiteral("orsak ") + row.code;
    return row;
}

} // namespace

TEST(RetryOrders, FirstPaymentDayTheBankCanStillProcess)
{
    struct Case
    {
        QDateTime now;
        QDate first;
    };
    const Case cases[] = {
        {QDateTime(QDate(2026, 12, 7), QTime(10, 0)), QDate(2026, 12, 8)},   // Monday before the deadline
        {QDateTime(QDate(2026, 12, 7), QTime(19, 0)), QDate(2026, 12, 9)},   // the deadline itself has passed
        {QDateTime(QDate(2026, 12, 11), QTime(20, 0)), QDate(2026, 12, 15)}, // Friday evening: over the weekend
        {QDateTime(QDate(2026, 12, 23), QTime(10, 0)), QDate(2026, 12, 28)}, // over Christmas
    };
    for (const Case& c : cases)
        EXPECT_EQ(RetryOrders::FirstPaymentDate(c.now), c.first) << c.now.toString(Qt::ISODate).toStdString();
}

TEST(RetryCommand, CurableFailuresBecomeOneUndoableStepAndTheRestAreNamed)
{
    using namespace RegisterStates;
    OrderDocument document;
    QUndoStack undo;
    FakePrompt prompt;
    FixedClock clock(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
    int applied = 0;
    RetryCommand command(document, undo, prompt, clock, [&](ListId, const QList<int>&, bool) {
        ++applied;
        document.DocModified = true;
    });
    const QList<RegisterPaymentRow> payments = {
        Payment("1001", "82", 12550, paymentNotDone(), "1"),  // no funds
        Payment("1002", "32", 5000, paymentRejected(), "13"), // passed date
        Payment("1003", "82", 100, paymentNotDone(), "2"),    // mandate gone
        Payment("1004", "82", 100, paymentRejected(), "01"),
        Payment("1005", "82", 100, paymentRetry(), "9"),
        Payment("1006", "82", 100, paymentDone(), "0"),
    };
    EXPECT_EQ(command.run(payments), 2);
    ASSERT_EQ(document.BtuList.count(), 2);
    const ListRow expected[] = {
        ListRow(QStringLiteral("Debitering"),
                {QStringLiteral("Engångsbetalning"), QStringLiteral("2026-12-08"), FormatOreAmount(12550),
                 QStringLiteral("1"), QStringLiteral("1001"), QStringLiteral("REF1001")}),
        ListRow(QStringLiteral("Kreditering"),
                {QStringLiteral("Engångsbetalning"), QStringLiteral("2026-12-08"), FormatOreAmount(5000),
                 QStringLiteral("1"), QStringLiteral("1002"), QStringLiteral("REF1002")}),
    };
    for (int i = 0; i < 2; ++i)
        for (int column = 0; column < 7; ++column)
            EXPECT_EQ(document.BtuList[i].text(column), expected[i].text(column)) << i << " " << column;
    EXPECT_TRUE(document.DocModified);
    ASSERT_EQ(prompt.messages.size(), 1);
    for (const char* payer : {"1003", "1004", "1005", "1006"})
        EXPECT_TRUE(prompt.messages.first().text.contains(QLatin1String(payer))) << payer;
    EXPECT_FALSE(prompt.messages.first().text.contains(QLatin1String("1001 ")));

    EXPECT_EQ(undo.count(), 1);
    undo.undo();
    EXPECT_EQ(document.BtuList.count(), 0);

    // Nothing curable: nothing added, nothing to undo.
    prompt.messages.clear();
    EXPECT_EQ(command.run({payments[2]}), 0);
    EXPECT_EQ(document.BtuList.count(), 0);
    EXPECT_TRUE(prompt.messages.first().text.startsWith(QStringLiteral("Inget nytt försök")));
}

TEST(MandateAnswerCommand, OnlyEMandatesAwaitingAnAnswerGetAnswerRows)
{
    OrderDocument document;
    document.PrivateService = true;
    QUndoStack undo;
    FakePrompt prompt;
    MandateAnswerCommand command(document, undo, prompt, [](ListId, const QList<int>&, bool) {});
    const auto payer = [](const char* number, const QString& state) {
        RegisterPayerRow row;
        row.payer = QString::fromLatin1(number);
        row.account = QStringLiteral("1234567");
        row.identity = QStringLiteral("196803050000");
        row.state = state;
        return row;
    };
    const QList<RegisterPayerRow> payers = {payer("1001", RegisterStates::mandateAwaitingAnswer()),
                                            payer("1002", RegisterStates::mandateApproved())};
    struct Case
    {
        bool approve;
        const char* type;
    };
    for (const Case& c : {Case{true, "Autogiro elektroniskt medgivande"},
                          Case{false, "Avvisad - Autogiro elektroniskt medgivande"}}) {
        prompt.messages.clear();
        EXPECT_EQ(command.run(payers, c.approve), 1);
        ASSERT_EQ(document.MdgList.count(), 1);
        EXPECT_EQ(document.MdgList[0].text(0), QString::fromUtf8(c.type));
        EXPECT_EQ(document.MdgList[0].text(1), QStringLiteral("1001"));
        ASSERT_EQ(prompt.messages.size(), 1);
        EXPECT_TRUE(prompt.messages.first().text.contains(QStringLiteral("1002: Godkänt")));
        undo.undo();
        EXPECT_EQ(document.MdgList.count(), 0);
    }
    document.PrivateService = false;
    EXPECT_EQ(command.run(payers, true), 0);
    EXPECT_EQ(document.MdgList.count(), 0);
}
