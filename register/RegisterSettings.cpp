#include "register/RegisterSettings.h"

#include "register/RegisterText.h"
#include "settings/SettingsStore.h"

namespace RegisterSettings {

namespace {

QString Name()
{
    return QStringLiteral("Register");
}

} // namespace

QString path()
{
    const QString chosen = ReadSetting(SettingsStore::section(), Name(), QString());
    return chosen.isEmpty() ? RegisterDatabase::defaultPath() : chosen;
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
