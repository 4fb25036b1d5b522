#pragma once

class QWidget;

// Gives every labelled field and every button of a dialog an Alt letter where it has none:
// the first letter of its text that no other control of the dialog uses yet. Letters already
// given are kept.
namespace MnemonicAssigner {
void assign(QWidget* dialog);
}
