// Holds the write lock of an SQLite database until its standard input closes: another process
// that uses the register at the same time, for the register's tests.
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QString::fromLocal8Bit(argv[1]));
    if (!db.open())
        return 2;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")) ||
        !query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS held (x)")))
        return 2;
    std::puts("locked");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    query.exec(QStringLiteral("ROLLBACK"));
    return 0;
}
