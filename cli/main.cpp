#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "calendar/DeliveryCheck.h"
#include "cli/CliArguments.h"
#include "cli/CalendarCommand.h"
#include "cli/CheckFindings.h"
#include "cli/CheckRegister.h"
#include "cli/CliReader.h"
#include "cli/DocumentJson.h"
#include "cli/ImportCommand.h"
#include "cli/InputFile.h"
#include "cli/OutputTarget.h"
#include "cli/RegisterCommand.h"
#include "cli/ReportCommand.h"
#include "cli/SealCommands.h"
#include "format/OrderFileWriter.h"
#include "rules/Check.h"
#include "rules/Extra.h"
#include "rules/QuotedText.h"
#include "rules/RowChecks.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTextStream>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <future>
#include <optional>

namespace {

enum ExitStatus
{
    Success = 0,
    ProblemsFound = 1,
    Failure = 2,
    ShownInstead = 3
};

const char* const UsageText =
    "Användning:\n"
    "  valmo-cli read FILE [--service Privat|Företag]\n"
    "  valmo-cli write DOC.json -o FILE [--customer N] [--bankgiro N] [--date YYYY-MM-DD]\n"
    "                 [--service Privat|Företag]\n"
    "  valmo-cli check FILE [--service Privat|Företag] [--now YYYY-MM-DDTHH:MM] [--json]\n"
    "                 [--register PATH]\n"
    "  valmo-cli calendar ÅR\n"
    "  valmo-cli hmac FILE --key-file NYCKELFIL\n"
    "  valmo-cli seal FILE -o UTFIL --key-file NYCKELFIL [--date YYYY-MM-DD]\n"
    "  valmo-cli verify FILE --key-file NYCKELFIL\n"
    "  valmo-cli report FILE [--csv]\n"
    "  valmo-cli import FILE.csv [--service Privat|Företag]\n"
    "  valmo-cli register [--register PATH] deliver|import|payers|payments|history ...\n"
    "  valmo-cli --help | --version\n"
    "\n"
    "read   skriver dokumentet i en Autogirofil som JSON.\n"
    "write  skriver en Autogirofil från ett JSON-dokument.\n"
    "check  kontrollerar varje rad i en Autogirofil som inmatningsdialogerna gör, och filen mot\n"
    "       bankens kalender och tidsgränser (--now: vid en given tidpunkt; --json: som JSON),\n"
    "       och mot registret när ett finns (--register: ett annat register än standardregistret).\n"
    "calendar skriver årets vardagar som inte är bankdagar.\n"
    "hmac   skriver MAC för filens normaliserade innehåll (Bankgirots sigill, HMAC-SHA256).\n"
    "seal   skriver filen förseglad med sigill; en förseglad fil förseglas på nytt.\n"
    "verify kontrollerar filens sigill: 0 stämmer, 1 stämmer inte eller saknas.\n"
    "Sigillnyckeln (32 hexadecimala tecken) läses bara ur en fil, aldrig från kommandoraden.\n"
    "report skriver en rapportfil från Bankgirot som JSON, eller med --csv dess poster som CSV.\n"
    "import läser betaluppdrag eller medgivanden ur en CSV-fil och skriver dem som JSON.\n"
    "register för Autogiroregistret: betalare, medgivanden och betalningar.\n"
    "Slutstatus: 0 klart, 1 fel hittade (check, write, import), 2 fel, 3 filen kan bara visas.\n";

void printOut(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

// A message of several lines joined into one, so that every error and every problem that check
// reports stays on a line of its own.
QString oneLine(const QString& text)
{
    QStringList parts = text.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
    QString line;
    for (const QString& part : parts) {
        if (!line.isEmpty())
            line += line.endsWith(QLatin1Char('.')) ? QStringLiteral(" ") : QStringLiteral(": ");
        line += part;
    }
    return line;
}

// Messages quote file content; its control characters are escaped so that a hostile file cannot
// drive the user's terminal.
void printLine(FILE* stream, const QString& text)
{
    const QByteArray bytes = (QuotedText::EscapeControls(text) + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

using UsageError = CliUsageError;

struct Options
{
    QString command;
    QString input;
    QString output;
    std::optional<QString> service;
    std::optional<QString> customer;
    std::optional<QString> bankgiro;
    std::optional<QString> date;
    std::optional<QString> now;
    std::optional<QString> registerPath;
    bool json = false;
};

// The options each command takes; any other is refused rather than silently ignored.
bool optionBelongsTo(const QString& option, const QString& command)
{
    if (option == QLatin1String("--service"))
        return true;
    if (option == QLatin1String("--now") || option == QLatin1String("--json") ||
        option == QLatin1String("--register"))
        return command == QLatin1String("check");
    return command == QLatin1String("write");
}

void refuseMisplacedOptions(const Options& options, const QStringList& given)
{
    const QStringList commands = {QStringLiteral("read"), QStringLiteral("write"), QStringLiteral("check"),
                                  QStringLiteral("import")};
    if (!commands.contains(options.command))
        return; // an unknown command is named as such
    for (const QString& option : given) {
        if (!optionBelongsTo(option, options.command))
            throw UsageError(QStringLiteral("Flaggan %1 hör inte till %2").arg(option, options.command));
    }
}

Options parseOptions(const QStringList& args)
{
    const CliArguments arguments(args);
    QString unknown = arguments.unknownOption();
    // The seal's and the report's options belong to no command read here.
    for (const QString& option : arguments.givenOptions()) {
        if (unknown.isEmpty() && (option == QLatin1String("--key-file") || option == QLatin1String("--csv")))
            unknown = option;
    }
    if (!unknown.isEmpty())
        throw UsageError(QStringLiteral("Okänd flagga %1").arg(unknown));
    arguments.refuseMissingValueAndRepeats();
    Options options;
    options.command = arguments.positional().value(0);
    if (options.command.isEmpty())
        throw UsageError(QStringLiteral("Ange ett kommando: read, write eller check"));
    options.input = arguments.onlyFile(options.command, 1);
    refuseMisplacedOptions(options, arguments.givenOptions());
    options.service = arguments.value(QStringLiteral("service"));
    options.output = arguments.value(QStringLiteral("o")).value_or(QString());
    options.customer = arguments.value(QStringLiteral("customer"));
    options.bankgiro = arguments.value(QStringLiteral("bankgiro"));
    options.date = arguments.value(QStringLiteral("date"));
    options.now = arguments.value(QStringLiteral("now"));
    options.json = arguments.isSet(QStringLiteral("json"));
    options.registerPath = arguments.value(QStringLiteral("register"));
    return options;
}

bool privateServiceFor(const Options& options, const QString& documentService = QString())
{
    if (options.service)
        return ParseServiceName(*options.service);
    if (!documentService.isEmpty())
        return ParseServiceName(documentService);
    return SettingsStore::readPrivateService();
}

void requireExistingFile(const QString& path)
{
    RequireInputFile(path);
}

// The document of the one command this process runs. It is left to the end of the process rather
// than destroyed: freeing a million rows one by one takes longer than the exit that frees them all.
OrderDocument& documentOfTheRun()
{
    return *new OrderDocument;
}

// Reads the order file named on the command line into the (empty) document.
CliReadResult readInputFile(const Options& options, OrderDocument& document)
{
    requireExistingFile(options.input);
    document.FillMakTexts();
    document.PrivateService = privateServiceFor(options);
    return ReadOrderFileForCli(options.input, document);
}

// Standard output is buffered: a full disk or a closed pipe shows only when it is flushed.
void finishStandardOutput()
{
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (flushed && !std::ferror(stdout))
        return;
    const QString reason = !flushed && error != 0 ? QString::fromLocal8Bit(std::strerror(error))
                                                  : QStringLiteral("Skrivningen misslyckades");
    throw ValmoError(QStringLiteral("Utdata kunde inte skrivas: %1").arg(reason));
}

int runRead(const Options& options)
{
    OrderDocument& document = documentOfTheRun();
    const CliReadResult result = readInputFile(options, document);
    if (result.shownInstead) {
        printOut(ShownInsteadJson(result.message, result.line));
        return ShownInstead;
    }
    QFile out;
    // Unbuffered: each chunk of JSON goes straight on, so a failure is seen with its reason.
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    WriteDocumentJson(out, document, result.openingRecords);
    finishStandardOutput(); // while out is open: closing it would flush and lose the reason
    return Success;
}

// Prints each finding as FILE:LINE: COLUMN: message; true when there is none.
bool reportRowProblems(const QString& file, const QList<RowProblem>& problems, FILE* stream = stderr)
{
    for (const RowProblem& problem : problems)
        printLine(stream, QStringLiteral("%1:%2: %3: %4")
                              .arg(file)
                              .arg(problem.line)
                              .arg(problem.column, oneLine(problem.message)));
    return problems.isEmpty();
}

// A file read without a single record: nothing in it could be delivered.
bool holdsNoRecords(const OrderDocument& document, const CliReadResult& result)
{
    return result.openingRecords.isEmpty() && document.BtuList.count() == 0 &&
           document.MdgList.count() == 0 && document.MdgListComp.count() == 0 &&
           document.MakList.count() == 0;
}

int runCheck(const Options& options)
{
    const QDateTime now = CheckMoment(options.now);
    OrderDocument& document = documentOfTheRun();
    const CliReadResult result = readInputFile(options, document);
    if (result.shownInstead && options.json) {
        printOut(ShownInsteadJson(result.message, result.line));
        return ShownInstead;
    }
    if (result.shownInstead) {
        printLine(
            stdout,
            QStringLiteral("%1:%2: %3").arg(options.input).arg(result.line).arg(oneLine(result.message)));
        return ShownInstead;
    }
    if (holdsNoRecords(document, result)) {
        printLine(stdout,
                  QStringLiteral("%1: Filen innehåller inga poster: den är tom eller har bara tomma rader.")
                      .arg(options.input));
        return ProblemsFound;
    }
    const QList<RowProblem> problems = CheckDocumentRows(document, result.rowLines, result.openingRecords);
    const QList<DeliveryFinding> findings =
        CheckDelivery(document, now) + RegisterWarningsForCheck(document, options.registerPath, stderr);
    return PrintCheckFindings(stdout, options.input, problems, findings, result.rowLines, options.json)
               ? Success
               : ProblemsFound;
}

QDate parseDateOption(const QString& text)
{
    try {
        return ParseDateText(text);
    } catch (const ConversionError&) {
        throw UsageError(QStringLiteral("--date ska vara ett datum i formen ÅÅÅÅ-MM-DD, inte %1").arg(text));
    }
}

// Numbers given on the command line pass the checks of the settings dialog, as stored ones have:
// the writer would otherwise cut a long customer number or zero-fill a mistyped bankgiro number.
void refuseNumbersTheSettingsWouldRefuse(const Options& options)
{
    constexpr int CustomerNumberLength = 6;
    if (options.customer && options.customer->size() > CustomerNumberLength)
        throw UsageError(QStringLiteral("--customer %1: kundnumret har högst %2 tecken")
                             .arg(*options.customer)
                             .arg(CustomerNumberLength));
    static const QRegularExpression customerDigits(QStringLiteral("^[0-9]{1,6}$"));
    if (options.customer && !customerDigits.match(*options.customer).hasMatch())
        throw UsageError(
            QStringLiteral("--customer %1: kundnumret ska vara en till sex siffror").arg(*options.customer));
    if (options.bankgiro) {
        const QString message = CheckBankgiroNumber(FormatBankgiroNumber(DigitsOnly(*options.bankgiro)));
        if (!message.isEmpty())
            throw UsageError(QStringLiteral("--bankgiro %1: %2").arg(*options.bankgiro, message));
    }
}

// Writing the order file over the JSON document would lose the document.
void refuseOutputOverInput(const Options& options)
{
    const QFileInfo input(options.input);
    const QFileInfo output(options.output);
    if (output.exists() && input.exists() && output.canonicalFilePath() == input.canonicalFilePath())
        throw UsageError(QStringLiteral("-o %1 är samma fil som JSON-dokumentet").arg(options.output));
}

// The checks of a document's rows on a thread of their own, started at once; problems() waits
// for them.
class RowCheckRun
{
public:
    RowCheckRun(const OrderDocument& document, const JsonRowPlaces& places)
        : m_result(std::async(std::launch::async,
                              [&document, &places] { return CheckJsonDocumentRows(document, places); }))
    {
    }
    const QList<RowProblem>& problems()
    {
        if (!m_reported) {
            m_problems = m_result.get();
            m_reported = true;
        }
        return m_problems;
    }
    bool reported() const { return m_reported; }

private:
    std::future<QList<RowProblem>> m_result;
    QList<RowProblem> m_problems;
    bool m_reported = false;
};

int runWrite(const Options& options)
{
    if (options.output.isEmpty())
        throw UsageError(QStringLiteral("Ange målfilen med -o FIL"));
    refuseOutputOverInput(options);
    refuseNumbersTheSettingsWouldRefuse(options);
    RefuseOutputThatIsNoFile(options.output);
    std::optional<FixedClock> fixedClock;
    if (options.date)
        fixedClock.emplace(parseDateOption(*options.date));
    RequireInputFile(options.input);
    QFile input(options.input);
    if (!input.open(QIODevice::ReadOnly))
        throw ValmoError(
            QStringLiteral("Filen %1 kunde inte läsas: %2").arg(options.input, input.errorString()));
    OrderDocument& document = documentOfTheRun();
    document.FillMakTexts();
    JsonRowPlaces places;
    const QString service = DocumentFromJson(input, document, places);
    document.PrivateService = privateServiceFor(options, service);
    // The rows are checked while the file is written; the new file replaces the old only when
    // every row passes, and problems found in the rows come before any failure of the save.
    RowCheckRun checks(document, places);
    const auto rowsPass = [&] { return reportRowProblems(options.input, checks.problems()); };

    PayeeNumbers payee;
    payee.customerNumber = options.customer ? *options.customer : SettingsStore::customerNumber();
    payee.bankgiroNumber = options.bankgiro ? *options.bankgiro : SettingsStore::bankgiroNumber();
    if (payee.customerNumber.isEmpty() || payee.bankgiroNumber.isEmpty()) {
        if (!rowsPass())
            return ProblemsFound;
        throw ValmoError(QStringLiteral("Filen kan inte sparas eftersom inställningarna inte är godkända."));
    }

    const Clock& clock = fixedClock ? static_cast<const Clock&>(*fixedClock) : Clock::system();
    try {
        return SaveOrderFileIf(options.output, document, payee, clock, rowsPass) ? Success : ProblemsFound;
    } catch (...) {
        if (!checks.reported() && !rowsPass())
            return ProblemsFound;
        throw;
    }
}

int run(const QStringList& args)
{
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::fputs(UsageText, stdout);
        return Success;
    }
    if (args.contains(QLatin1String("--version"))) {
        printLine(stdout, QStringLiteral("valmo-cli %1").arg(QStringLiteral(VALMO_VERSION_TEXT)));
        return Success;
    }
    if (IsSealCommand(args.value(1)))
        return RunSealCommand(args);
    if (args.size() > 1 && args[1] == QLatin1String("report"))
        return RunReportCommand(args);
    if (args.size() > 1 && args[1] == QLatin1String("register"))
        return RunRegisterCommand(args);
    if (args.size() > 1 && args[1] == QLatin1String("calendar"))
        return RunCalendarCommand(args);
    const Options options = parseOptions(args);
    if (options.command == QLatin1String("read"))
        return runRead(options);
    if (options.command == QLatin1String("write"))
        return runWrite(options);
    if (options.command == QLatin1String("check"))
        return runCheck(options);
    if (options.command == QLatin1String("import"))
        return RunImportCommand(options.input, options.service);
    throw UsageError(QStringLiteral("Okänt kommando %1").arg(options.command));
}

int runAndFinish(const QStringList& args)
{
    const int status = run(args);
    finishStandardOutput();
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    // Under a file-size limit a write is refused with its reason (EFBIG) instead of ending the
    // process: the save then reports it like a full disk, and the old file stays as it was.
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("valmo-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VALMO_VERSION_TEXT));
    try {
        return runAndFinish(QCoreApplication::arguments());
    } catch (const UsageError& error) {
        printLine(stderr, QStringLiteral("valmo-cli: %1 (se valmo-cli --help)").arg(oneLine(error.text())));
    } catch (const ValmoError& error) {
        printLine(stderr, QStringLiteral("valmo-cli: %1").arg(oneLine(error.text())));
    } catch (const std::exception& error) {
        printLine(stderr, QStringLiteral("valmo-cli: %1").arg(oneLine(QString::fromUtf8(error.what()))));
    }
    return Failure;
}
