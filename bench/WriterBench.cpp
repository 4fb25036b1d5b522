// Writes order files of growing size and prints records per second and the memory the write
// needs beyond the document itself.
#include "BenchSupport.h"

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "format/OrderFileWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QIODevice>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Counts what it is given and keeps nothing: the cost of building the records alone.
class DiscardDevice : public QIODevice
{
public:
    DiscardDevice() { open(QIODevice::WriteOnly); }
    qint64 total = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override
    {
        total += length;
        return length;
    }
};

const QStringList& periods()
{
    static const QStringList texts = {QStringLiteral("Engångsbetalning"),
                                      QStringLiteral("Varje månad med start enligt betaldatum"),
                                      QStringLiteral("Sista bankdagen varje kvartal")};
    return texts;
}

void addPayments(OrderDocument& doc, int count)
{
    doc.BtuList.reserve(doc.BtuList.count() + count);
    for (int i = 0; i < count; ++i) {
        doc.BtuList.append(i % 2 ? QStringLiteral("Debitering") : QStringLiteral("Kreditering"),
                           {periods()[i % 3],
                            QStringLiteral("2024-%1-%2")
                                .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                                .arg(i % 28 + 1, 2, 10, QLatin1Char('0')),
                            QStringLiteral("%1,%2").arg(i % 100000).arg(i % 100, 2, 10, QLatin1Char('0')),
                            QString::number(i % 999 + 1), QString::number(100000 + i),
                            QStringLiteral("Faktura nr %1 ä").arg(i)});
    }
}

void addMixed(OrderDocument& doc, int count)
{
    doc.FillMakTexts();
    addPayments(doc, count);
    for (int i = 0; i < count; ++i) {
        doc.MdgList.append(i % 2 ? QStringLiteral("Medgivande på papper")
                                 : QStringLiteral("Autogiro elektroniskt medgivande"),
                           {QString::number(200000 + i), QStringLiteral("5000-%1").arg(1000000 + i),
                            QStringLiteral("19800101-1234")});
        const int code = i % 8 == 0 ? 3 : 23 + i % 7;
        doc.MakList.append(QString::number(code), doc.MakText(code),
                           {QString::number(300000 + i), QStringLiteral("2024-03-05"),
                            QStringLiteral("2024-04-25"), QStringLiteral("99,50"),
                            QStringLiteral("Debitering")});
    }
}

int recordCount(const OrderDocument& doc)
{
    return doc.BtuList.count() + doc.MdgList.count() + doc.MakList.count() + 3;
}

double megabytes(std::size_t bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

void measure(const char* name, const OrderDocument& doc, const QString& folder)
{
    const PayeeNumbers payee{QStringLiteral("123456"), QStringLiteral("55555555")};
    const FixedClock clock(QDate(2024, 3, 5));
    const int records = recordCount(doc);

    ResetPeakResident();
    const std::size_t before = CurrentResidentBytes();
    QElapsedTimer timer;
    timer.start();
    DiscardDevice discard;
    WriteOrderFile(discard, doc, payee, clock);
    const double convertSeconds = double(timer.nsecsElapsed()) / 1e9;
    const std::size_t convertExtra = PeakResidentBytes() - before;

    const QString path = QDir(folder).filePath(QStringLiteral("bench.ag"));
    ResetPeakResident();
    const std::size_t beforeSave = CurrentResidentBytes();
    timer.restart();
    SaveOrderFile(path, doc, payee, clock);
    const double saveSeconds = double(timer.nsecsElapsed()) / 1e9;
    const std::size_t saveExtra = PeakResidentBytes() - beforeSave;

    std::printf("%-22s %9d records  %6.1f MB file | records only: %7.3f s %12.0f rec/s, +%.1f MB | "
                "saved to disk: %7.3f s %12.0f rec/s, +%.1f MB\n",
                name, records, megabytes(std::size_t(QFileInfo(path).size())), convertSeconds,
                records / convertSeconds, megabytes(convertExtra), saveSeconds, records / saveSeconds,
                megabytes(saveExtra));
    std::fflush(stdout);
    QFile::remove(path);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    for (const int count : {10000, 100000, 1000000}) {
        OrderDocument doc;
        addPayments(doc, count);
        const std::size_t documentBytes = CurrentResidentBytes();
        const QByteArray name = QByteArray::number(count) + " payment orders";
        measure(name.constData(), doc, folder.path());
        std::printf("%-22s resident with the document: %.1f MB\n", "", megabytes(documentBytes));
    }
    OrderDocument mixed;
    addMixed(mixed, 100000);
    measure("mixed 300 000 rows", mixed, folder.path());
    return 0;
}
