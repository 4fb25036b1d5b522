#pragma once

#include <QString>
#include <QStringView>

// Texts taken from a file or an argument, made safe to put into a message.
namespace QuotedText {

// The most characters of a value that a message quotes.
constexpr int LongestQuote = 60;

// text with every control character written as \uXXXX, as JSON writes it: C0 and C1 controls,
// DEL, and the characters that reorder or hide text (bidirectional marks, line and paragraph
// separators). Tab, carriage return and line feed are escaped too, so a quoted value never starts
// a new line or moves the cursor of a terminal.
QString EscapeControls(QStringView text);
// At most LongestQuote characters of text, escaped; a longer text is cut and ends with
// "… (N tecken)", N being its whole length.
QString Short(QStringView text);

} // namespace QuotedText
