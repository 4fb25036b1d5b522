#pragma once

#include "format/Report.h"

#include <QByteArray>
#include <QString>

// Reads a report file from the bank into reports, one per section.
//
// A section begins with an opening record: "01AUTOGIRO" (new layout), "01" with a date and
// "AUTOGIRO9900" and a title, or "01"/"51" with a date, "9900" and the bankgiro number (old layout;
// mandate advice and e-mandates). An extract of the mandate register has no opening record: every
// line begins with the bankgiro number, the payer's identity number and the payer number. The kind
// is taken from the opening record's name and, where that names none, from the first record.
//
// Every line is kept: a record the kind does not know is listed with its line number, and a field
// that cannot be read is named in a warning. The totals record of each section is checked against
// the items, counts and amounts (ReportTotalsCheck). Lines are read as order files are: a line feed
// ends a line, a lone carriage return is dropped, Ctrl-Z ends the text; Windows-1252.
class ReportParser
{
public:
    static ReportFile parse(const QByteArray& bytes);
    // False when the file cannot be read; error then holds the Swedish reason.
    static bool parseFile(const QString& path, ReportFile& result, QString& error);
};
