#include "tests/support/SegyDirFixture.h"

#include "seismic/SampleConversion.h"

#include <QtEndian>
#include <cstring>

namespace dirtest {

namespace {

template <typename Word> void put(char* at, Word value, bool littleEndian)
{
    littleEndian ? qToLittleEndian(value, at) : qToBigEndian(value, at);
}

int bytesPerSample(int format)
{
    return format == 3 ? 2 : format == 8 ? 1 : 4;
}

void putSample(char* at, int format, int value, bool littleEndian)
{
    switch (format) {
    case 1:
        put<quint32>(at, SampleConversion::ieeeToIbm(float(value)), littleEndian);
        break;
    case 2:
        put<qint32>(at, value, littleEndian);
        break;
    case 3:
        put<qint16>(at, qint16(value), littleEndian);
        break;
    case 8:
        *at = char(value);
        break;
    default: {
        quint32 bits;
        const float single = float(value);
        std::memcpy(&bits, &single, sizeof bits);
        put<quint32>(at, bits, littleEndian);
    }
    }
}

} // namespace

double scaled(int value, int scalar)
{
    if (scalar > 0)
        return double(value) * scalar;
    if (scalar < 0)
        return double(value) / -scalar;
    return value;
}

QByteArray segyFile(const SegyParams& p)
{
    const int traceLength = 240 + p.samples * bytesPerSample(p.format);
    QByteArray file(3600 + p.traces * traceLength, '\0');
    std::memset(file.data(), 'C', 3200);
    char* binary = file.data() + 3200;
    const bool le = p.littleEndian;
    put<qint16>(binary + 16, qint16(p.interval), le);
    put<quint16>(binary + 20, quint16(p.samples), le);
    put<qint16>(binary + 24, qint16(p.format), le);
    for (int t = 0; t < p.traces; ++t) {
        char* trace = file.data() + 3600 + t * traceLength;
        put<qint32>(trace + 0, t + 1, le);
        put<qint32>(trace + 8, p.fieldRecord + (p.tracesPerRecord > 0 ? t / p.tracesPerRecord : 0), le);
        put<qint32>(trace + 40, receiverElevation(t), le);
        put<qint32>(trace + 44, sourceElevation(t), le);
        put<qint16>(trace + 68, qint16(p.elevationScalar), le);
        put<qint16>(trace + 70, qint16(p.scalar), le);
        put<qint32>(trace + 72, sourceX(t), le);
        put<qint32>(trace + 76, sourceY(t), le);
        put<qint32>(trace + 80, receiverX(t), le);
        put<qint32>(trace + 84, receiverY(t), le);
        put<qint16>(trace + 108, qint16(p.delay), le);
        put<qint16>(trace + 114, qint16(p.samples), le);
        put<qint16>(trace + 116, qint16(p.interval), le);
        put<qint16>(trace + 156, qint16(p.year), le);
        put<qint16>(trace + 158, 123, le);
        put<qint16>(trace + 160, 10, le);
        put<qint16>(trace + 162, 20, le);
        put<qint16>(trace + 164, 30, le);
        put<qint32>(trace + 188, receiverLine(t), le);
        put<qint32>(trace + 192, receiverPoint(t), le);
        put<qint32>(trace + 196, 321, le);
        put<qint32>(trace + 204, -5, le);
        for (int s = 0; s < p.samples; ++s)
            putSample(trace + 240 + s * bytesPerSample(p.format), p.format, sampleValue(t, s), le);
    }
    return file;
}

QList<QByteArray> tapeFile(const QByteArray& file)
{
    const int traceLength = qFromBigEndian<quint16>(file.constData() + 3220) * 4 + 240;
    QList<QByteArray> blocks{file.left(3200), file.mid(3200, 400)};
    for (int offset = 3600; offset < file.size(); offset += traceLength)
        blocks.append(file.mid(offset, traceLength));
    blocks.append(QByteArray());
    return blocks;
}

} // namespace dirtest
