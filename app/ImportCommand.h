#pragma once

#include "format/CsvReader.h"
#include "format/PayerImport.h"

#include <QObject>

#include <functional>
#include <optional>

class DocumentView;
class OrderDocument;
class QWidget;
class UserPrompt;

// "Importera...": rows from a CSV file, checked as the dialogs check them, appended to their list
// all together or not at all. A .csv file dropped onto the window is imported the same way.
class ImportCommand : public QObject
{
    Q_OBJECT

public:
    // Files with more records than this show a progress bar while they are checked.
    static constexpr int ProgressFrom = 2000;

    ImportCommand(OrderDocument& document, DocumentView& view, UserPrompt& prompt, QWidget* window);

    // Asks for a file and imports it.
    void ImportBtnClick();
    // True when rows were added. Failures are shown to the user, never thrown.
    bool importFile(const QString& path);

    // The column-mapping step; the dialog by default. nullopt: the user cancelled.
    using MappingAsker =
        std::function<std::optional<ColumnMapping>(const CsvTable& table, const ColumnMapping& remembered)>;
    void setMappingAsker(MappingAsker asker) { m_askMapping = std::move(asker); }
    // Shows the failing rows; the dialog by default.
    using FindingsShower = std::function<void(const QString& path, const QList<ImportFinding>& findings)>;
    void setFindingsShower(FindingsShower shower) { m_showFindings = std::move(shower); }
    // Called once the imported rows are in the document.
    void setRowsAddedHook(std::function<void()> hook) { m_rowsAdded = std::move(hook); }

    // The mapping last chosen in the mapping step, applied to a header by its captions.
    static ColumnMapping rememberedMapping(const QStringList& header);
    static void rememberMapping(const QStringList& header, const ColumnMapping& mapping);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void run(const QString& path, bool& imported);
    std::optional<ColumnMapping> mappingFor(const CsvTable& table, bool privateService);
    ImportResult checkRows(const CsvTable& table, const ColumnMapping& mapping, bool privateService);

    OrderDocument& m_document;
    DocumentView& m_view;
    UserPrompt& m_prompt;
    QWidget* m_window;
    MappingAsker m_askMapping;
    FindingsShower m_showFindings;
    std::function<void()> m_rowsAdded;
};
