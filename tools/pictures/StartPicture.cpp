#include "StartPicture.h"

#include "Drawing.h"
#include "Palette.h"
#include "Shapes.h"

#include <QLinearGradient>
#include <QPainter>

using namespace Shapes;

namespace {
constexpr int Width = 480;
constexpr int Height = 300;

void paintBackground(QPainter& painter)
{
    QLinearGradient wash(0, 0, 0, Height);
    wash.setColorAt(0, Palette::LavenderPale);
    wash.setColorAt(1, Palette::Paper);
    painter.fillRect(QRect(0, 0, Width, Height), wash);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::Lavender);
    painter.drawEllipse(QPointF(118, 150), 112, 112);
    painter.setBrush(QColor(218, 218, 255, 120));
    painter.drawEllipse(QPointF(430, 40), 70, 70);
    painter.drawEllipse(QPointF(300, 300), 46, 46);
}

// An order file: a sheet of fixed-width records, the first one an opening record.
Drawing orderFile()
{
    Drawing d(QSizeF(Width, Height));
    d.fill(sheet(QRectF(60, 62, 104, 140), 22).translated(8, 6), QColor(74, 67, 163, 40));
    addSheet(d, QRectF(60, 62, 104, 140), 22, 2.5);
    const QFont mono = monoFont(8);
    const QStringList records = {QStringLiteral("0120261208AUTOGIRO"), QStringLiteral("822026121500004710"),
                                 QStringLiteral("822026121500011250"), QStringLiteral("822027011500004710"),
                                 QStringLiteral("040001234500005830"), QStringLiteral("322026122000020900"),
                                 QStringLiteral("822026123100031800")};
    qreal y = 96;
    for (const QString& record : records) {
        QPainterPath line;
        line.addText(70, y, mono, record);
        d.fill(line, y == 96 ? Palette::Violet : Palette::VioletMid);
        y += 14;
    }
    return d;
}

Drawing calendarAndCoins()
{
    Drawing d(QSizeF(Width, Height));
    const QRectF sheetArea(150, 118, 58, 52);
    d.fillAndStroke(rect(sheetArea, 6), Palette::Paper, Palette::Violet, 2.5);
    d.fill(rect(QRectF(sheetArea.left(), sheetArea.top(), sheetArea.width(), 14), 6)
               .united(rect(QRectF(sheetArea.left(), sheetArea.top() + 7, sheetArea.width(), 7))),
           Palette::Violet);
    for (qreal x : {164.0, 194.0})
        d.fill(rect(QRectF(x - 2.5, sheetArea.top() - 5, 5, 10), 2.5), Palette::VioletDark);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            d.fill(rect(QRectF(156 + column * 12.5, 138 + row * 10, 8.5, 6.5), 1.5),
                   row == 1 && column == 1 ? Palette::Gold : Palette::Lavender);

    addCoinStack(d, 116, 238, 46, 5, 6);
    addCoinStack(d, 166, 232, 40, 3, 6);
    addBadge(d, QPointF(56, 210), 17, Palette::Green, 3);
    d.stroke(polyline({QPointF(47, 210), QPointF(64, 210)}), Palette::Paper, 4);
    d.stroke(polyline({QPointF(58.5, 203.5), QPointF(65, 210), QPointF(58.5, 216.5)}), Palette::Paper, 4);
    return d;
}

void paintTitle(QPainter& painter)
{
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(38);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Palette::Violet);
    painter.drawText(QRectF(250, 96, 220, 46), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Lumora"));
    painter.drawText(QRectF(250, 138, 220, 46), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Valmo"));

    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::Gold);
    painter.drawRoundedRect(QRectF(252, 190, 44, 4), 2, 2);

    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(13);
    painter.setFont(subtitle);
    painter.setPen(Palette::VioletDark);
    painter.drawText(QRectF(252, 202, 220, 40), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     QStringLiteral("Betaluppdrag, medgivanden och makuleringar för Autogiro"));
}
} // namespace

QImage startPicture()
{
    QImage image(Width, Height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintBackground(painter);
    const QImage file = orderFile().render(QSize(Width, Height));
    painter.drawImage(0, 0, file);
    const QImage money = calendarAndCoins().render(QSize(Width, Height));
    painter.drawImage(0, 0, money);
    paintTitle(painter);
    painter.end();
    return image;
}
