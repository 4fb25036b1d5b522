#include "register/RegisterSettings.h"

#include "register/RegisterText.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

namespace RegisterSettings {

namespace {

QString Name()
{
    return QStringLiteral("Register");
}

} // namespace

QString path()
{
    const QString chosen = chosenPath();
    return chosen.isEmpty() ? RegisterDatabase::defaultPath() : chosen;
}

QString chosenPath()
{
    return ReadSetting(SettingsStore::section(), Name(), QString());
}

QString problemWith(const QString& path)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo file(path);
    // A relative path would lead wherever the program happens to be started from.
    if (file.isRelative())
        return QStringLiteral("Ange registrets hela sökväg, med mapp och filnamn.");
    if (file.isDir())
        return QStringLiteral("%1 är en mapp. Välj en fil för registret.")
            .arg(QDir::toNativeSeparators(path));
    return QString();
}

void setPath(const QString& path)
{
    WriteSetting(SettingsStore::section(), Name(), path);
}

std::optional<RegisterPayee> payee()
{
    const PayeeNumbers numbers = SettingsStore::payeeNumbers();
    const QString bankgiro = RegisterText::digits(numbers.bankgiroNumber);
    if (bankgiro.isEmpty())
        return std::nullopt;
    return RegisterPayee{bankgiro, RegisterText::digits(numbers.customerNumber)};
}

} // namespace RegisterSettings
