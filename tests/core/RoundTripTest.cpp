// The tables below compare with plain UTF-8 literals.
#undef QT_NO_CAST_FROM_ASCII

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "format/OpeningRecordLog.h"
#include "format/OrderFileReader.h"
#include "format/OrderFileWriter.h"
#include "rules/Periods.h"
#include "support/TestSupport.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <functional>

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

const PayeeNumbers Payee{"123456", "55555555"};
const QString Debit = "Debitering";
const QString Credit = "Kreditering";
const QString Paper = RowTexts::paperMandate();
const QString Electronic = RowTexts::electronicMandate();
const QString Rejected = RowTexts::rejectedMandate();
const QChar Group(0x00A0); // the Swedish thousands separator of the dialog form

// A document as the dialogs fill it, next to the rows the reader is to give back for it.
struct Expected
{
    QList<QStringList> payments;
    QList<QStringList> mandates;
    QList<QStringList> companyMandates;
    QList<QStringList> changes; // the code first, then the row
};

class Builder
{
public:
    Builder(OrderDocument& document, Expected& expected) : m_document(document), m_expected(expected) {}

    void payment(const QStringList& written, const QStringList& read)
    {
        m_document.BtuList.append(written[0], written.mid(1));
        m_expected.payments.append(read);
    }
    void mandate(const QStringList& written, const QStringList& read, bool isWritten = true)
    {
        m_document.MdgList.append(written[0], written.mid(1));
        if (isWritten)
            m_expected.mandates.append(read);
    }
    void companyMandate(const QString& written, const QString& read, bool isWritten = true)
    {
        m_document.MdgListComp.append(written, {});
        if (isWritten)
            m_expected.companyMandates.append({read});
    }
    // written: code, then the five further columns; read: the same, the description put in.
    void change(const QStringList& written, const QStringList& read)
    {
        const int code = written[0].toInt();
        m_document.MakList.append(written[0], m_document.MakText(code), written.mid(1));
        QStringList row = {read[0], m_document.MakText(code)};
        // Rows without a reference column read back with an empty reference.
        m_expected.changes.append(row + read.mid(1) + QStringList(QString()).mid(read.size() - 6));
    }

private:
    OrderDocument& m_document;
    Expected& m_expected;
};

QByteArray writeDocument(const OrderDocument& document)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteOrderFile(buffer, document, Payee, FixedClock(QDate(2024, 3, 5)));
    return bytes;
}

QList<QStringList> rowsOf(const RowList& list)
{
    QList<QStringList> rows;
    for (const ListRow& row : list)
        rows.append(QStringList{row.caption()} + row.subItems());
    return rows;
}

QList<QStringList> changesOf(const OrderDocument& document)
{
    QList<QStringList> rows;
    for (int i = 0; i < document.MakList.count(); ++i) {
        const ListRow& row = document.MakList[i];
        rows.append(QStringList{document.MakCodes()[i], row.caption()} + row.subItems());
    }
    return rows;
}

// Every payment kind, period and field form; the payer in the form of the service.
void payments(Builder& b, bool privateService)
{
    const QString payer = privateService ? "4711" : "123-4567";
    b.payment({Debit, "Engångsbetalning", "2024-03-05", "250,00", "1", payer, "Faktura 12"},
              {Debit, "Engångsbetalning", "2024-03-05", "250,00", "1", payer, "Faktura 12"});
    const QStringList periods = PeriodTexts();
    for (int i = 1; i < periods.size(); ++i) {
        const QString& type = i % 2 ? Credit : Debit;
        b.payment({type, periods[i], "2024-12-31", QString("1") + Group + "234,50", QString::number(i * 12),
                   payer, "Ref " + QString::number(i)},
                  {type, periods[i], "2024-12-31", QString("1") + Group + "234,50", QString::number(i * 12),
                   payer, "Ref " + QString::number(i)});
    }
    const QString bigPayer = privateService ? "1234567890123456" : "1234-5678";
    b.payment({Credit, periods[1], "2000-02-29", "0,00", "0", bigPayer, "  åäö ÅÄÖ éü  "},
              {Credit, periods[1], "2000-02-29", "0,00", "", bigPayer, "  åäö ÅÄÖ éü"});
    b.payment(
        {Debit, periods[5], "2099-01-01", QString("9") + Group + "999" + Group + "999" + Group + "999,99", "",
         payer, "Sexton tecken och mer"},
        {Debit, periods[5], "2099-01-01", QString("9") + Group + "999" + Group + "999" + Group + "999,99", "",
         payer, "Sexton tecken oc"});
    b.payment({Debit, "Engångsbetalning", "GENAST", "5,00", "1", payer, "Genast"},
              {Debit, "Engångsbetalning", "GENAST", "5,00", "1", payer, "Genast"});
    b.payment({Debit, "Okänd period", "2024-03-05", "0,01", "999", payer, ""},
              {Debit, "X", "2024-03-05", "0,01", "999", payer, ""});
}

void privateMandates(Builder& b)
{
    b.mandate({Paper, "123-4567", "5000-1234567", "19800101-1234"},
              {Paper, "123-4567", "5000-1234567", "19800101-1234"});
    b.mandate({Paper, "4711", "6000-000012345", "20001231-0000"},
              {Paper, "4711", "6000-000012345", "20001231-0000"});
    b.mandate({Paper, "4711", "8327-1234567890", "19650101-1234"},
              {Paper, "4711", "8327-1234567890", "19650101-1234"});
    b.mandate({Electronic, "4711", "9918123456789012", "19650101-1234"},
              {Electronic, "4711", "9918123456789012", "19650101-1234"});
    b.mandate({Electronic, "42", "123456", "19650101-1234"}, {Electronic, "42", "123456", "19650101-1234"});
    b.mandate({Rejected, "42", "1234567890123456", "19650101-1234"},
              {Rejected, "42", "1234567890123456", "19650101-1234"});
    // A ten-digit civic number is written with the century its date implies.
    b.mandate({Electronic, "42", "77", "8001011234"}, {Electronic, "42", "77", "19800101-1234"});
}

void changes(Builder& b, bool privateService)
{
    const QString payer = privateService ? "4711" : "1234-5678";
    b.change({"23", payer, "", "", "", ""}, {"23", payer, "", "", "", ""});
    b.change({"3", payer, "", "", "", ""}, {"3", payer, "", "", "", ""});
    b.change({"24", payer, "2024-03-05", "", "", ""}, {"24", payer, "2024-03-05", "", "", ""});
    b.change({"25", payer, "2024-03-05", "", "99,50", Debit},
             {"25", payer, "2024-03-05", "", "99,50", Debit});
    b.change({"25", payer, "2024-03-05", "", "99,50", Debit, " Faktura 7"},
             {"25", payer, "2024-03-05", "", "99,50", Debit, " Faktura 7"});
    b.change({"26", "", "", "2024-04-25", "", ""}, {"26", "", "", "2024-04-25", "", ""});
    b.change({"27", "", "2024-03-05", "2024-04-25", "", ""}, {"27", "", "2024-03-05", "2024-04-25", "", ""});
    b.change({"28", payer, "2024-03-05", "2024-04-25", "", ""},
             {"28", payer, "2024-03-05", "2024-04-25", "", ""});
    b.change({"29", payer, "2024-03-05", "2024-04-25", QString("1") + Group + "234,00", Credit,
              "Sexton tecken och mer"},
             {"29", payer, "2024-03-05", "2024-04-25", QString("1") + Group + "234,00", Credit,
              "Sexton tecken oc"});
}

// The reader finds the code 3 rows in the mandate section, before every other change.
void mandateCancellationsFirst(Expected& expected)
{
    std::stable_partition(expected.changes.begin(), expected.changes.end(),
                          [](const QStringList& row) { return row[0] == "3"; });
}

struct Case
{
    const char* name;
    bool privateService;
    std::function<void(Builder&)> build;
    int sections;
};

class RoundTripTest : public ::testing::TestWithParam<Case>
{
};

TEST_P(RoundTripTest, WrittenDocumentsReadBackIntoTheSameRows)
{
    const Case& c = GetParam();
    OrderDocument written;
    written.FillMakTexts();
    written.PrivateService = c.privateService;
    Expected expected;
    Builder builder(written, expected);
    c.build(builder);
    mandateCancellationsFirst(expected);

    OrderDocument read;
    read.FillMakTexts();
    read.PrivateService = c.privateService;
    OpeningRecordLog log;
    const ReadVerdict verdict = OrderFileReader(read, log).read(writeDocument(written));
    ASSERT_TRUE(verdict.loaded()) << verdict.lineNumber << ": " << verdict.message.toStdString();

    EXPECT_EQ(rowsOf(read.BtuList), expected.payments);
    EXPECT_EQ(rowsOf(read.MdgList), expected.mandates);
    EXPECT_EQ(rowsOf(read.MdgListComp), expected.companyMandates);
    EXPECT_EQ(changesOf(read), expected.changes);
    ASSERT_EQ(log.records.size(), c.sections);
    for (const OpeningRecord& record : log.records) {
        EXPECT_EQ(record.customerNumber, Payee.customerNumber);
        EXPECT_EQ(record.bankgiroNumber, Payee.bankgiroNumber);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, RoundTripTest,
    ::testing::Values(Case{"empty", true, [](Builder&) {}, 0},
                      Case{"empty_company", false, [](Builder&) {}, 0},
                      Case{"every_kind_private", true,
                           [](Builder& b) {
                               payments(b, true);
                               privateMandates(b);
                               b.companyMandate("123-4567", "", false); // not written in the private service
                               changes(b, true);
                           },
                           3},
                      Case{"every_kind_company", false,
                           [](Builder& b) {
                               payments(b, false);
                               b.companyMandate("123-4567", "123-4567");
                               b.companyMandate("1234-5678", "1234-5678");
                               b.companyMandate("0012-3456", "123456");
                               b.mandate({Paper, "4711", "5000-1234567", "19800101-1234"}, {}, false);
                               changes(b, false);
                           },
                           3},
                      Case{"only_mandate_cancellations", true,
                           [](Builder& b) {
                               b.change({"3", "4711", "", "", "", ""}, {"3", "4711", "", "", "", ""});
                               b.change({"3", "12", "", "", "", ""}, {"3", "12", "", "", "", ""});
                           },
                           1},
                      Case{"cancellation_between_changes_company", false,
                           [](Builder& b) {
                               b.change({"24", "123-4567", "2024-03-05", "", "", ""},
                                        {"24", "123-4567", "2024-03-05", "", "", ""});
                               b.change({"3", "123-4567", "", "", "", ""}, {"3", "123-4567", "", "", "", ""});
                           },
                           2},
                      Case{"only_payments", true, [](Builder& b) { payments(b, true); }, 1},
                      Case{"only_changes", false, [](Builder& b) { changes(b, false); }, 2}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(RoundTripLimits, APaymentOfAnotherKindIsWrittenAsXXAndNotReadBack)
{
    OrderDocument written;
    written.BtuList.append("Annan typ", {"Engångsbetalning", "2024-03-05", "1,00", "", "4711", ""});
    OrderDocument read;
    OpeningRecordLog log;
    const ReadVerdict verdict = OrderFileReader(read, log).read(writeDocument(written));
    EXPECT_EQ(verdict.outcome, ReadVerdict::Outcome::UnsupportedContent);
    EXPECT_EQ(verdict.lineNumber, 2);
}

} // namespace
