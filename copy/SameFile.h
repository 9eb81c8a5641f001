#pragma once

#include <QString>

// True when both paths reach the same existing file: the same canonical path
// (symbolic links followed) or the same file system object (hard links).
// Opening the one for writing would truncate the other before it is read.
bool isSameFile(const QString& first, const QString& second);
