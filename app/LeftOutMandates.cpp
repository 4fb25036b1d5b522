#include "app/LeftOutMandates.h"

#include "app/OrderDocument.h"

namespace {

QString serviceName(bool privateService)
{
    return privateService ? QStringLiteral("Autogiro Privat") : QStringLiteral("Autogiro Företag");
}

QString mandates(int count)
{
    return count == 1 ? QStringLiteral("1 medgivande") : QStringLiteral("%1 medgivanden").arg(count);
}

QString them(int count)
{
    return count == 1 ? QStringLiteral("det") : QStringLiteral("de");
}

} // namespace

int MandatesLeftOut(const OrderDocument& document)
{
    return document.PrivateService ? document.MdgListComp.count() : document.MdgList.count();
}

QString SaveLeftOutQuestion(const OrderDocument& document)
{
    const int count = MandatesLeftOut(document);
    return QStringLiteral("Listan har %1 för %2. Med %3 kommer %4 inte med i filen.\n"
                          "Vill du spara ändå?")
        .arg(mandates(count), serviceName(!document.PrivateService), serviceName(document.PrivateService),
             them(count));
}

QString ServiceSwitchQuestion(int count, bool toPrivateService)
{
    return QStringLiteral("Listan har %1 för %2. Med %3 kommer %4 inte med när filen sparas.\n"
                          "Vill du byta tjänst ändå?")
        .arg(mandates(count), serviceName(!toPrivateService), serviceName(toPrivateService), them(count));
}
