#include "format/OrderFileReader.h"

#include "app/OrderDocument.h"
#include "format/OrderLineReader.h"
#include "format/RecordParsers.h"
#include "progress/Progress.h"
#include "rules/RowChecks.h"
#include "rules/ValmoError.h"

#include <QBuffer>

namespace {

using Outcome = ReadVerdict::Outcome;

// The lines read before the lists are given room for the rest of the file.
constexpr int LinesBeforeReserving = 4096;

bool startsWith(QStringView line, char first, char second)
{
    return line.size() >= 2 && line[0] == QLatin1Char(first) && line[1] == QLatin1Char(second);
}

// Hands one line to its parser by the record code. Returns Loaded when the line was taken.
Outcome dispatch(RecordParsers& parsers, QStringView line, int lineNumber)
{
    if (startsWith(line, '0', '1'))
        return parsers.parseOpeningRecord(line, lineNumber);
    if (startsWith(line, '0', '3') || (!line.isEmpty() && line[0] == QLatin1Char('2'))) {
        parsers.parseCancellation(line);
        return Outcome::Loaded;
    }
    if (startsWith(line, '0', '4'))
        return parsers.parseMandate(line);
    if (startsWith(line, '3', '2') || startsWith(line, '8', '2')) {
        parsers.parsePayment(line);
        return Outcome::Loaded;
    }
    if (startsWith(line, '5', '1'))
        return Outcome::IncomingMandates;
    return Outcome::UnsupportedContent;
}

QString messageFor(Outcome outcome)
{
    switch (outcome) {
    case Outcome::ReportFile:
        return OrderFileReader::reportFileMessage();
    case Outcome::IncomingMandates:
        return OrderFileReader::incomingMandatesMessage();
    case Outcome::UnsupportedContent:
        return OrderFileReader::unsupportedContentMessage();
    case Outcome::DeviceFailed:
        return OrderFileReader::deviceFailedMessage();
    default:
        return QString();
    }
}

bool isBlank(QStringView line)
{
    for (const QChar c : line) {
        if (c != QLatin1Char(' '))
            return false;
    }
    return true;
}

ReadVerdict stopped(Outcome outcome, int lineNumber, QString message)
{
    ReadVerdict verdict;
    verdict.outcome = outcome;
    verdict.lineNumber = lineNumber;
    verdict.message = std::move(message);
    return verdict;
}

} // namespace

OrderFileReader::OrderFileReader(OrderDocument& document, OpeningRecordPolicy& policy)
    : m_document(document), m_policy(policy)
{
}

QString OrderFileReader::reportFileMessage()
{
    return QStringLiteral("Detta är en återrapporteringsfil. Efterssom sådana inte kan editeras kommer den "
                          "öppnas i visningsläge.");
}

QString OrderFileReader::incomingMandatesMessage()
{
    return QStringLiteral(
        "Detta är en ankommande fil med information om E-medgivanden. Den kommer öppnas för visning.");
}

QString OrderFileReader::unsupportedContentMessage()
{
    return QStringLiteral("Filen innehåller information som inte kan hanteras av det här programmet.");
}

QString OrderFileReader::unreadableLineMessage(const QString& conversionText, int lineNumber)
{
    return QStringLiteral("%1\nRad %2 i filen kan inte läsas. Filen öppnas i visningsläge.")
        .arg(conversionText)
        .arg(lineNumber);
}

QString OrderFileReader::tooLongText()
{
    return QStringLiteral("Raden är längre än 80 tecken och har annat än blanksteg efter tecken 80.");
}

QString OrderFileReader::serviceName(bool privateService)
{
    return privateService ? QStringLiteral("Privat") : QStringLiteral("Företag");
}

QString OrderFileReader::serviceMismatchMessage(bool neededPrivateService)
{
    return QStringLiteral(
               "Filen innehåller medgivanden för tjänsten \"%1\", men tjänsten är inställd på \"%2\".")
        .arg(serviceName(neededPrivateService), serviceName(!neededPrivateService));
}

QString OrderFileReader::utf8Notice()
{
    return QStringLiteral("Filen är sparad som UTF-8 och har lästs som UTF-8. När du sparar skrivs den "
                          "som Windows-1252, som Bankgirot kräver.");
}

QString OrderFileReader::deviceFailedMessage()
{
    return QStringLiteral("Filen kunde inte läsas");
}

ReadVerdict OrderFileReader::read(QIODevice& device)
{
    // The encoding is decided on the whole text, so a device that cannot go back is read first.
    if (device.isSequential())
        return read(device.readAll());
    const bool utf8 = ScanTextKind(device) == TextKind::Utf8;
    ReadVerdict verdict = readLines(device, utf8);
    verdict.readAsUtf8 = utf8;
    return verdict;
}

ReadVerdict OrderFileReader::readLines(QIODevice& device, bool utf8)
{
    m_document.clearLists();
    if (m_rowLines)
        *m_rowLines = RowLines();
    const qint64 bytes = device.isSequential() ? 0 : device.bytesAvailable();
    RecordParsers parsers(m_document, m_policy);
    OrderLineReader lines(device,
                          utf8 ? OrderLineReader::Encoding::Utf8 : OrderLineReader::Encoding::Windows1252);
    ReadVerdict verdict;
    // Blank lines are held back: at the end of the file they are ignored, before a record the
    // first of them is a line the program does not handle.
    int firstBlankLine = 0;
    while (lines.next()) {
        if (lines.tooLong()) {
            verdict = stopped(Outcome::LineUnreadable, lines.lineNumber(),
                              unreadableLineMessage(tooLongText(), lines.lineNumber()));
            break;
        }
        if (isBlank(lines.line())) {
            if (firstBlankLine == 0)
                firstBlankLine = lines.lineNumber();
            continue;
        }
        if (firstBlankLine != 0) {
            verdict = stopped(Outcome::UnsupportedContent, firstBlankLine, unsupportedContentMessage());
            break;
        }
        Outcome outcome = Outcome::Loaded;
        try {
            outcome = dispatch(parsers, lines.line(), lines.lineNumber());
        } catch (const ConversionError& error) {
            verdict = stopped(Outcome::LineUnreadable, lines.lineNumber(),
                              unreadableLineMessage(error.text(), lines.lineNumber()));
            break;
        } catch (const ValmoError& error) {
            verdict = stopped(Outcome::SettingsFailed, lines.lineNumber(), error.text());
            break;
        }
        if (outcome == Outcome::ServiceMismatch) {
            verdict =
                stopped(outcome, lines.lineNumber(), serviceMismatchMessage(!m_document.PrivateService));
            verdict.neededPrivateService = !m_document.PrivateService;
            break;
        }
        if (outcome != Outcome::Loaded) {
            verdict = stopped(outcome, lines.lineNumber(), messageFor(outcome));
            break;
        }
        if (m_rowLines)
            recordRowLine(lines.line(), lines.lineNumber());
        if (lines.lineNumber() == LinesBeforeReserving)
            reserveRows(bytes);
        if (m_progress && lines.lineNumber() % LinesPerStep == 0 && !m_progress->carryOn(device.pos())) {
            verdict = stopped(Outcome::Cancelled, lines.lineNumber(), QString());
            break;
        }
    }
    if (verdict.loaded() && lines.failed())
        verdict = stopped(Outcome::DeviceFailed, lines.lineNumber() + 1, messageFor(Outcome::DeviceFailed));
    if (!verdict.loaded()) {
        m_document.clearLists();
        if (m_rowLines)
            *m_rowLines = RowLines();
    }
    return verdict;
}

// Once the first lines show what share of the records each list takes, room for as many rows as
// the whole file would give at that share, so that no list of a large file is copied again and
// again as it grows.
void OrderFileReader::reserveRows(qint64 bytes)
{
    const qint64 records = bytes / (OrderLineReader::MaxRecordLength + 1);
    if (records <= LinesBeforeReserving)
        return;
    const auto reserve = [&](auto& list, QVector<int>* lines) {
        const qint64 share = list.count() * records / LinesBeforeReserving;
        const int rows = int(qMin<qint64>(share + share / 16, 1 << 24));
        list.reserve(rows);
        if (lines)
            lines->reserve(rows);
    };
    reserve(m_document.BtuList, m_rowLines ? &m_rowLines->btu : nullptr);
    reserve(m_document.MdgList, m_rowLines ? &m_rowLines->mdg : nullptr);
    reserve(m_document.MdgListComp, m_rowLines ? &m_rowLines->mdgComp : nullptr);
    reserve(m_document.MakList, m_rowLines ? &m_rowLines->mak : nullptr);
}

// Every line that is taken adds at most one row, to the list its record code names.
void OrderFileReader::recordRowLine(QStringView line, int lineNumber)
{
    if (startsWith(line, '0', '4'))
        (m_document.PrivateService ? m_rowLines->mdg : m_rowLines->mdgComp).append(lineNumber);
    else if (startsWith(line, '0', '3') || line[0] == QLatin1Char('2'))
        m_rowLines->mak.append(lineNumber);
    else if (startsWith(line, '3', '2') || startsWith(line, '8', '2'))
        m_rowLines->btu.append(lineNumber);
}

ReadVerdict OrderFileReader::read(const QByteArray& bytes)
{
    QByteArray shared = bytes; // shares the data, no copy
    QBuffer buffer(&shared);
    buffer.open(QIODevice::ReadOnly);
    const bool utf8 = ScanTextKind(bytes.constData(), bytes.size()) == TextKind::Utf8;
    ReadVerdict verdict = readLines(buffer, utf8);
    verdict.readAsUtf8 = utf8;
    return verdict;
}
