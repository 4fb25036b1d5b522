#include "settings/HelpWindow.h"

#include "settings/HelpFile.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>

QPointer<HelpWindow> HelpWindow::s_instance;

HelpWindow* HelpWindow::instance()
{
    return s_instance.data();
}

HelpWindow* HelpWindow::open()
{
    if (!s_instance)
        s_instance = new HelpWindow;
    return s_instance.data();
}

void HelpWindow::closeAll()
{
    if (!s_instance)
        return;
    s_instance->close();
    delete s_instance.data();
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Hjälp"));
    // Closing the main window ends the program even while the help is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    buildControls();
    fillContents();
    resize(860, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void HelpWindow::buildControls()
{
    m_back = new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Bakåt"), this);
    m_forward =
        new QPushButton(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Framåt"), this);
    m_home = new QPushButton(QStringLiteral("Startsida"), this);
    m_back->setToolTip(QStringLiteral("Gå tillbaka till föregående sida (Alt+Vänsterpil)"));
    m_forward->setToolTip(QStringLiteral("Gå framåt igen (Alt+Högerpil)"));
    m_home->setToolTip(QStringLiteral("Visa hjälpens startsida"));
    for (QPushButton* button : {m_back, m_forward, m_home})
        button->setAutoDefault(false);

    m_contents = new QListWidget(this);
    m_contents->setObjectName(QStringLiteral("HelpContents"));
    m_contents->setAccessibleName(QStringLiteral("Innehåll"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setAccessibleName(QStringLiteral("Hjälptext"));
    m_browser->setOpenExternalLinks(true);

    m_contents->setSpacing(2);
    auto* contentsPane = new QWidget(this);
    auto* contentsLayout = new QVBoxLayout(contentsPane);
    contentsLayout->setContentsMargins(0, 0, 0, 0);
    contentsLayout->setSpacing(4);
    auto* contentsHeading = new QLabel(QStringLiteral("<b>Innehåll</b>"), contentsPane);
    contentsHeading->setBuddy(m_contents);
    contentsLayout->addWidget(contentsHeading);
    contentsLayout->addWidget(m_contents, 1);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(contentsPane);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({210, 650});
    splitter->setChildrenCollapsible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addWidget(m_home);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_home, &QPushButton::clicked, this, [this] { showTopic(HelpFile::welcomePage()); });
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::pageChanged);
    connect(m_browser, &QTextBrowser::historyChanged, this, &HelpWindow::updateButtons);
    connect(m_contents, &QListWidget::itemActivated, this, &HelpWindow::contentsChosen);
    connect(m_contents, &QListWidget::itemClicked, this, &HelpWindow::contentsChosen);
    auto* back = new QShortcut(QKeySequence::Back, this);
    connect(back, &QShortcut::activated, m_browser, &QTextBrowser::backward);
    auto* forward = new QShortcut(QKeySequence::Forward, this);
    connect(forward, &QShortcut::activated, m_browser, &QTextBrowser::forward);
    // Escape as in the dialogs the help is usually asked from, and the desktop's close shortcut.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)}) {
        auto* close = new QShortcut(key, this);
        connect(close, &QShortcut::activated, this, &QWidget::close);
    }
    updateButtons();
}

void HelpWindow::fillContents()
{
    for (const HelpFile::Entry& entry : HelpFile::contents()) {
        auto* item = new QListWidgetItem(entry.title, m_contents);
        item->setData(Qt::UserRole, entry.page);
    }
}

void HelpWindow::showTopic(const QString& topic)
{
    const QUrl url = HelpFile::topicUrl(topic);
    if (m_browser->source() == url)
        m_browser->reload(); // scroll to the anchor again, the reader may have moved away
    else
        m_browser->setSource(url);
    followModalDialog();
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

QString HelpWindow::currentPage() const
{
    return QFileInfo(m_browser->source().path()).fileName();
}

void HelpWindow::pageChanged(const QUrl& url)
{
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Hjälp") : QStringLiteral("Hjälp \u2013 ") + title);
    const QString page = QFileInfo(url.path()).fileName();
    for (int row = 0; row < m_contents->count(); ++row) {
        QListWidgetItem* item = m_contents->item(row);
        if (item->data(Qt::UserRole).toString() == page) {
            m_contents->setCurrentItem(item);
            return;
        }
    }
    m_contents->clearSelection();
}

void HelpWindow::contentsChosen()
{
    if (const QListWidgetItem* item = m_contents->currentItem()) {
        const QString page = item->data(Qt::UserRole).toString();
        if (page != currentPage() || !m_browser->source().fragment().isEmpty())
            m_browser->setSource(HelpFile::topicUrl(page));
    }
}

void HelpWindow::updateButtons()
{
    m_back->setEnabled(m_browser->isBackwardAvailable());
    m_forward->setEnabled(m_browser->isForwardAvailable());
}

// A modal dialog blocks every other window of the program unless the window is its transient
// child. Help asked for from inside a dialog must still be readable and scrollable.
void HelpWindow::followModalDialog()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == this)
        modal = nullptr;
    winId(); // creates the native window so it can be given a transient parent
    QWindow* window = windowHandle();
    QWindow* owner = modal ? modal->windowHandle() : nullptr;
    if (!window || window->transientParent() == owner)
        return;
    window->setTransientParent(owner);
    if (!owner)
        return;
    // Once the dialog has closed, the help window stands on its own again.
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(owner, &QWindow::visibleChanged, this, [this, owner, connection](bool visible) {
        if (visible)
            return;
        disconnect(*connection);
        if (QWindow* own = windowHandle(); own && own->transientParent() == owner)
            own->setTransientParent(nullptr);
    });
}
