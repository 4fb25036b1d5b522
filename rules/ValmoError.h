#pragma once

#include <QString>

#include <exception>

// A failure that a command reports to the user with exactly this text and then stops.
class ValmoError : public std::exception
{
public:
    explicit ValmoError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    const QString& text() const { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

// A text that could not be turned into a date, an integer or a floating point number.
class ConversionError : public ValmoError
{
public:
    using ValmoError::ValmoError;

    static ConversionError invalidDate(const QString& text)
    {
        return ConversionError(QStringLiteral("'%1' is not a valid date").arg(text));
    }
    static ConversionError invalidInteger(const QString& text)
    {
        return ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
    static ConversionError invalidFloat(const QString& text)
    {
        return ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    }
};

// The settings store could not read or write a value.
class SettingsError : public ValmoError
{
public:
    using ValmoError::ValmoError;

    static SettingsError invalidDataType(const QString& name)
    {
        return SettingsError(QStringLiteral("Invalid data type for '%1'").arg(name));
    }
    static SettingsError failedToSet(const QString& name)
    {
        return SettingsError(QStringLiteral("Failed to set data for '%1'").arg(name));
    }
};
