#include "app/WidgetPrompt.h"

#include <QApplication>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

TEST(WidgetPromptTest, IsWideEnoughForItsCaptionAndItsLongestLine)
{
    const QString caption = QStringLiteral("Lumora Valmo – ett mycket långt namn på fönstret");
    const QString line = QStringLiteral("Filen kunde inte sparas eftersom mappen är skrivskyddad");
    const QFontMetrics metrics(QApplication::font("QMessageBox"));
    EXPECT_GT(WidgetPrompt::openingWidth(caption, QStringLiteral("Kort.")), metrics.horizontalAdvance(caption));
    EXPECT_GT(WidgetPrompt::openingWidth(QString(), line), metrics.horizontalAdvance(line));
}

} // namespace
