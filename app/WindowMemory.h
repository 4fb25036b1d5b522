#pragma once

#include <QList>
#include <QString>

class QHeaderView;
class QWidget;

// What the main window remembers from one run to the next: its size and place, how its splitters
// share the document area, and the width of every column. A store that cannot be read or written
// only costs the memory: the window then opens as it would the first time.
namespace WindowMemory {
// False when nothing is stored (the window keeps its initial size and place).
bool restoreGeometry(QWidget* window);
void saveGeometry(const QWidget* window);
// The same for another window, kept under its name.
bool restoreGeometry(QWidget* window, const QString& name);
void saveGeometry(const QWidget* window, const QString& name);
// The widths the user last gave the list's columns; empty when none are stored.
QList<int> columnWidths(const QString& list);
void saveColumnWidths(const QString& list, const QHeaderView* header);
// The share of a splitter's height that its lower piece had, between 0 and 1; negative when
// none is stored.
double share(const QString& splitter);
void saveShare(const QString& splitter, double share);
} // namespace WindowMemory
