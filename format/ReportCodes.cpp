#include "format/ReportCodes.h"

#include <QList>

namespace {

struct CodeMeaning
{
    const char* code;
    const char* meaning;
};

// The meanings are decoded once per table and then shared, so a report of many items allocates
// none for them; each caller keeps its table's decoded meanings.
template <std::size_t N>
QString lookUp(const CodeMeaning (&table)[N], QStringView code, QList<QString>& decoded)
{
    if (decoded.isEmpty()) {
        for (const CodeMeaning& entry : table)
            decoded.append(QString::fromUtf8(entry.meaning));
    }
    for (std::size_t i = 0; i < N; ++i) {
        if (code == QLatin1String(table[i].code))
            return decoded[qsizetype(i)];
    }
    return QString();
}

const CodeMeaning PaymentStatuses[] = {
    {"0", "Godkänd"},
    {"1", "Täckning saknas"},
    {"2", "Koppling till Autogiro saknas, kontot är avslutat eller medgivandet makulerat"},
    {"4", "Koppling till Autogiro saknas, byte av konto eller nytt medgivande pågår"},
    {"9", "Förnyad täckningskontroll nästa bankdag"},
};

const CodeMeaning RejectionComments[] = {
    {"01", "Medgivande saknas"},
    {"02", "Kontot är inte godkänt eller medgivandet är makulerat"},
    {"03", "Betalarnumret är felaktigt"},
    {"06", "Felaktig periodkod"},
    {"07", "Felaktigt antal självförnyande uppdrag"},
    {"08", "Beloppet är inte numeriskt"},
    {"09", "Förbud mot utbetalningar"},
    {"10", "Bankgironumret saknas hos Bankgirot"},
    {"11", "Felaktigt betalningsdatum"},
    {"12", "Betalningsdagen ligger för långt fram i tiden"},
    {"13", "Betalningsdagen har passerats"},
    {"24", "Beloppet överstiger det högsta tillåtna"},
};

const CodeMeaning MandateInformation[] = {
    {"03", "Makulering på initiativ av betalningsmottagaren"},
    {"04", "Nytt medgivande på initiativ av betalningsmottagaren"},
    {"05", "Byte av betalarnummer på initiativ av betalningsmottagaren"},
    {"10", "Makulerat eftersom betalningsmottagarens bankgironummer är avslutat"},
    {"42", "Svar på kontoförfrågan från betalarens bank"},
    {"43", "Makulerat eftersom kontoförfrågan inte besvarats"},
    {"44", "Makulerat eftersom betalarens bankgironummer är avslutat"},
    {"46", "Makulering på initiativ av betalaren eller betalarens bank"},
};

const CodeMeaning MandateComments[] = {
    {"02", "Medgivandet är makulerat på initiativ av betalaren eller betalarens bank"},
    {"03", "Kontotypen är inte godkänd för Autogiro"},
    {"04", "Medgivandet finns inte i Bankgirots medgivanderegister"},
    {"05", "Felaktiga konto- eller personuppgifter"},
    {"07", "Medgivandet är makulerat eftersom kontoförfrågan inte besvarats"},
    {"09", "Betalarens bankgironummer finns inte hos Bankgirot"},
    {"10", "Medgivandet finns redan i Bankgirots medgivanderegister"},
    {"20", "Felaktigt person- eller organisationsnummer"},
    {"21", "Felaktigt betalarnummer"},
    {"23", "Felaktigt kontonummer"},
    {"29", "Felaktigt bankgironummer för betalaren"},
    {"30", "Medgivandet är redan makulerat"},
    {"32", "Nytt medgivande"},
    {"33", "Medgivandet är makulerat"},
    {"98", "Medgivandet är makulerat eftersom betalarens bankgironummer är avslutat"},
};

const CodeMeaning ChangeRecords[] = {
    {"03", "Makulering på grund av makulerat medgivande"},
    {"11", "Makulering av en betalning"},
    {"21", "Makulering av alla betalningar"},
    {"22", "Makulering av alla betalningar på angiven betaldag"},
    {"23", "Makulering av alla transaktioner för ett betaluppdrag"},
    {"24", "Makulering av alla transaktioner, med angiven betaldag, för ett betalarnummer"},
    {"25", "Makulering av en transaktion"},
    {"26", "Ändring av alla transaktioner"},
    {"27", "Ändring av alla transaktioner på angiven betaldag"},
    {"28", "Ändring av alla transaktioner, med angiven betaldag, för ett betalarnummer"},
    {"29", "Ändring av en transaktion"},
};

// Codes 10, 11 and 13 mark requests that were not carried out (the totals record leaves them out);
// their particular reasons are not known, so their meaning says no more than that.
const CodeMeaning ChangeComments[] = {
    {"01", "Betalningen finns inte hos Bankgirot"},
    {"02", "Det nya betalningsdatumet är felaktigt"},
    {"06", "Betalningsdagen har passerats"},
    {"10", "Makuleringen eller ändringen är inte utförd"},
    {"11", "Makuleringen eller ändringen är inte utförd"},
    {"12", "Makulerad"},
    {"13", "Makuleringen eller ändringen är inte utförd"},
    {"14", "Betalningsdatumet är ändrat"},
};

const CodeMeaning RefundReasons[] = {
    {"01", "Återbetalning på begäran av betalaren"},
    {"02", "Återbetalning på begäran av betalarens bank"},
};

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

QString paymentStatus(QStringView code)
{
    static QList<QString> decoded;
    return lookUp(PaymentStatuses, code, decoded);
}

QString rejectionComment(QStringView code)
{
    static QList<QString> decoded;
    return lookUp(RejectionComments, code, decoded);
}

QString mandateInformation(QStringView code)
{
    static QList<QString> decoded;
    return lookUp(MandateInformation, code, decoded);
}

QString mandateComment(QStringView code)
{
    static QList<QString> decoded;
    return lookUp(MandateComments, code, decoded);
}

QString changeRecord(QStringView recordCode)
{
    static QList<QString> decoded;
    return lookUp(ChangeRecords, recordCode, decoded);
}

QString changeComment(QStringView code)
{
    static QList<QString> decoded;
    return lookUp(ChangeComments, code, decoded);
}

QString refundReason(QStringView code)
{
    static QList<QString> decoded;
    return lookUp(RefundReasons, code, decoded);
}

QString bgMaxSentence()
{
    return QStringLiteral("Det här är en BgMax-fil. Den hör till Bankgirots tjänst Bankgiro Inbetalningar, "
                          "inte till Autogiro, och visas därför som text.");
}

} // namespace ReportCodes
