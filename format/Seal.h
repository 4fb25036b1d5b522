#pragma once

#include "format/SealKey.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>

// Bankgirot's seal (förändringsskydd) with HMAC on a whole file of 80-character records.
//
// A sealed file is the order file between two records of its own:
//   seal opening record  "00", the seal date yymmdd, "HMAC", blanks to 80
//   ... the order records, unchanged ...
//   seal record          "99", the same date, the key check value (32), the MAC (32), blanks to 80
// The MAC is HMAC-SHA256 with the key over the normalised bytes of everything from the seal opening
// record up to the seal record, cut to its first 128 bits and written as 32 upper-case hexadecimal
// characters. Normalising drops CR and LF, keeps bytes 32-126, turns É Ä Ö Å Ü é ä ö å ü
// (Windows-1252) into @ [ \ ] ^ ` { | } ~ and every other byte into 0xC3.
namespace Seal {

QByteArray Normalised(QByteArrayView bytes);
// The MAC of bytes as they are in the file: they are normalised first.
QString Mac(QByteArrayView bytes, const SealKey& key);

QByteArray OpeningRecord(const QDate& date);
QByteArray SealRecord(const QDate& date, const SealKey& key, const QString& mac);

// orderBytes between a seal opening record and a seal record dated date, every record ending in
// CR LF. A last line without its line end gets one.
QByteArray SealedFile(QByteArrayView orderBytes, const SealKey& key, const QDate& date);

// What a file's seal records say, found without a key.
struct Contents
{
    enum class State
    {
        Unsealed, // no seal opening record: orderBytes is the whole file
        Sealed,   // both seal records found
        Damaged   // a seal opening record without a readable seal record at the end
    };
    State state = State::Unsealed;
    QByteArray orderBytes;   // the file without its seal records
    QByteArray coveredBytes; // what the MAC covers: the seal opening record and the order records
    QDate date;
    QString keyCheckValue;
    QString mac;
    int linesBefore = 0; // lines of the file before the first order record (the opening record)
    // Text after the seal record, which the seal does not cover; line ends and Ctrl-Z alone are
    // not text. The line it begins on, whether a Ctrl-Z comes before it, and that line's start.
    bool textAfterSeal = false;
    int textAfterSealLine = 0;
    bool textAfterEndOfFile = false;
    QByteArray textAfterSealStart;
};

// True when the file begins with a seal opening record. Needs the first 12 bytes only.
bool BeginsWithSeal(QByteArrayView start);
Contents Read(const QByteArray& fileBytes);

enum class Check
{
    Matches,
    OtherKey, // sealed with a key whose check value differs from the key given
    Changed,  // the MAC does not match the contents
    Damaged,
    TextAfterSeal, // something follows the seal record; the seal cannot vouch for it
    Unsealed
};
Check Verify(const Contents& contents, const SealKey& key);
// The Swedish sentence for a check that did not match, without a question.
QString CheckText(Check check, const Contents& contents);

} // namespace Seal
