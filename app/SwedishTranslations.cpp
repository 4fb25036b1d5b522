#include "app/SwedishTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Some distributions ship Swedish only in the older combined catalogue, where the standard button
// texts sit under QDialogButtonBox instead of QPlatformTheme. Look there when the newer context
// has no translation.
class QtCatalogue : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override
    {
        QString text = QTranslator::translate(context, sourceText, disambiguation, n);
        if (text.isEmpty() && context && qstrcmp(context, "QPlatformTheme") == 0)
            text = QTranslator::translate("QDialogButtonBox", sourceText, disambiguation, n);
        return text;
    }
};

bool installCatalogue(QCoreApplication& application, const QString& name)
{
    auto* catalogue = new QtCatalogue(&application);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!catalogue->load(QLocale(QLocale::Swedish, QLocale::Sweden), name, QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(catalogue)) {
        delete catalogue;
        return false;
    }
    return true;
}

} // namespace

bool InstallSwedishTranslations(QCoreApplication& application)
{
    // qtbase_sv is the current catalogue; qt_sv the combined one that older packages ship.
    const bool modern = installCatalogue(application, QStringLiteral("qtbase"));
    const bool combined = installCatalogue(application, QStringLiteral("qt"));
    return modern || combined;
}
