#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Tests that depend on the user's locale set it themselves; the default is pinned here.
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    TestEnvironment environment;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
