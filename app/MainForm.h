#pragma once

#include "app/Clock.h"
#include "app/DocumentView.h"
#include "app/ListSelection.h"
#include "app/OrderDocument.h"
#include "app/WidgetPrompt.h"

#include <QMainWindow>
#include <QSet>

#include <functional>
#include <map>
#include <memory>
#include <set>

class DeliveryCheckView;
class MainActions;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class QUndoStack;
class QStyle;
class QSplitter;
class QToolBar;
class QToolButton;
class QTreeView;
class RowListModel;
class RowSortModel;
class StartPicture;
class ExportCommand;
class FileShower;
class ImportCommand;
class ListCommands;
class OpenCommand;
class SaveCommand;
class SettingsCommand;
class TBtuForm;
class TMakForm;
class TMdgCompForm;
class TMdgForm;
class TSettingsForm;
class TViewer;

// The main window: the toolbar with every command, and the document in four lists.
// It owns the one OrderDocument and keeps its own look in step with it (UpdateView).
class TMainForm : public QMainWindow, public DocumentView, public ListSelection
{
    Q_OBJECT
public:
    static constexpr int SplitterHeight = 4;

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Creates the dialogs and the viewer, once, in start-up order after the main window, and
    // connects the commands that use them. They live as long as the main window.
    void createWindows();

    OrderDocument& document() { return m_document; }
    UserPrompt& prompt() { return m_prompt; }
    // The moment the window's commands look from: the check before saving and "Leverera...". The
    // system clock unless another is set.
    const Clock& clock() const { return *m_clock; }
    void setClock(const Clock& clock);

    // DocumentView
    void UpdateView(bool resizePanels) override;
    void showStartSection() override;
    bool openSettings() override;

    // ListSelection
    int selectedRow(ListId list) const override;
    void selectRow(ListId list, int row) override;
    bool hasFocus(ListId list) const override;
    QList<int> selectedRows(ListId list) const override;
    void selectRows(ListId list, const QList<int>& rows) override;

    // Toolbar commands.
    void OpenBtnClick();
    // Opens a named file as the open command does once a file is chosen: the program started
    // with a file argument. Nothing is asked first; the document is still empty then.
    void openFileAtStart(const QString& path);
    void NewBtnClick();
    // Saves to the current file, or asks for a name while there is none. True when written.
    bool SparaBtnClick();
    // "Spara som": always asks for the name. True when the document was written.
    bool SparaSomClick();
    // Opens a file of the recent-files list, after the question about unsaved changes.
    void openRecentFile(const QString& path);
    void VisaBtnClick();
    void ImportBtnClick();
    void ExportBtnClick();
    void MdgBtnClick();
    void BtuBtnClick();
    void MakBtnClick();
    void ChangeBtnClick();
    void DelBtnClick();
    void SettingsBtnClick();
    void HelpBtnClick();

    // Enter or a double-click in a list edits its selected row.
    void BtuListDblClick();
    void MdgListDblClick();
    void MdgListCompDblClick();
    void MakListDblClick();

    // True when the window may close: nothing unsaved, or the user chose to save or to discard.
    bool FormClose();

    QTreeView* listView(ListId list) const;
    // The totals line under a list's section.
    QLabel* totalsLabel(ListId list) const;
    QUndoStack* undoStack() const;
    using QMainWindow::hasFocus;
    RowListModel* listModel(ListId list) const;

    // The commands as actions, shared by the toolbar, the shortcuts and the lists' menu.
    MainActions* Actions = nullptr;
    // The check before delivery: "Kontrollera", the question on saving, the deadline.
    DeliveryCheckView* DeliveryCheck = nullptr;

    // The controls, named as elsewhere in the program. The toolbar's buttons show the actions.
    QToolBar* ToolBar1 = nullptr;
    QToolButton* OpenBtn = nullptr;
    QToolButton* NewBtn = nullptr;
    QToolButton* SparaBtn = nullptr;
    QToolButton* VisaBtn = nullptr;
    QToolButton* ImportBtn = nullptr;
    QToolButton* ExportBtn = nullptr;
    QToolButton* MdgBtn = nullptr;
    QToolButton* BtuBtn = nullptr;
    QToolButton* MakBtn = nullptr;
    QToolButton* ChangeBtn = nullptr;
    QToolButton* DelBtn = nullptr;
    QToolButton* SettingsBtn = nullptr;
    QToolButton* HelpBtn = nullptr;

    QWidget* OuterPanel = nullptr;
    StartPicture* StartPanel = nullptr;
    QSplitter* DocumentSplitter = nullptr; // the payment section above the lower block
    QWidget* BtuPanel = nullptr;
    QWidget* BtuMdgSplitter = nullptr;
    QSplitter* InnerPanel = nullptr; // the lower block: the mandates above the cancellations
    QWidget* MdgPanel = nullptr;
    QWidget* MdgMakSplitter = nullptr;
    QWidget* MakPanel = nullptr;

    QTreeView* BtuList = nullptr;
    QTreeView* MdgList = nullptr;
    QTreeView* MdgListComp = nullptr;
    QTreeView* MakList = nullptr;

    // Typed text filters every list; the totals follow what is shown.
    QLineEdit* SearchEdit = nullptr;
    // Filters the lists by the search text at once, without waiting for a pause in the typing.
    void searchNow();
    QAction* SaveAsAction = nullptr;
    QAction* UndoAction = nullptr;
    QAction* RedoAction = nullptr;
    QMenu* RecentMenu = nullptr;

    // The windows created by createWindows().
    TBtuForm* BtuForm = nullptr;
    TMdgForm* MdgForm = nullptr;
    TMakForm* MakForm = nullptr;
    TSettingsForm* SettingsForm = nullptr;
    TMdgCompForm* MdgCompForm = nullptr;
    TViewer* Viewer = nullptr;

signals:
    // The window has accepted a close request; the program ends.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormDestroy();

    void createToolBar();
    QToolButton* addToolButton(QAction* action);
    void addToolSeparator();
    void createDocumentArea();
    QWidget* createSection(const QString& heading, const QList<QTreeView*>& lists);
    void keepFirstRowInView(QWidget* section, QTreeView* list);
    QTreeView* createList(RowListModel* model, const QList<int>& columnWidths, void (TMainForm::*edit)());
    void setPayerCaptions(bool privateService);
    // Runs a command; a failure it throws is shown to the user and the window is brought back in
    // step with the document. False when the command failed.
    bool runCommand(const std::function<void()>& command);
    void runListCommand(const std::function<void(ListCommands&)>& command);
    // Gives the keyboard focus to the list that has just received a new row.
    void focusGrownList(const std::map<ListId, int>& countsBefore);
    std::map<ListId, int> rowCounts() const;
    void editList(QTreeView* view);
    bool isListViewport(const QObject* watched) const;

    // The editor's own habits: undo, search, totals, recent files, remembered layout, F1.
    QWidget* createSearchBar();
    // Runs each command when its action is triggered: from its button, shortcut or a menu.
    void connectActions();
    void updateCaption();
    void updateTotals(ListId list);
    void showTotals();
    void fitColumnsToRows(QTreeView* view, int first, int last);
    void showListMenu(QTreeView* view, const QPoint& position);
    void fillRecentMenu();
    bool save(bool askForName);
    bool confirmLeftOutMandates();
    void runOpen(const std::function<void()>& open);
    void rememberWindow();
    void applyRememberedColumns(QTreeView* view);
    bool showHelpFor(QWidget* window);
    QString helpTopicOfFocus() const;
    ListId listOf(const QTreeView* view) const;
    RowSortModel* proxy(ListId list) const;
    // Filters the lists by the search text.
    void search();
    int rowsInAllLists() const;
    // Totals are summed once a command is over, not after each range of rows it changes.
    void markTotalsStale(ListId list);
    void refreshStaleTotals();

    OrderDocument m_document;
    WidgetPrompt m_prompt{this};
    const Clock* m_clock = &Clock::system();
    QStyle* m_toolBarStyle = nullptr;
    bool m_shownOnce = false;
    bool m_updating = false;
    QSet<const QTreeView*> m_measuredLists; // lists whose section minimum is set from a real row
    QString m_programCaption;
    std::map<ListId, QString> m_totalsTexts;
    std::map<ListId, QLabel*> m_totalsLabels;
    int m_listResets = 0;              // lists emptied at once: a new file or a file read
    int m_commandDepth = 0;            // commands running (runCommand)
    std::set<ListId> m_staleTotals;    // lists whose totals wait for the command to end
    QTimer* m_searchPause = nullptr;   // runs the search once the typing pauses
    double m_lowerShare = -1.0;        // remembered share of the lower block, or negative
    double m_cancellationShare = -1.0; // remembered share of the cancellations in the lower block

    RowListModel* m_btuModel = nullptr;
    RowListModel* m_mdgModel = nullptr;
    RowListModel* m_mdgCompModel = nullptr;
    RowListModel* m_makModel = nullptr;

    // The commands of other units. Those that need a window are created in createWindows().
    std::unique_ptr<SaveCommand> m_saveCommand;
    std::unique_ptr<ListCommands> m_listCommands;
    std::unique_ptr<SettingsCommand> m_settingsCommand;
    std::unique_ptr<FileShower> m_fileShower;
    std::unique_ptr<OpenCommand> m_openCommand;
    std::unique_ptr<ImportCommand> m_importCommand;
    std::unique_ptr<ExportCommand> m_exportCommand;
};
