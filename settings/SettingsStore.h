#pragma once

#include <QString>

// The payee's numbers as stored in the settings: KundNr and BgNr.
struct PayeeNumbers
{
    QString customerNumber;
    QString bankgiroNumber;
};

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
// The section that holds the program's values.
inline QString section()
{
    return QStringLiteral("Settings");
}

// Every value the program keeps, each read from or written to the store afresh. Readers throw
// SettingsError as ReadSetting, writers as WriteSetting. A value that is not set reads as empty.
// The names and forms below are those of existing users' stores and must not change.

// KundNr and BgNr: the payee's customer number as typed, and the bankgiro number as digits.
QString customerNumber();
QString bankgiroNumber();
// BgNr first, then KundNr.
PayeeNumbers payeeNumbers();
void setCustomerNumber(const QString& customerNumber);
void setBankgiroNumber(const QString& bankgiroNumber);
void setPayeeNumbers(const PayeeNumbers& payee);

// The service type, stored as "Privat" or "Företag" under "Tjänst". Anything but "Privat" stored
// means company payers; nothing stored means private ones.
bool readPrivateService();
void writePrivateService(bool privateService);

// LastPath: the folder of the last saved order file, ending in a separator.
QString lastSaveFolder();
void setLastSaveFolder(const QString& folder);
// LastDir: the folder of the last opened order file.
QString lastOpenFolder();
void setLastOpenFolder(const QString& folder);
// LastDir and Kolumner of the section Import: the folder of the last imported CSV file (also
// proposed for exports), and the column mapping last chosen, as ImportCommand writes it.
QString lastImportFolder();
void setLastImportFolder(const QString& folder);
QString importColumns();
void setImportColumns(const QString& columns);

// Sigillering: "Ja" when saved files are sealed; anything else means not.
bool sealingOn();
void setSealingOn(bool on);

// RecentFile1, RecentFile2, ...: the recently used files, position 0 the newest.
QString recentFile(int position);
void setRecentFile(int position, const QString& path);

// The main window's memory, as WindowMemory writes it: WindowGeometry, Columns<list> and
// <splitter>Share.
QString windowGeometry();
void setWindowGeometry(const QString& geometry);
// Another window's size and place, under WindowGeometry<window>.
QString windowGeometryOf(const QString& window);
void setWindowGeometryOf(const QString& window, const QString& geometry);
QString columnWidths(const QString& list);
void setColumnWidths(const QString& list, const QString& widths);
QString splitterShare(const QString& splitter);
void setSplitterShare(const QString& splitter, const QString& share);
} // namespace SettingsStore
