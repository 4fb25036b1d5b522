#pragma once

#include "format/Report.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>

// The columns in which a report's items are shown, exported and printed. The window and
// `valmo-cli report --csv` share them, so a CSV file has the same columns as the table.
namespace ReportTable {

enum Column
{
    LineColumn,
    RecordColumn,
    DescriptionColumn,
    PayerColumn,
    DateColumn,
    AmountColumn,
    OutcomeColumn,
    CodesColumn,
    ReferenceColumn,
    DetailsColumn,
    ColumnCount
};

QString header(int column);
// The text of a cell. Amounts follow the locale, grouped for the eye or plain for a spreadsheet.
QString cell(const ReportItem& item, int column, const QLocale& locale, bool grouped);
// "0 Godkänd betalning, ...; 32 Nytt Medgivande": each code with its meaning ("okänd kod" for an
// unknown one, "(utgått)" after the former meaning of a retired one).
QString codesText(const ReportItem& item);
QString detailsText(const ReportItem& item);

// The items as CSV: UTF-8 with a byte-order mark, semicolons, one header row, CR LF line ends; a
// cell with a semicolon, a quote or a line break is quoted. With sources, a last column "Underlag"
// holds the text of each item's line in it.
QByteArray csv(const QList<const ReportItem*>& items, const QLocale& locale,
               const QHash<int, QString>* sources = nullptr);

} // namespace ReportTable
