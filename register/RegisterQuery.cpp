#include "register/RegisterQuery.h"

#include "register/RegisterDatabase.h"
#include "register/RegisterText.h"

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
        conditions.append(QStringLiteral("state = :state"));
    if (!filter.payer.isEmpty())
        conditions.append(QStringLiteral("payer = :payer"));
    if (filter.from.isValid())
        conditions.append(QStringLiteral("date >= :from"));
    if (filter.to.isValid())
        conditions.append(QStringLiteral("date <= :to"));
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

void BindPaymentFilter(QSqlQuery& query, const PaymentFilter& filter)
{
    if (!filter.state.isEmpty())
        query.bindValue(QStringLiteral(":state"), filter.state);
    if (!filter.payer.isEmpty())
        query.bindValue(QStringLiteral(":payer"), RegisterText::digits(filter.payer));
    if (filter.from.isValid())
        query.bindValue(QStringLiteral(":from"), RegisterText::dateText(filter.from));
    if (filter.to.isValid())
        query.bindValue(QStringLiteral(":to"), RegisterText::dateText(filter.to));
}

} // namespace

RegisterQuery::RegisterQuery(const RegisterDatabase& database) : m_database(database) {}

QString RegisterQuery::fileName(qint64 id) const
{
    if (id == 0)
        return QString();
    const auto known = m_fileNames.constFind(id);
    if (known != m_fileNames.constEnd())
        return *known;
    QSqlQuery query = m_database.prepare(QStringLiteral("SELECT name FROM files WHERE id = ?"));
    query.addBindValue(id);
    m_database.run(query);
    const QString name = query.next() ? query.value(0).toString() : QString();
    m_fileNames.insert(id, name);
    return name;
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
    QSqlQuery query = m_database.prepare(
        QStringLiteral("SELECT id, payer, type, date, new_date, amount, reference, state, code, meaning, "
                       "without_basis, CASE WHEN state_file = 0 THEN file_id ELSE state_file END, CASE WHEN state_file = 0 THEN line ELSE state_line END FROM payments") +
        PaymentConditions(filter) + QStringLiteral(" ORDER BY date, id") + Limits(filter.offset, filter.limit));
    BindPaymentFilter(query, filter);
    m_database.run(query);
    RegisterPaymentRow row;
    while (query.next()) {
        row.id = query.value(0).toLongLong();
        row.payer = query.value(1).toString();
        row.type = query.value(2).toString();
        row.date = query.value(3).toString();
        row.newDate = query.value(4).toString();
        row.amount = query.value(5).toLongLong();
        row.reference = query.value(6).toString();
        row.state = query.value(7).toString();
        row.code = query.value(8).toString();
        row.meaning = query.value(9).toString();
        row.withoutBasis = query.value(10).toInt() != 0;
        row.file = fileName(query.value(11).toLongLong());
        row.line = query.value(12).toInt();
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
