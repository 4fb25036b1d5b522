#pragma once

#include <QString>

// The program's file version without its last two characters ("1.4.2.3" gives "1.4.2"), for the
// window caption. Empty when the program carries no version.
QString GetVersionText();

// The rule on its own: the text without its last two characters; empty when it is shorter.
QString VersionWithoutLastPart(const QString& fileVersion);
