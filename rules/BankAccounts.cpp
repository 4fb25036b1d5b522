#include "rules/BankAccounts.h"

#include "rules/Check.h"

#include <algorithm>
#include <iterator>

namespace {

using Kind = BankAccountRule::Kind;

// In clearing order, so that a lookup can stop at the first range past the number.
const BankAccountRule Rules[] = {
    {1100, 1199, Kind::Type1Comment1, "Nordea"},
    {1200, 1399, Kind::Type1Comment1, "Danske Bank"},
    {1400, 2099, Kind::Type1Comment1, "Nordea"},
    {2300, 2399, Kind::Type1Comment2, "Ålandsbanken"},
    {2400, 2499, Kind::Type1Comment1, "Danske Bank"},
    {3000, 3299, Kind::Type1Comment1, "Nordea"},
    {3300, 3300, Kind::Type2Comment1, "Nordea personkonto"},
    {3301, 3399, Kind::Type1Comment1, "Nordea"},
    {3400, 3409, Kind::Type1Comment1, "Länsförsäkringar Bank"},
    {3410, 3781, Kind::Type1Comment1, "Nordea"},
    {3782, 3782, Kind::Type2Comment1, "Nordea personkonto"},
    {3783, 3999, Kind::Type1Comment1, "Nordea"},
    {4000, 4999, Kind::Type1Comment2, "Nordea"},
    {5000, 5999, Kind::Type1Comment1, "SEB"},
    {6000, 6999, Kind::Type2Comment2, "Handelsbanken"},
    {7000, 7999, Kind::Type1Comment1, "Swedbank"},
    {8000, 8999, Kind::Type2Comment3, "Swedbank"},
    {9020, 9029, Kind::Type1Comment2, "Länsförsäkringar Bank"},
    {9040, 9049, Kind::Type1Comment2, "Citibank"},
    {9060, 9069, Kind::Type1Comment1, "Länsförsäkringar Bank"},
    {9070, 9079, Kind::Type1Comment1, "Multitude Bank"},
    {9100, 9109, Kind::Type1Comment2, "Nordnet Bank"},
    {9120, 9124, Kind::Type1Comment1, "SEB"},
    {9130, 9149, Kind::Type1Comment1, "SEB"},
    {9150, 9169, Kind::Type1Comment2, "Skandiabanken"},
    {9170, 9179, Kind::Type1Comment1, "IKANO Bank"},
    {9180, 9189, Kind::Type2Comment1, "Danske Bank"},
    {9190, 9199, Kind::Type1Comment2, "DNB Bank"},
    {9230, 9239, Kind::Type1Comment1, "Marginalen Bank"},
    {9250, 9259, Kind::Type1Comment1, "SBAB"},
    {9260, 9269, Kind::Type1Comment2, "DNB Bank"},
    {9270, 9279, Kind::Type1Comment1, "ICA Banken"},
    {9280, 9289, Kind::Type1Comment1, "Resurs Bank"},
    {9300, 9349, Kind::Type2Comment1, "Swedbank"},
    {9390, 9399, Kind::Type1Comment2, "Landshypotek"},
    {9400, 9449, Kind::Type1Comment1, "Forex Bank"},
    {9460, 9469, Kind::Type1Comment1, "Santander Consumer Bank"},
    {9470, 9479, Kind::Type1Comment2, "BNP Paribas"},
    {9500, 9549, Kind::Type2Comment3, "Nordea/Plusgirot"},
    {9550, 9569, Kind::Type1Comment2, "Avanza Bank"},
    {9570, 9579, Kind::Type2Comment1, "Sparbanken Syd"},
    {9580, 9589, Kind::Type1Comment1, "Aion Bank"},
    {9590, 9599, Kind::Type1Comment2, "Erik Penser"},
    {9630, 9639, Kind::Type1Comment1, "Lån & Spar Bank Sverige"},
    {9640, 9649, Kind::Type1Comment2, "NOBA Bank Group"},
    {9660, 9669, Kind::Type1Comment2, "Svea Bank"},
    {9670, 9679, Kind::Type1Comment2, "JAK Medlemsbank"},
    {9680, 9689, Kind::Type1Comment1, "BlueStep Finans"},
    {9700, 9709, Kind::Type1Comment2, "Ekobanken"},
    {9710, 9719, Kind::Type1Comment2, "Lunar Bank"},
    {9750, 9759, Kind::Type1Comment2, "Northmill Bank"},
    {9780, 9789, Kind::Type1Comment2, "Klarna Bank"},
    {9880, 9889, Kind::Type1Comment2, "Riksgälden"},
    {9890, 9899, Kind::Type2Comment1, "Riksgälden"},
    {9960, 9969, Kind::Type2Comment3, "Nordea/Plusgirot"},
};

QString padded(const QString& digits, int length)
{
    return QString(std::max<qsizetype>(0, length - digits.size()), QLatin1Char('0')) + digits;
}

} // namespace

int BankAccountRule::accountLength() const
{
    switch (kind) {
    case Kind::Type1Comment1:
    case Kind::Type1Comment2:
        return 7;
    case Kind::Type2Comment2:
        return 9;
    case Kind::Type2Comment1:
    case Kind::Type2Comment3:
        break;
    }
    return 10;
}

const BankAccountRule* FindBankAccountRule(int clearing)
{
    const auto* rule =
        std::lower_bound(std::begin(Rules), std::end(Rules), clearing,
                         [](const BankAccountRule& r, int number) { return r.lastClearing < number; });
    if (rule == std::end(Rules) || clearing < rule->firstClearing)
        return nullptr;
    return rule;
}

bool Mod11Valid(const QString& digits)
{
    int sum = 0;
    int weight = 1;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] < QLatin1Char('0') || digits[i] > QLatin1Char('9'))
            return false;
        sum += (digits[i].unicode() - '0') * weight;
        weight = weight == 10 ? 1 : weight + 1;
    }
    return sum % 11 == 0;
}

bool AccountCheckDigitValid(const BankAccountRule& rule, const QString& clearing, const QString& account)
{
    const QString full = padded(account, rule.accountLength());
    switch (rule.kind) {
    case Kind::Type1Comment1:
        return Mod11Valid(clearing.mid(1) + full);
    case Kind::Type1Comment2:
        return Mod11Valid(clearing + full);
    case Kind::Type2Comment2:
        return Mod11Valid(full);
    case Kind::Type2Comment1:
    case Kind::Type2Comment3:
        break;
    }
    return Mod10Valid(full);
}
