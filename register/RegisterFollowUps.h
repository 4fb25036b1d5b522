#pragma once

#include "register/RegisterQuery.h"

#include <QList>

#include <functional>

class TMainForm;

// What the follow-up commands do with the register's rows the user chose, wherever they are
// chosen: in the register window or in a report.
struct RegisterFollowUps
{
    std::function<void(const QList<RegisterPaymentRow>&)> retry;
    std::function<void(const QList<RegisterPayerRow>&)> newPayments;
    std::function<void(const QList<RegisterPayerRow>&)> correct;
    std::function<void(const QList<RegisterPayerRow>&, bool approve)> answer;
};

// The commands on the main window's document, each one step on its undo stack that sets
// DocModified and updates the view as the list commands do.
RegisterFollowUps MainFormFollowUps(TMainForm& form);
