#include "rules/Utf8Check.h"

#include <cstring>

void Utf8Check::feed(const char* data, qsizetype size)
{
    qsizetype i = 0;
    while (i < size && valid()) {
        if (m_needed == 0 && size - i >= 8) {
            uint64_t word;
            std::memcpy(&word, data + i, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                m_fed += 8;
                continue;
            }
        }
        feedByte(static_cast<unsigned char>(data[i]));
        ++i;
        ++m_fed;
    }
}

void Utf8Check::feedByte(unsigned char b)
{
    if (m_needed > 0) {
        if (b < m_low || b > m_high) {
            m_invalidAt = m_sequenceStart;
            return;
        }
        m_low = 0x80;
        m_high = 0xBF;
        --m_needed;
        return;
    }
    if (b < 0x80)
        return;
    m_beyondAscii = true;
    m_sequenceStart = m_fed;
    if (b >= 0xC2 && b <= 0xDF)
        start(1, 0x80, 0xBF);
    else if (b == 0xE0)
        start(2, 0xA0, 0xBF);
    else if (b == 0xED)
        start(2, 0x80, 0x9F);
    else if (b >= 0xE1 && b <= 0xEF)
        start(2, 0x80, 0xBF);
    else if (b == 0xF0)
        start(3, 0x90, 0xBF);
    else if (b >= 0xF1 && b <= 0xF3)
        start(3, 0x80, 0xBF);
    else if (b == 0xF4)
        start(3, 0x80, 0x8F);
    else
        m_invalidAt = m_fed;
}

void Utf8Check::start(int needed, unsigned char low, unsigned char high)
{
    m_needed = needed;
    m_low = low;
    m_high = high;
}
