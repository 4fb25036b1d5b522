#include "app/MainForm.h"

#include "app/Clock.h"
#include "app/ExportCommand.h"
#include "app/HelpKeyFilter.h"
#include "app/ImportCommand.h"
#include "app/LeftOutMandates.h"
#include "app/ListCommands.h"
#include "app/ListTotals.h"
#include "app/MainActions.h"
#include "app/MnemonicAssigner.h"
#include "app/MnemonicKeyFilter.h"
#include "app/RecentFiles.h"
#include "app/RowListModel.h"
#include "app/RowSortModel.h"
#include "app/StartPicture.h"
#include "app/VersionText.h"
#include "app/WindowMemory.h"
#include "calendar/DeliveryCheckView.h"
#include "dialogs/BtuUnit.h"
#include "dialogs/EntryDialog.h"
#include "dialogs/MakUnit.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"
#include "format/OpenCommand.h"
#include "format/SaveCommand.h"
#include "register/DeliverMenuEntry.h"
#include "register/RegisterWindowEntry.h"
#include "rules/ValmoError.h"
#include "settings/SettingsCommand.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsUnit.h"
#include "settings/hh.h"
#include "theme/PaletteFollower.h"
#include "theme/ThemeColours.h"
#include "viewer/ShowFileCommand.h"
#include "viewer/ViewerUnit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

constexpr int HeadingPixelSize = 19;
// The selected row of a list without the keyboard focus, as native lists draw it.
constexpr int ButtonWidth = 78;
constexpr int ButtonHeight = 52;
constexpr int IconSide = 32;
constexpr QSize InitialSize(873, 546);
// Columns whose caption names the payer: the sixth of the payment orders, the second of the
// cancellations and changes.
constexpr int BtuPayerColumn = 5;
constexpr int MakPayerColumn = 1;
// Up to this many rows in all lists, every typed character searches at once; in a larger document
// the search runs once the typing has paused this long.
constexpr int SearchAtOnceRows = 20000;
constexpr int SearchPauseMs = 150;

// Eleven buttons of 78 pixels and three separators fill the initial window width exactly, so the
// toolbar drops its own margins and spacing and keeps its separators narrow.
class CompactToolBarStyle : public QProxyStyle
{
public:
    static constexpr int SeparatorWidth = 5;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_ToolBarItemMargin:
        case PM_ToolBarItemSpacing:
        case PM_ToolBarFrameWidth:
            return 0;
        case PM_ToolBarSeparatorExtent:
            return SeparatorWidth;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

// The captions share one font, a little smaller than the desktop's when a caption would not fit
// its button otherwise.
void fitCaptions(const QList<QToolButton*>& buttons)
{
    if (buttons.isEmpty())
        return;
    QFont font = buttons.first()->font();
    const int room = ButtonWidth - 4;
    auto widest = [&] {
        int width = 0;
        for (const QToolButton* button : buttons)
            width =
                qMax(width,
                     QFontMetrics(font).horizontalAdvance(QString(button->text()).remove(QLatin1Char('&'))));
        return width;
    };
    while (widest() > room && font.pointSizeF() > 6.0)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    for (QToolButton* button : buttons)
        button->setFont(font);
}

QString payerCaption(bool privateService)
{
    return privateService ? QStringLiteral("Betalarnummer") : QStringLiteral("Bankgironummer");
}

// Widens a column whose caption the desktop's font would otherwise cut off; the given widths
// are the least a column gets.
void fitColumnToCaption(QHeaderView* header, int column)
{
    const QString caption = header->model()->headerData(column, Qt::Horizontal).toString();
    const int needed = header->fontMetrics().horizontalAdvance(caption) +
                       2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    if (header->sectionSize(column) < needed)
        header->resizeSection(column, needed);
}

QIcon pictureIfPresent(const QString& resource)
{
    return QFile::exists(resource) ? QIcon(resource) : QIcon();
}

// Only the list that has the keyboard focus shows its selected row in the highlight colour;
// the others show theirs in grey. So the user sees which row "Redigera" and "Ta bort" act on.
void showSelectionAsFocused(QTreeView* view, bool focused)
{
    const QPalette standard = QApplication::palette(view);
    QPalette colours = view->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Highlight,
                         focused ? standard.color(group, QPalette::Highlight)
                                 : ThemeColours::unfocusedSelection(standard));
        colours.setColor(group, QPalette::HighlightedText,
                         standard.color(group, focused ? QPalette::HighlightedText : QPalette::Text));
    }
    view->setPalette(colours);
}

} // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(ApplicationTitle());
    setWindowIcon(pictureIfPresent(QStringLiteral(":/icons/valmo.png")));
    MnemonicKeyFilter::install();
    createToolBar();
    createDocumentArea();
    FormCreate();
    m_saveCommand = std::make_unique<SaveCommand>(m_document, *this, m_prompt, Clock::system());
    // "Kontrollera", the question before saving a file the bank would reject, the deadline.
    DeliveryCheck = new DeliveryCheckView(this, m_document, m_prompt, Clock::system(), [this](ListId list, int row) {
        SearchEdit->clear();
        selectRow(list, row);
        activateWindow();
        if (QTreeView* view = listView(list)) {
            view->setFocus();
            editList(view);
        }
    });
    m_saveCommand->setCheckBeforeSaving([this] { return DeliveryCheck->mayBeSaved(); });
    Actions->Spara->menu()->addAction(DeliveryCheck->action());
    m_importCommand = std::make_unique<ImportCommand>(m_document, *this, m_prompt, this);
    // Undo must not reach back to a saved state that had no imported rows.
    m_importCommand->setRowsAddedHook([this] {
        if (m_listCommands)
            m_listCommands->changedOutsideHistory();
    });
    m_exportCommand = std::make_unique<ExportCommand>(m_document, *this, m_prompt, this);
    m_programCaption = ApplicationTitle();
    connectActions();

    // Wide enough for every toolbar button.
    const QSize initialSize(qMax(InitialSize.width(), ToolBar1->sizeHint().width()), InitialSize.height());
    resize(initialSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), initialSize);
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    WindowMemory::restoreGeometry(this);
    m_lowerShare = WindowMemory::share(QStringLiteral("Lower"));
    m_cancellationShare = WindowMemory::share(QStringLiteral("Cancellation"));
    if (qApp)
        qApp->installEventFilter(
            new HelpKeyFilter([this](QWidget* window) { return showHelpFor(window); }, this));
}

TMainForm::~TMainForm()
{
    FormDestroy();
    m_openCommand.reset();
    m_fileShower.reset();
    m_settingsCommand.reset();
    m_listCommands.reset();
    m_saveCommand.reset();
    // The models watch the document's lists, which go before the child widgets do.
    delete m_btuModel;
    delete m_mdgModel;
    delete m_mdgCompModel;
    delete m_makModel;
}

bool TMainForm::runCommand(const std::function<void()>& command)
{
    QString failure;
    try {
        {
            QScopedValueRollback<int> running(m_commandDepth, m_commandDepth + 1);
            command();
        }
        refreshStaleTotals();
        return true;
    } catch (const ValmoError& error) {
        // A failed conversion or settings access stops the command with the failure's own text.
        failure = error.text();
    } catch (const std::exception& error) {
        failure = QStringLiteral("Ett oväntat fel inträffade: %1").arg(QString::fromLocal8Bit(error.what()));
    }
    // A file read that stopped half-way leaves no half document behind that could be saved over
    // the file, and no Loading flag that would freeze the window.
    if (m_document.Loading) {
        m_document.clearLists();
        m_document.CurrentFile.clear();
        m_document.DocModified = false;
        m_document.Loading = false;
    }
    refreshStaleTotals();
    m_prompt.showMessage(ApplicationTitle(), failure, UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
    UpdateView(false);
    return false;
}

void TMainForm::createWindows()
{
    if (Viewer)
        return;
    BtuForm = new TBtuForm(this);
    MdgForm = new TMdgForm(this);
    MakForm = new TMakForm(this);
    SettingsForm = new TSettingsForm(this);
    MdgCompForm = new TMdgCompForm(this);
    Viewer = new TViewer(this);
    ConnectRegisterWindow(*this);

    m_listCommands = std::make_unique<ListCommands>(
        m_document, *this, *this, ListCommands::Dialogs{*BtuForm, *MdgForm, *MdgCompForm, *MakForm},
        m_prompt);
    m_settingsCommand = std::make_unique<SettingsCommand>(m_document, *this, *SettingsForm, m_prompt);
    m_fileShower = std::make_unique<ShowFileCommand>(m_document, *Viewer, m_prompt);
    m_openCommand = std::make_unique<OpenCommand>(m_document, *this, m_prompt, *m_fileShower);

    for (QWidget* dialog :
         {static_cast<QWidget*>(BtuForm), static_cast<QWidget*>(MdgForm), static_cast<QWidget*>(MakForm),
          static_cast<QWidget*>(SettingsForm), static_cast<QWidget*>(MdgCompForm)}) {
        MnemonicAssigner::assign(dialog);
        // A dialog that sets a label's text as it opens gets its letter back once it is shown.
        dialog->installEventFilter(this);
    }
    QUndoStack& undo = m_listCommands->undoStack();
    Actions->follow(undo);
    connect(&undo, &QUndoStack::cleanChanged, this, [this] { updateCaption(); });
}

void TMainForm::FormCreate()
{
    bool privateService = true;
    runCommand([&] { privateService = SettingsStore::readPrivateService(); });
    m_document.PrivateService = privateService;
    m_document.MakList.clear();
    m_document.Loading = false;
}

void TMainForm::FormShow()
{
    m_document.DocModified = false;
    UpdateView(false);
    m_document.FillMakTexts();
    m_programCaption = QStringLiteral("Lumora Valmo ") + GetVersionText();
    updateCaption();
}

void TMainForm::FormDestroy()
{
    FreeHelpViewer();
    m_document.MakList.clear();
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (!FormClose()) {
        event->ignore();
        return;
    }
    event->accept();
    rememberWindow();
    emit closed();
}

bool TMainForm::FormClose()
{
    if (!m_document.DocModified)
        return true;
    const UserPrompt::Answer answer =
        m_prompt.showMessage(QString(), QStringLiteral("Du har inte sparat. Vill spara innan du stänger?"),
                             UserPrompt::Buttons::YesNoCancel);
    switch (answer) {
    case UserPrompt::Answer::No:
        return true;
    case UserPrompt::Answer::Yes:
        // Close only when the document really was written: a cancelled dialog, refused settings
        // or a failed write keep the window open with the document as it was.
        return SparaBtnClick() && !m_document.DocModified;
    default:
        return false;
    }
}

// --- Building the window ---------------------------------------------------------------------

void TMainForm::createToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setAccessibleName(QStringLiteral("Verktygsfält"));
    // The button that shows the toolbar's buttons that do not fit the window.
    if (auto* more = ToolBar1->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("Fler knappar"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->toggleViewAction()->setVisible(false);
    ToolBar1->setIconSize(QSize(IconSide, IconSide));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBarStyle = new CompactToolBarStyle;
    m_toolBarStyle->setParent(ToolBar1);
    ToolBar1->setStyle(m_toolBarStyle);
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    setContextMenuPolicy(Qt::NoContextMenu);

    Actions = new MainActions(this);
    SaveAsAction = Actions->SaveAs;
    UndoAction = Actions->Undo;
    RedoAction = Actions->Redo;
    // "Spara som" and the recent files sit behind the arrows of the two file buttons.
    RecentMenu = new QMenu(this);
    connect(RecentMenu, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });
    Actions->Open->setMenu(RecentMenu);
    auto* saveMenu = new QMenu(this);
    saveMenu->addAction(Actions->SaveAs);
    AddDeliverCommand(*this, *saveMenu);
    Actions->Spara->setMenu(saveMenu);

    QList<QToolButton*> buttons;
    for (QAction* action : Actions->toolbar()) {
        if (action)
            buttons.append(addToolButton(action));
        else
            addToolSeparator();
    }
    const auto buttonOf = [this](QAction* action) {
        return static_cast<QToolButton*>(ToolBar1->widgetForAction(action));
    };
    OpenBtn = buttonOf(Actions->Open);
    NewBtn = buttonOf(Actions->New);
    SparaBtn = buttonOf(Actions->Spara);
    VisaBtn = buttonOf(Actions->Visa);
    ImportBtn = buttonOf(Actions->Import);
    ExportBtn = buttonOf(Actions->Export);
    MdgBtn = buttonOf(Actions->Mdg);
    BtuBtn = buttonOf(Actions->Btu);
    MakBtn = buttonOf(Actions->Mak);
    ChangeBtn = buttonOf(Actions->Change);
    DelBtn = buttonOf(Actions->Del);
    SettingsBtn = buttonOf(Actions->Settings);
    HelpBtn = buttonOf(Actions->Help);
    fitCaptions(buttons);
}

void TMainForm::addToolSeparator()
{
    QAction* separator = ToolBar1->addSeparator();
    // The separator is a widget of its own that asks its own style for its width.
    if (QWidget* line = ToolBar1->widgetForAction(separator))
        line->setStyle(m_toolBarStyle);
}

QToolButton* TMainForm::addToolButton(QAction* action)
{
    ToolBar1->addAction(action);
    auto* button = static_cast<QToolButton*>(ToolBar1->widgetForAction(action));
    button->setObjectName(action->objectName());
    button->setFixedSize(ButtonWidth, ButtonHeight);
    // A click must leave the keyboard focus in the list, where "&Redigera" and "&Ta bort" act.
    button->setFocusPolicy(Qt::NoFocus);
    if (action->menu())
        button->setPopupMode(QToolButton::MenuButtonPopup);
    return button;
}

void TMainForm::createDocumentArea()
{
    const bool& loading = m_document.Loading;
    m_btuModel =
        new RowListModel(m_document.BtuList,
                         {QStringLiteral("Typ"), QStringLiteral("Period"), QStringLiteral("Betalningsdag"),
                          QStringLiteral("Belopp"), QStringLiteral("Antal"), QStringLiteral("Betalarnummer"),
                          QStringLiteral("Referens")},
                         loading, this);
    m_mdgModel = new RowListModel(m_document.MdgList,
                                  {QStringLiteral("Typ"), QStringLiteral("Betalarnummer"),
                                   QStringLiteral("Konto/id-nummer"), QStringLiteral("Personnummer")},
                                  loading, this);
    m_mdgCompModel =
        new RowListModel(m_document.MdgListComp, {QStringLiteral("Bankgironummer")}, loading, this);
    m_makModel = new RowListModel(m_document.MakList,
                                  {QStringLiteral("Beskrivning"), QStringLiteral("Betalarnummer"),
                                   QStringLiteral("Betalningsdag"), QStringLiteral("Ny betaldag"),
                                   QStringLiteral("Belopp"), QStringLiteral("Transaktionstyp"),
                                   QStringLiteral("Referens")},
                                  loading, this);
    m_btuModel->setNumberColumns({3, 4});
    m_makModel->setNumberColumns({4});
    m_btuModel->setRowPicture(pictureIfPresent(QStringLiteral(":/icons/rows/payment.png")));
    m_mdgModel->setRowPicture(pictureIfPresent(QStringLiteral(":/icons/rows/mandate.png")));
    m_makModel->setRowPicture(pictureIfPresent(QStringLiteral(":/icons/rows/change.png")));

    constexpr int DefaultWidth = -1;
    BtuList =
        createList(m_btuModel, {100, 180, 90, 100, DefaultWidth, 120, 120}, &TMainForm::BtuListDblClick);
    MdgList = createList(m_mdgModel, {230, 140, 150, 130}, &TMainForm::MdgListDblClick);
    MdgListComp = createList(m_mdgCompModel, {200}, &TMainForm::MdgListCompDblClick);
    MakList = createList(m_makModel, {300, 100, 90, 90, 100, 100, 120}, &TMainForm::MakListDblClick);
    BtuList->setObjectName(QStringLiteral("BtuList"));
    MdgList->setObjectName(QStringLiteral("MdgList"));
    MdgListComp->setObjectName(QStringLiteral("MdgListComp"));
    MakList->setObjectName(QStringLiteral("MakList"));
    for (QTreeView* view : {BtuList, MdgList, MdgListComp, MakList})
        applyRememberedColumns(view);

    OuterPanel = new QWidget(this);
    auto* outerLayout = new QVBoxLayout(OuterPanel);
    outerLayout->setContentsMargins(0, 0, 0, 0);
    outerLayout->setSpacing(0);
    StartPanel = new StartPicture(StartPicture::defaultResource(), OuterPanel);
    outerLayout->addWidget(StartPanel);

    BtuPanel = createSection(QStringLiteral(" Betaluppdrag"), {BtuList});
    MdgPanel = createSection(QStringLiteral(" Medgivanden"), {MdgList, MdgListComp});
    MdgListComp->setAccessibleDescription(QStringLiteral("Företagsbetalarnas medgivanden"));
    MakPanel = createSection(QStringLiteral(" Makuleringar och ändringar"), {MakList});

    // The lower piece of each splitter keeps its height when the window is resized; the upper
    // piece takes the rest.
    InnerPanel = new QSplitter(Qt::Vertical);
    InnerPanel->setHandleWidth(SplitterHeight);
    InnerPanel->setChildrenCollapsible(false);
    InnerPanel->addWidget(MdgPanel);
    InnerPanel->addWidget(MakPanel);
    InnerPanel->setStretchFactor(0, 1);
    InnerPanel->setStretchFactor(1, 0);
    MdgMakSplitter = InnerPanel->handle(1);

    DocumentSplitter = new QSplitter(Qt::Vertical, OuterPanel);
    DocumentSplitter->setHandleWidth(SplitterHeight);
    DocumentSplitter->setChildrenCollapsible(false);
    DocumentSplitter->addWidget(BtuPanel);
    DocumentSplitter->addWidget(InnerPanel);
    DocumentSplitter->setStretchFactor(0, 1);
    DocumentSplitter->setStretchFactor(1, 0);
    BtuMdgSplitter = DocumentSplitter->handle(1);
    outerLayout->addWidget(DocumentSplitter);

    auto* central = new QWidget(this);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(createSearchBar());
    centralLayout->addWidget(OuterPanel, 1);
    setCentralWidget(central);
    showStartSection();
    MdgListComp->hide();
}

QWidget* TMainForm::createSection(const QString& heading, const QList<QTreeView*>& lists)
{
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* label = new QLabel(heading, panel);
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(HeadingPixelSize);
    label->setFont(font);
    PaletteFollower::follow(label, [label] {
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::WindowText, ThemeColours::heading(palette));
        label->setPalette(palette);
    });
    layout->addWidget(label);

    // The heading is a label of its own, so each list carries its name for a screen reader.
    for (QTreeView* list : lists) {
        list->setAccessibleName(heading.trimmed());
        layout->addWidget(list, 1);
    }
    auto* totals = new QLabel(panel);
    totals->setObjectName(QStringLiteral("Totals"));
    totals->setContentsMargins(4, 1, 4, 1);
    totals->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(totals);
    for (QTreeView* list : lists)
        m_totalsLabels[listOf(list)] = totals;
    panel->setMinimumHeight(label->sizeHint().height());
    return panel;
}

// A splitter dragged to its end, or a window made small, takes a section down to this height
// and no further: its whole heading, the column captions, one row and a horizontal scroll bar.
// Measured once a list has a row to measure, since UpdateView runs on every selection change.
void TMainForm::keepFirstRowInView(QWidget* section, QTreeView* list)
{
    if (m_measuredLists.contains(list))
        return;
    const bool hasRows = list->model()->rowCount() > 0;
    if (hasRows)
        m_measuredLists.insert(list);
    const auto* heading = section->findChild<QLabel*>();
    const auto* totals = section->findChild<QLabel*>(QStringLiteral("Totals"));
    const int row = hasRows ? list->sizeHintForRow(0) : list->fontMetrics().height();
    const int height = (heading ? heading->sizeHint().height() : 0) +
                       (totals ? totals->sizeHint().height() : 0) + list->header()->sizeHint().height() +
                       row + list->horizontalScrollBar()->sizeHint().height() + 2 * list->frameWidth();
    section->setMinimumHeight(height);
}

QTreeView* TMainForm::createList(RowListModel* model, const QList<int>& columnWidths,
                                 void (TMainForm::*edit)())
{
    auto* view = new QTreeView;
    auto* sorted = new RowSortModel(view);
    sorted->setSourceModel(model);
    sorted->setProgressStarter(
        [this](const QString& label, qint64 total) { return m_prompt.startProgress(label, total); });
    // A sort the user stopped leaves the rows, and so the caption's arrow, as they were.
    connect(sorted, &RowSortModel::sortCancelled, view,
            [view, sorted] { view->header()->setSortIndicator(sorted->sortColumn(), sorted->sortOrder()); });
    view->setModel(sorted);
    // The document's order until the user clicks a caption; a third click brings it back.
    view->header()->setSortIndicator(-1, Qt::AscendingOrder);
    view->header()->setSortIndicatorClearable(true);
    view->setSortingEnabled(true);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true); // keeps a list of a million rows quick to lay out
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setFrameShape(QFrame::NoFrame);
    view->setIconSize(QSize(16, 16));
    view->setMinimumHeight(0);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionsMovable(false);
    for (int column = 0; column < columnWidths.size(); ++column) {
        if (columnWidths[column] > 0)
            view->header()->resizeSection(column, columnWidths[column]);
        fitColumnToCaption(view->header(), column);
    }

    // A palette switched at run time reaches the grey of an unfocused selection at once.
    PaletteFollower::follow(view, [view] { showSelectionAsFocused(view, view->hasFocus()); });
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    connect(view, &QAbstractItemView::doubleClicked, this, [this, edit] { (this->*edit)(); });
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateView(false); });
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { UpdateView(false); });
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { UpdateView(false); });
    connect(model, &QAbstractItemModel::modelReset, this, [this, model] {
        // Rows removed or put back at many places at once are an edit like any other.
        if (model->isRebuilding()) {
            UpdateView(false);
            return;
        }
        ++m_listResets;
        // The rows that the history knew are gone: a new file or a file read.
        if (m_listCommands)
            m_listCommands->forgetHistory();
        UpdateView(false);
    });
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint& position) { showListMenu(view, position); });
    const auto fit = [this, view](int first, int last) { fitColumnsToRows(view, first, last); };
    const auto totals = [this, view] {
        if (!m_document.Loading)
            markTotalsStale(listOf(view));
    };
    connect(sorted, &QAbstractItemModel::rowsInserted, this,
            [fit, totals](const QModelIndex&, int first, int last) {
                fit(first, last);
                totals();
            });
    connect(sorted, &QAbstractItemModel::dataChanged, this,
            [fit, totals](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                fit(topLeft.row(), bottomRight.row());
                totals();
            });
    // A file read takes the place of the rows while Loading is still set: its totals are summed
    // all the same, once the command is over.
    connect(sorted, &QAbstractItemModel::modelReset, this, [this, view, fit] {
        fit(0, 0);
        markTotalsStale(listOf(view));
    });
    // A new order (layoutChanged) leaves the totals as they are.
    connect(sorted, &QAbstractItemModel::rowsRemoved, this, totals);
    return view;
}

void TMainForm::setClock(const Clock& clock)
{
    m_clock = &clock;
    DeliveryCheck->setClock(clock);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick && isListViewport(watched)) {
        // Only the left button opens a row, as in a native list; a double-click with another
        // button counts as a plain second press.
        auto* click = static_cast<QMouseEvent*>(event);
        if (click->button() != Qt::LeftButton) {
            QMouseEvent press(QEvent::MouseButtonPress, click->position(), click->globalPosition(),
                              click->button(), click->buttons(), click->modifiers());
            QCoreApplication::sendEvent(watched, &press);
            return true;
        }
    }
    if (event->type() == QEvent::Show && qobject_cast<QDialog*>(watched)) {
        auto* dialog = static_cast<QWidget*>(watched);
        QTimer::singleShot(0, dialog, [dialog] { MnemonicAssigner::assign(dialog); });
    }
    if (watched == SearchEdit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !SearchEdit->text().isEmpty()) {
        SearchEdit->clear();
        return true;
    }
    auto* view = qobject_cast<QTreeView*>(watched);
    if (view && (view == BtuList || view == MdgList || view == MdgListComp || view == MakList)) {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            if (event->type() == QEvent::FocusIn) {
                // Tab into a list puts the user on its first row, so Enter and Delete act at once.
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) &&
                    !view->selectionModel()->hasSelection() && view->model()->rowCount() > 0)
                    view->selectionModel()->setCurrentIndex(view->model()->index(0, 0),
                                                            QItemSelectionModel::ClearAndSelect |
                                                                QItemSelectionModel::Rows);
            }
            showSelectionAsFocused(view, event->type() == QEvent::FocusIn);
            UpdateView(false);
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                editList(view);
                return true;
            }
            if (key == Qt::Key_Delete) {
                DelBtnClick();
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::isListViewport(const QObject* watched) const
{
    for (const QTreeView* view : {BtuList, MdgList, MdgListComp, MakList}) {
        if (view && watched == view->viewport())
            return true;
    }
    return false;
}

void TMainForm::editList(QTreeView* view)
{
    if (view == BtuList)
        BtuListDblClick();
    else if (view == MdgList)
        MdgListDblClick();
    else if (view == MdgListComp)
        MdgListCompDblClick();
    else if (view == MakList)
        MakListDblClick();
}

// --- Keeping the window in step with the document --------------------------------------------

void TMainForm::showStartSection()
{
    BtuPanel->hide();
    InnerPanel->hide();
    DocumentSplitter->hide();
    StartPanel->show();
}

void TMainForm::setPayerCaptions(bool privateService)
{
    const QString caption = payerCaption(privateService);
    if (m_btuModel->columnCaption(BtuPayerColumn) != caption) {
        m_btuModel->setColumnCaption(BtuPayerColumn, caption);
        fitColumnToCaption(BtuList->header(), BtuPayerColumn);
    }
    if (m_makModel->columnCaption(MakPayerColumn) != caption) {
        m_makModel->setColumnCaption(MakPayerColumn, caption);
        fitColumnToCaption(MakList->header(), MakPayerColumn);
    }
}

void TMainForm::UpdateView(bool resizePanels)
{
    if (m_document.Loading || m_updating)
        return;
    QScopedValueRollback<bool> updating(m_updating, true);
    // Rows appended while a file was read are announced to the views now, in one step.
    for (RowListModel* model : {m_btuModel, m_mdgModel, m_mdgCompModel, m_makModel})
        model->synchronize();
    if (DeliveryCheck)
        DeliveryCheck->documentChanged();

    const OrderDocument& doc = m_document;
    const bool paymentShown = !doc.BtuList.isEmpty();
    const bool lowerShown = !doc.MdgList.isEmpty() || !doc.MakList.isEmpty() || !doc.MdgListComp.isEmpty();
    const bool mandateShown = !doc.MdgList.isEmpty() || !doc.MdgListComp.isEmpty();
    const bool cancellationShown = !doc.MakList.isEmpty();
    const bool startShown = !paymentShown && !lowerShown;

    BtuPanel->setVisible(paymentShown);
    InnerPanel->setVisible(lowerShown);
    MdgPanel->setVisible(mandateShown);
    MdgList->setVisible(doc.PrivateService);
    MdgListComp->setVisible(!doc.PrivateService);
    setPayerCaptions(doc.PrivateService);
    MakPanel->setVisible(cancellationShown);
    StartPanel->setVisible(startShown);
    DocumentSplitter->setVisible(!startShown);
    Actions->New->setEnabled(!startShown);
    Actions->Export->setEnabled(!startShown);

    // The lower piece of each splitter sits at the bottom and the upper piece takes the rest
    // (stretch factors); a piece alone takes the whole splitter.
    BtuMdgSplitter->setVisible(paymentShown && (mandateShown || cancellationShown));
    MdgMakSplitter->setVisible(mandateShown && cancellationShown);
    if (paymentShown)
        keepFirstRowInView(BtuPanel, BtuList);
    if (mandateShown)
        keepFirstRowInView(MdgPanel, doc.PrivateService ? MdgList : MdgListComp);
    if (cancellationShown)
        keepFirstRowInView(MakPanel, MakList);

    if (resizePanels) {
        const int area = OuterPanel->height();
        int lowerHeight = area;
        if (paymentShown) {
            lowerHeight = m_lowerShare > 0 ? int(area * m_lowerShare) : area * 2 / 3;
            DocumentSplitter->setSizes({qMax(0, area - SplitterHeight - lowerHeight), lowerHeight});
        } else {
            DocumentSplitter->setSizes({0, area});
        }
        if (mandateShown) {
            const int cancellationHeight =
                m_cancellationShare > 0 ? int(lowerHeight * m_cancellationShare) : lowerHeight / 2;
            InnerPanel->setSizes(
                {qMax(0, lowerHeight - SplitterHeight - cancellationHeight), cancellationHeight});
        }
    }

    const bool hasFile = !doc.CurrentFile.isEmpty();
    Actions->Spara->setEnabled(hasFile || doc.DocModified);
    Actions->Visa->setEnabled(hasFile);

    bool editable = false;
    for (ListId list : {ListId::Btu, ListId::Mak, ListId::Mdg, ListId::MdgComp}) {
        if (hasFocus(list)) {
            editable = selectedRow(list) >= 0;
            break;
        }
    }
    Actions->Change->setEnabled(editable);
    Actions->Del->setEnabled(editable);
    Actions->SaveAs->setEnabled(Actions->Spara->isEnabled());
    SearchEdit->setEnabled(!startShown || !SearchEdit->text().isEmpty());
    showTotals();
    updateCaption();
}

// --- The lists as the commands see them ------------------------------------------------------

QTreeView* TMainForm::listView(ListId list) const
{
    switch (list) {
    case ListId::Btu:
        return BtuList;
    case ListId::Mdg:
        return MdgList;
    case ListId::MdgComp:
        return MdgListComp;
    case ListId::Mak:
        return MakList;
    }
    return nullptr;
}

RowListModel* TMainForm::listModel(ListId list) const
{
    switch (list) {
    case ListId::Btu:
        return m_btuModel;
    case ListId::Mdg:
        return m_mdgModel;
    case ListId::MdgComp:
        return m_mdgCompModel;
    case ListId::Mak:
        return m_makModel;
    }
    return nullptr;
}

int TMainForm::selectedRow(ListId list) const
{
    const QTreeView* view = listView(list);
    const QItemSelectionModel* selection = view->selectionModel();
    const QModelIndex current = view->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row(), QModelIndex()))
        return proxy(list)->mapToSource(current).row();
    const QItemSelection ranges = selection->selection();
    return ranges.isEmpty() ? -1 : proxy(list)->mapToSource(ranges.first().topLeft()).row();
}

// Read from the selection's ranges: a list of a hundred thousand selected rows is one range.
QList<int> TMainForm::selectedRows(ListId list) const
{
    const RowSortModel* shown = proxy(list);
    QList<int> rows;
    for (const QItemSelectionRange& range : listView(list)->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(shown->shownRows()[size_t(row)]);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void TMainForm::selectRow(ListId list, int row)
{
    selectRows(list, row < 0 ? QList<int>() : QList<int>{row});
}

// All rows are selected in one step, as ranges of the rows shown.
void TMainForm::selectRows(ListId list, const QList<int>& rows)
{
    QTreeView* view = listView(list);
    RowListModel* model = listModel(list);
    if (!m_document.Loading)
        model->synchronize();
    const auto shownRows = [&] {
        std::vector<int> shown;
        shown.reserve(size_t(rows.size()));
        for (const int row : rows) {
            const QModelIndex index = row >= 0 && row < model->rowCount()
                                          ? proxy(list)->mapFromSource(model->index(row, 0))
                                          : QModelIndex();
            shown.push_back(index.isValid() ? index.row() : -1);
        }
        return shown;
    };
    std::vector<int> shown = shownRows();
    if (std::count(shown.begin(), shown.end(), -1) > 0 && !SearchEdit->text().isEmpty()) {
        // A row the search hides would be selected out of sight: the search gives way.
        SearchEdit->clear();
        shown = shownRows();
    }
    const int current = [&] {
        for (const int row : shown) {
            if (row >= 0)
                return row;
        }
        return -1;
    }();
    if (current < 0) {
        view->selectionModel()->clearSelection();
        return;
    }
    shown.erase(std::remove(shown.begin(), shown.end(), -1), shown.end());
    std::sort(shown.begin(), shown.end());
    const QAbstractItemModel* viewRows = view->model();
    const int lastColumn = viewRows->columnCount() - 1;
    QItemSelection selection;
    for (size_t i = 0; i < shown.size();) {
        size_t end = i;
        while (end + 1 < shown.size() && shown[end + 1] <= shown[end] + 1)
            ++end;
        selection.append(
            QItemSelectionRange(viewRows->index(shown[i], 0), viewRows->index(shown[end], lastColumn)));
        i = end + 1;
    }
    view->selectionModel()->setCurrentIndex(viewRows->index(current, 0), QItemSelectionModel::NoUpdate);
    view->selectionModel()->select(selection,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(viewRows->index(current, 0), QAbstractItemView::EnsureVisible);
}

bool TMainForm::hasFocus(ListId list) const
{
    return listView(list)->hasFocus();
}

// --- Commands -------------------------------------------------------------------------------

void TMainForm::NewBtnClick()
{
    if (m_document.DocModified) {
        const UserPrompt::Answer answer = m_prompt.showMessage(
            QString(),
            QStringLiteral(
                "Du har inte sparat nuvarande inmatningar.\nVill du fortsätta och förlora osparad data?"),
            UserPrompt::Buttons::OkCancel);
        if (answer != UserPrompt::Answer::Ok)
            return;
    }
    m_document.DocModified = false;
    m_document.CurrentFile.clear();
    m_document.clearLists();
    UpdateView(false);
    UpdateView(true);
}

void TMainForm::OpenBtnClick()
{
    if (m_openCommand)
        runOpen([this] { m_openCommand->OpenBtnClick(); });
}

void TMainForm::openFileAtStart(const QString& path)
{
    if (m_openCommand)
        runOpen([this, &path] { m_openCommand->openPath(path); });
}

// A file read into the lists goes first in the recent files.
void TMainForm::runOpen(const std::function<void()>& open)
{
    const int resetsBefore = m_listResets;
    runCommand(open);
    if (m_listResets != resetsBefore && !m_document.CurrentFile.isEmpty() && !m_document.Loading)
        RecentFiles::add(m_document.CurrentFile);
}

bool TMainForm::SparaBtnClick()
{
    return save(false);
}

bool TMainForm::SparaSomClick()
{
    return save(true);
}

bool TMainForm::save(bool askForName)
{
    if (!m_saveCommand || !confirmLeftOutMandates())
        return false;
    bool saved = false;
    runCommand(
        [&] { saved = askForName ? m_saveCommand->SparaBtnClick() : m_saveCommand->saveToCurrentFile(); });
    if (saved) {
        if (m_listCommands)
            m_listCommands->markSaved();
        RecentFiles::add(m_document.CurrentFile);
    }
    UpdateView(false);
    return saved;
}

// Mandates of the other service type stay in the document but not in the file: the user decides.
bool TMainForm::confirmLeftOutMandates()
{
    if (MandatesLeftOut(m_document) == 0)
        return true;
    return m_prompt.showMessage(QString(), SaveLeftOutQuestion(m_document), UserPrompt::Buttons::OkCancel,
                                UserPrompt::Icon::Warning) == UserPrompt::Answer::Ok;
}

void TMainForm::runListCommand(const std::function<void(ListCommands&)>& command)
{
    if (!m_listCommands)
        return;
    const std::map<ListId, int> countsBefore = rowCounts();
    runCommand([&] { command(*m_listCommands); });
    focusGrownList(countsBefore);
}

std::map<ListId, int> TMainForm::rowCounts() const
{
    std::map<ListId, int> counts;
    for (ListId list : {ListId::Btu, ListId::Mdg, ListId::MdgComp, ListId::Mak})
        counts[list] = listModel(list)->rowCount();
    return counts;
}

// The new row is selected in its list; with the focus there too, Enter, "Redigera" and "Ta bort"
// act on that row and not on the row of the list that had the focus before the dialog opened.
void TMainForm::focusGrownList(const std::map<ListId, int>& countsBefore)
{
    for (const auto& [list, before] : countsBefore) {
        QTreeView* view = listView(list);
        if (listModel(list)->rowCount() > before && view->isVisibleTo(this)) {
            view->setFocus(Qt::OtherFocusReason);
            UpdateView(false);
            return;
        }
    }
}

void TMainForm::VisaBtnClick()
{
    if (m_fileShower)
        runCommand([this] { m_fileShower->VisaBtnClick(); });
}

void TMainForm::ImportBtnClick()
{
    m_importCommand->ImportBtnClick();
}

void TMainForm::ExportBtnClick()
{
    m_exportCommand->ExportBtnClick();
}

void TMainForm::MdgBtnClick()
{
    runListCommand(&ListCommands::MdgBtnClick);
}

void TMainForm::BtuBtnClick()
{
    runListCommand(&ListCommands::BtuBtnClick);
}

void TMainForm::MakBtnClick()
{
    runListCommand(&ListCommands::MakBtnClick);
}

void TMainForm::ChangeBtnClick()
{
    runListCommand(&ListCommands::ChangeBtnClick);
}

void TMainForm::DelBtnClick()
{
    runListCommand(&ListCommands::DelBtnClick);
}

void TMainForm::SettingsBtnClick()
{
    if (m_settingsCommand)
        runCommand([this] { m_settingsCommand->SettingsBtnClick(); });
}

bool TMainForm::openSettings()
{
    return m_settingsCommand && m_settingsCommand->SettingsBtnClick();
}

void TMainForm::HelpBtnClick()
{
    ShowHelpTopic(QStringLiteral("Välkommen.htm"));
}

void TMainForm::BtuListDblClick()
{
    runListCommand(&ListCommands::BtuListDblClick);
}

void TMainForm::MdgListDblClick()
{
    runListCommand(&ListCommands::MdgListDblClick);
}

void TMainForm::MdgListCompDblClick()
{
    runListCommand(&ListCommands::MdgListCompDblClick);
}

void TMainForm::MakListDblClick()
{
    runListCommand(&ListCommands::MakListDblClick);
}

// --- The habits of a desktop program ---------------------------------------------------------

QWidget* TMainForm::createSearchBar()
{
    auto* bar = new QWidget(this);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* label = new QLabel(QStringLiteral("S&ök:"), bar);
    SearchEdit = new QLineEdit(bar);
    SearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    SearchEdit->setPlaceholderText(QStringLiteral("Visa bara rader som innehåller texten"));
    SearchEdit->setClearButtonEnabled(true);
    for (QToolButton* clear : SearchEdit->findChildren<QToolButton*>())
        clear->setAccessibleName(QStringLiteral("Töm sökrutan"));
    SearchEdit->setToolTip(QStringLiteral("Sök i alla listor (Ctrl+F). Esc tömmer sökrutan."));
    SearchEdit->setMaximumWidth(320);
    label->setBuddy(SearchEdit);
    layout->addWidget(label);
    layout->addWidget(SearchEdit);
    layout->addStretch(1);
    // In a large document the search waits for a pause in the typing, so a key is never kept
    // waiting by the search for the previous one; an emptied box shows every row at once.
    m_searchPause = new QTimer(this);
    m_searchPause->setSingleShot(true);
    m_searchPause->setInterval(SearchPauseMs);
    connect(m_searchPause, &QTimer::timeout, this, &TMainForm::search);
    connect(SearchEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.isEmpty() || rowsInAllLists() <= SearchAtOnceRows)
            search();
        else
            m_searchPause->start();
    });
    SearchEdit->installEventFilter(this);
    return bar;
}

int TMainForm::rowsInAllLists() const
{
    return m_document.BtuList.count() + m_document.MdgList.count() + m_document.MdgListComp.count() +
           m_document.MakList.count();
}

void TMainForm::searchNow()
{
    if (m_searchPause->isActive())
        search();
}

void TMainForm::search()
{
    m_searchPause->stop();
    const QString text = SearchEdit->text();
    for (ListId list : {ListId::Btu, ListId::Mdg, ListId::MdgComp, ListId::Mak})
        proxy(list)->setFilterFixedString(text);
    UpdateView(false);
}

void TMainForm::connectActions()
{
    const std::pair<QAction*, void (TMainForm::*)()> commands[] = {
        {Actions->Open, &TMainForm::OpenBtnClick},         {Actions->New, &TMainForm::NewBtnClick},
        {Actions->Visa, &TMainForm::VisaBtnClick},         {Actions->Import, &TMainForm::ImportBtnClick},
        {Actions->Export, &TMainForm::ExportBtnClick},     {Actions->Mdg, &TMainForm::MdgBtnClick},
        {Actions->Btu, &TMainForm::BtuBtnClick},           {Actions->Mak, &TMainForm::MakBtnClick},
        {Actions->Change, &TMainForm::ChangeBtnClick},     {Actions->Del, &TMainForm::DelBtnClick},
        {Actions->Settings, &TMainForm::SettingsBtnClick}, {Actions->Help, &TMainForm::HelpBtnClick},
    };
    for (const auto& [action, command] : commands)
        connect(action, &QAction::triggered, this, [this, command = command] { (this->*command)(); });
    connect(Actions->Spara, &QAction::triggered, this, [this] { SparaBtnClick(); });
    connect(Actions->SaveAs, &QAction::triggered, this, [this] { SparaSomClick(); });
    connect(Actions->Undo, &QAction::triggered, this, [this] {
        if (m_listCommands)
            runCommand([this] { m_listCommands->undoStack().undo(); });
    });
    connect(Actions->Redo, &QAction::triggered, this, [this] {
        if (m_listCommands)
            runCommand([this] { m_listCommands->undoStack().redo(); });
    });
    connect(Actions->Find, &QAction::triggered, this, [this] {
        SearchEdit->setFocus(Qt::ShortcutFocusReason);
        SearchEdit->selectAll();
    });
}

void TMainForm::updateCaption()
{
    const OrderDocument& doc = m_document;
    QString title = m_programCaption;
    if (!doc.CurrentFile.isEmpty())
        title = QFileInfo(doc.CurrentFile).fileName() + QStringLiteral("[*] - ") + m_programCaption;
    else if (doc.DocModified || doc.hasRows())
        title = QStringLiteral("Namnlös[*] - ") + m_programCaption;
    if (windowTitle() != title)
        setWindowTitle(title);
    setWindowModified(doc.DocModified);
}

void TMainForm::updateTotals(ListId list)
{
    const RowSortModel* shownRows = proxy(list);
    const bool filtered = !shownRows->filterText().isEmpty();
    const auto totalsOf = [&](const RowList& rows, int typeColumn, int amountColumn) {
        return filtered ? ListTotals::of(rows, typeColumn, amountColumn, shownRows->shownRows())
                        : ListTotals::of(rows, typeColumn, amountColumn);
    };
    ListTotals totals;
    switch (list) {
    case ListId::Btu:
        totals = totalsOf(m_document.BtuList, 0, 3);
        break;
    case ListId::Mdg:
        totals = totalsOf(m_document.MdgList, -1, -1);
        break;
    case ListId::MdgComp:
        totals = totalsOf(m_document.MdgListComp, -1, -1);
        break;
    case ListId::Mak:
        totals = totalsOf(m_document.MakList.rows(), 5, 4);
        break;
    }
    m_totalsTexts[list] = totals.text();
    showTotals();
}

void TMainForm::markTotalsStale(ListId list)
{
    m_staleTotals.insert(list);
    if (m_commandDepth == 0)
        refreshStaleTotals();
}

void TMainForm::refreshStaleTotals()
{
    const std::set<ListId> stale = std::exchange(m_staleTotals, {});
    for (ListId list : stale)
        updateTotals(list);
}

void TMainForm::showTotals()
{
    const ListId mandates = m_document.PrivateService ? ListId::Mdg : ListId::MdgComp;
    for (ListId list : {ListId::Btu, mandates, ListId::Mak}) {
        QLabel* label = m_totalsLabels[list];
        const QString text = m_totalsTexts[list];
        if (label && label->text() != text)
            label->setText(text);
    }
}

QLabel* TMainForm::totalsLabel(ListId list) const
{
    const auto found = m_totalsLabels.find(list);
    return found == m_totalsLabels.end() ? nullptr : found->second;
}

QUndoStack* TMainForm::undoStack() const
{
    return m_listCommands ? &m_listCommands->undoStack() : nullptr;
}

// A column is widened until the rows just added or changed show their whole text. Only the first
// rows of a long list are measured; the rest are measured as they change.
void TMainForm::fitColumnsToRows(QTreeView* view, int first, int last)
{
    constexpr int MeasuredRows = 100;
    QAbstractItemModel* rows = view->model();
    last = qMin(qMin(last, first + MeasuredRows - 1), rows->rowCount() - 1);
    QHeaderView* header = view->header();
    for (int column = 0; column < rows->columnCount(); ++column) {
        int needed = header->sectionSize(column);
        for (int row = first; row <= last; ++row)
            needed = qMax(needed, view->sizeHintForIndex(rows->index(row, column)).width());
        if (needed > header->sectionSize(column))
            header->resizeSection(column, needed);
    }
}

void TMainForm::showListMenu(QTreeView* view, const QPoint& position)
{
    view->setFocus(Qt::PopupFocusReason);
    QMenu menu(this);
    // The list has the focus now, so the toolbar's commands act on its selected rows.
    UpdateView(false);
    menu.addAction(Actions->Change);
    menu.addAction(Actions->Del);
    menu.addSeparator();
    menu.addAction(Actions->Undo);
    menu.addAction(Actions->Redo);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Markera &alla\tCtrl+A"), view, &QAbstractItemView::selectAll)
        ->setEnabled(view->model()->rowCount() > 0);
    menu.exec(view->viewport()->mapToGlobal(position));
}

void TMainForm::fillRecentMenu()
{
    RecentMenu->clear();
    const QStringList paths = RecentFiles::load();
    if (paths.isEmpty()) {
        RecentMenu->addAction(QStringLiteral("Inga senaste filer"))->setEnabled(false);
        return;
    }
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        QAction* action =
            RecentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName().replace(
                                      QLatin1Char('&'), QStringLiteral("&&"))),
                                  this, [this, path] { openRecentFile(path); });
        action->setToolTip(QDir::toNativeSeparators(path));
        action->setStatusTip(QDir::toNativeSeparators(path));
    }
    RecentMenu->setToolTipsVisible(true);
}

void TMainForm::openRecentFile(const QString& path)
{
    if (!m_openCommand)
        return;
    if (!QFileInfo::exists(path)) {
        m_prompt.showMessage(
            QString(),
            QStringLiteral("Filen finns inte längre:\n%1\nDen tas bort ur listan över senaste filer.")
                .arg(QDir::toNativeSeparators(path)),
            UserPrompt::Buttons::Ok, UserPrompt::Icon::Warning);
        RecentFiles::remove(path);
        return;
    }
    if (m_document.DocModified &&
        m_prompt.showMessage(QString(), OpenCommand::unsavedChangesQuestion(),
                             UserPrompt::Buttons::OkCancel) != UserPrompt::Answer::Ok)
        return;
    runOpen([this, &path] { m_openCommand->openPath(path); });
}

void TMainForm::rememberWindow()
{
    WindowMemory::saveGeometry(this);
    if (BtuPanel->isVisibleTo(this) && InnerPanel->isVisibleTo(this) && OuterPanel->height() > 0)
        WindowMemory::saveShare(QStringLiteral("Lower"), double(InnerPanel->height()) / OuterPanel->height());
    if (MdgPanel->isVisibleTo(this) && MakPanel->isVisibleTo(this) && InnerPanel->height() > 0)
        WindowMemory::saveShare(QStringLiteral("Cancellation"),
                                double(MakPanel->height()) / InnerPanel->height());
    for (QTreeView* view : {BtuList, MdgList, MdgListComp, MakList})
        WindowMemory::saveColumnWidths(view->objectName(), view->header());
}

void TMainForm::applyRememberedColumns(QTreeView* view)
{
    const QList<int> widths = WindowMemory::columnWidths(view->objectName());
    for (int column = 0; column < widths.size() && column < view->header()->count(); ++column) {
        view->header()->resizeSection(column, widths[column]);
        fitColumnToCaption(view->header(), column);
    }
}

QString TMainForm::helpTopicOfFocus() const
{
    if (BtuList->hasFocus())
        return QStringLiteral("Betaluppdrag.htm");
    if (MdgList->hasFocus() || MdgListComp->hasFocus())
        return QStringLiteral("Medgivanden.htm");
    if (MakList->hasFocus())
        return QStringLiteral("Makuleringar_och_ändringar.htm");
    return QStringLiteral("Välkommen.htm");
}

bool TMainForm::showHelpFor(QWidget* window)
{
    if (window == this) {
        ShowHelpTopic(helpTopicOfFocus());
        return true;
    }
    if (auto* dialog = qobject_cast<EntryDialog*>(window)) {
        dialog->HelpBtnClick();
        return true;
    }
    if (window && window == SettingsForm) {
        ShowHelpTopic(QStringLiteral("Välkommen.htm#installningar"));
        return true;
    }
    return false;
}

ListId TMainForm::listOf(const QTreeView* view) const
{
    if (view == MdgList)
        return ListId::Mdg;
    if (view == MdgListComp)
        return ListId::MdgComp;
    if (view == MakList)
        return ListId::Mak;
    return ListId::Btu;
}

RowSortModel* TMainForm::proxy(ListId list) const
{
    return static_cast<RowSortModel*>(listView(list)->model());
}
