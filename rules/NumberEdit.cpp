#include "rules/NumberEdit.h"

#include "app/MessageBox.h"
#include "format/UserPrompt.h"
#include "rules/Extra.h"
#include "rules/ValmoError.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>

namespace {

bool isSign(QChar c)
{
    return c == QLatin1Char('+') || c == QLatin1Char('-') || c == QChar(0x2212);
}

} // namespace

TNumberEdit::TNumberEdit(QWidget* parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValue(0);
}

void TNumberEdit::setValue(double value)
{
    m_value = value;
    setText(FormatByMask(value, m_mask));
}

QString TNumberEdit::FormatByMask(double value, const QString& mask)
{
    QLocale locale;
    const int point = mask.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : int(mask.size() - point - 1);
    const bool grouped = mask.left(point < 0 ? mask.size() : point).contains(QLatin1Char(','));
    locale.setNumberOptions(grouped ? QLocale::DefaultNumberOptions : QLocale::OmitGroupSeparator);
    QString text = locale.toString(value, 'f', decimals);
    // A value that rounds to zero shows without a sign, as "0,00" rather than "-0,00".
    const QString zero = locale.toString(0.0, 'f', decimals);
    const QString plain = NormalizeMinusSign(text, locale);
    if (plain.startsWith(QLatin1Char('-')) && plain.mid(1) == zero)
        text = zero;
    return text;
}

double TNumberEdit::TextToValue(const QString& text)
{
    const QLocale locale;
    const QString decimal = locale.decimalPoint();
    QString cleaned;
    for (qsizetype i = 0; i < text.size();) {
        if (!decimal.isEmpty() && text.mid(i, decimal.size()) == decimal) {
            cleaned += decimal;
            i += decimal.size();
            continue;
        }
        const QChar c = text[i];
        if (i == 0 && isSign(c))
            cleaned += c == QLatin1Char('+') ? QLatin1Char('+') : QLatin1Char('-');
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            cleaned += c;
        ++i;
    }
    if (cleaned.isEmpty())
        return 0;
    // The cleaned copy has no exponent, so only sign, digits and separators reach the conversion.
    return StrToFloat(cleaned, locale);
}

bool TNumberEdit::confirmText()
{
    try {
        m_value = TextToValue(text());
    } catch (const ConversionError& error) {
        MessageBox::show(window(), ApplicationTitle(), error.text(), MessageBox::Buttons::Ok,
                         MessageBox::Icon::Error);
        return false;
    }
    setText(FormatByMask(m_value, m_mask));
    return true;
}

bool TNumberEdit::confirmPendingText()
{
    if (!isModified())
        return true;
    return confirmText();
}

bool TNumberEdit::isWindowSwitch(Qt::FocusReason reason)
{
    // Another window (a menu, a message box, another program) took the focus for a while; the
    // field has not been left.
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

void TNumberEdit::focusInEvent(QFocusEvent* event)
{
    if (isWindowSwitch(event->reason())) {
        QLineEdit::focusInEvent(event);
        return;
    }
    setText(FormatPlainNumber(m_value));
    QLineEdit::focusInEvent(event);
    selectAll();
}

void TNumberEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (isWindowSwitch(event->reason()))
        return;
    confirmText();
}

bool TNumberEdit::acceptsCharacter(const QString& character) const
{
    const QString decimal = QLocale().decimalPoint();
    if (character == decimal)
        return true;
    if (character.size() != 1)
        return false;
    const QChar c = character[0];
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return true;
    if (isSign(c)) {
        const int start = hasSelectedText() ? selectionStart() : cursorPosition();
        return start == 0;
    }
    return false;
}

void TNumberEdit::keyPressEvent(QKeyEvent* event)
{
    QString typed = event->text();
    // The separator key of the numeric keypad stands for the decimal separator whatever it types.
    const bool keypadSeparator = (event->modifiers() & Qt::KeypadModifier) &&
                                 (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma);
    if (keypadSeparator && typed != QLocale().decimalPoint()) {
        insert(QLocale().decimalPoint());
        event->accept();
        return;
    }
    // Keys that type no character (arrows, Delete, Return, Escape, Tab, shortcuts such as Ctrl+V)
    // are not filtered: they edit or leave the field, and pasted text is cleaned on exit.
    const bool typesCharacter = !typed.isEmpty() && typed[0].isPrint() &&
                                !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (typesCharacter && !acceptsCharacter(typed)) {
        QApplication::beep();
        emit keyRefused();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
