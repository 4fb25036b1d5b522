// libFuzzer target: any bytes as the CSV file of `valmo-cli import`, taken the whole way a user
// takes it: import, write, check and read. What the import accepts must pass the checks of write,
// be written without a failure, pass the checks of check in the file written, and read back as the
// same texts: the JSON of read equals the JSON of import (blanks at the end of a reference aside,
// which the record's blank fill cannot tell apart), and is written again as the same bytes. A
// crash, a sanitizer report or a broken step fails the run.

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "cli/DocumentJson.h"
#include "format/CsvReader.h"
#include "format/OpeningRecordPolicy.h"
#include "format/OrderFileReader.h"
#include "format/OrderFileWriter.h"
#include "format/PayerImport.h"
#include "rules/Check.h"
#include "rules/RowChecks.h"

#include <QBuffer>
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

class AcceptingPolicy : public OpeningRecordPolicy
{
public:
    bool acceptOpeningRecord(const OpeningRecord&) override { return true; }
};

// Names the step that broke, with what it saw, before the run stops.
void require(bool condition, const char* step, const QByteArray& detail = QByteArray())
{
    if (condition)
        return;
    std::fprintf(stderr, "CsvImportFuzzer: %s\n%s\n", step, detail.constData());
    std::abort();
}

QByteArray findingsText(const QList<RowProblem>& problems)
{
    QByteArray text;
    for (const RowProblem& problem : problems)
        text += QByteArray::number(problem.line) + ": " + problem.column.toUtf8() + ": " +
                problem.message.toUtf8() + '\n';
    return text;
}

// The document import prints, or nothing when the import refuses the file.
bool importDocument(const QByteArray& bytes, bool privateService, OrderDocument& document)
{
    try {
        const CsvTable table = ParseCsv(DecodeCsvText(bytes));
        const ImportResult result =
            ImportRows(table, MatchColumns(table.header), privateService, QLocale(), {}, AmountForm::Plain);
        if (!result.succeeded())
            return false;
        document.FillMakTexts();
        document.PrivateService = privateService;
        AppendImportedRows(document, result);
        return true;
    } catch (const ValmoError&) {
        return false; // not CSV, or columns that fit no list
    }
}

// The order file write makes of the document.
QByteArray writtenFile(const OrderDocument& document)
{
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    try {
        WriteOrderFile(file, document, {QStringLiteral("123456"), QStringLiteral("12345674")},
                       FixedClock(CurrentDate()));
    } catch (const ValmoError& error) {
        require(false, "the writer refuses a row the checks pass", error.text().toUtf8());
    }
    return file.data();
}

// The cancellations and changes in the order the file keeps them: the mandates' cancellations
// stand in the mandate section, ahead of the changes of payments, whatever their place in the list.
void putInFileOrder(QJsonObject& document)
{
    const QJsonArray rows = document.value(QStringLiteral("MakList")).toArray();
    const QJsonArray codes = document.value(QStringLiteral("MakCodes")).toArray();
    QJsonArray orderedRows;
    QJsonArray orderedCodes;
    for (const bool mandates : {true, false}) {
        for (qsizetype i = 0; i < rows.size() && i < codes.size(); ++i) {
            if ((codes[i].toString() == RowTexts::mandateCancellationCode()) == mandates) {
                orderedRows.append(rows[i]);
                orderedCodes.append(codes[i]);
            }
        }
    }
    document[QStringLiteral("MakList")] = orderedRows;
    document[QStringLiteral("MakCodes")] = orderedCodes;
}

// The JSON of a document as the file keeps it, with the blanks at the end of each reference taken
// away: the record fills the reference's field with blanks, so "Ref" and "Ref " are the same bytes
// in the file, and the import keeps the text as the user typed it.
QByteArray withoutReferencePadding(const QByteArray& json)
{
    QJsonObject document = QJsonDocument::fromJson(json).object();
    putInFileOrder(document);
    for (const QString list : {QStringLiteral("BtuList"), QStringLiteral("MakList")}) {
        QJsonArray rows = document.value(list).toArray();
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QJsonArray row = rows[i].toArray();
            constexpr int ReferenceColumn = 6;
            if (row.size() > ReferenceColumn) {
                QString reference = row[ReferenceColumn].toString();
                while (reference.endsWith(QLatin1Char(' ')))
                    reference.chop(1);
                row[ReferenceColumn] = reference;
            }
            rows[i] = row;
        }
        document[list] = rows;
    }
    return QJsonDocument(document).toJson();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    OrderDocument imported;
    if (!importDocument(bytes, size % 2 == 0, imported))
        return 0;

    // import prints JSON; write reads it and checks its rows.
    const QByteArray json = DocumentToJson(imported, {});
    OrderDocument document;
    document.FillMakTexts();
    JsonRowPlaces places;
    try {
        document.PrivateService = ParseServiceName(DocumentFromJson(json, document, places));
    } catch (const ValmoError& error) {
        require(false, "write refuses the JSON of import", error.text().toUtf8() + '\n' + json);
    }
    const QList<RowProblem> writeFindings = CheckJsonDocumentRows(document, places);
    require(writeFindings.isEmpty(), "write finds fault with an imported row",
            findingsText(writeFindings) + json);

    QBuffer file;
    file.setData(writtenFile(document));

    OrderDocument again;
    again.FillMakTexts();
    again.PrivateService = document.PrivateService;
    AcceptingPolicy policy;
    OrderFileReader reader(again, policy);
    RowLines lines;
    reader.recordRowLines(lines);
    const ReadVerdict verdict = reader.read(file.data());
    require(verdict.loaded(), "the file written does not read back", file.data());
    const QList<RowProblem> checkFindings = CheckDocumentRows(again, lines, {});
    require(checkFindings.isEmpty(), "check finds fault with the file written",
            findingsText(checkFindings) + file.data());
    const QByteArray readJson = DocumentToJson(again, {});
    require(withoutReferencePadding(readJson) == withoutReferencePadding(json),
            "read gives other texts than import", json + "\n--- read:\n" + readJson);
    require(writtenFile(again) == file.data(), "the document read is written otherwise", file.data());
    return 0;
}
