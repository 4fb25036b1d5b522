// Times the check before delivery on documents of growing size and prints rows per second, the
// time for a million payment orders and the memory the check needs beyond the document.
#include "BenchSupport.h"

#include "app/OrderDocument.h"
#include "calendar/BankCalendar.h"
#include "calendar/DeliveryCheck.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Banking days over the coming year, and one order in fifty on a holiday or a weekend.
QDate date(const QDate& first, int i)
{
    const QDate day = first.addDays(i % 365);
    return i % 50 == 0 ? day : BankCalendar::BankingDayOnOrAfter(day);
}

// Payment orders over the coming year, a payer in a thousand with a new mandate and a cancellation:
// every rule has work to do.
void fill(OrderDocument& doc, int count)
{
    const QDate first(2027, 1, 4);
    const QStringList periods = {QStringLiteral("Engångsbetalning"),
                                 QStringLiteral("Varje månad med start enligt betaldatum"),
                                 QStringLiteral("Sista bankdagen varje månad")};
    doc.BtuList.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int payer =
            i % 2 ? 100000 + i : 100000 + i - 1; // every other order repeats its neighbour's payer
        doc.BtuList.append(QStringLiteral("Debitering"),
                           {periods[i % 3], date(first, i).toString(Qt::ISODate),
                            QStringLiteral("%1,%2").arg(i % 5000).arg(i % 100, 2, 10, QLatin1Char('0')),
                            QStringLiteral("12"), QString::number(payer),
                            QStringLiteral("Faktura %1").arg(i)});
        if (i % 1000 == 0) {
            doc.MdgList.append(
                QStringLiteral("Medgivande på papper"),
                {QString::number(payer), QStringLiteral("5000-1234567"), QStringLiteral("19800101-1234")});
            doc.MakList.append(QStringLiteral("24"), QStringLiteral("Makulering"),
                               {QString::number(payer), first.addDays(30).toString(Qt::ISODate), QString(),
                                QString(), QString(), QString()});
        }
    }
}

} // namespace

int main()
{
    const QDateTime now(QDate(2026, 12, 9), QTime(18, 30));
    std::printf("%10s %10s %10s %12s %12s\n", "rows", "findings", "best ms", "rows/s", "extra MB");
    for (const int count : {10000, 100000, 1000000}) {
        OrderDocument doc;
        fill(doc, count);
        std::vector<qint64> times;
        qsizetype findings = 0;
        std::size_t extra = 0;
        for (int run = 0; run < 5; ++run) {
            ResetPeakResident();
            const std::size_t before = CurrentResidentBytes();
            QElapsedTimer timer;
            timer.start();
            const QList<DeliveryFinding> result = CheckDelivery(doc, now);
            times.push_back(timer.nsecsElapsed());
            findings = result.size();
            extra = std::max(extra, PeakResidentBytes() - before);
        }
        const qint64 best = *std::min_element(times.begin(), times.end());
        std::printf("%10d %10lld %10.1f %12.0f %12.1f\n", count, static_cast<long long>(findings), best / 1e6,
                    count / (best / 1e9), extra / 1048576.0);
    }
    return 0;
}
