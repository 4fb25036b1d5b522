#include "BankFiles.h"

#include "app/Clock.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterImporter.h"
#include "register/RegisterListQuery.h"
#include "register/RegisterQuery.h"
#include "register/RegisterSchema.h"
#include "register/SqliteStatement.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace BankFiles;

namespace {

const QDate Delivered(2025, 1, 20);
const QDate PayDay(2025, 2, 3);

Order Payment(int i)
{
    return {QString::number(5000 + i), "82", 1000 + 100 * i, QStringLiteral("R%1").arg(i), PayDay};
}

QByteArray Orders(int count)
{
    QList<Record> records = {OrderOpening(Delivered)};
    for (int i = 0; i < count; ++i)
        records.append(PaymentOrder(Payment(i)));
    return Join(records);
}

// The sums as the register keeps them, and as counted over the payments, one line per state.
QStringList Lines(const QList<RegisterStateSum>& sums)
{
    QStringList lines;
    for (const RegisterStateSum& sum : sums)
        lines.append(QStringLiteral("%1 %2 %3").arg(sum.state).arg(sum.count).arg(sum.amount));
    lines.sort();
    return lines;
}

QStringList Counted(const RegisterDatabase& database)
{
    SqliteStatement query(database, "SELECT state, count(*), sum(amount) FROM payments GROUP BY state");
    QList<RegisterStateSum> sums;
    while (query.step())
        sums.append({query.text(0), query.integer(1), query.integer(2)});
    return Lines(sums);
}

QStringList Payers(const QList<RegisterListRow>& rows)
{
    QStringList payers;
    for (const RegisterListRow& row : rows)
        payers.append(row.payer);
    return payers;
}

TEST(RegisterSums, KeptSumsFollowEveryImportAndReimport)
{
    QTemporaryDir folder;
    RegisterDatabase database(folder.filePath(QStringLiteral("register.sqlite")));
    FixedClock clock(Delivered);
    RegisterImporter importer(database, clock);
    const RegisterListQuery list(database, RegisterList::Payments);
    const QByteArray paid =
        PaymentSpecification(PayDay, {{Payment(0), '0'}, {Payment(1), '1'}, {Payment(2), '9'}});
    const QByteArray rejected = RejectedPayments(PayDay, {{Payment(3), "01"}});
    const struct
    {
        QByteArray bytes;
        bool order;
    } steps[] = {{Orders(5), true}, {paid, false}, {paid, false}, {rejected, false}, {Orders(5), true}};
    for (const auto& step : steps) {
        if (step.order)
            importer.deliver(step.bytes, QStringLiteral("order.ag"));
        else
            importer.import(step.bytes, QStringLiteral("report.txt"), false);
        const QStringList counted = Counted(database);
        EXPECT_EQ(Lines(list.sums({})), counted);
        // A search that matches every payment counts them itself.
        RegisterListFilter all;
        all.text = QStringLiteral("R");
        EXPECT_EQ(Lines(list.sums(all)), counted);
        EXPECT_EQ(list.count({}), 5);
    }
}

TEST(RegisterSums, SearchedPagesAreTheRowsOfTheSearch)
{
    QTemporaryDir folder;
    RegisterDatabase database(folder.filePath(QStringLiteral("register.sqlite")));
    FixedClock clock(Delivered);
    RegisterImporter importer(database, clock);
    importer.deliver(Orders(30), QStringLiteral("order.ag"));
    clock.setDate(PayDay);
    importer.import(PaymentSpecification(PayDay, {{Payment(12), '0'}, {Payment(21), '0'}}),
                    QStringLiteral("b.txt"), false);
    const struct
    {
        const char* text;
        const char* state;
        int sortColumn;
        bool descending;
        qint64 offset;
        const char* payers;
    } cases[] = {
        {"R2", "", 3, true, 0, "5029 5028 5027 5026 5025 5024 5023 5022 5021 5020 5002"},
        {"R2", "", 0, false, 9, "5028 5029"},
        {"R2", "Genomförd", 0, false, 0, "5021"},
        {"r1", "Skickad", 3, false, 0, "5001 5010 5011 5013 5014 5015 5016 5017 5018 5019"},
        {"%", "", 0, false, 0, ""},
    };
    for (const auto& c : cases) {
        RegisterListFilter filter;
        filter.text = QString::fromUtf8(c.text);
        filter.state = QString::fromUtf8(c.state);
        filter.sortColumn = c.sortColumn;
        filter.descending = c.descending;
        // A query that has not searched reads the page from the whole register, one that has from
        // the payments its search found: both give the same rows.
        const RegisterListQuery fresh(database, RegisterList::Payments);
        const QList<RegisterListRow> searched = fresh.page(filter, c.offset, 50);
        const RegisterListQuery list(database, RegisterList::Payments);
        list.sums(filter);
        const QStringList payers = QString::fromLatin1(c.payers).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        EXPECT_EQ(Payers(list.page(filter, c.offset, 50)), payers) << c.text;
        EXPECT_EQ(Payers(searched), payers) << c.text;
    }
}

TEST(RegisterSums, MigrationFromEachOlderVersionKeepsThePaymentsAndCountsThem)
{
    for (const int version : {1, 2}) {
        SCOPED_TRACE(version);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("register.sqlite"));
        {
            QSqlDatabase old = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
            old.setDatabaseName(path);
            ASSERT_TRUE(old.open());
            QSqlQuery sql(old);
            for (const QString& statement : RegisterSchema::migrationSteps().first())
                ASSERT_TRUE(sql.exec(statement)) << statement.toStdString();
            ASSERT_TRUE(
                sql.exec(QStringLiteral("INSERT INTO files VALUES (1, 'o.ag', 'x', 'Orderfil', '2025-01-20')")));
            for (const char* row :
                 {"(1, 1, 2, '7', '82', 500, 'A', '2025-02-04', '0', '', 0, 'Skickad', '', '', '', 0, 0)",
                  "(2, 1, 3, '8', '82', 700, 'B', '2025-02-03', '0', '', 0, 'Genomförd', '', '', '', 0, 0)",
                  "(3, 1, 4, '9', '32', 900, 'C', '2025-02-04', '0', '', 0, 'Skickad', '', '', '', 0, 0)"})
                ASSERT_TRUE(sql.exec(QStringLiteral("INSERT INTO payments VALUES ") + QString::fromUtf8(row)));
            for (int step = 1; step < version; ++step) {
                for (const QString& statement : RegisterSchema::migrationSteps().at(step))
                    ASSERT_TRUE(sql.exec(statement)) << statement.toStdString();
            }
            ASSERT_TRUE(sql.exec(QStringLiteral("PRAGMA application_id=%1").arg(RegisterSchema::ApplicationId)));
            ASSERT_TRUE(sql.exec(QStringLiteral("PRAGMA user_version=%1").arg(version)));
            sql.finish();
            old.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("old"));
        RegisterDatabase database(path);
        EXPECT_TRUE(QFile::exists(path + QStringLiteral(".v%1.bak").arg(version)));
        const RegisterListQuery list(database, RegisterList::Payments);
        EXPECT_EQ(Lines(list.sums({})),
                  QStringList({QStringLiteral("Genomförd 1 700"), QStringLiteral("Skickad 2 1400")}));
        RegisterListFilter byAmount;
        byAmount.sortColumn = RegisterListQuery::PaymentAmountColumn;
        byAmount.descending = true;
        EXPECT_EQ(Payers(list.page(byAmount, 0, 10)),
                  QStringList({QStringLiteral("9"), QStringLiteral("8"), QStringLiteral("7")}));
        QStringList byDay;
        RegisterQuery(database).payments({}, [&](const RegisterPaymentRow& row) {
            byDay.append(row.payer + QLatin1Char(' ') + row.date + QLatin1Char(' ') + row.file);
            return true;
        });
        EXPECT_EQ(byDay, QStringList({QStringLiteral("8 2025-02-03 o.ag"), QStringLiteral("7 2025-02-04 o.ag"),
                                      QStringLiteral("9 2025-02-04 o.ag")}));
    }
}

} // namespace
