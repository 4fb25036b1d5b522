#pragma once

#include "app/ListSelection.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class OrderDocument;
class RowList;

// The rows of one of the document's lists.
const RowList& ListRows(const OrderDocument& document, ListId list);
// The column captions of a list as the main window shows them; the payer column is called
// "Bankgironummer" under the service Företag.
QStringList ListCaptions(ListId list, bool privateService);

// The name of a list as the window shows it over the list.
QString ListName(ListId list);

// The list as CSV for spreadsheets: the captions as header, semicolons, UTF-8 with a byte-order
// mark, CR LF, the texts as the list shows them. The import reads it back unchanged.
QByteArray ListToCsv(const OrderDocument& document, ListId list);
// Appends one line of fields in the export's form: semicolons, quotes where needed, CR LF.
void AppendCsvLine(QString& out, const QStringList& fields);
// Writes the CSV to a new file that replaces path only once it is complete. Throws ValmoError.
void ExportListFile(const QString& path, const OrderDocument& document, ListId list);
