#pragma once

#include <QList>
#include <QString>

#include <optional>

// A report file from the bank as the presenter and `valmo-cli report` show it: one Report per
// section, one ReportItem per record that reports a payment, a mandate or a change.

enum class ReportKind
{
    PaymentSpecification,   // Betalningsspecifikation (with stopped payments)
    MandateAdvice,          // Medgivandeavisering
    RejectedPayments,       // Avvisade betalningsuppdrag
    CancellationsChanges,   // Makuleringar och ändringar
    InternetMandates,       // Medgivanden via Internetbanken
    MonitoringExtract,      // Utdrag ur bevakningsregistret
    MandateRegisterExtract, // Utdrag ur medgivanderegistret
};

enum class ReportLayout
{
    New, // opening record "01AUTOGIRO"
    Old, // "AUTOGIRO9900" with a title, or "9900" and the bankgiro number
};

// What an item means for the payee; the presenter colours and sums rows by it.
enum class ItemOutcome
{
    Paid,      // money moved
    NotPaid,   // stopped in the coverage check
    Refunded,  // paid back to the payer after the payment
    Rejected,  // refused by the bank before payment
    Approved,  // a mandate the bank approved
    Cancelled, // a payment or mandate that no longer stands
    Changed,   // a payment with a new date or amount
    Pending,   // waiting: a monitored payment, a new e-mandate, a registered mandate
    Summary,   // a deposit, payout or refund record that sums the items after it
    Unknown,   // a code the program does not know
};

struct ReportCode
{
    QString name;    // what the code is, e.g. "Kommentarskod"
    QString code;    // as in the file
    QString meaning; // the bank's Swedish meaning; empty when the code is unknown
    bool retired = false; // the bank no longer uses the code; meaning is its former one
};

struct ReportDetail
{
    QString name;
    QString value;
};

struct ReportItem
{
    int line = 0;                 // counted from 1
    QString record;               // the record code, e.g. "82"
    QString description;          // e.g. "Debitering", "Makulering av en transaktion"
    QString payerNumber;          // without leading zeros
    QString date;                 // "yyyy-mm-dd", or the field as it stands when it is no date
    std::optional<qint64> amount; // öre; absent when the record has none or it is unreadable
    bool amountUnreadable = false;
    QList<ReportCode> codes;
    QString reference;
    QList<ReportDetail> details;
    ItemOutcome outcome = ItemOutcome::Unknown;
    bool counted = false;           // part of what the totals record sums
    bool debit = true;              // for the totals: a debit (82) rather than a credit (32)
    std::optional<int> statedCount; // a summary record: how many items it sums
    int continuationRecords = 0;    // records that carry more of this item (name, address)
};

struct ReportAmountCount
{
    qint64 count = 0;
    std::optional<qint64> amount; // absent when the totals record carries no amount
};

struct ReportTotals
{
    int line = 0;
    ReportAmountCount stated;
    ReportAmountCount counted;
    // Each disagreement in a Swedish sentence; empty when the report is complete.
    QStringList disagreements;
    bool agree() const { return disagreements.isEmpty(); }
};

struct ReportLine
{
    int line = 0;
    QString text;
};

struct Report
{
    ReportKind kind = ReportKind::PaymentSpecification;
    ReportLayout layout = ReportLayout::New;
    int line = 0;           // of the opening record; 1 for an extract without one
    QString date;           // "yyyy-mm-dd"
    QString bankgiro;       // display form
    QString customerNumber; // without leading zeros; empty when the file has none
    QList<ReportItem> items;
    std::optional<ReportTotals> totals;
    // Sentences about the report as a whole: a missing totals record, an unreadable field.
    QStringList warnings;
    QList<ReportLine> unknownLines;
};

struct ReportFile
{
    enum class Type
    {
        Reports,   // one or more reports
        BgMax,     // a file of Bankgiro Inbetalningar
        OrderFile, // an order file to the bank: edited, not presented
        Neither,   // none of these
    };
    Type type = Type::Neither;
    QList<Report> reports;
};
