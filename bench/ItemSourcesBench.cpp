// The column "Underlag" of a payment report of 100 000 items: the delivered order of every item,
// read from a register of 1 000 000 payments (ten order files of 100 000) in one query.
// Prints wall-clock seconds and resident memory for building the register and for the query.

#include "BenchSupport.h"

#include "app/Clock.h"
#include "register/BankFiles.h"
#include "register/ItemSources.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterImporter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

using namespace BankFiles;

namespace {

constexpr int PerFile = 100000;
const QDate Delivery(2025, 1, 20);

Order OrderNumber(int file, int i)
{
    const QDate day = QDate(2025, 2, 3).addDays(7 * file + i % 5);
    return {QString::number(100000 + i), "82", 10000 + i % 5000, QStringLiteral("F%1-%2").arg(file).arg(i),
            day};
}

QByteArray OrderFile(int file)
{
    QList<Record> records = {OrderOpening(Delivery)};
    records.reserve(PerFile + 1);
    for (int i = 0; i < PerFile; ++i)
        records.append(PaymentOrder(OrderNumber(file, i)));
    return Join(records);
}

// The report on the first file, with one item in a hundred that matches no order.
QByteArray PaymentReport()
{
    QList<Paid> items;
    items.reserve(PerFile);
    for (int i = 0; i < PerFile; ++i) {
        Order order = OrderNumber(0, i);
        if (i % 100 == 0)
            order.reference = QStringLiteral("OKÄND");
        items.append({order, i % 10 == 0 ? '1' : '0'});
    }
    return PaymentSpecification(QDate(2025, 2, 3), items);
}

double g_cpuStart = 0;

void PrintPhase(const char* phase, double seconds)
{
    std::printf("%-45s %7.3f s (CPU %7.3f s)  RSS %6.1f MB (topp %6.1f MB)\n", phase, seconds,
                ProcessCpuSeconds() - g_cpuStart, CurrentResidentBytes() / 1048576.0,
                PeakResidentBytes() / 1048576.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // --register PATH keeps the register for a later run, which then only queries.
    const QStringList arguments = app.arguments();
    const qsizetype kept = arguments.indexOf(QStringLiteral("--register"));
    QTemporaryDir folder;
    const QString path =
        kept > 0 ? arguments.value(kept + 1) : folder.filePath(QStringLiteral("register.sqlite"));
    const bool built = QFileInfo(path).isFile();
    RegisterDatabase database(path);
    const QByteArray report = PaymentReport();
    QElapsedTimer timer;
    if (!built) {
        FixedClock clock(Delivery);
        RegisterImporter importer(database, clock);
        timer.start();
        g_cpuStart = ProcessCpuSeconds();
        for (int file = 0; file < 10; ++file)
            importer.deliver(OrderFile(file), QStringLiteral("order-%1.ag").arg(file));
        clock.setDate(QDate(2025, 2, 3));
        importer.import(report, QStringLiteral("betspec.txt"), false);
        PrintPhase("register byggt (leveranser och rapporten)", timer.elapsed() / 1000.0);
    }

    for (int run = 1; run <= 3; ++run) {
        ResetPeakResident();
        timer.start();
        g_cpuStart = ProcessCpuSeconds();
        const QHash<int, QString> sources = ReportItemSources(database, report);
        PrintPhase("Underlag för 100 000 poster", timer.elapsed() / 1000.0);
        qint64 without = 0;
        for (const QString& source : sources)
            without += source == QLatin1String("utan underlag");
        std::printf("  %lld poster med underlag, %lld utan; rad 3: %s\n", qint64(sources.size() - without),
                    without, qPrintable(sources.value(3)));
    }
    return 0;
}
