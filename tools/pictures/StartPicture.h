#pragma once

#include <QImage>

// The picture on the empty main window: the program's name beside an order file, its
// payments and a calendar.
QImage startPicture();
