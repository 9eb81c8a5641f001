#pragma once

#include <QByteArray>
#include <QVector>
#include <functional>

// SEG-D field files built byte by byte for tests, as the standard lays them out: revisions 1
// and 2 with 32-byte channel set descriptors, revision 3 with 96-byte ones.
namespace segdtest {

struct ChannelSet {
    int channels = 2;
    bool seismic = true;
    int samples = 9;
};

struct FieldFile {
    int majorRevision = 2;
    int minorRevision = 1;
    int formatCode = 8058;
    int fieldFile = 1;
    int manufacturer = 13;
    int intervalMicroseconds = 1000;
    QVector<ChannelSet> channelSets = {{1, false, 9}, {3, true, 9}};
    int extensions = 7;
    int extendedBlocks = 2;
    int externalBlocks = 1;
    // Revision 3 general header blocks after block 3, each 32 bytes with its type in the last.
    QByteArray extraBlocks;
    // The file bytes of a trace's samples (trace 0-based within the file); by default IEEE
    // floats 1000 x trace + sample.
    std::function<QByteArray(int trace, int samples)> samples;
    // Changes a trace's header and extensions (20 + 32 x extensions bytes) once built.
    std::function<void(QByteArray& header, int trace)> traceHeader;
};

QByteArray build(const FieldFile& layout);
// Bytes of the header that precede the first trace.
int headerLength(const FieldFile& layout);

// Packed BCD digits, most significant first.
QByteArray bcd(qint64 value, int digits);
QByteArray bigEndian(quint64 value, int bytes);
QByteArray ieee(float value);
QByteArray ieee64(double value);
// Writes bytes into data at the 1-based position byte.
void put(QByteArray& data, int byte, const QByteArray& bytes);

} // namespace segdtest
