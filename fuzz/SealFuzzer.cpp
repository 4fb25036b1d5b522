// libFuzzer target: any bytes as a sealed file. The seal records are looked for, the seal checked
// with the bank's test key, and a file sealed afresh from the records found must verify; with the
// bytes appended after its seal record, it must not.

#include "format/Seal.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const SealKey key = *SealKey::fromText(QStringLiteral("1234567890abcdef1234567890abcdef"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const Seal::Contents contents = Seal::Read(bytes);
    Seal::Verify(contents, key);
    if (contents.orderBytes.contains('\x1a') || contents.orderBytes.startsWith("00"))
        return 0; // a Ctrl-Z ends the file; a first line of "00" is not an order record
    const Seal::Contents again = Seal::Read(Seal::SealedFile(contents.orderBytes, key, QDate(2026, 12, 8)));
    if (Seal::Verify(again, key) != Seal::Check::Matches)
        std::abort();
    // Whatever follows a seal record, other than line ends and Ctrl-Z, is never vouched for.
    const QByteArray appended = Seal::SealedFile(contents.orderBytes, key, QDate(2026, 12, 8)) + bytes;
    const bool onlyLineEnds = std::all_of(bytes.cbegin(), bytes.cend(),
                                          [](char c) { return c == '\r' || c == '\n' || c == '\x1a'; });
    if (!onlyLineEnds && Seal::Verify(Seal::Read(appended), key) == Seal::Check::Matches)
        std::abort();
    return 0;
}
