#pragma once

#include <QByteArrayView>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;
class RegisterDatabase;

// A statement run straight through SQLite on the register's own connection, for the statements
// that run once per item of a large import or per row of a long list: Qt SQL's values and
// bindings cost more there than the database does. Parameters are numbered from 1, columns from 0.
// Failures are thrown as RegisterError, worded as the database's others.
class SqliteStatement
{
public:
    SqliteStatement(const RegisterDatabase& database, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& bind(int index, qint64 value);
    SqliteStatement& bind(int index, const QString& value);
    SqliteStatement& bindNull(int index);

    // True while a row is ready; false when the statement is done.
    bool step();
    // Runs a statement that returns no rows, and makes it ready for the next run.
    void run();
    // Makes the statement ready for new values.
    void reset();

    qint64 integer(int column) const;
    QString text(int column) const;
    // The column's text in UTF-8 as SQLite keeps it, valid until the next step or reset.
    QByteArrayView utf8(int column) const;
    qint64 lastInsertId() const;
    // The rows the last insert, update or delete on the connection changed.
    int changes() const;

private:
    [[noreturn]] void fail(int code) const;

    const RegisterDatabase& m_database;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
};
