#pragma once

#include "cli/DocumentJson.h"

#include <QByteArray>
#include <QString>
#include <QVarLengthArray>

// Reads JSON text (UTF-8) token by token, so a document of a million rows is read without first
// building a tree of it. Every fault throws DocumentJsonError naming the position.
class JsonCursor
{
public:
    explicit JsonCursor(const QByteArray& text);

    // The next significant character without taking it; 0 at the end.
    char peek();
    void expect(char c);
    // Takes c when it comes next.
    bool take(char c);
    QString readString();
    // Skips any value; nesting deeper than a fixed bound is refused.
    void skipValue();
    // Describes the next value's kind for messages: "en text", "ett tal", ...
    QString nextKind();
    void expectEnd();
    // The line, counted from 1, of the next significant character. Lines are counted as the
    // cursor moves on, so asking for each row's line costs nothing extra.
    int line();
    [[noreturn]] void fail(const QString& what) const;

private:
    void skipSpace();
    void skipLiteral(const char* literal);
    void skipNumber();
    void skipDigits();
    void skipScalar();
    void skipScalarOrOpen(QVarLengthArray<bool, 32>& open);
    QString decode(const char* start, const char* end) const;
    unsigned readHex4();

    const char* m_begin;
    const char* m_pos;
    const char* m_end;
    const char* m_lineCountedTo;
    int m_line = 1;
};
