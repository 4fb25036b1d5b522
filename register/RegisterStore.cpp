#include "register/RegisterStore.h"

#include "register/PaymentDays.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterStates.h"
#include "register/RegisterText.h"

#include <QSet>
#include <QVariant>

namespace {

// A payment day moves at most a few days to a banking day; the window is searched by index.
constexpr int MoveWindowDays = 10;

const char* const StateUpdateCondition =
    " WHERE %1 AND (state_date, state_file, state_line) <= (:date, :file, :line)";

// Qt binds a null QString as NULL; the register's text columns hold empty texts instead.
QString Text(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

RegisterStore::RegisterStore(RegisterDatabase& database) : m_database(database)
{
    m_fileKnown = database.prepare(QStringLiteral("SELECT 1 FROM files WHERE sha256 = ?"));
    m_addFile = database.prepare(
        QStringLiteral("INSERT INTO files (name, sha256, kind, imported_at) VALUES (?, ?, ?, ?)"));
    m_ensurePayer = database.prepare(
        QStringLiteral("INSERT INTO payers (payer, without_basis) VALUES (?, ?) ON CONFLICT (payer) DO NOTHING"));
    m_payerDetails = database.prepare(QStringLiteral(
        "UPDATE payers SET account = CASE WHEN :account = '' THEN account ELSE :account END, "
        "identity = CASE WHEN :identity = '' THEN identity ELSE :identity END WHERE payer = :payer"));
    m_answerBy = database.prepare(QStringLiteral("UPDATE payers SET answer_by = ? WHERE payer = ?"));
    m_mandateState = database.prepare(QStringLiteral("SELECT state FROM payers WHERE payer = ?"));
    m_addPayment = database.prepare(QStringLiteral(
        "INSERT INTO payments (file_id, line, payer, type, amount, reference, date, period, without_basis) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    m_match = database.prepare(QStringLiteral(
        "SELECT id, date, period, new_date FROM payments WHERE payer = ? AND date BETWEEN ? AND ? "
        "AND type = ? AND amount = ? AND reference = ? AND without_basis = 0 ORDER BY file_id DESC, date"));
    m_matchNewDate = database.prepare(QStringLiteral(
        "SELECT id FROM payments WHERE payer = ? AND new_date = ? AND type = ? AND amount = ? "
        "AND reference = ? AND without_basis = 0 ORDER BY file_id DESC, date"));
    m_addEvent = database.prepare(QStringLiteral(
        "INSERT INTO events (file_id, line, payer, payment_id, bank_date, state, code, meaning, new_date) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QString set = QStringLiteral("UPDATE %1 SET state = :state, code = :code, meaning = :meaning, "
                                       "state_date = :date, state_file = :file, state_line = :line");
    m_payerState = database.prepare(set.arg(QStringLiteral("payers")) +
                                    QString::fromLatin1(StateUpdateCondition).arg(QStringLiteral("payer = :payer")));
    m_paymentState = database.prepare(
        set.arg(QStringLiteral("payments")) +
        QStringLiteral(", new_date = CASE WHEN :newDate = '' THEN new_date ELSE :newDate END") +
        QString::fromLatin1(StateUpdateCondition).arg(QStringLiteral("id = :id")));
}

bool RegisterStore::fileKnown(const QString& sha256)
{
    m_fileKnown.addBindValue(Text(sha256));
    m_database.run(m_fileKnown);
    const bool known = m_fileKnown.next();
    m_fileKnown.finish();
    return known;
}

qint64 RegisterStore::addFile(const QString& name, const QString& sha256, const QString& kind,
                              const QString& importedAt)
{
    for (const QString& value : {name, sha256, kind, importedAt})
        m_addFile.addBindValue(Text(value));
    m_database.run(m_addFile);
    return m_addFile.lastInsertId().toLongLong();
}

void RegisterStore::ensurePayer(const QString& payer, bool withoutBasis)
{
    m_ensurePayer.addBindValue(Text(payer));
    m_ensurePayer.addBindValue(withoutBasis ? 1 : 0);
    m_database.run(m_ensurePayer);
}

void RegisterStore::setPayerDetails(const QString& payer, const QString& account, const QString& identity)
{
    m_payerDetails.bindValue(QStringLiteral(":account"), Text(account));
    m_payerDetails.bindValue(QStringLiteral(":identity"), Text(identity));
    m_payerDetails.bindValue(QStringLiteral(":payer"), Text(payer));
    m_database.run(m_payerDetails);
}

void RegisterStore::setAnswerBy(const QString& payer, const QString& date)
{
    m_answerBy.addBindValue(Text(date));
    m_answerBy.addBindValue(Text(payer));
    m_database.run(m_answerBy);
}

QString RegisterStore::mandateState(const QString& payer)
{
    m_mandateState.addBindValue(Text(payer));
    m_database.run(m_mandateState);
    const QString state = m_mandateState.next() ? m_mandateState.value(0).toString() : QString();
    m_mandateState.finish();
    return state;
}

qint64 RegisterStore::addPayment(const NewPayment& payment)
{
    m_addPayment.addBindValue(payment.fileId);
    m_addPayment.addBindValue(payment.line);
    m_addPayment.addBindValue(Text(payment.payer));
    m_addPayment.addBindValue(Text(payment.type));
    m_addPayment.addBindValue(payment.amount);
    m_addPayment.addBindValue(Text(referenceKey(payment.reference)));
    m_addPayment.addBindValue(RegisterText::dateText(payment.date));
    m_addPayment.addBindValue(QString(payment.period));
    m_addPayment.addBindValue(payment.withoutBasis ? 1 : 0);
    m_database.run(m_addPayment);
    return m_addPayment.lastInsertId().toLongLong();
}

bool RegisterStore::onPaymentDay(const QString& date, const QString& period, const QString& newDate,
                                 const QDate& day) const
{
    const QString dayText = RegisterText::dateText(day);
    if (date == dayText || newDate == dayText)
        return true;
    const QChar periodCode = period.isEmpty() ? QLatin1Char('0') : period[0];
    return PaymentDays::paidOn(RegisterText::fromDateText(date), periodCode) == day;
}

QString RegisterStore::matchKey(const QString& payer, const QString& type, qint64 amount,
                                const QString& referenceKey)
{
    return payer + QLatin1Char('\x1f') + type + QLatin1Char('\x1f') + QString::number(amount) + QLatin1Char('\x1f') +
           referenceKey;
}

void RegisterStore::preloadPayments(const QDate& from, const QDate& to, qint64 limit)
{
    m_preloaded.clear();
    m_preloadedFrom = m_preloadedTo = QDate();
    const QString first = RegisterText::dateText(from.addDays(-MoveWindowDays));
    const QString last = RegisterText::dateText(to.addDays(MoveWindowDays));
    QSqlQuery count = m_database.prepare(QStringLiteral("SELECT count(*) FROM payments WHERE date BETWEEN ? AND ?"));
    count.addBindValue(first);
    count.addBindValue(last);
    m_database.run(count);
    if (!count.next() || count.value(0).toLongLong() > limit)
        return;
    QSqlQuery query = m_database.prepare(QStringLiteral(
        "SELECT id, payer, type, amount, reference, date, period, new_date FROM payments WHERE date BETWEEN ? AND ? "
        "AND without_basis = 0 ORDER BY file_id DESC, date"));
    query.addBindValue(first);
    query.addBindValue(last);
    m_database.run(query);
    while (query.next()) {
        const QString key = matchKey(query.value(1).toString(), query.value(2).toString(), query.value(3).toLongLong(),
                                     query.value(4).toString());
        m_preloaded[key].append({query.value(0).toLongLong(), query.value(5).toString(), query.value(6).toString(),
                                 query.value(7).toString()});
    }
    m_preloadedFrom = from;
    m_preloadedTo = to;
}

QList<qint64> RegisterStore::matchPayment(const QString& payer, const QString& type, qint64 amount,
                                          const QString& reference, const QDate& day)
{
    QList<qint64> found;
    if (!day.isValid())
        return found;
    const QString key = referenceKey(reference);
    if (m_preloadedFrom.isValid() && day >= m_preloadedFrom && day <= m_preloadedTo) {
        for (const Candidate& candidate : m_preloaded.value(matchKey(payer, type, amount, key))) {
            if (onPaymentDay(candidate.date, candidate.period, candidate.newDate, day))
                found.append(candidate.id);
        }
        if (!found.isEmpty())
            return found;
    }
    m_match.addBindValue(Text(payer));
    m_match.addBindValue(RegisterText::dateText(day.addDays(-MoveWindowDays)));
    m_match.addBindValue(RegisterText::dateText(day.addDays(MoveWindowDays)));
    m_match.addBindValue(Text(type));
    m_match.addBindValue(amount);
    m_match.addBindValue(Text(key));
    m_database.run(m_match);
    while (m_match.next()) {
        if (onPaymentDay(m_match.value(1).toString(), m_match.value(2).toString(), m_match.value(3).toString(),
                         day))
            found.append(m_match.value(0).toLongLong());
    }
    m_match.finish();
    if (!found.isEmpty())
        return found;
    for (const QVariant& value : {QVariant(Text(payer)), QVariant(RegisterText::dateText(day)), QVariant(Text(type)),
                                  QVariant(amount), QVariant(Text(key))})
        m_matchNewDate.addBindValue(value);
    m_database.run(m_matchNewDate);
    while (m_matchNewDate.next())
        found.append(m_matchNewDate.value(0).toLongLong());
    m_matchNewDate.finish();
    return found;
}

QList<qint64> RegisterStore::openPayments(const QString& payer, const QDate& day)
{
    QString sql = QStringLiteral("SELECT id, date, period, new_date FROM payments WHERE without_basis = 0 "
                                 "AND state IN ('%1', '%2', '%3')")
                      .arg(RegisterStates::openPaymentStates().join(QStringLiteral("', '")));
    if (!payer.isEmpty())
        sql += QStringLiteral(" AND payer = :payer");
    if (day.isValid())
        sql += QStringLiteral(" AND ((date BETWEEN :from AND :to) OR new_date = :day)");
    QSqlQuery query = m_database.prepare(sql);
    if (!payer.isEmpty())
        query.bindValue(QStringLiteral(":payer"), Text(payer));
    if (day.isValid()) {
        query.bindValue(QStringLiteral(":from"), RegisterText::dateText(day.addDays(-MoveWindowDays)));
        query.bindValue(QStringLiteral(":to"), RegisterText::dateText(day.addDays(MoveWindowDays)));
        query.bindValue(QStringLiteral(":day"), RegisterText::dateText(day));
    }
    m_database.run(query);
    QList<qint64> found;
    while (query.next()) {
        if (!day.isValid() ||
            onPaymentDay(query.value(1).toString(), query.value(2).toString(), query.value(3).toString(), day))
            found.append(query.value(0).toLongLong());
    }
    return found;
}

QStringList RegisterStore::standingMandatesExcept(const QSet<QString>& listed)
{
    QSqlQuery query = m_database.prepare(QStringLiteral("SELECT payer FROM payers WHERE state IN (?, ?, ?)"));
    query.addBindValue(RegisterStates::mandateSent());
    query.addBindValue(RegisterStates::mandateApproved());
    query.addBindValue(RegisterStates::mandateUnderEnquiry());
    m_database.run(query);
    QStringList missing;
    while (query.next()) {
        const QString payer = query.value(0).toString();
        if (!listed.contains(payer))
            missing.append(payer);
    }
    return missing;
}

void RegisterStore::apply(const RegisterEvent& event)
{
    m_addEvent.addBindValue(event.fileId);
    m_addEvent.addBindValue(event.line);
    m_addEvent.addBindValue(Text(event.payer));
    m_addEvent.addBindValue(event.paymentId ? QVariant(event.paymentId) : QVariant());
    m_addEvent.addBindValue(Text(event.bankDate));
    m_addEvent.addBindValue(Text(event.state));
    m_addEvent.addBindValue(Text(event.code));
    m_addEvent.addBindValue(Text(event.meaning));
    m_addEvent.addBindValue(Text(event.newDate));
    m_database.run(m_addEvent);
    if (event.state.isEmpty())
        return;
    QSqlQuery& update = event.paymentId ? m_paymentState : m_payerState;
    update.bindValue(QStringLiteral(":state"), Text(event.state));
    update.bindValue(QStringLiteral(":code"), Text(event.code));
    update.bindValue(QStringLiteral(":meaning"), Text(event.meaning));
    update.bindValue(QStringLiteral(":date"), Text(event.bankDate));
    update.bindValue(QStringLiteral(":file"), event.fileId);
    update.bindValue(QStringLiteral(":line"), event.line);
    if (event.paymentId) {
        update.bindValue(QStringLiteral(":newDate"), Text(event.newDate));
        update.bindValue(QStringLiteral(":id"), event.paymentId);
    } else {
        update.bindValue(QStringLiteral(":payer"), Text(event.payer));
    }
    m_database.run(update);
}

QString RegisterStore::referenceKey(const QString& reference)
{
    QString key = reference.trimmed();
    qsizetype zeros = 0;
    while (zeros < key.size() && key[zeros] == QLatin1Char('0'))
        ++zeros;
    return key.mid(zeros);
}
