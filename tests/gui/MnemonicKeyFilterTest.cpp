#include "app/MainForm.h"
#include "dialogs/BtuUnit.h"
#include "dialogs/MakUnit.h"
#include "rules/NumberEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

void pressKey(QWidget* field, int key, const QString& text, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(field, &press);
}

} // namespace

TEST(MnemonicKeyFilterTest, AnAltLetterThatNoControlCarriesTypesNothing)
{
    TMainForm mainForm; // sets the filter up for the whole program
    TBtuForm btu;
    TMakForm mak;
    const struct
    {
        const char* name;
        QLineEdit* field;
    } cases[] = {
        {"reference", btu.RefEdit},
        {"payer", btu.BetalarEdit},
        {"cancelled payer", mak.BetalarNrEdit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.field->setText(QStringLiteral("Hyra"));
        c.field->end(false);
        pressKey(c.field, Qt::Key_F, QStringLiteral("f"), Qt::AltModifier);
        pressKey(c.field, Qt::Key_S, QStringLiteral("s"), Qt::AltModifier | Qt::ShiftModifier);
        EXPECT_EQ(c.field->text(), QStringLiteral("Hyra"));
        // Plain letters and characters typed with Ctrl+Alt (AltGr) still go in.
        pressKey(c.field, Qt::Key_N, QStringLiteral("n"), Qt::NoModifier);
        pressKey(c.field, Qt::Key_At, QStringLiteral("@"), Qt::ControlModifier | Qt::AltModifier);
        EXPECT_EQ(c.field->text(), QStringLiteral("Hyran@"));
    }
}
