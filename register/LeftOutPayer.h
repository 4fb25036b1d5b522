#pragma once

#include "format/UserPrompt.h"
#include "register/RegisterQuery.h"

#include <QList>
#include <QString>
#include <QStringList>

// A payer left out of a command of the register, with the reason in Swedish.
struct LeftOutPayer
{
    RegisterPayerRow payer;
    QString reason;
};

// "1003: medgivandet är inte godkänt (avvisat)", one payer a line.
inline QString LeftOutLines(const QList<LeftOutPayer>& leftOut)
{
    QStringList lines;
    for (const LeftOutPayer& payer : leftOut)
        lines.append(payer.payer.payer + QStringLiteral(": ") + payer.reason);
    return lines.join(QLatin1Char('\n'));
}

// Tells the user, before a command acts, which payers it leaves out and why: the rule, then the
// payers, then the question whether to go on with the remaining ones, or only the rule and the
// payers when none remains. True when the command goes on: nothing left out, or the user said OK.
inline bool TellLeftOutPayers(UserPrompt& prompt, const QString& rule, const QList<LeftOutPayer>& leftOut,
                              int remaining, const QString& question)
{
    if (leftOut.isEmpty())
        return true;
    if (remaining == 0) {
        prompt.showMessage(QString(),
                           rule + QStringLiteral("\rDessa lämnades utanför:\n") + LeftOutLines(leftOut),
                           UserPrompt::Buttons::Ok, UserPrompt::Icon::Information);
        return false;
    }
    const auto answer =
        prompt.showMessage(QString(),
                           rule + QStringLiteral("\rDessa lämnas utanför:\n") + LeftOutLines(leftOut) +
                               QStringLiteral("\n\n") + question.arg(remaining),
                           UserPrompt::Buttons::OkCancel, UserPrompt::Icon::Information);
    return answer == UserPrompt::Answer::Ok;
}
