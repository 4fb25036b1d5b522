#pragma once

#include "Drawing.h"

#include <QString>
#include <utility>
#include <vector>

// The eleven 32 x 32 toolbar icons, by file name (without ".png").
std::vector<std::pair<QString, Drawing>> toolbarIcons();
