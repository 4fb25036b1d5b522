#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

class RegisterDatabase;

// The register's two lists as the register window shows them: payers with their mandates, and
// payments.
enum class RegisterList
{
    Payers,
    Payments
};

// What the window asks for: rows holding a text in one of their columns, of one state, sorted by a
// column (amounts and dates by value).
struct RegisterListFilter
{
    QString text;
    QString state; // empty for every state
    int sortColumn = 0;
    bool descending = false;
};

// One row as the window shows it: the texts of the list's columns, and what the history of the row
// is looked up by.
struct RegisterListRow
{
    qint64 id = 0; // the payment's number in the register; 0 for a payer
    QString payer;
    QStringList texts;
};

// The rows of one state: how many, and for payments their amount in öre.
struct RegisterStateSum
{
    QString state;
    qint64 count = 0;
    qint64 amount = 0;
};

// One event in a row's history, with where it came from.
struct RegisterEventRow
{
    QString bankDate;
    QString what; // the state it set, or the fact's meaning when it set none
    QString code;
    QString meaning;
    QString file;
    int line = 0;
};

// Reads the register's lists a page at a time, so that a window over a million payments holds only
// the rows it shows. Counting, sums and each page are one statement each over the indexed tables.
class RegisterListQuery
{
public:
    RegisterListQuery(const RegisterDatabase& database, RegisterList list);

    static QStringList captions(RegisterList list);
    // The states the list's state filter offers.
    static QStringList states(RegisterList list);
    // The column that holds the amount in the payments' list.
    static constexpr int PaymentAmountColumn = 3;

    RegisterList list() const { return m_list; }
    qint64 count(const RegisterListFilter& filter) const;
    QList<RegisterListRow> page(const RegisterListFilter& filter, qint64 offset, int limit) const;
    // Every row in the filter's order, one at a time; each returns false to stop.
    void each(const RegisterListFilter& filter, const std::function<bool(const RegisterListRow&)>& row) const;
    QList<RegisterStateSum> sums(const RegisterListFilter& filter) const;
    // The events of a payer's mandate and payments, or of one payment, in the bank's order.
    QList<RegisterEventRow> history(const RegisterListRow& row) const;

    // A search that finds at most this many payments remembers them for its pages.
    static constexpr int KeptHits = 20000;

    // The rows as CSV in the form of the lists' export: the captions as header, semicolons, UTF-8
    // with a byte-order mark, CR LF.
    QByteArray csv(const RegisterListFilter& filter) const;
    // The same written to a device as the rows come, so that memory does not grow with the list;
    // false when the device fails.
    bool writeCsv(const RegisterListFilter& filter, QIODevice& device) const;
    // The rows as an HTML table for printing, under a heading and the sums.
    QString printedHtml(const RegisterListFilter& filter, const QString& heading) const;

    // The sums as one line under the table, e.g. "Genomförd: 12 st, 1 500,00 kr".
    static QString sumsText(RegisterList list, const QList<RegisterStateSum>& sums);

private:
    QString select() const;
    QString where(const RegisterListFilter& filter) const;
    QString orderBy(const RegisterListFilter& filter) const;
    void rows(const QString& sql, const RegisterListFilter& filter,
              const std::function<bool(const RegisterListRow&)>& row) const;
    QList<RegisterStateSum> keptPaymentSums(const RegisterListFilter& filter) const;
    QList<RegisterStateSum> searchedSums(const QString& sql, const RegisterListFilter& filter) const;
    bool hitsKnown(const RegisterListFilter& filter) const;

    const RegisterDatabase& m_database;
    RegisterList m_list;
    // The payments a search found, when they are few: the pages of that search then read these
    // rows alone instead of searching the register again.
    mutable RegisterListFilter m_hitsFilter;
    mutable QByteArray m_hits; // a JSON array of the payments' numbers; empty when not known
};
