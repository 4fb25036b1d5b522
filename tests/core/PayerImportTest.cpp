// The tables below compare with plain UTF-8 literals.
#undef QT_NO_CAST_FROM_ASCII

#include "format/PayerImport.h"
#include "app/OrderDocument.h"
#include "format/CsvReader.h"
#include "format/ListExport.h"
#include "rules/Check.h"
#include "rules/Periods.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const ListRow& row, std::ostream* out)
{
    *out << (QStringList(row.caption()) + row.subItems()).join('|').toStdString();
}

namespace {

const QLocale Swedish(QLocale::Swedish, QLocale::Sweden);

QString dataFile(const char* name)
{
    return QStringLiteral(VALMO_TEST_DATA "/csv/") + QString::fromUtf8(name);
}

ImportResult importText(const QString& csv, bool privateService = true)
{
    const CsvTable table = ParseCsv(csv);
    return ImportRows(table, MatchColumns(table.header), privateService, Swedish);
}

QStringList findingLines(const ImportResult& result)
{
    QStringList lines;
    for (const ImportFinding& f : result.findings)
        lines << QStringLiteral("%1: %2: %3").arg(f.line).arg(f.column, f.message);
    return lines;
}

TEST(PayerImportTest, RealLookingFilesGiveTheRowsTheDialogsWouldGive)
{
    struct Case
    {
        const char* file;
        bool privateService;
        ImportList list;
        bool utf8;
        int row;
        QStringList texts;
        int rows;
    } cases[] = {
        {"betaluppdrag-utf8-bom.csv",
         true,
         ImportList::Payments,
         true,
         0,
         {"Debitering", "Varje månad med start enligt betaldatum", "2027-01-25", "1\u00A0250,00", "12",
          "4711", "Hyra \"jan\""},
         4},
        {"betaluppdrag-utf8-bom.csv",
         true,
         ImportList::Payments,
         true,
         1,
         {"Debitering", "Engångsbetalning", "2027-01-25", "1\u00A0250,50", "1", "815", "Faktura 17"},
         4},
        {"betaluppdrag-utf8-bom.csv",
         true,
         ImportList::Payments,
         true,
         2,
         {"Kreditering", "Engångsbetalning", "GENAST", "1\u00A0250,50", "1", "123456", "Rad 1; rad 2"},
         4},
        {"betaluppdrag-utf8-bom.csv",
         true,
         ImportList::Payments,
         true,
         3,
         {"Debitering", "Sista bankdagen varje år", "2027-02-28", "1\u00A0250,00", "", "99", ""},
         4},
        {"medgivanden-win1252.csv",
         true,
         ImportList::Mandates,
         false,
         0,
         {"Medgivande på papper", "123-4567", "5000-1234560", "19650101-1230"},
         3},
        {"medgivanden-win1252.csv",
         true,
         ImportList::Mandates,
         false,
         1,
         {"Medgivande på papper", "765-4321", "8327-9123456783", "5560001231"},
         3},
        {"medgivanden-win1252.csv",
         true,
         ImportList::Mandates,
         false,
         2,
         {"Medgivande på papper", "42", "5000-1234560", "19650101-1230"},
         3},
        {"foretagsmedgivanden.csv", false, ImportList::CompanyMandates, false, 2, {"123-4566"}, 3},
    };
    for (const Case& c : cases) {
        const CsvTable table = ReadCsvFile(dataFile(c.file));
        EXPECT_EQ(table.utf8, c.utf8) << c.file;
        const ImportResult result = ImportRows(table, MatchColumns(table.header), c.privateService, Swedish);
        ASSERT_TRUE(result.succeeded()) << c.file << ": " << findingLines(result).join("\n").toStdString();
        EXPECT_EQ(result.list, c.list) << c.file;
        ASSERT_EQ(result.rows.size(), c.rows) << c.file;
        const ListRow& row = result.rows[c.row];
        EXPECT_EQ(QStringList(row.caption()) + row.subItems(), c.texts) << c.file << " row " << c.row;
    }
}

TEST(PayerImportTest, EveryFailingFieldIsListedAndNothingIsImported)
{
    const CsvTable table = ReadCsvFile(dataFile("betaluppdrag-felaktiga.csv"));
    const ImportResult result = ImportRows(table, MatchColumns(table.header), true, Swedish);
    EXPECT_TRUE(result.rows.isEmpty());
    EXPECT_EQ(findingLines(result),
              QStringList(
                  {"3: Betalarnummer: Felaktigt betalarnummer",
                   "4: Belopp: Beloppet ”1,250” kan läsas på två sätt. Skriv det utan tusentalsavgränsare, "
                   "till exempel 1250,00.",
                   "5: Belopp: Beloppet är för stort",
                   "5: Betalningsdatum: Betalningsdatum ”2027-13-01” ska skrivas ÅÅÅÅ-MM-DD eller GENAST",
                   "5: Periodicitet: Periodiciteten ”Varje vecka” är okänd. Skriv Engångsbetalning eller "
                   "Varje månad med start enligt betaldatum eller Varje kvartal med start enligt betaldatum "
                   "eller Varje halvår med start enligt betaldatum eller Varje år med start enligt "
                   "betaldatum eller Sista bankdagen varje månad eller Sista bankdagen varje kvartal eller "
                   "Sista bankdagen varje halvår eller Sista bankdagen varje år.",
                   "6: Belopp: Beloppet får inte vara negativt",
                   "6: Antal: Antal betalningar ska vara ett heltal från 0 till 999",
                   "6: Referens: Referens får ha högst 16 tecken",
                   "7: Antal: Antal ska vara 1 för en engångsbetalning"}));
    EXPECT_EQ(
        findingLines(importText("Betalarnummer;Belopp;Betalningsdatum;Referens\n1;1;2027-01-01;\"a\nb\"\n")),
        QStringList("2: Referens: Referens får inte innehålla radbrytningar eller tabbtecken"));
}

// What the writer would refuse or cut is refused here, at its line and column, as every other field.
TEST(PayerImportTest, WhatTheWriterCannotWriteIsAFindingOfItsField)
{
    const QString payments = "Betalarnummer;Belopp;Betalningsdatum;Periodicitet;Referens\n";
    const QString changes =
        "Beskrivning;Betalarnummer;Betalningsdag;Ny betaldag;Belopp;Transaktionstyp;Referens\n";
    const QString once = "Engångsbetalning";
    const QString monthly = "Varje månad med start enligt betaldatum";
    const QString long40k = QString(40000, 'x');
    const struct
    {
        const char* name;
        QString csv;
        QString finding; // empty: imported
    } cases[] = {
        {"year with a letter", payments + "1;1;2x27-01-25;;\n",
         "2: Betalningsdatum: Betalningsdatum ”2x27-01-25” ska skrivas ÅÅÅÅ-MM-DD eller GENAST"},
        {"blank in the year", payments + "1;1;2 27-01-25;;\n",
         "2: Betalningsdatum: Betalningsdatum ”2 27-01-25” ska skrivas ÅÅÅÅ-MM-DD eller GENAST"},
        {"GENAST once", payments + "1;1;genast;" + once + ";\n", QString()},
        {"GENAST monthly", payments + "1;1;GENAST;" + monthly + ";\n",
         "2: Betalningsdatum: " + CheckImmediatePeriod(monthly, u"GENAST")},
        {"row over the limit", payments + "1;1;2027-01-25;;\n1;1;2027-01-25;;" + long40k + "\n",
         "3: Referens: Referens får ha högst 16 tecken"},
        {"payer over the limit", payments + "1;1;2027-01-25;;\n" + QString(40000, '1') + ";1;2027-01-25;;\n",
         "3: Betalarnummer: Fältet har 40000 tecken, men en rad får ha högst 32767 tecken sammanlagt."},
        {"change date", changes + "Ändring av en transaktion;1;2x27-01-25;2027-02-01;1;Debitering;\n",
         "2: Betalningsdag: Betalningsdatum ”2x27-01-25” ska skrivas ÅÅÅÅ-MM-DD"},
        {"new date", changes + "Ändring av en transaktion;1;2027-01-25;abcd-02-01;1;Debitering;\n",
         "2: Ny betaldag: Ny betaldag ”abcd-02-01” ska skrivas ÅÅÅÅ-MM-DD"},
        {"zero amount", changes + "Makulering av en transaktion;1;2027-01-25;;0;Debitering;Faktura 1\n",
         QString()},
        {"long change reference",
         changes + "Makulering av en transaktion;1;2027-01-25;;1;Debitering;1234567890123456789012345\n",
         "2: Referens: Referens får ha högst 16 tecken"},
        {"line end in a change reference",
         changes + "Ändring av en transaktion;1;2027-01-25;2027-02-01;1;Debitering;\"a\nb\"\n",
         "2: Referens: Referens får inte innehålla radbrytningar eller tabbtecken"},
        {"file separator in a change reference",
         changes + "Ändring av en transaktion;1;2027-01-25;2027-02-01;1;Debitering;a\u001Cb\n",
         "2: Referens: Referens får inte innehålla radbrytningar eller tabbtecken"},
        {"change reference outside Windows-1252",
         changes + "Ändring av en transaktion;1;2027-01-25;2027-02-01;1;Debitering;a\u2603\n",
         "2: Referens: Tecknet ”☃” kan inte sparas i en Autogirofil. Skriv texten utan det."},
    };
    for (const auto& c : cases) {
        const ImportResult result = importText(c.csv);
        if (c.finding.isEmpty()) {
            EXPECT_TRUE(result.succeeded())
                << c.name << ": " << findingLines(result).join('\n').toStdString();
            continue;
        }
        EXPECT_EQ(findingLines(result), QStringList(c.finding)) << c.name;
        EXPECT_TRUE(result.rows.isEmpty()) << c.name;
    }
}

// Texts the file cannot keep as typed come in the form that reading the file gives back.
TEST(PayerImportTest, TextsComeInTheFormTheFileKeeps)
{
    const QString payments = "Betalarnummer;Belopp;Betalningsdatum;Periodicitet;Antal;Referens\n";
    const QString mandates = "Typ;Betalarnummer;Konto;Personnummer\n";
    const QString electronic = "Autogiro elektroniskt medgivande;1;";
    const struct
    {
        const char* name;
        QString csv;
        int column;
        QString text;
    } cases[] = {
        {"payer's leading zeros", payments + "0012;1;2027-01-25;;;\n", 5, "12"},
        {"count of zero", payments + "1;1;2027-01-25;Sista bankdagen varje månad;000;\n", 4, ""},
        {"id's leading zeros", mandates + electronic + "0012;19650101-1230\n", 2, "12"},
        {"organisation number", mandates + electronic + "9918;556036-0793\n", 3, "5560360793"},
        {"ten-digit civic number", mandates + electronic + "9918;650101-1230\n", 3, "19650101-1230"},
        {"zero behind a separator", mandates + "Medgivande på papper;- 0765-4321;8327-9123456783;5560001231\n", 1,
         "765-4321"},
    };
    for (const auto& c : cases) {
        const ImportResult result = importText(c.csv);
        ASSERT_EQ(result.rows.size(), 1) << c.name << ": " << findingLines(result).join('\n').toStdString();
        EXPECT_EQ(result.rows[0].text(c.column), c.text) << c.name;
    }
    EXPECT_EQ(findingLines(importText(mandates + electronic + "1234567890123456;19650101-1230\n")),
              QStringList("2: Konto: " + CheckElectronicMandateId("1234567890123456")));
}

// A file wrong on every line lists the first thousand findings and says where it stopped reading.
TEST(PayerImportTest, AFileWrongThroughoutListsTheFirstThousandFindings)
{
    QString csv = "Betalarnummer;Belopp;Betalningsdatum\n";
    for (int i = 0; i < 3000; ++i)
        csv += "1;x;2027-01-25\n";
    const ImportResult result = importText(csv);
    ASSERT_EQ(result.findings.size(), 1001);
    EXPECT_EQ(result.findings[999].line, 1001);
    EXPECT_EQ(result.findings.last().line, 1001);
    EXPECT_TRUE(result.findings.last().message.startsWith("Importen slutade efter rad 1001"));
}

TEST(PayerImportTest, OneFailingRowAmongAThousandStopsTheImport)
{
    const auto file = [](const QString& badRow) {
        QString csv = "Betalarnummer;Belopp;Betalningsdatum\n";
        for (int i = 1; i <= 1000; ++i)
            csv += i == 678 ? badRow + "\n" : QString("%1;%2,50;2027-03-01\n").arg(i).arg(i);
        return csv;
    };
    // Line 679: a payer with a letter keeps its digits, as the dialog's field does; no amount.
    const ImportResult result = importText(file("67X8;;2027-03-01"));
    EXPECT_TRUE(result.rows.isEmpty());
    EXPECT_EQ(findingLines(result), QStringList("679: Belopp: Beloppet är inte numeriskt"));
    EXPECT_EQ(importText(file("678;1;2027-03-01")).rows.size(), 1000);
}

TEST(PayerImportTest, AmountsAsSpreadsheetsWriteThem)
{
    struct Case
    {
        const char* text;
        const char* shown; // the row text, or the message
    } cases[] = {
        {"1 250,00", "1\u00A0250,00"},
        {"1250,5", "1\u00A0250,50"},
        {"1250.50", "1\u00A0250,50"},
        {"1250", "1\u00A0250,00"},
        {"1,250.75", "1\u00A0250,75"},
        {"1.250,75", "1\u00A0250,75"},
        {"1\u00A0250 kr", "1\u00A0250,00"},
        {"0,05", "0,05"},
        {"12,345", "Beloppet ”12,345” kan läsas på två sätt. Skriv det utan tusentalsavgränsare, till "
                   "exempel 1250,00."},
        {"1,2345", "Beloppet ”1,2345” har fler än två decimaler."},
        {"tolv", "Beloppet är inte numeriskt"},
        {"1,25,0", "Beloppet är inte numeriskt"},
        {"", "Beloppet är inte numeriskt"},
    };
    for (const Case& c : cases) {
        const ImportResult result =
            importText(QString("Betalarnummer;Belopp;Betalningsdatum\n1;\"%1\";2027-01-01\n").arg(c.text));
        const QString got = result.succeeded() ? result.rows[0].text(3) : result.findings[0].message;
        EXPECT_EQ(got, QString::fromUtf8(c.shown)) << c.text;
    }
}

TEST(PayerImportTest, ColumnsThatFitNoListAreRefusedWithTheKnownColumns)
{
    struct Case
    {
        const char* header;
        bool privateService;
        const char* expected;
    } cases[] = {
        {"Namn;Adress", true, "Kända kolumner: för betaluppdrag Typ, Betalarnummer"},
        {"Betalarnummer;Belopp", true, "saknar kolumnen Betalningsdatum"},
        {"Betalarnummer;Belopp;Betalningsdatum;Personnummer", true,
         "Personnummer hör inte till betaluppdrag"},
        {"Betalarnummer", true, "importeras under tjänsten Företag"},
        {"Betalarnummer;Konto;Personnummer", false, "hör till tjänsten Privat"},
        {"Betalarnummer;Clearingnummer;Personnummer", true, "saknar kolumnen Kontonummer"},
        {"Belopp; BELOPP ", true, "står båda för Belopp"},
    };
    for (const Case& c : cases) {
        try {
            const CsvTable table = ParseCsv(QString::fromUtf8(c.header));
            ImportRows(table, MatchColumns(table.header), c.privateService, Swedish);
            ADD_FAILURE() << c.header << ": accepted";
        } catch (const ImportColumnsError& error) {
            EXPECT_TRUE(error.text().contains(QString::fromUtf8(c.expected))) << error.what();
        }
    }
}

TEST(PayerImportTest, CsvFieldsSeparatorsAndEncodings)
{
    // Excel's "Unicode text": UTF-16 with a byte-order mark, tab-separated.
    const auto utf16 = [](const QString& text, QStringConverter::Encoding encoding) {
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        return QByteArray(encoder(text));
    };
    const QString unicodeText = "Betalarnummer\tBelopp\r\n4711\t1 250,00 \u20ac\U0001F600\r\n";
    struct Case
    {
        QByteArray bytes;
        QStringList header;
        QStringList lastRecord;
        int lastLine;
    } cases[] = {
        {"a,b;c\n1,2;3\n", {"a,b", "c"}, {"1,2", "3"}, 2},
        {"\n\na\tb\r\n\"x\ty\"\t\"say \"\"hi\"\"\"\r\n", {"a", "b"}, {"x\ty", "say \"hi\""}, 4},
        {"a,b\n\"two\nlines\",z\n,\nlast,\"q\"", {"a", "b"}, {"last", "q"}, 5},
        {"\xEF\xBB\xBFnamn\n\xC3\xA5", {"namn"}, {"å"}, 2},
        {"namn\n\xE5\x80", {"namn"}, {"å€"}, 2}, // not UTF-8: Windows-1252
        {utf16(unicodeText, QStringConverter::Utf16LE),
         {"Betalarnummer", "Belopp"},
         {"4711", "1 250,00 €\U0001F600"},
         2},
        {utf16(unicodeText, QStringConverter::Utf16BE),
         {"Betalarnummer", "Belopp"},
         {"4711", "1 250,00 €\U0001F600"},
         2},
    };
    for (const Case& c : cases) {
        const CsvTable table = ParseCsv(DecodeCsvText(c.bytes));
        EXPECT_EQ(table.header, c.header) << c.bytes.constData();
        ASSERT_FALSE(table.records.isEmpty()) << c.bytes.constData();
        EXPECT_EQ(table.records.last().fields, c.lastRecord) << c.bytes.constData();
        EXPECT_EQ(table.records.last().line, c.lastLine) << c.bytes.constData();
    }
    EXPECT_THROW(ParseCsv("a;b\n\"open;2\n3;4\n"), CsvError);
    // A record of more fields than a spreadsheet has columns is refused, not grown to the line's
    // length; as many as it has are read.
    const CsvTable widest = ParseCsv("a\nx" + QString(16383, ';'));
    ASSERT_EQ(widest.records.size(), 1);
    EXPECT_EQ(widest.records[0].fields.size(), 16384);
    EXPECT_THROW(ParseCsv("a\n" + QString(16384, ';')), CsvError);
}

TEST(PayerImportTest, EveryExportedListReadsBackUnchanged)
{
    for (const bool privateService : {true, false}) {
        OrderDocument document;
        document.FillMakTexts();
        document.PrivateService = privateService;
        const QString payer = privateService ? "4711" : "1234-5674";
        document.BtuList.append("Kreditering", {"Varje kvartal med start enligt betaldatum", "2027-04-30",
                                                "12\u00A0345,60", "4", payer, "Ref; \"A\" "});
        document.BtuList.append("Debitering", {"Engångsbetalning", "GENAST", "0,50", "1", payer, ""});
        document.MdgList.append("Avvisad - Autogiro elektroniskt medgivande",
                                {"123-4567", "998877", "19650101-1230"});
        document.MdgList.append("Medgivande på papper", {"42", "8327-0123456782", "19650101-1230"});
        document.MdgListComp.append("123-4566", {});
        document.MakList.append("29", document.MakText(29),
                                {payer, "2027-01-25", "2027-02-25", "10,00", "Debitering"});
        document.MakList.append("26", document.MakText(26), {"", "", "2027-02-25", "", ""});
        const QList<std::pair<ListId, const RowList*>> lists = {{ListId::Btu, &document.BtuList},
                                                                {ListId::Mdg, &document.MdgList},
                                                                {ListId::MdgComp, &document.MdgListComp},
                                                                {ListId::Mak, &document.MakList.rows()}};
        for (const auto& [list, rows] : lists) {
            if ((list == ListId::Mdg && !privateService) || (list == ListId::MdgComp && privateService))
                continue;
            const QByteArray csv = ListToCsv(document, list);
            ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
            const CsvTable table = ParseCsv(DecodeCsvText(csv));
            const ImportResult result =
                ImportRows(table, MatchColumns(table.header), privateService, Swedish);
            ASSERT_TRUE(result.succeeded())
                << csv.constData() << findingLines(result).join("\n").toStdString();
            ASSERT_EQ(result.rows.size(), rows->count());
            for (int i = 0; i < rows->count(); ++i)
                EXPECT_EQ(result.rows[i], (*rows)[i]) << csv.constData();
            if (list == ListId::Mak)
                EXPECT_EQ(result.codes, document.MakCodes());
        }
    }
}

TEST(PayerImportTest, ImportedRowsAreAppendedAndMarkTheDocument)
{
    OrderDocument document;
    document.BtuList.append("Debitering", {"Engångsbetalning", "2027-01-01", "1,00", "1", "1", ""});
    const ImportResult result =
        importText("Betalarnummer;Belopp;Betalningsdatum\n2;2;2027-01-02\n3;3;2027-01-03\n");
    AppendImportedRows(document, result);
    EXPECT_EQ(document.BtuList.count(), 3);
    EXPECT_EQ(document.BtuList[2].text(5), "3");
    EXPECT_TRUE(document.DocModified);
    EXPECT_FALSE(document.Loading);
}

} // namespace
