#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QHash>
#include <QString>

#include <functional>

class RegisterDatabase;

struct RegisterPayerRow
{
    QString payer;
    QString account;
    QString identity;
    QString state; // the mandate's state; empty for a payer with payments only
    QString code;
    QString meaning;
    QString answerBy; // last day to answer an e-mandate
    bool withoutBasis = false;
    QString file;
    int line = 0;
};

struct RegisterPaymentRow
{
    qint64 id = 0;
    QString payer;
    QString type; // "82" or "32"
    QString date; // the payment day asked for
    QString newDate;
    qint64 amount = 0;
    QString reference;
    QString state;
    QString code;
    QString meaning;
    bool withoutBasis = false;
    QString file;
    int line = 0;
};

// A payment as the register keeps it, its texts in UTF-8 and valid only while the callback runs:
// for long lists written straight out, without a QString for each value.
struct RegisterPaymentBytes
{
    qint64 id = 0;
    QByteArrayView payer;
    QByteArrayView type;
    QByteArrayView date;
    QByteArrayView newDate;
    qint64 amount = 0;
    QByteArrayView reference;
    QByteArrayView state;
    QByteArrayView code;
    QByteArrayView meaning;
    bool withoutBasis = false;
    QByteArrayView file;
    int line = 0;
};

struct RegisterHistoryRow
{
    QString bankDate;
    bool payment = false; // else the mandate
    QString paymentDate;
    QString type;
    qint64 amount = 0;
    QString state; // empty for a fact that changed no state
    QString code;
    QString meaning;
    QString newDate;
    QString file;
    int line = 0;
    QString importedAt;
};

struct PayerFilter
{
    QString state;
    int offset = 0;
    int limit = -1; // all
};

struct PaymentFilter
{
    QString state;
    QString payer;
    QDate from; // payment days from..to, both included; invalid for no bound
    QDate to;
    int offset = 0;
    int limit = -1;
};

// Reads the register for lists and windows. Rows come one at a time to a callback that returns
// false to stop, so memory does not grow with the register; offset and limit serve a window that
// fetches a page at a time. Payers are ordered by payer number, payments by payment day, history by
// the bank's date, then file and line.
class RegisterQuery
{
public:
    explicit RegisterQuery(const RegisterDatabase& database);

    void payers(const PayerFilter& filter, const std::function<bool(const RegisterPayerRow&)>& each) const;
    void payments(const PaymentFilter& filter, const std::function<bool(const RegisterPaymentRow&)>& each) const;
    void paymentBytes(const PaymentFilter& filter,
                      const std::function<bool(const RegisterPaymentBytes&)>& each) const;
    qint64 paymentCount(const PaymentFilter& filter) const;
    void history(const QString& payer, const std::function<bool(const RegisterHistoryRow&)>& each) const;

private:
    QString fileName(qint64 id) const;
    const QByteArray& fileNameBytes(qint64 id) const;

    const RegisterDatabase& m_database;
    mutable QHash<qint64, QByteArray> m_fileNames;
};
