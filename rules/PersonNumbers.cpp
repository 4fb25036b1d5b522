#include "rules/PersonNumbers.h"

#include <QRegularExpression>

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

} // namespace

QString IdentityNumber::displayForm() const
{
    if (kind != Kind::Person)
        return QString();
    return digits.left(8) + QLatin1Char('-') + digits.mid(8);
}

IdentityNumber ParseIdentityNumber(const QString& text, const QDate& today)
{
    static const QRegularExpression shape(QStringLiteral("\\A *([0-9]{6}|[0-9]{8})([-+ ]?)([0-9]{4}) *\\z"));
    const QRegularExpressionMatch match = shape.match(text);
    IdentityNumber number;
    if (!match.hasMatch())
        return number;
    const QString given = match.captured(1) + match.captured(3);
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
                              match.captured(2) == QLatin1String("+"), today);
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
