#include "cli/CliReader.h"

#include "app/OrderDocument.h"
#include "format/OpeningRecordLog.h"
#include "format/OrderFileReader.h"
#include "format/OrderLineReader.h"
#include "cli/SealCommands.h"

#include <QFile>

namespace {

// The line of each row, in the order the reader appends rows: every line that is taken adds at
// most one row, to the list its record code names.
RowLines rowLinesOf(QIODevice& file, bool privateService)
{
    RowLines lines;
    OrderLineReader reader(file);
    while (reader.next()) {
        const QStringView line = reader.line();
        const int number = reader.lineNumber();
        if (line.startsWith(u"04"))
            (privateService ? lines.mdg : lines.mdgComp).append(number);
        else if (line.startsWith(u"03") || line.startsWith(u'2'))
            lines.mak.append(number);
        else if (line.startsWith(u"32") || line.startsWith(u"82"))
            lines.btu.append(number);
    }
    return lines;
}

} // namespace

CliReadResult ReadOrderFileForCli(const QString& path, OrderDocument& document)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ValmoError(QStringLiteral("Filen %1 kunde inte öppnas: %2").arg(path, file.errorString()));

    SealedInput records(file);
    OpeningRecordLog log;
    const ReadVerdict verdict = OrderFileReader(document, log).read(records.device());
    CliReadResult result;
    if (verdict.outcome == ReadVerdict::Outcome::DeviceFailed)
        throw ValmoError(QStringLiteral("Filen %1 kunde inte läsas till slutet: %2").arg(path, file.errorString()));
    if (!verdict.loaded()) {
        result.shownInstead = true;
        result.message = verdict.message;
        result.line = verdict.lineNumber;
        records.shiftLines(result);
        return result;
    }
    for (const OpeningRecord& record : log.records)
        result.openingRecords.append({record.lineNumber, record.customerNumber, record.bankgiroNumber});
    records.device().seek(0);
    result.rowLines = rowLinesOf(records.device(), document.PrivateService);
    records.shiftLines(result);
    return result;
}
