#pragma once

#include <QString>

// The kinds of file the window opens when it is started with one (a double click in a file
// manager): SEG-Y by its suffix, SEG-D field files as the SEG-D tools know them in a folder (by
// suffix or by a general header at their start), SPS files by their suffix or, when the name
// says nothing (l2sall.txt), by the record letter of their first data line.
enum class FileKind { Unknown, Segy, Segd, SpsSource, SpsReceiver, SpsRelation };

namespace FileKinds {

FileKind of(const QString& path);

} // namespace FileKinds
