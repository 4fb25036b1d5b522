// Fills the "Kontrollera" window with growing numbers of findings, as an old file whose every
// payment date has passed gives, and prints the time to a painted window and the memory added.
// Offscreen.
#include "BenchSupport.h"
#include "calendar/FindingsWindow.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

QList<DeliveryFinding> Findings(int count)
{
    QList<DeliveryFinding> findings;
    findings.reserve(count);
    for (int i = 0; i < count; ++i) {
        DeliveryFinding finding;
        finding.list = ListId::Btu;
        finding.row = i;
        finding.column = 2;
        finding.columnTitle = QStringLiteral("Betalningsdag");
        finding.level = i % 10 ? FindingLevel::Error : FindingLevel::Warning;
        finding.message = QStringLiteral("Betalningsdagen 2024-03-%1 har passerats med mer än fem bankdagar när "
                                         "filen når banken fre 11 dec 2026. Banken avvisar betalningen.")
                              .arg(1 + i % 28, 2, 10, QLatin1Char('0'));
        findings.append(finding);
    }
    return findings;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("%10s %12s %12s %14s\n", "findings", "show ms", "cpu s", "added MB");
    for (const int count : {10000, 100000, 1000000}) {
        const QList<DeliveryFinding> findings = Findings(count);
        ResetPeakResident();
        const std::size_t before = CurrentResidentBytes();
        const double cpuBefore = ProcessCpuSeconds();
        QElapsedTimer timer;
        timer.start();
        {
            FindingsWindow window;
            window.setFindings(findings, QStringLiteral("fre 11 dec 2026 kl. 12.00"));
            window.show();
            window.repaint();
            app.processEvents();
            std::printf("%10d %12.0f %12.2f %14.1f\n", count, timer.nsecsElapsed() / 1e6,
                        ProcessCpuSeconds() - cpuBefore, (PeakResidentBytes() - before) / 1048576.0);
        }
        app.processEvents();
    }
    return 0;
}
