#pragma once

#include "calendar/DeliveryFinding.h"

#include <QList>

class UserPrompt;

enum class DeliveryAnswer
{
    Save,   // "Spara ändå"
    Show,   // "Visa": the findings instead of the save
    Cancel, // "Avbryt"
};

// Before a document the bank would reject in part is saved, the user is told of the first "fel"
// and asked whether to save it all the same. Nothing is asked, and Save given, without a "fel":
// warnings never stop a save.
DeliveryAnswer AskBeforeSaving(const QList<DeliveryFinding>& findings, UserPrompt& prompt);
