#pragma once

#include "register/RegisterDatabase.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

// The orders of an order file as the register records them when the file is delivered. Numbers
// are digits without leading zeros, amounts in öre, dates QDate.
struct DeliveredMandate
{
    int line = 0;
    QString payer;
    QString account;     // clearing and account number, or empty for a payer's bankgiro number
    QString identity;    // civic or organisation number
    bool cancel = false; // "03": the payee cancels the mandate
    bool refuse = false; // "04" with "AV": the payee refuses an e-mandate
};

struct DeliveredPayment
{
    int line = 0;
    QString type; // "82" debit, "32" credit
    QDate date;   // the delivery day for a payment at once ("GENAST")
    QChar period; // '0' once, '1'..'8' repeated
    int count = 0; // repetitions; 0 for a repeated order until further notice
    QString payer;
    qint64 amount = 0;
    QString reference;
};

struct DeliveredChange
{
    int line = 0;
    QString code; // "23".."29"
    QString payer;
    QDate date;
    qint64 amount = 0;
    QString type;
    QDate newDate;
    QString reference;
};

// "05": the payee moves a mandate to a new payer number.
struct DeliveredPayerNumberChange
{
    int line = 0;
    QString payer;
    QString newPayer;
};

struct DeliveredFile
{
    RegisterPayee payee;
    QDate written; // the date of the first opening record
    QList<DeliveredMandate> mandates;
    QList<DeliveredPayment> payments;
    QList<DeliveredChange> changes;
    QList<DeliveredPayerNumberChange> payerNumberChanges;
};

// Reads the records of an order file; a record that cannot be read throws a RegisterError
// (UnreadableFile) naming its line, so that a file is recorded whole or not at all.
DeliveredFile ReadDeliveredFile(const QByteArray& bytes, const QDate& deliveryDay);
