#pragma once

#include <QLineEdit>
#include <QString>

class QKeyEvent;

// A single-line field for amounts and counts. It keeps a number (Value) beside its text: while
// the field has the focus it shows the plain number for typing, and when the focus leaves it reads
// the number back from the text and shows it formatted with Mask. Only characters that can belong
// to a number are let in from the keyboard; any other key beeps. A typed point becomes the
// decimal separator.
class TNumberEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString Mask READ mask WRITE setMask)
    Q_PROPERTY(double Value READ value WRITE setValue)

public:
    explicit TNumberEdit(QWidget* parent = nullptr);

    QString mask() const { return m_mask; }
    // Takes effect at the next Value write or focus exit.
    void setMask(const QString& mask) { m_mask = mask; }

    double value() const { return m_value; }
    // Stores the number and shows it formatted with Mask.
    void setValue(double value);

    // The number a text stands for: a sign in first place, the digits and the decimal separator
    // are kept, everything else is dropped. A point counts as the decimal separator in every
    // locale, unless the locale's own separator comes after it. Throws ConversionError when the
    // rest is no number.
    static double TextToValue(const QString& text);
    // The number as the field shows it for typing: up to 15 significant digits, the decimal
    // separator, no grouping and no exponent.
    static QString PlainText(double value);
    // Formats a number by a picture such as "#,##0.00" (grouped, two decimals) or "0".
    static QString FormatByMask(double value, const QString& mask);

    // Confirms the text as leaving the field does: Value from the text, then the formatted text.
    // A text that is no number is reported to the user; Value and the text then stay as they are
    // and false is returned.
    bool confirmText();
    // Confirms text typed since the field last showed a value, or the plain form shown since the
    // field was entered (Return pressed inside it).
    bool confirmPendingText();

signals:
    // A typed character was refused (the field has beeped).
    void keyRefused();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static bool typesCharacter(const QKeyEvent* event);
    bool acceptsCharacter(const QString& character) const;
    static bool isWindowSwitch(Qt::FocusReason reason);

    QString m_mask = QStringLiteral("#,##0.00");
    double m_value = 0;
    // The text is the plain form shown on entering, not yet formatted with Mask.
    bool m_showingPlain = false;
};
