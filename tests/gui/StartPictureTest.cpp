#include "app/StartPicture.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

namespace {

TEST(StartPictureTest, DecodesAJpegAndRefusesAnythingElse)
{
    QImage original(40, 24, QImage::Format_RGB888);
    original.fill(QColor(200, 40, 40));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (QImageWriter::supportedImageFormats().contains("jpeg")) {
        ASSERT_TRUE(original.save(&buffer, "JPEG", 95));
        const QImage decoded = StartPicture::decodeJpeg(jpeg);
        ASSERT_EQ(decoded.size(), QSize(40, 24));
        const QColor middle = decoded.pixelColor(20, 12);
        EXPECT_NEAR(middle.red(), 200, 8);
        EXPECT_NEAR(middle.green(), 40, 8);
        // A cut-off file is refused without ending the program.
        EXPECT_TRUE(StartPicture::decodeJpeg(jpeg.left(jpeg.size() / 3)).isNull() ||
                    StartPicture::decodeJpeg(jpeg.left(jpeg.size() / 3)).size() == QSize(40, 24));
    }
    EXPECT_TRUE(StartPicture::decodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(StartPicture::decodeJpeg(QByteArray("not a picture at all")).isNull());
    EXPECT_TRUE(StartPicture::decodeJpeg(QByteArray("\xFF\xD8\xFF\xE0garbage", 11)).isNull());
    StartPicture missing(QStringLiteral(":/no/such/picture.jpg"));
    EXPECT_TRUE(missing.picture().isNull());
}

} // namespace
