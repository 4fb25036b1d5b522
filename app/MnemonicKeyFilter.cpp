#include "app/MnemonicKeyFilter.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool takesTypedText(const QObject* watched)
{
    if (qobject_cast<const QLineEdit*>(watched) || qobject_cast<const QAbstractSpinBox*>(watched))
        return true;
    const auto* combo = qobject_cast<const QComboBox*>(watched);
    return combo && combo->isEditable();
}

bool isUnusedMnemonic(const QKeyEvent* key)
{
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    if (!(modifiers & Qt::AltModifier) || (modifiers & Qt::ControlModifier))
        return false;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

} // namespace

void MnemonicKeyFilter::install()
{
#ifndef Q_OS_MACOS // Option with a letter types a character there.
    static MnemonicKeyFilter* filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new MnemonicKeyFilter(qApp);
    qApp->installEventFilter(filter);
#endif
}

bool MnemonicKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    // A mnemonic that some control carries is taken as a shortcut before the key press is
    // delivered; what arrives here as a key press is a mnemonic that nothing carries.
    if (event->type() == QEvent::KeyPress && takesTypedText(watched) &&
        isUnusedMnemonic(static_cast<QKeyEvent*>(event))) {
        QApplication::beep();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
