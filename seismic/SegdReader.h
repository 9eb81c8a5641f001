#pragma once

#include <QString>
#include <memory>

class ObrConsole;
class ObrDevice;
class SegdData;

// Opens a SEG-D field file with the reader that suits its recorder: the standard's, with Sercel's
// additions for files of Sercel recorders.
namespace SegdReader {

// The data set of the field file at path (its directory's field files in directory mode), its
// headers read: ok() tells whether it can be read; what its headers let be read stays in its
// field map. Null only when the file cannot be opened at all (said on the console).
std::unique_ptr<SegdData> open(const QString& path, ObrConsole* console, bool directoryMode = false);
// The same over an opened device (a disk file, bytes in memory), which the data set takes.
std::unique_ptr<SegdData> open(std::unique_ptr<ObrDevice> device, bool directoryMode = false);

} // namespace SegdReader
