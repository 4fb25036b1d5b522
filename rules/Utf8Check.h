#pragma once

#include <QtGlobal>

#include <cstdint>

// Checks UTF-8 as it is fed, in pieces of any size: no overlong forms, no surrogates, nothing above
// U+10FFFF. Runs of ASCII are passed over eight bytes at a time. Once a sequence is found invalid
// the check stops and keeps where that sequence began, counted from the first byte fed.
class Utf8Check
{
public:
    static constexpr qint64 NoInvalidByte = INT64_MAX;

    void feed(const char* data, qsizetype size);
    // Valid so far; a sequence cut off at the end of what was fed still counts as valid.
    bool valid() const { return m_invalidAt == NoInvalidByte; }
    // Valid and not ending inside a sequence.
    bool complete() const { return valid() && m_needed == 0; }
    bool beyondAscii() const { return m_beyondAscii; }
    // Where the first invalid sequence begins, or NoInvalidByte. A sequence cut off by the end of
    // the text counts as invalid at its start when complete() is asked of it: see invalidAtEnd().
    qint64 invalidAt() const { return m_invalidAt; }
    qint64 invalidAtEnd() const { return m_needed != 0 && valid() ? m_sequenceStart : m_invalidAt; }

private:
    void feedByte(unsigned char b);
    void start(int needed, unsigned char low, unsigned char high);

    qint64 m_fed = 0; // bytes fed before the one at hand
    qint64 m_sequenceStart = 0;
    qint64 m_invalidAt = NoInvalidByte;
    bool m_beyondAscii = false;
    int m_needed = 0;
    unsigned char m_low = 0x80;
    unsigned char m_high = 0xBF;
};
