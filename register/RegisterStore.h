#pragma once

#include "register/SqliteStatement.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

class RegisterDatabase;

// A fact about a payer's mandate (paymentId 0) or about one payment, with its source. An empty
// state records the fact without changing the state.
struct RegisterEvent
{
    qint64 fileId = 0;
    int line = 0;
    QString payer;
    qint64 paymentId = 0;
    QString bankDate; // "yyyy-mm-dd"
    QString state;
    QString code;
    QString meaning;
    QString newDate;
};

struct NewPayment
{
    qint64 fileId = 0;
    int line = 0;
    QString payer;
    QString type;
    qint64 amount = 0;
    QString reference;
    QDate date;
    QChar period = QLatin1Char('0');
    bool withoutBasis = false;
};

// The statements of an import, prepared once and run inside the caller's transaction.
class RegisterStore
{
public:
    explicit RegisterStore(RegisterDatabase& database);

    bool fileKnown(const QString& sha256);
    qint64 addFile(const QString& name, const QString& sha256, const QString& kind, const QString& importedAt);

    // The payer's row, made when missing. A payer made by a bank's report is marked without basis.
    void ensurePayer(const QString& payer, bool withoutBasis);
    void setPayerDetails(const QString& payer, const QString& account, const QString& identity);
    void setAnswerBy(const QString& payer, const QString& date);
    QString mandateState(const QString& payer);

    qint64 addPayment(const NewPayment& payment);
    // The delivered payments that an item of a report belongs to, the latest delivery first: same
    // payer, type, amount and reference, and a payment day, the banking day it moved to, or the
    // new day of a change equal to day.
    QList<qint64> matchPayment(const QString& payer, const QString& type, qint64 amount,
                               const QString& reference, const QDate& day);
    // Loads the delivered payments with a payment day in from..to, so that matching the items of a
    // large report on those days needs no query each. Loads nothing when the days hold more than
    // limit payments, so memory stays bounded.
    void preloadPayments(const QDate& from, const QDate& to, qint64 limit);
    // Payments the bank may still act on, of a payer (all when empty) on a day (all when invalid).
    QList<qint64> openPayments(const QString& payer, const QDate& day);
    // Payers whose mandate stands in the register but is not among listed.
    QStringList standingMandatesExcept(const QSet<QString>& listed);

    // Stores the event; the subject's state follows it unless a later event set it.
    void apply(const RegisterEvent& event);
    // Adds the changes of this import to the sums per payment state; run before the commit.
    void saveSums();

    // A reference as matching compares it: blanks and leading zeros removed.
    static QString referenceKey(const QString& reference);

private:
    struct Candidate
    {
        qint64 id;
        QString date;
        QString period;
        QString newDate;
    };
    static QString matchKey(const QString& payer, const QString& type, qint64 amount, const QString& referenceKey);
    bool onPaymentDay(const QString& date, const QString& period, const QString& newDate, const QDate& day) const;
    void applyToPayment(const RegisterEvent& event);
    void changeSum(const QString& state, qint64 count, qint64 amount);

    RegisterDatabase& m_database;
    SqliteStatement m_fileKnown, m_addFile, m_ensurePayer, m_payerDetails, m_answerBy, m_mandateState;
    SqliteStatement m_addPayment, m_match, m_matchNewDate, m_addEvent, m_payerState, m_paymentState;
    SqliteStatement m_paymentBefore, m_addSums;
    struct SumChange
    {
        qint64 count = 0;
        qint64 amount = 0;
    };
    QHash<QString, SumChange> m_sumChanges; // per state, since the import began
    QHash<QString, QList<Candidate>> m_preloaded;
    QDate m_preloadedFrom, m_preloadedTo; // days whose matches are all in m_preloaded
};
