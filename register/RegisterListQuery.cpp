#include "register/RegisterListQuery.h"

#include "register/RegisterDatabase.h"
#include "register/RegisterStates.h"
#include "register/SqliteStatement.h"
#include "format/ListExport.h"
#include "rules/Extra.h"
#include "rules/Periods.h"

#include <QBuffer>
#include <QLocale>

#include <algorithm>

namespace {

// Parameter 1 is the pattern of the text filter, parameter 2 the state.
const char* const PayerSelect =
    "SELECT 0, p.payer, p.state, p.state_date, p.account, p.identity, "
    "(SELECT e.bank_date || ' ' || CASE WHEN e.state = '' THEN e.meaning ELSE e.state END FROM events e "
    "WHERE e.payer = p.payer ORDER BY e.bank_date DESC, e.id DESC LIMIT 1) AS last_event, "
    "p.answer_by, p.meaning, p.without_basis FROM payers p";
const char* const PaymentSelect =
    "SELECT p.id, p.payer, p.date, p.type, p.amount, p.reference, p.state, p.meaning, p.new_date, "
    "p.without_basis, (SELECT name FROM files WHERE id = p.file_id) AS file_name FROM payments p";

QString SortKey(RegisterList list, int column)
{
    static const QStringList payers = {
        QStringLiteral("length(p.payer) %1, p.payer %1"), QStringLiteral("p.state %1"),
        QStringLiteral("p.state_date %1"), QStringLiteral("p.account %1"), QStringLiteral("p.identity %1"),
        QStringLiteral("last_event %1"), QStringLiteral("p.answer_by %1")};
    static const QStringList payments = {
        QStringLiteral("length(p.payer) %1, p.payer %1"), QStringLiteral("p.date %1"),
        QStringLiteral("p.type %1"), QStringLiteral("p.amount %1"), QStringLiteral("p.reference %1"),
        QStringLiteral("p.state %1, p.date %1"), QStringLiteral("p.meaning %1"), QStringLiteral("file_name %1")};
    const QStringList& keys = list == RegisterList::Payers ? payers : payments;
    return keys.value(column, keys.first());
}

QString LikePattern(const QString& text)
{
    QString escaped = text.trimmed();
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

void Bind(SqliteStatement& statement, const RegisterListFilter& filter)
{
    if (!filter.text.trimmed().isEmpty())
        statement.bind(1, LikePattern(filter.text));
    if (!filter.state.isEmpty())
        statement.bind(2, filter.state);
}

QString Reason(const QString& state, const QString& meaning, const QString& newDate)
{
    if (state == RegisterStates::paymentChanged())
        return QStringLiteral("Ny betalningsdag %1").arg(newDate);
    const QStringList withReason = {RegisterStates::paymentNotDone(), RegisterStates::paymentRejected(),
                                    RegisterStates::paymentCancelled(), RegisterStates::paymentRetry()};
    return withReason.contains(state) ? meaning : QString();
}

RegisterListRow PayerRow(const SqliteStatement& query)
{
    RegisterListRow row;
    row.payer = query.text(1);
    QString state = query.text(2);
    if (state.isEmpty() && query.integer(9) != 0)
        state = RegisterStates::withoutBasis();
    const QString meaning = query.text(8);
    if (!meaning.isEmpty() && (state == RegisterStates::mandateRefused() || state == RegisterStates::mandateCancelled()))
        state += QStringLiteral(" (%1)").arg(meaning);
    row.texts = {row.payer,     state,          query.text(3), query.text(4),
                 query.text(5), query.text(6), query.text(7)};
    return row;
}

RegisterListRow PaymentRow(const SqliteStatement& query)
{
    RegisterListRow row;
    row.id = query.integer(0);
    row.payer = query.text(1);
    const QString state = query.text(6);
    const bool withoutBasis = query.integer(9) != 0;
    row.texts = {row.payer,
                 query.text(2),
                 query.text(3) == QLatin1String("32") ? CreditText() : DebitText(),
                 FormatOreAmount(query.integer(4)),
                 query.text(5),
                 state,
                 Reason(state, query.text(7), query.text(8)),
                 withoutBasis ? RegisterStates::withoutBasis() : query.text(10)};
    return row;
}

} // namespace

RegisterListQuery::RegisterListQuery(const RegisterDatabase& database, RegisterList list)
    : m_database(database), m_list(list)
{
}

QStringList RegisterListQuery::captions(RegisterList list)
{
    if (list == RegisterList::Payers)
        return {QStringLiteral("Betalarnummer"),     QStringLiteral("Medgivande"),
                QStringLiteral("Sedan"),             QStringLiteral("Konto"),
                QStringLiteral("Person-/bankgironummer"), QStringLiteral("Senaste händelse"),
                QStringLiteral("Svara senast")};
    return {QStringLiteral("Betalare"), QStringLiteral("Betalningsdag"), QStringLiteral("Typ"),
            QStringLiteral("Belopp"),   QStringLiteral("Referens"),      QStringLiteral("Tillstånd"),
            QStringLiteral("Orsak"),    QStringLiteral("Levererad i")};
}

QStringList RegisterListQuery::states(RegisterList list)
{
    return list == RegisterList::Payers ? RegisterStates::mandateStates() : RegisterStates::paymentStates();
}

QString RegisterListQuery::select() const
{
    return QString::fromLatin1(m_list == RegisterList::Payers ? PayerSelect : PaymentSelect);
}

QString RegisterListQuery::where(const RegisterListFilter& filter) const
{
    QStringList conditions;
    if (!filter.text.trimmed().isEmpty()) {
        const QStringList columns =
            m_list == RegisterList::Payers
                ? QStringList{QStringLiteral("p.payer"), QStringLiteral("p.account"), QStringLiteral("p.identity"),
                              QStringLiteral("p.meaning")}
                : QStringList{QStringLiteral("p.payer"), QStringLiteral("p.reference"), QStringLiteral("p.date"),
                              QStringLiteral("p.meaning")};
        QStringList matches;
        for (const QString& column : columns)
            matches.append(column + QStringLiteral(" LIKE ?1 ESCAPE '\\'"));
        // The delivered file's name, looked up once for the whole list rather than per row.
        if (m_list == RegisterList::Payments)
            matches.append(QStringLiteral("p.file_id IN (SELECT id FROM files WHERE name LIKE ?1 ESCAPE '\\')"));
        conditions.append(QLatin1Char('(') + matches.join(QStringLiteral(" OR ")) + QLatin1Char(')'));
    }
    if (!filter.state.isEmpty())
        conditions.append(QStringLiteral("p.state = ?2"));
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

QString RegisterListQuery::orderBy(const RegisterListFilter& filter) const
{
    const QString direction = filter.descending ? QStringLiteral("DESC") : QStringLiteral("ASC");
    return QStringLiteral(" ORDER BY ") + SortKey(m_list, filter.sortColumn).arg(direction) +
           QStringLiteral(", p.id ") + direction;
}

qint64 RegisterListQuery::count(const RegisterListFilter& filter) const
{
    if (m_list == RegisterList::Payments && filter.text.trimmed().isEmpty()) {
        qint64 total = 0;
        for (const RegisterStateSum& sum : keptPaymentSums(filter))
            total += sum.count;
        return total;
    }
    const QString table = m_list == RegisterList::Payers ? QStringLiteral("payers p") : QStringLiteral("payments p");
    SqliteStatement query(m_database,
                          (QStringLiteral("SELECT count(*) FROM ") + table + where(filter)).toUtf8().constData());
    Bind(query, filter);
    return query.step() ? query.integer(0) : 0;
}

void RegisterListQuery::rows(const QString& sql, const RegisterListFilter& filter,
                             const std::function<bool(const RegisterListRow&)>& row) const
{
    SqliteStatement query(m_database, sql.toUtf8().constData());
    Bind(query, filter);
    while (query.step()) {
        if (!row(m_list == RegisterList::Payers ? PayerRow(query) : PaymentRow(query)))
            break;
    }
}

QList<RegisterListRow> RegisterListQuery::page(const RegisterListFilter& filter, qint64 offset, int limit) const
{
    QList<RegisterListRow> result;
    result.reserve(limit);
    QString condition = where(filter);
    // The few rows a search found are read by their numbers and sorted, not searched for again.
    const bool fromHits = hitsKnown(filter);
    if (fromHits)
        condition += QStringLiteral(" AND p.id IN (SELECT value FROM json_each(?3))");
    const QString sql =
        select() + condition + orderBy(filter) + QStringLiteral(" LIMIT %1 OFFSET %2").arg(limit).arg(offset);
    SqliteStatement query(m_database, sql.toUtf8().constData());
    Bind(query, filter);
    if (fromHits)
        query.bind(3, QString::fromLatin1(m_hits));
    while (query.step())
        result.append(m_list == RegisterList::Payers ? PayerRow(query) : PaymentRow(query));
    return result;
}

void RegisterListQuery::each(const RegisterListFilter& filter,
                             const std::function<bool(const RegisterListRow&)>& row) const
{
    rows(select() + where(filter) + orderBy(filter), filter, row);
}

QList<RegisterStateSum> RegisterListQuery::sums(const RegisterListFilter& filter) const
{
    QList<RegisterStateSum> found;
    if (m_list == RegisterList::Payers) {
        SqliteStatement query(
            m_database,
            (QStringLiteral("SELECT p.state, count(*), 0 FROM payers p") + where(filter) + QStringLiteral(" GROUP BY p.state"))
                .toUtf8()
                .constData());
        Bind(query, filter);
        while (query.step())
            found.append({query.text(0), query.integer(1), query.integer(2)});
    } else if (filter.text.trimmed().isEmpty()) {
        found = keptPaymentSums(filter);
    } else {
        found = searchedSums(QStringLiteral("SELECT p.state, p.amount, p.id FROM payments p NOT INDEXED") + where(filter),
                             filter);
    }
    // In the order of the states; any other (none, or one of a later version) last.
    const QStringList known = states(m_list);
    std::stable_sort(found.begin(), found.end(), [&known](const RegisterStateSum& a, const RegisterStateSum& b) {
        const auto rank = [&known](const QString& state) {
            const qsizetype at = known.indexOf(state);
            return at < 0 ? known.size() : at;
        };
        return rank(a.state) < rank(b.state);
    });
    return found;
}

// The sums the register keeps up to date as payments change.
QList<RegisterStateSum> RegisterListQuery::keptPaymentSums(const RegisterListFilter& filter) const
{
    QString sql = QStringLiteral("SELECT state, count, amount FROM payment_sums WHERE count > 0");
    if (!filter.state.isEmpty())
        sql += QStringLiteral(" AND state = ?2");
    SqliteStatement query(m_database, sql.toUtf8().constData());
    if (!filter.state.isEmpty())
        query.bind(2, filter.state);
    QList<RegisterStateSum> found;
    while (query.step())
        found.append({query.text(0), query.integer(1), query.integer(2)});
    return found;
}

// One pass over the payments a search matches: their sums, and their numbers while they are few.
QList<RegisterStateSum> RegisterListQuery::searchedSums(const QString& sql, const RegisterListFilter& filter) const
{
    m_hits.clear();
    SqliteStatement query(m_database, sql.toUtf8().constData());
    Bind(query, filter);
    QList<RegisterStateSum> found;
    QList<QByteArray> foundStates; // the states of found, as the register spells them
    QByteArray hits = "[";
    qint64 matched = 0;
    while (query.step()) {
        qsizetype at = foundStates.indexOf(query.utf8(0));
        if (at < 0) {
            at = found.size();
            foundStates.append(query.utf8(0).toByteArray());
            found.append({query.text(0), 0, 0});
        }
        found[at].count += 1;
        found[at].amount += query.integer(1);
        if (++matched <= KeptHits) {
            if (matched > 1)
                hits += ',';
            hits += QByteArray::number(query.integer(2));
        }
    }
    if (matched <= KeptHits) {
        m_hitsFilter = filter;
        m_hits = hits + ']';
    }
    return found;
}

bool RegisterListQuery::hitsKnown(const RegisterListFilter& filter) const
{
    return m_list == RegisterList::Payments && !m_hits.isEmpty() && !filter.text.trimmed().isEmpty() &&
           filter.text == m_hitsFilter.text && filter.state == m_hitsFilter.state;
}

QString RegisterListQuery::sumsText(RegisterList list, const QList<RegisterStateSum>& sums)
{
    QStringList parts;
    const QLocale locale;
    for (const RegisterStateSum& sum : sums) {
        const QString state = sum.state.isEmpty() ? QStringLiteral("Utan medgivande") : sum.state;
        QString part = QStringLiteral("%1: %2 st").arg(state, locale.toString(sum.count));
        if (list == RegisterList::Payments)
            part += QStringLiteral(", %1 kr").arg(FormatAmount(double(sum.amount) / 100.0, locale));
        parts.append(part);
    }
    return parts.isEmpty() ? QStringLiteral("Inga rader") : parts.join(QStringLiteral(" · "));
}

QList<RegisterEventRow> RegisterListQuery::history(const RegisterListRow& row) const
{
    QString sql = QStringLiteral("SELECT e.bank_date, e.state, e.code, e.meaning, f.name, e.line FROM events e "
                                 "JOIN files f ON f.id = e.file_id WHERE e.payer = ?1");
    if (row.id != 0)
        sql += QStringLiteral(" AND e.payment_id = ?2");
    sql += QStringLiteral(" ORDER BY e.bank_date, e.file_id, e.line, e.id");
    SqliteStatement query(m_database, sql.toUtf8().constData());
    query.bind(1, row.payer);
    if (row.id != 0)
        query.bind(2, row.id);
    QList<RegisterEventRow> events;
    while (query.step()) {
        RegisterEventRow event;
        event.bankDate = query.text(0);
        event.code = query.text(2);
        event.meaning = query.text(3);
        event.what = query.text(1).isEmpty() ? event.meaning : query.text(1);
        event.file = query.text(4);
        event.line = int(query.integer(5));
        events.append(event);
    }
    return events;
}

QByteArray RegisterListQuery::csv(const RegisterListFilter& filter) const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeCsv(filter, buffer);
    return buffer.data();
}

bool RegisterListQuery::writeCsv(const RegisterListFilter& filter, QIODevice& device) const
{
    constexpr qsizetype ChunkCharacters = 1 << 15;
    bool written = device.write("\xEF\xBB\xBF") == 3;
    QString text;
    AppendCsvLine(text, captions(m_list));
    const auto flush = [&] {
        const QByteArray bytes = text.toUtf8();
        written = written && device.write(bytes) == bytes.size();
        text.clear();
        return written;
    };
    each(filter, [&](const RegisterListRow& row) {
        AppendCsvLine(text, row.texts);
        return text.size() < ChunkCharacters || flush();
    });
    return flush();
}

QString RegisterListQuery::printedHtml(const RegisterListFilter& filter, const QString& heading) const
{
    QString html = QStringLiteral("<html><body><h3>") + heading.toHtmlEscaped() + QStringLiteral("</h3><p>") +
                   sumsText(m_list, sums(filter)).toHtmlEscaped() +
                   QStringLiteral("</p><table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr>");
    for (const QString& caption : captions(m_list))
        html += QStringLiteral("<th>") + caption.toHtmlEscaped() + QStringLiteral("</th>");
    html += QStringLiteral("</tr>");
    each(filter, [&html](const RegisterListRow& row) {
        html += QStringLiteral("<tr>");
        for (const QString& text : row.texts)
            html += QStringLiteral("<td>") + text.toHtmlEscaped() + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
        return true;
    });
    return html + QStringLiteral("</table></body></html>");
}
