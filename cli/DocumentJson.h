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

// Fills the (empty) document from JSON: the four lists as arrays of column texts and MakCodes
// running parallel to MakList. Returns the "service" member, or an empty text when it is absent.
// "openingRecords" is ignored.
QString DocumentFromJson(const QByteArray& json, OrderDocument& document);

// The document as JSON, rows as arrays of their column texts, caption first. Streams to out.
void WriteDocumentJson(QIODevice& out, const OrderDocument& document,
                       const QList<OpeningRecordEntry>& openingRecords);
// What read prints for a file the editor would show instead: the members in the documented order.
QByteArray ShownInsteadJson(const QString& message, int line);
QByteArray DocumentToJson(const OrderDocument& document, const QList<OpeningRecordEntry>& openingRecords);
