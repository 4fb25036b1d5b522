#include "dialogs/BtuUnit.h"
#include "dialogs/MakUnit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>

#include "rules/NumberEdit.h"

#include <gtest/gtest.h>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QDate& date, std::ostream* os)
{
    *os << date.toString(Qt::ISODate).toStdString();
}
QT_END_NAMESPACE

namespace {

// Shows the dialog without a nested event loop and puts the focus into the date field, as a
// click into its year would.
void focusDateField(QDialog& dialog, QDateEdit* field)
{
    dialog.show();
    dialog.activateWindow();
    QApplication::processEvents();
    field->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

void pressKey(QWidget* target, int key, const QString& text = QString(),
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

void typeInto(QWidget* target, const QString& text)
{
    for (const QChar c : text)
        pressKey(target, c.isDigit() ? Qt::Key_0 + c.digitValue() : Qt::Key_unknown, QString(c));
}

} // namespace

TEST(DatePickerTest, TabLeavesTheDateFieldWhicheverPartIsSelected)
{
    TBtuForm btu;
    TMakForm mak;
    const struct
    {
        const char* name;
        QDialog* dialog;
        QDateEdit* field;
        QWidget* next;
        QWidget* previous;
    } cases[] = {
        {"payment date", &btu, btu.DateEdit, btu.GenastCheck, btu.BeloppEdit},
        // Which fields follow depends on the kind of cancellation; the date field is left.
        {"cancelled payment date", &mak, mak.BetaldagEdit, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        focusDateField(*c.dialog, c.field);
        pressKey(c.field, Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_NE(QApplication::focusWidget(), c.field);
        if (c.next)
            EXPECT_EQ(QApplication::focusWidget(), c.next);

        focusDateField(*c.dialog, c.field);
        pressKey(c.field, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
        QApplication::processEvents();
        EXPECT_NE(QApplication::focusWidget(), c.field);
        if (c.previous)
            EXPECT_EQ(QApplication::focusWidget(), c.previous);
        c.dialog->hide();
    }
}

TEST(DatePickerTest, ADateTypedInFullIsTakenAsTyped)
{
    const struct
    {
        const char* typed;
        QDate expected;
    } cases[] = {
        {"2027-01-15", QDate(2027, 1, 15)},
        {"20270115", QDate(2027, 1, 15)},
        // A one-digit month waits for a possible second digit; the separator ends it.
        {"2027-1-15", QDate(2027, 1, 15)},
        {"2028-11-05", QDate(2028, 11, 5)},
        {"2027.02.03", QDate(2027, 2, 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        TBtuForm btu;
        btu.DateEdit->setDate(QDate(2026, 12, 13));
        focusDateField(btu, btu.DateEdit);
        typeInto(btu.DateEdit, QString::fromLatin1(c.typed));
        EXPECT_EQ(btu.DateEdit->date(), c.expected);
    }
}
