// Cost of the settings store: the record writers read the bankgiro number once per record.
#include "BenchSupport.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

double microsecondsPerCall(int calls, const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1000.0 / calls;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    SettingsStore::setTestFolder(folder.path());
    const QString section = SettingsStore::section();
    WriteSetting(section, QStringLiteral("BgNr"), QStringLiteral("1234566"));
    WriteSetting(section, QStringLiteral("KundNr"), QStringLiteral("012345"));
    WriteSetting(section, QStringLiteral("Tjänst"), QStringLiteral("Företag"));

    const int reads = 100000;
    QElapsedTimer timer;
    timer.start();
    qsizetype total = 0;
    for (int i = 0; i < reads; ++i)
        total += ReadSetting(section, QStringLiteral("BgNr"), QString()).size();
    std::printf("ReadSetting, file unchanged: %.2f us per call (%d calls)\n",
                microsecondsPerCall(reads, timer), reads);

    const int changingReads = 100;
    timer.restart();
    for (int i = 0; i < changingReads; ++i) {
        WriteSetting(section, QStringLiteral("LastPath"), QString::number(i));
        total += ReadSetting(section, QStringLiteral("BgNr"), QString()).size();
    }
    std::printf("WriteSetting + ReadSetting after a change: %.1f us per pair (%d pairs)\n",
                microsecondsPerCall(changingReads, timer), changingReads);

    std::printf("peak resident memory: %.1f MiB (checksum %lld)\n", PeakResidentBytes() / 1048576.0,
                static_cast<long long>(total));
    return 0;
}
