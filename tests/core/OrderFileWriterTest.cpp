#include "format/OrderFileWriter.h"
#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "settings/SettingsStore.h"
#include "support/TestSupport.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

const PayeeNumbers Payee{QStringLiteral("123456"), QStringLiteral("55555555")};
const QByteArray Bg("0055555555");

QByteArray blanks(int count)
{
    return QByteArray(count, ' ');
}

// One record from its fields; the fields must add up to the 80 characters of a record.
QByteArray record(std::initializer_list<QByteArray> fields)
{
    QByteArray line;
    for (const QByteArray& field : fields)
        line += field;
    EXPECT_EQ(line.size(), 80) << line.constData();
    return line + "\r\n";
}

QByteArray opening(const QByteArray& date = "20240305")
{
    return record({"01", date, "AUTOGIRO", blanks(44), "123456", Bg, blanks(2)});
}

QByteArray writeDocument(const OrderDocument& doc, const PayeeNumbers& payee = Payee,
                         const QDate& today = QDate(2024, 3, 5))
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteOrderFile(buffer, doc, payee, FixedClock(today));
    return bytes;
}

// The conversion's own words, without the row and field the writer adds to them.
QString conversionMessage(const OrderDocument& doc)
{
    try {
        writeDocument(doc);
    } catch (const RowWriteError& error) {
        return error.reason();
    }
    return QStringLiteral("<no error>");
}

void addPayment(OrderDocument& doc, const QString& typ, const QString& period, const QString& date,
                const QString& amount, const QString& antal, const QString& payer, const QString& reference)
{
    doc.BtuList.append(typ, {period, date, amount, antal, payer, reference});
}

void addChange(OrderDocument& doc, const QString& code, const QString& payer, const QString& date = {},
               const QString& newDate = {}, const QString& amount = {}, const QString& transaction = {})
{
    doc.MakList.append(code, doc.MakText(code.toInt()), {payer, date, newDate, amount, transaction});
}

const QString OneOff = QStringLiteral("Engångsbetalning");
const QString Monthly = QStringLiteral("Varje månad med start enligt betaldatum");
const QString Quarterly = QStringLiteral("Varje kvartal med start enligt betaldatum");
const QString Debit = QStringLiteral("Debitering");
const QString Credit = QStringLiteral("Kreditering");

} // namespace

TEST(OrderFileWriter, EmptyDocumentGivesEmptyFileInBothServices)
{
    OrderDocument doc;
    doc.MakTexts.clear();
    EXPECT_EQ(writeDocument(doc), QByteArray());
    doc.PrivateService = false;
    EXPECT_EQ(writeDocument(doc), QByteArray());
}

TEST(OrderFileWriter, PrivateDocumentWithEveryRecordKind)
{
    OrderDocument doc;
    doc.FillMakTexts();
    doc.PrivateService = true;
    doc.MdgList.append(
        QStringLiteral("Medgivande på papper"),
        {QStringLiteral("123-4567"), QStringLiteral("5000-1234567"), QStringLiteral("19800101-1234")});
    doc.MdgList.append(QStringLiteral("Autogiro elektroniskt medgivande"),
                       {QStringLiteral("4711"), QStringLiteral("987654321"), QStringLiteral("8001011234")});
    doc.MdgList.append(QStringLiteral("Avvisad - Autogiro elektroniskt medgivande"),
                       {QStringLiteral("4712"), QStringLiteral("ABC123"), QStringLiteral("19800101-1234")});
    // Company mandates are not written in the private service.
    doc.MdgListComp.append(QStringLiteral("9999-9999"), QStringList());

    addPayment(doc, Debit, OneOff, QStringLiteral("2024-03-05"), QStringLiteral("250,00"),
               QStringLiteral("1"), QStringLiteral("4711"), QStringLiteral("Faktura 12"));
    addPayment(doc, Credit, Monthly, QStringLiteral("2024-12-31"), QStringLiteral("1 234,50"),
               QStringLiteral("999"), QStringLiteral("123-4567"), QStringLiteral("Hyra"));
    addPayment(doc, QStringLiteral("Okänd"), QStringLiteral("Varannan vecka"), QStringLiteral("2024-01-02"),
               QStringLiteral("0,01"), QStringLiteral("12"), QStringLiteral("5"),
               QStringLiteral("Åsa Öberg ärende 17"));
    addPayment(doc, Debit, QStringLiteral("Sista bankdagen varje år"), QStringLiteral("2024-02-29"),
               QStringLiteral("1234.50"), QStringLiteral("0"), QStringLiteral("0000000000000042"),
               QString(QChar(0x20AC)) + QStringLiteral(" 1 ref"));
    addPayment(doc, Debit, Quarterly, QStringLiteral("2024-03-05"),
               QStringLiteral("1") + QChar(0xA0) + QStringLiteral("234,50"), QString(),
               QStringLiteral("12345678901234567890"), QString());

    // Mandate cancellations (code 3) mixed with changes: the former go to the mandate section.
    addChange(doc, QStringLiteral("3"), QStringLiteral("1234"));
    addChange(doc, QStringLiteral("24"), QStringLiteral("4711"), QStringLiteral("2024-03-05"));
    addChange(doc, QStringLiteral("3"), QStringLiteral("123-4567"));
    addChange(doc, QStringLiteral("26"), QString(), QString(), QStringLiteral("2024-04-25"));
    addChange(doc, QStringLiteral("25"), QStringLiteral("4711"), QStringLiteral("2024-03-05"), QString(),
              QStringLiteral("99,50"), Debit);
    addChange(doc, QStringLiteral("29"), QStringLiteral("5555"), QStringLiteral("2024-03-05"),
              QStringLiteral("2024-03-10"), QStringLiteral("1 234,50"), Credit);

    const QByteArray expected =
        opening() +
        record(
            {"04", Bg, "0000000001234567", "5000", "000001234567", "198001011234", blanks(20), "  ", "  "}) +
        record({"04", Bg, "0000000000004711", "0000000987654321", "198001011234", blanks(20), "  ", "  "}) +
        record({"04", Bg, "0000000000004712", "0000000000ABC123", "198001011234", blanks(20), "AV", "  "}) +
        record({"03", Bg, "0000000000001234", blanks(52)}) +
        record({"03", Bg, "0000000001234567", blanks(52)}) + opening() +
        record({"82", "20240305", "0", blanks(4), "0000000000004711", "000000025000", Bg, "Faktura 12      ",
                blanks(11)}) +
        record({"32", "20241231", "1", "999 ", "0000000001234567", "000000123450", Bg, "Hyra            ",
                blanks(11)}) +
        record({"XX", "20240102", "X", "012 ", "0000000000000005", "000000000001", Bg,
                "\xC5sa \xD6"
                "berg \xE4rende",
                blanks(11)}) +
        record({"82", "20240229", "8", blanks(4), "0000000000000042", "000000123450", Bg,
                "\x80 1 ref         ", blanks(11)}) +
        record({"82", "20240305", "2", blanks(4), "5678901234567890", "000000123450", Bg, blanks(16),
                blanks(11)}) +
        opening() +
        record({"24", Bg, "0000000000004711", "20240305", blanks(12), "  ", blanks(8), blanks(22)}) +
        record({"26", Bg, blanks(16), blanks(8), blanks(12), "  ", "20240425", blanks(22)}) +
        record({"25", Bg, "0000000000004711", "20240305", "000000009950", "82", blanks(8), blanks(22)}) +
        record({"29", Bg, "0000000000005555", "20240305", "000000123450", "32", "20240310", blanks(22)});
    EXPECT_EQ(writeDocument(doc), expected);
}

TEST(OrderFileWriter, CompanyDocumentWritesCompanyMandatesAndSkipsPrivateOnes)
{
    OrderDocument doc;
    doc.FillMakTexts();
    doc.PrivateService = false;
    doc.MdgList.append(QStringLiteral("Medgivande på papper"),
                       {QStringLiteral("1"), QStringLiteral("5000-1"), QStringLiteral("19800101-1234")});
    doc.MdgListComp.append(QStringLiteral("1234-5678"), QStringList());
    doc.MdgListComp.append(QStringLiteral("123-4567"), QStringList());
    addChange(doc, QStringLiteral("3"), QStringLiteral("1234-5678"));
    addPayment(doc, Debit, OneOff, QStringLiteral("2024-03-05"), QStringLiteral("10,00"), QStringLiteral("1"),
               QStringLiteral("1234-5678"), QStringLiteral("Ref"));

    const QByteArray expected = opening() + record({"04", Bg, "0000000012345678", blanks(52)}) +
                                record({"04", Bg, "0000000001234567", blanks(52)}) +
                                record({"03", Bg, "0000000012345678", blanks(52)}) + opening() +
                                record({"82", "20240305", "0", blanks(4), "0000000012345678", "000000001000",
                                        Bg, "Ref             ", blanks(11)});
    EXPECT_EQ(writeDocument(doc), expected);
}

TEST(OrderFileWriter, SectionsAreLeftOutWhenTheyHaveNothingToWrite)
{
    // Only mandate cancellations: a mandate section, and no change section.
    OrderDocument cancellations;
    cancellations.FillMakTexts();
    addChange(cancellations, QStringLiteral("3"), QStringLiteral("11"));
    addChange(cancellations, QStringLiteral("3"), QStringLiteral("22"));
    EXPECT_EQ(writeDocument(cancellations), opening() + record({"03", Bg, "0000000000000011", blanks(52)}) +
                                                record({"03", Bg, "0000000000000022", blanks(52)}));
    cancellations.PrivateService = false;
    EXPECT_EQ(writeDocument(cancellations), opening() + record({"03", Bg, "0000000000000011", blanks(52)}) +
                                                record({"03", Bg, "0000000000000022", blanks(52)}));

    // A change only: its section alone, after an opening record dated when it is written.
    OrderDocument change;
    change.FillMakTexts();
    addChange(change, QStringLiteral("23"), QStringLiteral("77"));
    EXPECT_EQ(writeDocument(change, Payee, QDate(2025, 12, 31)),
              opening("20251231") +
                  record({"23", Bg, "0000000000000077", blanks(8), blanks(12), "  ", blanks(8), blanks(22)}));

    // Private mandates in the company service (and the other way round) are not written at all.
    OrderDocument hidden;
    hidden.PrivateService = false;
    hidden.MdgList.append(QStringLiteral("Medgivande på papper"),
                          {QStringLiteral("1"), QString(), QString()});
    EXPECT_EQ(writeDocument(hidden), QByteArray());
    hidden.PrivateService = true;
    hidden.MdgList.clear();
    hidden.MdgListComp.append(QStringLiteral("1234-5678"), QStringList());
    EXPECT_EQ(writeDocument(hidden), QByteArray());
}

TEST(OrderFileWriter, OpeningRecordTakesTheDigitsOfThePayeeNumbers)
{
    struct Case
    {
        const char* customer;
        const char* bankgiro;
        QByteArray customerField;
        QByteArray bankgiroField;
    };
    const Case cases[] = {
        {"123456", "12345674", "123456", "0012345674"},
        {"12345", "123-4567", "012345", "0001234567"},
        {"1234567", "12345678901", "234567", "2345678901"}, // surplus digits on the left are dropped
        {"KUNDNR", "BANKGIRONR", "000000", "0000000000"},   // the defaults hold no digits
    };
    for (const Case& c : cases) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        const FixedClock clock(QDate(2024, 3, 5));
        OrderFileWriter writer(buffer, {QString::fromLatin1(c.customer), QString::fromLatin1(c.bankgiro)},
                               clock);
        writer.WriteOpeningRecord();
        writer.flush();
        EXPECT_EQ(bytes, record({"01", "20240305", "AUTOGIRO", blanks(44), c.customerField, c.bankgiroField,
                                 blanks(2)}))
            << c.customer << " " << c.bankgiro;
    }
}

TEST(OrderFileWriter, FieldConversions)
{
    struct Case
    {
        const char* kind;
        QString source;
        int width;
        QByteArray expected;
    };
    const Case cases[] = {
        {"digits", QStringLiteral("123-45 67"), 10, "0001234567"},
        {"digits", QString(), 4, "0000"},
        {"digits", QStringLiteral("abc"), 3, "000"},
        {"digits", QStringLiteral("9 999 999 999,99"), 12, "999999999999"},
        {"digits", QStringLiteral("12 345 678 901,00"), 12, "234567890100"}, // leftmost digits dropped
        {"digits", QStringLiteral("\u0661\u0662 12"), 4, "0012"},            // only ASCII digits count
        {"zero-filled", QStringLiteral("12"), 3, "012"},
        {"zero-filled", QStringLiteral("5000 1"), 8, "005000 1"}, // non-digits stay
        {"zero-filled", QStringLiteral("1234567"), 4, "4567"},
        {"zero-filled", QStringLiteral("Ö1"), 4,
         "00\xD6"
         "1"},
        {"text", QStringLiteral("Faktura 12"), 16, "Faktura 12      "},
        {"text", QStringLiteral(" a "), 4, " a  "},
        {"text", QStringLiteral("0123456789ABCDEFG"), 16, "0123456789ABCDEF"},
        {"text", QStringLiteral("åäöÅÄÖé€"), 8, "\xE5\xE4\xF6\xC5\xC4\xD6\xE9\x80"},
        {"date", QStringLiteral("2024-03-05"), 8, "20240305"},
        {"date", QStringLiteral("2024-3-5"), 8, "20240305"},
        {"date", QStringLiteral("0999-12-31"), 8, "09991231"},
        {"date", QStringLiteral("2000-02-29"), 8, "20000229"},
    };
    for (const Case& c : cases) {
        QByteArray field(c.width, '?');
        const QString kind = QString::fromLatin1(c.kind);
        if (kind == QLatin1String("digits"))
            OrderFields::DigitField(field.data(), c.source, c.width);
        else if (kind == QLatin1String("zero-filled"))
            OrderFields::ZeroFilledTextField(field.data(), c.source, c.width);
        else if (kind == QLatin1String("text"))
            OrderFields::TextField(field.data(), c.source, c.width);
        else
            OrderFields::DateField(field.data(), c.source);
        EXPECT_EQ(field, c.expected) << c.kind << " " << qPrintable(c.source);
    }
}

TEST(OrderFileWriter, RepeatCountRule)
{
    struct Case
    {
        QString period;
        QString antal;
        QByteArray expected; // positions 11-15
    };
    const Case cases[] = {
        {OneOff, QStringLiteral("1"), "0    "},
        {OneOff, QStringLiteral("7"), "0    "},
        {OneOff, QStringLiteral("abc"), "0    "}, // not read for a one-off payment
        {Monthly, QStringLiteral("12"), "1012 "},
        {Monthly, QStringLiteral("999"), "1999 "},
        {Monthly, QStringLiteral("012"), "1012 "},
        {Monthly, QStringLiteral("0"), "1    "},
        {Monthly, QStringLiteral("000"), "1    "},
        {Monthly, QString(), "1    "},
        {Quarterly, QStringLiteral(" 5"), "2005 "},
        {QStringLiteral("Sista bankdagen varje månad"), QStringLiteral("3"), "5003 "},
    };
    for (const Case& c : cases) {
        OrderDocument doc;
        addPayment(doc, Debit, c.period, QStringLiteral("2024-03-05"), QStringLiteral("1,00"), c.antal,
                   QStringLiteral("1"), QString());
        const QByteArray file = writeDocument(doc);
        ASSERT_EQ(file.size(), 164);
        EXPECT_EQ(file.mid(82 + 10, 5), c.expected) << qPrintable(c.period) << " / " << qPrintable(c.antal);
    }
}

TEST(OrderFileWriter, RowThatCannotBeWrittenStopsWithTheConversionMessage)
{
    struct Case
    {
        const char* what;
        void (*fill)(OrderDocument&);
        QString message;
    };
    const Case cases[] = {
        {"payment date",
         [](OrderDocument& d) {
             addPayment(d, Debit, OneOff, QStringLiteral("2024-02-30"), QStringLiteral("1,00"),
                        QStringLiteral("1"), QStringLiteral("1"), QString());
         },
         QStringLiteral("'2024-02-30' är inte ett giltigt datum")},
        {"empty payment date",
         [](OrderDocument& d) {
             addPayment(d, Debit, OneOff, QString(), QStringLiteral("1,00"), QStringLiteral("1"),
                        QStringLiteral("1"), QString());
         },
         QStringLiteral("'' är inte ett giltigt datum")},
        {"antal",
         [](OrderDocument& d) {
             addPayment(d, Debit, Monthly, QStringLiteral("2024-03-05"), QStringLiteral("1,00"),
                        QStringLiteral("12a"), QStringLiteral("1"), QString());
         },
         QStringLiteral("'12a' är inte ett giltigt heltal")},
        {"antal too large",
         [](OrderDocument& d) {
             addPayment(d, Debit, Monthly, QStringLiteral("2024-03-05"), QStringLiteral("1,00"),
                        QStringLiteral("1000"), QStringLiteral("1"), QString());
         },
         QStringLiteral("Antalet '1000' kan inte skrivas i filen. Antalet ska vara mellan 1 och 999.")},
        {"negative antal",
         [](OrderDocument& d) {
             addPayment(d, Debit, Monthly, QStringLiteral("2024-03-05"), QStringLiteral("1,00"),
                        QStringLiteral("-5"), QStringLiteral("1"), QString());
         },
         QStringLiteral("Antalet '-5' kan inte skrivas i filen. Antalet ska vara mellan 1 och 999.")},
        {"reference outside Windows-1252",
         [](OrderDocument& d) {
             addPayment(d, Debit, OneOff, QStringLiteral("2024-03-05"), QStringLiteral("1,00"),
                        QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("Pil \u2192"));
         },
         QStringLiteral(
             "Texten 'Pil \u2192' innehåller tecknet '\u2192', som inte kan skrivas i en Autogirofil.")},
        {"line break in a reference",
         [](OrderDocument& d) {
             addPayment(d, Debit, OneOff, QStringLiteral("2024-03-05"), QStringLiteral("1,00"),
                        QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("a\nb"));
         },
         // The quoted text shows the line break rather than breaking the message's line.
         QStringLiteral("Texten 'a\\u000ab' innehåller tecknet 'U+000A', som inte kan skrivas i en Autogirofil.")},
        {"mandate id",
         [](OrderDocument& d) {
             d.MdgList.append(QStringLiteral("Autogiro elektroniskt medgivande"),
                              {QStringLiteral("1"), QStringLiteral("\u0394"), QString()});
         },
         QStringLiteral(
             "Texten '\u0394' innehåller tecknet '\u0394', som inte kan skrivas i en Autogirofil.")},
        {"negative payment amount",
         [](OrderDocument& d) {
             addPayment(d, Debit, OneOff, QStringLiteral("2024-03-05"), QStringLiteral("-50,00"),
                        QStringLiteral("1"), QStringLiteral("1"), QString());
         },
         QStringLiteral("Beloppet '-50,00' är negativt och kan inte skrivas i filen.")},
        {"negative change amount in the Swedish form",
         [](OrderDocument& d) {
             addChange(d, QStringLiteral("25"), QStringLiteral("1"), QStringLiteral("2024-03-05"), QString(),
                       QStringLiteral("\u221250,00"), QStringLiteral("Debitering"));
         },
         QStringLiteral("Beloppet '\u221250,00' är negativt och kan inte skrivas i filen.")},
        {"new payment date",
         [](OrderDocument& d) {
             addChange(d, QStringLiteral("26"), QString(), QString(), QStringLiteral("2024-13-01"));
         },
         QStringLiteral("'2024-13-01' är inte ett giltigt datum")},
        {"change payment date",
         [](OrderDocument& d) {
             addChange(d, QStringLiteral("24"), QStringLiteral("1"), QStringLiteral("5.3.2024"));
         },
         QStringLiteral("'5.3.2024' är inte ett giltigt datum")},
    };
    for (const Case& c : cases) {
        OrderDocument doc;
        doc.FillMakTexts();
        c.fill(doc);
        EXPECT_EQ(conversionMessage(doc), c.message) << c.what;
    }
}

// The first row that fails is named by its list, its place in that list and the field's caption.
TEST(OrderFileWriter, RowThatCannotBeWrittenIsNamedByListRowAndField)
{
    struct Case
    {
        const char* what;
        void (*fill)(OrderDocument&);
        ListId list;
        int row;
        QString text;
    };
    const Case cases[] = {
        {"payment reference, third row",
         [](OrderDocument& d) {
             for (const QString& reference : {QString(), QString(), QStringLiteral("Pil \u2192")})
                 addPayment(d, Debit, OneOff, QStringLiteral("2024-03-05"), QStringLiteral("1,00"),
                            QStringLiteral("1"), QStringLiteral("1"), reference);
         },
         ListId::Btu, 3,
         QStringLiteral("Rad 3 i Betaluppdrag, fältet Referens: texten 'Pil \u2192' innehåller tecknet "
                        "'\u2192', som inte kan skrivas i en Autogirofil.")},
        {"part of a paper mandate's account",
         [](OrderDocument& d) {
             d.MdgList.append(QStringLiteral("Medgivande på papper"),
                              {QStringLiteral("1"), QStringLiteral("5000-12\u0394"), QString()});
         },
         ListId::Mdg, 1,
         QStringLiteral("Rad 1 i Medgivanden, fältet Konto/id-nummer: texten '12\u0394' innehåller tecknet "
                        "'\u0394', som inte kan skrivas i en Autogirofil.")},
        {"change date, after a good payment list",
         [](OrderDocument& d) {
             addPayment(d, Debit, OneOff, QStringLiteral("2024-03-05"), QStringLiteral("1,00"),
                        QStringLiteral("1"), QStringLiteral("1"), QString());
             d.FillMakTexts();
             addChange(d, QStringLiteral("24"), QStringLiteral("4711"), QStringLiteral("2024-03-05"));
             addChange(d, QStringLiteral("24"), QStringLiteral("4711"), QStringLiteral("2024-13-05"));
         },
         ListId::Mak, 2,
         QStringLiteral("Rad 2 i Makuleringar och ändringar, fältet Betalningsdag: '2024-13-05' är inte ett "
                        "giltigt datum")},
    };
    for (const Case& c : cases) {
        OrderDocument doc;
        c.fill(doc);
        try {
            writeDocument(doc);
            ADD_FAILURE() << c.what << ": written";
        } catch (const RowWriteError& error) {
            EXPECT_EQ(error.list(), c.list) << c.what;
            EXPECT_EQ(error.row(), c.row) << c.what;
            EXPECT_EQ(error.text(), c.text) << c.what;
        }
    }
}

TEST(OrderFileWriter, ChangeRecordDateColumnsShorterThanTwoCharactersHoldNoDate)
{
    OrderDocument doc;
    doc.FillMakTexts();
    addChange(doc, QStringLiteral("27"), QString(), QStringLiteral("-"), QStringLiteral("x"),
              QStringLiteral("0"), QStringLiteral("debitering"));
    EXPECT_EQ(writeDocument(doc).mid(82),
              record({"27", Bg, blanks(16), blanks(8), "000000000000", "  ", blanks(8), blanks(22)}));
}

namespace {

// A device that accepts a number of bytes and then fails like a full disk; it also records how
// large each write was.
class LimitedDevice : public QIODevice
{
public:
    explicit LimitedDevice(qint64 limit) : m_limit(limit) { open(QIODevice::WriteOnly); }
    qint64 largestWrite = 0;
    int writes = 0;
    qint64 total = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override
    {
        ++writes;
        largestWrite = std::max(largestWrite, length);
        if (total + length > m_limit) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        total += length;
        return length;
    }

private:
    qint64 m_limit;
};

void addPayments(OrderDocument& doc, int count)
{
    for (int i = 0; i < count; ++i)
        addPayment(doc, Debit, Monthly, QStringLiteral("2024-03-05"), QStringLiteral("1 000,00"),
                   QStringLiteral("12"), QString::number(i), QStringLiteral("Ref %1").arg(i));
}

} // namespace

TEST(OrderFileWriter, RecordsAreStreamedInSmallChunks)
{
    OrderDocument doc;
    addPayments(doc, 20000);
    LimitedDevice device(std::numeric_limits<qint64>::max());
    WriteOrderFile(device, doc, Payee, FixedClock(QDate(2024, 3, 5)));
    EXPECT_EQ(device.total, 20001 * 82);
    EXPECT_GT(device.writes, 10);
    EXPECT_LE(device.largestWrite, 64 * 1024);
}

TEST(OrderFileWriter, FailedWriteThrowsWithTheSystemsReason)
{
    OrderDocument doc;
    addPayments(doc, 5000);
    LimitedDevice device(100000);
    try {
        WriteOrderFile(device, doc, Payee, FixedClock(QDate(2024, 3, 5)));
        FAIL() << "no error";
    } catch (const OrderFileError& error) {
        EXPECT_EQ(error.reason(), QStringLiteral("No space left on device"));
        EXPECT_TRUE(error.text().contains(QStringLiteral("No space left on device")));
    }
}

TEST(OrderFileWriter, PayeeNumbersAreReadFromTheSettingsWithTheirDefaults)
{
    TestEnvironment::instance().resetSettings();
    PayeeNumbers payee = ReadPayeeNumbers();
    EXPECT_EQ(payee.customerNumber, QStringLiteral("KUNDNR"));
    EXPECT_EQ(payee.bankgiroNumber, QStringLiteral("BANKGIRONR"));
    SettingsStore::setPayeeNumbers({QStringLiteral("012345"), QStringLiteral("1234567")});
    payee = ReadPayeeNumbers();
    EXPECT_EQ(payee.customerNumber, QStringLiteral("012345"));
    EXPECT_EQ(payee.bankgiroNumber, QStringLiteral("1234567"));
}

TEST(OrderFileWriter, UnwritableCharacterMessageNamesTheWholeText)
{
    // The message must let the user find the row, so it names the whole text, not only the part
    // of it that fits the field.
    struct Case
    {
        const char* what;
        void (*fill)(OrderDocument&);
        QString text;
        QChar character;
    };
    const Case cases[] = {
        {"long reference",
         [](OrderDocument& d) {
             addPayment(d, Debit, OneOff, QStringLiteral("2024-03-05"), QStringLiteral("1,00"),
                        QStringLiteral("1"), QStringLiteral("1"),
                        QStringLiteral("Pil \u2192 och en lång text"));
         },
         QStringLiteral("Pil \u2192 och en lång text"), QChar(0x2192)},
        {"long mandate id",
         [](OrderDocument& d) {
             d.MdgList.append(QStringLiteral("Autogiro elektroniskt medgivande"),
                              {QStringLiteral("1"), QStringLiteral("ABCDEFGHIJ12345\u0394789"), QString()});
         },
         QStringLiteral("ABCDEFGHIJ12345\u0394789"), QChar(0x0394)},
        {"long account number",
         [](OrderDocument& d) {
             d.MdgList.append(QStringLiteral("Medgivande på papper"),
                              {QStringLiteral("1"), QStringLiteral("5000-AB1234567890\u0394x"), QString()});
         },
         QStringLiteral("AB1234567890\u0394x"), QChar(0x0394)},
    };
    for (const Case& c : cases) {
        OrderDocument doc;
        c.fill(doc);
        EXPECT_EQ(
            conversionMessage(doc),
            QStringLiteral("Texten '%1' innehåller tecknet '%2', som inte kan skrivas i en Autogirofil.")
                .arg(c.text, QString(c.character)))
            << c.what;
    }
}

namespace {

// Gives the dates in turn, then keeps the last: a save that runs across midnight.
class SteppingClock : public Clock
{
public:
    explicit SteppingClock(QList<QDate> dates) : m_dates(std::move(dates)) {}
    QDate today() const override { return m_dates.size() > 1 ? m_dates.takeFirst() : m_dates.first(); }

private:
    mutable QList<QDate> m_dates;
};

void addMandate(OrderDocument& doc, const QString& typ, const QString& account)
{
    doc.MdgList.append(typ, {QStringLiteral("4711"), account, QStringLiteral("198001011234")});
}

QByteArray mandateRecord(const QByteArray& accountField, const QByteArray& mark = "  ")
{
    return record({"04", Bg, "0000000000004711", accountField, "198001011234", blanks(20), mark, blanks(2)});
}

} // namespace

TEST(OrderFileWriter, RecordTextsOfTheLayoutRules)
{
    struct Case
    {
        const char* what;
        void (*fill)(OrderDocument&);
        QList<QDate> dates;
        QByteArray expected;
    };
    const QList<QDate> march5{QDate(2024, 3, 5)};
    const Case cases[] = {
        {"each opening record carries the date it is written on",
         [](OrderDocument& d) {
             addChange(d, QStringLiteral("3"), QStringLiteral("11"));
             addPayment(d, Debit, OneOff, QStringLiteral("2024-03-05"), QStringLiteral("1,00"),
                        QStringLiteral("1"), QStringLiteral("1"), QString());
         },
         {QDate(2024, 3, 5), QDate(2024, 3, 6)},
         opening("20240305") + record({"03", Bg, "0000000000000011", blanks(52)}) + opening("20240306") +
             record({"82", "20240305", "0", blanks(4), "0000000000000001", "000000000100", Bg, blanks(16),
                     blanks(11)})},
        {"mandate cancellations around a change go to the mandate section",
         [](OrderDocument& d) {
             addChange(d, QStringLiteral("3"), QStringLiteral("11"));
             addChange(d, QStringLiteral("24"), QStringLiteral("4711"), QStringLiteral("2024-03-05"));
             addChange(d, QStringLiteral("3"), QStringLiteral("33"));
         },
         march5,
         opening() + record({"03", Bg, "0000000000000011", blanks(52)}) +
             record({"03", Bg, "0000000000000033", blanks(52)}) + opening() +
             record({"24", Bg, "0000000000004711", "20240305", blanks(12), "  ", blanks(8), blanks(22)})},
        {"type and period texts are compared exactly",
         [](OrderDocument& d) {
             addPayment(d, QStringLiteral("debitering"), QStringLiteral("engångsbetalning"),
                        QStringLiteral("2024-03-05"), QStringLiteral("1,00"), QStringLiteral("1"),
                        QStringLiteral("1"), QString());
             addPayment(d, Credit, OneOff + QLatin1Char(' '), QStringLiteral("2024-03-05"),
                        QStringLiteral("1,00"), QString(), QStringLiteral("1"), QString());
         },
         march5,
         opening() +
             record({"XX", "20240305", "X", "001 ", "0000000000000001", "000000000100", Bg, blanks(16),
                     blanks(11)}) +
             record({"32", "20240305", "X", blanks(4), "0000000000000001", "000000000100", Bg, blanks(16),
                     blanks(11)})},
        {"a paper mandate's account is split at the first dash and keeps its non-digits",
         [](OrderDocument& d) {
             addMandate(d, QStringLiteral("Medgivande på papper"), QStringLiteral("5000-1234-567"));
             addMandate(d, QStringLiteral("Medgivande på papper"), QStringLiteral("1234567"));
             addMandate(d, QStringLiteral("Medgivande på papper"), QStringLiteral("50001-1"));
             addMandate(d, QStringLiteral("Medgivande på papper"), QStringLiteral("3300 - 12"));
             addMandate(d, QStringLiteral("Medgivande på papper"), QStringLiteral("-"));
         },
         march5,
         opening() + mandateRecord("500000001234-567") + mandateRecord("0000000001234567") +
             mandateRecord("0001000000000001") + mandateRecord("300 000000000 12") +
             mandateRecord("0000000000000000")},
        {"an electronic mandate's id keeps its non-digits; only the exact rejected text is marked",
         [](OrderDocument& d) {
             addMandate(d, QStringLiteral("Autogiro elektroniskt medgivande"), QStringLiteral("id-12 34"));
             addMandate(d, QStringLiteral("Avvisad - Autogiro elektroniskt medgivande"),
                        QStringLiteral("id-12 34"));
             addMandate(d, QStringLiteral("Avvisad - autogiro elektroniskt medgivande"),
                        QStringLiteral("5000-1"));
         },
         march5,
         opening() + mandateRecord("00000000id-12 34") + mandateRecord("00000000id-12 34", "AV") +
             mandateRecord("00000000005000-1")},
        {"every change field is written whatever the code",
         [](OrderDocument& d) {
             addChange(d, QStringLiteral("28"), QStringLiteral("123-4567"), QStringLiteral("2024-03-05"),
                       QStringLiteral("2024-03-06"), QString(), Credit);
             addChange(d, QStringLiteral("25"), QStringLiteral("1"), QStringLiteral("2024-03-05"), QString(),
                       QStringLiteral("0,00"), QStringLiteral("Okänd"));
         },
         march5,
         opening() +
             record({"28", Bg, "0000000001234567", "20240305", blanks(12), "32", "20240306", blanks(22)}) +
             record({"25", Bg, "0000000000000001", "20240305", "000000000000", "  ", blanks(8), blanks(22)})},
    };
    for (const Case& c : cases) {
        OrderDocument doc;
        doc.FillMakTexts();
        c.fill(doc);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        WriteOrderFile(buffer, doc, Payee, SteppingClock(c.dates));
        EXPECT_EQ(bytes, c.expected) << c.what;
    }
}
