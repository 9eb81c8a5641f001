#include "tests/support/TestFiles.h"

#include "seismic/SegyLayout.h"

#include <QDirIterator>
#include <QFile>
#include <QtEndian>

namespace obrtest {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray segyFile(int format, int samples, bool littleEndian, int traces)
{
    QByteArray bytes(SegyLayout::fileHeaderSize, 'C');
    const auto put = [&bytes, littleEndian](SegyLayout::Word word, quint16 value) {
        char* at = bytes.data() + word.fileOffset();
        littleEndian ? qToLittleEndian(value, at) : qToBigEndian(value, at);
    };
    put(SegyLayout::samplesPerTraceWord, static_cast<quint16>(samples));
    put(SegyLayout::sampleFormatWord, static_cast<quint16>(format));
    const int traceLength = SegyLayout::traceHeaderSize + samples * SegyLayout::bytesPerSample(format);
    for (int trace = 0; trace < traces; ++trace)
        bytes += QByteArray(traceLength, static_cast<char>('a' + trace));
    return bytes;
}

QStringList temporaryFiles(const QString& folder)
{
    QStringList found;
    QDirIterator files(folder, {QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        found.append(files.next());
    return found;
}

} // namespace obrtest
