#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

// The bank's example reports in tests/data/bank: every example file but the order files to the
// bank ("underlag", "till-bankgirot") and the BgMax file. Read from the folder, so that an example
// added there is tested with the rest.
inline QStringList BankExampleReports()
{
    QStringList reports;
    const QDir folder(QStringLiteral(VALMO_TEST_DATA "/bank"));
    for (const QString& name : folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        const bool toTheBank =
            name.contains(QLatin1String("underlag")) || name.contains(QLatin1String("till-bankgirot"));
        if (!toTheBank && !name.contains(QLatin1String("bg-max")) && name != QLatin1String("README.txt"))
            reports.append(folder.filePath(name));
    }
    return reports;
}

// Title lines as users save the bank's examples: one opens with digits and is still no record.
inline QByteArrayList BankExampleTitles()
{
    return {QByteArray(), QByteArray("Exempelfil från Bankgirot\r\n\r\n"),
            QByteArray("2008-06-11 Avvisade betalningar\r\n  \r\n")};
}
