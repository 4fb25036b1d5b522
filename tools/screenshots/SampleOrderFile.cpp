#include "tools/screenshots/SampleOrderFile.h"

#include <QList>

namespace {

const QByteArray Payee = "0050501055";

QByteArray blanks(int width)
{
    return QByteArray(width, ' ');
}

QByteArray padded(const QByteArray& text, int width)
{
    return (text + blanks(width)).left(width);
}

QByteArray zeroFilled(const QByteArray& digits, int width)
{
    return QByteArray(width - digits.size(), '0') + digits;
}

// One 80-character record with its line end; the fields are given in their file form.
QByteArray record(const QList<QByteArray>& fields)
{
    QByteArray line;
    for (const QByteArray& field : fields)
        line += field;
    Q_ASSERT(line.size() == 80);
    return line + "\r\n";
}

QByteArray opening(const QDate& today)
{
    return record({"01", today.toString(QStringLiteral("yyyyMMdd")).toLatin1(), padded("AUTOGIRO", 52),
                   "471100", Payee, blanks(2)});
}

QByteArray paperMandate(const QByteArray& payer, const QByteArray& clearing, const QByteArray& account,
                        const QByteArray& person)
{
    return record({"04", Payee, zeroFilled(payer, 16), clearing, zeroFilled(account, 12), person, blanks(20),
                   blanks(2), blanks(2)});
}

QByteArray electronicMandate(const QByteArray& payer, const QByteArray& id, const QByteArray& person,
                             const QByteArray& rejected)
{
    return record(
        {"04", Payee, zeroFilled(payer, 16), zeroFilled(id, 16), person, blanks(20), rejected, blanks(2)});
}

QByteArray oneOffPayment(const QByteArray& code, const QByteArray& date, const QByteArray& payer,
                         const QByteArray& ore, const QByteArray& reference)
{
    return record({code, date, "0", blanks(4), zeroFilled(payer, 16), zeroFilled(ore, 12), Payee,
                   padded(reference, 16), blanks(11)});
}

QByteArray repeatedPayment(const QByteArray& date, const QByteArray& period, const QByteArray& count,
                           const QByteArray& payer, const QByteArray& ore, const QByteArray& reference)
{
    return record({"82", date, period, count, " ", zeroFilled(payer, 16), zeroFilled(ore, 12), Payee,
                   padded(reference, 16), blanks(11)});
}

} // namespace

QString SampleOrderFile::customerNumber()
{
    return QStringLiteral("471100");
}

QString SampleOrderFile::bankgiroNumber()
{
    return QStringLiteral("50501055");
}

// Windows-1252: \xC5 is "Å", \xE5 "å", \xE4 "ä", \xF6 "ö".
QByteArray SampleOrderFile::bytes(const QDate& today)
{
    const QByteArray mandates = opening(today) + paperMandate("1001", "3300", "8503171236", "198503171236") +
                                paperMandate("1002", "6153", "123456789", "197906243451") +
                                electronicMandate("1003", "2026030100451", "196209112348", blanks(2)) +
                                electronicMandate("1006", "2026030100452", "199101011239", "AV") +
                                record({"03", Payee, zeroFilled("1008", 16), blanks(52)});
    const QByteArray payments = opening(today) +
                                oneOffPayment("82", "20260325", "1001", "125000", "Faktura 2026-118") +
                                repeatedPayment("20260327", "1", "012", "1002", "49900", "Medlemsavgift") +
                                repeatedPayment("20260331", "6", "004", "1003", "187550", "Hyra kvartal") +
                                oneOffPayment("32", "20260327", "1004", "15000", "\xC5terbetalning");
    const QByteArray none8 = blanks(8), none12 = blanks(12), none2 = blanks(2), rest = blanks(22);
    const QByteArray changes =
        opening(today) +
        record(
            {"25", Payee, zeroFilled("1005", 16), "20260325", zeroFilled("32000", 12), "82", none8, rest}) +
        record({"23", Payee, zeroFilled("1007", 16), none8, none12, none2, none8, rest}) +
        record({"29", Payee, zeroFilled("1002", 16), "20260327", zeroFilled("49900", 12), "82", "20260330",
                rest});
    return mandates + payments + changes;
}
