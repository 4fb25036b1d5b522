#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// The payee's seal key from Bankgirot: 128 bits, written as 32 hexadecimal characters. The key is
// used as these 16 bytes, never as the text of its hexadecimal characters.
class SealKey
{
public:
    static constexpr int HexLength = 32;

    // The key in text, or nothing when the text is not a key. Blanks around and between groups of
    // characters (as a key is often printed) and a line end are ignored; case does not matter.
    static std::optional<SealKey> fromText(QStringView text);
    // Why the text is not a key, in Swedish; empty when it is one.
    static QString problemWith(QStringView text);

    const QByteArray& bytes() const { return m_bytes; }
    // 32 upper-case hexadecimal characters.
    QString text() const;
    // The key check value (KVV): the MAC of "00000000", which the bank sends with the key so that
    // the user can check that the key was entered correctly.
    QString checkValue() const;

private:
    explicit SealKey(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    QByteArray m_bytes;
};
