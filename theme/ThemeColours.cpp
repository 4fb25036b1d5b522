#include "theme/ThemeColours.h"

namespace {

const QColor Violet(128, 128, 255);

} // namespace

bool ThemeColours::isDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor ThemeColours::blend(const QColor& from, const QColor& to, double share)
{
    const auto mix = [share](int a, int b) { return qRound(a + (b - a) * share); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()));
}

QColor ThemeColours::dialogBackground(const QPalette& palette)
{
    if (!isDark(palette))
        return QColor(236, 236, 255);
    return blend(palette.color(QPalette::Window), Violet, 0.08);
}

QColor ThemeColours::panelFill(const QPalette& palette)
{
    if (!isDark(palette))
        return QColor(218, 218, 255);
    return blend(palette.color(QPalette::Window), Violet, 0.18);
}

QColor ThemeColours::panelOutline(const QPalette& palette)
{
    if (!isDark(palette))
        return QColor(128, 128, 128);
    return blend(palette.color(QPalette::Window), palette.color(QPalette::WindowText), 0.35);
}

QColor ThemeColours::evenStripe(const QPalette& palette)
{
    if (!isDark(palette))
        return QColor(218, 218, 255);
    return blend(palette.color(QPalette::Base), Violet, 0.16);
}

QColor ThemeColours::oddStripe(const QPalette& palette)
{
    if (!isDark(palette))
        return QColor(236, 236, 255);
    return blend(palette.color(QPalette::Base), Violet, 0.06);
}

QColor ThemeColours::stripeText(const QPalette& palette)
{
    return isDark(palette) ? palette.color(QPalette::Text) : QColor(Qt::black);
}

QColor ThemeColours::heading(const QPalette& palette)
{
    if (!isDark(palette))
        return QColor(74, 67, 163);
    return blend(palette.color(QPalette::WindowText), Violet, 0.35);
}

QColor ThemeColours::unfocusedSelection(const QPalette& palette)
{
    if (!isDark(palette))
        return QColor(200, 200, 214);
    return blend(palette.color(QPalette::Base), palette.color(QPalette::Text), 0.25);
}

QColor ThemeColours::warningText(const QPalette& palette)
{
    if (!isDark(palette))
        return QColor(160, 0, 0);
    return blend(palette.color(QPalette::WindowText), QColor(255, 64, 64), 0.55);
}

QPalette ThemeColours::dialogPalette(const QPalette& palette)
{
    QPalette colours = palette;
    colours.setColor(QPalette::Window, dialogBackground(palette));
    return colours;
}
