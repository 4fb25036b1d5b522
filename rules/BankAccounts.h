#pragma once

#include <QString>

// How the Swedish banks build their account numbers, by clearing-number range, as Bankgirot's list
// of the banks' account numbers gives them. The account number here is the part after the
// four-digit clearing number.
struct BankAccountRule
{
    // The list's account types and the comment that says how the check digit is computed.
    enum class Kind
    {
        Type1Comment1, // 7 digits; modulus 11 over the last 3 clearing digits and the account
        Type1Comment2, // 7 digits; modulus 11 over the 4 clearing digits and the account
        Type2Comment1, // 10 digits; modulus 10 over the account
        Type2Comment2, // 9 digits; modulus 11 over the account
        Type2Comment3, // up to 10 digits; modulus 10 over the account
    };

    int firstClearing;
    int lastClearing;
    Kind kind;
    const char* bank;

    // The account number's full length; shorter numbers are padded with zeros on the left.
    int accountLength() const;
};

// The rule for a four-digit clearing number, or nullptr when no bank uses the number.
const BankAccountRule* FindBankAccountRule(int clearing);

// Modulus 11 with the weights 1, 2, ..., 10, 1, 2, ... from the rightmost digit; false for a text
// with anything but the digits 0-9.
bool Mod11Valid(const QString& digits);

// Whether the check digit of an account number holds. The clearing number has four digits; the
// account number has only digits, at most the rule's length, and is read as padded with zeros.
bool AccountCheckDigitValid(const BankAccountRule& rule, const QString& clearing, const QString& account);
