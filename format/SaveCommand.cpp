#include "format/SaveCommand.h"

#include "app/Clock.h"
#include "app/DocumentView.h"
#include "app/OrderDocument.h"
#include "format/OrderFileWriter.h"
#include "format/UserPrompt.h"
#include "progress/Progress.h"
#include "rules/Extra.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString settingsRefusedText()
{
    return QStringLiteral("Filen kan inte sparas eftersom inställningarna inte är godkända.");
}

QString documentsFolder()
{
#ifdef Q_OS_WIN
    // The user's documents folder as Explorer records it; the key is only read, never created.
    const QSettings shellFolders(
        QStringLiteral(
            "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"),
        QSettings::NativeFormat);
    const QString personal = shellFolders.value(QStringLiteral("Personal")).toString();
    if (!personal.isEmpty())
        return QDir::fromNativeSeparators(personal);
#endif
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

// The folder of path with a trailing separator, as LastPath keeps it.
QString folderWithSeparator(const QString& path)
{
    QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

// Nothing is written when a row cannot be: an earlier file stays as it was, a new one is never made.
QString rowNotWrittenText(const QString& path, const RowWriteError& error)
{
    return QStringLiteral("Filen kunde inte sparas\n%1\n%2\n%3")
        .arg(QDir::toNativeSeparators(path), error.text(),
             QFileInfo::exists(path) ? QStringLiteral("Den tidigare filen är oförändrad.")
                                     : QStringLiteral("Ingen fil har skapats."));
}

} // namespace

SaveCommand::SaveCommand(OrderDocument& doc, DocumentView& view, UserPrompt& prompt, const Clock& clock)
    : m_doc(doc), m_view(view), m_prompt(prompt), m_clock(clock), m_seal(prompt)
{
}

bool SaveCommand::SparaBtnClick()
{
    PayeeNumbers payee;
    QString folder;
    try {
        if (!readPayeeNumbers(payee) || !m_seal.prepare() || !mayBeSaved())
            return false;
        folder = initialFolder();
    } catch (const SettingsError& error) {
        showError(error.text());
        return false;
    }

    UserPrompt::FileDialogOptions options;
    options.initialFolder = folder;
    options.initialFileName = initialFileName();
    options.defaultSuffix = QStringLiteral("ag");
    options.filters = OrderFileFilters();
    options.confirmOverwrite = true;
    const QString path = m_prompt.askSaveFileName(options);
    if (path.isEmpty())
        return false;

    const QString previousFile = m_doc.CurrentFile;
    m_doc.CurrentFile = path;
    rememberFolder(path);
    const bool written = writeFile(path, payee);
    if (written)
        m_doc.DocModified = false;
    // A stopped save leaves the document where it was, under its former name.
    if (m_writeCancelled)
        m_doc.CurrentFile = previousFile;
    // CurrentFile has changed even when the write failed, so the window follows in both cases.
    m_view.UpdateView(false);
    return written;
}

bool SaveCommand::saveToCurrentFile()
{
    if (m_doc.CurrentFile.isEmpty())
        return SparaBtnClick();
    PayeeNumbers payee;
    try {
        if (!readPayeeNumbers(payee) || !mayBeSaved())
            return false;
    } catch (const SettingsError& error) {
        showError(error.text());
        return false;
    }
    const bool written = writeFile(m_doc.CurrentFile, payee);
    if (written)
        m_doc.DocModified = false;
    m_view.UpdateView(false);
    return written;
}

bool SaveCommand::readPayeeNumbers(PayeeNumbers& payee)
{
    // The numbers are read once; every record of this file carries these values.
    const auto complete = [&payee] {
        payee = SettingsStore::payeeNumbers();
        return !payee.bankgiroNumber.isEmpty() && !payee.customerNumber.isEmpty();
    };
    if (complete())
        return true;
    // The numbers are entered in the settings dialog: offer it here, and save on once they are in.
    const UserPrompt::Answer answer =
        m_prompt.showMessage(QString(), settingsRefusedText() + QStringLiteral("\nVill du öppna inställningarna?"),
                             UserPrompt::Buttons::OkCancel);
    if (answer != UserPrompt::Answer::Ok || !m_view.openSettings())
        return false;
    if (complete())
        return true;
    m_prompt.showMessage(QString(), settingsRefusedText(), UserPrompt::Buttons::Ok);
    return false;
}

bool SaveCommand::mayBeSaved()
{
    return !m_checkBeforeSaving || m_checkBeforeSaving();
}

QString SaveCommand::initialFolder()
{
    const QString lastPath = SettingsStore::lastSaveFolder();
    return lastPath.isEmpty() ? DefaultFolder() : lastPath;
}

QString SaveCommand::DefaultFolder()
{
    const QString documents = documentsFolder();
    if (documents.isEmpty())
        return QString();
    const QString folder = QDir(documents).filePath(QStringLiteral("Autogirofiler"));
    // A folder that cannot be created is not reported; the dialog then opens where it can.
    if (!QDir().mkpath(folder))
        return documents;
    return QDir::toNativeSeparators(folder);
}

QString SaveCommand::initialFileName() const
{
    if (!m_doc.CurrentFile.isEmpty())
        return m_doc.CurrentFile;
    // Always yyyy-mm-dd: the user's regional date form may contain '/', which no file name may hold.
    return QStringLiteral("Valmo ") + FormatDateText(m_clock.today());
}

void SaveCommand::rememberFolder(const QString& path)
{
    try {
        SettingsStore::setLastSaveFolder(folderWithSeparator(path));
    } catch (const SettingsError& error) {
        // Not remembering the folder must not cost the user the save itself.
        showError(error.text());
    }
}

qint64 SaveCommand::documentRows() const
{
    return qint64(m_doc.BtuList.count()) + m_doc.MdgList.count() + m_doc.MdgListComp.count() + m_doc.MakList.count();
}

bool SaveCommand::writeFile(const QString& path, const PayeeNumbers& payee)
{
    m_writeCancelled = false;
    try {
        BusyScope busy(m_prompt);
        const std::unique_ptr<Progress> progress = m_prompt.startProgress(
            QStringLiteral("Sparar %1 …").arg(QFileInfo(path).fileName()), documentRows());
        m_seal.write(path, m_doc, payee, m_clock, progress.get());
        return true;
    } catch (const WriteCancelled&) {
        // The user stopped the save: the old file is as it was, and there is nothing to tell.
        m_writeCancelled = true;
    } catch (const OrderFileError& error) {
        if (error.stage() == OrderFileError::Stage::Create)
            m_prompt.showMessage(QString(), error.text(), UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
        else
            showError(error.text());
    } catch (const RowWriteError& error) {
        showError(rowNotWrittenText(path, error));
    } catch (const ValmoError& error) {
        showError(error.text());
    } catch (const std::bad_alloc&) {
        showError(QStringLiteral("Filen kunde inte sparas\n%1\nMinnet räckte inte till.")
                      .arg(QDir::toNativeSeparators(path)));
    }
    return false;
}

void SaveCommand::showError(const QString& text)
{
    m_prompt.showMessage(ApplicationTitle(), text, UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
}
