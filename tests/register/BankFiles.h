#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

// Order files and the bank's reports in the new layout, built record by record at the positions
// the bank's manual gives, with totals records that agree with their items.
namespace BankFiles {

inline const QString Bankgiro = QStringLiteral("9912346");
inline const QString Customer = QStringLiteral("471117");

class Record
{
public:
    explicit Record(const char* code) : m_line(80, QLatin1Char(' ')) { put(1, QString::fromLatin1(code)); }
    Record& put(int position, QStringView text)
    {
        m_line.replace(position - 1, text.size(), text.toString());
        return *this;
    }
    Record& put(int position, const char* text) { return put(position, QString::fromUtf8(text)); }
    Record& number(int from, int to, qint64 value)
    {
        return put(from, QString::number(value).rightJustified(to - from + 1, QLatin1Char('0')));
    }
    Record& digits(int from, int to, const QString& value)
    {
        return put(from, value.rightJustified(to - from + 1, QLatin1Char('0')));
    }
    Record& date(int from, const QDate& day) { return put(from, day.toString(QStringLiteral("yyyyMMdd"))); }
    const QString& text() const { return m_line; }

private:
    QString m_line;
};

inline QByteArray Join(const QList<Record>& records)
{
    QByteArray bytes;
    for (const Record& record : records)
        bytes += record.text().toLatin1() + "\r\n";
    return bytes;
}

inline Record OrderOpening(const QDate& day, const QString& bankgiro = Bankgiro)
{
    return Record("01").date(3, day).put(11, "AUTOGIRO").digits(63, 68, Customer).digits(69, 78, bankgiro);
}

inline Record NewMandate(const QString& payer, const QString& account, const QString& identity)
{
    return Record("04").digits(3, 12, Bankgiro).digits(13, 28, payer).digits(29, 44, account).put(45, identity);
}

struct Order
{
    QString payer;
    const char* type;
    qint64 amount;
    QString reference;
    QDate date;
    char period = '0';
    int count = 0;
};

inline Record PaymentOrder(const Order& order)
{
    Record record(order.type);
    record.date(3, order.date).put(11, QString(QLatin1Char(order.period)));
    if (order.count > 0)
        record.number(12, 14, order.count);
    return record.digits(16, 31, order.payer).number(32, 43, order.amount).digits(44, 53, Bankgiro).put(54, order.reference);
}

inline Record ReportOpening(const QDate& day, const char* content)
{
    return Record("01").put(3, "AUTOGIRO").date(25, day).put(45, QString::fromUtf8(content))
        .digits(65, 70, Customer).digits(71, 80, Bankgiro);
}

inline Record Totals(const QDate& day)
{
    return Record("09").date(3, day).put(11, "9900");
}

struct Advice
{
    QString payer;
    const char* information;
    const char* comment;
};

inline QByteArray MandateAdvice(const QDate& day, const QList<Advice>& items)
{
    QList<Record> records = {ReportOpening(day, "AG-MEDAVI")};
    for (const Advice& advice : items)
        records.append(Record("73").digits(3, 12, Bankgiro).digits(13, 28, advice.payer)
                           .put(62, advice.information).put(64, advice.comment).date(66, day));
    records.append(Totals(day).number(15, 21, items.size()));
    return Join(records);
}

struct Paid
{
    Order order;
    char status; // '0' paid, '1', '2' not paid, '9' new attempt
};

inline QByteArray PaymentSpecification(const QDate& day, const QList<Paid>& items)
{
    qint64 sum = 0;
    int paid = 0;
    QList<Record> payments;
    for (const Paid& item : items) {
        payments.append(Record("82").date(3, item.order.date).digits(16, 31, item.order.payer)
                            .number(32, 43, item.order.amount).digits(44, 53, Bankgiro)
                            .put(54, item.order.reference).put(80, QString(QLatin1Char(item.status))));
        if (item.status == '0') {
            sum += item.order.amount;
            ++paid;
        }
    }
    QList<Record> records = {ReportOpening(day, "BET. SPEC & STOPP TK"),
                             Record("15").digits(3, 37, QStringLiteral("1")).date(38, day).number(46, 50, 1)
                                 .number(51, 68, sum).number(72, 79, paid)};
    records.append(payments);
    records.append(Totals(day).number(15, 20, 1).number(21, 32, paid).number(33, 68, 0));
    return Join(records);
}

struct Rejection
{
    Order order;
    const char* comment;
};

inline QByteArray RejectedPayments(const QDate& day, const QList<Rejection>& items)
{
    QList<Record> records = {ReportOpening(day, "AVVISADE BET UPPDR")};
    qint64 debits = 0, credits = 0;
    int debitCount = 0, creditCount = 0;
    for (const Rejection& item : items) {
        const bool credit = QLatin1String(item.order.type) == QLatin1String("32");
        (credit ? credits : debits) += item.order.amount;
        ++(credit ? creditCount : debitCount);
        records.append(Record(item.order.type).date(3, item.order.date).digits(15, 30, item.order.payer)
                           .number(31, 42, item.order.amount).put(43, item.order.reference).put(59, item.comment));
    }
    records.append(Totals(day).number(15, 20, creditCount).number(21, 32, credits).number(33, 38, debitCount)
                       .number(39, 50, debits));
    return Join(records);
}

struct Change
{
    const char* record; // "23".."29"
    Order order;
    QDate newDate;
    const char* comment;
};

inline QByteArray CancellationsAndChanges(const QDate& day, const QList<Change>& items)
{
    QList<Record> records = {ReportOpening(day, "MAKULERING/ÄNDRING")};
    qint64 debits = 0;
    int debitCount = 0;
    for (const Change& item : items) {
        Record record(item.record);
        record.date(3, item.order.date).digits(11, 26, item.order.payer).put(27, item.order.type)
            .number(29, 40, item.order.amount).put(41, "00000000").put(49, "00000000")
            .put(57, item.order.reference).put(73, item.comment);
        if (item.newDate.isValid())
            record.date(49, item.newDate);
        const QString comment = QLatin1String(item.comment);
        if (comment == QLatin1String("12") || comment == QLatin1String("14")) {
            debits += item.order.amount;
            ++debitCount;
        }
        records.append(record);
    }
    records.append(Totals(day).number(29, 46, 0).number(47, 52, debitCount).number(53, 68, debits));
    return Join(records);
}

struct Entry
{
    QString payer;
    char status; // '1' approved, '2' under enquiry
};

inline QByteArray MandateRegisterExtract(const QList<Entry>& entries)
{
    QList<Record> records;
    for (const Entry& entry : entries)
        records.append(Record("00").digits(1, 10, Bankgiro).put(11, "196803050000").digits(23, 38, entry.payer)
                           .put(39, "1").put(40, "25").put(42, "20250110").put(50, "20250114")
                           .put(58, QString(QLatin1Char(entry.status))).digits(65, 80, QStringLiteral("33001212121212")));
    return Join(records);
}

} // namespace BankFiles
