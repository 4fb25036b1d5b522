// The tables below compare with plain UTF-8 literals.
#undef QT_NO_CAST_FROM_ASCII

#include "app/ImportCommand.h"
#include "app/MainForm.h"
#include "dialogs/ColumnMappingDialog.h"
#include "dialogs/ImportErrorsDialog.h"
#include "support/FakeDocumentView.h"
#include "support/GuiPrompt.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QString data(const char* name)
{
    return QStringLiteral(VALMO_TEST_DATA "/csv/") + name;
}

class ImportCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        guiPrompt().clear();
        command.setFindingsShower([this](const QString&, const QList<ImportFinding>& f) { findings = f; });
    }
    QString file(const QString& name, const QByteArray& bytes)
    {
        WriteFileBytes(m_files.filePath(name), bytes);
        return m_files.filePath(name);
    }

    OrderDocument document;
    FakeDocumentView view;
    ImportCommand command{document, view, guiPrompt(), nullptr};
    QList<ImportFinding> findings;
    QTemporaryDir m_files;
};

TEST_F(ImportCommandTest, RowsAreAppendedAllAtOnceOrNotAtAll)
{
    guiPrompt().openFileNames.append(data("betaluppdrag-utf8-bom.csv"));
    command.ImportBtnClick();
    EXPECT_EQ(document.BtuList.count(), 4);
    EXPECT_TRUE(document.DocModified);
    EXPECT_EQ(view.calls, QList<bool>({true})); // once, resizing for the first rows

    document.DocModified = false;
    EXPECT_FALSE(command.importFile(data("betaluppdrag-felaktiga.csv")));
    EXPECT_EQ(findings.size(), 9);
    EXPECT_EQ(document.BtuList.count(), 4);
    EXPECT_FALSE(document.DocModified);

    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    EXPECT_FALSE(command.importFile(data("saknas.csv")));
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_TRUE(guiPrompt().messages.first().text.contains("finns inte"));
    EXPECT_EQ(guiPrompt().messages.first().busyDepth, 0);
    EXPECT_EQ(view.calls.size(), 1);
}

TEST_F(ImportCommandTest, UnknownCaptionsAreMappedOnceAndTheMappingIsRemembered)
{
    const QString path = file("export.csv", "Kund;Summa;Förfaller\n4711;10,00;2027-01-25\n");
    QList<ColumnMapping> offered;
    command.setMappingAsker(
        [&](const CsvTable&, const ColumnMapping& remembered) -> std::optional<ColumnMapping> {
            offered << remembered;
            ColumnMapping chosen;
            chosen.set(ImportField::Betalarnummer, 0);
            chosen.set(ImportField::Belopp, 1);
            chosen.set(ImportField::Betalningsdatum, 2);
            return chosen;
        });
    EXPECT_TRUE(command.importFile(path));
    EXPECT_TRUE(command.importFile(path));
    ASSERT_EQ(offered.size(), 2);
    EXPECT_TRUE(offered[0].isEmpty());
    EXPECT_EQ(offered[1].column(ImportField::Belopp), 1);
    EXPECT_EQ(offered[1].column(ImportField::Betalningsdatum), 2);
    EXPECT_EQ(document.BtuList.count(), 2);
    EXPECT_EQ(document.BtuList[1].text(3), "10,00");
}

TEST_F(ImportCommandTest, ManyRowsGoThroughTheProgressBar)
{
    QByteArray csv = "Betalarnummer;Belopp;Betalningsdatum\n";
    for (int i = 0; i < ImportCommand::ProgressFrom + 10; ++i)
        csv += QByteArray::number(i + 1) + ";1;2027-01-25\n";
    EXPECT_TRUE(command.importFile(file("stor.csv", csv)));
    EXPECT_EQ(document.BtuList.count(), ImportCommand::ProgressFrom + 10);
}

TEST_F(ImportCommandTest, TheMappingStepOffersTheRememberedChoiceAndRefusesAnIncompleteOne)
{
    const CsvTable table = ParseCsv("Kund;Summa;Förfaller\n4711;10,00;2027-01-25\n");
    ColumnMapping remembered;
    remembered.set(ImportField::Belopp, 1);
    ColumnMappingDialog dialog(table, remembered, true);
    EXPECT_EQ(dialog.preview()->item(1, 2)->text(), "2027-01-25");
    EXPECT_EQ(dialog.mapping().column(ImportField::Belopp), 1);

    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(guiPrompt().messages.last().text.contains("saknar kolumnen Betalarnummer, Betalningsdatum"));

    dialog.choose(0, ImportField::Betalarnummer);
    dialog.choose(2, ImportField::Betalningsdatum);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(ImportCommandTest, FailingRowsCanBeCopiedAndSaved)
{
    const QList<ImportFinding> list = {{3, "Belopp", "Beloppet är inte numeriskt"},
                                       {7, "Betalarnummer", "Felaktigt betalarnummer"}};
    ImportErrorsDialog dialog("/tmp/kunder.csv", list);
    EXPECT_EQ(dialog.list()->topLevelItemCount(), 2);
    const QString expected = "kunder.csv:3: Belopp: Beloppet är inte numeriskt\n"
                             "kunder.csv:7: Betalarnummer: Felaktigt betalarnummer\n";
    dialog.copyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(), expected);
    guiPrompt().saveFileNames.append(m_files.filePath("fel.txt"));
    EXPECT_TRUE(dialog.saveToFile());
    EXPECT_EQ(QString::fromUtf8(ReadFileBytes(m_files.filePath("fel.txt"))), expected);
}

TEST_F(ImportCommandTest, TheMainWindowImportsADroppedFileAndExportsTheShownList)
{
    TMainForm form;
    form.show();
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(data("betaluppdrag-utf8-bom.csv"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drop);
    EXPECT_EQ(form.document().BtuList.count(), 4);
    EXPECT_TRUE(form.BtuPanel->isVisibleTo(&form));
    ASSERT_TRUE(form.ExportBtn->isEnabled());

    const QString target = m_files.filePath("ut.csv");
    guiPrompt().saveFileNames.append(target);
    form.ExportBtn->click();
    const QByteArray bytes = ReadFileBytes(target);
    EXPECT_TRUE(
        bytes.startsWith("\xEF\xBB\xBFTyp;Period;Betalningsdag;Belopp;Antal;Betalarnummer;Referens\r\n"));
    EXPECT_EQ(bytes.count('\n'), 5);
    EXPECT_TRUE(bytes.contains(";\"Rad 1; rad 2\"\r\n"));
    form.document().DocModified = false;
    delete mime;
}

TEST_F(ImportCommandTest, UndoAfterAnImportNeverMarksTheDocumentUnchanged)
{
    TMainForm form;
    form.show();
    form.createWindows();
    const auto drop = [&form] {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(data("betaluppdrag-utf8-bom.csv"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &event);
    };
    drop();
    ASSERT_EQ(form.document().BtuList.count(), 4);
    form.undoStack()->setClean(); // as after a save
    form.document().DocModified = false;
    form.activateWindow();
    form.BtuList->setFocus();
    form.selectRows(ListId::Btu, {0});
    QApplication::processEvents();
    form.DelBtnClick();
    ASSERT_EQ(form.document().BtuList.count(), 3);
    drop();
    form.UndoAction->trigger(); // back to the saved state's index, but the import is still there
    EXPECT_EQ(form.document().BtuList.count(), 8);
    EXPECT_TRUE(form.document().DocModified);
    form.document().DocModified = false;
}

} // namespace
