#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the character set of the order file. Our own table: Qt's ICU-backed codec is
// missing on some platforms.

// The character that byte b stands for. The five bytes the code page leaves undefined map to
// the C1 control of the same number, as Windows does.
char16_t Win1252ToUnicode(unsigned char b);
// The byte for character c, or -1 when Windows-1252 cannot hold it.
int UnicodeToWin1252(char16_t c);

QString DecodeWin1252(const QByteArray& bytes);
QString DecodeWin1252(const char* data, qsizetype size);
// Appends the encoded text to out. When a character cannot be held, out is left as it was, its
// position in the text (UTF-16 units) goes to badIndex and the result is false.
bool EncodeWin1252(const QString& text, QByteArray& out, qsizetype* badIndex = nullptr);
bool CanEncodeWin1252(const QString& text);
