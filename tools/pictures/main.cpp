// Writes every picture of the editor into a source tree:
//   valmo-pictures SOURCE_ROOT
// resources/   toolbar and row icons, dialog decorations, start picture, window icon
// packaging/   the application and order-file icons for the desktop (hicolor theme)

#include "AppIcons.h"
#include "DialogPictures.h"
#include "RowIcons.h"
#include "StartPicture.h"
#include "ToolbarIcons.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {
bool g_failed = false;

void report(const QString& path, bool written)
{
    std::printf("%s %s\n", written ? "wrote" : "FAILED", qPrintable(path));
    g_failed = g_failed || !written;
}

void savePng(const QImage& image, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    report(path, image.save(path, "PNG"));
}

void saveText(const QString& text, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    const bool opened = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    const bool written = opened && file.write(text.toUtf8()) == text.toUtf8().size();
    report(path, written);
}

// Each picture also gets a twice as large "@2x" version, which Qt picks on high-density screens.
void writeSet(const std::vector<std::pair<QString, Drawing>>& set, const QString& folder)
{
    for (const auto& [name, drawing] : set) {
        const int side = qRound(drawing.grid().width());
        savePng(drawing.render(side), folder + QLatin1Char('/') + name + QStringLiteral(".png"));
        savePng(drawing.render(2 * side), folder + QLatin1Char('/') + name + QStringLiteral("@2x.png"));
    }
}

void writeDesktopIcons(const QString& hicolor)
{
    const Drawing app = applicationIcon();
    const Drawing orderFile = orderFileIcon();
    const QString appName = QStringLiteral("se.orvida.valmo");
    const QString typeName = QStringLiteral("application-x-autogiro-order");
    for (int side : {16, 24, 32, 48, 64, 128, 256})
        savePng(app.render(side), QStringLiteral("%1/%2x%2/apps/%3.png").arg(hicolor).arg(side).arg(appName));
    for (int side : {16, 24, 32, 48, 64, 128})
        savePng(orderFile.render(side),
                QStringLiteral("%1/%2x%2/mimetypes/%3.png").arg(hicolor).arg(side).arg(typeName));
    saveText(app.toSvg(QSize(256, 256)), QStringLiteral("%1/scalable/apps/%2.svg").arg(hicolor, appName));
    saveText(orderFile.toSvg(QSize(48, 48)),
             QStringLiteral("%1/scalable/mimetypes/%2.svg").arg(hicolor, typeName));
}
} // namespace

int main(int argc, char* argv[])
{
    // Pictures need fonts but never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: valmo-pictures SOURCE_ROOT\n");
        return 2;
    }
    const QString root = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString resources = root + QStringLiteral("/resources");

    writeSet(toolbarIcons(), resources + QStringLiteral("/icons/toolbar"));
    writeSet(rowIcons(), resources + QStringLiteral("/icons/rows"));
    writeSet(dialogPictures(), resources + QStringLiteral("/pictures"));
    savePng(applicationIcon().render(256), resources + QStringLiteral("/icons/valmo.png"));

    const QString start = resources + QStringLiteral("/pictures/start.jpg");
    QDir().mkpath(QFileInfo(start).absolutePath());
    report(start, startPicture().save(start, "JPG", 92));

    writeDesktopIcons(root + QStringLiteral("/packaging/icons/hicolor"));
    return g_failed ? 1 : 0;
}
