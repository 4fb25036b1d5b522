#include "register/RegisterText.h"

namespace RegisterText {

QStringView field(QStringView line, int from, int to)
{
    if (from > line.size())
        return QStringView();
    return line.mid(from - 1, qMin<qsizetype>(to, line.size()) - from + 1);
}

QString trimmed(QStringView text)
{
    return text.trimmed().toString();
}

QString digits(QStringView text)
{
    QString out;
    for (const QChar c : text) {
        if (c.isDigit() && c.unicode() < 128 && !(out.isEmpty() && c == QLatin1Char('0')))
            out += c;
    }
    if (out.isEmpty() && text.contains(QLatin1Char('0')))
        out = QStringLiteral("0");
    return out;
}

bool isBlankOrZeros(QStringView text)
{
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('0'))
            return false;
    }
    return true;
}

std::optional<qint64> number(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty() || t.size() > 18)
        return std::nullopt;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    return t.toLongLong();
}

QDate date(QStringView text)
{
    if (text.size() != 8 || !number(text))
        return QDate();
    return QDate(text.left(4).toInt(), text.mid(4, 2).toInt(), text.mid(6, 2).toInt());
}

QDate fromDateText(const QString& text)
{
    return QDate::fromString(text, Qt::ISODate);
}

QStringList lines(const QString& text)
{
    QString body = text;
    const qsizetype end = body.indexOf(QChar(26));
    if (end >= 0)
        body.truncate(end);
    body.remove(QLatin1Char('\r'));
    QStringList result = body.split(QLatin1Char('\n'));
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

} // namespace RegisterText
