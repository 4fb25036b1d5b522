#include "rules/PersonNumbers.h"

#include "rules/Extra.h"

namespace {

const int SamordningDayOffset = 60;
const int FirstOrganisationMonth = 20;

int twoDigits(const QString& digits, int pos)
{
    return digits.mid(pos, 2).toInt();
}

int birthDay(int dayPart)
{
    return dayPart > SamordningDayOffset ? dayPart - SamordningDayOffset : dayPart;
}

// The latest year ending in yy whose month and day are not after today, a century earlier for "+".
int fullYear(int yy, int month, int day, bool hundredOrOlder, const QDate& today)
{
    int year = today.year() - (((today.year() - yy) % 100) + 100) % 100;
    if (year == today.year() && (month > today.month() || (month == today.month() && day > today.day())))
        year -= 100;
    return hundredOrOlder ? year - 100 : year;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Six or eight digits, an optional separator, four digits: the digits and the separator.
bool splitShape(QStringView text, QString& digits, QChar& separator)
{
    const qsizetype separatorAt = text.size() - 5;
    const bool separated = (text.size() == 11 || text.size() == 13) &&
                           (text[separatorAt] == QLatin1Char('-') || text[separatorAt] == QLatin1Char('+') ||
                            text[separatorAt] == QLatin1Char(' '));
    if (!separated && text.size() != 10 && text.size() != 12)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (separated && i == separatorAt)
            continue;
        if (!isDigit(text[i]))
            return false;
        digits.append(text[i]);
    }
    separator = separated ? text[separatorAt] : QChar();
    return true;
}

} // namespace

QString IdentityNumber::displayForm() const
{
    if (kind != Kind::Person)
        return QString();
    return digits.left(8) + QLatin1Char('-') + digits.mid(8);
}

IdentityNumber ParseIdentityNumber(const QString& text, const QDate& today)
{
    IdentityNumber number;
    QChar separator;
    QString given;
    if (!splitShape(SpacesTrimmed(text), given, separator))
        return number;
    const QString ten = given.right(10);
    const bool organisation = twoDigits(ten, 2) >= FirstOrganisationMonth &&
                              (given.size() == 10 || given.startsWith(QLatin1String("00")));
    if (organisation) {
        number.kind = IdentityNumber::Kind::Organisation;
        number.digits = QStringLiteral("00") + ten;
        return number;
    }
    number.kind = IdentityNumber::Kind::Person;
    if (given.size() == 12) {
        number.digits = given;
        return number;
    }
    const int year = fullYear(twoDigits(ten, 0), twoDigits(ten, 2), birthDay(twoDigits(ten, 4)),
                              separator == QLatin1Char('+'), today);
    number.digits = QStringLiteral("%1").arg(year / 100, 2, 10, QLatin1Char('0')) + ten;
    return number;
}

QDate PersonNumberDate(const IdentityNumber& number)
{
    if (number.kind != IdentityNumber::Kind::Person)
        return QDate();
    return QDate(number.digits.left(4).toInt(), twoDigits(number.digits, 4),
                 birthDay(twoDigits(number.digits, 6)));
}
