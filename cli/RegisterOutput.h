#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <string>
#include <vector>

// Rows written one at a time to a stream, as JSON objects in an array or as CSV lines, so that a
// list of a million rows never stands whole in memory. Values are added in column order.
class RegisterOutput
{
public:
    RegisterOutput(FILE* stream, bool csv, const QStringList& keys);
    ~RegisterOutput();

    RegisterOutput& text(const QString& value);
    RegisterOutput& utf8(QByteArrayView value);
    // An amount in öre as a text in kronor with two decimals and a point: "-12.50".
    RegisterOutput& oreAmount(qint64 ore);
    RegisterOutput& number(qint64 value);
    RegisterOutput& flag(bool value);
    void endRow();
    void finish();

private:
    void key();
    void flush(bool force);

    FILE* m_stream;
    bool m_csv;
    // In JSON, each key quoted with its colon and what comes before it in the row; the first
    // key's prefix opens the object, in the first row and in the rows after it.
    std::vector<std::string> m_keyPrefixes;
    std::string m_firstRowPrefix;
    std::string m_nextRowPrefix;
    std::string m_buffer;
    int m_column = 0;
    qint64 m_rows = 0;
    bool m_finished = false;
};
