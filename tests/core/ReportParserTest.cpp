#include "format/ReportParser.h"
#include "format/ReportCodes.h"
#include "format/ReportTable.h"
#include "rules/Win1252.h"
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
        {"autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt", ReportKind::PaymentSpecification,
         ReportLayout::New, 18, 8, "1", "Täckning saknas, betalningen har inte genomförts", true},
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
         ReportKind::RejectedPayments, ReportLayout::Old, 4, 5, "07", "Avvisad, ännu ej debiterbar", true},
        {"autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt",
         ReportKind::CancellationsChanges, ReportLayout::New, 18, 16, "14", "Ändrad betalningsdag", true},
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
    // The bank prints its examples with a title line and blank lines before the first record; a
    // title may open with digits that no record follows.
    const QByteArray titles[] = {"", "Exempelfil från Bankgirot\r\n  \r\n\r\n",
                                 "2008-06-11 Exempelfil\r\n\r\n\r\n", "01 Exempelfil\r\n\r\n\r\n"};
    for (const BankReport& c : cases) {
        for (const QByteArray& title : titles) {
            const int titleLines = title.isEmpty() ? 0 : 3;
            SCOPED_TRACE(std::string(c.file) + " with the title " +
                         title.left(title.indexOf('\r')).toStdString());
            const ReportFile file = ReportParser::parse(title + BankFile(c.file));
            ASSERT_EQ(file.type, ReportFile::Type::Reports);
            ASSERT_EQ(file.reports.size(), 1);
            const Report& report = file.reports.first();
            EXPECT_EQ(report.kind, c.kind);
            EXPECT_EQ(report.layout, c.layout);
            EXPECT_EQ(report.items.size(), c.items);
            EXPECT_EQ(report.line, titleLines + 1);
            EXPECT_EQ(report.bankgiro, QStringLiteral("991-2346"));
            ASSERT_EQ(report.unknownLines.size(), titleLines ? 1 : 0);
            if (titleLines)
                EXPECT_EQ(report.unknownLines[0].line, 1);
            EXPECT_TRUE(report.warnings.isEmpty()) << report.warnings.join(QLatin1Char('\n')).toStdString();
            ASSERT_EQ(report.totals.has_value(), c.hasTotals);
            if (c.hasTotals)
                EXPECT_TRUE(report.totals->agree())
                    << report.totals->disagreements.join(QLatin1Char('\n')).toStdString();
            if (c.code) {
                const ReportItem* item = ItemAtLine(report, c.codeLine + titleLines);
                ASSERT_NE(item, nullptr);
                bool found = false;
                for (const ReportCode& code : item->codes)
                    found = found || (code.code == QLatin1String(c.code) &&
                                      code.meaning == QString::fromUtf8(c.meaning));
                EXPECT_TRUE(found) << ReportTable::codesText(*item).toStdString();
            }
        }
    }
}

TEST(ReportParserTest, HeaderFieldsAndAnItemOfTheNewPaymentSpecification)
{
    const Report report =
        ReportParser::parse(BankFile("autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt"))
            .reports.value(0);
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
        {"autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt", 3, ItemOutcome::Cancelled},
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

// Every code table in both layouts: which codes it holds ("*" marks a retired one), and the meanings
// that matter most for what the bookkeeper does next.
TEST(ReportParserTest, CodeTablesHoldTheBanksCodesInEachLayout)
{
    using T = ReportCodes::Table;
    const struct
    {
        T table;
        const char* newCodes;
        const char* oldCodes;
    } tables[] = {
        {T::PaymentStatus, "0 1 2 4 9", "0 1 2 4 9"},
        {T::RejectionComment, "01 02 03* 04* 05* 06 07 08 09 10 12 13 15 24", "01 02 03* 07*"},
        {T::ChangeRecord, "03 11 21 22* 23 24 25 26 27 28 29", "03 21 22* 23 24 25 26 27 28 29"},
        {T::ChangeComment, "01 02 04 05 06 10 11 12 13 14 15 18", "01 02 04 05 06 10 11 12 13 14 15* 18"},
        {T::MandateInformation, "03 04 05 10 42 43 44 46 93*", "03 04 10 42 43 44 46 93*"},
        {T::MandateComment, "01* 02 03 04 05 06* 07 09 10 11* 12* 20 21 23 24* 29 30 32 33 98",
         "01* 02 03 04 05 06* 07 09 10 11* 12* 20 21 23 24* 29 30 32 33 98"},
        {T::RefundReason, "01 02 03 04 05", ""},
        {T::MessageType, "0 1 2", "0 1 2"},
        {T::MandateType, "1 2", "1 2"},
        {T::RegisterStatus, "1 2", "1 2"},
        {T::RegisterStatus2, "", "0"},
    };
    for (const auto& t : tables) {
        for (const ReportLayout layout : {ReportLayout::New, ReportLayout::Old}) {
            QStringList listed;
            for (const ReportCodes::Entry& entry : ReportCodes::entries(t.table, layout)) {
                listed.append(entry.code + (entry.retired ? QStringLiteral("*") : QString()));
                EXPECT_FALSE(entry.meaning.isEmpty() || entry.meaning.endsWith(QLatin1Char('.')))
                    << entry.code.toStdString();
            }
            EXPECT_EQ(listed.join(QLatin1Char(' ')),
                      QString::fromLatin1(layout == ReportLayout::New ? t.newCodes : t.oldCodes))
                << ReportCodes::tableTitle(t.table).toStdString() << ", " << int(layout);
        }
    }

    const struct
    {
        T table;
        ReportLayout layout;
        const char* code;
        const char* meaning;
    } meanings[] = {
        {T::ChangeComment, ReportLayout::New, "01", "Felaktig betalningsdag"},
        {T::ChangeComment, ReportLayout::New, "06", "Felaktig ny betalningsdag"},
        {T::ChangeComment, ReportLayout::New, "10", "Felaktigt mottagarbankgironummer (fel checksiffra)"},
        {T::ChangeComment, ReportLayout::New, "11", "Mottagarbankgironummer saknas (noll eller blankt)"},
        {T::ChangeComment, ReportLayout::Old, "18", "Ändrad"},
        {T::ChangeRecord, ReportLayout::New, "11", "Makulerad av betalaren/betalarens bank"},
        {T::RejectionComment, ReportLayout::New, "15",
         "Mottagarbankgironumret i öppningsposten och i transaktionsposten är inte detsamma"},
        {T::RejectionComment, ReportLayout::Old, "07", "Avvisad, ännu ej debiterbar"},
        {T::MandateComment, ReportLayout::Old, "30", "Mottagarbankgironummer saknas"},
    };
    for (const auto& m : meanings) {
        const ReportCode code = ReportCodes::describe(m.table, QString::fromLatin1(m.code), m.layout);
        EXPECT_EQ(code.meaning, QString::fromUtf8(m.meaning)) << m.code;
    }
}

// What each code means for the item, found by putting the code into a record of the bank's example.
TEST(ReportParserTest, EachCodeGivesTheOutcomeTheBankMeans)
{
    const char* changes = "autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt";
    const char* oldChanges =
        "autogiro_gl_exempelfil_makulering-andring_fran-bankgirot-medgivanden-kontonummer_exempelfil_sv.txt";
    const char* payments = "autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt";
    const char* rejected = "autogiro_exempelfilavvisade_betalningsuppdrag_sv.txt";
    const char* oldRejected =
        "autogiro_gl_avvisadebetaln_fran-bankgirot-medgivanden-bankgironummer_exempelfil_sv.txt";
    const char* oldPayments = "autogiro_gl_betalningar-stoppadebetalningar-tackningskontroll_fran-bankgirot-"
                              "medgivanden-bankgironummer_exempelfil_sv.txt";
    const char* advice = "autogiro_exempelfiler_medgivandeavisering_sv.txt";
    const char* registry = "autogiro_exempelfil-utdrag-ur-medgivanderegistret_sv.txt";
    const struct
    {
        const char* file;
        int line, position;
        const char* codes; // written into the record at the position, one after the other
        ItemOutcome outcome;
    } cases[] = {
        {changes, 16, 73, "12", ItemOutcome::Cancelled},
        {changes, 16, 73, "14,18", ItemOutcome::Changed},
        {changes, 16, 73, "01,02,04,05,06,10,11,13,15", ItemOutcome::Rejected},
        {changes, 16, 73, "03,99", ItemOutcome::Unknown},
        {oldChanges, 5, 73, "18", ItemOutcome::Changed},
        {oldChanges, 5, 73, "15", ItemOutcome::Rejected},
        {payments, 3, 80, "0", ItemOutcome::Paid},
        {payments, 3, 80, "1,2,4,9", ItemOutcome::NotPaid},
        {payments, 3, 80, "3", ItemOutcome::Unknown},
        {rejected, 2, 59, "01,02,03,06,07,08,09,10,12,13,15,24", ItemOutcome::Rejected},
        {rejected, 2, 59, "11", ItemOutcome::Unknown},
        {oldRejected, 2, 59, "01,02,03,07", ItemOutcome::Rejected},
        {oldRejected, 2, 59, "06,15", ItemOutcome::Unknown},
        {oldPayments, 14, 80, " ,0", ItemOutcome::Paid},
        {oldPayments, 14, 80, "1,2,4,9", ItemOutcome::NotPaid},
        {advice, 2, 62, "0432,0512", ItemOutcome::Approved},
        {advice, 2, 62, "0333,4602,4307,4498,0401,10  ", ItemOutcome::Cancelled},
        {advice, 2, 62, "0410,0304,4203,4205,0424", ItemOutcome::Rejected},
        {advice, 2, 62, "04  ", ItemOutcome::Unknown},
        {registry, 1, 58, "1", ItemOutcome::Approved},
        {registry, 1, 58, "2", ItemOutcome::Pending},
    };
    for (const auto& c : cases) {
        for (const QByteArray& code : QByteArray(c.codes).split(',')) {
            const QByteArray field = code.isEmpty() ? QByteArray("  ") : code;
            const Report report =
                ReportParser::parse(Edited(c.file, ReplaceAt(c.line, c.position, field))).reports.value(0);
            const ReportItem* item = ItemAtLine(report, c.line);
            ASSERT_NE(item, nullptr) << c.file << ":" << c.line;
            EXPECT_EQ(item->outcome, c.outcome) << c.file << ": " << field.toStdString();
        }
    }
}

// Every field the bank's record carries is shown, in both layouts.
TEST(ReportParserTest, EveryFieldOfTheRecordIsShown)
{
    const struct
    {
        const char* file;
        int line;
        const char* shown; // in the item's details and codes
    } cases[] = {
        {"autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt", 17,
         "Ursprunglig betalningsdag: 2009-11-03; Återbetalningsdag: 2009-11-10|02 Medgivande har "
         "återkallats"},
        {"autogiro_exempelfiler_medgivandeavisering_sv.txt", 2,
         "Clearing- och kontonummer: 5001-1000020; Person- eller organisationsnummer: 196803050000; "
         "Åtgärdsdatum: 2008-06-11"},
        {"autogiro_exempelfil-utdrag-ur-medgivanderegistret_sv.txt", 1,
         "Senaste aktivitetsår: 08; Datum för nyupplägg: 1999-01-01; Datum för ändring: 2008-01-31|"
         "1 Medgivandet initierat av Betalningsmottagaren; 2 Under förfrågan"},
        {"utdrag-ur-medgivanderegistret_gammal-layout.txt", 1,
         "Senaste aktivitetsår: 6; Datum för nyupplägg: 1999-01-01; Datum för ändring: 2008-01-31|"
         "1 Medgivandet initierat av Betalningsmottagaren; 1 Godkänt för Autogiro; 0 Medgivandet OK"},
        {"autogiro_exempelfil_nya_medgivanden_via_internetbank_sv.txt", 2, "0 Nytt"},

        {"autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt", 3,
         "22 Makulera alla betalningar angiven betalningsdag (utgått); 12 Makulerad"},
    };
    for (const auto& c : cases) {
        const Report report = ReportParser::parse(BankFile(c.file)).reports.value(0);
        const ReportItem* item = ItemAtLine(report, c.line);
        ASSERT_NE(item, nullptr) << c.file << ":" << c.line;
        const QString text =
            ReportTable::detailsText(*item) + QLatin1Char('|') + ReportTable::codesText(*item);
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.shown))) << text.toStdString();
    }

    // A register entry of the old layout with a maximum amount, in hundreds of kronor.
    const Report old = ReportParser::parse(Edited("utdrag-ur-medgivanderegistret_gammal-layout.txt",
                                                  ReplaceAt(1, 59, "00015")))
                           .reports.value(0);
    EXPECT_TRUE(ReportTable::detailsText(old.items.value(0)).contains(QStringLiteral("Maxbelopp: 1500 kr")));
    // A monitored repeated payment with no count runs until it is cancelled.
    const Report monitored =
        ReportParser::parse(
            Edited("autogiro_exempelfilutdrag-ur-bevakningsregistret_sv.txt", ReplaceAt(3, 12, "000")))
            .reports.value(0);
    EXPECT_TRUE(ReportTable::detailsText(monitored.items.value(1))
                    .contains(QStringLiteral("gäller tills det makuleras")));
}

// The cancellations report writes its totals signed: a last digit of å or J to R is negative.
TEST(ReportParserTest, SignedTotalsOfTheCancellationsReport)
{
    const char* changes = "autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt";
    const struct
    {
        QByteArray credits;
        bool agree;
    } cases[] = {
        {"000000577500", true},
        {"00000057750\xE5", true},
        {"00000057751J", false},
        {"0000005775X0", false},
    };
    for (const auto& c : cases) {
        const Report report =
            ReportParser::parse(Edited(changes, ReplaceAt(20, 29, c.credits))).reports.value(0);
        ASSERT_TRUE(report.totals);
        EXPECT_EQ(report.totals->agree(), c.agree)
            << c.credits.toStdString() << report.totals->disagreements.join(QLatin1Char('\n')).toStdString();
    }
    const Report negative =
        ReportParser::parse(Edited(changes, ReplaceAt(20, 29, "00000057751R"))).reports.value(0);
    EXPECT_EQ(negative.totals->stated.amount, 577519 + 111000);
}

// The total of the debits stands at 57-68, after a reserved field that is not part of it.
TEST(ReportParserTest, TheDebitTotalIsReadFromItsOwnPositions)
{
    const struct
    {
        const char* file;
        int totalsLine;
    } cases[] = {
        {"autogiro_exempelfilutdrag-ur-bevakningsregistret_sv.txt", 12},
        {"autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt", 20},
    };
    for (const auto& c : cases) {
        const Report report =
            ReportParser::parse(Edited(c.file, ReplaceAt(c.totalsLine, 53, "    "))).reports.value(0);
        ASSERT_TRUE(report.totals) << c.file;
        EXPECT_TRUE(report.totals->agree())
            << report.totals->disagreements.join(QLatin1Char('\n')).toStdString();
    }
}

// A field that holds what the bank's layout does not allow is named with its line and positions.
TEST(ReportParserTest, FieldsOutsideTheLayoutAreNamed)
{
    const char* payments = "autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt";
    const struct
    {
        const char* file;
        Edit edit;
        const char* named;
    } cases[] = {
        {payments, ReplaceAt(3, 16, "00000000000A0101"), "Rad 3: Betalarnummer (position 16-31)"},
        {payments, ReplaceAt(3, 44, "00099I2346"),
         "Rad 3: Betalningsmottagarens bankgironummer (position 44-53)"},
        {payments, ReplaceAt(2, 46, "0000l"), "Rad 2: Löpnummer (position 46-50)"},
        {payments, ReplaceAt(3, 3, "20091310"),
         "Rad 3: Betalningsdag (position 3-10) är inget giltigt datum"},
        {payments, ReplaceAt(17, 70, "2009x110"), "Rad 17: Återbetalningsdag (position 70-77)"},
        {"autogiro_exempelfiler_medgivandeavisering_sv.txt", ReplaceAt(2, 45, "19680305000X"),
         "Rad 2: Person- eller organisationsnummer (position 45-56)"},
        {"autogiro_exempelfil_nya_medgivanden_via_internetbank_sv.txt", ReplaceAt(2, 13, "00000000000001X1"),
         "Rad 2: Betalarnummer (position 13-28)"},
        {payments, [](QList<QByteArray>& lines) { lines[2].insert(80, " 81"); },
         "Rad 3 är längre än 80 tecken"},
    };
    for (const auto& c : cases) {
        const Report report = ReportParser::parse(Edited(c.file, c.edit)).reports.value(0);
        EXPECT_TRUE(report.warnings.join(QLatin1Char('\n')).contains(QString::fromUtf8(c.named)))
            << c.named << ": " << report.warnings.join(QLatin1Char('\n')).toStdString();
    }
}

// A report an editor has saved as UTF-8, with or without a byte-order mark: the payee's numbers stay
// at their positions although the "Ä" before them on the opening record takes two bytes.
TEST(ReportParserTest, AReportSavedAsUtf8IsReadAsUtf8)
{
    const QByteArray utf8 =
        DecodeWin1252(BankFile("autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt")).toUtf8();
    for (const QByteArray& bom : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
        const ReportFile file = ReportParser::parse(bom + utf8);
        ASSERT_EQ(file.type, ReportFile::Type::Reports) << bom.size();
        const Report& report = file.reports.value(0);
        EXPECT_EQ(report.customerNumber, QStringLiteral("471117"));
        EXPECT_EQ(report.bankgiro, QStringLiteral("991-2346"));
        EXPECT_EQ(report.kind, ReportKind::CancellationsChanges);
        EXPECT_TRUE(report.unknownLines.isEmpty());
        ASSERT_TRUE(report.totals);
        EXPECT_TRUE(report.totals->agree());
    }
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
    EXPECT_TRUE(csv.contains("\r\n2;73;Medgivande;103;2008-06-11;;Godkänd;\"04 Nyupplägg. Initierat av "
                             "betalningsmottagaren; 32 Nytt Medgivande"));

    // A reference with a semicolon or a quote stays one cell.
    QByteArray bytes = BankFile("autogiro_exempelfilavvisade_betalningsuppdrag_sv.txt");
    bytes.replace("RIDLEKTION      02", "RID;LEK \"TION\"  02");
    const Report rejected = ReportParser::parse(bytes).reports.value(0);
    const QByteArray row = ReportTable::csv({&rejected.items[0]}, QLocale::c()).split('\n').value(1);
    EXPECT_TRUE(row.contains(";\"RID;LEK \"\"TION\"\"\";")) << row.toStdString();
}

} // namespace
