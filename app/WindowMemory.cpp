#include "app/WindowMemory.h"

#include "rules/ValmoError.h"
#include "settings/SettingsStore.h"

#include <QHeaderView>
#include <QWidget>

namespace {

QString read(const QString& name)
{
    try {
        return ReadSetting(SettingsStore::section(), name, QString());
    } catch (const SettingsError&) {
        return QString();
    }
}

void write(const QString& name, const QString& value)
{
    try {
        WriteSetting(SettingsStore::section(), name, value);
    } catch (const SettingsError&) {
    }
}

} // namespace

bool WindowMemory::restoreGeometry(QWidget* window)
{
    const QString stored = read(QStringLiteral("WindowGeometry"));
    return !stored.isEmpty() && window->restoreGeometry(QByteArray::fromBase64(stored.toLatin1()));
}

void WindowMemory::saveGeometry(const QWidget* window)
{
    write(QStringLiteral("WindowGeometry"), QString::fromLatin1(window->saveGeometry().toBase64()));
}

QList<int> WindowMemory::columnWidths(const QString& list)
{
    QList<int> widths;
    for (const QString& width :
         read(QStringLiteral("Columns") + list).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
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
    write(QStringLiteral("Columns") + list, widths.join(QLatin1Char(',')));
}

double WindowMemory::share(const QString& splitter)
{
    bool ok = false;
    const double value = read(splitter + QStringLiteral("Share")).toDouble(&ok);
    return ok && value > 0.0 && value < 1.0 ? value : -1.0;
}

void WindowMemory::saveShare(const QString& splitter, double share)
{
    if (share > 0.0 && share < 1.0)
        write(splitter + QStringLiteral("Share"), QString::number(share, 'f', 4));
}
