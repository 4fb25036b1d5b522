#pragma once

#include <QStringList>

// The statements that bring a register from one schema version to the next; step n turns
// version n into version n + 1. Version 0 is an empty file.
namespace RegisterSchema {

// An identifier of this program's registers (PRAGMA application_id): "LVAG".
constexpr int ApplicationId = 0x4C564147;

const QList<QStringList>& migrationSteps();

} // namespace RegisterSchema
