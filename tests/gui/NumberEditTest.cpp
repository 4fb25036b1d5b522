#include "rules/NumberEdit.h"

#include "gui/DialogTestSupport.h"
#include "rules/ValmoError.h"
#include "support/GuiPrompt.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace DialogTest;

namespace {

const QString Nbsp = QString(QChar(0x00A0));

class NumberEditTest : public ::testing::Test
{
protected:
    void SetUp() override { resetMessages(); }
    TNumberEdit edit;
};

TEST_F(NumberEditTest, NewFieldShowsZeroWithTwoDecimals)
{
    EXPECT_EQ(edit.value(), 0.0);
    EXPECT_EQ(edit.text(), QStringLiteral("0,00"));
    EXPECT_EQ(edit.mask(), QStringLiteral("#,##0.00"));
    EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
}

TEST_F(NumberEditTest, TextToValueKeepsSignDigitsAndDecimalSeparatorOnly)
{
    const struct
    {
        QString text;
        double value;
    } cases[] = {
        {QStringLiteral("1234,5"), 1234.5},
        {QStringLiteral("1 234,50"), 1234.5},
        {QStringLiteral("1") + Nbsp + QStringLiteral("234,50"), 1234.5},
        {QStringLiteral("-12abc3"), -123},
        {QStringLiteral("12-3"), 123},
        {QStringLiteral("+5"), 5},
        {QString(QChar(0x2212)) + QStringLiteral("7,25"), -7.25},
        {QStringLiteral("12 kr"), 12},
        {QString(), 0},
        {QStringLiteral("abc"), 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(TNumberEdit::TextToValue(c.text), c.value) << qPrintable(c.text);
}

TEST_F(NumberEditTest, TextToValueRefusesWhatIsNoNumberWithTheCleanedCopy)
{
    const struct
    {
        QString text;
        QString message;
    } cases[] = {
        {QStringLiteral("-"), QStringLiteral("'-' är inte ett giltigt tal")},
        {QStringLiteral("1,2,3"), QStringLiteral("'1,2,3' är inte ett giltigt tal")},
        {QStringLiteral("- x"), QStringLiteral("'-' är inte ett giltigt tal")},
    };
    for (const auto& c : cases) {
        try {
            TNumberEdit::TextToValue(c.text);
            ADD_FAILURE() << "no failure for " << qPrintable(c.text);
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.text(), c.message);
        }
    }
}

TEST_F(NumberEditTest, LeavingFormatsAndEnteringShowsThePlainNumberSelected)
{
    edit.setText(QStringLiteral("1234,5"));
    leaveField(&edit);
    EXPECT_DOUBLE_EQ(edit.value(), 1234.5);
    EXPECT_EQ(edit.text(), QStringLiteral("1") + Nbsp + QStringLiteral("234,50"));

    enterField(&edit);
    EXPECT_EQ(edit.text(), QStringLiteral("1234,5"));
    EXPECT_EQ(edit.selectedText(), QStringLiteral("1234,5"));

    edit.setText(QString());
    leaveField(&edit);
    EXPECT_EQ(edit.value(), 0.0);
    EXPECT_EQ(edit.text(), QStringLiteral("0,00"));
}

TEST_F(NumberEditTest, EnteringAndLeavingWithoutTypingKeepsTheNumber)
{
    // The plain form is written without an exponent: the exit's cleaning would read the exponent's
    // digits as part of the number.
    const QString minus = QString(QChar(0x2212));
    const struct
    {
        double value;
        QString plain;
    } cases[] = {
        {1234.5, QStringLiteral("1234,5")},
        {0.1, QStringLiteral("0,1")},
        {0.00001, QStringLiteral("0,00001")},
        {-0.00001, minus + QStringLiteral("0,00001")},
        {0.000123456, QStringLiteral("0,000123456")},
        {1e15, QStringLiteral("1000000000000000")},
        {-2.5e16, minus + QStringLiteral("25000000000000000")},
        {123456789012345678.0, QStringLiteral("123456789012346000")},
    };
    for (const auto& c : cases) {
        edit.setValue(c.value);
        enterField(&edit);
        EXPECT_EQ(edit.text(), c.plain) << c.value;
        leaveField(&edit);
        EXPECT_NEAR(edit.value(), c.value, std::fabs(c.value) * 1e-14) << c.value;
    }
    EXPECT_TRUE(guiPrompt().messages.isEmpty());
}

TEST_F(NumberEditTest, ValueIsTheOldNumberWhileTheFieldIsBeingLeft)
{
    edit.setValue(5);
    double seen = -1;
    QObject::connect(&edit, &QLineEdit::editingFinished, [&] { seen = edit.value(); });
    enterField(&edit);
    edit.setText(QStringLiteral("8"));
    leaveField(&edit);
    EXPECT_EQ(edit.value(), 8.0);
    if (seen >= 0) // editingFinished, when sent, runs before the number is read back
        EXPECT_EQ(seen, 5.0);
}

TEST_F(NumberEditTest, BadTextIsReportedAndKeptWithTheOldValue)
{
    edit.setValue(42);
    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    edit.setText(QStringLiteral("1,2,3"));
    leaveField(&edit);
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_EQ(guiPrompt().messages[0].caption, QStringLiteral("Lumora Valmo"));
    EXPECT_EQ(guiPrompt().messages[0].text, QStringLiteral("'1,2,3' är inte ett giltigt tal"));
    EXPECT_EQ(guiPrompt().messages[0].icon, UserPrompt::Icon::Error);
    EXPECT_EQ(edit.value(), 42.0);
    EXPECT_EQ(edit.text(), QStringLiteral("1,2,3"));
}

TEST_F(NumberEditTest, SwitchingToAnotherWindowIsNoExit)
{
    enterField(&edit);
    edit.setText(QStringLiteral("77"));
    leaveField(&edit, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(edit.text(), QStringLiteral("77"));
    EXPECT_EQ(edit.value(), 0.0);
}

TEST_F(NumberEditTest, CountMaskShowsWholeNumbersWithoutGrouping)
{
    edit.setMask(QStringLiteral("0"));
    EXPECT_EQ(edit.text(), QStringLiteral("0,00")); // not reformatted until the next write
    edit.setValue(999);
    EXPECT_EQ(edit.text(), QStringLiteral("999"));
    edit.setValue(1234);
    EXPECT_EQ(edit.text(), QStringLiteral("1234"));
}

TEST_F(NumberEditTest, ValuesShowFormattedWithTheMask)
{
    const struct
    {
        double value;
        QString mask;
        QString shown;
    } cases[] = {
        {10, QStringLiteral("#,##0.00"), QStringLiteral("10,00")},
        {100, QStringLiteral("#,##0.00"), QStringLiteral("100,00")},
        {0.5, QStringLiteral("#,##0.00"), QStringLiteral("0,50")},
        {1234567.891, QStringLiteral("#,##0.00"),
         QStringLiteral("1") + Nbsp + QStringLiteral("234") + Nbsp + QStringLiteral("567,89")},
        {-0.001, QStringLiteral("#,##0.00"), QStringLiteral("0,00")},
        {-12.5, QStringLiteral("#,##0.00"), QString(QChar(0x2212)) + QStringLiteral("12,50")},
        {10, QStringLiteral("0"), QStringLiteral("10")},
        {-0.4, QStringLiteral("0"), QStringLiteral("0")},
    };
    for (const auto& c : cases) {
        edit.setMask(c.mask);
        edit.setValue(c.value);
        EXPECT_EQ(edit.text(), c.shown) << c.value;
    }
}

TEST_F(NumberEditTest, KeyFilterLetsInNumberCharactersOnly)
{
    int refused = 0;
    QObject::connect(&edit, &TNumberEdit::keyRefused, [&] { ++refused; });
    edit.setText(QString());
    typeText(&edit, QStringLiteral("12,5"));
    EXPECT_EQ(edit.text(), QStringLiteral("12,5"));
    EXPECT_EQ(refused, 0);

    const struct
    {
        QString character;
        int cursor;
        bool accepted;
    } cases[] = {
        {QStringLiteral("a"), 4, false}, {QStringLiteral(";"), 4, false}, {QStringLiteral(" "), 4, false},
        {QStringLiteral("-"), 1, false}, {QStringLiteral("+"), 2, false}, {QStringLiteral("-"), 0, true},
        {QStringLiteral("7"), 5, true},  {QStringLiteral(","), 6, true},
    };
    for (const auto& c : cases) {
        const QString before = edit.text();
        const int refusedBefore = refused;
        edit.setCursorPosition(c.cursor);
        typeKey(&edit, c.character);
        EXPECT_EQ(edit.text() != before, c.accepted) << qPrintable(c.character) << " at " << c.cursor;
        EXPECT_EQ(refused != refusedBefore, !c.accepted) << qPrintable(c.character);
    }
    EXPECT_EQ(edit.text(), QStringLiteral("-12,57,"));
}

TEST_F(NumberEditTest, KeypadSeparatorTypesTheDecimalSeparator)
{
    edit.setText(QStringLiteral("12"));
    edit.setCursorPosition(2);
    typeKey(&edit, QStringLiteral("."), Qt::KeypadModifier, Qt::Key_Period);
    typeKey(&edit, QStringLiteral("5"), Qt::KeypadModifier, Qt::Key_5);
    EXPECT_EQ(edit.text(), QStringLiteral("12,5"));
    typeKey(&edit, QStringLiteral("."), Qt::NoModifier, Qt::Key_Period); // a point from the main keys
    EXPECT_EQ(edit.text(), QStringLiteral("12,5,"));
}

TEST_F(NumberEditTest, PointIsTheDecimalSeparatorInEveryLocale)
{
    const struct
    {
        QLocale locale;
        QString text;
        double value;
    } cases[] = {
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("1250.50"), 1250.5},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("1.250,50"), 1250.5}, // comma last
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("1,250.50"), 1250.5}, // point last
        {QLocale(QLocale::German, QLocale::Germany), QStringLiteral("1250.5"), 1250.5},
        {QLocale(QLocale::German, QLocale::Germany), QStringLiteral("1.250,5"), 1250.5},
        {QLocale(QLocale::English, QLocale::UnitedStates), QStringLiteral("1,250.50"), 1250.5},
    };
    const QLocale before;
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        EXPECT_DOUBLE_EQ(TNumberEdit::TextToValue(c.text), c.value) << qPrintable(c.text);
    }
    QLocale::setDefault(before);
    EXPECT_THROW(TNumberEdit::TextToValue(QStringLiteral("1.250.000")), ConversionError);

    edit.setText(QStringLiteral("1250.50"));
    leaveField(&edit);
    EXPECT_EQ(edit.text(), QStringLiteral("1") + Nbsp + QStringLiteral("250,50"));
}

TEST_F(NumberEditTest, SignIsAllowedWhenTheSelectionStartsAtTheBeginning)
{
    edit.setText(QStringLiteral("123"));
    edit.selectAll();
    typeKey(&edit, QStringLiteral("-"));
    EXPECT_EQ(edit.text(), QStringLiteral("-"));
}

TEST_F(NumberEditTest, ControlCharactersOtherThanBackspaceAndEditingShortcutsAreRefused)
{
    int refused = 0;
    QObject::connect(&edit, &TNumberEdit::keyRefused, [&] { ++refused; });
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const struct
    {
        const char* name;
        QString text;
        Qt::KeyboardModifiers modifiers;
        int key;
        bool refused;
    } cases[] = {
        {"Backspace", QString(QChar(8)), Qt::NoModifier, Qt::Key_Backspace, false},
        {"Backspace as DEL", QString(QChar(0x7f)), Qt::NoModifier, Qt::Key_Backspace, false},
        // The editing shortcuts are commands, not typed characters; pasted text is cleaned on exit.
        {"Ctrl+A", QString(QChar(1)), ctrl, Qt::Key_A, false},
        {"Ctrl+C", QString(QChar(3)), ctrl, Qt::Key_C, false},
        {"Ctrl+V", QString(QChar(0x16)), ctrl, Qt::Key_V, false},
        {"Ctrl+X", QString(QChar(0x18)), ctrl, Qt::Key_X, false},
        {"Ctrl+Z", QString(QChar(0x1a)), ctrl, Qt::Key_Z, false},
        {"Ctrl+B", QString(QChar(2)), ctrl, Qt::Key_B, true},
        {"Ctrl+Q", QString(QChar(0x11)), ctrl, Qt::Key_Q, true},
        {"AltGr+E", QString(QChar(0x20ac)), ctrl | Qt::AltModifier, Qt::Key_E, true},
        {"Ctrl+5", QStringLiteral("5"), ctrl, Qt::Key_5, false},
        // Keys that the dialog or the caret handle type no character into the field.
        {"Return", QStringLiteral("\r"), Qt::NoModifier, Qt::Key_Return, false},
        {"Enter", QStringLiteral("\r"), Qt::KeypadModifier, Qt::Key_Enter, false},
        {"Escape", QString(QChar(0x1b)), Qt::NoModifier, Qt::Key_Escape, false},
        {"Tab", QStringLiteral("\t"), Qt::NoModifier, Qt::Key_Tab, false},
        {"Delete", QString(QChar(0x7f)), Qt::NoModifier, Qt::Key_Delete, false},
        {"Left", QString(), Qt::NoModifier, Qt::Key_Left, false},
    };
    for (const auto& c : cases) {
        edit.setText(QStringLiteral("123"));
        edit.setCursorPosition(3);
        const int before = refused;
        typeKey(&edit, c.text, c.modifiers, c.key);
        EXPECT_EQ(refused != before, c.refused) << c.name;
        if (c.refused)
            EXPECT_EQ(edit.text(), QStringLiteral("123")) << c.name;
    }
    edit.setText(QStringLiteral("123"));
    edit.setCursorPosition(3);
    typeKey(&edit, QString(QChar(8)), Qt::NoModifier, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("12"));
}

TEST_F(NumberEditTest, PendingTextIsConfirmedOnlyWhenTyped)
{
    edit.setValue(10);
    EXPECT_TRUE(edit.confirmPendingText());
    EXPECT_EQ(edit.value(), 10.0);

    enterField(&edit);
    edit.selectAll();
    typeText(&edit, QStringLiteral("250,5"));
    EXPECT_EQ(edit.value(), 10.0);
    EXPECT_TRUE(edit.confirmPendingText());
    EXPECT_DOUBLE_EQ(edit.value(), 250.5);
    EXPECT_EQ(edit.text(), QStringLiteral("250,50"));

    enterField(&edit); // the plain form, nothing typed
    EXPECT_EQ(edit.text(), QStringLiteral("250,5"));
    EXPECT_TRUE(edit.confirmPendingText());
    EXPECT_EQ(edit.text(), QStringLiteral("250,50"));
}

} // namespace
