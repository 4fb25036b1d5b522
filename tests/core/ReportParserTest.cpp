#include "format/ReportParser.h"
#include "format/ReportCodes.h"
#include "format/ReportTable.h"
#include "support/TestSupport.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <functional>

namespace {

QByteArray BankFile(const char* name)
{
    return ReadFileBytes(QStringLiteral(VALMO_TEST_DATA "/bank/") + QString::fromLatin1(name));
}

const ReportItem* ItemAtLine(const Report& report, int line)
{
    for (const ReportItem& item : report.items) {
        if (item.line == line)
            return &item;
    }
    return nullptr;
}

struct BankReport
{
    const char* file;
    ReportKind kind;
    ReportLayout layout;
    int items;
    int codeLine; // an item and one of its codes with the bank's meaning
    const char* code;
    const char* meaning;
    bool hasTotals;
};

// Every example report of the bank: the right kind, every item, a code's meaning, totals that agree.
TEST(ReportParserTest, EveryBankExampleReportIsReadCompleteWithAgreeingTotals)
{
    const BankReport cases[] = {
        {"autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt", ReportKind::PaymentSpecification, ReportLayout::New, 18,
         8, "1", "Täckning saknas, betalningen har inte genomförts", true},
        {"autogiro_gl_betalningar-stoppadebetalningar-tackningskontroll_fran-bankgirot-medgivanden-"
         "bankgironummer_exempelfil_sv.txt",
         ReportKind::PaymentSpecification, ReportLayout::Old, 15, 16, "9",
         "Förnyad täckning, betalningen har inte genomförts men nytt försök ska göras", true},
        {"autogiro_exempelfiler_medgivandeavisering_sv.txt", ReportKind::MandateAdvice, ReportLayout::New, 10,
         2, "32", "Nytt Medgivande", true},
        {"autogiro_gl_exempelfil_medgivandeavisering_fran-bankgirot-medgivanden-kontonummer_exemeplfil_sv."
         "txt",
         ReportKind::MandateAdvice, ReportLayout::Old, 7, 8, "33", "Makulerad", true},
        {"autogiro_gl_medgivandeavisering_fran-bankgirot-medgivanden-bankgironummer_exempelfil_sv.txt",
         ReportKind::MandateAdvice, ReportLayout::Old, 6, 2, "04",
         "Nyupplägg. Initierat av betalningsmottagaren", true},
        {"autogiro_exempelfilavvisade_betalningsuppdrag_sv.txt", ReportKind::RejectedPayments,
         ReportLayout::New, 8, 5, "01", "Utgår, Medgivande saknas", true},
        {"autogiro_gl_avvisadebetaln_fran-bankgirot-medgivanden-bankgironummer_exempelfil_sv.txt",
         ReportKind::RejectedPayments, ReportLayout::Old, 4, 2, "01", "Utgår, Medgivande saknas", true},
        {"autogiro_gl_exempelfil_avvisadebetalningar_fran-bankgirot-medgivanden-kontonummer_exemeplfil_sv."
         "txt",
         ReportKind::RejectedPayments, ReportLayout::Old, 4, 5, "07",
         "Avvisad, ännu ej debiterbar", true},
        {"autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt",
         ReportKind::CancellationsChanges, ReportLayout::New, 18, 16, "14", "Ändrad betalningsdag",
         true},
        {"autogiro_gl_exempelfil_makulering-andring_fran-bankgirot-medgivanden-kontonummer_exempelfil_sv.txt",
         ReportKind::CancellationsChanges, ReportLayout::Old, 4, 2, "12", "Makulerad", true},
        {"autogiro_exempelfil_nya_medgivanden_via_internetbank_sv.txt", ReportKind::InternetMandates,
         ReportLayout::New, 4, 0, nullptr, nullptr, true},
        {"autogiro_gl_medgivanden_via_internetbanken_exempelfil_fran-bankgirot.txt",
         ReportKind::InternetMandates, ReportLayout::New, 1, 0, nullptr, nullptr, true},
        {"autogiro_exempelfilutdrag-ur-bevakningsregistret_sv.txt", ReportKind::MonitoringExtract,
         ReportLayout::Old, 10, 0, nullptr, nullptr, true},
        {"autogiro_exempelfil-utdrag-ur-medgivanderegistret_sv.txt", ReportKind::MandateRegisterExtract,
         ReportLayout::New, 7, 0, nullptr, nullptr, false},
        {"utdrag-ur-medgivanderegistret_gammal-layout.txt", ReportKind::MandateRegisterExtract,
         ReportLayout::Old, 7, 0, nullptr, nullptr, false},
    };
    for (const BankReport& c : cases) {
        SCOPED_TRACE(c.file);
        const ReportFile file = ReportParser::parse(BankFile(c.file));
        ASSERT_EQ(file.type, ReportFile::Type::Reports);
        ASSERT_EQ(file.reports.size(), 1);
        const Report& report = file.reports.first();
        EXPECT_EQ(report.kind, c.kind);
        EXPECT_EQ(report.layout, c.layout);
        EXPECT_EQ(report.items.size(), c.items);
        EXPECT_EQ(report.bankgiro, QStringLiteral("991-2346"));
        EXPECT_TRUE(report.unknownLines.isEmpty());
        EXPECT_TRUE(report.warnings.isEmpty()) << report.warnings.join(QLatin1Char('\n')).toStdString();
        ASSERT_EQ(report.totals.has_value(), c.hasTotals);
        if (c.hasTotals)
            EXPECT_TRUE(report.totals->agree())
                << report.totals->disagreements.join(QLatin1Char('\n')).toStdString();
        if (c.code) {
            const ReportItem* item = ItemAtLine(report, c.codeLine);
            ASSERT_NE(item, nullptr);
            bool found = false;
            for (const ReportCode& code : item->codes)
                found = found ||
                        (code.code == QLatin1String(c.code) && code.meaning == QString::fromUtf8(c.meaning));
            EXPECT_TRUE(found) << ReportTable::codesText(*item).toStdString();
        }
    }
}

TEST(ReportParserTest, HeaderFieldsAndAnItemOfTheNewPaymentSpecification)
{
    const Report report =
        ReportParser::parse(BankFile("autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt")).reports.value(0);
    EXPECT_EQ(report.date, QStringLiteral("2009-11-10"));
    EXPECT_EQ(report.customerNumber, QStringLiteral("471117"));
    const ReportItem* paid = ItemAtLine(report, 3);
    ASSERT_NE(paid, nullptr);
    EXPECT_EQ(paid->payerNumber, QStringLiteral("101"));
    EXPECT_EQ(paid->amount, 300000);
    EXPECT_EQ(paid->reference, QStringLiteral("RIDLEKTION"));
    EXPECT_EQ(paid->outcome, ItemOutcome::Paid);
    EXPECT_EQ(ItemAtLine(report, 8)->outcome, ItemOutcome::NotPaid);
    EXPECT_EQ(report.totals->stated.count, 14);
    EXPECT_EQ(report.totals->stated.amount, 1870000);
}

// What an item means for the payee, taken from its codes, in every kind of report.
TEST(ReportParserTest, OutcomesFollowTheCodes)
{
    const struct
    {
        const char* file;
        int line;
        ItemOutcome outcome;
    } cases[] = {
        {"autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt", 2, ItemOutcome::Summary},
        {"autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt", 10, ItemOutcome::NotPaid},
        {"autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt", 17, ItemOutcome::Refunded},
        {"autogiro_exempelfiler_medgivandeavisering_sv.txt", 2, ItemOutcome::Approved},
        {"autogiro_exempelfiler_medgivandeavisering_sv.txt", 3, ItemOutcome::Cancelled},
        {"autogiro_exempelfiler_medgivandeavisering_sv.txt", 5, ItemOutcome::Cancelled},
        {"autogiro_exempelfiler_medgivandeavisering_sv.txt", 7, ItemOutcome::Rejected},
        {"autogiro_exempelfilavvisade_betalningsuppdrag_sv.txt", 2, ItemOutcome::Rejected},
        {"autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt", 4, ItemOutcome::Cancelled},
        {"autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt", 16, ItemOutcome::Changed},
        {"autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt", 6, ItemOutcome::Rejected},
        {"autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt", 9, ItemOutcome::Rejected},
        {"autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt", 14, ItemOutcome::Rejected},
        {"autogiro_exempelfilutdrag-ur-bevakningsregistret_sv.txt", 2, ItemOutcome::Pending},
    };
    for (const auto& c : cases) {
        const Report report = ReportParser::parse(BankFile(c.file)).reports.value(0);
        const ReportItem* item = ItemAtLine(report, c.line);
        ASSERT_NE(item, nullptr) << c.file << ":" << c.line;
        EXPECT_EQ(item->outcome, c.outcome) << c.file << ":" << c.line;
    }
}

// Records that continue an item (an e-mandate's name and address) and an extract's fields.
TEST(ReportParserTest, DetailsOfEMandatesAndRegisterExtracts)
{
    const Report mandates =
        ReportParser::parse(BankFile("autogiro_exempelfil_nya_medgivanden_via_internetbank_sv.txt"))
            .reports.value(0);
    const QString first = ReportTable::detailsText(mandates.items[0]);
    for (const char* part :
         {"Namn: ANDERS JOHANSSON, C/O ANNA NILSSON", "Adress: LUGNA GATAN 5",
          "Postnummer och ort: 12838 SKARPNÄCK", "Meddelande: JAG ÖNSKAR BETALA MÅNADSVIS"})
        EXPECT_TRUE(first.contains(QString::fromUtf8(part))) << first.toStdString();
    EXPECT_EQ(mandates.totals->counted.count, 20);

    for (const char* file : {"autogiro_exempelfil-utdrag-ur-medgivanderegistret_sv.txt",
                             "utdrag-ur-medgivanderegistret_gammal-layout.txt"}) {
        const ReportItem entry = ReportParser::parse(BankFile(file)).reports.value(0).items.value(0);
        EXPECT_EQ(entry.payerNumber, QStringLiteral("101")) << file;
        EXPECT_EQ(entry.date, QStringLiteral("1999-01-01")) << file;
        EXPECT_TRUE(ReportTable::detailsText(entry).contains(QStringLiteral("8901-3232323232"))) << file;
    }
}

using Edit = std::function<void(QList<QByteArray>&)>;

QByteArray Edited(const char* file, const Edit& edit)
{
    QList<QByteArray> lines = BankFile(file).split('\n');
    edit(lines);
    return lines.join('\n');
}

Edit ReplaceAt(int line, int position, const QByteArray& text)
{
    return [=](QList<QByteArray>& lines) { lines[line - 1].replace(position - 1, text.size(), text); };
}

struct Damage
{
    const char* name;
    const char* file;
    Edit edit;
    const char* named; // part of the sentence that names the disagreement
};

// A damaged report is still read, and the disagreement is named.
TEST(ReportParserTest, DamagedReportsNameTheirDisagreement)
{
    const char* rejected = "autogiro_exempelfilavvisade_betalningsuppdrag_sv.txt";
    const char* payments = "autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt";
    const Damage cases[] = {
        {"changed amount", rejected, ReplaceAt(2, 31, "000000007600"),
         "anger 875,51 kr för debiteringarna, men posterna i rapporten summerar till 876,51 kr"},
        {"missing line", rejected, [](QList<QByteArray>& lines) { lines.removeAt(2); },
         "anger 3 debiteringar (82), men rapporten har 2"},
        {"wrong count", rejected, ReplaceAt(10, 15, "000006"),
         "anger 6 krediteringar (32), men rapporten har 5"},
        {"unreadable amount", rejected, ReplaceAt(3, 31, "0000000250x0"), "Beloppet på rad 3 kan inte läsas"},
        {"payment against its deposit", payments, ReplaceAt(3, 32, "000000310000"),
         "Insättningen på rad 2 anger 5 poster på 15 000,00 kr, men raderna efter den har 5 poster på 15 "
         "100,00 kr"},
        {"missing paid payment", payments, [](QList<QByteArray>& lines) { lines.removeAt(3); },
         "anger 5 genomförda debiteringar (82), men rapporten har 4"},
        {"mandate advice count", "autogiro_exempelfiler_medgivandeavisering_sv.txt",
         ReplaceAt(12, 15, "0000011"), "anger 11 medgivandeposter (73), men rapporten har 10"},
    };
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.name);
        const ReportFile file = ReportParser::parse(Edited(c.file, c.edit));
        ASSERT_EQ(file.reports.size(), 1);
        const Report& report = file.reports.first();
        ASSERT_TRUE(report.totals);
        EXPECT_FALSE(report.totals->agree());
        const QString sentences =
            report.totals->disagreements.join(QLatin1Char('\n')).replace(QChar(0xa0), QLatin1Char(' '));
        EXPECT_TRUE(sentences.contains(QString::fromUtf8(c.named))) << sentences.toStdString();
    }
    QLocale::setDefault(QLocale::c());
}

TEST(ReportParserTest, ACodeTheBankHasNotDefinedHasNoMeaning)
{
    const char* changes = "autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt";
    const Report report = ReportParser::parse(Edited(changes, ReplaceAt(6, 73, "99"))).reports.value(0);
    const ReportItem* item = ItemAtLine(report, 6);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->codes.value(0).meaning.isEmpty());
    EXPECT_EQ(item->outcome, ItemOutcome::Unknown);
}

TEST(ReportParserTest, MissingTotalsUnknownRecordsAndSeveralSections)
{
    const QByteArray rejected = BankFile("autogiro_exempelfilavvisade_betalningsuppdrag_sv.txt");
    const QByteArray advice = BankFile("autogiro_exempelfiler_medgivandeavisering_sv.txt");
    const ReportFile both = ReportParser::parse(rejected + advice);
    ASSERT_EQ(both.reports.size(), 2);
    EXPECT_EQ(both.reports[1].kind, ReportKind::MandateAdvice);
    EXPECT_EQ(both.reports[1].line, 11);
    EXPECT_TRUE(both.reports[0].totals->agree() && both.reports[1].totals->agree());

    QList<QByteArray> lines = rejected.split('\n');
    lines.insert(3, "99 en post som ingen känner\r");
    lines.removeAt(10); // the totals record, now one line further down
    const Report damaged = ReportParser::parse(lines.join('\n')).reports.value(0);
    ASSERT_EQ(damaged.unknownLines.size(), 1);
    EXPECT_EQ(damaged.unknownLines[0].line, 4);
    EXPECT_FALSE(damaged.totals);
    EXPECT_TRUE(damaged.warnings.join(QString()).contains(QStringLiteral("Slutposten saknas")));
    EXPECT_EQ(damaged.items.size(), 8);
}

TEST(ReportParserTest, FilesThatAreNoReports)
{
    const struct
    {
        QByteArray bytes;
        ReportFile::Type type;
    } cases[] = {
        {BankFile("autogiro_exempelfil_bg-max-forma_sv.txt"), ReportFile::Type::BgMax},
        {BankFile("autogiro_exempelfil_medgivandeunderlag_sv.txt"), ReportFile::Type::OrderFile},
        {BankFile("autogiro_gl_betalningsunderlag_till-bankgirot-medgivanden-kontonummer_exempelfil_sv.txt"),
         ReportFile::Type::OrderFile},
        {"Hej\r\nvärlden\r\n", ReportFile::Type::Neither},
        {QByteArray(), ReportFile::Type::Neither},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReportParser::parse(c.bytes).type, c.type) << c.bytes.left(20).toStdString();
}

TEST(ReportParserTest, CsvHasABomSemicolonsAndQuotedCells)
{
    const Report report =
        ReportParser::parse(BankFile("autogiro_exempelfiler_medgivandeavisering_sv.txt")).reports.value(0);
    QList<const ReportItem*> items = {&report.items[0]};
    const QByteArray csv = ReportTable::csv(items, QLocale::c());
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF"
                               "Rad;Post;Beskrivning;Betalarnummer;Datum;Belopp;Utfall;Koder;"));
    EXPECT_TRUE(csv.contains("\r\n2;73;Medgivande;103;2008-06-11;;Godkänd;\"04 Nyupplägg. Initierat av betalningsmottagaren; 32 Nytt Medgivande"));

    // A reference with a semicolon or a quote stays one cell.
    QByteArray bytes = BankFile("autogiro_exempelfilavvisade_betalningsuppdrag_sv.txt");
    bytes.replace("RIDLEKTION      02", "RID;LEK \"TION\"  02");
    const Report rejected = ReportParser::parse(bytes).reports.value(0);
    const QByteArray row = ReportTable::csv({&rejected.items[0]}, QLocale::c()).split('\n').value(1);
    EXPECT_TRUE(row.contains(";\"RID;LEK \"\"TION\"\"\";")) << row.toStdString();
}

} // namespace
