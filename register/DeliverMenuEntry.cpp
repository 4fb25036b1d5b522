#include "register/DeliverMenuEntry.h"

#include "app/MainForm.h"
#include "register/DeliverCommand.h"

#include <QAction>
#include <QMenu>

void AddDeliverCommand(TMainForm& form, QMenu& menu)
{
    QAction* action = menu.addAction(QStringLiteral("&Leverera..."));
    action->setObjectName(QStringLiteral("LevereraAction"));
    action->setToolTip(QStringLiteral("Spara filen och registrera den som levererad till Bankgirot"));
    QObject::connect(action, &QAction::triggered, &form, [&form] {
        DeliverCommand command(form.prompt(), form.clock());
        command.run([&form] { return form.SparaBtnClick(); }, [&form] { return form.document().CurrentFile; });
    });
}
