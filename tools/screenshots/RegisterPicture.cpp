#include "tools/screenshots/RegisterPicture.h"

#include "app/Clock.h"
#include "register/BankFiles.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterError.h"
#include "register/RegisterImporter.h"
#include "register/RegisterTab.h"
#include "register/RegisterTableModel.h"
#include "register/RegisterWindow.h"

#include <QDir>
#include <QTabWidget>
#include <QTableView>

using namespace BankFiles;

bool ShootRegisterWindow(const QString& folder, UserPrompt& prompt,
                         const std::function<void(QWidget&, const QString&)>& shoot)
{
    const QDate delivered(2026, 2, 20);
    const QDate paid(2026, 3, 2);
    const QStringList payers = {QStringLiteral("1001"), QStringLiteral("1002"), QStringLiteral("1003"),
                                QStringLiteral("1004"), QStringLiteral("1005"), QStringLiteral("1006")};
    QList<Record> orders = {OrderOpening(delivered)};
    QList<Paid> outcome;
    QList<Advice> advice;
    for (int i = 0; i < payers.size(); ++i) {
        const Order order{payers[i], "82", 29900 + 10000 * (i % 3), QStringLiteral("FAKTURA %1").arg(2600 + i), paid};
        orders.append(NewMandate(payers[i], QStringLiteral("8327%1").arg(9000000 + i), QStringLiteral("19800101%1").arg(1230 + i)));
        orders.append(PaymentOrder(order));
        outcome.append({order, i == 2 ? '1' : '0'});
        advice.append({payers[i], "04", i == 5 ? "23" : "32"});
    }
    const QString path = QDir(folder).filePath(QStringLiteral("register.sqlite"));
    try {
        RegisterDatabase database(path);
        FixedClock clock(delivered);
        RegisterImporter importer(database, clock);
        importer.deliver(Join(orders), QStringLiteral("Valmo 2026-02-20.ag"));
        clock.setDate(delivered.addDays(4));
        importer.import(MandateAdvice(delivered.addDays(4), advice), QStringLiteral("Medgivandeavisering.txt"), false);
        clock.setDate(paid);
        importer.import(PaymentSpecification(paid, outcome), QStringLiteral("Betalningsspecifikation.txt"), false);
    } catch (const RegisterError&) {
        return false;
    }
    RegisterWindow window(prompt, [](const QString&, int) {});
    if (!window.openRegister(path))
        return false;
    window.setWindowTitle(QStringLiteral("Registret"));
    window.resize(1000, 560);
    RegisterTab& payments = *window.paymentsTab();
    window.tabs()->setCurrentWidget(&payments);
    payments.table()->selectRow(2);
    shoot(window, QStringLiteral("register-window.png"));
    window.tabs()->setCurrentWidget(window.payersTab());
    window.payersTab()->table()->selectRow(5);
    shoot(window, QStringLiteral("register-payers.png"));
    return true;
}
