#include "rules/Check.h"

#include "rules/BankAccounts.h"
#include "rules/Extra.h"
#include "rules/PersonNumbers.h"
#include "rules/ValmoError.h"
#include "rules/Win1252.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

const int ClearingLength = 4;
const int SwedbankClearingLength = 5;

int accountWidth(int clearing)
{
    const BankAccountRule* rule = FindBankAccountRule(clearing);
    return rule ? rule->accountLength() : 7;
}

QString personMessage()
{
    return QStringLiteral("Felaktigt personnummer");
}

QString accountMessage()
{
    return QStringLiteral("Felaktigt kontonummer");
}

// The account part padded to its width, after "clearing-".
QString joinClearingAccount(const QString& clearing, const QString& accountDigits)
{
    QString account = StripLeadingZeros(accountDigits, false);
    const int width = accountWidth(clearing.toInt());
    if (account.size() < width)
        account.prepend(QString(width - account.size(), QLatin1Char('0')));
    return clearing + QLatin1Char('-') + account;
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

QDate CurrentDate()
{
    thread_local std::time_t cachedMinute = -1;
    thread_local QDate cachedDate;
    const std::time_t minute = std::time(nullptr) / 60;
    if (minute != cachedMinute) {
        cachedDate = QDate::currentDate();
        cachedMinute = minute;
    }
    return cachedDate;
}

bool IsPersonNumber(const QString& text)
{
    return ParseIdentityNumber(text, CurrentDate()).kind == IdentityNumber::Kind::Person;
}

QString CheckPersonNumber(const QString& text, const QDate& today)
{
    const IdentityNumber number = ParseIdentityNumber(text, today);
    if (number.kind == IdentityNumber::Kind::Organisation)
        return Mod10Valid(number.lastTen()) ? QString() : QStringLiteral("Felaktigt organisationsnummer");
    if (number.kind != IdentityNumber::Kind::Person)
        return personMessage();
    const QStringView century = QStringView(number.digits).left(2);
    const QDate date = PersonNumberDate(number);
    if ((century != u"19" && century != u"20") || !date.isValid() || date > today ||
        !Mod10Valid(number.lastTen()))
        return personMessage();
    return QString();
}

QString NormalizePersonNumber(const QString& text, const QDate& today)
{
    const IdentityNumber number = ParseIdentityNumber(text, today);
    return number.kind == IdentityNumber::Kind::Person ? number.displayForm() : text;
}

QString PersonNumberField(const QString& text, const QDate& today)
{
    const IdentityNumber number = ParseIdentityNumber(text, today);
    return number.kind == IdentityNumber::Kind::Person ? number.digits : DigitsOnly(text);
}

QString FormatPersonNumber(const QString& field)
{
    if (IsPersonNumber(field))
        return field.left(8) + QLatin1Char('-') + field.mid(8, 4);
    return field.mid(2);
}

QString CheckClearingNumber(const QString& text)
{
    const QString digits = DigitsOnly(text);
    const QString bad = QStringLiteral("Felaktigt clearingnummer");
    if (digits.size() == SwedbankClearingLength) {
        // Swedbank writes a check digit of the clearing number after the four digits.
        if (!digits.startsWith(QLatin1Char('8')) || !Mod10Valid(digits))
            return bad;
    } else if (digits.size() != ClearingLength) {
        return bad;
    }
    if (!FindBankAccountRule(digits.left(ClearingLength).toInt()))
        return bad;
    return QString();
}

QStringView ClearingWithoutCheckDigit(QStringView clearing)
{
    const bool allDigits = std::all_of(clearing.begin(), clearing.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    if (clearing.size() == SwedbankClearingLength && allDigits && clearing.startsWith(QLatin1Char('8')))
        return clearing.left(ClearingLength);
    return clearing;
}

QString CheckClearingAndAccount(const QString& clearing, const QString& account)
{
    const QString clearingMessage = CheckClearingNumber(clearing);
    if (!clearingMessage.isEmpty())
        return clearingMessage;
    const QString clearingDigits = DigitsOnly(clearing).left(ClearingLength);
    const BankAccountRule& rule = *FindBankAccountRule(clearingDigits.toInt());
    const QString accountDigits = StripLeadingZeros(DigitsOnly(account), false);
    if (accountDigits.isEmpty() || accountDigits.size() > rule.accountLength() ||
        !AccountCheckDigitValid(rule, clearingDigits, accountDigits))
        return accountMessage();
    return QString();
}

QString CheckClearingAndAccount(const QString& clearingAndAccount)
{
    const QString digits = StripLeadingZeros(DigitsOnly(clearingAndAccount), false);
    return CheckClearingAndAccount(digits.left(ClearingLength), digits.mid(ClearingLength));
}

QString FormatClearingAccount(const QString& clearing, const QString& account)
{
    return joinClearingAccount(DigitsOnly(clearing).left(ClearingLength), DigitsOnly(account));
}

QString FormatClearingAccount(const QString& clearingAndAccount)
{
    const QString digits = StripLeadingZeros(DigitsOnly(clearingAndAccount), false);
    const QString clearing = digits.left(ClearingLength);
    StrToInt(clearing); // a text without digits fails as a conversion, as it always has
    return joinClearingAccount(clearing, digits.mid(ClearingLength));
}

QString CheckPayerNumber(QStringView text)
{
    if (text.isEmpty() || text.size() > 16)
        return QStringLiteral("Felaktigt betalarnummer");
    return QString();
}

QString CheckMandateId(const QString& id)
{
    constexpr int MandateIdLength = 16;
    if (id.size() > MandateIdLength)
        return QStringLiteral("Id-numret har %1 tecken men får ha högst %2")
            .arg(id.size())
            .arg(MandateIdLength);
    const bool digits = std::all_of(id.begin(), id.end(),
                                    [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    return digits ? QString() : QStringLiteral("Id-numret ska bestå av siffror");
}

QString CheckElectronicMandateId(const QString& id)
{
    const QString message = CheckMandateId(id);
    if (!message.isEmpty() || id.size() < 16 || id.startsWith(QLatin1Char('0')) ||
        id.startsWith(QLatin1String("9918")))
        return message;
    return QStringLiteral("Ett id-nummer med 16 siffror ska börja med 9918. Annars läses det som ett "
                          "clearing- och kontonummer, och medgivandet som ett medgivande på papper.");
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

QString CheckEncodable(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 0x80)
            continue;
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

QString CheckWritable(QStringView text)
{
    const QString unencodable = CheckEncodable(text);
    if (!unencodable.isEmpty())
        return unencodable;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QStringLiteral(
                       "Tecknet \u201DU+%1\u201D kan inte sparas i en Autogirofil. Skriv texten utan det.")
                .arg(QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    }
    return QString();
}
