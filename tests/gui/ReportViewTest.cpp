#include "viewer/ReportView.h"
#include "app/Clock.h"
#include "format/ReportCodes.h"
#include "format/ReportParser.h"
#include "format/ReportTable.h"
#include "register/BankFiles.h"
#include "register/ItemSources.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterImporter.h"
#include "register/ReportOpening.h"
#include "support/BankExamples.h"
#include "support/FakePrompt.h"
#include "support/GuiPrompt.h"
#include "support/TestSupport.h"
#include "viewer/ReportItemModel.h"
#include "viewer/TextFindBar.h"
#include "viewer/ViewerUnit.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QShortcut>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBlock>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

class ReportViewTest : public ::testing::Test
{
protected:
    void SetUp() override { guiPrompt().clear(); }

    QString copyOf(const char* bankFile, const QByteArray& replace = QByteArray(),
                   const QByteArray& with = QByteArray())
    {
        QByteArray bytes =
            ReadFileBytes(QStringLiteral(VALMO_TEST_DATA "/bank/") + QString::fromLatin1(bankFile));
        if (!replace.isEmpty())
            bytes.replace(replace, with);
        const QString path = m_folder.filePath(QString::fromLatin1(bankFile));
        WriteFileBytes(path, bytes);
        return path;
    }

    // The shortcut's own signal: key events sent to a widget do not pass Qt's shortcut map.
    void press(const QKeySequence& keys)
    {
        for (QShortcut* shortcut : m_viewer.findChildren<QShortcut*>()) {
            if (shortcut->key() == keys)
                emit shortcut->activated();
        }
    }

    int shownRows() const { return m_viewer.reportView()->table()->model()->rowCount(); }

    QTemporaryDir m_folder;
    TViewer m_viewer;
};

TEST_F(ReportViewTest, AReportOpensStructuredWithItsHeadingSumsAndRows)
{
    ASSERT_TRUE(m_viewer.LoadFile(copyOf("autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt")));
    EXPECT_TRUE(m_viewer.showsReport());
    ReportView& view = *m_viewer.reportView();
    for (const char* part : {"Betalningsspecifikation", "2009-11-10", "991-2346", "471117"})
        EXPECT_TRUE(view.headingText().contains(QString::fromUtf8(part))) << part;
    EXPECT_TRUE(view.sumsText().contains(QStringLiteral("Ej genomförd (debitering): 3 poster,")));
    EXPECT_TRUE(view.warningText().isEmpty());
    EXPECT_EQ(shownRows(), 18);
    view.filterEdit()->setText(QStringLiteral("täckning saknas"));
    EXPECT_EQ(shownRows(), 2); // a debit and a credit
    view.filterEdit()->clear();
    // The text tab is one step away and unchanged.
    m_viewer.tabs()->setCurrentIndex(TViewer::TextTab);
    EXPECT_TRUE(m_viewer.memo()->toPlainText().startsWith(QStringLiteral("01AUTOGIRO")));
}

TEST_F(ReportViewTest, AmountsSortAsNumbersAndARowLeadsToItsLineInTheText)
{
    ASSERT_TRUE(m_viewer.LoadFile(copyOf("autogiro_exempelfilavvisade_betalningsuppdrag_sv.txt")));
    QTableView* table = m_viewer.reportView()->table();
    table->sortByColumn(ReportTable::AmountColumn, Qt::DescendingOrder);
    QStringList amounts;
    for (int row = 0; row < 3; ++row)
        amounts.append(table->model()->index(row, ReportTable::AmountColumn).data().toString());
    // 802,00 is larger than 75,00 although "7" sorts after "8" as text.
    EXPECT_EQ(amounts.join(QLatin1Char('|')).remove(QChar(0xa0)).remove(QLatin1Char(' ')),
              QStringLiteral("802,00|550,51|250,00"));

    emit table->activated(table->model()->index(1, 0)); // 550,51 is on line 4
    EXPECT_FALSE(m_viewer.showsReport());
    EXPECT_TRUE(m_viewer.statusText().endsWith(QStringLiteral("Rad: 4   Kolumn: 1")));
    EXPECT_TRUE(m_viewer.memo()->textCursor().block().text().startsWith(QStringLiteral("8220080611200200")));
}

// The bank prints its examples with a title line and blank lines; saved so, the file is still a
// report, and the title is named without calling the report faulty.
TEST_F(ReportViewTest, AnExampleSavedWithItsTitleOpensAsAReport)
{
    const QString path = copyOf("autogiro_gl_exempelfil_avvisadebetalningar_fran-bankgirot-medgivanden-"
                                "kontonummer_exemeplfil_sv.txt");
    WriteFileBytes(path, "Avvisade betalningar, gammal layout\r\n\r\n" + ReadFileBytes(path));
    ASSERT_TRUE(m_viewer.LoadFile(path));
    EXPECT_TRUE(m_viewer.showsReport());
    EXPECT_EQ(shownRows(), 4);
    const QString warning = m_viewer.reportView()->warningText();
    EXPECT_TRUE(warning.startsWith(QStringLiteral("Rad 1 står före rapportens första post")))
        << warning.toStdString();
    const QAbstractItemModel* model = m_viewer.reportView()->table()->model();
    QStringList codes;
    for (int row = 0; row < model->rowCount(); ++row)
        codes.append(model->index(row, ReportTable::CodesColumn).data().toString());
    EXPECT_TRUE(codes.contains(QStringLiteral("07 Avvisad, ännu ej debiterbar (utgått)")))
        << codes.join(QLatin1Char('|')).toStdString();
}

// Every example report of the bank, in both layouts, as sent and saved with its title lines: the
// presenter shows every item with every field the parser reads, and calls nothing faulty.
TEST_F(ReportViewTest, EveryBankExampleReportOpensInThePresenterWithEveryField)
{
    const QStringList reports = BankExampleReports();
    ASSERT_EQ(reports.size(), 15);
    for (const QString& report : reports) {
        const QByteArray bytes = ReadFileBytes(report);
        const QList<ReportItem> items = ReportParser::parse(bytes).reports.value(0).items;
        QStringList expected;
        for (const ReportItem& item : items)
            expected.append(ReportTable::codesText(item) + QLatin1Char('|') + ReportTable::detailsText(item));
        expected.sort();
        for (const QByteArray& title : BankExampleTitles()) {
            SCOPED_TRACE(report.toStdString() + " with the title " + title.toStdString());
            const QString path = m_folder.filePath(QStringLiteral("rapport.txt"));
            WriteFileBytes(path, title + bytes);
            ASSERT_TRUE(m_viewer.LoadFile(path));
            ASSERT_TRUE(m_viewer.showsReport());
            EXPECT_TRUE(m_viewer.reportView()->headingText().contains(QStringLiteral("991-2346")));
            const QString warning = m_viewer.reportView()->warningText();
            EXPECT_EQ(warning.isEmpty(), title.isEmpty()) << warning.toStdString();
            const QAbstractItemModel* model = m_viewer.reportView()->table()->model();
            QStringList shown;
            for (int row = 0; row < model->rowCount(); ++row)
                shown.append(model->index(row, ReportTable::CodesColumn).data().toString() +
                             QLatin1Char('|') +
                             model->index(row, ReportTable::DetailsColumn).data().toString());
            shown.sort();
            EXPECT_EQ(shown, expected);
        }
    }
}

// A code table as the help page gives it: one column when both layouts have the same codes, else a
// column per layout, where the old one says "som ny layout" for a code it words the same.
QStringList HelpRowsOf(ReportCodes::Table table)
{
    const QList<ReportCodes::Entry> newCodes = ReportCodes::entries(table, ReportLayout::New);
    const QList<ReportCodes::Entry> oldCodes = ReportCodes::entries(table, ReportLayout::Old);
    const auto shown = [](const ReportCodes::Entry* entry) {
        if (!entry)
            return QStringLiteral("–");
        return entry->meaning.toHtmlEscaped() +
               (entry->retired ? QStringLiteral(" <i>(utgått)</i>") : QString());
    };
    const auto same = [](const ReportCodes::Entry& a, const ReportCodes::Entry& b) {
        return a.code == b.code && a.meaning == b.meaning && a.retired == b.retired;
    };
    const bool oneColumn =
        std::equal(newCodes.begin(), newCodes.end(), oldCodes.begin(), oldCodes.end(), same);
    QStringList rows = {
        oneColumn ? QStringLiteral("<tr><th>Kod</th><th>Betydelse</th></tr>")
                  : QStringLiteral("<tr><th>Kod</th><th>Ny layout</th><th>Gammal layout</th></tr>")};
    QStringList codes;
    for (const auto& entry : newCodes + oldCodes) {
        if (!codes.contains(entry.code))
            codes.append(entry.code);
    }
    codes.sort();
    const auto find = [](const QList<ReportCodes::Entry>& entries, const QString& code) {
        const auto found = std::find_if(entries.begin(), entries.end(),
                                        [&](const ReportCodes::Entry& entry) { return entry.code == code; });
        return found == entries.end() ? nullptr : &*found;
    };
    for (const QString& code : codes) {
        const ReportCodes::Entry* inNew = find(newCodes, code);
        const ReportCodes::Entry* inOld = find(oldCodes, code);
        QString row = QStringLiteral("<tr><td>") + code + QStringLiteral("</td><td>") + shown(inNew);
        if (!oneColumn)
            row += QStringLiteral("</td><td>") +
                   (inNew && inOld && same(*inNew, *inOld) ? QStringLiteral("som ny layout") : shown(inOld));
        rows.append(row + QStringLiteral("</td></tr>"));
    }
    return rows;
}

// The help page on reports gives every code table exactly as the presenter shows it: the same codes,
// the same meanings in each layout, the same retired marks, and nothing more.
TEST(ReportHelpTest, TheHelpPageListsEveryCodeAsThePresenterShowsIt)
{
    const QString page =
        QString::fromUtf8(ReadFileBytes(QStringLiteral(VALMO_TEST_DATA "/../../help/Rapporter.htm")));
    ASSERT_FALSE(page.isEmpty());
    for (int table = 0; table <= int(ReportCodes::Table::RegisterStatus2); ++table) {
        const auto which = ReportCodes::Table(table);
        qsizetype at =
            page.indexOf(QStringLiteral("<h3>") + ReportCodes::tableTitle(which) + QStringLiteral("</h3>"));
        if (at < 0)
            at = page.indexOf(QStringLiteral("<h3>") + ReportCodes::tableName(which) +
                              QStringLiteral("</h3>"));
        ASSERT_GE(at, 0) << ReportCodes::tableTitle(which).toStdString();
        const qsizetype from = page.indexOf(QStringLiteral("<table>"), at);
        const qsizetype to = page.indexOf(QStringLiteral("</table>"), from);
        ASSERT_TRUE(from > 0 && to > from) << ReportCodes::tableTitle(which).toStdString();
        QStringList rows = page.mid(from, to - from).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        rows.removeFirst(); // "<table>"
        EXPECT_EQ(rows.join(QLatin1Char('\n')).toStdString(),
                  HelpRowsOf(which).join(QLatin1Char('\n')).toStdString())
            << ReportCodes::tableTitle(which).toStdString();
    }
}

TEST_F(ReportViewTest, DisagreeingTotalsAreSaidPlainlyAtTheTop)
{
    // One payment's amount changed from 3 000,00 to 3 100,00 kronor.
    ASSERT_TRUE(m_viewer.LoadFile(copyOf("autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt",
                                         "00000000000001010000003000000", "00000000000001010000003100000")));
    const QString warning = m_viewer.reportView()->warningText();
    EXPECT_TRUE(warning.startsWith(QStringLiteral("Rapporten stämmer inte"))) << warning.toStdString();
    EXPECT_TRUE(warning.contains(QStringLiteral("Insättningen på rad 2")));
    EXPECT_TRUE(
        m_viewer.reportView()->findChild<QLabel*>(QStringLiteral("ReportWarning"))->isVisibleTo(&m_viewer));
}

TEST_F(ReportViewTest, ShownRowsExportAsCsvAndPrintToPdf)
{
    ASSERT_TRUE(m_viewer.LoadFile(copyOf("autogiro_exempelfiler_medgivandeavisering_sv.txt")));
    m_viewer.reportView()->filterEdit()->setText(QStringLiteral("Nytt medgivande"));
    const QString csv = m_folder.filePath(QStringLiteral("ut.csv"));
    guiPrompt().saveFileNames.append(csv);
    ASSERT_TRUE(m_viewer.reportView()->exportCsv());
    const QList<QByteArray> lines = ReadFileBytes(csv).split('\n');
    EXPECT_TRUE(lines.first().startsWith("\xEF\xBB\xBFRad;Post;"));
    EXPECT_EQ(lines.size() - 2, shownRows()); // header and a last empty piece after CR LF

    guiPrompt().saveFileNames.append(m_folder.filePath(QStringLiteral("saknad mapp/ut.csv")));
    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    EXPECT_FALSE(m_viewer.reportView()->exportCsv());
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_TRUE(guiPrompt().messages.first().text.contains(QStringLiteral("kunde inte sparas")));

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_folder.filePath(QStringLiteral("rapport.pdf")));
    m_viewer.reportView()->printTo(printer);
    EXPECT_TRUE(ReadFileBytes(printer.outputFileName()).startsWith("%PDF"));
}

TEST_F(ReportViewTest, OtherFilesOpenAsTextAndBgMaxIsNamed)
{
    ASSERT_TRUE(m_viewer.LoadFile(copyOf("autogiro_exempelfil_bg-max-forma_sv.txt")));
    EXPECT_FALSE(m_viewer.showsReport());
    EXPECT_TRUE(m_viewer.textNotice().contains(QStringLiteral("BgMax-fil")));
    ASSERT_TRUE(m_viewer.LoadFile(copyOf("autogiro_exempelfil-betalningsunderlag_sv.txt")));
    EXPECT_FALSE(m_viewer.showsReport());
    EXPECT_TRUE(m_viewer.textNotice().isEmpty());
}

TEST_F(ReportViewTest, FindWithCtrlFAndF3WrapsAndSaysWhenNothingIsFound)
{
    ASSERT_TRUE(m_viewer.LoadFile(copyOf("autogiro_exempelfil_bg-max-forma_sv.txt")));
    m_viewer.show();
    press(QKeySequence::Find);
    ASSERT_TRUE(m_viewer.findBar()->isVisible());
    m_viewer.findBar()->edit()->setText(QStringLiteral("Storåker"));
    emit m_viewer.findBar()->edit()->returnPressed();
    EXPECT_TRUE(m_viewer.statusText().endsWith(QStringLiteral("Rad: 6   Kolumn: 11")));
    press(QKeySequence(Qt::Key_F3));
    EXPECT_TRUE(m_viewer.statusText().endsWith(QStringLiteral("Rad: 13   Kolumn: 11")));
    press(QKeySequence(Qt::Key_F3)); // wraps to the first hit
    EXPECT_TRUE(m_viewer.statusText().endsWith(QStringLiteral("Rad: 6   Kolumn: 11")));
    press(QKeySequence(Qt::SHIFT | Qt::Key_F3)); // backwards, wrapping to the last hit
    EXPECT_TRUE(m_viewer.statusText().endsWith(QStringLiteral("Rad: 13   Kolumn: 11")));
    m_viewer.findBar()->edit()->setText(QStringLiteral("finns inte"));
    EXPECT_FALSE(m_viewer.findBar()->findNext());
    EXPECT_FALSE(m_viewer.findBar()->notice().isEmpty());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(m_viewer.findBar()->edit(), &escape);
    EXPECT_FALSE(m_viewer.findBar()->isVisible());
    EXPECT_TRUE(m_viewer.isVisible()); // Escape closed the find bar, not the viewer
    m_viewer.hide();
}

TEST_F(ReportViewTest, LineAndColumnStayInViewWithALongPath)
{
    const QString folder = m_folder.filePath(QString(150, QLatin1Char('m')));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(QStringLiteral("rapport.txt"));
    WriteFileBytes(path, "rad\r\n");
    ASSERT_TRUE(m_viewer.LoadFile(path));
    m_viewer.resize(400, 300);
    m_viewer.show();
    QApplication::processEvents();
    const QList<QLabel*> labels = m_viewer.findChild<QStatusBar*>()->findChildren<QLabel*>();
    bool positionShown = false;
    for (const QLabel* label : labels) {
        if (label->text().contains(QStringLiteral("Rad: 1")))
            positionShown = label->isVisible() && label->geometry().right() <= m_viewer.width();
    }
    EXPECT_TRUE(positionShown);
    m_viewer.hide();
}

TEST_F(ReportViewTest, UnderlagNamesTheDeliveredOrderOfEachItem)
{
    using namespace BankFiles;
    const QDate delivered(2026, 3, 12), paymentDay(2026, 3, 16);
    const Order hyra{QStringLiteral("1001"), "82", 12550, QStringLiteral("HYRA"), paymentDay};
    QString chosen = m_folder.filePath(QStringLiteral("register.sqlite"));
    {
        RegisterDatabase database(chosen);
        FixedClock clock(delivered);
        RegisterImporter importer(database, clock);
        importer.setTime(QDateTime(delivered, QTime(10, 0)));
        importer.deliver(
            Join({OrderOpening(delivered),
                  NewMandate(hyra.payer, QStringLiteral("33001212121212"), QStringLiteral("196803050000")),
                  PaymentOrder(hyra)}),
            QStringLiteral("order-0312.ag"));
    }
    FakePrompt prompt;
    FixedClock clock(paymentDay);
    m_viewer.setReportOpened(
        [&](const QString& path) { return ImportReportOnOpening(path, chosen, prompt, clock); });
    m_viewer.setItemSources([&chosen](const QString& path) { return ReportItemSources(path, chosen); });

    // Lines 3 and 4 of the payment report, lines 2 and 3 of the mandate advice; the second of each
    // matches no delivered order.
    const QString source = QStringLiteral("order-0312.ag, 2026-03-12"),
                  none = QStringLiteral("utan underlag");
    const QByteArray payments = PaymentSpecification(
        paymentDay,
        {{hyra, '0'}, {{QStringLiteral("3003"), "82", 5000, QStringLiteral("X"), paymentDay}, '1'}});
    const QByteArray mandates =
        MandateAdvice(delivered.addDays(1), {{hyra.payer, "04", "32"}, {QStringLiteral("2002"), "04", "32"}});
    const struct
    {
        const char* file;
        QByteArray bytes;
        int firstLine;
        QString first, second;
    } cases[] = {
        {"betspec.txt", payments, 3, source, none},
        {"medavi.txt", mandates, 2, source, none},
        {"utan-register.txt", payments, 3, QString(), QString()}, // the register is gone
    };
    for (const auto& c : cases) {
        if (c.first.isEmpty())
            chosen = m_folder.filePath(QStringLiteral("inget.sqlite"));
        const QString path = m_folder.filePath(QString::fromLatin1(c.file));
        WriteFileBytes(path, c.bytes);
        ASSERT_TRUE(m_viewer.LoadFile(path));
        QHash<int, QString> shown;
        const QAbstractItemModel* model = m_viewer.reportView()->table()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            shown.insert(model->index(row, ReportTable::LineColumn).data(Qt::UserRole).toInt(),
                         model->index(row, ReportItemModel::SourceColumn).data().toString());
        ASSERT_TRUE(shown.contains(c.firstLine) && shown.contains(c.firstLine + 1)) << c.file;
        EXPECT_EQ(shown.value(c.firstLine), c.first) << c.file;
        EXPECT_EQ(shown.value(c.firstLine + 1), c.second) << c.file;
        // The export carries the column only when the register gave it.
        EXPECT_EQ(m_viewer.reportView()->shownCsv().split('\r').first().endsWith(";Underlag"),
                  !c.first.isEmpty());
    }
    EXPECT_TRUE(prompt.messages.isEmpty());
}

} // namespace
