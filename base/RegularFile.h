#pragma once

#include <QString>

// Disk inputs are regular files. A FIFO, a device or a socket may never end (/dev/zero) or never
// start (a FIFO without a writer blocks its opening), so readers ask here before they open one.
// Tapes are reached through their own devices and are not disk inputs.
namespace RegularFile {

// Why path cannot be read as a disk input: "PATH is not a regular file" for a FIFO, a device,
// a socket or a directory; empty for a regular file (also through a link) and for a path that
// does not exist, whose opening then says why.
QString refusal(const QString& path);

} // namespace RegularFile
