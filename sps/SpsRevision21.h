#pragma once

#include "sps/SpsLayout.h"

#include <QString>

class SpsLines;

// Revision 2.1 of the SPS standard places the fields in other columns than the suite's
// built-in layouts; files of that revision say so in their "H00" header line.
namespace SpsRevision21 {

// True when an "H00" line of the file names version 2.1.
bool declaredBy(const SpsLines& lines);
// True when every field of the layout lies in the revision 2.1 columns.
bool inForce(const SpsLayout& layout);
// The warning shown when a file declares revision 2.1 and the layout in force is another.
QString mismatchText(const QString& path);

} // namespace SpsRevision21
