#include "app/SwedishTranslations.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

struct Phrase
{
    const char* context;
    const char* source;
    const char* swedish;
};

// Qt's own texts in the file dialog, the standard buttons and the edit menus, worded as the
// Swedish desktop words them. The Swedish catalogue some distributions ship is old and leaves
// many of these in English, so this list is consulted before it.
const Phrase phrases[] = {
    {"QFileDialog", "Look in:", "Leta i:"},
    {"QFileDialog", "Back", "Tillbaka"},
    {"QFileDialog", "Forward", "Framåt"},
    {"QFileDialog", "Parent Directory", "Upp en nivå"},
    {"QFileDialog", "Create New Folder", "Skapa ny mapp"},
    {"QFileDialog", "List View", "Lista"},
    {"QFileDialog", "Detail View", "Detaljer"},
    {"QFileDialog", "Go back", "Gå tillbaka"},
    {"QFileDialog", "Go forward", "Gå framåt"},
    {"QFileDialog", "Go to the parent directory", "Gå upp en nivå"},
    {"QFileDialog", "Create a New Folder", "Skapa en ny mapp"},
    {"QFileDialog", "Change to list view mode", "Visa som lista"},
    {"QFileDialog", "Change to detail view mode", "Visa med detaljer"},
    {"QFileDialog", "Sidebar", "Sidopanel"},
    {"QFileDialog", "List of places and bookmarks", "Platser och bokmärken"},
    {"QFileDialog", "Files", "Filer"},
    {"QFileDialog", "File &name:", "Fil&namn:"},
    {"QFileDialog", "Directory:", "Mapp:"},
    {"QFileDialog", "Files of type:", "Filformat:"},
    {"QFileDialog", "&Open", "&Öppna"},
    {"QFileDialog", "&Save", "&Spara"},
    {"QFileDialog", "&Choose", "&Välj"},
    {"QFileDialog", "Open", "Öppna"},
    {"QFileDialog", "Save As", "Spara som"},
    {"QFileDialog", "Find Directory", "Välj mapp"},
    {"QFileDialog", "All Files (*)", "Alla filer (*)"},
    {"QFileDialog", "Directories", "Mappar"},
    {"QFileDialog", "&Rename", "&Byt namn"},
    {"QFileDialog", "&Delete", "&Ta bort"},
    {"QFileDialog", "Show &hidden files", "Visa &dolda filer"},
    {"QFileDialog", "&New Folder", "&Ny mapp"},
    {"QFileDialog", "New Folder", "Ny mapp"},
    {"QFileDialog", "Remove", "Ta bort"},
    {"QFileDialog", "Show ", "Visa "},
    {"QFileDialog", "Recent Places", "Senaste platser"},
    {"QFileDialog", "%1 already exists.\nDo you want to replace it?",
     "%1 finns redan.\nVill du ersätta den?"},
    {"QFileDialog", "Are you sure you want to delete '%1'?", "Vill du ta bort ”%1”?"},
    {"QFileDialog", "'%1' is write protected.\nDo you want to delete it anyway?",
     "”%1” är skrivskyddad.\nVill du ta bort den ändå?"},
    {"QFileDialog", "Could not delete directory.", "Det gick inte att ta bort mappen."},
    {"QFileDialog", "%1\nFile not found.\nPlease verify the correct file name was given.",
     "%1\nFilen hittades inte.\nKontrollera att filnamnet är rätt."},
    {"QFileDialog", "%1\nDirectory not found.\nPlease verify the correct directory name was given.",
     "%1\nMappen hittades inte.\nKontrollera att mappnamnet är rätt."},
    {"QFileDialog", "Drive", "Enhet"},
    {"QFileDialog", "File", "Fil"},
    {"QFileDialog", "File Folder", "Filmapp"},
    {"QFileDialog", "Folder", "Mapp"},
    {"QFileDialog", "Alias", "Alias"},
    {"QFileDialog", "Shortcut", "Genväg"},
    {"QFileDialog", "Unknown", "Okänd"},
    {"QAbstractFileIconProvider", "Drive", "Enhet"},
    {"QAbstractFileIconProvider", "File Folder", "Filmapp"},
    {"QAbstractFileIconProvider", "Folder", "Mapp"},
    {"QAbstractFileIconProvider", "Alias", "Alias"},
    {"QAbstractFileIconProvider", "Shortcut", "Genväg"},
    {"QAbstractFileIconProvider", "Unknown", "Okänd"},
    {"QFileSystemModel", "Name", "Namn"},
    {"QFileSystemModel", "Size", "Storlek"},
    {"QFileSystemModel", "Type", "Typ"},
    {"QFileSystemModel", "Kind", "Typ"},
    {"QFileSystemModel", "Date Modified", "Ändringsdatum"},
    {"QFileSystemModel", "Computer", "Dator"},
    {"QFileSystemModel", "My Computer", "Dator"},
    {"QFileSystemModel", "Invalid filename", "Ogiltigt filnamn"},
    {"QFileSystemModel",
     "<b>The name \"%1\" cannot be used.</b><p>Try using another name, with fewer characters or no "
     "punctuation marks.",
     "<b>Namnet ”%1” kan inte användas.</b><p>Försök med ett annat namn, med färre tecken eller "
     "utan skiljetecken."},
    {"QMessageBox", "Show Details...", "Visa detaljer..."},
    {"QMessageBox", "Hide Details...", "Dölj detaljer..."},
    {"QPlatformTheme", "OK", "OK"},
    {"QPlatformTheme", "Save", "Spara"},
    {"QPlatformTheme", "Save All", "Spara alla"},
    {"QPlatformTheme", "Open", "Öppna"},
    {"QPlatformTheme", "&Yes", "&Ja"},
    {"QPlatformTheme", "Yes to &All", "Ja till &alla"},
    {"QPlatformTheme", "&No", "&Nej"},
    {"QPlatformTheme", "N&o to All", "N&ej till alla"},
    {"QPlatformTheme", "Abort", "Avbryt"},
    {"QPlatformTheme", "Retry", "Försök igen"},
    {"QPlatformTheme", "Ignore", "Ignorera"},
    {"QPlatformTheme", "Close", "Stäng"},
    {"QPlatformTheme", "Cancel", "Avbryt"},
    {"QPlatformTheme", "Discard", "Spara inte"},
    {"QPlatformTheme", "Help", "Hjälp"},
    {"QPlatformTheme", "Apply", "Verkställ"},
    {"QPlatformTheme", "Reset", "Återställ"},
    {"QPlatformTheme", "Restore Defaults", "Återställ standardvärden"},
    {"QLineEdit", "&Undo", "&Ångra"},
    {"QLineEdit", "&Redo", "&Gör om"},
    {"QLineEdit", "Cu&t", "Klipp u&t"},
    {"QLineEdit", "&Copy", "&Kopiera"},
    {"QLineEdit", "&Paste", "K&listra in"},
    {"QLineEdit", "Delete", "Ta bort"},
    {"QLineEdit", "Select All", "Markera allt"},
    {"QAbstractSpinBox", "&Select All", "&Markera allt"},
    {"QAbstractSpinBox", "&Step up", "Stega &upp"},
    {"QAbstractSpinBox", "Step &down", "Stega &ned"},
    {"QWidgetTextControl", "&Undo", "&Ångra"},
    {"QWidgetTextControl", "&Redo", "&Gör om"},
    {"QWidgetTextControl", "Cu&t", "Klipp u&t"},
    {"QWidgetTextControl", "&Copy", "&Kopiera"},
    {"QWidgetTextControl", "Copy &Link Location", "Kopiera &länkadress"},
    {"QWidgetTextControl", "&Paste", "K&listra in"},
    {"QWidgetTextControl", "Delete", "Ta bort"},
    {"QWidgetTextControl", "Select All", "Markera allt"},
    // Qt's own reasons why a file cannot be saved, shown inside the save command's message.
    {"QSaveFile", "Filename refers to a directory", "Filnamnet är namnet på en mapp"},
    {"QSaveFile", "Existing file %1 is not writable", "Den befintliga filen %1 är skrivskyddad"},
    {"QSaveFile", "Writing canceled by application", "Skrivningen avbröts av programmet"},
    {"QIODevice", "Unknown error", "Okänt fel"},
    // "valmo --help" and a mistyped option on the command line.
    {"QCommandLineParser", "Usage: %1", "Användning: %1"},
    {"QCommandLineParser", "[options]", "[alternativ]"},
    {"QCommandLineParser", "Options:", "Alternativ:"},
    {"QCommandLineParser", "Arguments:", "Argument:"},
    {"QCommandLineParser", "Displays help on commandline options.", "Visar hjälp om alternativen."},
    {"QCommandLineParser", "Displays help including Qt specific options.",
     "Visar hjälp om alternativen, också dem som gäller Qt."},
    {"QCommandLineParser", "Displays version information.", "Visar versionen."},
    {"QCommandLineParser", "Unknown option '%1'.", "Okänt alternativ ”%1”."},
    {"QCommandLineParser", "Unknown options: %1.", "Okända alternativ: %1."},
    {"QCommandLineParser", "Missing value after '%1'.", "Värde saknas efter ”%1”."},
    {"QCommandLineParser", "Unexpected value after '%1'.", "Oväntat värde efter ”%1”."},
};

// Answers from the list above, whatever disambiguation Qt passes along.
class SwedishPhrases : public QTranslator
{
public:
    explicit SwedishPhrases(QObject* parent) : QTranslator(parent)
    {
        for (const Phrase& phrase : phrases)
            m_texts.insert(key(phrase.context, phrase.source), QString::fromUtf8(phrase.swedish));
    }

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (!context || !sourceText)
            return QString();
        return m_texts.value(key(context, sourceText));
    }

private:
    static QByteArray key(const char* context, const char* sourceText)
    {
        return QByteArray(context) + '\0' + QByteArray(sourceText);
    }

    QHash<QByteArray, QString> m_texts;
};

// Some distributions ship Swedish only in the older combined catalogue, where the standard button
// texts sit under QDialogButtonBox instead of QPlatformTheme. Look there when the newer context
// has no translation.
class QtCatalogue : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override
    {
        QString text = QTranslator::translate(context, sourceText, disambiguation, n);
        if (text.isEmpty() && context && qstrcmp(context, "QPlatformTheme") == 0)
            text = QTranslator::translate("QDialogButtonBox", sourceText, disambiguation, n);
        return text;
    }
};

bool installCatalogue(QCoreApplication& application, const QString& name)
{
    auto* catalogue = new QtCatalogue(&application);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!catalogue->load(QLocale(QLocale::Swedish, QLocale::Sweden), name, QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(catalogue)) {
        delete catalogue;
        return false;
    }
    return true;
}

} // namespace

bool InstallSwedishTranslations(QCoreApplication& application)
{
    // qtbase_sv is the current catalogue; qt_sv the combined one that older packages ship.
    const bool modern = installCatalogue(application, QStringLiteral("qtbase"));
    const bool combined = installCatalogue(application, QStringLiteral("qt"));
    // Installed last, so it is asked first.
    QCoreApplication::installTranslator(new SwedishPhrases(&application));
    return modern || combined;
}
