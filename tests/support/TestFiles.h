#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace obrtest {

[[nodiscard]] bool writeFile(const QString& path, const QByteArray& bytes);
// The whole file; empty when it cannot be read.
QByteArray readFile(const QString& path);
// A SEG-Y file: 'C's for the text header, a binary header giving the sample format and
// count in the byte order asked for, then traces filled with 'a', 'b', ... in turn. A format
// code no reader knows gives traces of bare headers.
QByteArray segyFile(int format, int samples, bool littleEndian, int traces);
// The hidden temporary files of outputs not finished under `folder`, at any depth.
QStringList temporaryFiles(const QString& folder);

} // namespace obrtest
