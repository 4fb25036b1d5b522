#pragma once

#include "Drawing.h"

#include <QString>
#include <utility>
#include <vector>

// The decorations of the entry dialogs (96 x 96) and of the settings dialog (64 x 64), by file
// name (without ".png").
std::vector<std::pair<QString, Drawing>> dialogPictures();
