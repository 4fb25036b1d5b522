#include "register/SqliteStatement.h"

#include "register/RegisterDatabase.h"
#include "register/RegisterError.h"

#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

SqliteStatement::SqliteStatement(const RegisterDatabase& database, const char* sql)
    : m_database(database), m_db(database.handle())
{
    const int code = sqlite3_prepare_v2(m_db, sql, -1, &m_statement, nullptr);
    if (code != SQLITE_OK)
        fail(code);
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement& SqliteStatement::bind(int index, qint64 value)
{
    sqlite3_bind_int64(m_statement, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const QString& value)
{
    // A null text is stored as an empty one, never as NULL.
    if (value.isEmpty())
        sqlite3_bind_text16(m_statement, index, u"", 0, SQLITE_STATIC);
    else {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index)
{
    sqlite3_bind_null(m_statement, index);
    return *this;
}

bool SqliteStatement::step()
{
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    sqlite3_reset(m_statement);
    fail(code);
}

void SqliteStatement::run()
{
    while (step()) {
    }
    reset();
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QString SqliteStatement::text(int column) const
{
    // The register stores UTF-8: reading it as such spares SQLite a conversion and an allocation.
    const QByteArrayView bytes = utf8(column);
    return bytes.isEmpty() ? QString() : QString::fromUtf8(bytes);
}

QByteArrayView SqliteStatement::utf8(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return data ? QByteArrayView(data, sqlite3_column_bytes(m_statement, column)) : QByteArrayView();
}

qint64 SqliteStatement::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int SqliteStatement::changes() const
{
    return sqlite3_changes(m_db);
}

void SqliteStatement::fail(int code) const
{
    throw RegisterError(RegisterError::Kind::Unusable,
                        m_database.failureMessage(code & 0xff, QString::fromUtf8(sqlite3_errmsg(m_db))));
}
