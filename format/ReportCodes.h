#pragma once

#include "format/Report.h"

#include <QList>
#include <QString>
#include <QStringView>

// The Swedish names of the report kinds and outcomes, and the meanings of the codes that the
// bank's report records carry, in the bank's wording. The old layout has its own wording for some
// codes and lacks others. A code the bank has not defined gives an empty meaning; a code the bank
// no longer uses gives its former meaning and is marked as retired.
namespace ReportCodes {

QString kindName(ReportKind kind);
// "ny" or "gammal".
QString layoutName(ReportLayout layout);
QString outcomeName(ItemOutcome outcome);

// The code tables of the reports.
enum class Table
{
    PaymentStatus,      // Betalningsspecifikation, position 80 of records 82 and 32
    RejectionComment,   // Avvisade betalningsuppdrag: why the bank refused a payment order
    ChangeRecord,       // Makuleringar och ändringar: what the record is
    ChangeComment,      // Makuleringar och ändringar: what the bank did, or why it did not
    MandateInformation, // Medgivandeavisering: what happened to the mandate
    MandateComment,     // Medgivandeavisering: why
    RefundReason,       // Betalningsspecifikation, record 77: why a payment was paid back
    MessageType,        // Medgivanden via Internetbanken, record 52: new mandate or reminder
    MandateType,        // Utdrag ur medgivanderegistret: who started the mandate
    RegisterStatus,     // Utdrag ur medgivanderegistret: the mandate's status
    RegisterStatus2,    // Utdrag ur medgivanderegistret, old layout only: the second status
};

struct Entry
{
    QString code;
    QString meaning;
    bool retired = false;
};

// The code as the presenter shows it: named, with its meaning and whether it is retired.
ReportCode describe(Table table, const QString& code, ReportLayout layout);
// Every code of a table in a layout, in the bank's order; empty when the layout has no such table.
QList<Entry> entries(Table table, ReportLayout layout);
// What the code is called in a report, e.g. "Kommentarskod".
QString tableName(Table table);
// The heading of a table in help and listings, e.g. "Kommentarskoder, avvisade betalningar".
QString tableTitle(Table table);

// The meanings alone (empty when unknown), as describe() gives them.
QString paymentStatus(QStringView code, ReportLayout layout = ReportLayout::New);
QString rejectionComment(QStringView code, ReportLayout layout = ReportLayout::New);
QString mandateInformation(QStringView code, ReportLayout layout = ReportLayout::New);
QString mandateComment(QStringView code, ReportLayout layout = ReportLayout::New);
QString changeRecord(QStringView recordCode, ReportLayout layout = ReportLayout::New);
QString changeComment(QStringView code, ReportLayout layout = ReportLayout::New);
QString refundReason(QStringView code);

// The sentence shown for a file of Bankgiro Inbetalningar.
QString bgMaxSentence();

} // namespace ReportCodes
