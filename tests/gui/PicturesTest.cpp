#include <QFile>
#include <QImage>
#include <QSet>
#include <QSize>
#include <QString>

#include <gtest/gtest.h>

namespace {
struct Picture
{
    const char* path;
    QSize size;
};

const Picture Pictures[] = {
    {":/icons/toolbar/open.png", {32, 32}},      {":/icons/toolbar/new.png", {32, 32}},
    {":/icons/toolbar/save.png", {32, 32}},      {":/icons/toolbar/show.png", {32, 32}},
    {":/icons/toolbar/import.png", {32, 32}},    {":/icons/toolbar/export.png", {32, 32}},
    {":/icons/toolbar/mandate.png", {32, 32}},   {":/icons/toolbar/payment.png", {32, 32}},
    {":/icons/toolbar/cancel.png", {32, 32}},    {":/icons/toolbar/edit.png", {32, 32}},
    {":/icons/toolbar/delete.png", {32, 32}},    {":/icons/toolbar/settings.png", {32, 32}},
    {":/icons/toolbar/help.png", {32, 32}},      {":/icons/rows/payment.png", {16, 16}},
    {":/icons/rows/mandate.png", {16, 16}},      {":/icons/rows/change.png", {16, 16}},
    {":/pictures/payment.png", {96, 96}},        {":/pictures/mandate.png", {96, 96}},
    {":/pictures/companymandate.png", {96, 96}}, {":/pictures/change.png", {96, 96}},
    {":/pictures/settings.png", {64, 64}},       {":/pictures/start.jpg", {480, 300}},
    {":/icons/valmo.png", {256, 256}},
};

QString pathOf(const Picture& picture)
{
    return QString::fromLatin1(picture.path);
}

int distinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours.size();
}
} // namespace

// Every picture the windows ask for is compiled into the program, has its size and is a real
// drawing: several colours, partly transparent where it is an icon.
TEST(Pictures, EveryResourceLoadsWithItsSizeAndIsDrawn)
{
    for (const Picture& picture : Pictures) {
        SCOPED_TRACE(picture.path);
        const QImage image(pathOf(picture));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), picture.size);
        EXPECT_GE(distinctColours(image), 8);
        if (pathOf(picture).endsWith(QLatin1String(".png")))
            EXPECT_TRUE(image.hasAlphaChannel());
    }
}

// High-density screens get every icon and decoration drawn at twice the size.
TEST(Pictures, EveryIconHasADoubleSizeVersion)
{
    for (const Picture& picture : Pictures) {
        QString path = pathOf(picture);
        if (!path.endsWith(QLatin1String(".png")) || path == QLatin1String(":/icons/valmo.png"))
            continue;
        path.insert(path.size() - 4, QLatin1String("@2x"));
        SCOPED_TRACE(qPrintable(path));
        const QImage image(path);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), picture.size * 2);
    }
}

TEST(Pictures, StartPictureIsAJpegFile)
{
    QFile file(QStringLiteral(":/pictures/start.jpg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 4);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xD8);
    EXPECT_EQ(static_cast<unsigned char>(bytes[bytes.size() - 2]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[bytes.size() - 1]), 0xD9);
}

// No two pictures are the same drawing under different names.
TEST(Pictures, NoPictureRepeatsAnother)
{
    QSet<QByteArray> seen;
    for (const Picture& picture : Pictures) {
        QFile file(pathOf(picture));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << picture.path;
        EXPECT_FALSE(seen.contains(file.readAll())) << picture.path;
        file.seek(0);
        seen.insert(file.readAll());
    }
}
