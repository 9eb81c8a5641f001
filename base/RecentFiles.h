#pragma once

#include <QString>
#include <QStringList>

// The SEG-Y files opened last, newest first, kept in the settings for the next run.
namespace RecentFiles {

constexpr int maximum = 10;

// The files, newest first; files that no longer exist are left out.
QStringList list();
// Puts a file at the top of the list (once), dropping the oldest beyond the maximum.
void add(const QString& path);

} // namespace RecentFiles
