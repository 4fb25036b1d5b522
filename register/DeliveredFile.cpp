#include "register/DeliveredFile.h"

#include "register/RegisterError.h"
#include "register/RegisterText.h"
#include "rules/Win1252.h"

namespace {

[[noreturn]] void Unreadable(int line, const QString& what)
{
    throw RegisterError(RegisterError::Kind::UnreadableFile,
                        QStringLiteral("Rad %1 kan inte läsas: %2.").arg(line).arg(what));
}

QDate RequiredDate(QStringView field, int line, const char* name)
{
    const QDate date = RegisterText::date(field);
    if (!date.isValid())
        Unreadable(line, QStringLiteral("%1 \"%2\" är inget datum").arg(QLatin1String(name), field.toString()));
    return date;
}

qint64 Amount(QStringView field, int line, bool required)
{
    if (!required && RegisterText::isBlankOrZeros(field))
        return 0;
    const std::optional<qint64> amount = RegisterText::number(field);
    if (!amount)
        Unreadable(line, QStringLiteral("beloppet \"%1\" är inget tal").arg(field.toString()));
    return *amount;
}

DeliveredPayment Payment(QStringView line, int number, const QDate& deliveryDay)
{
    using RegisterText::field;
    DeliveredPayment payment;
    payment.line = number;
    payment.type = field(line, 1, 2).toString();
    const QStringView date = field(line, 3, 10);
    payment.date = date.startsWith(QLatin1String("GENAST")) ? deliveryDay
                                                             : RequiredDate(date, number, "betalningsdagen");
    const QStringView period = field(line, 11, 11);
    payment.period = period.isEmpty() || period == QLatin1String(" ") ? QLatin1Char('0') : period[0];
    if (payment.period < QLatin1Char('0') || payment.period > QLatin1Char('8'))
        Unreadable(number, QStringLiteral("periodkoden \"%1\" finns inte").arg(period.toString()));
    payment.count = int(RegisterText::number(field(line, 12, 14)).value_or(0));
    payment.payer = RegisterText::digits(field(line, 16, 31));
    payment.amount = Amount(field(line, 32, 43), number, true);
    payment.reference = RegisterText::trimmed(field(line, 54, 69));
    return payment;
}

DeliveredMandate Mandate(QStringView line, int number)
{
    using RegisterText::field;
    DeliveredMandate mandate;
    mandate.line = number;
    mandate.payer = RegisterText::digits(field(line, 13, 28));
    mandate.cancel = field(line, 1, 2) == QLatin1String("03");
    if (!mandate.cancel) {
        mandate.account = RegisterText::digits(field(line, 29, 44));
        mandate.identity = RegisterText::trimmed(field(line, 45, 56));
        mandate.refuse = field(line, 77, 78) == QLatin1String("AV");
    }
    return mandate;
}

DeliveredChange Change(QStringView line, int number)
{
    using RegisterText::field;
    DeliveredChange change;
    change.line = number;
    change.code = field(line, 1, 2).toString();
    change.payer = RegisterText::digits(field(line, 13, 28));
    if (!RegisterText::isBlankOrZeros(field(line, 29, 36)))
        change.date = RequiredDate(field(line, 29, 36), number, "betalningsdagen");
    change.amount = Amount(field(line, 37, 48), number, false);
    change.type = RegisterText::trimmed(field(line, 49, 50));
    if (!RegisterText::isBlankOrZeros(field(line, 51, 58)))
        change.newDate = RequiredDate(field(line, 51, 58), number, "den nya betalningsdagen");
    change.reference = RegisterText::trimmed(field(line, 59, 74));
    return change;
}

RegisterPayee Payee(QStringView line)
{
    using RegisterText::field;
    return {RegisterText::digits(field(line, 69, 78)), RegisterText::digits(field(line, 63, 68))};
}

} // namespace

DeliveredFile ReadDeliveredFile(const QByteArray& bytes, const QDate& deliveryDay)
{
    DeliveredFile file;
    bool payeeSeen = false;
    const QStringList lines = RegisterText::lines(DecodeWin1252(bytes));
    for (int i = 0; i < lines.size(); ++i) {
        const QStringView line = lines[i];
        const int number = i + 1;
        const QStringView code = RegisterText::field(line, 1, 2);
        if (RegisterText::trimmed(line).isEmpty())
            continue;
        if (code == QLatin1String("01")) {
            const RegisterPayee payee = Payee(line);
            if (payeeSeen && (payee.bankgiro != file.payee.bankgiro ||
                              payee.customerNumber != file.payee.customerNumber))
                Unreadable(number, QStringLiteral("öppningsposten har en annan betalningsmottagare än den "
                                                  "första"));
            if (!payeeSeen)
                file.written = RegisterText::date(RegisterText::field(line, 3, 10));
            file.payee = payee;
            payeeSeen = true;
        } else if (code == QLatin1String("82") || code == QLatin1String("32")) {
            file.payments.append(Payment(line, number, deliveryDay));
        } else if (code == QLatin1String("04") || code == QLatin1String("03")) {
            file.mandates.append(Mandate(line, number));
        } else if (code == QLatin1String("05")) {
            file.payerNumberChanges.append({number, RegisterText::digits(RegisterText::field(line, 13, 28)),
                                            RegisterText::digits(RegisterText::field(line, 39, 54))});
        } else if (code.size() == 2 && code[0] == QLatin1Char('2') && code[1] >= QLatin1Char('3') &&
                   code[1] <= QLatin1Char('9')) {
            file.changes.append(Change(line, number));
        } else {
            Unreadable(number, QStringLiteral("posttypen \"%1\" hör inte till en orderfil").arg(code.toString()));
        }
    }
    if (!payeeSeen)
        Unreadable(1, QStringLiteral("filen saknar öppningspost"));
    return file;
}
