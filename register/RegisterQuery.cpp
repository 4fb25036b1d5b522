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
    // Straight through SQLite: a list of a million rows costs its values, not Qt's for each.
    const QString sql =
        QStringLiteral("SELECT id, payer, type, date, new_date, amount, reference, state, code, meaning, "
                       "without_basis, CASE WHEN state_file = 0 THEN file_id ELSE state_file END, "
                       "CASE WHEN state_file = 0 THEN line ELSE state_line END FROM payments") +
        PaymentConditions(filter) + QStringLiteral(" ORDER BY date, id") + Limits(filter.offset, filter.limit);
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
    RegisterPaymentRow row;
    while (query.step()) {
        row.id = query.integer(0);
        row.payer = query.text(1);
        row.type = query.text(2);
        row.date = query.text(3);
        row.newDate = query.text(4);
        row.amount = query.integer(5);
        row.reference = query.text(6);
        row.state = query.text(7);
        row.code = query.text(8);
        row.meaning = query.text(9);
        row.withoutBasis = query.integer(10) != 0;
        row.file = fileName(query.integer(11));
        row.line = int(query.integer(12));
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
