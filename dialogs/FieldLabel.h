#pragma once

#include <QLabel>

// A field's caption that asks for a little room past its text: font metrics count each glyph's
// advance, but hinting and antialiasing, above all at a scale factor, can put the ink of a last
// letter (the tail of a "g") a pixel or two beyond it, where the field beside it would cut it.
class FieldLabel : public QLabel
{
public:
    explicit FieldLabel(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The room added past the text, in proportion to the font.
    static int slack(const QFont& font);
};
