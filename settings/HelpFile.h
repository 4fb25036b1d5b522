#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// The help file "Hjälp Valmo.rcc": Swedish HTML pages compiled into a Qt resource file that is
// installed beside the program, not linked into it. It is looked for beside the program first (a
// build tree, a Windows install) and then in ../share/valmo (an installed Linux layout).
class HelpFile
{
public:
    static QString fileName();
    // Where the pages appear once the file is registered, e.g. ":/hjalp/Välkommen.htm".
    static QString resourceFolder();
    static QString welcomePage();

    // The folders searched, in order: the program's own folder, then ../share/valmo beside it.
    static QStringList searchFolders();
    static QStringList searchFoldersFor(const QString& programFolder);
    // Tests: search these folders instead. An empty list restores the program's own folders.
    static void setSearchFolders(const QStringList& folders);

    // The full path of the first help file found, or an empty text.
    static QString locate();
    // Registers the help file once. True when its pages can be read.
    static bool load();
    static void unload();
    static bool isLoaded();

    // "Medgivanden.htm#kontonummer" as an address the help browser opens. A topic whose page is
    // not in the help file gives the welcome page.
    static QUrl topicUrl(const QString& topic);
    static bool hasPage(const QString& page);

    // The contents of the help: page file names with their titles, in reading order.
    struct Entry
    {
        QString page;
        QString title;
    };
    static QList<Entry> contents();

    // Shown when the help file cannot be found or read.
    static QString notAvailableMessage();
};
