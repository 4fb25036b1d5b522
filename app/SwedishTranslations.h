#pragma once

class QCoreApplication;

// Installs Qt's own Swedish translations and our Swedish wording of the file dialog, standard
// buttons and edit menus, so they read "Avbryt", "Ja", "Nej", "Leta i:", "Ångra". Returns false
// when Qt's translation files are not installed; the built-in wording is installed regardless.
bool InstallSwedishTranslations(QCoreApplication& application);
