#pragma once

#include <QString>

class QMimeData;

// What a window takes from a drag and drop: one local SEG-Y file.
namespace FileDrops {

// The local file a drop carries when it is one file named as SEG-Y files are (.sgy, .segy in any
// case); else an empty text, and the window refuses the drop.
QString segyFile(const QMimeData* data);

} // namespace FileDrops
