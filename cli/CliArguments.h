#pragma once

#include "rules/ValmoError.h"

#include <QCommandLineParser>
#include <QStringList>

#include <optional>

// A command line that is not in the form of the usage text; exit status 2.
class CliUsageError : public ValmoError
{
public:
    using ValmoError::ValmoError;
};

// valmo-cli's command line, read by QCommandLineParser. Every option of every command is known
// here; each command then says which of them it takes, so that its messages name the fault the
// way the usage text does. Options are named as they were written ("-o" or "--output").
class CliArguments
{
public:
    // args as main() has them, the program's name first.
    explicit CliArguments(const QStringList& args);

    // The positional arguments, the command first.
    QStringList positional() const { return m_parser.positionalArguments(); }
    std::optional<QString> value(const QString& name) const;
    bool isSet(const QString& name) const { return m_parser.isSet(name); }

    // The first option that no command knows, as written; empty when there is none.
    QString unknownOption() const;
    // The last argument when it is an option that wants a value; empty otherwise.
    QString optionWithoutValue() const;
    // The first option given a second time, as written then; empty when there is none.
    QString repeatedOption() const;
    // The options given, as written, in their order.
    QStringList givenOptions() const;

    // The faults every command refuses alike: an option without its value, one given twice.
    void refuseMissingValueAndRepeats() const;
    // The file the command reads, the one positional argument at index (a second is refused).
    QString onlyFile(const QString& command, int index) const;

private:
    static QString written(const QString& name);

    QStringList m_args;
    QCommandLineParser m_parser;
    bool m_parsed = false;
};
