#include "format/SealOnOpen.h"

#include "format/SealKeys.h"
#include "format/UserPrompt.h"

QString SealOnOpen::notCheckedMessage(const QString& problem)
{
    return QStringLiteral("Filen är förseglad, men sigillet kontrollerades inte eftersom %1.").arg(problem);
}

QString SealOnOpen::openAnywayQuestion(const QString& checkText)
{
    return checkText + QStringLiteral("\nVill du ändå öppna filen?");
}

bool SealOnOpen::approve(QIODevice& file)
{
    m_file = &file;
    m_sealed = Seal::BeginsWithSeal(file.peek(12));
    if (!m_sealed)
        return true;
    const Seal::Contents contents = Seal::Read(file.readAll());
    m_inside.setData(contents.orderBytes);
    m_inside.open(QIODevice::ReadOnly);

    Seal::Check check = Seal::Check::Damaged;
    if (contents.state == Seal::Contents::State::Sealed) {
        const SealKeys::Lookup lookup = SealKeys::find();
        if (!lookup.key) {
            m_prompt.showMessage(QString(), notCheckedMessage(lookup.problem), UserPrompt::Buttons::Ok,
                                 UserPrompt::Icon::Information);
            return true;
        }
        check = Seal::Verify(contents, *lookup.key);
    }
    if (check == Seal::Check::Matches)
        return true;
    return m_prompt.showMessage(QString(), openAnywayQuestion(Seal::CheckText(check, contents)),
                                UserPrompt::Buttons::OkCancel,
                                UserPrompt::Icon::Warning) == UserPrompt::Answer::Ok;
}

QIODevice& SealOnOpen::orderRecords()
{
    return m_sealed ? static_cast<QIODevice&>(m_inside) : *m_file;
}
