#pragma once

#include "register/RegisterDatabase.h"

#include <QString>

#include <optional>

// The editor's settings for the register: where the database lies ("Register" in the settings'
// section, the user's application data folder when empty) and the payee a new register takes.
namespace RegisterSettings {

QString path();
// The path as the user chose it: empty for the default register.
QString chosenPath();
void setPath(const QString& path);
// Why the path cannot name a register, in Swedish; empty when it can. Empty means the default.
QString problemWith(const QString& path);
// The payee numbers of the settings; none while the bankgiro number is not set.
std::optional<RegisterPayee> payee();

} // namespace RegisterSettings
