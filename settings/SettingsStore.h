#pragma once

#include <QString>

// The per-user settings: sections of named text values. Every call opens the store afresh, so a
// value written by another running copy is seen by the next read. Nothing is cached.
//
// Windows: HKEY_CURRENT_USER\Software\Orvida\Valmo\<section>. Elsewhere: an INI file in the user's
// configuration folder (Orvida/Valmo.ini), one group per section.

// The stored value, or defaultValue when it is missing or empty.
// Throws SettingsError "Inställningen '%s' har fel datatyp och kan inte läsas" when the value is not text.
QString ReadSetting(const QString& section, const QString& name, const QString& defaultValue);
// Throws SettingsError "Inställningen '%s' kunde inte sparas" when the store cannot be written.
void WriteSetting(const QString& section, const QString& name, const QString& value);

namespace SettingsStore {
// Points the store at an INI file in the given folder (tests). An empty folder restores the
// user's own store.
void setTestFolder(const QString& folder);
// Keeps every value in memory, never touching a file or the registry (fuzzing, benchmarks). The
// store starts empty; false drops it and goes back to the real store.
void useMemoryStore(bool inMemory = true);
// The section and value names used by the program.
inline QString section()
{
    return QStringLiteral("Settings");
}
// The service type, stored as "Privat" or "Företag" under "Tjänst". Anything but "Privat" stored
// means company payers; nothing stored means private ones. Throws SettingsError as ReadSetting.
bool readPrivateService();
// Throws SettingsError as WriteSetting.
void writePrivateService(bool privateService);
} // namespace SettingsStore
