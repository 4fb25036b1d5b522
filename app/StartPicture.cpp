#include "app/StartPicture.h"

#include <QFile>
#include <QPainter>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// Pictures larger than this are refused rather than decoded into a huge image.
constexpr JDIMENSION MaxPictureSide = 8192;

// libjpeg reports a fatal error by calling error_exit, which must not return; we jump back to
// the decoder instead of letting the library end the program.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jumpBack;
};

[[noreturn]] void jumpOnError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(manager->jumpBack, 1);
}

void ignoreMessage(j_common_ptr) {}

// Reads the picture into `image`. Only plain C data lives between setjmp and a possible
// longjmp: the image is owned by the caller.
bool decodeInto(const QByteArray& bytes, QImage& image)
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpOnError;
    errors.base.output_message = ignoreMessage;

    if (setjmp(errors.jumpBack)) {
        jpeg_destroy_decompress(&info);
        image = QImage();
        return false;
    }

    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.image_width == 0 || info.image_height == 0 ||
        info.image_width > MaxPictureSide || info.image_height > MaxPictureSide) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }

    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (image.isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW line = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &line, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

QByteArray readResource(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace

QImage StartPicture::decodeJpeg(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QImage();
    QImage image;
    if (!decodeInto(bytes, image))
        return QImage();
    return image;
}

StartPicture::StartPicture(const QString& resource, QWidget* parent)
    : QWidget(parent), m_picture(decodeJpeg(readResource(resource)))
{
}

QSize StartPicture::sizeHint() const
{
    return m_picture.isNull() ? QSize(0, 0) : m_picture.size();
}

void StartPicture::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    const QPoint origin((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2);
    painter.drawImage(origin, m_picture);
}
