#include "cli/CliArguments.h"

#include <QSet>

CliArguments::CliArguments(const QStringList& args) : m_args(args)
{
    // "-o" is the one short option; a word after one dash is a long option, never letters run together.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QString value = QStringLiteral("värde");
    m_parser.addOptions({
        {QStringLiteral("service"), QString(), value},
        {{QStringLiteral("o"), QStringLiteral("output")}, QString(), value},
        {QStringLiteral("customer"), QString(), value},
        {QStringLiteral("bankgiro"), QString(), value},
        {QStringLiteral("date"), QString(), value},
        {QStringLiteral("key-file"), QString(), value},
        {QStringLiteral("csv"), QString()},
        {QStringLiteral("now"), QString(), value},
        {QStringLiteral("json"), QString()},
        {QStringLiteral("register"), QString(), value},
    });
    m_parsed = m_parser.parse(args);
}

QString CliArguments::written(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

std::optional<QString> CliArguments::value(const QString& name) const
{
    if (!m_parser.isSet(name))
        return std::nullopt;
    return m_parser.value(name);
}

QString CliArguments::unknownOption() const
{
    const QStringList unknown = m_parser.unknownOptionNames();
    if (unknown.isEmpty())
        return QString();
    const QString& name = unknown.first();
    for (const QString& arg : m_args.mid(1)) {
        if (arg == QLatin1String("--"))
            break;
        const QString bare = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
        if (arg.startsWith(QLatin1Char('-')) && (bare == name || bare.startsWith(name + QLatin1Char('='))))
            return arg;
    }
    return written(name);
}

QString CliArguments::optionWithoutValue() const
{
    if (m_parsed || !m_parser.unknownOptionNames().isEmpty())
        return QString();
    return m_args.last();
}

QString CliArguments::repeatedOption() const
{
    QSet<QString> seen;
    for (const QString& name : m_parser.optionNames()) {
        const QString canonical = name == QLatin1String("output") ? QStringLiteral("o") : name;
        if (seen.contains(canonical))
            return written(name);
        seen.insert(canonical);
    }
    return QString();
}

QStringList CliArguments::givenOptions() const
{
    QStringList given;
    for (const QString& name : m_parser.optionNames())
        given.append(written(name));
    return given;
}

void CliArguments::refuseMissingValueAndRepeats() const
{
    const QString withoutValue = optionWithoutValue();
    if (!withoutValue.isEmpty())
        throw CliUsageError(QStringLiteral("%1 saknar värde").arg(withoutValue));
    const QString repeated = repeatedOption();
    if (!repeated.isEmpty())
        throw CliUsageError(QStringLiteral("Flaggan %1 anges två gånger").arg(repeated));
}

QString CliArguments::onlyFile(const QString& command, int index) const
{
    const QStringList args = positional();
    if (args.size() > index + 1)
        throw CliUsageError(QStringLiteral("Oväntat argument %1").arg(args[index + 1]));
    if (args.size() <= index || args[index].isEmpty())
        throw CliUsageError(QStringLiteral("Ange en fil till %1").arg(command));
    return args[index];
}
