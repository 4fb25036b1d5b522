#include "register/RegisterSchema.h"

namespace RegisterSchema {

namespace {

// Facts are kept as events with their source; mandates (one per payer number) and payments keep
// the state derived from their events, with the order key (bank date, file, line) of the event
// that set it, so that a later import compares one row instead of replaying the history.
QStringList versionOne()
{
    return {
        QStringLiteral("CREATE TABLE payee (id INTEGER PRIMARY KEY CHECK (id = 1), bankgiro TEXT NOT NULL, "
                       "customer TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE files (id INTEGER PRIMARY KEY, name TEXT NOT NULL, sha256 TEXT NOT NULL "
                       "UNIQUE, kind TEXT NOT NULL, imported_at TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE payers (id INTEGER PRIMARY KEY, payer TEXT NOT NULL UNIQUE, "
                       "account TEXT NOT NULL DEFAULT '', identity TEXT NOT NULL DEFAULT '', "
                       "answer_by TEXT NOT NULL DEFAULT '', without_basis INTEGER NOT NULL DEFAULT 0, "
                       "state TEXT NOT NULL DEFAULT '', code TEXT NOT NULL DEFAULT '', "
                       "meaning TEXT NOT NULL DEFAULT '', state_date TEXT NOT NULL DEFAULT '', "
                       "state_file INTEGER NOT NULL DEFAULT 0, state_line INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE TABLE payments (id INTEGER PRIMARY KEY, file_id INTEGER NOT NULL, "
                       "line INTEGER NOT NULL, payer TEXT NOT NULL, type TEXT NOT NULL, amount INTEGER NOT NULL, "
                       "reference TEXT NOT NULL, date TEXT NOT NULL, period TEXT NOT NULL, "
                       "new_date TEXT NOT NULL DEFAULT '', without_basis INTEGER NOT NULL DEFAULT 0, "
                       "state TEXT NOT NULL DEFAULT '', code TEXT NOT NULL DEFAULT '', "
                       "meaning TEXT NOT NULL DEFAULT '', state_date TEXT NOT NULL DEFAULT '', "
                       "state_file INTEGER NOT NULL DEFAULT 0, state_line INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE TABLE events (id INTEGER PRIMARY KEY, file_id INTEGER NOT NULL, "
                       "line INTEGER NOT NULL, payer TEXT NOT NULL, payment_id INTEGER, bank_date TEXT NOT NULL, "
                       "state TEXT NOT NULL, code TEXT NOT NULL, meaning TEXT NOT NULL, "
                       "new_date TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE INDEX payments_by_payer ON payments (payer, date)"),
        QStringLiteral("CREATE INDEX payments_by_state ON payments (state, date)"),
        QStringLiteral("CREATE INDEX payments_by_date ON payments (date)"),
        QStringLiteral("CREATE INDEX payers_by_state ON payers (state)"),
        QStringLiteral("CREATE INDEX events_by_payer ON events (payer, bank_date)"),
    };
}

// The count and amount of the payments in each state, kept by the import in the transaction that
// changes the payments, so that a window over a million payments shows its sums without counting
// them. Indexes serve the window's sorting by payer number, type, amount and reference.
QStringList versionTwo()
{
    return {
        QStringLiteral("CREATE TABLE payment_sums (state TEXT PRIMARY KEY, count INTEGER NOT NULL, "
                       "amount INTEGER NOT NULL) WITHOUT ROWID"),
        QStringLiteral("INSERT INTO payment_sums (state, count, amount) "
                       "SELECT state, count(*), sum(amount) FROM payments GROUP BY state"),
        QStringLiteral("CREATE INDEX payments_by_payer_number ON payments (length(payer), payer)"),
        QStringLiteral("CREATE INDEX payments_by_amount ON payments (amount)"),
        QStringLiteral("CREATE INDEX payments_by_type ON payments (type)"),
        QStringLiteral("CREATE INDEX payments_by_reference ON payments (reference)"),
    };
}

// The list of payments by payment day reads every column it shows from one index, in its order,
// instead of looking up each row in the table. The narrow index by payment day stays: the import's
// searches by a range of days read fewer pages there, and no change of state touches it.
QStringList versionThree()
{
    return {
        QStringLiteral("CREATE INDEX payments_listing ON payments (date, id, payer, type, new_date, amount, "
                       "reference, state, code, meaning, without_basis, file_id, line, state_file, state_line)"),
    };
}

} // namespace

const QList<QStringList>& migrationSteps()
{
    static const QList<QStringList> steps = {versionOne(), versionTwo(), versionThree()};
    return steps;
}

} // namespace RegisterSchema
