#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QWidget>

// The start section: a JPEG picture centred in the document area. The picture is decoded with
// libjpeg; when it is missing or cannot be decoded, the section stays empty.
class StartPicture : public QWidget
{
    Q_OBJECT
public:
    static QString defaultResource() { return QStringLiteral(":/pictures/start.jpg"); }

    explicit StartPicture(const QString& resource = defaultResource(), QWidget* parent = nullptr);

    const QImage& picture() const { return m_picture; }
    QSize sizeHint() const override;

    // Decodes JPEG bytes into an RGB image; a null image when the bytes are not a usable JPEG.
    static QImage decodeJpeg(const QByteArray& bytes);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
