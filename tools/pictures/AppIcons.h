#pragma once

#include "Drawing.h"

// The application icon: an order file with a coin, on a blue-violet tile.
Drawing applicationIcon();
// The icon of an order file in file managers: a sheet of records marked "AG".
Drawing orderFileIcon();
