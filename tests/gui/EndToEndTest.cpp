// A whole order document entered through the dialogs and the list commands, saved, compared byte
// for byte with the records it must give.
#include "format/FileShower.h"
#include "format/OpenCommand.h"
#include "format/OrderFileWriter.h"
#include "gui/DialogTestSupport.h"
#include "rules/Extra.h"
#include "rules/NumberEdit.h"
#include "settings/SettingsStore.h"
#include "support/FakePrompt.h"
#include "support/GuiPrompt.h"
#include "support/ListCommandsFixture.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace DialogTest;

namespace {

class Shower : public FileShower
{
public:
    void VisaBtnClick() override { ++shown; }
    int shown = 0;
};

// The records of a file, written out field by field.
QByteArray blanks(int width)
{
    return QByteArray(width, ' ');
}

QByteArray padded(const QByteArray& text, int width)
{
    return (text + blanks(width)).left(width);
}

QByteArray record(const QList<QByteArray>& fields)
{
    QByteArray line;
    for (const QByteArray& field : fields)
        line += field;
    EXPECT_EQ(line.size(), 80) << line.constData();
    return line + "\r\n";
}

const QByteArray Payee = "0055555555";

// Compares two files record by record, so a difference names its line.
void ExpectSameRecords(const QByteArray& written, const QByteArray& expected)
{
    const QList<QByteArray> got = written.split('\n');
    const QList<QByteArray> want = expected.split('\n');
    for (int i = 0; i < std::max(got.size(), want.size()); ++i)
        EXPECT_EQ(got.value(i).toStdString(), want.value(i).toStdString()) << "record " << i + 1;
    EXPECT_EQ(written, expected);
}

QByteArray opening()
{
    return record({"01", "20260310", padded("AUTOGIRO", 52), "123456", Payee, blanks(2)});
}

class EndToEndTest : public ListCommandsFixture
{
protected:
    void SetUp() override
    {
        ListCommandsFixture::SetUp();
        SettingsStore::setPayeeNumbers({QStringLiteral("123456"), QStringLiteral("55555555")});
    }

    void payment(int type, int period, const QDate& date, const QString& amount, const QString& count,
                 const QString& payer, const QString& reference)
    {
        whenShown(btu, [=] {
            btu.TypCmbo->setCurrentIndex(type);
            btu.PeriodCmbo->setCurrentIndex(period);
            btu.DateEdit->setDate(date);
            // Typed and confirmed with Return, as a user would.
            enterField(btu.BeloppEdit);
            btu.BeloppEdit->selectAll();
            typeText(btu.BeloppEdit, amount);
            if (btu.AntalEdit->isEnabled()) {
                btu.AntalEdit->setText(count);
                btu.AntalEdit->setModified(true);
            }
            btu.BetalarEdit->setText(payer);
            btu.RefEdit->setText(reference);
            btu.SaveBtnClick();
        });
        commands.BtuBtnClick();
    }

    void mandate(int type, bool reject, const QString& payer, const QString& clearing, const QString& account,
                 const QString& id, const QString& person)
    {
        whenShown(mdg, [=] {
            mdg.TypCmbo->setCurrentIndex(type);
            (reject ? mdg.AvvisaRadio : mdg.OkRadio)->setChecked(true);
            mdg.BetalarEdit->setText(payer);
            mdg.ClearingNrEdit->setText(clearing);
            mdg.KontoNrEdit->setText(account);
            mdg.IdEdit->setText(id);
            mdg.PersonNrEdit->setText(person);
            mdg.SaveBtnClick();
        });
        commands.MdgBtnClick();
    }

    void companyMandate(const QString& bankgiro)
    {
        whenShown(mdgComp, [=] {
            mdgComp.BgNrEdit->setText(bankgiro);
            mdgComp.SaveBtnClick();
        });
        commands.MdgBtnClick();
    }

    struct Request
    {
        bool change;
        int position;
        QString payer;
        QDate date;
        QDate newDate;
        QString amount;
        int transactionType;
    };

    void request(const Request& r)
    {
        whenShown(mak, [=] {
            (r.change ? mak.ChangeRadio : mak.MakRadio)->setChecked(true);
            (r.change ? mak.ChangeTypCmbo : mak.MakTypCmbo)->setCurrentIndex(r.position);
            mak.BetalarNrEdit->setText(r.payer);
            if (r.date.isValid())
                mak.BetaldagEdit->setDate(r.date);
            if (r.newDate.isValid())
                mak.NyBetalDagEdit->setDate(r.newDate);
            mak.BeloppEdit->setText(r.amount);
            mak.BeloppEdit->setModified(true);
            mak.TransTypCmbo->setCurrentIndex(r.transactionType);
            mak.SaveBtnClick();
        });
        commands.MakBtnClick();
    }

    QString filePath(const QString& name) const { return m_folder.filePath(name); }

    QByteArray save(const OrderDocument& doc, const QString& name = QStringLiteral("order.ag"))
    {
        SaveOrderFile(filePath(name), doc, ReadPayeeNumbers(), clock);
        return ReadFileBytes(filePath(name));
    }
    QByteArray save() { return save(document); }

    // Opens the file saved last into a fresh document, as "Öppna fil" does, and checks that it is
    // the same document: the same rows in each list and the same bytes when saved again.
    void expectSameDocumentWhenOpenedAgain(const QByteArray& written)
    {
        OrderDocument opened;
        opened.FillMakTexts();
        opened.PrivateService = document.PrivateService;
        FakePrompt prompt;
        prompt.openFileNames.append(filePath(QStringLiteral("order.ag")));
        Shower shower;
        OpenCommand(opened, view, prompt, shower).OpenBtnClick();
        EXPECT_TRUE(prompt.messages.isEmpty()) << prompt.texts().join(QLatin1Char(';')).toStdString();
        EXPECT_EQ(shower.shown, 0);
        EXPECT_FALSE(opened.DocModified);

        ASSERT_EQ(opened.BtuList.count(), document.BtuList.count());
        for (int i = 0; i < document.BtuList.count(); ++i) {
            const ListRow& entered = document.BtuList[i];
            const ListRow& read = opened.BtuList[i];
            // The rows come back in the form the dialog gave them.
            for (int column = 0; column < entered.columnCount(); ++column)
                EXPECT_EQ(read.text(column), entered.text(column)) << "payment " << i << " column " << column;
        }
        const RowList& mandates = document.PrivateService ? document.MdgList : document.MdgListComp;
        const RowList& readMandates = document.PrivateService ? opened.MdgList : opened.MdgListComp;
        ASSERT_EQ(readMandates.count(), mandates.count());
        for (int i = 0; i < mandates.count(); ++i) {
            EXPECT_EQ(readMandates[i].caption(), mandates[i].caption()) << "mandate " << i;
            for (int column = 1; column < mandates[i].columnCount(); ++column)
                EXPECT_EQ(readMandates[i].text(column), mandates[i].text(column))
                    << "mandate " << i << " column " << column;
        }
        // The mandate cancellations are written in the mandate section, so they are read first.
        QList<int> fileOrder;
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < document.MakList.count(); ++i) {
                if ((document.MakList.code(i) == RowTexts::mandateCancellationCode()) == (pass == 0))
                    fileOrder.append(i);
            }
        }
        ASSERT_EQ(opened.MakList.count(), document.MakList.count());
        for (int i = 0; i < fileOrder.size(); ++i) {
            const ListRow& entered = document.MakList[fileOrder[i]];
            const ListRow& read = opened.MakList[i];
            EXPECT_EQ(opened.MakList.code(i), document.MakList.code(fileOrder[i])) << "change " << i;
            for (int column = 0; column < entered.columnCount(); ++column)
                EXPECT_EQ(read.text(column), entered.text(column)) << "change " << i << " column " << column;
        }
        ExpectSameRecords(save(opened, QStringLiteral("again.ag")), written);
    }

    void enterPrivateDocument()
    {
        document.PrivateService = true;
        payment(0, 0, QDate(2026, 4, 1), QStringLiteral("250"), QString(), QStringLiteral("4711"),
                QStringLiteral("Faktura 12"));
        payment(1, 1, QDate(2026, 4, 15), QStringLiteral("1234,5"), QStringLiteral("12"),
                QStringLiteral("12 34-56"), QStringLiteral("Återbetalning"));
        payment(0, 6, QDate(2026, 6, 30), QStringLiteral("99,95"), QStringLiteral("4"),
                QStringLiteral("4712"), QString());

        mandate(0, true, QStringLiteral("0001234567"), QStringLiteral("5000"), QStringLiteral("1234560"),
                QString(), QStringLiteral("6501011230"));
        mandate(1, false, QStringLiteral("4711"), QString(), QString(), QStringLiteral("9988776655"),
                QStringLiteral("19700101-0003"));
        mandate(1, true, QStringLiteral("4712"), QString(), QString(), QStringLiteral("12345"),
                QStringLiteral("200012310009"));

        const QDate day(2026, 3, 20);
        request({false, 0, QStringLiteral("4711"), QDate(2026, 3, 12), {}, QStringLiteral("99,5"), 0}); // 25
        request({false, 1, QStringLiteral("4711"), {}, {}, {}, 0});                                     // 3
        request({false, 2, QStringLiteral("4712"), {}, {}, {}, 0});                                     // 23
        request({false, 3, QStringLiteral("4713"), day, {}, {}, 0});                                    // 24
        request({true, 0, QStringLiteral("4714"), day, QDate(2026, 3, 27), QStringLiteral("10"), 1});   // 29
        request({true, 1, QString(), {}, QDate(2026, 4, 25), {}, 0});                                   // 26
        request({true, 2, QString(), day, QDate(2026, 3, 30), {}, 0});                                  // 27
        request({true, 3, QStringLiteral("4715"), day, QDate(2026, 3, 31), {}, 0});                     // 28
    }

    static QByteArray paymentSection()
    {
        return opening() +
               record({"82", "20260401", "0", blanks(4), "0000000000004711", "000000025000", Payee,
                       padded("Faktura 12", 16), blanks(11)}) +
               record({"32", "20260415", "1", "012", " ", "0000000000123456", "000000123450", Payee,
                       padded("\xC5terbetalning", 16), blanks(11)}) +
               record({"82", "20260630", "6", "004", " ", "0000000000004712", "000000009995", Payee,
                       blanks(16), blanks(11)});
    }

    static QByteArray mandateCancellation() { return record({"03", Payee, "0000000000004711", blanks(52)}); }

    static QByteArray changeSection()
    {
        const QByteArray none8 = blanks(8), none12 = blanks(12), none2 = blanks(2), rest = blanks(22);
        return opening() +
               record({"25", Payee, "0000000000004711", "20260312", "000000009950", "82", none8, rest}) +
               record({"23", Payee, "0000000000004712", none8, none12, none2, none8, rest}) +
               record({"24", Payee, "0000000000004713", "20260320", none12, none2, none8, rest}) +
               record({"29", Payee, "0000000000004714", "20260320", "000000001000", "32", "20260327", rest}) +
               record({"26", Payee, blanks(16), none8, none12, none2, "20260425", rest}) +
               record({"27", Payee, blanks(16), "20260320", none12, none2, "20260330", rest}) +
               record({"28", Payee, "0000000000004715", "20260320", none12, none2, "20260331", rest});
    }

private:
    QTemporaryDir m_folder;
};

TEST_F(EndToEndTest, PrivateDocumentIsSavedRecordForRecord)
{
    enterPrivateDocument();
    ASSERT_EQ(document.BtuList.count(), 3);
    ASSERT_EQ(document.MdgList.count(), 3);
    ASSERT_EQ(document.MakCodes(),
              (QStringList{QStringLiteral("25"), QStringLiteral("3"), QStringLiteral("23"),
                           QStringLiteral("24"), QStringLiteral("29"), QStringLiteral("26"),
                           QStringLiteral("27"), QStringLiteral("28")}));
    const QByteArray mandates = opening() +
                                record({"04", Payee, "0000000001234567", "5000", "000001234560",
                                        "196501011230", blanks(20), blanks(2), blanks(2)}) +
                                record({"04", Payee, "0000000000004711", "0000009988776655", "197001010003",
                                        blanks(20), blanks(2), blanks(2)}) +
                                record({"04", Payee, "0000000000004712", "0000000000012345", "200012310009",
                                        blanks(20), "AV", blanks(2)}) +
                                mandateCancellation();
    const QByteArray expected = mandates + paymentSection() + changeSection();
    const QByteArray written = save();
    ExpectSameRecords(written, expected);
    EXPECT_TRUE(guiPrompt().messages.isEmpty());
    expectSameDocumentWhenOpenedAgain(written);
}

TEST_F(EndToEndTest, CompanyServiceWritesTheCompanyMandates)
{
    enterPrivateDocument();
    document.PrivateService = false;
    companyMandate(QStringLiteral("1234 5674"));
    companyMandate(QStringLiteral("0001234566"));
    ASSERT_EQ(document.MdgListComp.count(), 2);
    const QByteArray mandates = opening() + record({"04", Payee, "0000000012345674", blanks(52)}) +
                                record({"04", Payee, "0000000001234566", blanks(52)}) + mandateCancellation();
    const QByteArray written = save();
    ExpectSameRecords(written, mandates + paymentSection() + changeSection());
    expectSameDocumentWhenOpenedAgain(written);
}

} // namespace
