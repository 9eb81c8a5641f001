#include "tests/support/TestFiles.h"

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
    QByteArray bytes(3600, 'C');
    const auto put = [&bytes, littleEndian](int offset, quint16 value) {
        littleEndian ? qToLittleEndian(value, bytes.data() + offset)
                     : qToBigEndian(value, bytes.data() + offset);
    };
    put(3220, static_cast<quint16>(samples));
    put(3224, static_cast<quint16>(format));
    const int traceLength = 240 + samples * (format == 3 ? 2 : 4);
    for (int trace = 0; trace < traces; ++trace)
        bytes += QByteArray(traceLength, static_cast<char>('a' + trace));
    return bytes;
}

} // namespace obrtest
