#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

// Find in a read-only text: Ctrl+F shows the bar, Return and F3 find the next hit, Shift+F3 the
// previous one, wrapping at the ends; Escape hides the bar and gives the focus back to the text.
// A search that finds nothing says so in the bar and leaves the caret where it was.
class TextFindBar : public QWidget
{
    Q_OBJECT

public:
    TextFindBar(QPlainTextEdit& text, QWidget* parent = nullptr);

    void open();
    // False when the text does not hold the search text (or it is empty).
    bool findNext(bool backwards = false);

    QLineEdit* edit() const { return m_edit; }
    QString notice() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit& m_text;
    QLineEdit* m_edit = nullptr;
    QLabel* m_notice = nullptr;
};
