#pragma once

#include <QDate>
#include <QString>

// An identity number as typed or read: ten or twelve digits, with an optional separator ('-', '+'
// or a blank) before the last four; blanks at both ends are ignored.
struct IdentityNumber
{
    enum class Kind
    {
        Malformed,    // not ten or twelve digits in that shape
        Person,       // a personnummer or samordningsnummer (day plus 60)
        Organisation, // ten digits whose month part is 20 or more, alone or after "00"
    };

    Kind kind = Kind::Malformed;
    // Twelve digits: the century (the given one, or for ten digits the one the date and separator
    // imply) and the ten digits; for an organisation number "00" and the ten digits.
    QString digits;

    // yyyymmdd-nnnn for a person, empty otherwise.
    QString displayForm() const;
    // The last ten digits.
    QString lastTen() const { return digits.mid(2); }
};

// A ten-digit personnummer gets the latest century that does not put the date after today; the
// separator "+" means a hundred years more.
IdentityNumber ParseIdentityNumber(const QString& text, const QDate& today);

// The birth date a person's number stands for (a samordningsnummer's day less 60); invalid when
// there is no such date.
QDate PersonNumberDate(const IdentityNumber& number);
