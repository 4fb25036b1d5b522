#pragma once

#include <QString>

#include <stdexcept>

// A failure of the register, with the Swedish sentence to show. The kind tells the caller which
// exit status or message box it is.
class RegisterError : public std::runtime_error
{
public:
    enum class Kind
    {
        Unusable,      // the database cannot be opened, is locked, damaged, foreign or full
        UnreadableFile, // a file to import or deliver cannot be read or is of no known kind
        OtherPayee,    // a file of another payee
        ReportGiven,   // deliver was given a report
    };

    RegisterError(Kind kind, const QString& message)
        : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message)
    {
    }

    Kind kind() const { return m_kind; }
    const QString& message() const { return m_message; }

private:
    Kind m_kind;
    QString m_message;
};
