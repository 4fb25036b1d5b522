#include "cli/RegisterOutput.h"

#include <charconv>

namespace {

constexpr size_t FlushBytes = 1 << 18;

bool NeedsJsonEscape(char c)
{
    // The bytes of a character beyond ASCII are all 0x80 or more: none needs escaping.
    const auto u = static_cast<unsigned char>(c);
    return u == '"' || u == '\\' || u < 0x20;
}

void AppendJsonText(std::string& out, QByteArrayView value)
{
    out += '"';
    const char* const end = value.data() + value.size();
    const char* plain = value.data();
    for (const char* at = plain; at != end; ++at) {
        if (!NeedsJsonEscape(*at))
            continue;
        out.append(plain, at - plain);
        plain = at + 1;
        const auto u = static_cast<unsigned char>(*at);
        if (u == '"' || u == '\\') {
            out += '\\';
            out += *at;
        } else {
            out += "\\u00";
            out += "0123456789abcdef"[u >> 4];
            out += "0123456789abcdef"[u & 0xf];
        }
    }
    out.append(plain, end - plain);
    out += '"';
}

void AppendCsvText(std::string& out, QByteArrayView value)
{
    bool quote = false;
    for (const char c : value) {
        if (c == ';' || c == '"' || c == '\n' || c == '\r') {
            quote = true;
            break;
        }
    }
    if (!quote) {
        out.append(value.data(), size_t(value.size()));
        return;
    }
    out += '"';
    for (const char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

RegisterOutput::RegisterOutput(FILE* stream, bool csv, const QStringList& keys)
    : m_stream(stream), m_csv(csv)
{
    m_buffer.reserve(FlushBytes + 4096);
    if (m_csv) {
        for (const QString& k : keys) {
            if (m_column++ > 0)
                m_buffer += ';';
            AppendCsvText(m_buffer, k.toUtf8());
        }
        m_buffer += "\r\n";
        m_column = 0;
    } else {
        m_buffer += '[';
        for (const QString& k : keys) {
            std::string prefix = m_keyPrefixes.empty() ? std::string() : std::string(", ");
            AppendJsonText(prefix, k.toUtf8());
            m_keyPrefixes.push_back(prefix + ": ");
        }
        const std::string first = m_keyPrefixes.empty() ? std::string("\"\": ") : m_keyPrefixes.front();
        m_firstRowPrefix = "\n  {" + first;
        m_nextRowPrefix = ",\n  {" + first;
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
    } else if (m_column == 0) {
        m_buffer += m_rows == 0 ? m_firstRowPrefix : m_nextRowPrefix;
    } else {
        m_buffer += size_t(m_column) < m_keyPrefixes.size() ? m_keyPrefixes[size_t(m_column)] : std::string(", \"\": ");
    }
    ++m_column;
}

RegisterOutput& RegisterOutput::text(const QString& value)
{
    return utf8(value.toUtf8());
}

RegisterOutput& RegisterOutput::utf8(QByteArrayView value)
{
    key();
    if (m_csv)
        AppendCsvText(m_buffer, value);
    else
        AppendJsonText(m_buffer, value);
    return *this;
}

RegisterOutput& RegisterOutput::oreAmount(qint64 ore)
{
    const bool negative = ore < 0;
    const quint64 magnitude = negative ? quint64(-(ore + 1)) + 1 : quint64(ore);
    char digits[32];
    char* at = digits;
    if (negative)
        *at++ = '-';
    at = std::to_chars(at, digits + sizeof digits, magnitude / 100).ptr;
    *at++ = '.';
    *at++ = char('0' + magnitude % 100 / 10);
    *at++ = char('0' + magnitude % 10);
    return utf8(QByteArrayView(digits, at - digits));
}

RegisterOutput& RegisterOutput::number(qint64 value)
{
    key();
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    m_buffer.append(digits, end - digits);
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
    std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_stream);
    m_buffer.clear(); // keeps its capacity for the next rows
}
