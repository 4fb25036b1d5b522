#include "register/ReportOpening.h"

#include "format/UserPrompt.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterError.h"
#include "register/RegisterImporter.h"
#include "register/RegisterSettings.h"
#include "register/RegisterStates.h"

#include <QFileInfo>
#include <QHash>

#include <optional>

namespace {

// "12 genomförda", "1 avvisad": the state in lower case, in the plural for any count but one.
QString Counted(int count, const QString& state)
{
    static const QHash<QString, QString> plurals = {
        {RegisterStates::paymentDone(), QStringLiteral("genomförda")},
        {RegisterStates::paymentNotDone(), QStringLiteral("ej genomförda")},
        {RegisterStates::paymentRejected(), QStringLiteral("avvisade")},
        {RegisterStates::paymentCancelled(), QStringLiteral("makulerade")},
        {RegisterStates::paymentChanged(), QStringLiteral("ändrade")},
        {RegisterStates::paymentRetry(), QStringLiteral("nya försök")},
        {RegisterStates::mandateApproved(), QStringLiteral("godkända")},
        {RegisterStates::mandateRefused(), QStringLiteral("avvisade")},
        {RegisterStates::mandateCancelled(), QStringLiteral("makulerade")},
    };
    const QString word = count == 1 ? state.toLower() : plurals.value(state, state.toLower());
    return QStringLiteral("%1 %2").arg(count).arg(word);
}

QString SummaryLine(const ImportSummary& summary)
{
    if (summary.alreadyImported)
        return QStringLiteral("Redan inläst i registret.");
    QStringList parts;
    for (auto it = summary.states.constBegin(); it != summary.states.constEnd(); ++it)
        parts.append(Counted(it.value(), it.key()));
    parts.append(QStringLiteral("%1 utan underlag").arg(summary.withoutBasis.size()));
    return QStringLiteral("Inläst i registret: ") + parts.join(QStringLiteral(", "));
}

} // namespace

QString ImportReportOnOpening(const QString& path, const QString& registerPath, UserPrompt& prompt,
                              const Clock& clock)
{
    if (registerPath.isEmpty() || !QFileInfo(registerPath).isFile())
        return QString();
    try {
        RegisterDatabase database(registerPath);
        RegisterImporter importer(database, clock);
        if (const std::optional<RegisterPayee> payee = RegisterSettings::payee())
            importer.setDefaultPayee(*payee);
        ImportSummary summary = importer.import(path, false);
        if (summary.totalsDisagree) {
            const auto answer = prompt.showMessage(
                QString(),
                QStringLiteral("Rapportens summor stämmer inte med dess poster: %1\rVill du läsa in den i registret "
                               "ändå?")
                    .arg(summary.disagreements.join(QStringLiteral(" "))),
                UserPrompt::Buttons::OkCancel, UserPrompt::Icon::Warning);
            if (answer != UserPrompt::Answer::Ok)
                return QStringLiteral("Inte inläst i registret: summorna stämmer inte med posterna.");
            summary = importer.import(path, true);
        }
        return SummaryLine(summary);
    } catch (const RegisterError& error) {
        return QStringLiteral("Inte inläst i registret: ") + error.message();
    }
}
