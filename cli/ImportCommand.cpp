#include "cli/ImportCommand.h"

#include "app/OrderDocument.h"
#include "cli/DocumentJson.h"
#include "cli/InputFile.h"
#include "format/CsvReader.h"
#include "format/PayerImport.h"
#include "rules/QuotedText.h"
#include "settings/SettingsStore.h"

#include <QFile>

#include <cstdio>

namespace {

void printError(const QString& text)
{
    const QByteArray bytes = (QuotedText::EscapeControls(text) + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// Messages of the rules may hold a line end; each finding stays on a line of its own.
QString oneLine(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String(" "))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

int RunImportCommand(const QString& path, const std::optional<QString>& service)
{
    RequireInputFile(path);
    const bool privateService = service ? ParseServiceName(*service) : SettingsStore::readPrivateService();
    const CsvTable table = ReadCsvFile(path);
    // Amounts in the form read prints them, so import and read give the same JSON.
    const ImportResult result =
        ImportRows(table, MatchColumns(table.header), privateService, QLocale(), {}, AmountForm::Plain);
    if (!result.succeeded()) {
        for (const ImportFinding& finding : result.findings)
            printError(QStringLiteral("%1:%2: %3: %4")
                           .arg(path)
                           .arg(finding.line)
                           .arg(finding.column, oneLine(finding.message)));
        return 1;
    }
    OrderDocument document;
    document.FillMakTexts();
    document.PrivateService = privateService;
    AppendImportedRows(document, result);
    QFile out;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    WriteDocumentJson(out, document, {});
    return 0;
}
