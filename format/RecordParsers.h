#pragma once

#include "format/ReadVerdict.h"

#include <QLocale>
#include <QString>
#include <QStringView>

#include <array>

class OpeningRecordPolicy;
class TextPiece;
class OrderDocument;

// The four record parsers. Each reads the fields of one line at the positions where the writer
// puts them and appends a row of display texts to its list. Fields beyond the end of a short line
// yield only the characters that are there, but a line that ends inside a number field is
// refused. Conversions that fail throw ConversionError with a Swedish text where the reader words it.
//
// The rows take the form the dialogs give them, so a file that is opened and saved shows the same
// rows: amounts with two decimals and the user's digit grouping, payer numbers without leading
// zeros (with the dash of a seven- or eight-digit number where the dialog puts one), a one-off
// payment with the count 1, references without the blanks that fill their field.
class RecordParsers
{
public:
    RecordParsers(OrderDocument& document, OpeningRecordPolicy& policy);

    // "01": the report test, then the policy for an opening record of the order file's own form.
    // Returns Loaded when reading goes on.
    ReadVerdict::Outcome parseOpeningRecord(QStringView line, int lineNumber);
    // "04". A mandate of the other service type (a private mandate, with account and civic
    // number, under the company service, or a company mandate, blank from position 29, under the
    // private one) is not taken: it returns ServiceMismatch, since a row of this service would
    // lose fields or invent them.
    ReadVerdict::Outcome parseMandate(QStringView line);
    // True when a mandate record has the company layout: nothing from position 29 on.
    static bool isCompanyMandate(QStringView line);
    // "03" and every line whose first character is "2". Codes 25 and 29 carry a reference at
    // positions 59-74.
    void parseCancellation(QStringView line);
    // "32" and "82"
    void parsePayment(QStringView line);

    // An opening record of a report file: "9900" at positions 19-22 or 11-14, or the bank's newer
    // layout that begins "01AUTOGIRO".
    static bool isReportFile(QStringView line);

private:
    void learnAmountForm();
    QStringView amountView(QStringView field, TextPiece& piece) const;
    QString payerText(QStringView field, int position) const;
    QStringView payerView(QStringView field, int position, TextPiece& piece) const;
    const QString& codeText(int code);
    static const QString& immediatePayment();

    OrderDocument& m_document;
    OpeningRecordPolicy& m_policy;
    const QLocale m_locale;
    QString m_negativeSign;
    QString m_decimalPoint;
    QString m_groupSeparator;
    bool m_groupsByThree = false; // the locale writes kronor as ASCII digits in threes
    const bool m_privateService;
    std::array<QString, 11> m_periodTexts; // codes '0'..'9', then every other character
    std::array<QString, 30> m_codeTexts;   // shared code texts, so a MakCodes entry costs no text of its own
};
