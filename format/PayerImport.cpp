#include "format/PayerImport.h"

#include "app/OrderDocument.h"
#include "rules/Check.h"
#include "rules/Extra.h"
#include "rules/Periods.h"
#include "rules/QuotedText.h"
#include "rules/RowChecks.h"

#include <QDate>
#include <QScopedValueRollback>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {

using F = ImportField;

// The most findings an import lists; the first ones tell the user what to mend.
constexpr int MostFindings = 1000;

struct FieldNames
{
    F field;
    const char* name;
    std::initializer_list<const char*> aliases; // further captions, such as the main window's
};

const FieldNames AllFieldNames[] = {
    {F::Typ, "Typ", {}},
    {F::Betalarnummer, "Betalarnummer", {"Bankgironummer"}},
    {F::Belopp, "Belopp", {}},
    {F::Betalningsdatum, "Betalningsdatum", {"Betalningsdag"}},
    {F::Periodicitet, "Periodicitet", {"Period"}},
    {F::Antal, "Antal", {"Antal betalningar"}},
    {F::Referens, "Referens", {}},
    {F::Clearingnummer, "Clearingnummer", {}},
    {F::Kontonummer, "Kontonummer", {}},
    {F::Konto, "Konto", {"Konto/id-nummer"}},
    {F::Personnummer, "Personnummer", {"Organisationsnummer"}},
    {F::Beskrivning, "Beskrivning", {}},
    {F::NyBetaldag, "Ny betaldag", {}},
    {F::Transaktionstyp, "Transaktionstyp", {}},
};

QString comparable(const QString& caption)
{
    QString text;
    for (const QChar c : caption) {
        if (!c.isSpace())
            text += c;
    }
    return text.toCaseFolded();
}

QString listName(ImportList list)
{
    switch (list) {
    case ImportList::Payments:
        return QStringLiteral("betaluppdrag");
    case ImportList::Mandates:
        return QStringLiteral("medgivanden");
    case ImportList::CompanyMandates:
        return QStringLiteral("medgivanden under tjänsten Företag");
    case ImportList::Changes:
        return QStringLiteral("makuleringar och ändringar");
    }
    return QString();
}

// The fields a list takes, in the order its dialog checks them.
QVector<F> fieldsOf(ImportList list)
{
    switch (list) {
    case ImportList::Payments:
        return {F::Betalarnummer, F::Belopp,          F::Antal,       F::Referens,
                F::Typ,           F::Betalningsdatum, F::Periodicitet};
    case ImportList::Mandates:
        return {F::Betalarnummer, F::Personnummer, F::Clearingnummer, F::Kontonummer, F::Konto, F::Typ};
    case ImportList::CompanyMandates:
        return {F::Betalarnummer};
    case ImportList::Changes:
        return {F::Beskrivning,     F::Betalarnummer, F::Belopp,
                F::Betalningsdatum, F::NyBetaldag,    F::Transaktionstyp, F::Referens};
    }
    return {};
}

QString namesText(const QVector<F>& fields)
{
    QStringList names;
    for (F field : fields)
        names << ImportFieldName(field);
    return names.join(QStringLiteral(", "));
}

void requireColumns(const ColumnMapping& mapping, ImportList list, const QVector<F>& required)
{
    QVector<F> missing;
    for (F field : required) {
        if (!mapping.has(field))
            missing << field;
    }
    if (!missing.isEmpty())
        throw ImportColumnsError(QStringLiteral("Filen saknar kolumnen %1, som %2 behöver.")
                                     .arg(namesText(missing), listName(list)));
}

void requireOnlyColumnsOf(const ColumnMapping& mapping, ImportList list)
{
    const QVector<F> taken = fieldsOf(list);
    QVector<F> foreign;
    for (int i = 0; i < int(F::Count); ++i) {
        if (mapping.has(F(i)) && !taken.contains(F(i)))
            foreign << F(i);
    }
    if (!foreign.isEmpty())
        throw ImportColumnsError(
            QStringLiteral("Kolumnerna i filen passar inte ihop: %1 hör inte till %2 (%3). "
                           "Importera en lista i taget.")
                .arg(namesText(foreign), listName(list), namesText(taken)));
}

// Which of the period texts, the kinds of payment and so on a text names, ignoring case.
std::optional<QString> oneOf(const QStringList& texts, const QString& text)
{
    for (const QString& candidate : texts) {
        if (candidate.compare(text, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return std::nullopt;
}

// An amount as spreadsheets write it: "1 250,00", "1250,5", "1250.50", "1250", "1,250.00",
// optionally with a sign and "kr". Gives the öre, or the reason it cannot be read.
struct Amount
{
    qint64 ore = 0;
    QString problem;
};

Amount readAmount(QString text)
{
    Amount result;
    const QString original = text;
    const QString notNumeric = QStringLiteral("Beloppet är inte numeriskt");
    if (text.endsWith(QLatin1String("kr"), Qt::CaseInsensitive))
        text.chop(2);
    text.remove(QLatin1Char(' ')).remove(QChar(0x00A0)).remove(QChar(0x202F));
    bool negative = false;
    if (text.startsWith(QLatin1Char('-')) || text.startsWith(QChar(0x2212))) {
        negative = true;
        text.remove(0, 1);
    }
    const qsizetype lastComma = text.lastIndexOf(QLatin1Char(','));
    const qsizetype lastPoint = text.lastIndexOf(QLatin1Char('.'));
    qsizetype decimalAt = -1;
    QChar group;
    if (lastComma >= 0 && lastPoint >= 0) {
        decimalAt = qMax(lastComma, lastPoint);
        group = decimalAt == lastComma ? QLatin1Char('.') : QLatin1Char(',');
    } else if (lastComma >= 0 || lastPoint >= 0) {
        const QChar separator = lastComma >= 0 ? QLatin1Char(',') : QLatin1Char('.');
        const qsizetype at = qMax(lastComma, lastPoint);
        if (text.count(separator) > 1) {
            group = separator;
        } else if (text.size() - at - 1 == 3) {
            result.problem = QStringLiteral("Beloppet \u201D%1\u201D kan läsas på två sätt. Skriv det utan "
                                            "tusentalsavgränsare, till exempel 1250,00.")
                                 .arg(QuotedText::Short(original));
            return result;
        } else {
            decimalAt = at;
        }
    }
    QString whole = decimalAt >= 0 ? text.left(decimalAt) : text;
    const QString decimals = decimalAt >= 0 ? text.mid(decimalAt + 1) : QString();
    if (!group.isNull()) {
        const QStringList groups = whole.split(group);
        for (int i = 1; i < groups.size(); ++i) {
            if (groups[i].size() != 3 || groups[0].isEmpty()) {
                result.problem = notNumeric;
                return result;
            }
        }
        whole = groups.join(QString());
    }
    const auto digitsOnly = [](const QString& s) {
        return std::all_of(s.begin(), s.end(),
                           [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    };
    if ((whole.isEmpty() && decimals.isEmpty()) || !digitsOnly(whole) || !digitsOnly(decimals)) {
        result.problem = notNumeric;
        return result;
    }
    if (decimals.size() > 2) {
        result.problem = QStringLiteral("Beloppet \u201D%1\u201D har fler än två decimaler.")
                             .arg(QuotedText::Short(original));
        return result;
    }
    if (StripLeadingZeros(whole, false).size() > 12) {
        result.problem = QStringLiteral("Beloppet är för stort");
        return result;
    }
    const qint64 kronor = whole.isEmpty() ? 0 : whole.toLongLong();
    const qint64 ore = (decimals + QStringLiteral("00")).left(2).toLongLong();
    result.ore = (negative ? -1 : 1) * (kronor * 100 + ore);
    return result;
}

// A payer number or bankgiro number in its display form. Separators and other non-digits go first,
// so that zeros behind them are leading zeros too: the file zero-fills the number and cannot keep
// them, and the row must read back as imported.
QString payerNumber(const QString& text)
{
    return FormatBankgiroNumber(DigitsOnly(text));
}

// The civic registration number as the mandate dialog leaves it when the field is left, with the
// century it implies today. A valid organisation number takes the form the file keeps: its digits.
QString normalizedPersonNumber(const QString& text)
{
    const QDate today = CurrentDate();
    if (IsPersonNumber(text))
        return NormalizePersonNumber(text, today);
    if (!CheckPersonNumber(text, today).isEmpty())
        return text;
    return FormatPersonNumber(DigitsOnly(text).right(12).rightJustified(12, QLatin1Char('0')));
}

struct ChangeColumns
{
    bool payer, paymentDate, newPaymentDate, amount;
};

// Which columns the cancellation and change dialog fills for a code.
std::optional<ChangeColumns> changeColumnsFor(int code)
{
    switch (code) {
    case 3:
    case 23:
        return ChangeColumns{true, false, false, false};
    case 24:
    case 28:
        return ChangeColumns{true, true, code == 28, false};
    case 25:
        return ChangeColumns{true, true, false, true};
    case 26:
        return ChangeColumns{false, false, true, false};
    case 27:
        return ChangeColumns{false, true, true, false};
    case 29:
        return ChangeColumns{true, true, true, true};
    default:
        return std::nullopt;
    }
}

struct PendingFinding
{
    ImportFinding finding;
    F field;
    int order;
};

class Importer
{
public:
    Importer(const CsvTable& table, const ColumnMapping& mapping, bool privateService, const QLocale& locale,
             AmountForm amountForm)
        : m_table(table), m_mapping(mapping), m_privateService(privateService), m_locale(locale),
          m_amountForm(amountForm), m_list(ImportListFor(mapping, privateService)), m_order(fieldsOf(m_list))
    {
        m_staging.PrivateService = privateService;
        m_staging.FillMakTexts();
    }

    ImportResult run(const ImportProgress& progress)
    {
        const int total = int(m_table.records.size());
        m_final.reserve(total);
        CsvRecords::Cursor cursor(m_table.records);
        CsvRecord record;
        for (int i = 0; cursor.next(record); ++i) {
            if (progress && i % 1024 == 0 && !progress(i, total))
                return cancelled();
            m_record = &record;
            importRecord();
            // A file that is wrong throughout would otherwise keep a finding per field of every line.
            if (m_findings.size() >= MostFindings) {
                m_stoppedAfterLine = record.line;
                break;
            }
        }
        m_record = nullptr;
        if (progress)
            progress(total, total);
        addRowCheckFindings();
        return result();
    }

private:
    // --- Reading the fields of one record ---

    QString rawText(F field) const
    {
        const int column = m_mapping.column(field);
        return column >= 0 && column < m_record->fields.size() ? m_record->fields[column] : QString();
    }
    // Blanks around a number or a choice are not part of it.
    QString text(F field) const { return rawText(field).trimmed(); }

    QString columnName(F field) const
    {
        const int column = m_mapping.column(field);
        const QString caption =
            column >= 0 && column < m_table.header.size() ? m_table.header[column].trimmed() : QString();
        return caption.isEmpty() ? ImportFieldName(field) : caption;
    }

    void fail(F field, const QString& message, int line = 0)
    {
        if (message.isEmpty())
            return;
        const int order = int(m_order.indexOf(field));
        m_findings.append({{line || !m_record ? line : m_record->line, columnName(field), message},
                           field,
                           order < 0 ? int(F::Count) : order});
    }

    // A field whose text goes into the row as it stands: it must fit the order file.
    QString freeText(F field, int maxLength = 0)
    {
        const QString value = rawText(field);
        // A line end or a tab in a quoted field would break the record it is written into.
        if (std::any_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 0x20; }))
            fail(field, QStringLiteral("%1 får inte innehålla radbrytningar eller tabbtecken")
                            .arg(ImportFieldName(field)));
        fail(field, CheckEncodable(value));
        if (maxLength > 0 && value.size() > maxLength)
            fail(field,
                 QStringLiteral("%1 får ha högst %2 tecken").arg(ImportFieldName(field)).arg(maxLength));
        return value;
    }

    void checkRecordLength()
    {
        for (qsizetype i = m_table.header.size(); i < m_record->fields.size(); ++i) {
            if (!m_record->fields[i].trimmed().isEmpty()) {
                m_findings.append({{m_record->line, QStringLiteral("Rad"),
                                    QStringLiteral("Raden har fler fält än rubrikraden. Ett fält med "
                                                   "skiljetecknet i sig ska stå inom citattecken.")},
                                   F::Count,
                                   -1});
                return;
            }
        }
    }

    // The amount in the checks' form (no grouping) and in the dialog's form (grouped).
    std::pair<QString, QString> amount(F field)
    {
        const QString value = text(field);
        const Amount read = readAmount(value);
        if (!read.problem.isEmpty()) {
            fail(field, read.problem);
            return {value, value};
        }
        const QString plain = FormatOreAmount(read.ore, m_locale);
        return {plain,
                m_amountForm == AmountForm::Plain ? plain : FormatAmount(double(read.ore) / 100.0, m_locale)};
    }

    QString choice(F field, const QStringList& texts, const QString& absent, const QString& what)
    {
        const QString value = text(field);
        if (value.isEmpty())
            return absent;
        if (const auto match = oneOf(texts, value))
            return *match;
        fail(field, QStringLiteral("%1 \u201D%2\u201D är okänd. Skriv %3.")
                        .arg(what, QuotedText::Short(value), texts.join(QStringLiteral(" eller "))));
        return value;
    }

    QString date(F field, bool now)
    {
        const QString value = text(field);
        if (now && value.compare(QLatin1String("GENAST"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("GENAST");
        if (IsRowDate(value))
            return value;
        const QString form = now ? QStringLiteral("ÅÅÅÅ-MM-DD eller GENAST") : QStringLiteral("ÅÅÅÅ-MM-DD");
        fail(field, value.isEmpty() ? QStringLiteral("%1 saknas").arg(ImportFieldName(field))
                                    : QStringLiteral("%1 \u201D%2\u201D ska skrivas %3")
                                          .arg(ImportFieldName(field), QuotedText::Short(value), form));
        return value;
    }

    QString count(const QString& period)
    {
        const QString value = text(F::Antal);
        if (period == RowTexts::oneOffPayment()) {
            if (!value.isEmpty() && value != QLatin1String("1"))
                fail(F::Antal, QStringLiteral("Antal ska vara 1 för en engångsbetalning"));
            return QStringLiteral("1");
        }
        if (value.isEmpty())
            return value;
        bool ok = value.size() <= 3 && std::all_of(value.begin(), value.end(), [](QChar c) {
                      return c >= QLatin1Char('0') && c <= QLatin1Char('9');
                  });
        if (!ok) {
            fail(F::Antal, QStringLiteral("Antal betalningar ska vara ett heltal från 0 till 999"));
            return value;
        }
        // No count and a count of 0 both mean until cancelled; the file has one form for them.
        return value.toInt() == 0 ? QString() : QString::number(value.toInt());
    }

    // --- One record into one row of each list ---

    void importRecord()
    {
        checkRecordLength();
        try {
            importFields();
        } catch (const std::invalid_argument&) {
            failLongestField();
        }
    }

    // A row holds at most ListRow's limit of text; a record beyond it fails at its longest field.
    void failLongestField()
    {
        F longest = m_order.first();
        for (F field : m_order) {
            if (rawText(field).size() > rawText(longest).size())
                longest = field;
        }
        fail(longest, QStringLiteral("Fältet har %1 tecken, men en rad får ha högst %2 tecken sammanlagt.")
                          .arg(rawText(longest).size())
                          .arg(ListRow::MaxText));
    }

    void importFields()
    {
        switch (m_list) {
        case ImportList::Payments:
            importPayment();
            break;
        case ImportList::Mandates:
            importMandate();
            break;
        case ImportList::CompanyMandates:
            importCompanyMandate();
            break;
        case ImportList::Changes:
            importChange();
            break;
        }
    }

    void importPayment()
    {
        const QString type =
            choice(F::Typ, TransactionTypeTexts(), RowTexts::debit(), QStringLiteral("Typen"));
        const auto [checked, shown] = amount(F::Belopp);
        const QString payDate = date(F::Betalningsdatum, true);
        const QString period = choice(F::Periodicitet, PeriodTexts(), RowTexts::oneOffPayment(),
                                      QStringLiteral("Periodiciteten"));
        const QString antal = count(period);
        const QString payerText = text(F::Betalarnummer);
        // The payer as the dialog leaves its field: digits without leading zeros, which the file
        // cannot keep.
        const QString payer = m_privateService ? StripLeadingZeros(DigitsOnly(payerText), false)
                                               : payerNumber(payerText);
        const QString reference = freeText(F::Referens, 16);
        m_staging.BtuList.append(type, {period, payDate, checked, antal, payer, reference});
        m_lines.btu.append(m_record->line);
        m_final.append(ListRow(type, {period, payDate, shown, antal, payer, reference}));
    }

    void importMandate()
    {
        const QStringList types = {RowTexts::paperMandate(), RowTexts::electronicMandate(),
                                   RowTexts::rejectedMandate()};
        const QString type = choice(F::Typ, types, RowTexts::paperMandate(), QStringLiteral("Typen"));
        const QString payer = payerNumber(text(F::Betalarnummer));
        const QString person = normalizedPersonNumber(text(F::Personnummer));
        fail(F::Personnummer, CheckEncodable(person));
        QString clearing;
        QString account;
        if (m_mapping.has(F::Konto)) {
            const QString both = text(F::Konto);
            if (both.contains(QLatin1Char('-'))) {
                const ClearingAccountParts parts = SplitClearingAccount(both);
                clearing = parts.clearing.toString();
                account = parts.account.toString();
            } else {
                const QString digits = DigitsOnly(both);
                clearing = digits.left(4);
                account = digits.mid(4);
            }
        } else {
            clearing = text(F::Clearingnummer);
            account = text(F::Kontonummer);
        }
        QString shownAccount;
        if (type == RowTexts::paperMandate()) {
            // The checks see the fields as typed; the row gets the formatted form once they pass.
            m_staging.MdgList.append(type, {payer, clearing + QLatin1Char('-') + account, person});
            m_lines.mdg.append(m_record->line);
            try {
                shownAccount = FormatClearingAccount(clearing, account);
            } catch (const ValmoError&) {
                shownAccount = clearing + QLatin1Char('-') + account;
            }
        } else {
            if (!clearing.isEmpty() && m_mapping.has(F::Clearingnummer))
                fail(F::Clearingnummer,
                     QStringLiteral("Ett elektroniskt medgivande har inget clearingnummer, "
                                    "bara ett id-nummer i kolumnen Kontonummer"));
            shownAccount = m_mapping.has(F::Konto) ? freeText(F::Konto) : freeText(F::Kontonummer);
            // The file zero-fills the id, so its leading zeros are not part of it.
            if (CheckMandateId(shownAccount).isEmpty())
                shownAccount = StripLeadingZeros(shownAccount, false);
            m_staging.MdgList.append(type, {payer, shownAccount, person});
            m_lines.mdg.append(m_record->line);
        }
        m_final.append(ListRow(type, {payer, shownAccount, person}));
    }

    void importCompanyMandate()
    {
        const QString payer = payerNumber(text(F::Betalarnummer));
        m_staging.MdgListComp.append(payer, {});
        m_lines.mdgComp.append(m_record->line);
        m_final.append(ListRow(payer, {}));
    }

    void importChange()
    {
        const QString description = text(F::Beskrivning);
        int code = -1;
        for (int i = 0; i < m_staging.MakTexts.size(); ++i) {
            if (!m_staging.MakTexts[i].isEmpty() &&
                m_staging.MakTexts[i].compare(description, Qt::CaseInsensitive) == 0)
                code = i;
        }
        const std::optional<ChangeColumns> columns = changeColumnsFor(code);
        if (!columns) {
            fail(F::Beskrivning,
                 description.isEmpty()
                     ? QStringLiteral("Beskrivning saknas")
                     : QStringLiteral(
                           "Beskrivningen \u201D%1\u201D är ingen av makuleringarna och ändringarna")
                           .arg(QuotedText::Short(description)));
            return;
        }
        const auto taken = [&](bool takes, F field, const auto& read) -> QString {
            if (takes)
                return read();
            if (!text(field).isEmpty())
                fail(field, QStringLiteral("%1 ska vara tom för \u201D%2\u201D")
                                .arg(ImportFieldName(field), m_staging.MakTexts[code]));
            return QString();
        };
        const QString payer = taken(columns->payer, F::Betalarnummer,
                                    [&] { return payerNumber(text(F::Betalarnummer)); });
        const QString payDate =
            taken(columns->paymentDate, F::Betalningsdatum, [&] { return date(F::Betalningsdatum, false); });
        const QString newDate =
            taken(columns->newPaymentDate, F::NyBetaldag, [&] { return date(F::NyBetaldag, false); });
        std::pair<QString, QString> sum;
        const QString checkedAmount = taken(columns->amount, F::Belopp, [&] {
            sum = amount(F::Belopp);
            return sum.first;
        });
        const QString type = taken(columns->amount, F::Transaktionstyp, [&] {
            const QString value = text(F::Transaktionstyp);
            if (const auto match = oneOf(TransactionTypeTexts(), value))
                return *match;
            fail(F::Transaktionstyp, QStringLiteral("Transaktionstyp ska vara Debitering eller Kreditering"));
            return value;
        });
        // Only the changes of one payment's date or amount (codes 25 and 29) carry a reference.
        const QString reference =
            taken(code == 25 || code == 29, F::Referens, [&] { return freeText(F::Referens, 16); });
        const QString codeText = QString::number(code);
        const QString caption = m_staging.MakTexts[code];
        m_staging.MakList.append(codeText, caption, {payer, payDate, newDate, checkedAmount, type, reference});
        m_lines.mak.append(m_record->line);
        m_final.append(ListRow(caption, {payer, payDate, newDate, sum.second, type, reference}));
        m_codes.append(codeText);
    }

    // --- The dialogs' rules over every row ---

    F fieldOfCheckColumn(const RowProblem& problem) const
    {
        if (problem.column == QLatin1String("Konto/id-nummer")) {
            if (m_mapping.has(F::Konto))
                return F::Konto;
            return problem.message == CheckClearingNumber(QString()) ? F::Clearingnummer : F::Kontonummer;
        }
        return FieldForCaption(problem.column);
    }

    void addRowCheckFindings()
    {
        const QList<RowProblem> problems = CheckDocumentRows(m_staging, m_lines, {});
        for (const RowProblem& problem : problems) {
            const F field = fieldOfCheckColumn(problem);
            if (field == F::Count) {
                m_findings.append({{problem.line, problem.column, problem.message}, field, int(F::Count)});
                continue;
            }
            fail(field, problem.message, problem.line);
        }
    }

    ImportResult result()
    {
        // One message per field, the first found; then line order, and the dialog's order within a line.
        std::stable_sort(
            m_findings.begin(), m_findings.end(), [](const PendingFinding& a, const PendingFinding& b) {
                return a.finding.line != b.finding.line ? a.finding.line < b.finding.line : a.order < b.order;
            });
        ImportResult out;
        out.list = m_list;
        for (qsizetype i = 0; i < m_findings.size(); ++i) {
            const PendingFinding& f = m_findings[i];
            const bool repeated = i > 0 && m_findings[i - 1].finding.line == f.finding.line &&
                                  m_findings[i - 1].field == f.field && f.field != F::Count;
            if (!repeated)
                out.findings.append(f.finding);
        }
        if (m_stoppedAfterLine > 0 || out.findings.size() > MostFindings)
            limitFindings(out.findings);
        if (out.findings.isEmpty()) {
            out.rows = std::move(m_final);
            out.codes = m_codes;
        }
        return out;
    }

    void limitFindings(QList<ImportFinding>& findings) const
    {
        const int total = int(findings.size());
        findings.resize(qMin(total, MostFindings));
        const QString shown = QLocale(QLocale::Swedish).toString(MostFindings);
        if (m_stoppedAfterLine > 0)
            findings.append({m_stoppedAfterLine, QStringLiteral("Fil"),
                             QStringLiteral("Importen slutade efter rad %1, där filen hade fler än %2 fel. "
                                            "Rätta felen ovan och importera filen igen.")
                                 .arg(m_stoppedAfterLine)
                                 .arg(shown)});
        else
            findings.append({findings.last().line, QStringLiteral("Fil"),
                             QStringLiteral("Filen har %1 fel; de första %2 visas.")
                                 .arg(QLocale(QLocale::Swedish).toString(total), shown)});
    }

    ImportResult cancelled()
    {
        ImportResult out;
        out.list = m_list;
        out.findings.append({0, QString(), QStringLiteral("Importen avbröts")});
        return out;
    }

    const CsvTable& m_table;
    const ColumnMapping& m_mapping;
    bool m_privateService;
    QLocale m_locale;
    AmountForm m_amountForm;
    ImportList m_list;
    QVector<F> m_order;
    const CsvRecord* m_record = nullptr;
    int m_stoppedAfterLine = 0;

    OrderDocument m_staging; // the rows in the form the checks read them
    RowLines m_lines;
    QVector<ListRow> m_final;
    QStringList m_codes;
    QList<PendingFinding> m_findings;
};

} // namespace

QString ImportFieldName(ImportField field)
{
    for (const FieldNames& names : AllFieldNames) {
        if (names.field == field)
            return QString::fromUtf8(names.name);
    }
    return QString();
}

ImportField FieldForCaption(const QString& caption)
{
    const QString wanted = comparable(caption);
    if (wanted.isEmpty())
        return F::Count;
    for (const FieldNames& names : AllFieldNames) {
        if (comparable(QString::fromUtf8(names.name)) == wanted)
            return names.field;
        for (const char* alias : names.aliases) {
            if (comparable(QString::fromUtf8(alias)) == wanted)
                return names.field;
        }
    }
    return F::Count;
}

bool ColumnMapping::isEmpty() const
{
    return std::all_of(m_columns.begin(), m_columns.end(), [](int column) { return column < 0; });
}

ColumnMapping MatchColumns(const QStringList& header)
{
    ColumnMapping mapping;
    for (int column = 0; column < header.size(); ++column) {
        const ImportField field = FieldForCaption(header[column]);
        if (field == F::Count)
            continue;
        if (mapping.has(field))
            throw ImportColumnsError(QStringLiteral("Kolumnerna %1 och %2 står båda för %3. Ta bort den ena.")
                                         .arg(QuotedText::Short(header[mapping.column(field)].trimmed()),
                                              QuotedText::Short(header[column].trimmed()),
                                              ImportFieldName(field)));
        mapping.set(field, column);
    }
    return mapping;
}

QString KnownColumnsText()
{
    return QStringLiteral(
        "Kända kolumner: för betaluppdrag Typ, Betalarnummer, Belopp, Betalningsdatum, Periodicitet, "
        "Antal och Referens; för medgivanden Betalarnummer, Clearingnummer och Kontonummer (eller Konto) "
        "och Personnummer (eller Organisationsnummer); för medgivanden under tjänsten Företag bara "
        "Betalarnummer; för makuleringar och ändringar Beskrivning, Betalarnummer, Betalningsdag, "
        "Ny betaldag, Belopp och Transaktionstyp.");
}

ImportList ImportListFor(const ColumnMapping& mapping, bool privateService)
{
    if (mapping.isEmpty())
        throw ImportColumnsError(
            QStringLiteral("Rubrikraden i filen namnger ingen kolumn som kan importeras. %1")
                .arg(KnownColumnsText()));
    const auto any = [&](std::initializer_list<F> fields) {
        return std::any_of(fields.begin(), fields.end(), [&](F field) { return mapping.has(field); });
    };
    ImportList list;
    if (any({F::Beskrivning, F::NyBetaldag, F::Transaktionstyp})) {
        list = ImportList::Changes;
        requireColumns(mapping, list, {F::Beskrivning});
    } else if (any({F::Belopp, F::Betalningsdatum, F::Periodicitet, F::Antal, F::Referens})) {
        list = ImportList::Payments;
        requireColumns(mapping, list, {F::Betalarnummer, F::Belopp, F::Betalningsdatum});
    } else if (any({F::Clearingnummer, F::Kontonummer, F::Konto, F::Personnummer})) {
        list = ImportList::Mandates;
        // Under Företag the private mandates are not shown: rows imported there would be unseen.
        if (!privateService)
            throw ImportColumnsError(QStringLiteral(
                "Medgivanden med konto och personnummer hör till tjänsten Privat, men tjänsten är Företag. "
                "Under Företag importeras medgivanden med bara kolumnen Betalarnummer."));
        requireColumns(mapping, list, {F::Betalarnummer, F::Personnummer});
        if (mapping.has(F::Konto) && (mapping.has(F::Kontonummer) || mapping.has(F::Clearingnummer)))
            throw ImportColumnsError(QStringLiteral(
                "Filen har både kolumnen Konto och Clearingnummer eller Kontonummer. Ta bort den ena."));
        requireColumns(mapping, list,
                       mapping.has(F::Konto) ? QVector<F>{} : QVector<F>{F::Clearingnummer, F::Kontonummer});
    } else if (!privateService) {
        list = ImportList::CompanyMandates;
        requireColumns(mapping, list, {F::Betalarnummer});
    } else {
        throw ImportColumnsError(
            QStringLiteral("En fil med bara Betalarnummer är medgivanden för företag, och "
                           "de importeras under tjänsten Företag. Medgivanden under tjänsten "
                           "Privat behöver också Clearingnummer, Kontonummer och Personnummer."));
    }
    requireOnlyColumnsOf(mapping, list);
    return list;
}

ImportResult ImportRows(const CsvTable& table, const ColumnMapping& mapping, bool privateService,
                        const QLocale& locale, const ImportProgress& progress, AmountForm amountForm)
{
    Importer importer(table, mapping, privateService, locale, amountForm);
    return importer.run(progress);
}

void AppendImportedRows(OrderDocument& document, const ImportResult& result)
{
    if (!result.succeeded() || result.rows.isEmpty())
        return;
    // While Loading is set the views are not told of each row; the caller's UpdateView tells them.
    QScopedValueRollback<bool> loading(document.Loading, true);
    switch (result.list) {
    case ImportList::Payments:
        document.BtuList.reserve(document.BtuList.count() + int(result.rows.size()));
        for (const ListRow& row : result.rows)
            document.BtuList.append(row);
        break;
    case ImportList::Mandates:
        document.MdgList.reserve(document.MdgList.count() + int(result.rows.size()));
        for (const ListRow& row : result.rows)
            document.MdgList.append(row);
        break;
    case ImportList::CompanyMandates:
        document.MdgListComp.reserve(document.MdgListComp.count() + int(result.rows.size()));
        for (const ListRow& row : result.rows)
            document.MdgListComp.append(row);
        break;
    case ImportList::Changes:
        document.MakList.reserve(document.MakList.count() + int(result.rows.size()));
        for (int i = 0; i < result.rows.size(); ++i)
            document.MakList.append(result.codes[i], result.rows[i]);
        break;
    }
    document.DocModified = true;
}
