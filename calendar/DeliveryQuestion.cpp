#include "calendar/DeliveryQuestion.h"

#include "format/UserPrompt.h"

DeliveryAnswer AskBeforeSaving(const QList<DeliveryFinding>& findings, UserPrompt& prompt)
{
    int errors = 0;
    const DeliveryFinding* first = nullptr;
    for (const DeliveryFinding& finding : findings) {
        if (finding.level != FindingLevel::Error)
            continue;
        if (!first)
            first = &finding;
        ++errors;
    }
    if (!first)
        return DeliveryAnswer::Save;
    QString text = QStringLiteral("Bankgirot kommer att avvisa delar av filen.\n%1").arg(first->message);
    if (errors > 1)
        text += QStringLiteral("\n(och %1 fel till)").arg(errors - 1);
    text += QStringLiteral("\nVill du spara filen ändå?");
    const UserPrompt::Answer answer = prompt.askChoice(
        QString(), text, {QStringLiteral("Spara ändå"), QStringLiteral("Visa"), QStringLiteral("Avbryt")},
        UserPrompt::Icon::Warning);
    switch (answer) {
    case UserPrompt::Answer::Yes:
        return DeliveryAnswer::Save;
    case UserPrompt::Answer::No:
        return DeliveryAnswer::Show;
    default:
        return DeliveryAnswer::Cancel;
    }
}
