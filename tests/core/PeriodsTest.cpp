#include "rules/Periods.h"

#include <gtest/gtest.h>

TEST(Periods, EveryCodeAndTextConvertBothWays)
{
    const struct
    {
        QString code;
        QString text;
    } table[] = {
        {QStringLiteral("0"), QStringLiteral("Engångsbetalning")},
        {QStringLiteral("1"), QStringLiteral("Varje månad med start enligt betaldatum")},
        {QStringLiteral("2"), QStringLiteral("Varje kvartal med start enligt betaldatum")},
        {QStringLiteral("3"), QStringLiteral("Varje halvår med start enligt betaldatum")},
        {QStringLiteral("4"), QStringLiteral("Varje år med start enligt betaldatum")},
        {QStringLiteral("5"), QStringLiteral("Sista bankdagen varje månad")},
        {QStringLiteral("6"), QStringLiteral("Sista bankdagen varje kvartal")},
        {QStringLiteral("7"), QStringLiteral("Sista bankdagen varje halvår")},
        {QStringLiteral("8"), QStringLiteral("Sista bankdagen varje år")},
    };
    ASSERT_EQ(PeriodTexts().size(), 9);
    int index = 0;
    for (const auto& entry : table) {
        SCOPED_TRACE(entry.code.toStdString());
        EXPECT_EQ(PeriodTextToCode(entry.text), entry.code);
        EXPECT_EQ(PeriodCodeToText(entry.code), entry.text);
        EXPECT_EQ(PeriodTexts().at(index++), entry.text); // the dialog's list order
    }
}

TEST(Periods, ValuesOutsideTheTableGiveX)
{
    const QString texts[] = {
        QString(),
        QStringLiteral("engångsbetalning"),
        QStringLiteral("Engångsbetalning "),
        QStringLiteral(" Engångsbetalning"),
        QStringLiteral("Sista bankdagen varje År"),
        QStringLiteral("0"),
        QStringLiteral("X"),
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(PeriodTextToCode(text), QStringLiteral("X"));
    }

    const QString codes[] = {
        QStringLiteral("9"),  QStringLiteral("X"),  QStringLiteral(" "),  QString(),
        QStringLiteral("00"), QStringLiteral("0 "), QStringLiteral("-1"), QStringLiteral("\u0660"),
    };
    for (const QString& code : codes) {
        SCOPED_TRACE(code.toStdString());
        EXPECT_EQ(PeriodCodeToText(code), QStringLiteral("X"));
    }
}

TEST(Periods, TransactionTypesInDialogOrder)
{
    EXPECT_EQ(DebitText(), QStringLiteral("Debitering"));
    EXPECT_EQ(CreditText(), QStringLiteral("Kreditering"));
    EXPECT_EQ(TransactionTypeTexts(),
              QStringList({QStringLiteral("Debitering"), QStringLiteral("Kreditering")}));
}
