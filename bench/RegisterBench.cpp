// The Autogiro register with large files: delivering payment orders, importing a
// payment report of 100 000 items, and listing payments from a register of 1 000 000, streamed.
// Prints wall-clock seconds and resident memory for each phase.

#include "BenchSupport.h"
#include "RepeatedPhase.h"

#include "app/Clock.h"
#include "format/ReportParser.h"
#include "register/BankFiles.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterImporter.h"
#include "register/RegisterQuery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

using namespace BankFiles;

namespace {

const QDate Delivery(2025, 1, 20);

Order OrderNumber(int file, int i)
{
    const QDate day = QDate(2025, 2, 3).addDays(7 * file + i % 5);
    return {QString::number(100000 + i), "82", 10000 + i % 5000, QStringLiteral("F%1-%2").arg(file).arg(i), day};
}

QByteArray OrderFile(int file, int count)
{
    QList<Record> records = {OrderOpening(Delivery)};
    records.reserve(count + 1);
    for (int i = 0; i < count; ++i)
        records.append(PaymentOrder(OrderNumber(file, i)));
    return Join(records);
}

QByteArray PaymentReport(int count)
{
    QList<Paid> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i)
        items.append({OrderNumber(0, i), i % 10 == 0 ? '1' : '0'});
    return PaymentSpecification(QDate(2025, 2, 3), items);
}

double g_cpuStart = 0;

void PrintPhase(const char* phase, double seconds, qint64 rows)
{
    const double cpu = ProcessCpuSeconds() - g_cpuStart;
    std::printf("%-50s %7.3f s (CPU %7.3f s) %9.0f rader/CPU-s  RSS %6.1f MB (topp %6.1f MB)\n", phase, seconds,
                cpu, rows / cpu, CurrentResidentBytes() / 1048576.0, PeakResidentBytes() / 1048576.0);
    std::fflush(stdout);
}

// Delivers 100 000 payment orders, imports their payment report, then delivers nine more
// files: a register of 1 000 000 payments.
void Build(RegisterDatabase& database, FixedClock& clock, bool importOnly)
{
    RegisterImporter importer(database, clock);
    constexpr int PerFile = 100000;
    constexpr int Files = 10;

    QElapsedTimer timer;
    timer.start();
    g_cpuStart = ProcessCpuSeconds();
    importer.deliver(OrderFile(0, PerFile), QStringLiteral("order-0.ag"));
    PrintPhase("deliver: 100 000 betaluppdrag", timer.elapsed() / 1000.0, PerFile);

    const QByteArray paymentReport = PaymentReport(PerFile);
    timer.start();
    g_cpuStart = ProcessCpuSeconds();
    const ReportFile parsed = ReportParser::parse(paymentReport);
    PrintPhase("  varav läsning av rapporten (ReportParser)", timer.elapsed() / 1000.0, parsed.reports.value(0).items.size());
    clock.setDate(QDate(2025, 2, 3));
    timer.start();
    g_cpuStart = ProcessCpuSeconds();
    const ImportSummary summary = importer.import(paymentReport, QStringLiteral("betspec.txt"), false);
    PrintPhase("import: betalningsspecifikation, 100 000 poster", timer.elapsed() / 1000.0, PerFile);
    std::printf("  utan underlag: %lld, nekad av summor: %d\n", qint64(summary.withoutBasis.size()),
                int(summary.totalsDisagree));

    if (importOnly)
        return;
    clock.setDate(Delivery);
    timer.start();
    g_cpuStart = ProcessCpuSeconds();
    for (int file = 1; file < Files; ++file)
        importer.deliver(OrderFile(file, PerFile), QStringLiteral("order-%1.ag").arg(file));
    PrintPhase("deliver: 9 filer till, 1 000 000 betalningar", timer.elapsed() / 1000.0, PerFile * (Files - 1));

}

// The payment report imported into five fresh registers, each holding its 100 000 delivered orders.
void ImportRounds()
{
    const QByteArray orders = OrderFile(0, 100000);
    const QByteArray report = PaymentReport(100000);
    QList<PhaseSample> deliveries;
    PrintRepeated("import: betalningsspecifikation, 100 000 poster", [&] {
        QTemporaryDir folder;
        RegisterDatabase database(folder.filePath(QStringLiteral("register.sqlite")));
        FixedClock clock(Delivery);
        RegisterImporter importer(database, clock);
        deliveries.append(MeasureInProcess([&] { importer.deliver(orders, QStringLiteral("order-0.ag")); }));
        clock.setDate(QDate(2025, 2, 3));
        return MeasureInProcess([&] { importer.import(report, QStringLiteral("betspec.txt"), false); });
    });
    qsizetype next = 0;
    PrintRepeated("  deliver före varje import: 100 000 betaluppdrag", [&] { return deliveries.value(next++); });
}

// The listing as valmo-cli writes it, JSON and CSV, the program's output thrown away.
void CliRounds(const QString& path)
{
    const QByteArray registerPath = path.toLocal8Bit();
    for (const bool csv : {false, true}) {
        const char* arguments[] = {VALMO_CLI_PATH, "register",  "--register", registerPath.constData(),
                                   "payments",     csv ? "--csv" : nullptr, nullptr};
        long peak = 0;
        PrintRepeated(csv ? "valmo-cli register payments --csv (1 000 000)" : "valmo-cli register payments (1 000 000)",
                      [&] { return MeasureProgram(VALMO_CLI_PATH, arguments, &peak); });
        std::printf("  valmo-cli: topp RSS %6.1f MB\n", peak / 1048576.0);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    FixedClock clock(Delivery);
    // --register PATH keeps the register of a million payments for a later run, which then only
    // lists; --import-only measures the import alone.
    const QStringList arguments = app.arguments();
    if (arguments.contains(QStringLiteral("--import-only"))) {
        ImportRounds();
        return 0;
    }
    const qsizetype kept = arguments.indexOf(QStringLiteral("--register"));
    const QString path = kept > 0 ? arguments.value(kept + 1) : folder.filePath(QStringLiteral("register.sqlite"));
    {
        RegisterDatabase database(path);
        if (RegisterQuery(database).paymentCount({}) < 1000000) {
            Build(database, clock, false);
            ImportRounds();
        }
        RegisterQuery query(database);
        const auto measure = [&](const char* phase, const PaymentFilter& filter) {
            qint64 rows = 0;
            PrintRepeated(phase, [&] {
                return MeasureInProcess([&] {
                    rows = 0;
                    query.paymentBytes(filter, [&](const RegisterPaymentBytes&) {
                        ++rows;
                        return true;
                    });
                });
            });
            std::printf("  %lld rader\n", rows);
        };
        PaymentFilter byState;
        byState.state = QStringLiteral("Ej genomförd");
        measure("payments --state \"Ej genomförd\"", byState);
        PaymentFilter byMonth;
        byMonth.from = QDate(2025, 3, 1);
        byMonth.to = QDate(2025, 3, 31);
        measure("payments --from 2025-03-01 --to 2025-03-31", byMonth);
        PaymentFilter byPayer;
        byPayer.payer = QStringLiteral("100042");
        measure("payments --payer 100042", byPayer);
        measure("payments (alla 1 000 000)", PaymentFilter());
    }
    CliRounds(path);
    return 0;
}
