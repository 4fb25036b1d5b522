#include "app/LeftOutMandates.h"
#include "app/OrderDocument.h"
#include "support/TestSupport.h"

#include "format/SettingsOpeningRecordPolicy.h"
#include "rules/Check.h"
#include "rules/Extra.h"
#include "settings/HelpFile.h"
#include "settings/HelpWindow.h"
#include "settings/hh.h"
#include "support/GuiPrompt.h"

#include <QAbstractTextDocumentLayout>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>

using namespace Qt::StringLiterals;

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

const QString builtHelpFolder = QString::fromUtf8(VALMO_HELP_FOLDER);

// The top of the block that carries a named anchor, if the document has one.
std::optional<qreal> anchorTop(QTextDocument* document, const QString& name)
{
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(name))
                return document->documentLayout()->blockBoundingRect(block).top();
        }
    }
    return std::nullopt;
}

QStringList linksOf(QTextDocument* document)
{
    QStringList links;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor() && !format.anchorHref().isEmpty() && !links.contains(format.anchorHref()))
                links.append(format.anchorHref());
        }
    }
    return links;
}

template <typename Predicate> qsizetype countTopLevels(Predicate predicate)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::count_if(windows.begin(), windows.end(), predicate);
}

QPushButton* button(HelpWindow* window, const QString& caption)
{
    for (QPushButton* candidate : window->findChildren<QPushButton*>()) {
        if (candidate->text() == caption)
            return candidate;
    }
    ADD_FAILURE() << "no button " << caption.toStdString();
    return nullptr;
}

class HelpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FreeHelpViewer();
        HelpFile::setSearchFolders({builtHelpFolder});
        guiPrompt().clear();
    }
    void TearDown() override
    {
        FreeHelpViewer();
        HelpFile::setSearchFolders({});
    }

    HelpWindow* show(const QString& topic)
    {
        ShowHelpTopic(topic);
        HelpWindow* window = HelpWindow::instance();
        if (window)
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        return window;
    }
};

TEST_F(HelpTest, EveryTopicOfTheProgramOpensItsPageAtItsAnchor)
{
    struct Case
    {
        QString topic, page, anchor, title;
    };
    const Case cases[] = {
        {u"Välkommen.htm"_s, u"Välkommen.htm"_s, {}, u"Välkommen"_s},
        {u"Betaluppdrag.htm"_s, u"Betaluppdrag.htm"_s, {}, u"Betaluppdrag"_s},
        {u"Betaluppdrag.htm#referens"_s, u"Betaluppdrag.htm"_s, u"referens"_s, u"Betaluppdrag"_s},
        {u"Betalarnummer.htm"_s, u"Betalarnummer.htm"_s, {}, u"Betalarnummer"_s},
        {u"Medgivanden.htm"_s, u"Medgivanden.htm"_s, {}, u"Medgivanden"_s},
        {u"Medgivanden.htm#personnummer"_s, u"Medgivanden.htm"_s, u"personnummer"_s, u"Medgivanden"_s},
        {u"Medgivanden.htm#kontonummer"_s, u"Medgivanden.htm"_s, u"kontonummer"_s, u"Medgivanden"_s},
        {u"Makuleringar_och_ändringar.htm"_s,
         u"Makuleringar_och_ändringar.htm"_s,
         {},
         u"Makuleringar och ändringar"_s},
        // A topic the help does not hold opens the welcome page rather than an empty window.
        {u"Saknas.htm#x"_s, u"Välkommen.htm"_s, {}, u"Välkommen"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.topic.toStdString());
        HelpWindow* window = show(c.topic);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->currentPage(), c.page);
        EXPECT_EQ(window->browser()->source().fragment(), c.anchor);
        EXPECT_EQ(window->windowTitle(), u"Hjälp \u2013 "_s + c.title);
        EXPECT_GT(window->browser()->document()->characterCount(), 500);
        ASSERT_NE(window->contentsList()->currentItem(), nullptr);
        EXPECT_EQ(window->contentsList()->currentItem()->text(), c.title);

        QScrollBar* scroll = window->browser()->verticalScrollBar();
        if (c.anchor.isEmpty()) {
            EXPECT_EQ(scroll->value(), 0);
        } else {
            const std::optional<qreal> top = anchorTop(window->browser()->document(), c.anchor);
            ASSERT_TRUE(top.has_value());
            EXPECT_GT(*top, 0);
            EXPECT_NEAR(scroll->value(), qMin(int(*top), scroll->maximum()), 2);
            EXPECT_GT(scroll->value(), 0);
        }
    }
    EXPECT_EQ(countTopLevels([](QWidget* w) { return bool(qobject_cast<HelpWindow*>(w) && w->isVisible()); }),
              1);
}

TEST_F(HelpTest, ReopeningTheSameTopicScrollsBackToItsAnchor)
{
    HelpWindow* window = show(u"Medgivanden.htm#personnummer"_s);
    ASSERT_NE(window, nullptr);
    const int atAnchor = window->browser()->verticalScrollBar()->value();
    window->browser()->verticalScrollBar()->setValue(0);
    show(u"Medgivanden.htm#personnummer"_s);
    EXPECT_EQ(window->browser()->verticalScrollBar()->value(), atAnchor);
}

TEST_F(HelpTest, EveryLinkLeadsToAPageAndAnchorOfTheHelp)
{
    ASSERT_TRUE(HelpFile::load());
    const QList<HelpFile::Entry> contents = HelpFile::contents();
    ASSERT_EQ(contents.size(), 11);
    QTextBrowser target;
    int links = 0;
    for (const HelpFile::Entry& entry : contents) {
        QTextBrowser page;
        page.setSource(HelpFile::topicUrl(entry.page));
        for (const QString& href : linksOf(page.document())) {
            SCOPED_TRACE(entry.page.toStdString() + " -> " + href.toStdString());
            ++links;
            const QUrl resolved = page.source().resolved(QUrl(href));
            EXPECT_EQ(resolved.scheme(), u"qrc"_s);
            const QString targetPage = QFileInfo(resolved.path()).fileName();
            EXPECT_TRUE(HelpFile::hasPage(targetPage));
            if (resolved.hasFragment()) {
                target.setSource(resolved);
                EXPECT_TRUE(anchorTop(target.document(), resolved.fragment()).has_value());
            }
        }
    }
    EXPECT_GT(links, 15);
}

TEST_F(HelpTest, FollowingALinkThenBackAndForward)
{
    HelpWindow* window = show(u"Betaluppdrag.htm"_s);
    ASSERT_NE(window, nullptr);
    QPushButton* back = button(window, u"Bakåt"_s);
    QPushButton* forward = button(window, u"Framåt"_s);
    ASSERT_TRUE(back && forward);
    EXPECT_FALSE(back->isEnabled());

    // The link text as the reader sees it on the payment-order page.
    const QString link = u"Betalarnummer.htm"_s;
    ASSERT_TRUE(linksOf(window->browser()->document()).contains(link));
    window->browser()->setSource(window->browser()->source().resolved(QUrl(link)));
    EXPECT_EQ(window->currentPage(), u"Betalarnummer.htm"_s);
    EXPECT_EQ(window->contentsList()->currentItem()->text(), u"Betalarnummer"_s);
    EXPECT_TRUE(back->isEnabled());

    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(window->currentPage(), u"Betaluppdrag.htm"_s);
    EXPECT_TRUE(forward->isEnabled());
    QTest::mouseClick(forward, Qt::LeftButton);
    EXPECT_EQ(window->currentPage(), u"Betalarnummer.htm"_s);

    QTest::mouseClick(button(window, u"Startsida"_s), Qt::LeftButton);
    EXPECT_EQ(window->currentPage(), u"Välkommen.htm"_s);
}

TEST_F(HelpTest, TheContentsListAllTopicsAndOpenThem)
{
    HelpWindow* window = show(u"Välkommen.htm"_s);
    ASSERT_NE(window, nullptr);
    QListWidget* list = window->contentsList();
    QStringList titles;
    for (int row = 0; row < list->count(); ++row)
        titles.append(list->item(row)->text());
    EXPECT_EQ(titles, (QStringList{u"Välkommen"_s, u"Betaluppdrag"_s, u"Betalarnummer"_s, u"Medgivanden"_s,
                                   u"Makuleringar och ändringar"_s, u"Förändringsskydd med sigill"_s,
                                   u"Rapporter från Bankgirot"_s, u"Autogiroregistret"_s, u"Registerfönstret"_s,
                                   u"Import och export"_s, u"Bankdagar och tidsgränser"_s}));

    const QRect last = list->visualItemRect(list->item(4));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, last.center());
    EXPECT_EQ(window->currentPage(), u"Makuleringar_och_ändringar.htm"_s);
}

// The HTML source of a help page, read from the loaded help file.
QString pageSource(const QString& page)
{
    QFile file(HelpFile::resourceFolder() + page);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// The part of a page from a named anchor to the next heading of the same or a higher level.
QString sectionAt(const QString& html, const QString& anchor)
{
    const qsizetype start = html.indexOf(u"name=\""_s + anchor + u"\""_s);
    if (start < 0)
        return QString();
    const qsizetype end = html.indexOf(QRegularExpression(u"<h[1-3]"_s), start);
    return html.mid(start, end < 0 ? -1 : end - start);
}

QString plainText(QString html)
{
    html.remove(QRegularExpression(u"<[^>]*>"_s));
    html.replace(u"&nbsp;"_s, u"\u00A0"_s).replace(u"&ndash;"_s, u"\u2013"_s);
    return html.simplified();
}

const OrderDocument& oneCompanyMandateUnderPrivate()
{
    static OrderDocument document;
    if (document.MdgListComp.isEmpty())
        document.MdgListComp.append(u"123-4567"_s, {});
    return document;
}

TEST_F(HelpTest, EveryQuotedMessageIsOneTheProgramGives)
{
    // The validators are asked for their own texts, so the help follows them when they change.
    // "…" in a help page stands for the part the program fills in.
    const QStringList programMessages = {
        CheckBankgiroNumber(u"1"_s),
        CheckPersonNumber(u"19651301-1234"_s),
        CheckPersonNumber(u"5560001234"_s),
        CheckClearingNumber(u"1"_s),
        CheckClearingAndAccount(u"12341"_s),
        CheckPayerNumber(QString()),
        CheckAmount(u"x"_s),
        CheckAmount(u"-1"_s),
        CheckAmount(u"100000000"_s),
        u"Filen kan inte sparas eftersom inställningarna inte är godkända."_s,
        u"Filen kunde inte skapas"_s,
        u"Filen kunde inte sparas"_s,
        u"Den tidigare filen är oförändrad."_s,
        u"Texten '%1' innehåller tecknet '%2', som inte kan skrivas i en Autogirofil."_s,
        u"Antalet '%1' kan inte skrivas i filen. Antalet ska vara mellan 1 och 999."_s,
        u"Antal betalningar ska vara ett heltal från 0 till 999"_s,
        u"Du har inte sparat nuvarande inmatningar.\nVill du fortsätta och förlora osparad data?"_s,
        u"Du har inte sparat. Vill spara innan du stänger?"_s,
        SettingsOpeningRecordPolicy::adoptQuestion({0, u"%1"_s, u"%1"_s}, {0, u"%1"_s, u"%1"_s}),
        u"Detta är en ankommande fil med information om E-medgivanden. Den kommer öppnas för visning."_s,
        u"Filen innehåller information som inte kan hanteras av det här programmet."_s,
        u"Filen kunde inte öppnas"_s,
        ServiceSwitchQuestion(2, false),
        SaveLeftOutQuestion(oneCompanyMandateUnderPrivate()),
    };
    QStringList known;
    for (const QString& message : programMessages) {
        ASSERT_FALSE(message.isEmpty());
        QString pattern = QRegularExpression::escape(message.simplified());
        pattern.replace(QRegularExpression(u"%[12]"_s), u"…"_s);
        known.append(pattern);
    }
    const QRegularExpression quoted(u"class=\"meddelande\">(.*?)</(span|td)>"_s,
                                    QRegularExpression::DotMatchesEverythingOption);

    ASSERT_TRUE(HelpFile::load());
    int count = 0;
    for (const HelpFile::Entry& entry : HelpFile::contents()) {
        const QString html = pageSource(entry.page);
        ASSERT_FALSE(html.isEmpty()) << entry.page.toStdString();
        for (auto it = quoted.globalMatch(html); it.hasNext();) {
            const QString message = plainText(it.next().captured(1));
            SCOPED_TRACE(entry.page.toStdString() + ": " + message.toStdString());
            ++count;
            const bool matches = std::any_of(known.begin(), known.end(), [&](const QString& pattern) {
                return QRegularExpression(u"\\A"_s + pattern + u"\\z"_s).match(message).hasMatch();
            });
            EXPECT_TRUE(matches);
        }
    }
    EXPECT_GT(count, 20);
}

TEST_F(HelpTest, TheAccountAndPersonalNumberExamplesAreWhatTheMandateDialogAccepts)
{
    ASSERT_TRUE(HelpFile::load());
    const QString html = pageSource(u"Medgivanden.htm"_s);

    // Clearing number, account number and the row text, as the mandate dialog writes it.
    const QRegularExpression accountRow(u"<tr><td>([\\d-]+)</td><td>(\\d+)</td><td>([\\d-]+)</td></tr>"_s);
    int accounts = 0;
    for (auto it = accountRow.globalMatch(sectionAt(html, u"kontonummer"_s)); it.hasNext();) {
        const QRegularExpressionMatch row = it.next();
        SCOPED_TRACE((row.captured(1) + u' ' + row.captured(2)).toStdString());
        ++accounts;
        EXPECT_EQ(CheckClearingNumber(row.captured(1)), QString());
        EXPECT_EQ(CheckClearingAndAccount(row.captured(1), row.captured(2)), QString());
        EXPECT_EQ(FormatClearingAccount(row.captured(1), row.captured(2)), row.captured(3));
    }
    EXPECT_GE(accounts, 3);

    // As typed, and as shown once the field has been left.
    const QRegularExpression personRow(u"<tr><td>([\\d-]+)</td><td>([\\d-]+)</td></tr>"_s);
    const QRegularExpression displayForm(u"\\A(19|20)\\d{6}-\\d{4}\\z"_s);
    int persons = 0;
    for (auto it = personRow.globalMatch(sectionAt(html, u"personnummer"_s)); it.hasNext();) {
        const QRegularExpressionMatch row = it.next();
        SCOPED_TRACE(row.captured(1).toStdString());
        ++persons;
        EXPECT_TRUE(IsPersonNumber(row.captured(1)));
        EXPECT_TRUE(displayForm.match(row.captured(2)).hasMatch());
        EXPECT_TRUE(DigitsOnly(row.captured(2)).endsWith(DigitsOnly(row.captured(1))));
        EXPECT_EQ(CheckPersonNumber(row.captured(2)), QString());
        EXPECT_EQ(NormalizePersonNumber(row.captured(1), QDate::currentDate()), row.captured(2));
    }
    EXPECT_GE(persons, 3);
}

TEST_F(HelpTest, AskingForAPageAfterOneOfItsAnchorsShowsItsTop)
{
    struct Case
    {
        QString first, second;
    };
    const Case cases[] = {
        {u"Medgivanden.htm#kontonummer"_s, u"Medgivanden.htm"_s},
        {u"Betaluppdrag.htm#referens"_s, u"Betaluppdrag.htm"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first.toStdString());
        HelpWindow* window = show(c.first);
        ASSERT_NE(window, nullptr);
        EXPECT_GT(window->browser()->verticalScrollBar()->value(), 0);
        show(c.second);
        EXPECT_EQ(window->browser()->source().fragment(), QString());
        EXPECT_EQ(window->browser()->verticalScrollBar()->value(), 0);
    }
}

TEST_F(HelpTest, AMissingOrDamagedHelpFileIsReportedInSwedish)
{
    const QString expected = u"Hjälpen är inte tillgänglig, eftersom hjälpfilen \u201DHjälp Valmo.rcc\u201D "
                             u"saknas eller är skadad.\nInstallera programmet på nytt för att få "
                             u"tillbaka hjälpen."_s;
    QTemporaryDir empty;
    QTemporaryDir damaged;
    WriteFileBytes(QDir(damaged.path()).filePath(HelpFile::fileName()), "not a help file");
    for (const QString& folder : {empty.path(), damaged.path()}) {
        FreeHelpViewer();
        guiPrompt().messages.clear();
        HelpFile::setSearchFolders({folder});
        guiPrompt().answers.append(UserPrompt::Answer::Ok);

        ShowHelpTopic(u"Medgivanden.htm#kontonummer"_s);

        ASSERT_EQ(guiPrompt().messages.size(), 1);
        EXPECT_EQ(guiPrompt().messages.first().caption, u"Lumora Valmo"_s);
        EXPECT_EQ(guiPrompt().messages.first().text, expected);
        EXPECT_EQ(guiPrompt().messages.first().buttons, UserPrompt::Buttons::Ok);
        EXPECT_EQ(HelpWindow::instance(), nullptr);
    }
    // Once the file is there, help works without restarting the program.
    HelpFile::setSearchFolders({builtHelpFolder});
    EXPECT_NE(show(u"Välkommen.htm"_s), nullptr);
}

TEST_F(HelpTest, TheHelpFileIsFoundBesideTheProgramFirstThenInShareValmo)
{
    QTemporaryDir install;
    const QDir root(install.path());
    root.mkpath(u"bin"_s);
    root.mkpath(u"share/valmo"_s);
    const QString built = QDir(builtHelpFolder).filePath(HelpFile::fileName());
    const QString shared = root.filePath(u"share/valmo/"_s + HelpFile::fileName());
    const QString beside = root.filePath(u"bin/"_s + HelpFile::fileName());

    const QStringList folders = HelpFile::searchFoldersFor(root.filePath(u"bin"_s));
    EXPECT_EQ(folders, (QStringList{root.filePath(u"bin"_s), root.filePath(u"share/valmo"_s)}));
    HelpFile::setSearchFolders(folders);
    EXPECT_EQ(HelpFile::locate(), QString());
    ASSERT_TRUE(QFile::copy(built, shared));
    EXPECT_EQ(HelpFile::locate(), shared);
    ASSERT_TRUE(QFile::copy(built, beside));
    EXPECT_EQ(HelpFile::locate(), beside);
    EXPECT_TRUE(HelpFile::load());
}

TEST_F(HelpTest, FreeHelpViewerClosesTheHelpWindow)
{
    HelpWindow* window = show(u"Betalarnummer.htm"_s);
    ASSERT_NE(window, nullptr);
    // The help window never keeps the program running after the main window has closed.
    EXPECT_FALSE(window->testAttribute(Qt::WA_QuitOnClose));
    FreeHelpViewer();
    EXPECT_EQ(HelpWindow::instance(), nullptr);
    EXPECT_FALSE(HelpFile::isLoaded());
    EXPECT_EQ(countTopLevels([](QWidget* w) { return bool(qobject_cast<HelpWindow*>(w)); }), 0);
}

TEST_F(HelpTest, TheHelpWindowStaysUsableWhileAModalDialogIsOpen)
{
    QDialog dialog;
    bool backWorked = false;
    QTimer::singleShot(0, &dialog, [&] {
        HelpWindow* window = show(u"Betaluppdrag.htm"_s);
        if (window) {
            window->browser()->setSource(HelpFile::topicUrl(u"Medgivanden.htm"_s));
            QPushButton* back = button(window, u"Bakåt"_s);
            // A click through the window system, which drops input to windows a modal dialog blocks.
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                              back->mapTo(window, back->rect().center()));
            backWorked = window->currentPage() == u"Betaluppdrag.htm"_s;
        }
        dialog.reject();
    });
    dialog.exec();
    EXPECT_TRUE(backWorked);
    // After the dialog has closed the help window is still open.
    ASSERT_NE(HelpWindow::instance(), nullptr);
    EXPECT_TRUE(HelpWindow::instance()->isVisible());
    EXPECT_EQ(HelpWindow::instance()->windowHandle()->transientParent(), nullptr);
}

} // namespace

namespace {

TEST_F(HelpTest, EscapeAndTheUsualCloseShortcutCloseTheHelpWindow)
{
    const QList<std::pair<const char*, QKeyCombination>> keys = {
        {"Escape", QKeyCombination(Qt::Key_Escape)},
        {"Close shortcut", QKeySequence(QKeySequence::Close)[0]},
    };
    for (const auto& [name, key] : keys) {
        SCOPED_TRACE(name);
        HelpWindow* window = show(u"Välkommen.htm"_s);
        ASSERT_NE(window, nullptr);
        // Wherever the focus is inside the window: the page or the contents list.
        for (QWidget* target : {static_cast<QWidget*>(window->browser()),
                                static_cast<QWidget*>(window->findChild<QListWidget*>())}) {
            window->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
            target->setFocus();
            QTest::keyClick(target, key.key(), key.keyboardModifiers());
            EXPECT_FALSE(window->isVisible());
        }
    }
}

} // namespace
