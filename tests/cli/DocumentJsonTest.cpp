#include "app/OrderDocument.h"
#include "cli/DocumentJson.h"
#include "cli/JsonAmount.h"
#include "rules/Periods.h"
#include "rules/RowChecks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

QByteArray minimalJson(const QString& extra = QString())
{
    return QStringLiteral(R"({"BtuList": [], "MdgList": [], "MdgListComp": [], "MakList": [], "MakCodes": []%1})")
        .arg(extra)
        .toUtf8();
}

const char* const FullJson = R"({
  "service": "Privat",
  "BtuList":     [["Debitering", "Engångsbetalning", "2024-03-05", "250,00", "1", "4711", "Faktura 12"]],
  "MdgList":     [["Medgivande på papper", "1234567", "5000-1234567", "19800101-1234"]],
  "MdgListComp": [["1234-5674"]],
  "MakList":     [["Makulering av en transaktion", "4711", "2024-03-05", "", "99,50", "Debitering"]],
  "MakCodes":    ["25"],
  "openingRecords": [{"line": 1, "customerNumber": "123456", "bankgiro": "12345674"}]
})";

} // namespace

TEST(DocumentJson, ReadsEveryListAndKeepsTextsExactly)
{
    OrderDocument document;
    EXPECT_EQ(DocumentFromJson(FullJson, document), QStringLiteral("Privat"));
    ASSERT_EQ(document.BtuList.count(), 1);
    EXPECT_EQ(document.BtuList[0].caption(), QStringLiteral("Debitering"));
    EXPECT_EQ(document.BtuList[0].subItem(5), QStringLiteral("Faktura 12"));
    EXPECT_EQ(document.MdgList[0].subItem(1), QStringLiteral("5000-1234567"));
    EXPECT_EQ(document.MdgListComp[0].caption(), QStringLiteral("1234-5674"));
    EXPECT_EQ(document.MakCodes(), QStringList{QStringLiteral("25")});
    EXPECT_EQ(document.MakList[0].subItem(3), QStringLiteral("99,50"));
}

TEST(DocumentJson, WritesWhatItReads)
{
    OrderDocument document;
    DocumentFromJson(FullJson, document);
    const QByteArray json = DocumentToJson(document, {{1, QStringLiteral("123456"), QStringLiteral("12345674")}});
    OrderDocument again;
    DocumentFromJson(json, again);
    EXPECT_TRUE(again.BtuList[0] == document.BtuList[0]);
    EXPECT_TRUE(again.MdgList[0] == document.MdgList[0]);
    EXPECT_TRUE(again.MdgListComp[0] == document.MdgListComp[0]);
    EXPECT_TRUE(again.MakList[0] == document.MakList[0]);
    EXPECT_EQ(again.MakCodes(), document.MakCodes());
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    EXPECT_EQ(root.value(QStringLiteral("openingRecords")).toArray().first().toObject().value(QStringLiteral("line")).toInt(), 1);
}

TEST(DocumentJson, RefusesDocumentsNotInTheForm)
{
    const struct
    {
        const char* name;
        QByteArray json;
        const char* expected;
    } cases[] = {
        {"not json", "{", "Ogiltig JSON"},
        {"array", "[]", "ska vara ett objekt"},
        {"missing list", R"({"BtuList": [], "MdgList": [], "MdgListComp": [], "MakCodes": []})", "\"MakList\" saknas"},
        {"short row", minimalJson().replace("\"BtuList\": []", "\"BtuList\": [[\"Debitering\"]]"), "har 1 kolumner, men ska ha 7"},
        {"long company row", minimalJson().replace("\"MdgListComp\": []", "\"MdgListComp\": [[\"1\", \"2\"]]"), "ska ha 1"},
        {"number cell", minimalJson().replace("\"MdgListComp\": []", "\"MdgListComp\": [[5]]"), "inte är en text"},
        {"codes differ", minimalJson().replace("\"MakCodes\": []", "\"MakCodes\": [\"25\"]"), "MakCodes har 1 koder men MakList har 0"},
        {"bad service", minimalJson(QStringLiteral(R"(, "service": "privat")")), "Okänd tjänst"},
        // Nesting deep enough to exhaust the stack of a recursive parser.
        {"deep nesting", minimalJson(QStringLiteral(", \"extra\": ") + QString(1000000, QLatin1Char('['))),
         "för djupt nästlat"},
        {"invalid UTF-8 in a text", minimalJson().replace("\"MdgListComp\": []", "\"MdgListComp\": [[\"12\xff" "34\"]]"),
         "UTF-8"},
        {"invalid UTF-8 in a key", minimalJson(QStringLiteral(", \"x\": 1")).replace("\"x\"", "\"\xc3\""), "UTF-8"},
        {"duplicate list", minimalJson(QStringLiteral(R"(, "BtuList": [])")), "\"BtuList\" förekommer två gånger"},
        {"duplicate service", minimalJson(QStringLiteral(R"(, "service": "Privat", "service": "Företag")")),
         "\"service\" förekommer två gånger"},
        {"bad number", minimalJson(QStringLiteral(R"(, "extra": 1-2e)")), "ogiltigt tal"},
        {"lone minus", minimalJson(QStringLiteral(R"(, "extra": -)")), "ogiltigt tal"},
        // The writer would put any text in the record-code field: "CODE" became a record "DE".
        {"unknown change code", R"({"BtuList": [], "MdgList": [], "MdgListComp": [], "MakCodes": ["CODE"],
            "MakList": [["Makulering av en transaktion", "4711", "2024-03-05", "", "99,50", "Debitering"]]})",
         "MakCodes[0] \"CODE\" är ingen kod för makulering eller ändring"},
        {"change code out of the table", R"({"BtuList": [], "MdgList": [], "MdgListComp": [], "MakCodes": ["3", "99"],
            "MakList": [["Makulering av ett medgivande", "4711", "", "", "", ""],
                        ["Makulering av en transaktion", "4711", "2024-03-05", "", "99,50", "Debitering"]]})",
         "MakCodes[1] \"99\" är ingen kod"},
        {"change code with a leading zero", R"({"BtuList": [], "MdgList": [], "MdgListComp": [], "MakCodes": ["03"],
            "MakList": [["Makulering av ett medgivande", "4711", "", "", "", ""]]})",
         "MakCodes[0] \"03\" är ingen kod"},
    };
    for (const auto& c : cases) {
        OrderDocument document;
        try {
            DocumentFromJson(c.json, document);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const DocumentJsonError& error) {
            EXPECT_TRUE(error.text().contains(QString::fromUtf8(c.expected))) << c.name << ": " << error.what();
        }
    }
}

// What the writer would refuse or cut, the row checks find first, in the column that holds it; the
// rows next to them pass.
TEST(RowChecks, FindWhatTheWriterCannotWrite)
{
    const QString monthly = QStringLiteral("Varje månad med start enligt betaldatum");
    const auto payment = [](const QString& period, const QString& date,
                            const QString& reference = QString()) {
        return QStringLiteral(
                   R"("BtuList": [["Debitering", "%1", "%2", "10", "", "4711", "%3"]], "MakList": [], "MakCodes": [])")
            .arg(period, date, reference);
    };
    const auto change = [](const QString& code, const QString& date, const QString& newDate,
                           const QString& amount, const QString& reference) {
        return QStringLiteral(
                   R"("BtuList": [], "MakCodes": ["%1"], "MakList": [["Ändring", "4711", "%2", "%3", "%4", "Debitering", "%5"]])")
            .arg(code, date, newDate, amount, reference);
    };
    const QString oneOff = QStringLiteral("Engångsbetalning");
    const struct
    {
        const char* name;
        QString lists;
        QString column; // empty: the row passes
        QString message;
    } cases[] = {
        {"year with a letter", payment(oneOff, QStringLiteral("2x27-01-25")), QStringLiteral("Betalningsdag"),
         QStringLiteral("'2x27-01-25' är inte ett giltigt datum")},
        {"negative year", payment(oneOff, QStringLiteral("-001-01-25")), QStringLiteral("Betalningsdag"),
         QStringLiteral("giltigt datum")},
        {"GENAST once", payment(oneOff, QStringLiteral("GENAST")), QString(), QString()},
        {"GENAST monthly", payment(monthly, QStringLiteral("GENAST")), QStringLiteral("Betalningsdag"),
         CheckImmediatePeriod(monthly, QStringLiteral("GENAST"))},
        {"row over the limit",
         payment(oneOff, QStringLiteral("2027-01-25"), QString(40000, QLatin1Char('x'))),
         QStringLiteral("Referens"),
         QStringLiteral("Fältet har 40000 tecken, men en rad får ha högst 32767 tecken sammanlagt.")},
        {"change date",
         change(QStringLiteral("29"), QStringLiteral("2x27-01-25"), QStringLiteral("2027-02-25"),
                QStringLiteral("10"), QString()),
         QStringLiteral("Betalningsdag"), QStringLiteral("giltigt datum")},
        {"new date",
         change(QStringLiteral("29"), QStringLiteral("2027-01-25"), QStringLiteral("abcd-02-25"),
                QStringLiteral("10"), QString()),
         QStringLiteral("Ny betaldag"), QStringLiteral("giltigt datum")},
        {"zero amounts",
         change(QStringLiteral("25"), QStringLiteral("2027-01-25"), QString(), QStringLiteral("0"),
                QStringLiteral("Faktura 1")),
         QString(), QString()},
        {"long reference",
         change(QStringLiteral("25"), QStringLiteral("2027-01-25"), QString(), QStringLiteral("10"),
                QStringLiteral("1234567890123456789012345")),
         QStringLiteral("Referens"), QStringLiteral("Referensen har 25 tecken men får ha högst 16")},
        {"tab in the reference",
         change(QStringLiteral("29"), QStringLiteral("2027-01-25"), QStringLiteral("2027-02-25"),
                QStringLiteral("0.00"), QStringLiteral("a\\tb")),
         QStringLiteral("Referens"), QStringLiteral("U+0009")},
        {"file separator in the reference",
         change(QStringLiteral("29"), QStringLiteral("2027-01-25"), QStringLiteral("2027-02-25"),
                QStringLiteral("1"), QStringLiteral("\\u001c")),
         QStringLiteral("Referens"), QStringLiteral("U+001C")},
        {"reference outside Windows-1252",
         change(QStringLiteral("25"), QStringLiteral("2027-01-25"), QString(), QStringLiteral("1"),
                QStringLiteral("sn\u00F6 \u2603")),
         QStringLiteral("Referens"), QStringLiteral("\u2603")},
        {"reference of a request without one",
         change(QStringLiteral("24"), QStringLiteral("2027-01-25"), QString(), QString(),
                QStringLiteral("x")),
         QStringLiteral("Referens"), QStringLiteral("ingen referens")},
        {"code the writer does not write",
         change(QStringLiteral("21"), QString(), QString(), QString(), QString()),
         QStringLiteral("Beskrivning"), QStringLiteral("Koden 21")},
    };
    for (const auto& c : cases) {
        OrderDocument document;
        document.FillMakTexts();
        JsonRowPlaces places;
        DocumentFromJson(QStringLiteral(R"({"MdgList": [], "MdgListComp": [], %1})").arg(c.lists).toUtf8(),
                         document, places);
        const QList<RowProblem> problems = CheckJsonDocumentRows(document, places);
        if (c.column.isEmpty()) {
            EXPECT_TRUE(problems.isEmpty()) << c.name << ": " << qPrintable(problems.value(0).message);
            continue;
        }
        ASSERT_EQ(problems.size(), 1) << c.name;
        EXPECT_EQ(problems[0].line, 1) << c.name;
        EXPECT_EQ(problems[0].column, c.column) << c.name;
        EXPECT_TRUE(problems[0].message.contains(c.message))
            << c.name << ": " << qPrintable(problems[0].message);
    }
}

// Each fault of the JSON text is named, with the byte it was found at.
TEST(DocumentJson, NamesTheFaultOfTheText)
{
    const struct
    {
        QByteArray json;
        const char* expected;
    } cases[] = {
        {"{\"a\" 1}", "vid tecken 5: väntade \u201C:\u201D"},
        {"{\"a\": [1 2]}", "vid tecken 9: ogiltigt tal"},
        {"{\"a\": tru}", "ogiltigt värde"},
        {"{\"a\": \"x\ty\"}", "styrtecken i en text"},
        {"{\"a\": \"x\\q\"}", "ogiltig escape-sekvens"},
        {"{\"a\": \"\\u12", "ofullständig \\u-sekvens"},
        {"{\"a\": \"x", "texten tar aldrig slut"},
        {QByteArray("{}\0", 3), "vid tecken 2: oväntad text efter dokumentet"},
        {"{} {}", "oväntad text efter dokumentet"},
        {" ", "ska vara ett objekt"},
        {"{\"a\": \"x\xC3(\"}", "vid tecken 8: texten är inte giltig UTF-8"},
        {"{\"\xFF\": 1}", "vid tecken 2: texten är inte giltig UTF-8"},
        {"{\"skipped\": [\"\xED\xA0\x80\"]}", "vid tecken 14: texten är inte giltig UTF-8"},
        {"{\"a\": \"x\xE2\x82", "vid tecken 8: texten är inte giltig UTF-8"},
        {"{\"a\": \"x\xC3\xA5\" 1}", "vid tecken 12: väntade"},
    };
    for (const auto& c : cases) {
        OrderDocument document;
        try {
            DocumentFromJson(c.json, document);
            ADD_FAILURE() << c.json.constData() << ": accepted";
        } catch (const DocumentJsonError& error) {
            EXPECT_TRUE(error.text().contains(QString::fromUtf8(c.expected))) << c.json.constData() << ": " << error.what();
        }
    }
}

TEST(DocumentJson, ACharacterAcrossTwoReadsIsOneCharacter)
{
    const QByteArray head = "{\"BtuList\": [], \"MdgList\": [], \"MdgListComp\": [], \"MakList\": [], "
                            "\"MakCodes\": [], \"note\": \"";
    // The reader takes 64 KiB at a time: the two bytes of "å" fall into two of them.
    const QByteArray json = head + QByteArray(65535 - head.size(), 'x') + "\xC3\xA5\"}";
    OrderDocument document;
    EXPECT_NO_THROW(DocumentFromJson(json, document));
}

TEST(DocumentJson, AcceptsAByteOrderMark)
{
    OrderDocument document;
    EXPECT_EQ(DocumentFromJson("\xef\xbb\xbf" + minimalJson(QStringLiteral(R"(, "service": "Företag")")), document),
              QStringLiteral("Företag"));
}

TEST(RowChecks, ReportsEachDialogRuleWithItsLineAndColumn)
{
    OrderDocument document;
    document.FillMakTexts();
    document.BtuList.append(QStringLiteral("Debitering"),
                            {QStringLiteral("Engångsbetalning"), QStringLiteral("2024-03-05"), QStringLiteral("1,00"),
                             QStringLiteral("1"), QString(), QString()});
    document.MdgList.append(QStringLiteral("Medgivande på papper"),
                            {QStringLiteral("4711"), QStringLiteral("123-1234567"), QStringLiteral("19651301-1234")});
    document.MdgList.append(QStringLiteral("Medgivande på papper"),
                            {QStringLiteral("4711"), QStringLiteral("1234-123456"), QStringLiteral("19650101-1230")});
    document.MdgList.append(QStringLiteral("Autogiro elektroniskt medgivande"),
                            {QStringLiteral("12345678901234567"), QStringLiteral("99181234"), QStringLiteral("")});
    document.MakList.append(QStringLiteral("26"), document.MakText(26),
                            {QString(), QString(), QStringLiteral("2024-04-25"), QString(), QString()});
    document.MakList.append(QStringLiteral("25"), document.MakText(25),
                            {QString(), QStringLiteral("2024-03-05"), QString(), QStringLiteral("99,50"),
                             QStringLiteral("Debitering")});
    RowLines lines{{3}, {4, 5, 6}, {}, {8, 9}};
    const QList<OpeningRecordEntry> opening = {{2, QStringLiteral("123456"), QStringLiteral("1234567")}};

    const QList<RowProblem> problems = CheckDocumentRows(document, lines, opening);
    QStringList found;
    for (const RowProblem& p : problems)
        found.append(QStringLiteral("%1 %2: %3").arg(p.line).arg(p.column, p.message));
    EXPECT_EQ(found, (QStringList{
                         QStringLiteral("2 Bankgironummer: Felaktigt Bankgironummer"),
                         QStringLiteral("3 Betalarnummer: Felaktigt betalarnummer"),
                         QStringLiteral("4 Personnummer: Felaktigt personnummer"),
                         QStringLiteral("4 Konto/id-nummer: Felaktigt clearingnummer"),
                         QStringLiteral("5 Konto/id-nummer: Felaktigt kontonummer"),
                         QStringLiteral("6 Betalarnummer: Felaktigt betalarnummer"),
                         QStringLiteral("6 Personnummer: Felaktigt personnummer"),
                         QStringLiteral("9 Betalarnummer: Felaktigt betalarnummer"),
                     }));
}

TEST(RowChecks, GroupedAmountsAreCheckedWithoutTheirGrouping)
{
    const struct
    {
        const char* amount;
        const char* message;
    } cases[] = {
        {"12\u00a0345\u00a0678,90", ""},
        {"1 234,5", ""},
        {"1\u202f234,567", ""},
        {"123\u00a0456\u00a0789,00", "Beloppet är för stort"},
        {"1,2,3", "Beloppet är inte numeriskt"},
        {"\u00a0", "Beloppet är inte numeriskt"},
        {"\u22125,00", "Beloppet får inte vara negativt"},
    };
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    for (const auto& c : cases) {
        OrderDocument document;
        document.BtuList.append(QStringLiteral("Debitering"),
                                {QStringLiteral("Engångsbetalning"), QStringLiteral("2024-03-05"),
                                 QString::fromUtf8(c.amount), QStringLiteral("1"), QStringLiteral("4711"), QString()});
        const QList<RowProblem> problems = CheckDocumentRows(document, {{7}, {}, {}, {}}, {});
        EXPECT_EQ(problems.isEmpty() ? QString() : problems[0].message, QString::fromUtf8(c.message)) << c.amount;
    }
    QLocale::setDefault(previous);
}

TEST(RowChecks, CompanyServiceChecksPayersAsBankgiroNumbers)
{
    OrderDocument document;
    document.FillMakTexts();
    document.PrivateService = false;
    document.BtuList.append(QStringLiteral("Kreditering"),
                            {QStringLiteral("Engångsbetalning"), QStringLiteral("2024-03-05"), QStringLiteral("1,00"),
                             QStringLiteral("1"), QStringLiteral("123-4567"), QString()});
    document.MdgListComp.append(QStringLiteral("1234-5674"), {});
    document.MdgListComp.append(QStringLiteral("1234-5675"), {});
    const QList<RowProblem> problems = CheckDocumentRows(document, {{1}, {}, {2, 3}, {}}, {});
    ASSERT_EQ(problems.size(), 2);
    EXPECT_EQ(problems[0].line, 1);
    EXPECT_EQ(problems[0].column, QStringLiteral("Bankgironummer"));
    EXPECT_EQ(problems[1].line, 3);
}

TEST(DocumentJson, TextsSurviveEscapingBothWays)
{
    const QStringList texts = {QStringLiteral("\"citat\" och \\"), QStringLiteral("rad\nbrytning\t\u0001"),
                               QStringLiteral("Åsa Öberg €"), QString::fromUcs4(U"\U0001F600 glad"),
                               QStringLiteral("/"), QString()};
    OrderDocument document;
    for (const QString& text : texts)
        document.MdgListComp.append(text, {});
    const QByteArray json = DocumentToJson(document, {});

    QJsonParseError error;
    const QJsonDocument standard = QJsonDocument::fromJson(json, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.constData();
    const QJsonArray rows = standard.object().value(QStringLiteral("MdgListComp")).toArray();
    OrderDocument again;
    DocumentFromJson(json, again);
    ASSERT_EQ(again.MdgListComp.count(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(rows[i].toArray()[0].toString(), texts[i]);
        EXPECT_EQ(again.MdgListComp[i].caption(), texts[i]);
    }

    // Escapes written by other programs, a surrogate pair among them.
    OrderDocument escaped;
    DocumentFromJson(R"({"BtuList": [], "MdgList": [], "MakList": [], "MakCodes": [],
                         "MdgListComp": [["\u00c5\ud83d\ude00\/\"\\\n"]], "extra": {"a": [1, true, null, -2.5e3]}})",
                     escaped);
    EXPECT_EQ(escaped.MdgListComp[0].caption(), QString::fromUcs4(U"Å\U0001F600/\"\\\n"));
}

TEST(JsonAmount, OneFormInEveryLocale)
{
    const QLocale swedish(QLocale::Swedish, QLocale::Sweden);
    const QLocale c = QLocale::c();
    const struct
    {
        const char* json;
        const char* swedishRow; // nullptr: not in the JSON form
        const char* cRow;
    } cases[] = {
        {"1250", "1250,00", "1250.00"}, {"1250.5", "1250,50", "1250.50"}, {"1250,05", "1250,05", "1250.05"},
        {"007", "7,00", "7.00"},        {"-5", "\u22125,00", "-5.00"},    {"-0.00", "0,00", "0.00"},
        {"1 250,00", nullptr, nullptr}, {"1.250,00", nullptr, nullptr},   {"12.345", nullptr, nullptr},
        {"1e3", nullptr, nullptr},      {"12,", nullptr, nullptr},        {",5", nullptr, nullptr},
        {"+5", nullptr, nullptr},       {"\u22125", nullptr, nullptr},    {"", nullptr, nullptr},
    };
    for (const auto& t : cases) {
        const QString json = QString::fromUtf8(t.json);
        const std::optional<QString> swedishRow = RowAmountFromJson(json, swedish);
        EXPECT_EQ(swedishRow.has_value(), t.swedishRow != nullptr) << t.json;
        if (!t.swedishRow)
            continue;
        EXPECT_EQ(*swedishRow, QString::fromUtf8(t.swedishRow)) << t.json;
        EXPECT_EQ(RowAmountFromJson(json, c).value_or(QString()), QString::fromUtf8(t.cRow)) << t.json;
        // And back: the row form in either locale gives the JSON form with two decimals.
        const QString plain = QString::fromUtf8(t.cRow);
        EXPECT_EQ(JsonAmountFromRow(*swedishRow, swedish), plain) << t.json;
        EXPECT_EQ(JsonAmountFromRow(QString::fromUtf8(t.cRow), c), plain) << t.json;
    }
    // The editor's own grouped form reads back too; a text that is no amount passes unchanged.
    EXPECT_EQ(JsonAmountFromRow(QStringLiteral("1\u00a0234,50"), swedish), QStringLiteral("1234.50"));
    EXPECT_EQ(JsonAmountFromRow(QStringLiteral("abc"), swedish), QStringLiteral("abc"));
}
