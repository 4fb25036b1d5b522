// The register window over 1 000 000 payments: what opening a tab, filtering, sorting and
// scrolling ask of the register (the count, the sums per state and one page of rows). Prints
// wall-clock seconds and resident memory for each; run it on a quiet machine.

#include "BenchSupport.h"
#include "RepeatedPhase.h"

#include "app/Clock.h"
#include "register/BankFiles.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterImporter.h"
#include "register/RegisterListQuery.h"
#include "register/RegisterQuery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace BankFiles;

namespace {

constexpr int PerFile = 100000;
constexpr int Files = 10;
constexpr int PageSize = 200;

QByteArray OrderFile(int file)
{
    const QDate delivered(2025, 1, 20);
    QList<Record> records = {OrderOpening(delivered)};
    records.reserve(PerFile + 1);
    for (int i = 0; i < PerFile; ++i)
        records.append(PaymentOrder({QString::number(100000 + i), "82", 10000 + i % 5000,
                                     QStringLiteral("F%1-%2").arg(file).arg(i),
                                     QDate(2025, 2, 3).addDays(7 * file + i % 5)}));
    return Join(records);
}

void Build(RegisterDatabase& database)
{
    FixedClock clock(QDate(2025, 1, 20));
    RegisterImporter importer(database, clock);
    for (int file = 0; file < Files; ++file)
        importer.deliver(OrderFile(file), QStringLiteral("order-%1.ag").arg(file));
}

// What a tab does when its filter or order changes: the sums per state (their counts add up to the
// rows) and the page on view.
void Measure(const RegisterListQuery& query, const char* phase, const RegisterListFilter& filter, qint64 offset = 0)
{
    qint64 count = 0;
    qsizetype states = 0;
    qsizetype rows = 0;
    PrintRepeated(phase, [&] {
        return MeasureInProcess([&] {
            const QList<RegisterStateSum> sums = query.sums(filter);
            count = 0;
            for (const RegisterStateSum& sum : sums)
                count += sum.count;
            states = sums.size();
            rows = query.page(filter, offset, PageSize).size();
        });
    });
    std::printf("  %lld rader, %d tillstånd, sida %d rader  RSS %6.1f MB\n", count, int(states), int(rows),
                CurrentResidentBytes() / 1048576.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    // --register PATH uses (or keeps) a register of a million payments.
    const QStringList arguments = app.arguments();
    const qsizetype kept = arguments.indexOf(QStringLiteral("--register"));
    const QString path = kept > 0 ? arguments.value(kept + 1) : folder.filePath(QStringLiteral("register.sqlite"));
    RegisterDatabase database(path);
    if (RegisterQuery(database).paymentCount({}) < qint64(PerFile) * Files) {
        QElapsedTimer timer;
        timer.start();
        Build(database);
        std::printf("Registret byggt: %d betalningar på %.1f s\n", PerFile * Files, timer.elapsed() / 1000.0);
    }
    std::printf("RSS före fönstret %6.1f MB\n", CurrentResidentBytes() / 1048576.0);

    const RegisterListQuery payments(database, RegisterList::Payments);
    RegisterListFilter filter;
    filter.sortColumn = 1;
    Measure(payments, "Betalningar: öppna (betalningsdag)", filter);
    Measure(payments, "Betalningar: rulla till mitten", filter, 500000);
    filter.state = QStringLiteral("Skickad");
    Measure(payments, "Betalningar: tillstånd Skickad", filter);
    filter.state = QStringLiteral("Genomförd");
    Measure(payments, "Betalningar: tillstånd Genomförd", filter);
    filter.state.clear();
    filter.text = QStringLiteral("F3-4711");
    Measure(payments, "Betalningar: sök \"F3-4711\"", filter);
    filter.text = QStringLiteral("104711");
    Measure(payments, "Betalningar: sök betalare \"104711\"", filter);
    filter.text = QStringLiteral("2025-02");
    Measure(payments, "Betalningar: sök \"2025-02\" (många träffar)", filter);
    filter.text = QStringLiteral("F3-47");
    Measure(payments, "Betalningar: sök \"F3-47\", mitten", filter, 50);
    filter.text.clear();
    filter.sortColumn = 3;
    filter.descending = true;
    Measure(payments, "Betalningar: sortera på belopp, fallande", filter);
    filter.sortColumn = 0;
    Measure(payments, "Betalningar: sortera på betalare, mitten", filter, 500000);
    filter.sortColumn = 5;
    Measure(payments, "Betalningar: sortera på tillstånd", filter);
    filter.sortColumn = 4;
    Measure(payments, "Betalningar: sortera på referens", filter);
    // A column without an index of its own: each page sorts the whole register.
    filter.sortColumn = 6;
    Measure(payments, "Betalningar: sortera på orsak", filter);

    const RegisterListQuery payers(database, RegisterList::Payers);
    Measure(payers, "Betalare: öppna", RegisterListFilter());
    std::printf("RSS efter fönstret %6.1f MB (topp %6.1f MB)\n", CurrentResidentBytes() / 1048576.0,
                PeakResidentBytes() / 1048576.0);
    return 0;
}
