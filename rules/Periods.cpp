#include "rules/Periods.h"

const QStringList& PeriodTexts()
{
    static const QStringList texts = {
        QStringLiteral("Engångsbetalning"),
        QStringLiteral("Varje månad med start enligt betaldatum"),
        QStringLiteral("Varje kvartal med start enligt betaldatum"),
        QStringLiteral("Varje halvår med start enligt betaldatum"),
        QStringLiteral("Varje år med start enligt betaldatum"),
        QStringLiteral("Sista bankdagen varje månad"),
        QStringLiteral("Sista bankdagen varje kvartal"),
        QStringLiteral("Sista bankdagen varje halvår"),
        QStringLiteral("Sista bankdagen varje år"),
    };
    return texts;
}

QString PeriodTextToCode(const QString& text)
{
    const int index = int(PeriodTexts().indexOf(text));
    return index < 0 ? QStringLiteral("X") : QString::number(index);
}

QString PeriodCodeToText(const QString& code)
{
    if (code.size() == 1 && code[0] >= QLatin1Char('0') && code[0] <= QLatin1Char('8'))
        return PeriodTexts().at(code[0].unicode() - '0');
    return QStringLiteral("X");
}

QString CheckImmediatePeriod(QStringView period, QStringView paymentDate)
{
    if (paymentDate != QLatin1String("GENAST") || period == PeriodTexts().first() ||
        !PeriodTexts().contains(period))
        return QString();
    return QStringLiteral("Betalningsdatum GENAST kan bara användas för en engångsbetalning. Välj "
                          "periodiciteten Engångsbetalning eller ange ett datum.");
}

const QString& DebitText()
{
    static const QString text = QStringLiteral("Debitering");
    return text;
}

const QString& CreditText()
{
    static const QString text = QStringLiteral("Kreditering");
    return text;
}

const QStringList& TransactionTypeTexts()
{
    static const QStringList texts = {DebitText(), CreditText()};
    return texts;
}
