#include "register/CorrectMandateCommand.h"
#include "register/NewPaymentsCommand.h"
#include "register/ReportFollowUp.h"

#include "register/BankFiles.h"

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "dialogs/BtuUnit.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"
#include "format/ReportParser.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterImporter.h"
#include "register/RegisterStates.h"
#include "rules/NumberEdit.h"
#include "support/FakePrompt.h"
#include "viewer/ReportView.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>

using namespace RegisterStates;

namespace {

RegisterPayerRow Payer(const char* number, const QString& state, const char* code = "")
{
    RegisterPayerRow row;
    row.payer = QString::fromLatin1(number);
    row.account = QStringLiteral("5000000001234567");
    row.identity = QStringLiteral("196501011230");
    row.state = state;
    row.code = QString::fromLatin1(code);
    return row;
}

// What the user does in a dialog, one action for each time it opens; a dialog still open afterwards
// is cancelled.
class DialogScript : public QObject
{
public:
    DialogScript(QDialog& dialog, QList<std::function<void()>> actions)
        : m_dialog(dialog), m_actions(std::move(actions))
    {
        dialog.installEventFilter(this);
    }
    ~DialogScript() override { EXPECT_TRUE(m_actions.isEmpty()) << m_actions.size() << " showings missing"; }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !m_actions.isEmpty()) {
            QTimer::singleShot(0, this, [this, action = m_actions.takeFirst()] {
                action();
                if (m_dialog.isVisible())
                    m_dialog.reject();
            });
        }
        return false;
    }

private:
    QDialog& m_dialog;
    QList<std::function<void()>> m_actions;
};

class RegisterFollowUpTest : public ::testing::Test
{
protected:
    FixedClock clock{QDate(2026, 12, 7)};
    OrderDocument document;
    QUndoStack undo;
    FakePrompt prompt;
    TBtuForm btu{nullptr, &clock};
    TMdgForm mdg{nullptr, &clock};
    TMdgCompForm mdgComp;
    RowChange::Applied applied = [this](ListId, const QList<int>&, bool) { document.DocModified = true; };
};

} // namespace

TEST_F(RegisterFollowUpTest, NewPaymentOrdersForTheApprovedPayersOnly)
{
    const QList<RegisterPayerRow> mixed = {Payer("1001", mandateApproved()),
                                           Payer("9912346", mandateApproved()),
                                           Payer("1003", mandateRefused(), "04/23"), Payer("1004", QString()),
                                           Payer("1005", mandateAwaitingAnswer())};
    struct Case
    {
        const char* name;
        bool privateService;
        QList<RegisterPayerRow> payers;
        QList<UserPrompt::Answer> answers;
        const char* shownPayer; // in the dialog's payer field; nullptr when no dialog opens
        bool dialogOk;
        QList<const char*> added;   // payer columns of the rows added
        QList<const char*> leftOut; // named in the message
    };
    const Case cases[] = {
        {"private",
         true,
         mixed,
         {UserPrompt::Answer::Ok},
         "1001",
         true,
         {"1001", "9912346"},
         {"1003", "1004", "1005"}},
        {"left-out list declined", true, mixed, {UserPrompt::Answer::Cancel}, nullptr, true, {}, {"1003"}},
        {"dialog cancelled", true, mixed.mid(0, 2), {}, "1001", false, {}, {}},
        {"none approved", true, mixed.mid(2), {}, nullptr, true, {}, {"1003", "1004", "1005"}},
        {"company: bankgiro numbers only",
         false,
         mixed.mid(0, 2),
         {UserPrompt::Answer::Ok},
         "991-2346",
         true,
         {"991-2346"},
         {"1001"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        document.PrivateService = c.privateService;
        prompt.clear();
        prompt.answers = c.answers;
        btu.BetalarEdit->setText(QStringLiteral("4711"));
        QList<std::function<void()>> actions;
        if (c.shownPayer)
            actions.append([&] {
                EXPECT_FALSE(btu.BetalarEdit->isEnabled());
                EXPECT_EQ(btu.BetalarEdit->text(), QString::fromLatin1(c.shownPayer));
                btu.BeloppEdit->setValue(250);
                if (c.dialogOk)
                    btu.SaveBtnClick();
            });
        const DialogScript script(btu, actions);
        NewPaymentsCommand command(document, undo, prompt, btu, applied);
        EXPECT_EQ(command.run(c.payers), c.added.size());
        ASSERT_EQ(document.BtuList.count(), c.added.size());
        for (int i = 0; i < c.added.size(); ++i) {
            EXPECT_EQ(document.BtuList[i].text(5), QString::fromLatin1(c.added[i]));
            EXPECT_EQ(document.BtuList[i].text(3), btu.BeloppEdit->text());
        }
        const QString message = prompt.texts().join(QLatin1Char('\n'));
        for (const char* payer : c.leftOut)
            EXPECT_TRUE(message.contains(QString::fromLatin1(payer) + QLatin1Char(':'))) << payer;
        EXPECT_EQ(btu.BetalarEdit->text(), QStringLiteral("4711"));
        EXPECT_TRUE(btu.BetalarEdit->isEnabled());
        if (!c.added.isEmpty()) {
            undo.undo();
            EXPECT_EQ(document.BtuList.count(), 0);
        }
    }
}

TEST_F(RegisterFollowUpTest, RefusedForWrongDataIsCorrectedInTheMandateDialog)
{
    document.PrivateService = true;
    const QList<RegisterPayerRow> payers = {
        Payer("1001", mandateRefused(), "04/23"), Payer("1002", mandateRefused(), "04/10"),
        Payer("1003", mandateApproved()), Payer("1004", mandateRefused(), "04/21")};
    const char* why[] = {"", "avvisat av ett skäl", "medgivandet är inte avvisat (godkänt)",
                         ""}; // "": corrected
    for (int i = 0; i < payers.size(); ++i) {
        const QString reason = CorrectMandateCommand::WhyNot(payers[i]);
        EXPECT_TRUE(*why[i] ? reason.startsWith(QString::fromUtf8(why[i])) : reason.isEmpty()) << i;
    }

    // The first dialog is corrected, the second cancelled: the series ends with one mandate.
    prompt.answers = {UserPrompt::Answer::Ok};
    const DialogScript script(mdg, {[&] {
                                        EXPECT_EQ(mdg.BetalarEdit->text(), QStringLiteral("1001"));
                                        EXPECT_EQ(mdg.ClearingNrEdit->text(), QStringLiteral("5000"));
                                        EXPECT_EQ(mdg.KontoNrEdit->text(), QStringLiteral("1234567"));
                                        EXPECT_EQ(mdg.PersonNrEdit->text(), QStringLiteral("19650101-1230"));
                                        mdg.KontoNrEdit->setText(QStringLiteral("1234560"));
                                        mdg.SaveBtnClick();
                                    },
                                    [&] { EXPECT_EQ(mdg.BetalarEdit->text(), QStringLiteral("1004")); }});
    CorrectMandateCommand command(document, undo, prompt, mdg, mdgComp, applied);
    EXPECT_EQ(command.run(payers), 1);
    ASSERT_EQ(document.MdgList.count(), 1);
    EXPECT_EQ(document.MdgList[0], ListRow(QStringLiteral("Medgivande på papper"),
                                           {QStringLiteral("1001"), QStringLiteral("5000-1234560"),
                                            QStringLiteral("19650101-1230")}));
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages[0].text.contains(QStringLiteral("1002: ")));
    EXPECT_TRUE(prompt.messages[0].text.contains(QStringLiteral("1003: ")));
    EXPECT_EQ(undo.count(), 1);
    undo.undo();
    EXPECT_EQ(document.MdgList.count(), 0);
}

TEST(ReportFollowUp, SelectedItemsOfAReportAreFollowedUpInTheRegisterOfItsPayee)
{
    using namespace BankFiles;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("register.sqlite"));
    const QDate day(2025, 2, 3);
    const Order hyra{QStringLiteral("1001"), "82", 10000, QStringLiteral("HYRA"), day};
    const Order fakt{QStringLiteral("1002"), "82", 25000, QStringLiteral("FAKT1"), day};
    const Order unknown{QStringLiteral("3003"), "82", 700, QStringLiteral("X"), day};
    {
        RegisterDatabase database(path);
        FixedClock clock(QDate(2025, 1, 20));
        RegisterImporter(database, clock)
            .deliver(Join({OrderOpening(QDate(2025, 1, 20)), PaymentOrder(hyra), PaymentOrder(fakt)}),
                     QStringLiteral("order.ag"));
    }
    ReportView view;
    FakePrompt prompt;
    QList<RegisterPaymentRow> retried;
    QList<RegisterPayerRow> ordered;
    RegisterFollowUps followUps;
    followUps.retry = [&](const QList<RegisterPaymentRow>& payments) { retried = payments; };
    followUps.newPayments = [&](const QList<RegisterPayerRow>& payers) { ordered = payers; };
    QString registerPath = path;
    ReportFollowUp followUp(
        view, prompt, [&] { return registerPath; }, followUps);
    view.setReports(
        ReportParser::parse(PaymentSpecification(day, {{hyra, '0'}, {fakt, '1'}, {unknown, '1'}})).reports,
        QStringLiteral("betspec.txt"));

    struct Case
    {
        const char* name;
        QString registerPath;
        bool shown;
    };
    for (const Case& c : {Case{"no register", folder.filePath(QStringLiteral("none.sqlite")), false},
                          Case{"the payee's register", path, true}}) {
        registerPath = c.registerPath;
        followUp.refresh();
        EXPECT_EQ(!followUp.isHidden(), c.shown) << c.name;
    }
    EXPECT_FALSE(followUp.retryButton()->isHidden());
    EXPECT_TRUE(followUp.correctButton()->isHidden());
    EXPECT_FALSE(followUp.retryButton()->isEnabled());

    view.table()->selectAll();
    EXPECT_TRUE(followUp.retryButton()->isEnabled());
    followUp.retryButton()->click();
    ASSERT_EQ(retried.size(), 2);
    EXPECT_EQ(retried[0].reference, QStringLiteral("HYRA"));
    EXPECT_EQ(retried[1].amount, 25000);
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages[0].text.contains(QStringLiteral("(betalare 3003)")));

    followUp.newPaymentsButton()->click();
    ASSERT_EQ(ordered.size(), 2);
    EXPECT_EQ(ordered[1].payer, QStringLiteral("1002"));

    // A register of another payee has no follow-up for this report.
    RegisterDatabase(path).setPayee({QStringLiteral("1234566"), QStringLiteral("1")});
    followUp.refresh();
    EXPECT_TRUE(followUp.isHidden());
}
