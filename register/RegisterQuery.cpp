#include "register/RegisterQuery.h"

#include "register/RegisterDatabase.h"
#include "register/RegisterText.h"
#include "register/SqliteStatement.h"

#include <QVariant>

namespace {

QString Limits(int offset, int limit)
{
    return QStringLiteral(" LIMIT %1 OFFSET %2").arg(limit).arg(offset);
}

QString PaymentConditions(const PaymentFilter& filter)
{
    QStringList conditions;
    if (!filter.state.isEmpty())
        conditions.append(QStringLiteral("state = ?"));
    if (!filter.payer.isEmpty())
        conditions.append(QStringLiteral("payer = ?"));
    if (filter.from.isValid())
        conditions.append(QStringLiteral("date >= ?"));
    if (filter.to.isValid())
        conditions.append(QStringLiteral("date <= ?"));
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

void BindPaymentFilter(QSqlQuery& query, const PaymentFilter& filter)
{
    if (!filter.state.isEmpty())
        query.addBindValue(filter.state);
    if (!filter.payer.isEmpty())
        query.addBindValue(RegisterText::digits(filter.payer));
    if (filter.from.isValid())
        query.addBindValue(RegisterText::dateText(filter.from));
    if (filter.to.isValid())
        query.addBindValue(RegisterText::dateText(filter.to));
}

} // namespace

RegisterQuery::RegisterQuery(const RegisterDatabase& database) : m_database(database) {}

QString RegisterQuery::fileName(qint64 id) const
{
    return QString::fromUtf8(fileNameBytes(id));
}

const QByteArray& RegisterQuery::fileNameBytes(qint64 id) const
{
    const auto known = m_fileNames.constFind(id);
    if (known != m_fileNames.constEnd())
        return *known;
    QByteArray name;
    if (id != 0) {
        SqliteStatement query(m_database, "SELECT name FROM files WHERE id = ?1");
        query.bind(1, id);
        if (query.step())
            name = query.utf8(0).toByteArray();
    }
    return *m_fileNames.insert(id, name);
}

void RegisterQuery::payers(const PayerFilter& filter, const std::function<bool(const RegisterPayerRow&)>& each) const
{
    QString sql = QStringLiteral("SELECT payer, account, identity, state, code, meaning, answer_by, without_basis, "
                                 "state_file, state_line FROM payers");
    if (!filter.state.isEmpty())
        sql += QStringLiteral(" WHERE state = :state");
    sql += QStringLiteral(" ORDER BY length(payer), payer") + Limits(filter.offset, filter.limit);
    QSqlQuery query = m_database.prepare(sql);
    if (!filter.state.isEmpty())
        query.bindValue(QStringLiteral(":state"), filter.state);
    m_database.run(query);
    RegisterPayerRow row;
    while (query.next()) {
        row.payer = query.value(0).toString();
        row.account = query.value(1).toString();
        row.identity = query.value(2).toString();
        row.state = query.value(3).toString();
        row.code = query.value(4).toString();
        row.meaning = query.value(5).toString();
        row.answerBy = query.value(6).toString();
        row.withoutBasis = query.value(7).toInt() != 0;
        row.file = fileName(query.value(8).toLongLong());
        row.line = query.value(9).toInt();
        if (!each(row))
            break;
    }
}

void RegisterQuery::payments(const PaymentFilter& filter,
                             const std::function<bool(const RegisterPaymentRow&)>& each) const
{
    RegisterPaymentRow row;
    paymentBytes(filter, [&](const RegisterPaymentBytes& bytes) {
        row.id = bytes.id;
        row.payer = QString::fromUtf8(bytes.payer);
        row.type = QString::fromUtf8(bytes.type);
        row.date = QString::fromUtf8(bytes.date);
        row.newDate = QString::fromUtf8(bytes.newDate);
        row.amount = bytes.amount;
        row.reference = QString::fromUtf8(bytes.reference);
        row.state = QString::fromUtf8(bytes.state);
        row.code = QString::fromUtf8(bytes.code);
        row.meaning = QString::fromUtf8(bytes.meaning);
        row.withoutBasis = bytes.withoutBasis;
        row.file = QString::fromUtf8(bytes.file);
        row.line = bytes.line;
        return each(row);
    });
}

void RegisterQuery::paymentBytes(const PaymentFilter& filter,
                                 const std::function<bool(const RegisterPaymentBytes&)>& each) const
{
    // Straight through SQLite: a list of a million rows costs its values, not Qt's for each.
    const QString sql = QStringLiteral("SELECT id, payer, type, date, new_date, amount, reference, state, code, "
                                       "meaning, without_basis, file_id, line, state_file, state_line FROM payments") +
                        PaymentConditions(filter) + QStringLiteral(" ORDER BY date, id") +
                        Limits(filter.offset, filter.limit);
    SqliteStatement query(m_database, sql.toUtf8().constData());
    int parameter = 0;
    if (!filter.state.isEmpty())
        query.bind(++parameter, filter.state);
    if (!filter.payer.isEmpty())
        query.bind(++parameter, RegisterText::digits(filter.payer));
    if (filter.from.isValid())
        query.bind(++parameter, RegisterText::dateText(filter.from));
    if (filter.to.isValid())
        query.bind(++parameter, RegisterText::dateText(filter.to));
    RegisterPaymentBytes row;
    while (query.step()) {
        row.id = query.integer(0);
        row.payer = query.utf8(1);
        row.type = query.utf8(2);
        row.date = query.utf8(3);
        row.newDate = query.utf8(4);
        row.amount = query.integer(5);
        row.reference = query.utf8(6);
        row.state = query.utf8(7);
        row.code = query.utf8(8);
        row.meaning = query.utf8(9);
        row.withoutBasis = query.integer(10) != 0;
        // The source of the state, or the delivery while nothing has answered it.
        const qint64 stateFile = query.integer(13);
        row.file = fileNameBytes(stateFile == 0 ? query.integer(11) : stateFile);
        row.line = int(stateFile == 0 ? query.integer(12) : query.integer(14));
        if (!each(row))
            break;
    }
}

qint64 RegisterQuery::paymentCount(const PaymentFilter& filter) const
{
    QSqlQuery query =
        m_database.prepare(QStringLiteral("SELECT count(*) FROM payments") + PaymentConditions(filter));
    BindPaymentFilter(query, filter);
    m_database.run(query);
    return query.next() ? query.value(0).toLongLong() : 0;
}

void RegisterQuery::history(const QString& payer, const std::function<bool(const RegisterHistoryRow&)>& each) const
{
    QSqlQuery query = m_database.prepare(QStringLiteral(
        "SELECT e.bank_date, e.payment_id, p.date, p.type, p.amount, e.state, e.code, e.meaning, e.new_date, "
        "f.name, e.line, f.imported_at FROM events e JOIN files f ON f.id = e.file_id "
        "LEFT JOIN payments p ON p.id = e.payment_id WHERE e.payer = ? ORDER BY e.bank_date, e.file_id, e.line, e.id"));
    query.addBindValue(RegisterText::digits(payer));
    m_database.run(query);
    RegisterHistoryRow row;
    while (query.next()) {
        row.bankDate = query.value(0).toString();
        row.payment = !query.value(1).isNull();
        row.paymentDate = query.value(2).toString();
        row.type = query.value(3).toString();
        row.amount = query.value(4).toLongLong();
        row.state = query.value(5).toString();
        row.code = query.value(6).toString();
        row.meaning = query.value(7).toString();
        row.newDate = query.value(8).toString();
        row.file = query.value(9).toString();
        row.line = query.value(10).toInt();
        row.importedAt = query.value(11).toString();
        if (!each(row))
            break;
    }
}
