#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

// The colours the editor adds to the desktop's own: the violet tint of the dialogs and their field
// panels, the striped list rows, the section headings and a selection without focus. Under a
// light palette they are the editor's fixed light colours. Under a dark palette (a dark window
// colour) they are derived from the palette, so the palette's light text stays readable on them.
class ThemeColours
{
public:
    static bool isDark(const QPalette& palette = QGuiApplication::palette());

    static QColor dialogBackground(const QPalette& palette = QGuiApplication::palette());
    static QColor panelFill(const QPalette& palette = QGuiApplication::palette());
    static QColor panelOutline(const QPalette& palette = QGuiApplication::palette());
    static QColor evenStripe(const QPalette& palette = QGuiApplication::palette());
    static QColor oddStripe(const QPalette& palette = QGuiApplication::palette());
    // The text on the stripes: dark on the light stripes, the palette's text on the dark ones.
    static QColor stripeText(const QPalette& palette = QGuiApplication::palette());
    static QColor heading(const QPalette& palette = QGuiApplication::palette());
    static QColor unfocusedSelection(const QPalette& palette = QGuiApplication::palette());
    // A notice that something went wrong, such as a text not found: dark red on a light palette,
    // a light red on a dark one.
    static QColor warningText(const QPalette& palette = QGuiApplication::palette());

    // A palette for a dialog: the tinted background as its window colour.
    static QPalette dialogPalette(const QPalette& palette);

    // Between from (0) and to (1).
    static QColor blend(const QColor& from, const QColor& to, double share);
};
