#pragma once

#include <QByteArray>
#include <QString>

class ObrDevice;

// The analyzer's hex dump of a byte range of a file: a title line, then 32 bytes a line in
// groups of four, each line led by its 0-based file offset in a column as wide as the count
// needs. The command line prints the same text.
namespace SegdHexDump {

// The text for bytes, which were read from 1-based byte start of the file.
QString text(const QByteArray& bytes, qint64 start);

enum class ReadResult {
    Read,
    OutOfMemory, // no buffer of count bytes could be had
    Failed,      // start or count out of the file, or positioning or reading failed
};

// Reads count bytes from 1-based byte start of device; bytes is left empty unless they were read.
[[nodiscard]] ReadResult read(ObrDevice& device, qint64 start, qint64 count, QByteArray& bytes);

// The width of the offset column for a dump of count bytes.
int offsetWidth(qint64 count);

} // namespace SegdHexDump
