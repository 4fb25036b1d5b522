#pragma once

#include <QWidget>

// The panel that the fields of an entry dialog stand on: curved corners, a light violet fill and a
// grey outline.
class FieldPanel : public QWidget
{
    Q_OBJECT

public:
    explicit FieldPanel(QWidget* parent = nullptr);

    static QColor fillColor();

protected:
    void paintEvent(QPaintEvent* event) override;
};
