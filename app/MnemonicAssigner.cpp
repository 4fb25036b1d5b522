#include "app/MnemonicAssigner.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>

namespace {

QChar mnemonicOf(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i;
    }
    return QChar();
}

// The field in the cell right of a label in a grid: the one the label names.
QWidget* fieldBeside(QLabel* label)
{
    auto* grid =
        label->parentWidget() ? qobject_cast<QGridLayout*>(label->parentWidget()->layout()) : nullptr;
    if (!grid)
        return nullptr;
    const int index = grid->indexOf(label);
    if (index < 0)
        return nullptr;
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    QLayoutItem* item = grid->itemAtPosition(row, column + columnSpan);
    QWidget* field = item ? item->widget() : nullptr;
    return field && field->focusPolicy() != Qt::NoFocus ? field : nullptr;
}

class Assigner
{
public:
    explicit Assigner(QWidget* dialog)
    {
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (!label->buddy() && !label->text().isEmpty())
                if (QWidget* field = fieldBeside(label))
                    label->setBuddy(field);
            if (label->buddy()) {
                m_labels.append(label);
                use(label->text());
            }
        }
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            if (qobject_cast<QPushButton*>(button) || qobject_cast<QRadioButton*>(button) ||
                qobject_cast<QCheckBox*>(button)) {
                m_buttons.append(button);
                use(button->text());
            }
        }
    }

    void run()
    {
        for (QLabel* label : m_labels)
            label->setText(withLetter(label->text()));
        for (QAbstractButton* button : m_buttons)
            button->setText(withLetter(button->text()));
    }

private:
    void use(const QString& text)
    {
        const QChar letter = mnemonicOf(text);
        if (!letter.isNull())
            m_used.insert(letter);
    }

    QString withLetter(const QString& text)
    {
        if (!mnemonicOf(text).isNull() || text.contains(QLatin1Char('&')))
            return text;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar letter = text[i].toLower();
            if (!text[i].isLetterOrNumber() || m_used.contains(letter))
                continue;
            m_used.insert(letter);
            return text.left(i) + QLatin1Char('&') + text.mid(i);
        }
        return text;
    }

    QList<QLabel*> m_labels;
    QList<QAbstractButton*> m_buttons;
    QSet<QChar> m_used;
};

} // namespace

void MnemonicAssigner::assign(QWidget* dialog)
{
    Assigner(dialog).run();
}
