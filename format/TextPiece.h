#pragma once

#include <QString>
#include <QStringView>

#include <array>

// A short text put together for one column of a row, on the stack; a longer one, or a text made
// elsewhere, is kept in a string of its own. A row copies what the view shows, so a piece lives
// only while one line is read.
class TextPiece
{
public:
    void append(char16_t c)
    {
        if (m_spilled) {
            m_made.append(QChar(c));
        } else if (m_size < Capacity) {
            m_chars[size_t(m_size++)] = c;
        } else {
            m_made = QString(reinterpret_cast<const QChar*>(m_chars.data()), m_size);
            m_made.append(QChar(c));
            m_spilled = true;
        }
    }
    void append(QStringView text)
    {
        for (const QChar c : text)
            append(c.unicode());
    }
    void set(QString text)
    {
        m_made = std::move(text);
        m_spilled = true;
    }
    QStringView view() const { return m_spilled ? QStringView(m_made) : QStringView(m_chars.data(), m_size); }
    bool isEmpty() const { return view().isEmpty(); }

private:
    static constexpr qsizetype Capacity = 40;
    std::array<char16_t, Capacity> m_chars;
    qsizetype m_size = 0;
    bool m_spilled = false;
    QString m_made;
};
