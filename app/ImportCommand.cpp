#include "app/ImportCommand.h"

#include "app/DocumentView.h"
#include "app/OrderDocument.h"
#include "app/WaitCursor.h"
#include "dialogs/ColumnMappingDialog.h"
#include "dialogs/ImportErrorsDialog.h"
#include "format/UserPrompt.h"
#include "settings/SettingsStore.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QProgressDialog>
#include <QWidget>

namespace {

// The one local .csv file that a drag carries, or an empty text.
QString droppedCsvFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return QString();
    const QUrl url = data->urls().first();
    if (!url.isLocalFile())
        return QString();
    const QString path = url.toLocalFile();
    return QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0 ? path
                                                                                            : QString();
}

int rowCountOf(const OrderDocument& document, ImportList list)
{
    switch (list) {
    case ImportList::Payments:
        return document.BtuList.count();
    case ImportList::Mandates:
    case ImportList::CompanyMandates:
        return document.MdgList.count() + document.MdgListComp.count();
    case ImportList::Changes:
        return document.MakList.count();
    }
    return 0;
}

} // namespace

ImportCommand::ImportCommand(OrderDocument& document, DocumentView& view, UserPrompt& prompt, QWidget* window)
    : m_document(document), m_view(view), m_prompt(prompt), m_window(window)
{
    m_askMapping = [this](const CsvTable& table,
                          const ColumnMapping& remembered) -> std::optional<ColumnMapping> {
        ColumnMappingDialog dialog(table, remembered, m_document.PrivateService, m_window);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.mapping();
    };
    m_showFindings = [this](const QString& path, const QList<ImportFinding>& findings) {
        ImportErrorsDialog dialog(path, findings, m_window);
        dialog.exec();
    };
    if (window) {
        window->setAcceptDrops(true);
        window->installEventFilter(this);
    }
}

void ImportCommand::ImportBtnClick()
{
    UserPrompt::FileDialogOptions options;
    QString folder;
    try {
        folder = SettingsStore::lastImportFolder();
    } catch (const SettingsError&) {
        // A damaged value only loses the proposed folder.
    }
    options.initialFolder = folder;
    options.filters = {QStringLiteral("CSV-fil (*.csv)"), QStringLiteral("Textfil (*.txt)"),
                       QStringLiteral("Alla filer (*)")};
    const QString path = m_prompt.askOpenFileName(options);
    if (path.isEmpty())
        return;
    try {
        SettingsStore::setLastImportFolder(QFileInfo(path).absolutePath());
    } catch (const SettingsError&) {
    }
    importFile(path);
}

bool ImportCommand::importFile(const QString& path)
{
    bool imported = false;
    QString failure;
    try {
        run(path, imported);
    } catch (const ValmoError& error) {
        failure = error.text();
    } catch (const std::exception& error) {
        failure = QStringLiteral("Ett oväntat fel inträffade: %1").arg(QString::fromLocal8Bit(error.what()));
    }
    if (!failure.isEmpty())
        m_prompt.showMessage(ApplicationTitle(), failure, UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
    return imported;
}

void ImportCommand::run(const QString& path, bool& imported)
{
    const bool privateService = m_document.PrivateService;
    CsvTable table;
    {
        WaitCursorScope wait(m_window);
        table = ReadCsvFile(path);
    }
    const std::optional<ColumnMapping> mapping = mappingFor(table, privateService);
    if (!mapping)
        return;
    const ImportResult result = checkRows(table, *mapping, privateService);
    if (!result.succeeded()) {
        // A cancelled progress bar is the user's own choice: no list of findings for it.
        if (result.findings.size() != 1 || result.findings.first().line != 0)
            m_showFindings(path, result.findings);
        return;
    }
    if (result.rows.isEmpty()) {
        m_prompt.showMessage(QString(),
                             QStringLiteral("Filen %1 har inga rader under rubrikraden.").arg(path),
                             UserPrompt::Buttons::Ok);
        return;
    }
    const bool firstRows = rowCountOf(m_document, result.list) == 0;
    AppendImportedRows(m_document, result);
    if (m_rowsAdded)
        m_rowsAdded();
    m_view.UpdateView(firstRows);
    imported = true;
}

std::optional<ColumnMapping> ImportCommand::mappingFor(const CsvTable& table, bool privateService)
{
    const ColumnMapping matched = MatchColumns(table.header);
    if (!matched.isEmpty())
        return matched;
    if (table.header.isEmpty())
        throw ImportColumnsError(QStringLiteral("Filen är tom."));
    std::optional<ColumnMapping> chosen = m_askMapping(table, rememberedMapping(table.header));
    if (chosen) {
        ImportListFor(*chosen, privateService);
        rememberMapping(table.header, *chosen);
    }
    return chosen;
}

ImportResult ImportCommand::checkRows(const CsvTable& table, const ColumnMapping& mapping,
                                      bool privateService)
{
    const int total = int(table.records.size());
    if (total < ProgressFrom) {
        WaitCursorScope wait(m_window);
        return ImportRows(table, mapping, privateService);
    }
    QProgressDialog progress(QStringLiteral("Rader kontrolleras..."), QStringLiteral("Avbryt"), 0, total,
                             m_window);
    progress.setWindowTitle(ApplicationTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    return ImportRows(table, mapping, privateService, QLocale(), [&](int done, int) {
        progress.setValue(done);
        return !progress.wasCanceled();
    });
}

ColumnMapping ImportCommand::rememberedMapping(const QStringList& header)
{
    ColumnMapping mapping;
    QString stored;
    try {
        stored = SettingsStore::importColumns();
    } catch (const SettingsError&) {
        return mapping;
    }
    for (const QString& pair : stored.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.lastIndexOf(QLatin1Char('='));
        const QString caption = pair.left(equals).trimmed();
        const ImportField field = FieldForCaption(pair.mid(equals + 1));
        for (int column = 0; column < header.size(); ++column) {
            if (equals > 0 && field != ImportField::Count && !mapping.has(field) &&
                header[column].trimmed().compare(caption, Qt::CaseInsensitive) == 0)
                mapping.set(field, column);
        }
    }
    return mapping;
}

void ImportCommand::rememberMapping(const QStringList& header, const ColumnMapping& mapping)
{
    QStringList pairs;
    for (int field = 0; field < int(ImportField::Count); ++field) {
        const int column = mapping.column(ImportField(field));
        if (column >= 0 && column < header.size())
            pairs << header[column].trimmed() + QLatin1Char('=') + ImportFieldName(ImportField(field));
    }
    try {
        SettingsStore::setImportColumns(pairs.join(QLatin1Char('|')));
    } catch (const SettingsError&) {
        // Not remembered: the next import asks again.
    }
}

bool ImportCommand::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::DragEnter) {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (!droppedCsvFile(drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (watched == m_window && event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = droppedCsvFile(drop->mimeData());
        if (!path.isEmpty()) {
            drop->acceptProposedAction();
            importFile(path);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
