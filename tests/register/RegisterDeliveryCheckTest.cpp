#include "BankFiles.h"

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "register/RegisterDatabase.h"
#include "calendar/DeliveryCheck.h"
#include "register/RegisterDeliveryCheck.h"
#include "register/RegisterImporter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace BankFiles;

// A register where 1001 is approved and has been paid, 1002 was refused, 1003 only sent.
TEST(RegisterDeliveryCheck, WarnsOfWhatTheRegisterKnows)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    RegisterDatabase database(folder.filePath(QStringLiteral("register.sqlite")));
    const QDate day(2025, 1, 10);
    FixedClock clock(day);
    RegisterImporter importer(database, clock);
    const Order paid{QStringLiteral("1001"), "82", 12550, QStringLiteral("HYRA"), QDate(2025, 2, 3)};
    importer.deliver(Join({OrderOpening(day), NewMandate(QStringLiteral("1001"), QStringLiteral("33001212121212"), QStringLiteral("196803050000")),
                           NewMandate(QStringLiteral("1002"), QStringLiteral("33001212121213"), QStringLiteral("196803050000")),
                           NewMandate(QStringLiteral("1003"), QStringLiteral("33001212121214"), QStringLiteral("196803050000")),
                           PaymentOrder(paid)}),
                     QStringLiteral("o.ag"));
    importer.import(MandateAdvice(QDate(2025, 1, 14), {{QStringLiteral("1001"), "04", "32"}, {QStringLiteral("1002"), "04", "23"}}),
                    QStringLiteral("medavi.txt"), false);
    importer.import(PaymentSpecification(QDate(2025, 2, 3), {{paid, '0'}}), QStringLiteral("betspec.txt"), false);

    OrderDocument document;
    for (const char* payer : {"1001", "1002", "1003", "1004"})
        document.BtuList.append(QStringLiteral("Debitering"), {QStringLiteral("Engångsbetalning"), QStringLiteral("2025-03-03"),
                                                               QStringLiteral("100,00"), QStringLiteral("1"),
                                                               QString::fromLatin1(payer), QString()});
    for (const char* payer : {"1001", "1002"})
        document.MdgList.append(QStringLiteral("Medgivande på papper"),
                                {QString::fromLatin1(payer), QStringLiteral("3300-1212121212"), QStringLiteral("19680305-0000")});
    const QStringList cancelled = {QString(), QStringLiteral("1001"), QStringLiteral("2025-02-03"), QString(),
                                   QStringLiteral("125,50"), QStringLiteral("Debitering"), QStringLiteral("HYRA")};
    document.MakList.append(QStringLiteral("25"), QStringLiteral("Makulering av en transaktion"),
                            cancelled.mid(1));
    QStringList other = cancelled.mid(1);
    other[3] = QStringLiteral("125,00"); // another amount: not the payment made
    document.MakList.append(QStringLiteral("25"), QStringLiteral("Makulering av en transaktion"), other);
    const QString dayCancellation =
        QStringLiteral("Makulering av alla transaktioner, med angiven betaldag, för ett betalarnummer");
    for (const char* payer : {"1001", "1002"}) // only 1001 has a payment made that day
        document.MakList.append(QStringLiteral("24"), dayCancellation,
                                {QString::fromLatin1(payer), QStringLiteral("2025-02-03"), QString(),
                                 QString(), QString(), QString()});
    document.MdgListComp.append(QStringLiteral("1001"), {});

    const QList<DeliveryFinding> findings = CheckAgainstRegister(document, database);
    struct Expected
    {
        ListId list;
        int row;
        const char* text;
    };
    const Expected expected[] = {
        {ListId::Btu, 1, "Betalare 1002 har inget godkänt medgivande: Avvisat sedan 2025-01-14."},
        {ListId::Btu, 2, "Betalare 1003 har inget godkänt medgivande: Skickat sedan 2025-01-10."},
        {ListId::Btu, 3, "Betalare 1004 har inget medgivande i registret."},
        {ListId::Mdg, 0, "Betalare 1001 har redan ett godkänt medgivande sedan 2025-01-14."},
        {ListId::MdgComp, 0, "Betalare 1001 har redan ett godkänt medgivande sedan 2025-01-14."},
        {ListId::Mak, 0, "Registret säger att betalningen redan är genomförd."},
        {ListId::Mak, 2, "Registret säger att betalare 1001 redan har en genomförd betalning 2025-02-03."},
    };
    ASSERT_EQ(findings.size(), int(std::size(expected)));
    for (int i = 0; i < findings.size(); ++i) {
        EXPECT_EQ(findings[i].list, expected[i].list) << i;
        EXPECT_EQ(findings[i].row, expected[i].row) << i;
        EXPECT_EQ(findings[i].level, FindingLevel::Warning) << i;
        EXPECT_EQ(findings[i].message.toStdString(), expected[i].text) << i;
    }

    // Among the calendar's findings in list order; without a register only those, and none is made.
    const QDateTime now(QDate(2025, 2, 20), QTime(12, 0));
    const QList<DeliveryFinding> calendar = CheckDelivery(document, now);
    const QList<DeliveryFinding> both = CheckDeliveryWithRegister(document, now, database.path());
    EXPECT_EQ(both.size(), calendar.size() + findings.size());
    EXPECT_TRUE(std::is_sorted(both.begin(), both.end(), [](const DeliveryFinding& a, const DeliveryFinding& b) {
        return std::make_pair(int(a.list), a.row) < std::make_pair(int(b.list), b.row);
    }));
    const QString missing = folder.filePath(QStringLiteral("saknas.sqlite"));
    EXPECT_EQ(CheckDeliveryWithRegister(document, now, missing).size(), calendar.size());
    EXPECT_FALSE(QFile::exists(missing));
}
