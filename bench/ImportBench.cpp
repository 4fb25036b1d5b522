// Imports CSV files of 10 000 and 100 000 payment orders and private mandates, as a spreadsheet
// saves them, and exports the list again; prints rows per second for each phase and peak memory.

#include "BenchSupport.h"

#include "app/OrderDocument.h"
#include "format/CsvReader.h"
#include "format/ListExport.h"
#include "format/PayerImport.h"
#include "rules/BankAccounts.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

QByteArray payments(int rows)
{
    QByteArray csv = "\xEF\xBB\xBFKund;Betalarnummer;Belopp;Betalningsdatum;Periodicitet;Antal;Referens\r\n";
    csv.reserve(qsizetype(rows) * 110);
    for (int i = 0; i < rows; ++i) {
        const bool monthly = i % 3 == 0;
        csv += "\"Kund " + QByteArray::number(i) + ", AB\";" + QByteArray::number(100000 + i) + ";" +
               QByteArray::number(1 + i % 20000) + " " + QByteArray::number(100 + i % 900) + ",50;2027-0" +
               QByteArray::number(1 + i % 9) + "-15;" +
               (monthly ? QByteArray("Varje månad med start enligt betaldatum;12")
                        : QByteArray("Engångsbetalning;1")) +
               ";Faktura " + QByteArray::number(i) + "\r\n";
    }
    return csv;
}

// A civic registration number born in the 1950s-90s with its control digit.
QByteArray personNumber(int i)
{
    const QByteArray nine = QByteArray::number(50 + i % 50) + "0" + QByteArray::number(1 + i % 9) + "1" +
                            QByteArray::number(i % 10) + QByteArray::number(100 + i % 900);
    int sum = 0;
    for (int k = 0; k < nine.size(); ++k) {
        const int product = (nine[k] - '0') * (k % 2 == 0 ? 2 : 1);
        sum += product / 10 + product % 10;
    }
    return "19" + nine.left(6) + "-" + nine.mid(6) + QByteArray::number((10 - sum % 10) % 10);
}

// The first account number from the given one on that the clearing number's check digit rule takes.
QByteArray validAccount(int from)
{
    const BankAccountRule* rule = FindBankAccountRule(5000);
    for (int account = from;; ++account) {
        const QString text = QString::number(account);
        if (!rule || AccountCheckDigitValid(*rule, QStringLiteral("5000"), text))
            return text.toLatin1();
    }
}

QByteArray mandates(int rows)
{
    QByteArray csv = "Betalarnummer;Clearingnummer;Kontonummer;Personnummer\r\n";
    csv.reserve(qsizetype(rows) * 50);
    for (int i = 0; i < rows; ++i)
        csv += QByteArray::number(100000 + i) + ";5000;" + validAccount(1234567 + i * 20) + ";" + personNumber(i) +
               "\r\n";
    return csv;
}

double bestOf3(const std::function<void()>& work)
{
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        const double start = ProcessCpuSeconds();
        work();
        best = std::min(best, ProcessCpuSeconds() - start);
    }
    return best;
}

void measure(const char* what, const QByteArray& bytes, int rows, ListId list)
{
    ResetPeakResident();
    const std::size_t before = CurrentResidentBytes();
    CsvTable table;
    const double parse = bestOf3([&] { table = ParseCsv(DecodeCsvText(bytes)); });
    ImportResult result;
    const double check = bestOf3([&] { result = ImportRows(table, MatchColumns(table.header), true); });
    if (!result.succeeded()) {
        std::printf("%s: %s\n", what, qPrintable(result.findings.first().message));
        return;
    }
    OrderDocument document;
    AppendImportedRows(document, result);
    QByteArray csv;
    const double exported = bestOf3([&] { csv = ListToCsv(document, list); });
    const std::size_t peak = PeakResidentBytes() > before ? PeakResidentBytes() - before : 0;
    std::printf("%-14s %7d rows  read %6.3f s  check %6.3f s  total %6.3f s (%8.0f rows/s)  export %6.3f s  "
                "peak +%5.1f MB\n",
                what, rows, parse, check, parse + check, rows / (parse + check), exported, peak / 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    std::printf("CSV import: decoding and splitting (read), rows and the dialogs' checks (check); CPU "
                "seconds, best of 3\n");
    for (const int rows : {10000, 100000}) {
        measure("betaluppdrag", payments(rows), rows, ListId::Btu);
        measure("medgivanden", mandates(rows), rows, ListId::Mdg);
    }
    return 0;
}
