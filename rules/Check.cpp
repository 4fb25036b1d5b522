#include "rules/Check.h"

#include "rules/Extra.h"
#include "rules/ValmoError.h"
#include "rules/Win1252.h"

#include <cmath>

namespace {

int accountWidth(int clearing)
{
    struct Range
    {
        int first;
        int last;
        int width;
    };
    static const Range ranges[] = {
        {9180, 9199, 10}, {8000, 8999, 10}, {9500, 9549, 10}, {9960, 9969, 10}, {9300, 9349, 10},
        {1000, 1099, 10}, {3300, 3300, 10}, {3782, 3782, 10}, {6000, 6999, 9},
    };
    for (const Range& range : ranges) {
        if (clearing >= range.first && clearing <= range.last)
            return range.width;
    }
    return 7;
}

int twoDigitNumber(const QString& digits, int pos)
{
    return digits.mid(pos, 2).toInt();
}

} // namespace

bool Mod10Valid(const QString& digits)
{
    int sum = 0;
    int weight = 1;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] < QLatin1Char('0') || digits[i] > QLatin1Char('9'))
            return false;
        const int product = (digits[i].unicode() - '0') * weight;
        sum += product / 10 + product % 10;
        weight = weight == 1 ? 2 : 1;
    }
    return sum % 10 == 0;
}

QString CheckBankgiroNumber(const QString& text)
{
    const QString digits = DigitsOnly(text);
    if (digits.size() < 7 || digits.size() > 8 || !Mod10Valid(digits))
        return QStringLiteral("Felaktigt Bankgironummer");
    return QString();
}

bool IsPersonNumber(const QString& text)
{
    const QString digits = DigitsOnly(text);
    if (digits.size() == 10)
        return twoDigitNumber(digits, 2) <= 12;
    if (digits.size() == 12) {
        if (!digits.startsWith(QLatin1String("00")))
            return true;
        return twoDigitNumber(digits, 4) <= 12;
    }
    return false;
}

QString CheckPersonNumber(const QString& text)
{
    if (!IsPersonNumber(text))
        return QString();
    const int century = StrToInt(text.mid(0, 2));
    const int month = StrToInt(text.mid(4, 2));
    const int day = StrToInt(text.mid(6, 2));
    if ((century != 19 && century != 20) || month > 12 || day > 31)
        return QStringLiteral("Felaktigt personnummer");
    return QString();
}

QString FormatPersonNumber(const QString& field)
{
    if (IsPersonNumber(field))
        return field.left(8) + QLatin1Char('-') + field.mid(8, 4);
    return field.mid(2);
}

QString CheckClearingNumber(const QString& text)
{
    const qsizetype count = DigitsOnly(text).size();
    if (count < 4 || count > 5)
        return QStringLiteral("Felaktigt clearingnummer");
    return QString();
}

QString CheckClearingAndAccount(const QString& clearingAndAccount)
{
    const QString digits = StripLeadingZeros(DigitsOnly(clearingAndAccount), false);
    const QString clearing = digits.left(4);
    const QString account = digits.mid(4);
    if (clearing.size() != 4)
        return QStringLiteral("Felaktigt clearingnummer");
    if (account.size() < 7 || account.size() > 12)
        return QStringLiteral("Felaktigt kontonummer");
    return QString();
}

QString FormatClearingAccount(const QString& clearingAndAccount)
{
    const QString digits = StripLeadingZeros(DigitsOnly(clearingAndAccount), false);
    const QString clearing = digits.left(4);
    const int clearingNumber = StrToInt(clearing);
    QString account = StripLeadingZeros(digits.mid(4), false);
    const int width = accountWidth(clearingNumber);
    if (account.size() < width)
        account.prepend(QString(width - account.size(), QLatin1Char('0')));
    return clearing + QLatin1Char('-') + account;
}

QString CheckPayerNumber(const QString& text)
{
    if (text.isEmpty() || text.size() > 16)
        return QStringLiteral("Felaktigt betalarnummer");
    return QString();
}

QString CheckAmount(const QString& text, const QLocale& locale)
{
    const QString notNumeric = QStringLiteral("Beloppet är inte numeriskt");
    double value = 0;
    try {
        value = StrToFloat(text, locale);
    } catch (const ConversionError&) {
        return notNumeric;
    }
    const double hundredfold = std::nearbyint(value * 100.0); // ties to even
    if (!(std::fabs(hundredfold) < 9223372036854775808.0))
        return notNumeric;
    const qint64 ore = qint64(hundredfold);
    if (ore < 0)
        return QStringLiteral("Beloppet får inte vara negativt");
    if (ore > 9999999999LL)
        return QStringLiteral("Beloppet är för stort");
    return QString();
}

QString CheckCustomerNumber(const QString&)
{
    return QString();
}

QString CheckEncodable(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (UnicodeToWin1252(text[i].unicode()) >= 0)
            continue;
        // A character outside the Basic Multilingual Plane is a surrogate pair: name it whole.
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        return QStringLiteral(
                   "Tecknet \u201D%1\u201D kan inte sparas i en Autogirofil. Skriv texten utan det.")
            .arg(text.mid(i, pair ? 2 : 1));
    }
    return QString();
}
