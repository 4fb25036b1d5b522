#include "format/ReportCodes.h"

#include <array>

namespace {

using ReportCodes::Entry;
using ReportCodes::Table;

enum Layouts
{
    NewOnly = 1,
    OldOnly = 2,
    Both = NewOnly | OldOnly,
};

struct Row
{
    const char* code;
    const char* meaning;
    int layouts;
    bool retired;
};

// The meanings as the bank words them in its technical manual, without the closing full stop. The
// old layout's own wording comes before the shared row, so a lookup finds it first.

const Row PaymentStatuses[] = {
    {"0", "Godkänd betalning, betalningen är genomförd", Both, false},
    {"1", "Täckning saknas, betalningen har inte genomförts", Both, false},
    {"2",
     "Koppling till Autogiro saknas, bankkontot är avslutat eller har makulerats av betalaren i "
     "internetbanken. Betalningen har inte genomförts",
     OldOnly, false},
    {"2", "Koppling till Autogiro saknas (bankkontot avslutat), Annan orsak. Betalningen har inte genomförts",
     NewOnly, false},
    // Not in the bank's manual of 2014; known only from a restatement of the bank's table, so the
    // meaning says only what that restatement says: no link yet, while an account number is being
    // changed or a mandate set up.
    {"4",
     "Koppling till Autogiro saknas (byte av kontonummer eller uppläggning av medgivande pågår), "
     "betalningen har inte genomförts",
     Both, false},
    {"9", "Förnyad täckning, betalningen har inte genomförts men nytt försök ska göras", OldOnly, false},
    {"9", "Förnyad täckning, betalningen har inte genomförts men nytt försök ska göras om avtal finns",
     NewOnly, false},
};

const Row RejectionComments[] = {
    {"01", "Utgår, Medgivande saknas", Both, false},
    {"02", "Utgår, kontot är inte godkänt eller är avslutat", Both, false},
    {"03", "Utgår, Medgivandet stoppat", OldOnly, true},
    {"03",
     "Utgår, Medgivandet stoppat (Autogiro Privat); Utgår, betalarbankgironummer avregistrerat "
     "(Autogiro Företag)",
     NewOnly, true},
    {"04", "Felaktigt betalarbankgironummer", NewOnly, true},
    {"05", "Felaktigt mottagarbankgironummer", NewOnly, true},
    {"06", "Felaktig periodkod", NewOnly, false},
    {"07", "Avvisad, ännu ej debiterbar", OldOnly, true},
    // The bank also lists 07 as changed into 02, its former meaning now going under 02; the code
    // itself is in the active list with this meaning, and that is how it is read.
    {"07", "Felaktigt antal för Självförnyande uppdrag", NewOnly, false},
    {"08", "Belopp inte numeriskt", NewOnly, false},
    {"09", "Förbud mot utbetalningar", NewOnly, false},
    {"10", "Bankgironumret saknas hos Bankgirot", NewOnly, false},
    {"12", "Felaktigt betalningsdatum", NewOnly, false},
    {"13", "Passerat betalningsdatum", NewOnly, false},
    {"15", "Mottagarbankgironumret i öppningsposten och i transaktionsposten är inte detsamma", NewOnly,
     false},
    {"24", "Beloppet överstiger maxbeloppet", NewOnly, false},
};

// The old layout's records may carry 21 and 22, but its table of codes leaves them out; they are
// read there with the meaning the new layout gives them.
const Row ChangeRecords[] = {
    {"03", "Makulerad på grund av borttaget Medgivande", Both, false},
    {"11", "Makulerad av betalaren/betalarens bank", NewOnly, false},
    {"21", "Makulerad, Betalningsmottagarens avtal avslutat", Both, false},
    {"22", "Makulera alla betalningar angiven betalningsdag", Both, true},
    {"23", "Makulera alla betalningar för ett betalarnummer", Both, false},
    {"24", "Makulera alla betalningar för ett betalarnummer inom en angiven betalningsdag", Both, false},
    {"25", "Makulera en Enstaka betalning", OldOnly, false},
    {"25",
     "Makulera en betalning för ett betalarnummer inom en angiven betalningsdag, belopp och eventuell "
     "referens",
     NewOnly, false},
    {"26", "Ändra alla betalningar till ny betalningsdag", Both, false},
    {"27", "Ändra alla betalningar från angiven betalningsdag till ny betalningsdag", Both, false},
    {"28", "Ändra alla betalningar inom ett betalarnummer från angiven betalningsdag till ny betalningsdag",
     Both, false},
    {"29", "Ändra en betalning från angiven betalningsdag till ny betalningsdag", Both, false},
};

const Row ChangeComments[] = {
    {"01", "Felaktig betalningsdag", Both, false},
    {"02", "Felaktigt betalarnummer", Both, false},
    {"04", "Felaktig transaktionskod", OldOnly, false},
    {"04", "Felaktig debiteringskod", NewOnly, false},
    {"05", "Felaktigt belopp", Both, false},
    {"06", "Felaktig ny betalningsdag", Both, false},
    {"10", "Felaktigt bankgironummer", OldOnly, false},
    {"10", "Felaktigt mottagarbankgironummer (fel checksiffra)", NewOnly, false},
    {"11", "Bankgironummer saknas", OldOnly, false},
    {"11", "Mottagarbankgironummer saknas (noll eller blankt)", NewOnly, false},
    {"12", "Makulerad", Both, false},
    {"13", "Betalningen saknas, inte åtgärdad", OldOnly, false},
    {"13", "Betalning saknas, inte åtgärdad", NewOnly, false},
    {"14", "Ändrad betalningsdag", Both, false},
    {"15", "Inte ändrad, Självförnyande uppdrag", OldOnly, true},
    {"15", "Inte ändrad, Självförnyande uppdrag", NewOnly, false},
    {"18", "Ändrad", OldOnly, false},
    {"18", "Ändrad betalningsdag", NewOnly, false},
};

const Row MandateInformation[] = {
    {"03", "Makulering. Initierad av betalningsmottagaren", OldOnly, false},
    {"03", "Makulering. Initierat av betalningsmottagaren", NewOnly, false},
    {"04", "Nyupplägg. Initierat av betalningsmottagaren", Both, false},
    {"05",
     "Byte av betalarnummer. Endast tillåtet för Medgivanden med bankkontonummer. Initierat av "
     "betalningsmottagaren",
     NewOnly, false},
    {"10",
     "Makulerat på grund av att betalningsmottagarens bankgironummer är avslutat. Initierat av "
     "betalningsmottagarens bank",
     OldOnly, false},
    {"10",
     "Makulerat på grund av att betalningsmottagarens bankgironummer är avslutat. Initierat av "
     "betalningsmottagaren själv eller via dennes bank",
     NewOnly, false},
    {"42", "Svar på kontoförfrågan från bank på ny betalare i Autogiro. För Medgivanden med bankkontonummer",
     OldOnly, false},
    {"42", "Svar på kontoförfrågan från bank på ny betalare i Autogiro", NewOnly, false},
    {"43", "Makulerat på grund av obesvarad kontoförfrågan. För Medgivanden med bankkontonummer", OldOnly,
     false},
    {"43", "Makulerat/borttaget på grund av obesvarad kontoförfrågan", NewOnly, false},
    {"44", "Makulerat på grund av att betalarens bankgironummer är avslutat. Initierat av betalarens bank",
     Both, false},
    {"46", "Makulering. Initierat av betalaren eller betalarens bank. För Medgivanden med kontonummer",
     OldOnly, false},
    {"46", "Makulering. Initierat av betalaren eller betalarens bank", NewOnly, false},
    {"93", "Makulering. Initierad av betalaren", Both, true},
};

const Row MandateComments[] = {
    {"01", "Medgivandet makulerat på initiativ av banken", Both, true},
    {"02", "Medgivandet är makulerat på initiativ av betalaren", OldOnly, false},
    {"02", "Medgivandet är makulerat på initiativ av betalaren eller betalarens bank", NewOnly, false},
    {"03", "Kontoslaget är inte godkänt för Autogiro", Both, false},
    {"04",
     "Medgivandet saknas i Bankgirots Medgivanderegister (Kombinationen av betalningsmottagarens "
     "bankgironummer och betalarnummer finns inte)",
     OldOnly, false},
    {"04", "Medgivandet saknas i Bankgirots Medgivanderegister", NewOnly, false},
    {"05", "Felaktiga bankkonto- eller personuppgifter", Both, false},
    {"06", "Medgivandet makulerat av Bankgirot", Both, true},
    {"07", "Medgivandet är makulerat av Bankgirot på grund av obesvarad kontoförfrågan", OldOnly, false},
    {"07", "Makulerat/borttaget på grund av obesvarad kontoförfrågan", NewOnly, false},
    {"09", "Bankgironumret saknas hos Bankgirot (Betalningsmottagarens bankgironummer är felaktigt)", OldOnly,
     false},
    {"09", "Betalarbankgironumret saknas hos Bankgirot", NewOnly, false},
    {"10", "Medgivandet finns redan upplagt i Bankgirots register eller är under förfrågan", Both, false},
    {"11", "Medgivandet stoppat av betalaren", Both, true},
    {"12", "Hävning av stopp av Medgivandet", Both, true},
    {"20", "Felaktigt personnummer", OldOnly, false},
    {"20", "Felaktigt person-/organisationsnummer eller avtal om medgivande med bankgironummer saknas",
     NewOnly, false},
    {"21", "Felaktigt betalarnummer", Both, false},
    {"23", "Felaktigt kontonummer", OldOnly, false},
    {"23", "Felaktigt bankkontonummer", NewOnly, false},
    {"24", "Maxbelopp ej tillåtet", Both, true},
    {"29",
     "Mottagarbankgironummer är felaktigt: inte numeriskt, är noll, har fel checksiffra eller är inte "
     "samma i transaktionsposten som i öppningsposten",
     Both, false},
    {"30", "Mottagarbankgironummer saknas", OldOnly, false},
    {"30", "Mottagarbankgironummer är avregistrerat", NewOnly, false},
    {"32", "Nytt Medgivande", Both, false},
    {"33", "Makulerad", Both, false},
    {"98", "Medgivandet är makulerat på grund av makulerat betalarnummer", OldOnly, false},
    {"98", "Medgivandet är makulerat på grund av makulerat betalarbankgironummer", NewOnly, false},
};

// The old layout has no refund records.
const Row RefundReasons[] = {
    {"01", "Medgivande har inte lämnats till betalningsmottagaren", NewOnly, false},
    {"02", "Medgivande har återkallats", NewOnly, false},
    {"03",
     "Beloppet angavs inte i samband med att Medgivandet tecknades och beloppet överstiger det "
     "betalaren rimligen kunde ha förväntat sig",
     NewOnly, false},
    {"04", "Reservkod (används inte för tillfället)", NewOnly, false},
    {"05", "Reservkod (används inte för tillfället)", NewOnly, false},
};

const Row MessageTypes[] = {
    {"0", "Nytt", Both, false},
    {"1", "Påminnelse 1", Both, false},
    {"2", "Påminnelse 2", Both, false},
};

const Row MandateTypes[] = {
    {"1", "Medgivandet initierat av Betalningsmottagaren", Both, false},
    {"2", "Medgivandet initierat av betalare via Internetbank", Both, false},
};

const Row RegisterStatuses[] = {
    {"1", "Godkänt för Autogiro", Both, false},
    {"2", "Under förfrågan", Both, false},
};

const Row RegisterStatuses2[] = {
    {"0", "Medgivandet OK", OldOnly, false},
};

struct Rows
{
    const Row* begin;
    const Row* end;
};

template <std::size_t N> Rows rowsOf(const Row (&rows)[N])
{
    return {rows, rows + N};
}

Rows rowsOf(Table table)
{
    switch (table) {
    case Table::PaymentStatus:
        return rowsOf(PaymentStatuses);
    case Table::RejectionComment:
        return rowsOf(RejectionComments);
    case Table::ChangeRecord:
        return rowsOf(ChangeRecords);
    case Table::ChangeComment:
        return rowsOf(ChangeComments);
    case Table::MandateInformation:
        return rowsOf(MandateInformation);
    case Table::MandateComment:
        return rowsOf(MandateComments);
    case Table::RefundReason:
        return rowsOf(RefundReasons);
    case Table::MessageType:
        return rowsOf(MessageTypes);
    case Table::MandateType:
        return rowsOf(MandateTypes);
    case Table::RegisterStatus:
        return rowsOf(RegisterStatuses);
    case Table::RegisterStatus2:
        return rowsOf(RegisterStatuses2);
    }
    return {nullptr, nullptr};
}

constexpr int TableCount = int(Table::RegisterStatus2) + 1;

QList<Entry> decode(Table table, ReportLayout layout)
{
    const int wanted = layout == ReportLayout::New ? NewOnly : OldOnly;
    QList<Entry> entries;
    const Rows rows = rowsOf(table);
    for (const Row* row = rows.begin; row != rows.end; ++row) {
        if (row->layouts & wanted)
            entries.append({QString::fromLatin1(row->code), QString::fromUtf8(row->meaning), row->retired});
    }
    return entries;
}

// Decoded once for the whole program, so a report of many items allocates no meanings.
const QList<Entry>& decoded(Table table, ReportLayout layout)
{
    static const std::array<QList<Entry>, TableCount* 2> all = [] {
        std::array<QList<Entry>, TableCount * 2> tables;
        for (int i = 0; i < TableCount; ++i) {
            tables[std::size_t(i * 2)] = decode(Table(i), ReportLayout::New);
            tables[std::size_t(i * 2 + 1)] = decode(Table(i), ReportLayout::Old);
        }
        return tables;
    }();
    return all[std::size_t(int(table) * 2 + (layout == ReportLayout::New ? 0 : 1))];
}

const Entry* find(Table table, QStringView code, ReportLayout layout)
{
    for (const Entry& entry : decoded(table, layout)) {
        if (entry.code == code)
            return &entry;
    }
    return nullptr;
}

QString meaningOf(Table table, QStringView code, ReportLayout layout)
{
    const Entry* entry = find(table, code, layout);
    return entry ? entry->meaning : QString();
}

} // namespace

namespace ReportCodes {

QString kindName(ReportKind kind)
{
    switch (kind) {
    case ReportKind::PaymentSpecification:
        return QStringLiteral("Betalningsspecifikation");
    case ReportKind::MandateAdvice:
        return QStringLiteral("Medgivandeavisering");
    case ReportKind::RejectedPayments:
        return QStringLiteral("Avvisade betalningsuppdrag");
    case ReportKind::CancellationsChanges:
        return QStringLiteral("Makuleringar och ändringar");
    case ReportKind::InternetMandates:
        return QStringLiteral("Medgivanden via Internetbanken");
    case ReportKind::MonitoringExtract:
        return QStringLiteral("Utdrag ur bevakningsregistret");
    case ReportKind::MandateRegisterExtract:
        return QStringLiteral("Utdrag ur medgivanderegistret");
    }
    return QString();
}

QString layoutName(ReportLayout layout)
{
    return layout == ReportLayout::New ? QStringLiteral("ny") : QStringLiteral("gammal");
}

QString outcomeName(ItemOutcome outcome)
{
    switch (outcome) {
    case ItemOutcome::Paid:
        return QStringLiteral("Genomförd");
    case ItemOutcome::NotPaid:
        return QStringLiteral("Ej genomförd");
    case ItemOutcome::Refunded:
        return QStringLiteral("Återbetald");
    case ItemOutcome::Rejected:
        return QStringLiteral("Avvisad");
    case ItemOutcome::Approved:
        return QStringLiteral("Godkänd");
    case ItemOutcome::Cancelled:
        return QStringLiteral("Makulerad");
    case ItemOutcome::Changed:
        return QStringLiteral("Ändrad");
    case ItemOutcome::Pending:
        return QStringLiteral("Väntande");
    case ItemOutcome::Summary:
        return QStringLiteral("Summering");
    case ItemOutcome::Unknown:
        return QStringLiteral("Okänd");
    }
    return QString();
}

QString tableName(Table table)
{
    switch (table) {
    case Table::PaymentStatus:
        return QStringLiteral("Betalningsstatus");
    case Table::RejectionComment:
    case Table::ChangeComment:
    case Table::MandateComment:
        return QStringLiteral("Kommentarskod");
    case Table::ChangeRecord:
        return QStringLiteral("Transaktionskod");
    case Table::MandateInformation:
        return QStringLiteral("Informationskod");
    case Table::RefundReason:
        return QStringLiteral("Återbetalningskod");
    case Table::MessageType:
        return QStringLiteral("Meddelandetyp");
    case Table::MandateType:
        return QStringLiteral("Medgivandetyp");
    case Table::RegisterStatus:
        return QStringLiteral("Status");
    case Table::RegisterStatus2:
        return QStringLiteral("Status 2");
    }
    return QString();
}

QString tableTitle(Table table)
{
    switch (table) {
    case Table::PaymentStatus:
        return QStringLiteral("Betalningsstatus, betalningsspecifikation");
    case Table::RejectionComment:
        return QStringLiteral("Kommentarskoder, avvisade betalningsuppdrag");
    case Table::ChangeRecord:
        return QStringLiteral("Makulerings- och ändringskoder");
    case Table::ChangeComment:
        return QStringLiteral("Kommentarskoder, makuleringar och ändringar");
    case Table::MandateInformation:
        return QStringLiteral("Informationskoder, medgivandeavisering");
    case Table::MandateComment:
        return QStringLiteral("Kommentarskoder, medgivandeavisering");
    case Table::RefundReason:
        return QStringLiteral("Återbetalningskoder");
    case Table::MessageType:
        return QStringLiteral("Meddelandetyp, medgivanden via Internetbanken");
    case Table::MandateType:
        return QStringLiteral("Medgivandetyp, utdrag ur medgivanderegistret");
    case Table::RegisterStatus:
        return QStringLiteral("Status, utdrag ur medgivanderegistret");
    case Table::RegisterStatus2:
        return QStringLiteral("Status 2, utdrag ur medgivanderegistret");
    }
    return QString();
}

ReportCode describe(Table table, const QString& code, ReportLayout layout)
{
    ReportCode described;
    described.name = tableName(table);
    described.code = code;
    if (const Entry* entry = find(table, code, layout)) {
        described.meaning = entry->meaning;
        described.retired = entry->retired;
    }
    return described;
}

QList<Entry> entries(Table table, ReportLayout layout)
{
    return decoded(table, layout);
}

QString paymentStatus(QStringView code, ReportLayout layout)
{
    return meaningOf(Table::PaymentStatus, code, layout);
}

QString rejectionComment(QStringView code, ReportLayout layout)
{
    return meaningOf(Table::RejectionComment, code, layout);
}

QString mandateInformation(QStringView code, ReportLayout layout)
{
    return meaningOf(Table::MandateInformation, code, layout);
}

QString mandateComment(QStringView code, ReportLayout layout)
{
    return meaningOf(Table::MandateComment, code, layout);
}

QString changeRecord(QStringView recordCode, ReportLayout layout)
{
    return meaningOf(Table::ChangeRecord, recordCode, layout);
}

QString changeComment(QStringView code, ReportLayout layout)
{
    return meaningOf(Table::ChangeComment, code, layout);
}

QString refundReason(QStringView code)
{
    return meaningOf(Table::RefundReason, code, ReportLayout::New);
}

QString bgMaxSentence()
{
    return QStringLiteral("Det här är en BgMax-fil. Den hör till Bankgirots tjänst Bankgiro Inbetalningar, "
                          "inte till Autogiro, och visas därför som text.");
}

} // namespace ReportCodes
