#include "BankFiles.h"

#include "app/Clock.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterError.h"
#include "register/RegisterImporter.h"
#include "register/RegisterQuery.h"
#include "register/RegisterSchema.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace BankFiles;

namespace {

const QDate Day(2025, 1, 20);

QByteArray Payments(int count, const QString& reference)
{
    QList<Record> records = {OrderOpening(Day)};
    for (int i = 1; i <= count; ++i)
        records.append(PaymentOrder({QString::number(i), "82", 10000 + i, reference, Day}));
    return Join(records);
}

bool Opens(const QString& path)
{
    try {
        RegisterDatabase database(path);
        return true;
    } catch (const RegisterError&) {
        return false;
    }
}

qint64 PaymentCount(RegisterDatabase& database)
{
    return RegisterQuery(database).paymentCount({});
}

class RegisterFaults : public ::testing::Test
{
protected:
    QString path() const { return m_folder.filePath(QStringLiteral("register.sqlite")); }
    QTemporaryDir m_folder;
    FixedClock m_clock{Day};
};

TEST_F(RegisterFaults, ForeignOrDamagedFileIsRefusedAndLeftAlone)
{
    QByteArray registerBytes;
    {
        RegisterDatabase database(path());
        RegisterImporter(database, m_clock).deliver(Payments(3, QStringLiteral("A")), QStringLiteral("a.ag"));
        database.run(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    registerBytes = ReadFileBytes(path());
    QByteArray damaged = registerBytes;
    damaged.replace(100, 4000, QByteArray(4000, '\xff'));

    const QString foreignDatabase = m_folder.filePath(QStringLiteral("annan.sqlite"));
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(foreignDatabase);
        ASSERT_TRUE(other.open());
        QSqlQuery(other).exec(QStringLiteral("CREATE TABLE kunder (namn TEXT)"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));

    const struct
    {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"a text file", QByteArray("Kära dagbok\r\n")},
        {"another program's database", ReadFileBytes(foreignDatabase)},
        {"a register with a damaged page", damaged},
        {"half a register", registerBytes.left(registerBytes.size() / 2 + 10)},
    };
    for (const auto& c : cases) {
        const QString file = m_folder.filePath(QStringLiteral("fel.sqlite"));
        QFile::remove(file);
        WriteFileBytes(file, c.bytes);
        try {
            RegisterDatabase database(file);
            RegisterImporter(database, m_clock).deliver(Payments(1, QStringLiteral("B")), QStringLiteral("b.ag"));
            PaymentCount(database);
            ADD_FAILURE() << "used " << c.what;
        } catch (const RegisterError& error) {
            EXPECT_EQ(error.kind(), RegisterError::Kind::Unusable) << c.what;
            EXPECT_FALSE(error.message().isEmpty());
        }
        EXPECT_EQ(ReadFileBytes(file), c.bytes) << c.what;
    }
}

TEST_F(RegisterFaults, LockHeldByAnotherProcessIsWaitedForThenReported)
{
    { RegisterDatabase created(path()); }
    QProcess holder;
    holder.start(QStringLiteral(LOCK_HOLDER_PATH), {path()});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readLine().trimmed(), QByteArray("locked"));

    RegisterDatabase database(path(), 300);
    RegisterImporter importer(database, m_clock);
    try {
        importer.deliver(Payments(2, QStringLiteral("A")), QStringLiteral("a.ag"));
        ADD_FAILURE() << "wrote past another process's lock";
    } catch (const RegisterError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("används av ett annat program")))
            << error.message().toStdString();
    }
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(10000));
    EXPECT_EQ(holder.exitCode(), 0);
    importer.deliver(Payments(2, QStringLiteral("A")), QStringLiteral("a.ag"));
    EXPECT_EQ(PaymentCount(database), 2);
}

// The file may not grow past a limit, as on a full disk: the import is rolled back whole.
TEST_F(RegisterFaults, FullDiskRollsTheImportBack)
{
    RegisterDatabase database(path());
    RegisterImporter importer(database, m_clock);
    importer.deliver(Payments(5, QStringLiteral("A")), QStringLiteral("a.ag"));

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 256 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    bool failed = false;
    try {
        importer.deliver(Payments(20000, QStringLiteral("B")), QStringLiteral("b.ag"));
    } catch (const RegisterError& error) {
        failed = true;
        EXPECT_EQ(error.kind(), RegisterError::Kind::Unusable);
    }
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_TRUE(failed);
    EXPECT_EQ(PaymentCount(database), 5);
    importer.deliver(Payments(20, QStringLiteral("C")), QStringLiteral("c.ag"));
    EXPECT_EQ(PaymentCount(database), 25);
}

// Before its schema is brought up to date the file is copied aside as it stood. A step that fails
// leaves the register at its version; one that passes brings it to the next.
TEST_F(RegisterFaults, MigrationCopiesTheFileAsideFirst)
{
    {
        RegisterDatabase database(path());
        RegisterImporter(database, m_clock).deliver(Payments(2, QStringLiteral("A")), QStringLiteral("a.ag"));
    }
    const QString copy = path() + QStringLiteral(".v%1.bak").arg(RegisterSchema::migrationSteps().size());
    const struct
    {
        const char* what;
        QString step;
        bool migrates;
    } cases[] = {
        {"failing step", QStringLiteral("CREATE TABLE payers (x)"), false},
        {"passing step", QStringLiteral("CREATE TABLE notes (text TEXT)"), true},
    };
    for (const auto& c : cases) {
        const QByteArray before = ReadFileBytes(path());
        QFile::remove(copy);
        QList<QStringList> steps = RegisterSchema::migrationSteps();
        steps.append({c.step});
        try {
            RegisterDatabase migrated(path(), RegisterDatabase::DefaultBusyTimeoutMs, steps);
        } catch (const RegisterError&) {
            EXPECT_FALSE(c.migrates) << c.what;
        }
        EXPECT_EQ(ReadFileBytes(copy), before) << c.what;
        // The program's own schema opens a register of its version and refuses a newer one.
        EXPECT_EQ(Opens(path()), !c.migrates) << c.what;
    }
}

} // namespace
