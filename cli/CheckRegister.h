#pragma once

#include "calendar/DeliveryFinding.h"

#include <QList>
#include <QString>

#include <cstdio>
#include <optional>

class OrderDocument;

// The register's warnings for `check`. With --register PATH the register there is compared with
// and must be usable (a ValmoError says why not). Without it the default register is used when it
// exists; one that cannot be read is named on notes and left out. Without a register, none.
QList<DeliveryFinding> RegisterWarningsForCheck(const OrderDocument& document,
                                                const std::optional<QString>& chosenRegister, FILE* notes);
