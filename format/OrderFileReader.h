#pragma once

#include "format/ReadVerdict.h"

#include <QByteArray>
#include <QStringView>

class OpeningRecordPolicy;
class OrderDocument;
class Progress;
class QIODevice;
struct RowLines;

// Reads the bytes of an order file into an OrderDocument. It asks nothing itself and shows nothing:
// the one decision that needs a person, whether the payee's numbers of an opening record are
// accepted, goes through an OpeningRecordPolicy, and the outcome comes back as a ReadVerdict that
// the caller turns into messages.
//
// What read() does:
// - Decides the encoding on the whole text: valid UTF-8 with characters beyond ASCII is read as
//   UTF-8 (readAsUtf8 in the verdict), anything else as Windows-1252.
// - Empties the four lists and the codes, then reads line by line (OrderLineReader: CR LF, LF and
//   CR end a line, Ctrl-Z ends the file; a line over 80 characters with more than blanks past them
//   is refused) and dispatches each line by its record code. Blank lines at the end are ignored;
//   elsewhere a blank line is not handled. The codes:
//     "01"  opening record: a report marker ("9900" at positions 19-22 or 11-14) or a line that
//           begins "01AUTOGIRO" is a report file; AUTOGIRO at positions 11-18 goes to the policy
//           with the customer and bankgiro numbers zero-stripped; any other "01" line is not
//           handled.
//     "03", "2x"  cancellation or change: a MakList row and its code.
//     "04"  mandate: an MdgList row (PrivateService) or an MdgListComp row; a mandate of the other
//           service stops with ServiceMismatch and the service the file needs.
//     "32", "82"  payment order: a BtuList row.
//     "51"  incoming electronic mandates; anything else, an empty line included, is not handled.
// - Rows hold display texts: dates "yyyy-mm-dd", amounts in the reader's form (two decimals, the
//   user's decimal separator, no grouping), numbers without leading zeros, payer bankgiro numbers
//   in display form under the company service. MakTexts must be filled for the descriptions.
// - Stops at the first line that is not taken. The document is then emptied again, so it is either
//   the whole file or nothing; never half a file. The verdict names the outcome, the line (from 1)
//   and the message to show.
// - A field that cannot be converted (a date that is not a date, an amount that is not a number, a
//   cancellation code whose second character is not a digit) gives LineUnreadable with the
//   conversion's text and the line number. A ValmoError thrown by the policy gives SettingsFailed.
// - With a Progress, tells it the bytes read every few thousand lines; once it is cancelled the
//   reading stops with Cancelled and the document is emptied as after any other stop.
// - Leaves every flag of the document alone (Loading, DocModified, CurrentFile, PrivateService is
//   only read): the open command owns them.
//
// Example, reading without questions and listing the opening records:
//     OpeningRecordLog log;
//     const ReadVerdict verdict = OrderFileReader(document, log).read(file);
//     for (const OpeningRecord& r : log.records) ... r.lineNumber, r.customerNumber, r.bankgiroNumber
class OrderFileReader
{
public:
    OrderFileReader(OrderDocument& document, OpeningRecordPolicy& policy);

    // Reads from the device's current position to its end (or Ctrl-Z).
    ReadVerdict read(QIODevice& device);
    // The file line of each row taken is put into lines, list by list, in the order of the rows.
    void recordRowLines(RowLines& lines) { m_rowLines = &lines; }
    // Told the device's position as the reading goes on; it may stop the reading.
    void setProgress(Progress* progress) { m_progress = progress; }
    // The lines read between two steps of the progress.
    static constexpr int LinesPerStep = 8192;
    ReadVerdict read(const QByteArray& bytes);

    // The texts of the messages in a verdict.
    static QString reportFileMessage();
    static QString incomingMandatesMessage();
    static QString unsupportedContentMessage();
    static QString unreadableLineMessage(const QString& conversionText, int lineNumber);
    static QString deviceFailedMessage();
    static QString tooLongText();
    static QString serviceMismatchMessage(bool neededPrivateService);
    static QString serviceName(bool privateService);
    // Told once when a file was read as UTF-8.
    static QString utf8Notice();

private:
    ReadVerdict readLines(QIODevice& device, bool utf8);
    void recordRowLine(QStringView line, int lineNumber);
    void reserveRows(qint64 bytes);

    OrderDocument& m_document;
    OpeningRecordPolicy& m_policy;
    RowLines* m_rowLines = nullptr;
    Progress* m_progress = nullptr;
};
