#include "format/Seal.h"

#include "rules/QuotedText.h"
#include "rules/Win1252.h"

#include <QMessageAuthenticationCode>

#include <array>

namespace {

constexpr int RecordLength = 80;
constexpr int MacBytes = 16;
const QByteArray SealMethod = QByteArrayLiteral("HMAC");

std::array<char, 256> normalisingTable()
{
    std::array<char, 256> table{};
    for (int byte = 0; byte < 256; ++byte)
        table[size_t(byte)] = byte >= 32 && byte <= 126 ? char(byte) : char(0xC3);
    // É Ä Ö Å Ü é ä ö å ü in Windows-1252.
    const unsigned char letters[] = {0xC9, 0xC4, 0xD6, 0xC5, 0xDC, 0xE9, 0xE4, 0xF6, 0xE5, 0xFC};
    const char replacements[] = "@[\\]^`{|}~";
    for (size_t i = 0; i < sizeof letters; ++i)
        table[letters[i]] = replacements[i];
    return table;
}

QByteArray dateField(const QDate& date)
{
    return date.toString(QStringLiteral("yyMMdd")).toLatin1();
}

QByteArray padded(QByteArray record)
{
    record.append(QByteArray(RecordLength - record.size(), ' '));
    return record;
}

bool allDigits(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c < '0' || c > '9')
            return false;
    }
    return !bytes.isEmpty();
}

bool allHex(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

bool onlyBlanks(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c != ' ')
            return false;
    }
    return true;
}

// A record's text without its line end.
QByteArrayView withoutLineEnd(QByteArrayView line)
{
    while (!line.isEmpty() && (line.back() == '\n' || line.back() == '\r'))
        line.chop(1);
    return line;
}

QDate sealDate(QByteArrayView field)
{
    if (!allDigits(field))
        return QDate();
    // yymmdd of a seal made in this century.
    const auto number = [&](int at) { return (field[at] - '0') * 10 + (field[at + 1] - '0'); };
    return QDate(2000 + number(0), number(2), number(4));
}

bool readSealRecord(QByteArrayView record, Seal::Contents& contents)
{
    if (record.size() < 72 || !record.startsWith("99") || !onlyBlanks(record.sliced(72)))
        return false;
    const QByteArrayView kvv = record.sliced(8, 32);
    const QByteArrayView mac = record.sliced(40, 32);
    if (record.sliced(2, 6) != dateField(contents.date) || !allHex(kvv) || !allHex(mac))
        return false;
    contents.keyCheckValue = QString::fromLatin1(kvv).toUpper();
    contents.mac = QString::fromLatin1(mac).toUpper();
    return true;
}

int lineNumberAt(QByteArrayView file, qsizetype at)
{
    return int(file.first(at).count('\n')) + 1;
}

// Looks at what follows the seal record, from the byte at on, which begins line number line.
void noteTextAfterSeal(const QByteArray& fileBytes, qsizetype at, int line, Seal::Contents& contents)
{
    bool afterEndOfFile = false;
    for (; at < fileBytes.size(); ++at) {
        const char c = fileBytes[at];
        if (c == '\n')
            ++line;
        else if (c == '\x1a')
            afterEndOfFile = true;
        else if (c != '\r')
            break;
    }
    if (at >= fileBytes.size())
        return;
    contents.textAfterSeal = true;
    contents.textAfterSealLine = line;
    contents.textAfterEndOfFile = afterEndOfFile;
    const qsizetype lineEnd = fileBytes.indexOf('\n', at);
    contents.textAfterSealStart =
        fileBytes.mid(at, qMin<qsizetype>(lineEnd < 0 ? fileBytes.size() - at : lineEnd - at,
                                          QuotedText::LongestQuote + 1));
    while (contents.textAfterSealStart.endsWith('\r'))
        contents.textAfterSealStart.chop(1);
}

// The start of a line, as a message quotes it.
QString quotedStart(const QByteArray& start)
{
    const QString text = DecodeWin1252(start.left(QuotedText::LongestQuote));
    return QuotedText::EscapeControls(text) +
           (start.size() > QuotedText::LongestQuote ? QStringLiteral("…") : QString());
}

} // namespace

namespace Seal {

QByteArray Normalised(QByteArrayView bytes)
{
    static const std::array<char, 256> table = normalisingTable();
    QByteArray result;
    result.reserve(bytes.size());
    for (char c : bytes) {
        if (c != '\r' && c != '\n')
            result.append(table[static_cast<unsigned char>(c)]);
    }
    return result;
}

QString Mac(QByteArrayView bytes, const SealKey& key)
{
    QMessageAuthenticationCode code(QCryptographicHash::Sha256, key.bytes());
    // In pieces, so a large file is not normalised into a second copy of itself.
    constexpr qsizetype Chunk = 64 * 1024;
    for (qsizetype at = 0; at < bytes.size(); at += Chunk)
        code.addData(Normalised(bytes.sliced(at, qMin(Chunk, bytes.size() - at))));
    return QString::fromLatin1(code.result().left(MacBytes).toHex().toUpper());
}

QByteArray OpeningRecord(const QDate& date)
{
    return padded("00" + dateField(date) + SealMethod);
}

QByteArray SealRecord(const QDate& date, const SealKey& key, const QString& mac)
{
    return padded("99" + dateField(date) + key.checkValue().toLatin1() + mac.toLatin1());
}

QByteArray SealedFile(QByteArrayView orderBytes, const SealKey& key, const QDate& date)
{
    QByteArray covered = OpeningRecord(date) + "\r\n";
    covered.append(orderBytes);
    if (!orderBytes.isEmpty() && !orderBytes.endsWith('\n'))
        covered.append("\r\n");
    const QString mac = Mac(covered, key);
    return covered + SealRecord(date, key, mac) + "\r\n";
}

bool BeginsWithSeal(QByteArrayView start)
{
    return start.size() >= 12 && start.startsWith("00") && allDigits(start.sliced(2, 6)) &&
           start.sliced(8, 4) == SealMethod;
}

Contents Read(const QByteArray& fileBytes)
{
    Contents contents;
    if (!BeginsWithSeal(fileBytes)) {
        contents.orderBytes = fileBytes;
        return contents;
    }
    contents.state = Contents::State::Damaged;
    contents.linesBefore = 1;
    // The order reader ends the file at a Ctrl-Z, and so does the seal.
    const qsizetype end = fileBytes.contains('\x1a') ? fileBytes.indexOf('\x1a') : fileBytes.size();
    const QByteArrayView file(fileBytes.constData(), end);
    const qsizetype firstLineEnd = file.indexOf('\n');
    const QByteArrayView opening = withoutLineEnd(file.first(firstLineEnd < 0 ? end : firstLineEnd + 1));
    contents.date = sealDate(opening.sliced(2, 6));
    const qsizetype ordersStart = firstLineEnd < 0 ? end : firstLineEnd + 1;
    if (!contents.date.isValid() || !onlyBlanks(opening.sliced(12))) {
        contents.orderBytes = fileBytes.sliced(ordersStart);
        return contents;
    }
    // The seal record is the last line before any Ctrl-Z that reads as one: the orders inside may
    // hold anything. Nothing but line ends, and a Ctrl-Z, may follow it.
    qsizetype recordStart = -1;
    qsizetype recordNext = -1;
    for (qsizetype lineStart = ordersStart; lineStart < end;) {
        const qsizetype lineEnd = file.indexOf('\n', lineStart);
        const qsizetype next = lineEnd < 0 ? end : lineEnd + 1;
        if (file[lineStart] == '9' &&
            readSealRecord(withoutLineEnd(file.sliced(lineStart, next - lineStart)), contents)) {
            recordStart = lineStart;
            recordNext = next;
        }
        lineStart = next;
    }
    if (recordStart < 0) {
        contents.orderBytes = fileBytes.sliced(ordersStart, end - ordersStart);
        contents.coveredBytes = fileBytes.first(end);
        return contents;
    }
    contents.orderBytes = fileBytes.sliced(ordersStart, recordStart - ordersStart);
    contents.coveredBytes = fileBytes.first(recordStart);
    contents.state = Contents::State::Sealed;
    noteTextAfterSeal(fileBytes, recordNext, lineNumberAt(file, recordStart) + 1, contents);
    return contents;
}

Check Verify(const Contents& contents, const SealKey& key)
{
    switch (contents.state) {
    case Contents::State::Unsealed:
        return Check::Unsealed;
    case Contents::State::Damaged:
        return Check::Damaged;
    case Contents::State::Sealed:
        break;
    }
    if (contents.textAfterSeal)
        return Check::TextAfterSeal;
    if (contents.keyCheckValue != key.checkValue())
        return Check::OtherKey;
    return Mac(contents.coveredBytes, key) == contents.mac ? Check::Matches : Check::Changed;
}

QString CheckText(Check check, const Contents& contents)
{
    const QString sealed = contents.date.isValid()
                               ? QStringLiteral(" den %1").arg(contents.date.toString(Qt::ISODate))
                               : QString();
    switch (check) {
    case Check::Matches:
        return QStringLiteral("Sigillet stämmer: filen är oförändrad sedan den förseglades%1.").arg(sealed);
    case Check::OtherKey:
        return QStringLiteral("Filen är förseglad med en annan sigillnyckel än den sparade "
                              "(filens kontrollvärde är %1).")
            .arg(contents.keyCheckValue);
    case Check::Changed:
        return QStringLiteral("Filen har ändrats sedan den förseglades%1: sigillet stämmer inte med "
                              "innehållet.")
            .arg(sealed);
    case Check::Damaged:
        return QStringLiteral("Filen har en sigillstartpost, men sigillposten i slutet av filen saknas "
                              "eller är skadad.");
    case Check::TextAfterSeal:
        return QStringLiteral("Efter sigillposten följer text som sigillet inte omfattar%1, på rad %2: "
                              "\"%3\".")
            .arg(contents.textAfterEndOfFile ? QStringLiteral(" (efter filslutstecknet Ctrl-Z)") : QString())
            .arg(contents.textAfterSealLine)
            .arg(quotedStart(contents.textAfterSealStart));
    case Check::Unsealed:
        break;
    }
    return QStringLiteral("Filen är inte förseglad.");
}

} // namespace Seal
