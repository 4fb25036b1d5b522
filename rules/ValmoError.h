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
    ConversionError(QString message, QString value)
        : ValmoError(std::move(message)), m_value(std::move(value))
    {
    }

    static ConversionError invalidDate(const QString& text)
    {
        return ConversionError(QStringLiteral("'%1' är inte ett giltigt datum").arg(text), text);
    }
    static ConversionError invalidInteger(const QString& text)
    {
        return ConversionError(QStringLiteral("'%1' är inte ett giltigt heltal").arg(text), text);
    }
    static ConversionError invalidFloat(const QString& text)
    {
        return ConversionError(QStringLiteral("'%1' är inte ett giltigt tal").arg(text), text);
    }
    // The text that could not be converted, as far as it is known.
    const QString& value() const { return m_value; }

private:
    QString m_value;
};

// The settings store could not read or write a value.
class SettingsError : public ValmoError
{
public:
    using ValmoError::ValmoError;

    static SettingsError invalidDataType(const QString& name)
    {
        return SettingsError(
            QStringLiteral("Inställningen '%1' har fel datatyp och kan inte läsas").arg(name));
    }
    static SettingsError failedToSet(const QString& name)
    {
        return SettingsError(QStringLiteral("Inställningen '%1' kunde inte sparas").arg(name));
    }
};
