#pragma once

#include "register/RegisterDatabase.h"

#include <QString>

#include <optional>

// The editor's settings for the register: where the database lies ("Register" in the settings'
// section, the user's application data folder when empty) and the payee a new register takes.
namespace RegisterSettings {

QString path();
void setPath(const QString& path);
// The payee numbers of the settings; none while the bankgiro number is not set.
std::optional<RegisterPayee> payee();

} // namespace RegisterSettings
