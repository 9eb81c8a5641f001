#pragma once

#include "devices/TapeImageSettings.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace obrtest {

// A tape's content as the tests write and read it: one entry per block, an empty
// entry for a file mark.
using TapeBlocks = QList<QByteArray>;

// Writes a new image holding `blocks`, left at its beginning; fails the program when it cannot.
QString writeTapeImage(const QString& path, const TapeBlocks& blocks,
                       qint64 capacity = TapeImageSettings::defaultCapacity);
// The same with blocks of the given lengths, -1 for a file mark.
QString writeTapeLayout(const QString& path, const QList<int>& lengths,
                        qint64 capacity = TapeImageSettings::defaultCapacity);
// Everything an image holds from its beginning to its end of data; the image is left rewound.
TapeBlocks readTapeImage(const QString& path);
// The block lengths, -1 for a file mark.
QList<int> blockLengths(const TapeBlocks& blocks);

} // namespace obrtest
