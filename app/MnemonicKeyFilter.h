#pragma once

#include <QObject>

// Alt with a letter is a mnemonic: it presses the button or opens the command that carries the
// letter. When no control carries it, a text field would otherwise take the bare letter as
// typed text, so Alt+F in the reference field added an "f" unseen. Such a key is refused with a
// beep instead, as native programs do. Ctrl+Alt (AltGr on Windows) still types, so characters
// such as @ and { reach the field.
class MnemonicKeyFilter : public QObject
{
    Q_OBJECT

public:
    // Installs the one filter on the application; later calls do nothing.
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
