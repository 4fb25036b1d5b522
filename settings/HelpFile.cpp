#include "settings/HelpFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QResource>

namespace {

struct State
{
    QStringList testFolders;
    QString registeredPath;
};

State& state()
{
    static State s;
    return s;
}

QString contentsFile()
{
    return HelpFile::resourceFolder() + QStringLiteral("Innehåll.txt");
}

} // namespace

QString HelpFile::fileName()
{
    return QStringLiteral("Hjälp Valmo.rcc");
}

QString HelpFile::resourceFolder()
{
    return QStringLiteral(":/hjalp/");
}

QString HelpFile::welcomePage()
{
    return QStringLiteral("Välkommen.htm");
}

QStringList HelpFile::searchFolders()
{
    if (!state().testFolders.isEmpty())
        return state().testFolders;
    return searchFoldersFor(QCoreApplication::applicationDirPath());
}

QStringList HelpFile::searchFoldersFor(const QString& programFolder)
{
    return {programFolder, QDir::cleanPath(programFolder + QStringLiteral("/../share/valmo"))};
}

void HelpFile::setSearchFolders(const QStringList& folders)
{
    state().testFolders = folders;
}

QString HelpFile::locate()
{
    for (const QString& folder : searchFolders()) {
        const QFileInfo candidate(QDir(folder), fileName());
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return QString();
}

bool HelpFile::load()
{
    if (isLoaded())
        return true;
    const QString path = locate();
    if (path.isEmpty() || !QResource::registerResource(path))
        return false;
    // A file that registers but holds no contents is not our help file.
    if (!QFile::exists(contentsFile())) {
        QResource::unregisterResource(path);
        return false;
    }
    state().registeredPath = path;
    return true;
}

void HelpFile::unload()
{
    if (!isLoaded())
        return;
    QResource::unregisterResource(state().registeredPath);
    state().registeredPath.clear();
}

bool HelpFile::isLoaded()
{
    return !state().registeredPath.isEmpty();
}

bool HelpFile::hasPage(const QString& page)
{
    return !page.isEmpty() && !page.contains(QLatin1Char('/')) && QFileInfo(resourceFolder() + page).isFile();
}

QUrl HelpFile::topicUrl(const QString& topic)
{
    const qsizetype hash = topic.indexOf(QLatin1Char('#'));
    QString page = hash < 0 ? topic : topic.left(hash);
    QString anchor = hash < 0 ? QString() : topic.mid(hash + 1);
    if (!hasPage(page)) {
        page = welcomePage();
        anchor.clear();
    }
    QUrl url;
    url.setScheme(QStringLiteral("qrc"));
    url.setPath(resourceFolder().mid(1) + page);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

QList<HelpFile::Entry> HelpFile::contents()
{
    QList<Entry> entries;
    QFile file(contentsFile());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entries;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0)
            continue;
        const QString page = line.left(tab).trimmed();
        if (hasPage(page))
            entries.append({page, line.mid(tab + 1).trimmed()});
    }
    return entries;
}

QString HelpFile::notAvailableMessage()
{
    return QStringLiteral("Hjälpen är inte tillgänglig, eftersom hjälpfilen \u201D%1\u201D saknas eller är "
                          "skadad.\nInstallera programmet på nytt för att få tillbaka hjälpen.")
        .arg(fileName());
}
