#include "rules/NumberEdit.h"

#include "app/WidgetPrompt.h"
#include "format/UserPrompt.h"
#include "rules/Extra.h"
#include "rules/ValmoError.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>

#include <cmath>

namespace {

bool isSign(QChar c)
{
    return c == QLatin1Char('+') || c == QLatin1Char('-') || c == QChar(0x2212);
}

// Writes the digits of a number in the C locale's shortest form with up to 15 significant digits
// out in full: "1.5e-05" becomes "0.000015" and "2.5e+16" becomes "25000000000000000".
QString expandExponent(const QString& scientific)
{
    const qsizetype e = scientific.indexOf(QLatin1Char('e'));
    if (e < 0)
        return scientific;
    const int exponent = scientific.mid(e + 1).toInt();
    const QString mantissa = scientific.left(e);
    const qsizetype point = mantissa.indexOf(QLatin1Char('.'));
    QString digits = mantissa;
    digits.remove(QLatin1Char('.'));
    const qsizetype integerDigits = (point < 0 ? mantissa.size() : point) + exponent;
    if (integerDigits <= 0)
        return QStringLiteral("0.") + QString(-integerDigits, QLatin1Char('0')) + digits;
    if (integerDigits >= digits.size())
        return digits + QString(integerDigits - digits.size(), QLatin1Char('0'));
    return digits.left(integerDigits) + QLatin1Char('.') + digits.mid(integerDigits);
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
    m_showingPlain = false;
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

QString TNumberEdit::PlainText(double value)
{
    // Never with an exponent: leaving the field reads every digit of the text as part of the
    // number, so "1e-05" would come back as 105.
    if (!std::isfinite(value))
        return FormatPlainNumber(value);
    QString digits = expandExponent(QString::number(std::fabs(value), 'g', 15));
    const QLocale locale;
    digits.replace(QLatin1Char('.'), locale.decimalPoint());
    return std::signbit(value) && value != 0 ? locale.negativeSign() + digits : digits;
}

double TNumberEdit::TextToValue(const QString& text)
{
    const QLocale locale;
    const QString decimal = locale.decimalPoint();
    const QString point = QStringLiteral(".");
    // A point stands for the decimal separator as well (numeric keypad, spreadsheet habit). When
    // both occur, the one written last separates the decimals and the other groups the digits.
    QString separator = decimal;
    if (decimal != point && text.contains(point) && text.lastIndexOf(point) > text.lastIndexOf(decimal))
        separator = point;
    QString cleaned;
    for (qsizetype i = 0; i < text.size();) {
        if (!separator.isEmpty() && text.mid(i, separator.size()) == separator) {
            cleaned += decimal;
            i += separator.size();
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
        WidgetPrompt(window()).showMessage(ApplicationTitle(), error.text(), UserPrompt::Buttons::Ok,
                                           UserPrompt::Icon::Error);
        return false;
    }
    setText(FormatByMask(m_value, m_mask));
    m_showingPlain = false;
    return true;
}

bool TNumberEdit::confirmPendingText()
{
    // The plain form shown on entering is no display form either: 1234,5 in a row would read as
    // 123,45 kronor.
    if (!isModified() && !m_showingPlain)
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
    setText(PlainText(m_value));
    m_showingPlain = true;
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

bool TNumberEdit::typesCharacter(const QKeyEvent* event)
{
    // Return, Enter, Escape and Tab belong to the dialog, Delete and the arrows move or edit
    // without typing, Alt combinations are menu keys, and the standard editing shortcuts (copy,
    // cut, paste, select all, undo, redo) are commands: none of them types a character. Pasted
    // text is cleaned when the field is left. Every other key that carries a text is a typed
    // character, other control characters included.
    for (const QKeySequence::StandardKey command :
         {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::SelectAll,
          QKeySequence::Undo, QKeySequence::Redo}) {
        if (event->matches(command))
            return false;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
    case Qt::Key_Backspace: // let in, whatever character the platform gives it
        return false;
    default:
        break;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier))
        return false;
    return !event->text().isEmpty();
}

bool TNumberEdit::acceptsCharacter(const QString& character) const
{
    const QString decimal = QLocale().decimalPoint();
    if (character == decimal || character == QLatin1String("."))
        return true;
    if (character.size() != 1)
        return false;
    const QChar c = character[0];
    if (c == QChar(8)) // Backspace
        return true;
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
    // The separator key of the numeric keypad and a typed point stand for the decimal separator.
    const bool keypadSeparator = (event->modifiers() & Qt::KeypadModifier) &&
                                 (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma);
    if ((keypadSeparator || typed == QLatin1String(".")) && typed != QLocale().decimalPoint()) {
        insert(QLocale().decimalPoint());
        event->accept();
        return;
    }
    if (typesCharacter(event) && !acceptsCharacter(typed)) {
        QApplication::beep();
        emit keyRefused();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
