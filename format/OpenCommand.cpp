#include "format/OpenCommand.h"

#include "app/DocumentView.h"
#include "app/OrderDocument.h"
#include "format/FileKind.h"
#include "format/FileShower.h"
#include "format/OpenFailure.h"
#include "format/OrderFileReader.h"
#include "format/ReportParser.h"
#include "format/SaveCommand.h"
#include "format/SealOnOpen.h"
#include "format/SettingsOpeningRecordPolicy.h"
#include "format/UserPrompt.h"
#include "rules/ValmoError.h"
#include "settings/SettingsStore.h"

#include "progress/Progress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopedValueRollback>

namespace {

} // namespace

OpenCommand::OpenCommand(OrderDocument& document, DocumentView& view, UserPrompt& prompt, FileShower& shower)
    : m_document(document), m_view(view), m_prompt(prompt), m_shower(shower)
{
}

QString OpenCommand::unsavedChangesQuestion()
{
    return QStringLiteral(
        "Du har inte sparat nuvarande inmatningar.\nVill du fortsätta och förlora osparad data?");
}

QString OpenCommand::cannotOpenMessage()
{
    return QStringLiteral("Filen kunde inte öppnas");
}

void OpenCommand::OpenBtnClick()
{
    if (!confirmDiscardChanges())
        return;
    QString path;
    try {
        path = askFileName();
    } catch (const SettingsError& error) {
        showError(error.text());
        return;
    }
    if (path.isEmpty())
        return;
    openPath(path);
}

void OpenCommand::openPath(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString absolutePath = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    m_lastFileName = absolutePath;
    rememberFolder(absolutePath);
    readFile(absolutePath);
}

bool OpenCommand::confirmDiscardChanges()
{
    if (!m_document.DocModified)
        return true;
    return m_prompt.showMessage(QString(), unsavedChangesQuestion(), UserPrompt::Buttons::OkCancel) ==
           UserPrompt::Answer::Ok;
}

QString OpenCommand::askFileName()
{
    UserPrompt::FileDialogOptions options;
    options.initialFolder = SettingsStore::lastOpenFolder();
    // A folder that has gone since is no place to start; nor is the program's own folder.
    if (options.initialFolder.isEmpty() || !QFileInfo(options.initialFolder).isDir())
        options.initialFolder = SaveCommand::DefaultFolder();
    options.initialFileName = m_lastFileName;
    options.defaultSuffix = QStringLiteral("ag");
    options.filters = OrderFileFilters();
    return m_prompt.askOpenFileName(options);
}

// The next open starts in the folder of this file. A store that cannot be written is reported but
// does not stop the open.
void OpenCommand::rememberFolder(const QString& path)
{
    try {
        SettingsStore::setLastOpenFolder(QFileInfo(path).absolutePath());
    } catch (const SettingsError& error) {
        showError(error.text());
    }
}

QString OpenCommand::notAFileMessage(const QString& path, const QString& kind)
{
    return QStringLiteral("%1: %2\nDet är %3, inte en vanlig fil. Bara vanliga filer kan öppnas.")
        .arg(cannotOpenMessage(), QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), kind);
}

void OpenCommand::readFile(const QString& path)
{
    // Opening a FIFO would wait until something writes to it, and a device may never end; only
    // regular files are opened, and anything else is refused before it is touched.
    const QString kind = FileKindText(KindOfFile(path));
    if (!kind.isEmpty()) {
        m_prompt.showMessage(QString(), notAFileMessage(path, kind), UserPrompt::Buttons::Ok,
                             UserPrompt::Icon::Warning);
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // The rows stay, so CurrentFile keeps naming the file they came from.
        m_prompt.showMessage(QString(), OpenFailure::message(path, file.errorString()), UserPrompt::Buttons::Ok);
        return;
    }
    SealOnOpen seal(m_prompt);
    if (!seal.approve(file))
        return; // declined: the document stays as it was
    // The file is read whole into a document of its own, so the rows shown stay as they are until
    // it has been read to its end: a reading the user stops, or one that fails on the way, leaves
    // them untouched.
    OrderDocument read;
    read.PrivateService = m_document.PrivateService;
    read.MakTexts = m_document.MakTexts;
    QScopedValueRollback<bool> loading(m_document.Loading, true);
    BusyScope busy(m_prompt);
    QIODevice& records = seal.orderRecords();
    ReadVerdict verdict = recogniseReport(records, readFrom(records, read));
    if (verdict.outcome == ReadVerdict::Outcome::ServiceMismatch) {
        busy.end();
        verdict = offerServiceSwitch(records, verdict, read);
    }
    verdict = seal.inFileLines(verdict);
    file.close();
    busy.end();
    if (verdict.outcome == ReadVerdict::Outcome::Cancelled) {
        m_document.Loading = false;
        m_view.UpdateView(false);
        return;
    }
    m_document.PrivateService = read.PrivateService;
    m_document.CurrentFile = path;
    if (verdict.loaded()) {
        m_view.showStartSection();
        m_document.swapLists(read);
        finishLoaded();
        if (verdict.readAsUtf8)
            m_prompt.showMessage(QString(), OrderFileReader::utf8Notice(), UserPrompt::Buttons::Ok,
                                 UserPrompt::Icon::Information);
    } else {
        showInstead(verdict);
    }
}

QString OpenCommand::readingLabel(const QString& path)
{
    return QStringLiteral("Läser %1 …").arg(QFileInfo(path).fileName());
}

ReadVerdict OpenCommand::readFrom(QIODevice& records, OrderDocument& into)
{
    SettingsOpeningRecordPolicy policy(m_prompt);
    OrderFileReader reader(into, policy);
    const std::unique_ptr<Progress> progress =
        m_prompt.startProgress(readingLabel(m_lastFileName), records.size());
    reader.setProgress(progress.get());
    return reader.read(records);
}

// A report whose first lines are no records (the bank prints its examples with a title line and
// blank lines), and an extract of the mandate register, which has no opening record, are reports
// all the same: the presenter shows them. Only a file that is neither an order file nor a report
// is one whose contents the program cannot handle.
ReadVerdict OpenCommand::recogniseReport(QIODevice& records, ReadVerdict verdict)
{
    // A title line longer than a record stops the order reader as a line it cannot read.
    const bool mayBeReport = verdict.outcome == ReadVerdict::Outcome::UnsupportedContent ||
                             verdict.outcome == ReadVerdict::Outcome::LineUnreadable;
    if (!mayBeReport || records.isSequential() || !records.seek(0))
        return verdict;
    const ReportFile file = ReportParser::parse(records.readAll());
    if (file.type != ReportFile::Type::Reports || file.reports.isEmpty())
        return verdict;
    if (file.reports.first().kind == ReportKind::InternetMandates) {
        verdict.outcome = ReadVerdict::Outcome::IncomingMandates;
        verdict.message = OrderFileReader::incomingMandatesMessage();
    } else {
        verdict.outcome = ReadVerdict::Outcome::ReportFile;
        verdict.message = OrderFileReader::reportFileMessage();
    }
    verdict.lineNumber = file.reports.first().line;
    return verdict;
}

QString OpenCommand::switchServiceQuestion(const QString& mismatch, bool neededPrivateService)
{
    return QStringLiteral("%1\nVill du byta till tjänsten \"%2\" och öppna filen? Med Avbryt visas filen "
                          "i visningsläge.")
        .arg(mismatch, OrderFileReader::serviceName(neededPrivateService));
}

QString OpenCommand::mixedServicesMessage()
{
    return QStringLiteral("Filen innehåller medgivanden för både \"Privat\" och \"Företag\" och kan inte "
                          "redigeras. Den öppnas i visningsläge.");
}

// The file's mandates belong to the other service type. Reading them as rows of this one would drop
// fields or invent them, so the user chooses: switch the service and read the file again, or see the
// file read-only. A file that holds mandates of both kinds is shown read-only with the service as it
// was.
ReadVerdict OpenCommand::offerServiceSwitch(QIODevice& records, ReadVerdict verdict, OrderDocument& read)
{
    const bool needed = verdict.neededPrivateService;
    if (m_prompt.showMessage(QString(), switchServiceQuestion(verdict.message, needed),
                             UserPrompt::Buttons::OkCancel) != UserPrompt::Answer::Ok) {
        verdict.message.clear(); // the user has been told
        return verdict;
    }
    try {
        SettingsStore::writePrivateService(needed);
    } catch (const SettingsError& error) {
        verdict.outcome = ReadVerdict::Outcome::SettingsFailed;
        verdict.message = error.text();
        return verdict;
    }
    read.PrivateService = needed;
    records.seek(0);
    BusyScope busy(m_prompt);
    ReadVerdict again = readFrom(records, read);
    const bool mixed = again.outcome == ReadVerdict::Outcome::ServiceMismatch;
    if (mixed || again.outcome == ReadVerdict::Outcome::Cancelled) {
        // Stopped or not to be edited: the service is put back as it was.
        read.PrivateService = !needed;
        try {
            SettingsStore::writePrivateService(!needed);
        } catch (const SettingsError&) {
            // What the user is told below matters more; the service stays switched in the store.
        }
    }
    if (mixed)
        again.message = mixedServicesMessage();
    return again;
}

void OpenCommand::finishLoaded()
{
    m_document.Loading = false;
    m_document.DocModified = false;
    m_view.UpdateView(true);
    m_view.UpdateView(true);
}

// A file that is not taken empties the document. The file is shown while CurrentFile still names
// it; afterwards the document has no file name.
void OpenCommand::showInstead(const ReadVerdict& verdict)
{
    m_view.showStartSection();
    m_document.clearLists();
    m_document.DocModified = false;
    tellAbout(verdict);
    if (verdict.showInstead())
        m_shower.VisaBtnClick();
    m_document.CurrentFile.clear();
    m_document.Loading = false;
    m_view.UpdateView(false);
}

void OpenCommand::tellAbout(const ReadVerdict& verdict)
{
    using Outcome = ReadVerdict::Outcome;
    switch (verdict.outcome) {
    case Outcome::ReportFile:
        m_prompt.showMessage(ApplicationTitle(), verdict.message, UserPrompt::Buttons::Ok);
        break;
    case Outcome::LineUnreadable:
    case Outcome::SettingsFailed:
        showError(verdict.message);
        break;
    case Outcome::PayeeDeclined:
    case Outcome::Loaded:
        break;
    default:
        if (!verdict.message.isEmpty())
            m_prompt.showMessage(QString(), verdict.message, UserPrompt::Buttons::Ok);
        break;
    }
}

void OpenCommand::showError(const QString& text)
{
    m_prompt.showMessage(ApplicationTitle(), text, UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
}
