#include "cli/RegisterOutput.h"

namespace {

constexpr qsizetype FlushBytes = 1 << 16;

void AppendJsonText(QByteArray& out, const QString& value)
{
    out += '"';
    // The bytes of a character beyond ASCII are all 0x80 or more: none needs escaping.
    for (const char c : value.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if (u == '"' || u == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
    out += '"';
}

void AppendCsvText(QByteArray& out, const QString& value)
{
    if (!value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('"')) &&
        !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r'))) {
        out += value.toUtf8();
        return;
    }
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    out += '"' + quoted.toUtf8() + '"';
}

} // namespace

RegisterOutput::RegisterOutput(FILE* stream, bool csv, const QStringList& keys)
    : m_stream(stream), m_csv(csv), m_keys(keys)
{
    if (m_csv) {
        for (const QString& k : keys) {
            if (m_column++ > 0)
                m_buffer += ';';
            AppendCsvText(m_buffer, k);
        }
        m_buffer += "\r\n";
        m_column = 0;
    } else {
        m_buffer += '[';
    }
}

RegisterOutput::~RegisterOutput()
{
    finish();
}

void RegisterOutput::key()
{
    if (m_csv) {
        if (m_column > 0)
            m_buffer += ';';
    } else {
        m_buffer += m_column == 0 ? (m_rows == 0 ? "\n  {" : ",\n  {") : ", ";
        AppendJsonText(m_buffer, m_keys.value(m_column));
        m_buffer += ": ";
    }
    ++m_column;
}

RegisterOutput& RegisterOutput::text(const QString& value)
{
    key();
    if (m_csv)
        AppendCsvText(m_buffer, value);
    else
        AppendJsonText(m_buffer, value);
    return *this;
}

RegisterOutput& RegisterOutput::number(qint64 value)
{
    key();
    m_buffer += QByteArray::number(value);
    return *this;
}

RegisterOutput& RegisterOutput::flag(bool value)
{
    key();
    m_buffer += m_csv ? (value ? "ja" : "nej") : (value ? "true" : "false");
    return *this;
}

void RegisterOutput::endRow()
{
    m_buffer += m_csv ? "\r\n" : "}";
    m_column = 0;
    ++m_rows;
    flush(false);
}

void RegisterOutput::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    if (!m_csv)
        m_buffer += m_rows == 0 ? "]\n" : "\n]\n";
    flush(true);
}

void RegisterOutput::flush(bool force)
{
    if (!force && m_buffer.size() < FlushBytes)
        return;
    std::fwrite(m_buffer.constData(), 1, size_t(m_buffer.size()), m_stream);
    m_buffer.clear();
}
