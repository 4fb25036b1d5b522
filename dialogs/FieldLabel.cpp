#include "dialogs/FieldLabel.h"

#include <QFontMetricsF>

#include <cmath>

FieldLabel::FieldLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

int FieldLabel::slack(const QFont& font)
{
    return int(std::ceil(QFontMetricsF(font).height() / 8));
}

QSize FieldLabel::sizeHint() const
{
    return QLabel::sizeHint() + QSize(wordWrap() ? 0 : slack(font()), 0);
}

QSize FieldLabel::minimumSizeHint() const
{
    return QLabel::minimumSizeHint() + QSize(wordWrap() ? 0 : slack(font()), 0);
}
