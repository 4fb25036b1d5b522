#pragma once

#include "app/ListRow.h"
#include "format/CsvReader.h"
#include "rules/ValmoError.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class OrderDocument;

// The lists that an import can fill.
enum class ImportList
{
    Payments,
    Mandates,
    CompanyMandates,
    Changes
};

// What a column of an imported file can hold.
enum class ImportField
{
    Typ,
    Betalarnummer,
    Belopp,
    Betalningsdatum,
    Periodicitet,
    Antal,
    Referens,
    Clearingnummer,
    Kontonummer,
    Konto,
    Personnummer,
    Beskrivning,
    NyBetaldag,
    Transaktionstyp,
    Count
};

// The name the user sees for a field, e.g. "Betalningsdatum".
QString ImportFieldName(ImportField field);
// The field a column caption names, matched without regard to case and blanks; the main window's
// column captions count too, so an exported list reads back. Count when it names none.
ImportField FieldForCaption(const QString& caption);

// Which column of the file holds which field (-1: none).
class ColumnMapping
{
public:
    ColumnMapping() : m_columns(int(ImportField::Count), -1) {}
    int column(ImportField field) const { return m_columns[int(field)]; }
    bool has(ImportField field) const { return column(field) >= 0; }
    void set(ImportField field, int column) { m_columns[int(field)] = column; }
    bool isEmpty() const;

private:
    QVector<int> m_columns;
};

// A header that names no column, or a set of columns that fits no list: the import cannot start.
class ImportColumnsError : public ValmoError
{
public:
    using ValmoError::ValmoError;
};

// Matches the header's captions; throws ImportColumnsError when a field is named twice.
ColumnMapping MatchColumns(const QStringList& header);
// The list the mapped columns fill. Throws ImportColumnsError when they fit none, naming the
// columns that each list takes.
ImportList ImportListFor(const ColumnMapping& mapping, bool privateService);
// The columns each list takes, for messages.
QString KnownColumnsText();

// One failing field of a row: the file's line, the column as the file names it, the message.
struct ImportFinding
{
    int line = 0;
    QString column;
    QString message;
};

struct ImportResult
{
    ImportList list = ImportList::Payments;
    QVector<ListRow> rows;
    QStringList codes; // the record code of each row, for the cancellations and changes
    QList<ImportFinding> findings;
    bool succeeded() const { return findings.isEmpty(); }
};

// How amounts go into the rows: grouped as the dialogs show them ("1 250,00"), or without grouping
// as the reader gives them ("1250,00").
enum class AmountForm
{
    Grouped,
    Plain
};

// Called now and then with the records done so far; false stops the import.
using ImportProgress = std::function<bool(int done, int total)>;

// Turns every record into a row as its entry dialog would, and checks it with the dialog's
// rules. When any row fails, findings lists every failing field in line order and rows is empty:
// an import is all or nothing. Throws ImportColumnsError (see ImportListFor).
ImportResult ImportRows(const CsvTable& table, const ColumnMapping& mapping, bool privateService,
                        const QLocale& locale = QLocale(), const ImportProgress& progress = {},
                        AmountForm amountForm = AmountForm::Grouped);

// Appends the rows to the end of their list in one step (the views are told once).
void AppendImportedRows(OrderDocument& document, const ImportResult& result);
