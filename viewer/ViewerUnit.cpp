#include "viewer/ViewerUnit.h"

#include "app/WaitCursor.h"
#include "app/WidgetPrompt.h"
#include "app/WindowMemory.h"
#include "format/OpenFailure.h"
#include "format/OrderLineReader.h"
#include "format/ReportCodes.h"
#include "format/ReportParser.h"
#include "rules/Win1252.h"
#include "viewer/ElidingLabel.h"
#include "viewer/ReportView.h"
#include "viewer/TextFindBar.h"

#include <QEvent>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

constexpr char ControlZ = 26;

// The text of a file read the way order files are read: a line feed ends a line, a carriage return
// on its own is dropped, a Ctrl-Z ends the text. Lines are joined by line feeds; a line end after
// the last line does not add an empty one.
// A line longer than this is shown cut, ending in "…": a text pane lays a line out whole, and a
// file of one enormous line would take minutes and gigabytes to show.
constexpr qsizetype LongestShownLine = 10000;

QString longLinesNotice()
{
    return QStringLiteral("Rader längre än %1 tecken visas avkortade; de slutar med \u2026.")
        .arg(QLocale().toString(int(LongestShownLine)));
}

QString TextOfLines(const QByteArray& bytes, bool* cut = nullptr)
{
    qsizetype end = bytes.indexOf(ControlZ);
    if (end < 0)
        end = bytes.size();

    // A file saved as UTF-8 is shown as UTF-8, as the open command reads it; its lengths count
    // characters, and a byte-order mark before the first line is not shown.
    const bool utf8 = ScanTextKind(bytes.constData(), end) == TextKind::Utf8;
    QByteArray kept;
    kept.reserve(qMin(end, qsizetype(64) * 1024 * 1024));
    qsizetype lineLength = 0;
    for (qsizetype i = ByteOrderMarkLength(bytes.constData(), end); i < end; ++i) {
        const char c = bytes.at(i);
        if (c == '\r')
            continue;
        const bool continuesCharacter = utf8 && (uchar(c) & 0xC0) == 0x80;
        if (c == '\n') {
            lineLength = 0;
        } else if ((continuesCharacter ? lineLength : ++lineLength) > LongestShownLine) {
            if (lineLength == LongestShownLine + 1 && !continuesCharacter) {
                kept.append(utf8 ? "\xE2\x80\xA6" : "\x85"); // "…"
                if (cut)
                    *cut = true;
            }
            continue;
        }
        kept.append(c);
    }
    if (kept.endsWith('\n'))
        kept.chop(1);
    return utf8 ? QString::fromUtf8(kept) : DecodeWin1252(kept);
}

// Room for the structured report's own margins and for a window frame.
constexpr int ReportMargins = 40;
constexpr int FrameAllowance = 16;
// Lines longer than this scroll; a report line is 80 characters.
constexpr int LongestLineShown = 160;

} // namespace

TViewer::TViewer(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Viewer"));
    setWindowTitle(QStringLiteral("Autogiro filvisning"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false); // the status bar has its own
    createControls();
    resize(667, 463);
    Memo1Click();
}

void TViewer::createControls()
{
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("ViewerTabs"));
    m_tabs->setAccessibleName(QStringLiteral("Visning"));
    m_tabs->setDocumentMode(true);
    m_reportView = new ReportView(m_tabs);
    m_tabs->addTab(m_reportView, QStringLiteral("&Rapport"));
    m_tabs->addTab(createTextPage(), QStringLiteral("&Text"));
    m_tabs->setTabVisible(ReportTab, false);
    m_tabs->setCurrentIndex(TextTab);
    m_tabs->tabBar()->hide();
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == TextTab)
            ensureText();
    });
    connect(m_reportView, &ReportView::lineActivated, this, &TViewer::showLine);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    // The file name gives way to the window's width; line and column always stay in view.
    m_fileLabel = new ElidingLabel(StatusBar1);
    m_positionLabel = new QLabel(StatusBar1);
    m_positionLabel->setTextFormat(Qt::PlainText);
    StatusBar1->addWidget(m_fileLabel, 1);
    StatusBar1->addPermanentWidget(m_positionLabel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The user may make the window smaller than its contents would like; they scroll.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    m_registerLine = new QLabel(this);
    m_registerLine->setObjectName(QStringLiteral("RegisterLine"));
    m_registerLine->setTextFormat(Qt::PlainText);
    m_registerLine->setWordWrap(true);
    m_registerLine->setStyleSheet(QStringLiteral("QLabel { background: #e3f1e3; padding: 6px; }"));
    m_registerLine->hide();
    layout->addWidget(m_registerLine);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(StatusBar1);
    createShortcuts();
}

QWidget* TViewer::createTextPage()
{
    auto* page = new QWidget(m_tabs);
    m_textNotice = new QLabel(page);
    m_textNotice->setObjectName(QStringLiteral("TextNotice"));
    m_textNotice->setWordWrap(true);
    m_textNotice->setTextFormat(Qt::PlainText);
    m_textNotice->setStyleSheet(QStringLiteral("QLabel { background: #fff6d5; color: #000000; padding: 6px; }"));
    m_textNotice->hide();

    Memo1 = new QPlainTextEdit(page);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("Filens text"));
    Memo1->setReadOnly(true);
    // Read-only still keeps a caret that the keys move, so line and column can be followed.
    Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setWordWrapMode(QTextOption::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setFont(fixedPitchFont());
    Memo1->installEventFilter(this);
    connect(Memo1, &QPlainTextEdit::cursorPositionChanged, this, &TViewer::Memo1Click);
    connect(Memo1, &QPlainTextEdit::selectionChanged, this, &TViewer::Memo1Click);
    m_findBar = new TextFindBar(*Memo1, page);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_textNotice);
    layout->addWidget(Memo1, 1);
    layout->addWidget(m_findBar);
    return page;
}

void TViewer::createShortcuts()
{
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        if (m_tabs->currentIndex() == ReportTab)
            m_reportView->focusFilter();
        else
            m_findBar->open();
    });
    auto* next = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(next, &QShortcut::activated, this, [this] { findInText(false); });
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(previous, &QShortcut::activated, this, [this] { findInText(true); });
}

void TViewer::showLine(int line)
{
    m_tabs->setCurrentIndex(TextTab);
    const QTextBlock block = Memo1->document()->findBlockByNumber(line - 1);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    Memo1->setTextCursor(cursor);
    Memo1->centerCursor();
    Memo1->setFocus();
}

void TViewer::findInText(bool backwards)
{
    m_tabs->setCurrentIndex(TextTab);
    m_findBar->findNext(backwards);
}

QFont TViewer::fixedPitchFont()
{
    // "Courier New" where it exists; otherwise the first fixed-pitch family the system has, since
    // a font substituted for a missing name is not always fixed-pitch.
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    if (QFontInfo(font).fixedPitch())
        return font;
    QFont fallback = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fallback.setPointSize(10);
    if (QFontInfo(fallback).fixedPitch())
        return fallback;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isFixedPitch(family)) {
            QFont candidate(family, 10);
            if (QFontInfo(candidate).fixedPitch())
                return candidate;
        }
    }
    return font;
}

bool TViewer::LoadFile(const QString& path)
{
    m_fileName = path;
    Memo1Click();
    if (path.isEmpty())
        return true;

    // A report of many thousand records takes a moment to read and lay out.
    bool loaded = false;
    {
        const WaitCursorScope waitCursor(parentWidget());
        loaded = readIntoMemo(path);
    }
    if (!loaded) {
        WidgetPrompt(parentWidget() ? parentWidget() : this)
            .showMessage(QString(), OpenFailure::message(path, m_readError), UserPrompt::Buttons::Ok);
        return false;
    }
    Memo1Click();
    return true;
}

bool TViewer::readIntoMemo(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_readError = file.errorString();
        return false;
    }
    QByteArray bytes = file.readAll();
    const bool readable = file.error() == QFileDevice::NoError;
    m_readError = file.errorString();
    file.close();
    if (!readable)
        return false;
    const ReportFile report = ReportParser::parse(bytes);
    // A report opens on its structured tab: the text is laid out when its tab is first shown.
    bool cut = false;
    m_pendingText = TextOfLines(bytes, &cut);
    bytes = QByteArray(); // not held while the text is laid out
    m_textPending = true;
    if (report.type != ReportFile::Type::Reports)
        ensureText();
    else
        Memo1->clear();
    present(report, path);
    if (cut) {
        m_textNotice->setText(longLinesNotice());
        m_textNotice->setVisible(true);
    }
    return true;
}

void TViewer::ensureText() const
{
    if (!m_textPending)
        return;
    m_textPending = false;
    const WaitCursorScope waitCursor(parentWidget());
    Memo1->setPlainText(m_pendingText);
    Memo1->moveCursor(QTextCursor::Start);
    m_pendingText.clear();
}

void TViewer::present(const ReportFile& file, const QString& path)
{
    const bool reports = file.type == ReportFile::Type::Reports;
    m_reportView->setReports(reports ? file.reports : QList<Report>(), path);
    m_tabs->setTabVisible(ReportTab, reports);
    m_tabs->tabBar()->setVisible(reports); // a file that is only text looks as it always has
    m_tabs->setCurrentIndex(reports ? ReportTab : TextTab);
    m_textNotice->setText(file.type == ReportFile::Type::BgMax ? ReportCodes::bgMaxSentence() : QString());
    m_textNotice->setVisible(file.type == ReportFile::Type::BgMax);
    const QString line = reports && m_reportOpened ? m_reportOpened(path) : QString();
    m_registerLine->setText(line);
    m_registerLine->setVisible(!line.isEmpty());
    if (reports && m_itemSources)
        m_reportView->setItemSources(m_itemSources(path));
}

QString TViewer::registerLine() const
{
    return m_registerLine->isHidden() ? QString() : m_registerLine->text();
}

bool TViewer::showsReport() const
{
    return m_tabs->isTabVisible(ReportTab) && m_tabs->currentIndex() == ReportTab;
}

QString TViewer::textNotice() const
{
    return m_textNotice->isHidden() ? QString() : m_textNotice->text();
}

int TViewer::ShowModal()
{
    placeForShowing();
    Memo1->setFocus();
    return exec();
}

void TViewer::placeForShowing()
{
    // The size and place the user last gave the viewer; the first time, room for the contents.
    if (WindowMemory::restoreGeometry(this, objectName()))
        return;
    resize(fittingSize());
    centreOverParent();
}

QSize TViewer::fittingSize() const
{
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    // The window frame is not known before the window is shown; this leaves room for a usual one.
    const QSize room = available.size() - QSize(FrameAllowance, 2 * FrameAllowance);
    const QSize wanted(qMax(width(), contentWidth()), height());
    return wanted.boundedTo(room).expandedTo(minimumSizeHint().boundedTo(room));
}

int TViewer::contentWidth() const
{
    if (showsReport()) {
        const QTableView* table = m_reportView->table();
        const QAbstractItemView* view = table; // sizeHintForColumn is public only here
        const QHeaderView* header = table->horizontalHeader();
        int columns = 0;
        for (int i = 0; i < header->count(); ++i) {
            if (header->isSectionHidden(i))
                continue;
            // The last column stretches to the window's edge; its own need is its contents.
            columns += i == header->count() - 1 ? qMax(header->sectionSizeHint(i), view->sizeHintForColumn(i))
                                                : header->sectionSize(i);
        }
        const int tableWidth = columns + (table->verticalHeader()->isVisible() ? table->verticalHeader()->width() : 0) +
                               2 * table->frameWidth() + table->verticalScrollBar()->sizeHint().width();
        return qMax(tableWidth + ReportMargins, m_reportView->minimumSizeHint().width());
    }
    // The text: its longest line, as far as a report line goes, in the fixed-pitch font.
    int longest = 0;
    for (QTextBlock block = Memo1->document()->begin(); block.isValid() && block.blockNumber() < 2000;
         block = block.next())
        longest = qMax(longest, qMin(block.length(), LongestLineShown));
    const int textWidth = Memo1->fontMetrics().horizontalAdvance(QLatin1Char('0')) * qMax(longest, 80);
    return textWidth + 2 * Memo1->frameWidth() + 2 * int(Memo1->document()->documentMargin()) +
           Memo1->verticalScrollBar()->sizeHint().width() + ReportMargins;
}

void TViewer::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        WindowMemory::saveGeometry(this, objectName());
    QDialog::hideEvent(event);
}

void TViewer::centreOverParent()
{
    QWidget* anchor = parentWidget() ? parentWidget()->window() : nullptr;
    QRect frame = frameGeometry();
    const QPoint centre = anchor && anchor->isVisible()
                              ? anchor->frameGeometry().center()
                              : (screen() ? screen()->availableGeometry().center() : frame.center());
    frame.moveCenter(centre);
    if (const QScreen* target = QGuiApplication::screenAt(centre)) {
        // Keep the title bar on the screen when the main window sits near an edge.
        const QRect available = target->availableGeometry();
        frame.moveLeft(qBound(available.left(), frame.left(),
                              qMax(available.left(), available.right() - frame.width())));
        frame.moveTop(
            qBound(available.top(), frame.top(), qMax(available.top(), available.bottom() - frame.height())));
    }
    move(frame.topLeft());
}

QString TViewer::statusText() const
{
    return m_fileLabel->fullText() + m_positionLabel->text();
}

void TViewer::Memo1Click()
{
    const QTextCursor cursor = Memo1->textCursor();
    const int end = cursor.selectionEnd();
    const QTextBlock block = Memo1->document()->findBlock(end);
    const int line = block.isValid() ? block.blockNumber() : 0;
    const int column = block.isValid() ? end - block.position() : 0;
    m_fileLabel->setFullText(QStringLiteral("Filnamn:  ") + m_fileName);
    m_positionLabel->setText(QStringLiteral("        Rad: ") + QString::number(line + 1) +
                             QStringLiteral("   Kolumn: ") + QString::number(column + 1));
}

bool TViewer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Memo1 && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        Memo1Click();
    return QDialog::eventFilter(watched, event);
}
