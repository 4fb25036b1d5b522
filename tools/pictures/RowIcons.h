#pragma once

#include "Drawing.h"

#include <QString>
#include <utility>
#include <vector>

// The 16 x 16 pictures in front of the rows of the order lists, by file name (without ".png").
std::vector<std::pair<QString, Drawing>> rowIcons();
