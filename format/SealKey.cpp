#include "format/SealKey.h"

#include "format/Seal.h"

namespace {

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

QString withoutBlanks(QStringView text)
{
    QString compact;
    compact.reserve(text.size());
    for (QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n')
            compact.append(c);
    }
    return compact;
}

} // namespace

std::optional<SealKey> SealKey::fromText(QStringView text)
{
    if (!problemWith(text).isEmpty())
        return std::nullopt;
    return SealKey(QByteArray::fromHex(withoutBlanks(text).toLatin1()));
}

QString SealKey::problemWith(QStringView text)
{
    const QString compact = withoutBlanks(text);
    if (compact.isEmpty())
        return QStringLiteral("Ange sigillnyckeln: 32 hexadecimala tecken (0-9 och A-F).");
    for (QChar c : compact) {
        if (!isHexDigit(c))
            return QStringLiteral("Sigillnyckeln får bara innehålla hexadecimala tecken (0-9 och A-F), "
                                  "inte \"%1\".")
                .arg(c);
    }
    if (compact.size() != HexLength)
        return QStringLiteral("Sigillnyckeln ska ha 32 hexadecimala tecken, inte %1.").arg(compact.size());
    return QString();
}

QString SealKey::text() const
{
    return QString::fromLatin1(m_bytes.toHex().toUpper());
}

QString SealKey::checkValue() const
{
    return Seal::Mac(QByteArrayLiteral("00000000"), *this);
}
