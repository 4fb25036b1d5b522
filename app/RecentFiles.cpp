#include "app/RecentFiles.h"

#include "rules/ValmoError.h"
#include "settings/SettingsStore.h"

#include <QDir>

namespace {

// The list is a convenience: a store that cannot be written keeps the old list, and the command
// that opened or saved the file has already succeeded.
void store(const QStringList& paths)
{
    try {
        for (int i = 0; i < RecentFiles::MaxCount; ++i)
            SettingsStore::setRecentFile(i, paths.value(i));
    } catch (const SettingsError&) {
    }
}

} // namespace

QStringList RecentFiles::load()
{
    QStringList paths;
    try {
        for (int i = 0; i < MaxCount; ++i) {
            const QString path = SettingsStore::recentFile(i);
            if (!path.isEmpty() && !paths.contains(path))
                paths.append(path);
        }
    } catch (const SettingsError&) {
    }
    return paths;
}

void RecentFiles::add(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    QStringList paths = load();
    paths.removeAll(clean);
    paths.prepend(clean);
    store(paths.mid(0, MaxCount));
}

void RecentFiles::remove(const QString& path)
{
    QStringList paths = load();
    paths.removeAll(QDir::cleanPath(path));
    store(paths);
}
