#include "app/MainForm.h"

#include "app/Clock.h"
#include "app/ExportCommand.h"
#include "app/ImportCommand.h"
#include "app/ListCommands.h"
#include "app/MessageBox.h"
#include "app/MnemonicKeyFilter.h"
#include "app/RowListModel.h"
#include "app/StartPicture.h"
#include "app/VersionText.h"
#include "dialogs/BtuUnit.h"
#include "dialogs/MakUnit.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"
#include "format/OpenCommand.h"
#include "format/SaveCommand.h"
#include "rules/ValmoError.h"
#include "settings/SettingsCommand.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsUnit.h"
#include "settings/hh.h"
#include "viewer/ShowFileCommand.h"
#include "viewer/ViewerUnit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QColor HeadingColor(74, 67, 163);
constexpr int HeadingPixelSize = 19;
// The selected row of a list without the keyboard focus, as native lists draw it.
const QColor UnfocusedSelectionColor(200, 200, 214);
constexpr int ButtonWidth = 78;
constexpr int ButtonHeight = 52;
constexpr int IconSide = 32;
constexpr QSize InitialSize(873, 546);
// Columns whose caption names the payer: the sixth of the payment orders, the second of the
// cancellations and changes.
constexpr int BtuPayerColumn = 5;
constexpr int MakPayerColumn = 1;

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
                         focused ? standard.color(group, QPalette::Highlight) : UnfocusedSelectionColor);
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
    m_importCommand = std::make_unique<ImportCommand>(m_document, *this, this);
    m_exportCommand = std::make_unique<ExportCommand>(m_document, *this, this);

    // Wide enough for every toolbar button.
    const QSize initialSize(qMax(InitialSize.width(), ToolBar1->sizeHint().width()), InitialSize.height());
    resize(initialSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), initialSize);
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
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
        command();
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
    MessageBox::show(this, ApplicationTitle(), failure, MessageBox::Buttons::Ok, MessageBox::Icon::Error);
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

    m_listCommands = std::make_unique<ListCommands>(
        m_document, *this, *this, ListCommands::Dialogs{*BtuForm, *MdgForm, *MdgCompForm, *MakForm}, this);
    m_settingsCommand = std::make_unique<SettingsCommand>(m_document, *this, *SettingsForm);
    m_fileShower = std::make_unique<ShowFileCommand>(m_document, *Viewer, this);
    m_openCommand = std::make_unique<OpenCommand>(m_document, *this, m_prompt, *m_fileShower);
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
    setWindowTitle(QStringLiteral("Lumora Valmo ") + GetVersionText());
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
    emit closed();
}

bool TMainForm::FormClose()
{
    if (!m_document.DocModified)
        return true;
    const MessageBox::Answer answer =
        MessageBox::show(this, QString(), QStringLiteral("Du har inte sparat. Vill spara innan du stänger?"),
                         MessageBox::Buttons::YesNoCancel);
    switch (answer) {
    case MessageBox::Answer::No:
        return true;
    case MessageBox::Answer::Yes:
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

    OpenBtn = addToolButton(QStringLiteral("Öppna &fil"), QStringLiteral("open"), &TMainForm::OpenBtnClick);
    NewBtn = addToolButton(QStringLiteral("&Ny fil"), QStringLiteral("new"), &TMainForm::NewBtnClick);
    SparaBtn = addToolButton(QStringLiteral("&Spara fil"), QStringLiteral("save"), nullptr);
    connect(SparaBtn, &QToolButton::clicked, this, [this] { SparaBtnClick(); });
    VisaBtn = addToolButton(QStringLiteral("&Visa fil"), QStringLiteral("show"), &TMainForm::VisaBtnClick);
    ImportBtn =
        addToolButton(QStringLiteral("Im&portera..."), QStringLiteral("import"), &TMainForm::ImportBtnClick);
    ExportBtn =
        addToolButton(QStringLiteral("E&xportera..."), QStringLiteral("export"), &TMainForm::ExportBtnClick);
    addToolSeparator();
    MdgBtn = addToolButton(QStringLiteral("&Medgivande"), QStringLiteral("mandate"), &TMainForm::MdgBtnClick);
    BtuBtn =
        addToolButton(QStringLiteral("&Betaluppdrag"), QStringLiteral("payment"), &TMainForm::BtuBtnClick);
    MakBtn = addToolButton(QStringLiteral("Ma&kulering"), QStringLiteral("cancel"), &TMainForm::MakBtnClick);
    addToolSeparator();
    ChangeBtn =
        addToolButton(QStringLiteral("&Redigera"), QStringLiteral("edit"), &TMainForm::ChangeBtnClick);
    DelBtn = addToolButton(QStringLiteral("&Ta bort"), QStringLiteral("delete"), &TMainForm::DelBtnClick);
    addToolSeparator();
    SettingsBtn = addToolButton(QStringLiteral("&Inställningar"), QStringLiteral("settings"),
                                &TMainForm::SettingsBtnClick);
    HelpBtn = addToolButton(QStringLiteral("&Hjälp"), QStringLiteral("help"), &TMainForm::HelpBtnClick);

    fitCaptions({OpenBtn, NewBtn, SparaBtn, VisaBtn, ImportBtn, ExportBtn, MdgBtn, BtuBtn, MakBtn, ChangeBtn,
                 DelBtn, SettingsBtn, HelpBtn});

    // At start the document is empty: nothing to start anew, save, show, edit or delete.
    for (QToolButton* button : {NewBtn, SparaBtn, VisaBtn, ExportBtn, ChangeBtn, DelBtn})
        button->setEnabled(false);
}

void TMainForm::addToolSeparator()
{
    QAction* separator = ToolBar1->addSeparator();
    // The separator is a widget of its own that asks its own style for its width.
    if (QWidget* line = ToolBar1->widgetForAction(separator))
        line->setStyle(m_toolBarStyle);
}

QToolButton* TMainForm::addToolButton(const QString& caption, const QString& icon,
                                      void (TMainForm::*command)())
{
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(icon);
    // The caption's "&" gives the button its Alt accelerator.
    button->setText(caption);
    button->setIcon(pictureIfPresent(QStringLiteral(":/icons/toolbar/%1.png").arg(icon)));
    button->setIconSize(QSize(IconSide, IconSide));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFixedSize(ButtonWidth, ButtonHeight);
    button->setAutoRaise(true);
    // A click must leave the keyboard focus in the list, where "&Redigera" and "&Ta bort" act.
    button->setFocusPolicy(Qt::NoFocus);
    ToolBar1->addWidget(button);
    if (command)
        connect(button, &QToolButton::clicked, this, [this, command] { (this->*command)(); });
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

    OuterPanel = new QWidget(this);
    auto* outerLayout = new QVBoxLayout(OuterPanel);
    outerLayout->setContentsMargins(0, 0, 0, 0);
    outerLayout->setSpacing(0);
    StartPanel = new StartPicture(StartPicture::defaultResource(), OuterPanel);
    outerLayout->addWidget(StartPanel);

    BtuPanel = createSection(QStringLiteral(" Betaluppdrag"), {BtuList});
    MdgPanel = createSection(QStringLiteral(" Medgivanden"), {MdgList, MdgListComp});
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

    setCentralWidget(OuterPanel);
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
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, HeadingColor);
    label->setPalette(palette);
    layout->addWidget(label);

    for (QTreeView* list : lists)
        layout->addWidget(list, 1);
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
    const int row = hasRows ? list->sizeHintForRow(0) : list->fontMetrics().height();
    const int height = (heading ? heading->sizeHint().height() : 0) + list->header()->sizeHint().height() +
                       row + list->horizontalScrollBar()->sizeHint().height() + 2 * list->frameWidth();
    section->setMinimumHeight(height);
}

QTreeView* TMainForm::createList(RowListModel* model, const QList<int>& columnWidths,
                                 void (TMainForm::*edit)())
{
    auto* view = new QTreeView;
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true); // keeps a list of a million rows quick to lay out
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
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

    showSelectionAsFocused(view, false);
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    connect(view, &QAbstractItemView::doubleClicked, this, [this, edit] { (this->*edit)(); });
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateView(false); });
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { UpdateView(false); });
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { UpdateView(false); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { UpdateView(false); });
    return view;
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
    auto* view = qobject_cast<QTreeView*>(watched);
    if (view && (view == BtuList || view == MdgList || view == MdgListComp || view == MakList)) {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            showSelectionAsFocused(view, event->type() == QEvent::FocusIn);
            UpdateView(false);
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                editList(view);
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
    NewBtn->setEnabled(!startShown);
    ExportBtn->setEnabled(!startShown);

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
            lowerHeight = area * 2 / 3;
            DocumentSplitter->setSizes({qMax(0, area - SplitterHeight - lowerHeight), lowerHeight});
        } else {
            DocumentSplitter->setSizes({0, area});
        }
        if (mandateShown) {
            const int cancellationHeight = lowerHeight / 2;
            InnerPanel->setSizes(
                {qMax(0, lowerHeight - SplitterHeight - cancellationHeight), cancellationHeight});
        }
    }

    const bool hasFile = !doc.CurrentFile.isEmpty();
    SparaBtn->setEnabled(hasFile || doc.DocModified);
    VisaBtn->setEnabled(hasFile);

    bool editable = false;
    for (ListId list : {ListId::Btu, ListId::Mak, ListId::Mdg, ListId::MdgComp}) {
        if (hasFocus(list)) {
            editable = selectedRow(list) >= 0;
            break;
        }
    }
    ChangeBtn->setEnabled(editable);
    DelBtn->setEnabled(editable);
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
    const QModelIndexList rows = listView(list)->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TMainForm::selectRow(ListId list, int row)
{
    QTreeView* view = listView(list);
    RowListModel* model = listModel(list);
    if (!m_document.Loading)
        model->synchronize();
    if (row < 0 || row >= model->rowCount()) {
        view->selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = model->index(row, 0);
    view->selectionModel()->setCurrentIndex(index,
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(index, QAbstractItemView::EnsureVisible);
}

bool TMainForm::hasFocus(ListId list) const
{
    return listView(list)->hasFocus();
}

// --- Commands -------------------------------------------------------------------------------

void TMainForm::NewBtnClick()
{
    if (m_document.DocModified) {
        const MessageBox::Answer answer = MessageBox::show(
            this, QString(),
            QStringLiteral(
                "Du har inte sparat nuvarande inmatningar.\nVill du fortsätta och förlora osparad data?"),
            MessageBox::Buttons::OkCancel);
        if (answer != MessageBox::Answer::Ok)
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
        runCommand([this] { m_openCommand->OpenBtnClick(); });
}

void TMainForm::openFileAtStart(const QString& path)
{
    if (m_openCommand)
        runCommand([this, &path] { m_openCommand->openPath(path); });
}

bool TMainForm::SparaBtnClick()
{
    bool saved = false;
    if (m_saveCommand)
        runCommand([&] { saved = m_saveCommand->SparaBtnClick(); });
    return saved;
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
