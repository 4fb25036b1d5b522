#include "register/RegisterStore.h"

#include "register/PaymentDays.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterStates.h"
#include "register/RegisterText.h"

#include <QSet>

namespace {

// A payment day moves at most a few days to a banking day; the window is searched by index.
constexpr int MoveWindowDays = 10;

// The state of a payer or payment follows an event unless a later one (bank date, file, line) set it.
#define VALMO_STATE_UPDATE(table, key)                                                                       \
    "UPDATE " table " SET state = ?1, code = ?2, meaning = ?3, state_date = ?4, state_file = ?5, "            \
    "state_line = ?6" key " AND (state_date, state_file, state_line) <= (?4, ?5, ?6)"

} // namespace

RegisterStore::RegisterStore(RegisterDatabase& database)
    : m_database(database),
      m_fileKnown(database, "SELECT 1 FROM files WHERE sha256 = ?1"),
      m_addFile(database, "INSERT INTO files (name, sha256, kind, imported_at) VALUES (?1, ?2, ?3, ?4)"),
      m_ensurePayer(database,
                    "INSERT INTO payers (payer, without_basis) VALUES (?1, ?2) ON CONFLICT (payer) DO NOTHING"),
      m_payerDetails(database, "UPDATE payers SET account = CASE WHEN ?1 = '' THEN account ELSE ?1 END, "
                               "identity = CASE WHEN ?2 = '' THEN identity ELSE ?2 END WHERE payer = ?3"),
      m_answerBy(database, "UPDATE payers SET answer_by = ?1 WHERE payer = ?2"),
      m_mandateState(database, "SELECT state FROM payers WHERE payer = ?1"),
      m_addPayment(database, "INSERT INTO payments (file_id, line, payer, type, amount, reference, date, period, "
                             "without_basis) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)"),
      m_match(database, "SELECT id, date, period, new_date FROM payments WHERE payer = ?1 AND date BETWEEN ?2 AND ?3 "
                        "AND type = ?4 AND amount = ?5 AND reference = ?6 AND without_basis = 0 "
                        "ORDER BY file_id DESC, date"),
      m_matchNewDate(database, "SELECT id FROM payments WHERE payer = ?1 AND new_date = ?2 AND type = ?3 "
                               "AND amount = ?4 AND reference = ?5 AND without_basis = 0 ORDER BY file_id DESC, date"),
      m_addEvent(database, "INSERT INTO events (file_id, line, payer, payment_id, bank_date, state, code, meaning, "
                           "new_date) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)"),
      m_payerState(database, VALMO_STATE_UPDATE("payers", " WHERE payer = ?7")),
      m_paymentState(database, VALMO_STATE_UPDATE("payments", ", new_date = CASE WHEN ?8 = '' THEN new_date "
                                                              "ELSE ?8 END WHERE id = ?7")),
      m_paymentBefore(database, "SELECT state, amount FROM payments WHERE id = ?1"),
      m_addSums(database, "INSERT INTO payment_sums (state, count, amount) VALUES (?1, ?2, ?3) ON CONFLICT (state) "
                          "DO UPDATE SET count = count + excluded.count, amount = amount + excluded.amount")
{
}

bool RegisterStore::fileKnown(const QString& sha256)
{
    m_fileKnown.bind(1, sha256);
    const bool known = m_fileKnown.step();
    m_fileKnown.reset();
    return known;
}

qint64 RegisterStore::addFile(const QString& name, const QString& sha256, const QString& kind,
                              const QString& importedAt)
{
    m_addFile.bind(1, name).bind(2, sha256).bind(3, kind).bind(4, importedAt).run();
    return m_addFile.lastInsertId();
}

void RegisterStore::ensurePayer(const QString& payer, bool withoutBasis)
{
    m_ensurePayer.bind(1, payer).bind(2, withoutBasis ? 1 : 0).run();
}

void RegisterStore::setPayerDetails(const QString& payer, const QString& account, const QString& identity)
{
    m_payerDetails.bind(1, account).bind(2, identity).bind(3, payer).run();
}

void RegisterStore::setAnswerBy(const QString& payer, const QString& date)
{
    m_answerBy.bind(1, date).bind(2, payer).run();
}

QString RegisterStore::mandateState(const QString& payer)
{
    m_mandateState.bind(1, payer);
    const QString state = m_mandateState.step() ? m_mandateState.text(0) : QString();
    m_mandateState.reset();
    return state;
}

qint64 RegisterStore::addPayment(const NewPayment& payment)
{
    m_addPayment.bind(1, payment.fileId).bind(2, payment.line).bind(3, payment.payer).bind(4, payment.type);
    m_addPayment.bind(5, payment.amount).bind(6, referenceKey(payment.reference));
    m_addPayment.bind(7, RegisterText::dateText(payment.date)).bind(8, QString(payment.period));
    m_addPayment.bind(9, payment.withoutBasis ? 1 : 0).run();
    // A new payment has no state until its first event.
    changeSum(QString(), 1, payment.amount);
    return m_addPayment.lastInsertId();
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
    SqliteStatement count(m_database, "SELECT count(*) FROM payments WHERE date BETWEEN ?1 AND ?2");
    count.bind(1, first).bind(2, last);
    if (!count.step() || count.integer(0) > limit)
        return;
    SqliteStatement query(m_database,
                          "SELECT id, payer, type, amount, reference, date, period, new_date FROM payments "
                          "WHERE date BETWEEN ?1 AND ?2 AND without_basis = 0 ORDER BY file_id DESC, date");
    query.bind(1, first).bind(2, last);
    while (query.step()) {
        const QString key = matchKey(query.text(1), query.text(2), query.integer(3), query.text(4));
        m_preloaded[key].append({query.integer(0), query.text(5), query.text(6), query.text(7)});
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
    m_match.bind(1, payer).bind(2, RegisterText::dateText(day.addDays(-MoveWindowDays)));
    m_match.bind(3, RegisterText::dateText(day.addDays(MoveWindowDays))).bind(4, type).bind(5, amount).bind(6, key);
    while (m_match.step()) {
        if (onPaymentDay(m_match.text(1), m_match.text(2), m_match.text(3), day))
            found.append(m_match.integer(0));
    }
    m_match.reset();
    if (!found.isEmpty())
        return found;
    m_matchNewDate.bind(1, payer).bind(2, RegisterText::dateText(day)).bind(3, type).bind(4, amount).bind(5, key);
    while (m_matchNewDate.step())
        found.append(m_matchNewDate.integer(0));
    m_matchNewDate.reset();
    return found;
}

QList<qint64> RegisterStore::openPayments(const QString& payer, const QDate& day)
{
    QString sql = QStringLiteral("SELECT id, date, period, new_date FROM payments WHERE without_basis = 0 "
                                 "AND state IN (?1, ?2, ?3)");
    if (!payer.isEmpty())
        sql += QStringLiteral(" AND payer = ?4");
    if (day.isValid())
        sql += QStringLiteral(" AND ((date BETWEEN ?5 AND ?6) OR new_date = ?7)");
    SqliteStatement query(m_database, sql.toUtf8().constData());
    const QStringList open = RegisterStates::openPaymentStates();
    query.bind(1, open[0]).bind(2, open[1]).bind(3, open[2]);
    if (!payer.isEmpty())
        query.bind(4, payer);
    if (day.isValid()) {
        query.bind(5, RegisterText::dateText(day.addDays(-MoveWindowDays)));
        query.bind(6, RegisterText::dateText(day.addDays(MoveWindowDays)));
        query.bind(7, RegisterText::dateText(day));
    }
    QList<qint64> found;
    while (query.step()) {
        if (!day.isValid() || onPaymentDay(query.text(1), query.text(2), query.text(3), day))
            found.append(query.integer(0));
    }
    return found;
}

QStringList RegisterStore::standingMandatesExcept(const QSet<QString>& listed)
{
    SqliteStatement query(m_database, "SELECT payer FROM payers WHERE state IN (?1, ?2, ?3)");
    query.bind(1, RegisterStates::mandateSent())
        .bind(2, RegisterStates::mandateApproved())
        .bind(3, RegisterStates::mandateUnderEnquiry());
    QStringList missing;
    while (query.step()) {
        const QString payer = query.text(0);
        if (!listed.contains(payer))
            missing.append(payer);
    }
    return missing;
}

void RegisterStore::apply(const RegisterEvent& event)
{
    m_addEvent.bind(1, event.fileId).bind(2, event.line).bind(3, event.payer);
    if (event.paymentId)
        m_addEvent.bind(4, event.paymentId);
    else
        m_addEvent.bindNull(4);
    m_addEvent.bind(5, event.bankDate).bind(6, event.state).bind(7, event.code).bind(8, event.meaning);
    m_addEvent.bind(9, event.newDate).run();
    if (event.state.isEmpty())
        return;
    if (event.paymentId) {
        applyToPayment(event);
        return;
    }
    m_payerState.bind(1, event.state).bind(2, event.code).bind(3, event.meaning).bind(4, event.bankDate);
    m_payerState.bind(5, event.fileId).bind(6, event.line).bind(7, event.payer).run();
}

void RegisterStore::applyToPayment(const RegisterEvent& event)
{
    m_paymentBefore.bind(1, event.paymentId);
    if (!m_paymentBefore.step()) {
        m_paymentBefore.reset();
        return;
    }
    const QString before = m_paymentBefore.text(0);
    const qint64 amount = m_paymentBefore.integer(1);
    m_paymentBefore.reset();
    m_paymentState.bind(1, event.state).bind(2, event.code).bind(3, event.meaning).bind(4, event.bankDate);
    m_paymentState.bind(5, event.fileId).bind(6, event.line).bind(7, event.paymentId).bind(8, event.newDate).run();
    if (m_paymentState.changes() == 1 && before != event.state) {
        changeSum(before, -1, -amount);
        changeSum(event.state, 1, amount);
    }
}

void RegisterStore::changeSum(const QString& state, qint64 count, qint64 amount)
{
    SumChange& change = m_sumChanges[state];
    change.count += count;
    change.amount += amount;
}

void RegisterStore::saveSums()
{
    for (auto it = m_sumChanges.cbegin(); it != m_sumChanges.cend(); ++it) {
        if (it->count != 0 || it->amount != 0)
            m_addSums.bind(1, it.key()).bind(2, it->count).bind(3, it->amount).run();
    }
    m_sumChanges.clear();
}

QString RegisterStore::referenceKey(const QString& reference)
{
    QString key = reference.trimmed();
    qsizetype zeros = 0;
    while (zeros < key.size() && key[zeros] == QLatin1Char('0'))
        ++zeros;
    return key.mid(zeros);
}
