#include "register/RegisterDatabase.h"

#include "register/RegisterError.h"
#include "register/RegisterSchema.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QStandardPaths>
#include <QVariant>

namespace {

// SQLite's primary result codes, as the driver gives them in nativeErrorCode().
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteIoError = 10;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteFull = 13;
constexpr int SqliteNotADatabase = 26;

QString NewConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("valmo-register-%1").arg(counter.fetchAndAddRelaxed(1));
}

int IntOf(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next())
        return -1;
    return query.value(0).toInt();
}

} // namespace

RegisterDatabase::RegisterDatabase(const QString& path, int busyTimeoutMs,
                                   const QList<QStringList>& migrationSteps)
    : m_path(path), m_connection(NewConnectionName()), m_steps(migrationSteps)
{
    refuseForeignFile();
    open(busyTimeoutMs);
    checkIdentity();
}

RegisterDatabase::~RegisterDatabase()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

// The editor's data folder, whichever program asks: valmo-cli uses the editor's register.
QString RegisterDatabase::defaultPath()
{
    const QString ownName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Lumora Valmo"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setApplicationName(ownName);
    return QDir(folder).filePath(QStringLiteral("register.sqlite"));
}

QString RegisterDatabase::notRegisterMessage() const
{
    return QStringLiteral("Filen %1 är inget register för Autogiro eller är skadad. Den lämnas orörd.")
        .arg(QDir::toNativeSeparators(m_path));
}

// A file that does not begin as an SQLite database does is never handed to the driver, which
// might otherwise write a journal beside it.
void RegisterDatabase::refuseForeignFile() const
{
    QFile file(m_path);
    if (!file.exists() || file.size() == 0)
        return;
    if (!file.open(QIODevice::ReadOnly))
        throw RegisterError(RegisterError::Kind::Unusable,
                            QStringLiteral("Registret %1 kunde inte öppnas: %2")
                                .arg(QDir::toNativeSeparators(m_path), file.errorString()));
    if (file.read(16) != QByteArray("SQLite format 3\0", 16))
        throw RegisterError(RegisterError::Kind::Unusable, notRegisterMessage());
}

void RegisterDatabase::open(int busyTimeoutMs)
{
    const QFileInfo info(m_path);
    if (!info.absoluteDir().exists() && !QDir().mkpath(info.absolutePath()))
        throw RegisterError(RegisterError::Kind::Unusable,
                            QStringLiteral("Mappen för registret %1 kunde inte skapas.")
                                .arg(QDir::toNativeSeparators(m_path)));
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    m_db.setDatabaseName(m_path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    if (!m_db.open())
        fail(m_db.lastError());
}

void RegisterDatabase::checkIdentity()
{
    const int applicationId = IntOf(m_db, QStringLiteral("PRAGMA application_id"));
    const int version = IntOf(m_db, QStringLiteral("PRAGMA user_version"));
    const int tables = IntOf(m_db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (applicationId < 0 || version < 0 || tables < 0) {
        QSqlQuery probe(m_db);
        probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        fail(probe.lastError());
    }
    const bool empty = applicationId == 0 && version == 0 && tables == 0;
    if (!empty && applicationId != RegisterSchema::ApplicationId)
        throw RegisterError(RegisterError::Kind::Unusable, notRegisterMessage());
    const int schemaVersion = int(m_steps.size());
    if (version > schemaVersion)
        throw RegisterError(RegisterError::Kind::Unusable,
                            QStringLiteral("Registret %1 är skapat av en nyare version av programmet och kan "
                                           "inte användas av den här.")
                                .arg(QDir::toNativeSeparators(m_path)));
    QSqlQuery wal(m_db);
    if (!wal.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
        fail(wal.lastError());
    wal.finish();
    run(QStringLiteral("PRAGMA synchronous=NORMAL"));
    // A page cache of a fixed 64 MB: large imports touch the indexes all over, but memory stays
    // the same however large the register grows.
    run(QStringLiteral("PRAGMA cache_size=-65536"));
    run(QStringLiteral("PRAGMA temp_store=MEMORY"));
    if (version < schemaVersion)
        migrate(version);
}

void RegisterDatabase::migrate(int fromVersion)
{
    if (fromVersion > 0)
        copyAside(fromVersion);
    beginWrite();
    try {
        // Another process may have brought the schema up to date while this one waited.
        const int current = IntOf(m_db, QStringLiteral("PRAGMA user_version"));
        for (int step = current; step < m_steps.size(); ++step) {
            for (const QString& statement : m_steps[step])
                run(statement);
        }
        run(QStringLiteral("PRAGMA application_id=%1").arg(RegisterSchema::ApplicationId));
        run(QStringLiteral("PRAGMA user_version=%1").arg(m_steps.size()));
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

// The file as it stood before the migration, beside it: register.sqlite.v1.bak.
void RegisterDatabase::copyAside(int fromVersion)
{
    run(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    const QString copy = QStringLiteral("%1.v%2.bak").arg(m_path).arg(fromVersion);
    QFile::remove(copy);
    if (!QFile::copy(m_path, copy))
        throw RegisterError(RegisterError::Kind::Unusable,
                            QStringLiteral("Registret %1 kunde inte kopieras före uppdateringen; det lämnas "
                                           "som det är.")
                                .arg(QDir::toNativeSeparators(m_path)));
}

QSqlQuery RegisterDatabase::prepare(const QString& sql) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        fail(query.lastError());
    return query;
}

void RegisterDatabase::run(QSqlQuery& query) const
{
    if (!query.exec())
        fail(query.lastError());
}

void RegisterDatabase::run(const QString& sql) const
{
    QSqlQuery query(m_db);
    if (!query.exec(sql))
        fail(query.lastError());
}

void RegisterDatabase::beginWrite()
{
    run(QStringLiteral("BEGIN IMMEDIATE"));
}

void RegisterDatabase::commit()
{
    run(QStringLiteral("COMMIT"));
}

void RegisterDatabase::rollback()
{
    QSqlQuery query(m_db);
    query.exec(QStringLiteral("ROLLBACK"));
}

std::optional<RegisterPayee> RegisterDatabase::payee() const
{
    QSqlQuery query = prepare(QStringLiteral("SELECT bankgiro, customer FROM payee WHERE id = 1"));
    run(query);
    if (!query.next())
        return std::nullopt;
    return RegisterPayee{query.value(0).toString(), query.value(1).toString()};
}

void RegisterDatabase::setPayee(const RegisterPayee& payee)
{
    QSqlQuery query =
        prepare(QStringLiteral("INSERT OR REPLACE INTO payee (id, bankgiro, customer) VALUES (1, ?, ?)"));
    query.addBindValue(payee.bankgiro);
    query.addBindValue(payee.customerNumber);
    run(query);
}

QString RegisterDatabase::failureMessage(const QSqlError& error) const
{
    return failureMessage(error.nativeErrorCode().toInt(), error.text());
}

sqlite3* RegisterDatabase::handle() const
{
    return *static_cast<sqlite3* const*>(m_db.driver()->handle().data());
}

QString RegisterDatabase::failureMessage(int sqliteCode, const QString& text) const
{
    const QString where = QDir::toNativeSeparators(m_path);
    switch (sqliteCode) {
    case SqliteBusy:
    case SqliteLocked:
        return QStringLiteral("Registret %1 används av ett annat program. Försök igen när det är klart; "
                              "ingenting har ändrats.")
            .arg(where);
    case SqliteFull:
    case SqliteIoError:
        return QStringLiteral("Registret %1 kunde inte skrivas (disken kan vara full). Ingenting av "
                              "ändringen sparades.")
            .arg(where);
    case SqliteCorrupt:
    case SqliteNotADatabase:
        return notRegisterMessage();
    default:
        return QStringLiteral("Registret %1 kunde inte användas: %2").arg(where, text);
    }
}

void RegisterDatabase::fail(const QSqlError& error) const
{
    throw RegisterError(RegisterError::Kind::Unusable, failureMessage(error));
}
