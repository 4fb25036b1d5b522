#include "app/WindowMemory.h"

#include "rules/ValmoError.h"
#include "settings/SettingsStore.h"

#include <QHeaderView>
#include <QWidget>

namespace {

// The window's memory is a convenience: a value that cannot be read or stored is simply not
// remembered.
template <typename Read> QString readOrEmpty(Read read)
{
    try {
        return read();
    } catch (const SettingsError&) {
        return QString();
    }
}

template <typename Write> void writeIfPossible(Write write)
{
    try {
        write();
    } catch (const SettingsError&) {
    }
}

} // namespace

bool WindowMemory::restoreGeometry(QWidget* window)
{
    const QString stored = readOrEmpty(SettingsStore::windowGeometry);
    return !stored.isEmpty() && window->restoreGeometry(QByteArray::fromBase64(stored.toLatin1()));
}

void WindowMemory::saveGeometry(const QWidget* window)
{
    writeIfPossible(
        [&] { SettingsStore::setWindowGeometry(QString::fromLatin1(window->saveGeometry().toBase64())); });
}

bool WindowMemory::restoreGeometry(QWidget* window, const QString& name)
{
    const QString stored = readOrEmpty([&] { return SettingsStore::windowGeometryOf(name); });
    return !stored.isEmpty() && window->restoreGeometry(QByteArray::fromBase64(stored.toLatin1()));
}

void WindowMemory::saveGeometry(const QWidget* window, const QString& name)
{
    writeIfPossible([&] {
        SettingsStore::setWindowGeometryOf(name, QString::fromLatin1(window->saveGeometry().toBase64()));
    });
}

QList<int> WindowMemory::columnWidths(const QString& list)
{
    QList<int> widths;
    for (const QString& width : readOrEmpty([&] {
                                    return SettingsStore::columnWidths(list);
                                }).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int value = width.toInt(&ok);
        if (!ok || value <= 0 || value > 5000)
            return {};
        widths.append(value);
    }
    return widths;
}

void WindowMemory::saveColumnWidths(const QString& list, const QHeaderView* header)
{
    QStringList widths;
    for (int column = 0; column < header->count(); ++column)
        widths.append(QString::number(header->sectionSize(column)));
    writeIfPossible([&] { SettingsStore::setColumnWidths(list, widths.join(QLatin1Char(','))); });
}

double WindowMemory::share(const QString& splitter)
{
    bool ok = false;
    const double value = readOrEmpty([&] { return SettingsStore::splitterShare(splitter); }).toDouble(&ok);
    return ok && value > 0.0 && value < 1.0 ? value : -1.0;
}

void WindowMemory::saveShare(const QString& splitter, double share)
{
    if (share > 0.0 && share < 1.0)
        writeIfPossible([&] { SettingsStore::setSplitterShare(splitter, QString::number(share, 'f', 4)); });
}
