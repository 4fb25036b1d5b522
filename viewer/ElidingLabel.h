#pragma once

#include <QLabel>

// A one-line label that shows as much of its text as fits and an ellipsis in the middle for the
// rest, so a long path never widens its window nor pushes the widgets beside it away. The whole
// text is the tooltip.
class ElidingLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidingLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    QString fullText() const { return m_fullText; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString m_fullText;
};
