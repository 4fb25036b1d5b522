#include "register/ReportOpening.h"

#include "format/ReportParser.h"
#include "format/UserPrompt.h"
#include "register/ItemSources.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterError.h"
#include "register/RegisterImporter.h"
#include "register/RegisterSettings.h"
#include "register/RegisterStates.h"
#include "register/RegisterText.h"

#include <QFile>
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

QString PayeeText(const RegisterPayee& payee)
{
    QString text = QStringLiteral("bankgironummer %1").arg(payee.bankgiro);
    if (!payee.customerNumber.isEmpty())
        text += QStringLiteral(" och kundnummer %1").arg(payee.customerNumber);
    return text;
}

// Why a report cannot go into the register because it belongs to another payee; empty when it
// may. Asked before the user is asked about the report's totals, since no answer would help then.
QString OtherPayeeReason(const RegisterDatabase& database, const QString& path)
{
    const std::optional<RegisterPayee> owner =
        database.payee() ? database.payee() : RegisterSettings::payee();
    if (!owner || owner->bankgiro.isEmpty())
        return QString();
    ReportFile file;
    QString error;
    if (!ReportParser::parseFile(path, file, error))
        return QString(); // the import says why the file cannot be read
    for (const Report& report : file.reports) {
        const RegisterPayee payee{RegisterText::digits(report.bankgiro),
                                  RegisterText::digits(report.customerNumber)};
        const bool sameCustomer = payee.customerNumber.isEmpty() || owner->customerNumber.isEmpty() ||
                                  payee.customerNumber == owner->customerNumber;
        if (payee.bankgiro != owner->bankgiro || !sameCustomer)
            return QStringLiteral("Filen %1 hör till betalningsmottagaren med %2, men registret hör till "
                                  "betalningsmottagaren med %3.")
                .arg(QFileInfo(path).fileName(), PayeeText(payee), PayeeText(*owner));
    }
    return QString();
}

bool HeldAlready(const RegisterDatabase& database, const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && RegisterHoldsFile(database, file.readAll());
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
            const QString otherPayee = OtherPayeeReason(database, path);
            if (!otherPayee.isEmpty())
                return QStringLiteral("Inte inläst i registret: ") + otherPayee;
            // Read before, after the user accepted its totals: not asked again.
            if (HeldAlready(database, path)) {
                summary.alreadyImported = true;
                return SummaryLine(summary);
            }
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
