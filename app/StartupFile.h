#pragma once

#include <QStringList>

class TMainForm;

// The file named on the command line ("valmo FILE", which is how a file manager opens an order
// file) is opened once the main window has been painted. A relative name is taken relative to the
// working folder at start-up. Further names are ignored: there is one document.
void OpenStartupFileLater(TMainForm& mainForm, const QStringList& fileArguments);
