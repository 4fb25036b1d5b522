#include "register/BankFiles.h"

#include "app/Clock.h"
#include "app/MainActions.h"
#include "app/MainForm.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterImporter.h"
#include "register/RegisterSettings.h"
#include "register/RegisterTab.h"
#include "register/RegisterTableModel.h"
#include "register/RegisterWindow.h"
#include "register/ReportOpening.h"
#include "rules/Extra.h"
#include "support/FakePrompt.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace BankFiles;

namespace {

const QDate February3(2025, 2, 3);
constexpr int ManyPayments = 450; // more than two pages of the table

// A register of three payers with a payment each, one paid and one not, and a fourth payer with
// many small payments, from an order file and a payment report in one folder.
class RegisterWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        const QDate january20(2025, 1, 20);
        const Order hyra{QStringLiteral("1001"), "82", 10000, QStringLiteral("HYRA"), February3};
        const Order fakt{QStringLiteral("1002"), "82", 25000, QStringLiteral("FAKT1"), February3};
        const Order ater{QStringLiteral("900"), "32", 5000, QStringLiteral("ATER"), February3};
        QList<Record> orders = {OrderOpening(january20),
                                NewMandate(QStringLiteral("1001"), QStringLiteral("33001212121212"),
                                           QStringLiteral("196803050000")),
                                NewMandate(QStringLiteral("1002"), QStringLiteral("50011000020"),
                                           QStringLiteral("196803050000")),
                                NewMandate(QStringLiteral("900"), QStringLiteral("89013232323232"),
                                           QStringLiteral("196803050000")),
                                PaymentOrder(hyra), PaymentOrder(fakt), PaymentOrder(ater)};
        QList<Record> many = {OrderOpening(january20)};
        for (int i = 1; i <= ManyPayments; ++i)
            many.append(PaymentOrder({QStringLiteral("2000"), "82", i, QStringLiteral("R%1").arg(i), QDate(2025, 3, 3)}));
        write(QStringLiteral("order.ag"), Join(orders));
        write(QStringLiteral("many.ag"), Join(many));
        write(QStringLiteral("betspec.txt"), PaymentSpecification(February3, {{hyra, '0'}, {fakt, '1'}}));

        RegisterDatabase database(registerPath());
        FixedClock clock(january20);
        RegisterImporter importer(database, clock);
        importer.deliver(m_folder.filePath(QStringLiteral("order.ag")));
        importer.deliver(m_folder.filePath(QStringLiteral("many.ag")));
        importer.import(m_folder.filePath(QStringLiteral("betspec.txt")), false);
    }

    void write(const QString& name, const QByteArray& bytes) { WriteFileBytes(m_folder.filePath(name), bytes); }
    QString registerPath() const { return m_folder.filePath(QStringLiteral("register.sqlite")); }

    RegisterWindow& window()
    {
        if (!m_window) {
            m_window = std::make_unique<RegisterWindow>(m_prompt, [this](const QString& path, int line) {
                m_shown.append({path, line});
            });
            m_window->setSourceFolders({m_folder.path()});
            EXPECT_TRUE(m_window->openRegister(registerPath()));
        }
        return *m_window;
    }

    static void filter(RegisterTab& tab, const QString& text, const QString& state)
    {
        tab.filterEdit()->setText(text);
        tab.stateBox()->setCurrentIndex(qMax(0, tab.stateBox()->findData(state)));
    }

    QTemporaryDir m_folder;
    FakePrompt m_prompt;
    std::unique_ptr<RegisterWindow> m_window;
    QList<std::pair<QString, int>> m_shown;
};

} // namespace

TEST_F(RegisterWindowTest, FiltersCountTheRowsTheRegisterHolds)
{
    struct Case
    {
        const char* text;
        const char* state;
        int rows;
        const char* firstPayer;
    };
    const Case cases[] = {
        {"", "", ManyPayments + 3, "1001"},
        {"FAKT1", "", 1, "1002"},
        {" fakt1 ", "", 1, "1002"},  // blanks around and case do not matter
        {"", "Genomförd", 1, "1001"},
        {"", "Ej genomförd", 1, "1002"},
        {"", "Skickad", ManyPayments + 1, "900"},
        {"2025-03", "", ManyPayments, "2000"},
        {"betspec", "", 0, ""},         // the file column is the delivered file
        {"order.ag", "Skickad", 1, "900"},
        {"%", "", 0, ""},            // the database's wildcards are plain characters
        {"_", "", 0, ""},
    };
    RegisterTab& tab = *window().paymentsTab();
    for (const Case& c : cases) {
        filter(tab, QString::fromUtf8(c.text), QString::fromUtf8(c.state));
        EXPECT_EQ(tab.model()->rowCount(), c.rows) << c.text << "|" << c.state;
        EXPECT_EQ(tab.model()->row(0).payer.toStdString(), c.firstPayer) << c.text << "|" << c.state;
    }
}

TEST_F(RegisterWindowTest, SortingByValueAcrossPages)
{
    struct Case
    {
        int column;
        Qt::SortOrder order;
        int place;
        QString payer;
        QString amount;
    };
    const Case cases[] = {
        {3, Qt::AscendingOrder, 0, QStringLiteral("2000"), FormatOreAmount(1)},
        {3, Qt::AscendingOrder, 430, QStringLiteral("2000"), FormatOreAmount(431)},
        {3, Qt::AscendingOrder, ManyPayments + 2, QStringLiteral("1002"), FormatOreAmount(25000)},
        {3, Qt::DescendingOrder, 0, QStringLiteral("1002"), FormatOreAmount(25000)},
        {0, Qt::AscendingOrder, 0, QStringLiteral("900"), FormatOreAmount(5000)}, // payer numbers by value
        {0, Qt::DescendingOrder, 0, QStringLiteral("2000"), FormatOreAmount(ManyPayments)}, // last delivered first
        {1, Qt::DescendingOrder, 0, QStringLiteral("2000"), FormatOreAmount(ManyPayments)},
    };
    RegisterTab& tab = *window().paymentsTab();
    for (const Case& c : cases) {
        tab.table()->sortByColumn(c.column, c.order);
        const RegisterListRow row = tab.model()->row(c.place);
        EXPECT_EQ(row.payer, c.payer) << c.column << " " << c.place;
        EXPECT_EQ(tab.model()->data(tab.model()->index(c.place, 3)).toString(), c.amount) << c.column << " " << c.place;
    }
}

TEST_F(RegisterWindowTest, SumsPerStateFollowTheFilter)
{
    RegisterTab& payments = *window().paymentsTab();
    const QString all = payments.sumsLabel()->text();
    EXPECT_TRUE(all.contains(QStringLiteral("Genomförd: 1 st, %1 kr").arg(FormatAmount(100.0)))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("Ej genomförd: 1 st"))) << all.toStdString();
    filter(payments, QStringLiteral("HYRA"), QString());
    EXPECT_FALSE(payments.sumsLabel()->text().contains(QStringLiteral("Ej genomförd")));

    RegisterTab& payers = *window().payersTab();
    EXPECT_EQ(payers.model()->row(0).texts.mid(0, 2), (QStringList{QStringLiteral("900"), QStringLiteral("Skickat")}));
    EXPECT_TRUE(payers.sumsLabel()->text().contains(QStringLiteral("Skickat: 3 st")))
        << payers.sumsLabel()->text().toStdString();
}

TEST_F(RegisterWindowTest, HistoryOfThePaymentLeadsToItsSourceLines)
{
    RegisterTab& tab = *window().paymentsTab();
    filter(tab, QStringLiteral("FAKT1"), QString());
    tab.table()->setCurrentIndex(tab.model()->index(0, 0));
    QTreeWidget* history = tab.historyList();
    ASSERT_EQ(history->topLevelItemCount(), 2);
    EXPECT_EQ(history->topLevelItem(1)->text(1), QStringLiteral("Ej genomförd"));

    const std::pair<QString, int> expected[] = {{m_folder.filePath(QStringLiteral("order.ag")), 6},
                                                {m_folder.filePath(QStringLiteral("betspec.txt")), 4}};
    for (int i = 0; i < 2; ++i)
        emit history->itemDoubleClicked(history->topLevelItem(i), 0);
    ASSERT_EQ(m_shown.size(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(m_shown[i], expected[i]);

    // A file moved away is asked for; cancelling shows nothing.
    QFile::remove(m_folder.filePath(QStringLiteral("betspec.txt")));
    emit history->itemDoubleClicked(history->topLevelItem(1), 0);
    EXPECT_EQ(m_shown.size(), 2);
    ASSERT_EQ(m_prompt.messages.size(), 1);
    EXPECT_TRUE(m_prompt.messages.first().text.contains(QStringLiteral("betspec.txt")));
}

TEST_F(RegisterWindowTest, ExportWritesTheShownRowsInTheListsForm)
{
    RegisterTab& tab = *window().paymentsTab();
    filter(tab, QString(), QStringLiteral("Ej genomförd"));
    const QString path = m_folder.filePath(QStringLiteral("ut.csv"));
    m_prompt.saveFileNames = {path};
    ASSERT_TRUE(tab.exportCsv());
    const QByteArray bytes = ReadFileBytes(path);
    const QString row = QStringLiteral("1002;2025-02-03;Debitering;%1;FAKT1;Ej genomförd;"
                                       "Täckning saknas, betalningen har inte genomförts;order.ag\r\n")
                            .arg(FormatOreAmount(25000));
    EXPECT_EQ(bytes, "\xEF\xBB\xBF" + QStringLiteral("Betalare;Betalningsdag;Typ;Belopp;Referens;Tillstånd;Orsak;"
                                                    "Levererad i\r\n%1").arg(row).toUtf8());
}

TEST_F(RegisterWindowTest, AForeignFileIsRefusedAndLeftAsItWas)
{
    const QString foreign = m_folder.filePath(QStringLiteral("foreign.sqlite"));
    write(QStringLiteral("foreign.sqlite"), QByteArray("not a database, but the user's own file\n"));
    RegisterWindow other(m_prompt, [](const QString&, int) {});
    EXPECT_FALSE(other.openRegister(foreign));
    EXPECT_EQ(other.tabs()->count(), 0);
    EXPECT_EQ(m_prompt.messages.size(), 1);
    EXPECT_EQ(ReadFileBytes(foreign), QByteArray("not a database, but the user's own file\n"));
}

TEST_F(RegisterWindowTest, TheToolbarCommandOpensTheSettingsRegister)
{
    RegisterSettings::setPath(registerPath());
    TMainForm form;
    form.createWindows();
    EXPECT_EQ(form.Actions->Register->iconText(), QStringLiteral("Re&gister"));
    form.Actions->Register->trigger();
    auto* window = form.findChild<RegisterWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(window->tabs()->count(), 2);
    EXPECT_EQ(window->tabs()->tabText(0), QStringLiteral("Betalare"));
    EXPECT_EQ(window->paymentsTab()->model()->rowCount(), ManyPayments + 3);
    window->reject();
    EXPECT_EQ(window->database(), nullptr);
    RegisterSettings::setPath(QString());
}

TEST_F(RegisterWindowTest, NyttForsokGetsTheSelectedPaymentsAsTheRegisterHoldsThem)
{
    QList<RegisterPaymentRow> asked;
    window().setRetry([&asked](const QList<RegisterPaymentRow>& payments) { asked = payments; });
    RegisterTab& tab = *window().paymentsTab();
    window().tabs()->setCurrentWidget(&tab);
    filter(tab, QStringLiteral("FAKT1"), QString());
    tab.table()->selectAll();
    window().retryButton()->click();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.first().payer, QStringLiteral("1002"));
    EXPECT_EQ(asked.first().amount, 25000);
    EXPECT_EQ(asked.first().state, QStringLiteral("Ej genomförd"));
    EXPECT_EQ(asked.first().code, QStringLiteral("1"));
}

TEST_F(RegisterWindowTest, PayerCommandsGetTheSelectedPayersAsTheRegisterHoldsThem)
{
    QStringList asked;
    const auto record = [&asked](const char* command) {
        return [&asked, command](const QList<RegisterPayerRow>& payers) {
            for (const RegisterPayerRow& payer : payers)
                asked.append(QString::fromLatin1(command) + QLatin1Char(' ') + payer.payer);
        };
    };
    window().setNewPayments(record("new"));
    window().setCorrect(record("correct"));
    window().setAnswer([&](const QList<RegisterPayerRow>& payers, bool approve) {
        record(approve ? "approve" : "refuse")(payers);
    });
    RegisterTab& tab = *window().payersTab();
    window().tabs()->setCurrentWidget(&tab);
    filter(tab, QStringLiteral("1002"), QString());
    tab.table()->selectAll();
    for (QPushButton* button : {window().newPaymentsButton(), window().correctButton(), window().approveButton(),
                                window().refuseButton()})
        button->click();
    EXPECT_EQ(asked, QStringList({QStringLiteral("new 1002"), QStringLiteral("correct 1002"),
                                  QStringLiteral("approve 1002"), QStringLiteral("refuse 1002")}));
}

TEST_F(RegisterWindowTest, OpeningAReportReadsItIntoTheRegisterAndSaysSo)
{
    const Order first{QStringLiteral("2000"), "82", 1, QStringLiteral("R1"), QDate(2025, 3, 3)};
    const QByteArray report = PaymentSpecification(QDate(2025, 3, 3), {{first, '0'}});
    QByteArray otherPayee = report;
    otherPayee.replace("0009912346", "0055555551");
    QByteArray badTotals = PaymentSpecification(QDate(2025, 3, 3), {{first, '1'}});
    badTotals.replace("9900000001", "9900000007");
    QByteArray otherPayeeBadTotals = badTotals;
    otherPayeeBadTotals.replace("0009912346", "0055555551");
    struct Case
    {
        const char* name;
        QByteArray bytes;
        QString registerPath;
        const char* line;
        bool confirmed = false; // the answer to the question on the totals, when asked
    };
    const Case cases[] = {
        {"betspec-mars.txt", report, registerPath(), "Inläst i registret: 1 genomförd, 0 utan underlag"},
        {"betspec-mars-igen.txt", report, registerPath(), "Redan inläst i registret."},
        {"annan.txt", otherPayee, registerPath(),
         "Inte inläst i registret: Filen annan.txt hör till betalningsmottagaren med bankgironummer "
         "55555551"},
        {"summor.txt", badTotals, registerPath(),
         "Inte inläst i registret: summorna stämmer inte med posterna."},
        // Another payee's report is refused before its totals are asked about.
        {"annan-summor.txt", otherPayeeBadTotals, registerPath(),
         "Inte inläst i registret: Filen annan-summor.txt hör till betalningsmottagaren med bankgironummer "
         "55555551"},
        {"summor-ja.txt", badTotals, registerPath(), "Inläst i registret: 1 ej genomförd, 0 utan underlag",
         true},
        {"summor-ja-igen.txt", badTotals, registerPath(), "Redan inläst i registret."}, // not asked again
        {"utan-register.txt", report, m_folder.filePath(QStringLiteral("inget.sqlite")), ""},
    };
    FixedClock clock(QDate(2025, 3, 3));
    for (const Case& c : cases) {
        write(QString::fromLatin1(c.name), c.bytes);
        if (c.confirmed)
            m_prompt.answers.append(UserPrompt::Answer::Ok);
        const QString line = ImportReportOnOpening(m_folder.filePath(QString::fromLatin1(c.name)), c.registerPath,
                                                   m_prompt, clock);
        EXPECT_TRUE(*c.line ? line.startsWith(QString::fromUtf8(c.line)) : line.isEmpty())
            << c.name << ": " << line.toStdString();
    }
    ASSERT_EQ(m_prompt.messages.size(), 2); // the totals were asked about twice: no, then yes
    EXPECT_FALSE(QFile::exists(m_folder.filePath(QStringLiteral("inget.sqlite"))));
    EXPECT_EQ(window().paymentsTab()->model()->sums().first().count, ManyPayments); // Skickad, but the one paid
}
