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
    SettingsStore::setPayeeNumbers({QStringLiteral("012345"), QStringLiteral("1234566")});
    SettingsStore::writePrivateService(false);

    const int reads = 100000;
    QElapsedTimer timer;
    timer.start();
    qsizetype total = 0;
    for (int i = 0; i < reads; ++i)
        total += SettingsStore::bankgiroNumber().size();
    std::printf("ReadSetting, file unchanged: %.2f us per call (%d calls)\n",
                microsecondsPerCall(reads, timer), reads);

    const int changingReads = 100;
    timer.restart();
    for (int i = 0; i < changingReads; ++i) {
        SettingsStore::setLastSaveFolder(QString::number(i));
        total += SettingsStore::bankgiroNumber().size();
    }
    std::printf("WriteSetting + ReadSetting after a change: %.1f us per pair (%d pairs)\n",
                microsecondsPerCall(changingReads, timer), changingReads);

    std::printf("peak resident memory: %.1f MiB (checksum %lld)\n", PeakResidentBytes() / 1048576.0,
                static_cast<long long>(total));
    return 0;
}
