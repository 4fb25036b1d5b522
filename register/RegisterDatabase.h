#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <optional>

struct sqlite3;

// The payee a register belongs to: digits only, without leading zeros.
struct RegisterPayee
{
    QString bankgiro;
    QString customerNumber;
};

// One SQLite file holding the register, opened through Qt SQL. Opening checks that the file is a
// register of this program (or new or empty), refuses a foreign or damaged file without writing to
// it, and brings an older schema up to date after copying the file aside. Writes are made in
// transactions that wait for a lock held by another process for a few seconds, then give up with a
// Swedish message. Every failure is thrown as a RegisterError.
class RegisterDatabase
{
public:
    static constexpr int SchemaVersion = 3;
    static constexpr int DefaultBusyTimeoutMs = 5000;

    explicit RegisterDatabase(const QString& path, int busyTimeoutMs = DefaultBusyTimeoutMs);
    ~RegisterDatabase();
    RegisterDatabase(const RegisterDatabase&) = delete;
    RegisterDatabase& operator=(const RegisterDatabase&) = delete;

    // register.sqlite in the user's application data folder.
    static QString defaultPath();

    const QString& path() const { return m_path; }

    // A statement ready to run; throws when it cannot be prepared.
    QSqlQuery prepare(const QString& sql) const;
    // Runs a prepared statement; throws with the database's failure in Swedish.
    void run(QSqlQuery& query) const;
    void run(const QString& sql) const;

    // BEGIN IMMEDIATE: the write lock is taken at once, so a busy database is found before anything
    // is read or written.
    void beginWrite();
    void commit();
    void rollback();

    std::optional<RegisterPayee> payee() const;
    void setPayee(const RegisterPayee& payee);

    // The Swedish sentence for a failure of the database.
    QString failureMessage(const QSqlError& error) const;
    QString failureMessage(int sqliteCode, const QString& text) const;
    // The connection's SQLite handle, for SqliteStatement.
    sqlite3* handle() const;

private:
    void refuseForeignFile() const;
    void open(int busyTimeoutMs);
    void checkIdentity();
    void migrate(int fromVersion);
    void copyAside(int fromVersion);
    [[noreturn]] void fail(const QSqlError& error) const;
    QString notRegisterMessage() const;

    QString m_path;
    QString m_connection;
    QSqlDatabase m_db;
};
