#include "cli/SealCommands.h"

#include "cli/CliArguments.h"
#include "cli/CliReader.h"
#include "cli/InputFile.h"
#include "format/Seal.h"
#include "format/SealOnOpen.h"
#include "format/SealOnSave.h"
#include "rules/QuotedText.h"
#include "rules/ValmoError.h"

#include <QDate>
#include <QFile>

#include <cstdio>
#include <optional>

namespace {

constexpr int Matches = 0;
constexpr int DoesNotMatch = 1;
constexpr qint64 LongestKeyFile = 1024;

struct SealOptions
{
    QString command;
    QString input;
    QString output;
    QString keyFile;
    std::optional<QString> date;
};

void printLine(const QString& text)
{
    const QByteArray bytes = (QuotedText::EscapeControls(text) + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void refuseOptionsNotTaken(const CliArguments& arguments, const QString& command)
{
    const QString unknown = arguments.unknownOption();
    if (unknown == QLatin1String("--key") || unknown.startsWith(QLatin1String("--key=")))
        throw CliUsageError(QStringLiteral("Sigillnyckeln tas aldrig från kommandoraden, där andra användare "
                                           "kan se den: ange en fil med --key-file"));
    QString misplaced = unknown;
    const bool seal = command == QLatin1String("seal");
    for (const QString& option : arguments.givenOptions()) {
        const bool taken = option == QLatin1String("--key-file") ||
                           (seal && (option == QLatin1String("-o") || option == QLatin1String("--output") ||
                                     option == QLatin1String("--date")));
        if (misplaced.isEmpty() && !taken)
            misplaced = option;
    }
    if (!misplaced.isEmpty())
        throw CliUsageError(QStringLiteral("Flaggan %1 hör inte till %2").arg(misplaced, command));
}

SealOptions parse(const QStringList& args)
{
    const CliArguments arguments(args);
    SealOptions options;
    options.command = args.value(1);
    refuseOptionsNotTaken(arguments, options.command);
    arguments.refuseMissingValueAndRepeats();
    options.input = arguments.onlyFile(options.command, 1);
    options.keyFile = arguments.value(QStringLiteral("key-file")).value_or(QString());
    options.output = arguments.value(QStringLiteral("o")).value_or(QString());
    options.date = arguments.value(QStringLiteral("date"));
    if (options.keyFile.isEmpty())
        throw CliUsageError(QStringLiteral("Ange sigillnyckelns fil med --key-file FIL"));
    if (options.command == QLatin1String("seal") && options.output.isEmpty())
        throw CliUsageError(QStringLiteral("Ange målfilen med -o FIL"));
    return options;
}

QByteArray readFile(const QString& path, qint64 longest = -1)
{
    RequireInputFile(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ValmoError(QStringLiteral("Filen %1 kunde inte läsas: %2").arg(path, file.errorString()));
    if (longest >= 0 && file.size() > longest)
        throw ValmoError(QStringLiteral("Nyckelfilen %1 är för stor för en sigillnyckel").arg(path));
    return file.readAll();
}

SealKey readKey(const QString& path)
{
    const QString text = QString::fromLatin1(readFile(path, LongestKeyFile));
    const std::optional<SealKey> key = SealKey::fromText(text);
    if (!key)
        throw ValmoError(QStringLiteral("Nyckelfilen %1: %2").arg(path, SealKey::problemWith(text)));
    return *key;
}

QDate sealDate(const std::optional<QString>& text)
{
    if (!text)
        return QDate::currentDate();
    const QDate date = QDate::fromString(*text, Qt::ISODate);
    // The seal records carry the date as yymmdd.
    if (!date.isValid() || text->size() != 10 || date.year() < 2000 || date.year() > 2099)
        throw CliUsageError(
            QStringLiteral("--date ska vara ett datum i formen ÅÅÅÅ-MM-DD mellan 2000 och 2099, inte %1")
                .arg(*text));
    return date;
}

// The records to seal: a sealed file loses its old seal. Ctrl-Z ends an order file; anything but
// line ends after it would be lost without the user knowing, so such a file is refused.
QByteArray recordsToSeal(const QString& path, const QByteArray& bytes)
{
    const Seal::Contents contents = Seal::Read(bytes);
    if (contents.state == Seal::Contents::State::Damaged)
        throw ValmoError(
            QStringLiteral("Filen %1: %2").arg(path, Seal::CheckText(Seal::Check::Damaged, contents)));
    // Sealing afresh would drop what follows the old seal record.
    if (contents.textAfterSeal)
        throw ValmoError(
            QStringLiteral("Filen %1: %2").arg(path, Seal::CheckText(Seal::Check::TextAfterSeal, contents)));
    QByteArray records = contents.orderBytes;
    const qsizetype end = records.indexOf('\x1a');
    if (end >= 0) {
        for (char c : records.sliced(end)) {
            if (c != '\x1a' && c != '\r' && c != '\n')
                throw ValmoError(
                    QStringLiteral("Filen %1 har text efter filslutstecknet (Ctrl-Z)").arg(path));
        }
        records.truncate(end);
    }
    return records;
}

int runHmac(const SealOptions& options)
{
    const SealKey key = readKey(options.keyFile);
    printLine(Seal::Mac(readFile(options.input), key));
    return Matches;
}

int runSeal(const SealOptions& options)
{
    const SealKey key = readKey(options.keyFile);
    const QDate date = sealDate(options.date);
    const QByteArray records = recordsToSeal(options.input, readFile(options.input));
    WriteFileAtomically(options.output, Seal::SealedFile(records, key, date));
    return Matches;
}

int runVerify(const SealOptions& options)
{
    const SealKey key = readKey(options.keyFile);
    const Seal::Contents contents = Seal::Read(readFile(options.input));
    const Seal::Check check = Seal::Verify(contents, key);
    printLine(QStringLiteral("%1: %2").arg(options.input, Seal::CheckText(check, contents)));
    return check == Seal::Check::Matches ? Matches : DoesNotMatch;
}

} // namespace

bool IsSealCommand(const QString& command)
{
    return command == QLatin1String("hmac") || command == QLatin1String("seal") ||
           command == QLatin1String("verify");
}

int RunSealCommand(const QStringList& args)
{
    const SealOptions options = parse(args);
    if (options.command == QLatin1String("hmac"))
        return runHmac(options);
    if (options.command == QLatin1String("seal"))
        return runSeal(options);
    return runVerify(options);
}

SealedInput::SealedInput(QIODevice& file) : m_file(file)
{
    if (!Seal::BeginsWithSeal(file.peek(12)))
        return;
    const Seal::Contents contents = Seal::Read(file.readAll());
    m_inside.setData(contents.orderBytes);
    m_inside.open(QIODevice::ReadOnly);
    m_linesBefore = contents.linesBefore;
}

QIODevice& SealedInput::device()
{
    return m_linesBefore > 0 ? static_cast<QIODevice&>(m_inside) : m_file;
}

void SealedInput::shiftLines(CliReadResult& result) const
{
    if (m_linesBefore == 0)
        return;
    ReadVerdict verdict;
    verdict.outcome = ReadVerdict::Outcome::LineUnreadable;
    verdict.lineNumber = result.line;
    verdict.message = result.message;
    verdict = SealOnOpen::inFileLines(verdict, m_linesBefore);
    result.line = verdict.lineNumber;
    result.message = verdict.message;
    for (OpeningRecordEntry& entry : result.openingRecords)
        entry.line += m_linesBefore;
    for (QVector<int>* lines :
         {&result.rowLines.btu, &result.rowLines.mdg, &result.rowLines.mdgComp, &result.rowLines.mak}) {
        for (int& line : *lines)
            line += m_linesBefore;
    }
}
