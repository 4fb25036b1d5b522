#include "app/VersionText.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionTextTest, DropsTheLastTwoCharacters)
{
    EXPECT_EQ(VersionWithoutLastPart(QStringLiteral("1.4.2.3")), QStringLiteral("1.4.2"));
    EXPECT_EQ(VersionWithoutLastPart(QStringLiteral("1.0.0.10")), QStringLiteral("1.0.0."));
    EXPECT_EQ(VersionWithoutLastPart(QStringLiteral("12")), QString());
    EXPECT_EQ(VersionWithoutLastPart(QStringLiteral("1")), QString());
    EXPECT_EQ(VersionWithoutLastPart(QString()), QString());
    EXPECT_EQ(GetVersionText(), QStringLiteral("1.0.0"));
}

} // namespace
