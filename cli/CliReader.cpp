#include "cli/CliReader.h"

#include "app/OrderDocument.h"
#include "cli/SealCommands.h"
#include "format/OpeningRecordLog.h"
#include "format/OrderFileReader.h"

#include <QFile>

CliReadResult ReadOrderFileForCli(const QString& path, OrderDocument& document)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ValmoError(QStringLiteral("Filen %1 kunde inte öppnas: %2").arg(path, file.errorString()));

    SealedInput records(file);
    OpeningRecordLog log;
    CliReadResult result;
    OrderFileReader reader(document, log);
    reader.recordRowLines(result.rowLines);
    const ReadVerdict verdict = reader.read(records.device());
    if (verdict.outcome == ReadVerdict::Outcome::DeviceFailed)
        throw ValmoError(
            QStringLiteral("Filen %1 kunde inte läsas till slutet: %2").arg(path, file.errorString()));
    if (!verdict.loaded()) {
        result.shownInstead = true;
        result.message = verdict.message;
        result.line = verdict.lineNumber;
        records.shiftLines(result);
        return result;
    }
    for (const OpeningRecord& record : log.records)
        result.openingRecords.append({record.lineNumber, record.customerNumber, record.bankgiroNumber});
    records.shiftLines(result);
    return result;
}
