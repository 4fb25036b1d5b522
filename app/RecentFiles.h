#pragma once

#include <QString>
#include <QStringList>

// The files last opened or saved, newest first, kept in the settings store.
namespace RecentFiles {
constexpr int MaxCount = 8;
// The stored list; empty when the store cannot be read.
QStringList load();
// Puts the path first (once) and keeps at most MaxCount.
void add(const QString& path);
void remove(const QString& path);
} // namespace RecentFiles
