#include "cli/CheckRegister.h"

#include "register/RegisterDatabase.h"
#include "register/RegisterDeliveryCheck.h"
#include "register/RegisterError.h"
#include "rules/ValmoError.h"

#include <QDir>
#include <QFileInfo>

QList<DeliveryFinding> RegisterWarningsForCheck(const OrderDocument& document,
                                                const std::optional<QString>& chosenRegister, FILE* notes)
{
    const QString path = chosenRegister ? *chosenRegister : RegisterDatabase::defaultPath();
    if (!QFileInfo(path).isFile()) {
        // A check never makes a register; one asked for by name is missed rather than skipped.
        if (chosenRegister)
            throw ValmoError(QStringLiteral("Registret %1 finns inte.").arg(QDir::toNativeSeparators(path)));
        return {};
    }
    try {
        const RegisterDatabase database(path);
        return CheckAgainstRegister(document, database);
    } catch (const RegisterError& error) {
        if (chosenRegister)
            throw ValmoError(error.message());
        const QByteArray note = QStringLiteral("valmo-cli: %1 Kontrollen mot registret hoppas över.\n")
                                    .arg(error.message())
                                    .toUtf8();
        std::fwrite(note.constData(), 1, size_t(note.size()), notes);
        return {};
    }
}
