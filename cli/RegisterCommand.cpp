#include "cli/RegisterCommand.h"

#include "app/Clock.h"
#include "cli/RegisterOutput.h"
#include "cli/RegisterRetry.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterError.h"
#include "register/RegisterImporter.h"
#include "register/RegisterQuery.h"
#include "register/RegisterStates.h"
#include "register/RegisterText.h"
#include "rules/Extra.h"
#include "rules/Periods.h"

#include <QDir>
#include <QLocale>

#include <cstdio>
#include <optional>

namespace {

enum Status
{
    Done = 0,
    TotalsDisagree = 1,
    Failed = 2,
    ReportGiven = 3
};

const char* const UsageText =
    "Användning:\n"
    "  valmo-cli register [--register SÖKVÄG] deliver FIL\n"
    "  valmo-cli register [--register SÖKVÄG] import FIL... [--force]\n"
    "  valmo-cli register [--register SÖKVÄG] payers [--state S] [--csv]\n"
    "  valmo-cli register [--register SÖKVÄG] payments [--state S] [--payer N] [--from DATUM] [--to DATUM] [--csv]\n"
    "  valmo-cli register [--register SÖKVÄG] history BETALARNUMMER [--csv]\n"
    "  valmo-cli register [--register SÖKVÄG] retry [--from DATUM] [--to DATUM]\n"
    "Ett nytt register tar betalningsmottagaren från --bankgiro och --customer, annars från den första filen.\n";

class UsageError
{
public:
    explicit UsageError(const QString& message) : m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

void PrintLine(FILE* stream, const QString& text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

struct Arguments
{
    QString command;
    QStringList files;
    QString registerPath;
    std::optional<QString> state, payer, from, to, bankgiro, customer;
    bool force = false;
    bool csv = false;
    QStringList given;
};

// The options that take a value, and the commands that accept each option.
bool TakesValue(const QString& option)
{
    static const QStringList options = {QStringLiteral("--register"), QStringLiteral("--state"),
                                        QStringLiteral("--payer"),    QStringLiteral("--from"),
                                        QStringLiteral("--to"),       QStringLiteral("--bankgiro"),
                                        QStringLiteral("--customer")};
    return options.contains(option);
}

bool Accepts(const QString& command, const QString& option)
{
    if (option == QLatin1String("--register"))
        return true;
    if (command == QLatin1String("deliver"))
        return option == QLatin1String("--bankgiro") || option == QLatin1String("--customer");
    if (command == QLatin1String("import"))
        return option == QLatin1String("--force") || option == QLatin1String("--bankgiro") ||
               option == QLatin1String("--customer");
    if (command == QLatin1String("payers"))
        return option == QLatin1String("--state") || option == QLatin1String("--csv");
    if (command == QLatin1String("history"))
        return option == QLatin1String("--csv");
    if (command == QLatin1String("retry"))
        return option == QLatin1String("--from") || option == QLatin1String("--to");
    if (command == QLatin1String("payments"))
        return option != QLatin1String("--force") && option != QLatin1String("--bankgiro") &&
               option != QLatin1String("--customer");
    return false;
}

Arguments Parse(const QStringList& args)
{
    Arguments parsed;
    QStringList positional;
    for (int i = 2; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            positional.append(arg);
            continue;
        }
        if (parsed.given.contains(arg))
            throw UsageError(QStringLiteral("Flaggan %1 är angiven två gånger").arg(arg));
        parsed.given.append(arg);
        if (arg == QLatin1String("--force")) {
            parsed.force = true;
            continue;
        }
        if (arg == QLatin1String("--csv")) {
            parsed.csv = true;
            continue;
        }
        if (!TakesValue(arg))
            throw UsageError(QStringLiteral("Okänd flagga %1").arg(arg));
        if (i + 1 >= args.size())
            throw UsageError(QStringLiteral("Flaggan %1 saknar värde").arg(arg));
        const QString value = args[++i];
        if (arg == QLatin1String("--register"))
            parsed.registerPath = value;
        else if (arg == QLatin1String("--state"))
            parsed.state = value;
        else if (arg == QLatin1String("--payer"))
            parsed.payer = value;
        else if (arg == QLatin1String("--from"))
            parsed.from = value;
        else if (arg == QLatin1String("--to"))
            parsed.to = value;
        else if (arg == QLatin1String("--bankgiro"))
            parsed.bankgiro = value;
        else
            parsed.customer = value;
    }
    if (positional.isEmpty())
        throw UsageError(QStringLiteral("Kommandot saknas"));
    parsed.command = positional.takeFirst();
    parsed.files = positional;
    static const QStringList commands = {QStringLiteral("deliver"), QStringLiteral("import"),
                                         QStringLiteral("payers"), QStringLiteral("payments"),
                                         QStringLiteral("history"), QStringLiteral("retry")};
    if (!commands.contains(parsed.command))
        throw UsageError(QStringLiteral("Okänt kommando register %1").arg(parsed.command));
    for (const QString& option : parsed.given) {
        if (!Accepts(parsed.command, option))
            throw UsageError(QStringLiteral("Flaggan %1 hör inte till register %2").arg(option, parsed.command));
    }
    const bool oneFile = parsed.command == QLatin1String("deliver") || parsed.command == QLatin1String("history");
    const bool someFiles = parsed.command == QLatin1String("import");
    if ((oneFile && parsed.files.size() != 1) || (someFiles && parsed.files.isEmpty()) ||
        (!oneFile && !someFiles && !parsed.files.isEmpty()))
        throw UsageError(oneFile || someFiles
                             ? QStringLiteral("register %1 behöver %2").arg(parsed.command,
                                   parsed.command == QLatin1String("history") ? QStringLiteral("ett betalarnummer")
                                                                              : QStringLiteral("en fil"))
                             : QStringLiteral("register %1 tar inga filer").arg(parsed.command));
    return parsed;
}

QDate DateOption(const std::optional<QString>& value, const char* name)
{
    if (!value)
        return QDate();
    const QDate date = RegisterText::fromDateText(*value);
    if (!date.isValid())
        throw UsageError(QStringLiteral("%1 \"%2\" är inget datum (ÅÅÅÅ-MM-DD)").arg(QLatin1String(name), *value));
    return date;
}

QString StateOption(const std::optional<QString>& value, const QStringList& states)
{
    if (!value)
        return QString();
    if (!states.contains(*value) && *value != RegisterStates::withoutBasis())
        throw UsageError(QStringLiteral("Tillståndet \"%1\" finns inte. Välj bland: %2")
                             .arg(*value, states.join(QStringLiteral(", "))));
    return *value;
}

QString Amount(qint64 ore)
{
    return FormatOreAmount(ore, QLocale::c());
}

QString TypeText(const QString& type)
{
    return type == QLatin1String("32") ? CreditText() : DebitText();
}

void PrintSummary(const ImportSummary& summary)
{
    if (summary.alreadyImported) {
        PrintLine(stdout, QStringLiteral("%1: redan inläst, ingenting ändrades.").arg(summary.file));
        return;
    }
    PrintLine(stdout, QStringLiteral("%1: %2").arg(summary.file, summary.kind));
    for (auto it = summary.states.constBegin(); it != summary.states.constEnd(); ++it)
        PrintLine(stdout, QStringLiteral("  %1: %2").arg(it.key()).arg(it.value()));
    for (const UnplacedItem& item : summary.withoutBasis)
        PrintLine(stdout, QStringLiteral("  %1: rad %2, betalarnummer %3, %4")
                              .arg(RegisterStates::withoutBasis())
                              .arg(item.line)
                              .arg(item.payer, item.description));
}

int StatusOf(const RegisterError& error)
{
    return error.kind() == RegisterError::Kind::ReportGiven ? ReportGiven : Failed;
}

std::optional<RegisterPayee> PayeeOptions(const Arguments& arguments)
{
    if (!arguments.bankgiro)
        return std::nullopt;
    return RegisterPayee{RegisterText::digits(*arguments.bankgiro),
                         RegisterText::digits(arguments.customer.value_or(QString()))};
}

int Deliver(RegisterImporter& importer, const Arguments& arguments)
{
    PrintSummary(importer.deliver(arguments.files.first()));
    return Done;
}

// Each file is read on its own; a file that fails leaves the others as they are.
int Import(RegisterImporter& importer, const Arguments& arguments)
{
    int status = Done;
    for (const QString& file : arguments.files) {
        try {
            const ImportSummary summary = importer.import(file, arguments.force);
            if (summary.totalsDisagree) {
                PrintLine(stderr, QStringLiteral("%1: inte inläst, summorna stämmer inte med posterna: %2 "
                                                 "Använd --force för att läsa in den ändå.")
                                      .arg(file, summary.disagreements.join(QLatin1Char(' '))));
                status = qMax<int>(status, TotalsDisagree);
                continue;
            }
            PrintSummary(summary);
        } catch (const RegisterError& error) {
            if (error.kind() == RegisterError::Kind::Unusable)
                throw;
            PrintLine(stderr, error.message());
            status = Failed;
        }
    }
    return status;
}

int Payers(const RegisterDatabase& database, const Arguments& arguments)
{
    PayerFilter filter;
    filter.state = StateOption(arguments.state, RegisterStates::mandateStates());
    RegisterOutput out(stdout, arguments.csv,
                       {QStringLiteral("payer"), QStringLiteral("account"), QStringLiteral("identity"),
                        QStringLiteral("state"), QStringLiteral("code"), QStringLiteral("meaning"),
                        QStringLiteral("answerBy"), QStringLiteral("withoutBasis"), QStringLiteral("file"),
                        QStringLiteral("line")});
    RegisterQuery(database).payers(filter, [&](const RegisterPayerRow& row) {
        out.text(row.payer).text(row.account).text(row.identity).text(row.state).text(row.code).text(row.meaning);
        out.text(row.answerBy).flag(row.withoutBasis).text(row.file).number(row.line).endRow();
        return true;
    });
    return Done;
}

int Payments(const RegisterDatabase& database, const Arguments& arguments)
{
    PaymentFilter filter;
    filter.state = StateOption(arguments.state, RegisterStates::paymentStates());
    filter.payer = arguments.payer.value_or(QString());
    filter.from = DateOption(arguments.from, "--from");
    filter.to = DateOption(arguments.to, "--to");
    RegisterOutput out(stdout, arguments.csv,
                       {QStringLiteral("payer"), QStringLiteral("type"), QStringLiteral("date"),
                        QStringLiteral("newDate"), QStringLiteral("amount"), QStringLiteral("reference"),
                        QStringLiteral("state"), QStringLiteral("code"), QStringLiteral("meaning"),
                        QStringLiteral("withoutBasis"), QStringLiteral("file"), QStringLiteral("line")});
    // A million rows go from the register's bytes to the output without a QString between.
    const QByteArray credit = CreditText().toUtf8();
    const QByteArray debit = DebitText().toUtf8();
    RegisterQuery(database).paymentBytes(filter, [&](const RegisterPaymentBytes& row) {
        out.utf8(row.payer).utf8(row.type == "32" ? credit : debit).utf8(row.date).utf8(row.newDate);
        out.oreAmount(row.amount).utf8(row.reference).utf8(row.state).utf8(row.code).utf8(row.meaning);
        out.flag(row.withoutBasis).utf8(row.file).number(row.line).endRow();
        return true;
    });
    return Done;
}

int History(const RegisterDatabase& database, const Arguments& arguments)
{
    RegisterOutput out(stdout, arguments.csv,
                       {QStringLiteral("bankDate"), QStringLiteral("subject"), QStringLiteral("paymentDate"),
                        QStringLiteral("type"), QStringLiteral("amount"), QStringLiteral("state"),
                        QStringLiteral("code"), QStringLiteral("meaning"), QStringLiteral("newDate"),
                        QStringLiteral("file"), QStringLiteral("line"), QStringLiteral("importedAt")});
    RegisterQuery(database).history(arguments.files.first(), [&](const RegisterHistoryRow& row) {
        out.text(row.bankDate).text(row.payment ? QStringLiteral("Betalning") : QStringLiteral("Medgivande"));
        out.text(row.paymentDate).text(row.payment ? TypeText(row.type) : QString());
        out.text(row.payment ? Amount(row.amount) : QString()).text(row.state).text(row.code).text(row.meaning);
        out.text(row.newDate).text(row.file).number(row.line).text(row.importedAt).endRow();
        return true;
    });
    return Done;
}

int Run(const Arguments& arguments)
{
    const QString path =
        arguments.registerPath.isEmpty() ? RegisterDatabase::defaultPath() : arguments.registerPath;
    RegisterDatabase database(path);
    if (arguments.command == QLatin1String("deliver") || arguments.command == QLatin1String("import")) {
        RegisterImporter importer(database, Clock::system());
        if (const std::optional<RegisterPayee> payee = PayeeOptions(arguments))
            importer.setDefaultPayee(*payee);
        return arguments.command == QLatin1String("deliver") ? Deliver(importer, arguments)
                                                             : Import(importer, arguments);
    }
    if (arguments.command == QLatin1String("payers"))
        return Payers(database, arguments);
    if (arguments.command == QLatin1String("payments"))
        return Payments(database, arguments);
    if (arguments.command == QLatin1String("retry"))
        return RunRegisterRetry(database, DateOption(arguments.from, "--from"), DateOption(arguments.to, "--to"),
                                Clock::system().now());
    return History(database, arguments);
}

} // namespace

int RunRegisterCommand(const QStringList& args)
{
    try {
        if (args.contains(QLatin1String("--help"))) {
            std::fputs(UsageText, stdout);
            return Done;
        }
        const int status = Run(Parse(args));
        // A full disk shows only when the buffered output is flushed: the listing is then not done.
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            PrintLine(stderr, QStringLiteral("Utdata kunde inte skrivas."));
            return Failed;
        }
        return status;
    } catch (const UsageError& error) {
        PrintLine(stderr, error.message());
        std::fputs(UsageText, stderr);
        return Failed;
    } catch (const RegisterError& error) {
        PrintLine(stderr, error.message());
        return StatusOf(error);
    }
}
