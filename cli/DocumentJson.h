#pragma once

#include "rules/RowChecks.h"
#include "rules/ValmoError.h"

#include <QByteArray>
#include <QList>
#include <QString>

class OrderDocument;
class QIODevice;

// A JSON document that is not in the form the command-line tool reads.
class DocumentJsonError : public ValmoError
{
public:
    using ValmoError::ValmoError;
};

// The service type as the JSON document and the settings name it.
QString ServiceName(bool privateService);
// "Privat" or "Företag"; anything else is refused with DocumentJsonError.
bool ParseServiceName(const QString& name);

// Where the rows of a JSON document stand, and its amounts that are not in the JSON form.
struct JsonRowPlaces
{
    RowLines lines; // the line of the JSON text on which each row begins
    QList<RowProblem> problems;
};

// Fills the (empty) document from JSON: the four lists as arrays of column texts and MakCodes
// running parallel to MakList. Amounts are read in the JSON form (JsonAmount.h) and held in the
// row form of the user's locale. Returns the "service" member, or an empty text when it is
// absent. "openingRecords" is ignored. An amount not in the JSON form is kept as it stands and
// listed in places.problems.
QString DocumentFromJson(const QByteArray& json, OrderDocument& document, JsonRowPlaces& places);
// As above, reading the document from the device a chunk at a time.
QString DocumentFromJson(QIODevice& json, OrderDocument& document, JsonRowPlaces& places);
// As above, refusing an amount not in the JSON form with DocumentJsonError.
QString DocumentFromJson(const QByteArray& json, OrderDocument& document);
// Every finding that keeps write from writing the document, by line: the amounts not in the JSON
// form, and what the row checks find (once per field).
QList<RowProblem> CheckJsonDocumentRows(const OrderDocument& document, const JsonRowPlaces& places);

// The document as JSON, rows as arrays of their column texts, caption first, amounts in the JSON
// form. Streams to out.
void WriteDocumentJson(QIODevice& out, const OrderDocument& document,
                       const QList<OpeningRecordEntry>& openingRecords);
// What read prints for a file the editor would show instead: the members in the documented order.
QByteArray ShownInsteadJson(const QString& message, int line);
QByteArray DocumentToJson(const OrderDocument& document, const QList<OpeningRecordEntry>& openingRecords);
