#include "app/MessageBox.h"

#include <QApplication>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

TEST(MessageBoxTest, IsWideEnoughForItsCaptionAndItsLongestLine)
{
    const QString caption = QStringLiteral("Lumora Valmo – ett mycket långt namn på fönstret");
    const QString line = QStringLiteral("Filen kunde inte sparas eftersom mappen är skrivskyddad");
    const QFontMetrics metrics(QApplication::font("QMessageBox"));
    EXPECT_GT(MessageBox::openingWidth(caption, QStringLiteral("Kort.")), metrics.horizontalAdvance(caption));
    EXPECT_GT(MessageBox::openingWidth(QString(), line), metrics.horizontalAdvance(line));
}

} // namespace
