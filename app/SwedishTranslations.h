#pragma once

class QCoreApplication;

// Installs Qt's own Swedish translations, so standard buttons and file dialogs read "Avbryt",
// "Ja", "Nej", "Spara", "Öppna". Returns false when the translation files are not installed.
bool InstallSwedishTranslations(QCoreApplication& application);
