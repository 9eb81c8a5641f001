#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QVector>
#include <functional>
#include <optional>

// SEG-D field files written byte by byte from the standard's layout (revisions 1.0 to 3.1), with
// presets for the conventions recorders follow. Independent of the program's readers and writers,
// so that a test built on them can catch an assumption the program makes.
namespace segdstd {

// How a channel set descriptor's end time relates to its samples.
enum class EndTime {
    LastSample,      // start + (samples - 1) x interval: the time of the last sample
    AfterLastSample, // start + samples x interval: the end of the last sample's interval
};

struct ChannelSet {
    ChannelSet() = default;
    ChannelSet(int channels, int samples, int type = 1, int startMs = 0)
        : channels(channels), samples(samples), type(type), startMs(startMs)
    {}

    int channels = 1;
    // Samples per trace as the descriptor states them: the end time (revisions 1 and 2 in 2 ms
    // units, to the nearest) and in revision 3 bytes 13-16.
    int samples = 1;
    // The revision 1 and 2 code: 1 seismic, 2 time break, 9 signature filtered, any other than 1
    // auxiliary. Revision 3 writes it as the high nibble (10h, 20h, 90h).
    int type = 1;
    int startMs = 0;
    // Samples that trace header extension 1 states, when not samples.
    std::optional<int> statedSamples;
    // Samples each trace actually holds, when not samples.
    std::optional<int> writtenSamples;
};

struct FieldFile {
    int majorRevision = 2;
    int minorRevision = 1;
    int manufacturer = 61;
    // 8058 IEEE single, 8080 IEEE double, 8036 24-bit and 8038 32-bit integers, all big-endian.
    int formatCode = 8058;
    // Above 9999 the BCD fields hold FFFF and the expanded (binary) number counts.
    int fieldFile = 1;
    int intervalMicroseconds = 1000;
    QVector<ChannelSet> channelSets = {{2, 101}};
    int extensions = 1;
    EndTime endTime = EndTime::LastSample;
    // Extension 1 states the samples (revisions 1 and 2: bytes 8-10; 3: bytes 25-28), else 0.
    bool statesSamples = true;
    // Revision 3: extension 2 is the timestamp (42h); further extensions are sensor information (41h).
    bool timestampExtension = false;
    // General header blocks in revisions 1 and 2 (1 to 3); revision 3 always has blocks 1-3.
    int generalBlocks = 3;
    // Revision 3 general header blocks after block 3, by type (such as 16h, 15h, 50h).
    QVector<int> extraGeneralBlocks;
    int extendedBlocks = 0;
    int externalBlocks = 0;
    char externalFill = ' ';
    // Block 1's date and time; revision 3 also states it in GPS microseconds (block 3) and the
    // timestamp extension adds each set's start time to it.
    QDateTime timeZero = QDateTime({2024, 3, 14}, {9, 26, 53, 589}, Qt::UTC);
    // The file bytes of a trace's samples (trace 0-based in the file), when not sampleValue's.
    std::function<QByteArray(int trace, int samples)> samples;
    // Changes a trace's header and extensions (20 + 32 x extensions bytes) once built.
    std::function<void(QByteArray& header, int trace)> traceHeader;
    QByteArray appended;
    // Only the first keepBytes bytes of the built file are returned.
    std::optional<int> keepBytes;
};

QByteArray build(const FieldFile& file);
// Bytes before the first trace: general header, channel set descriptors, extended and external blocks.
int headerLength(const FieldFile& file);
// Bytes of one trace record of a set as written: header, extensions and samples.
int traceRecordBytes(const FieldFile& file, int set);
// Microseconds since the GPS epoch (1980-01-06 00:00:00 UTC), leap seconds counted.
qint64 gpsMicroseconds(const QDateTime& utc);
// The value of a sample, trace 0-based in the order of the file and sample 0-based in the trace.
double sampleValue(int trace, int sample);

// Packed BCD digits, most significant first.
QByteArray bcd(qint64 value, int digits);
QByteArray bigEndian(quint64 value, int bytes);
QByteArray ieee(float value);
QByteArray ieee64(double value);
// Writes bytes into data at the 1-based position byte.
void put(QByteArray& data, int byte, const QByteArray& bytes);

// A Sercel recorder's revision 2.1 (manufacturer 13), as small as the reading rules need: one
// auxiliary (9) and three seismic traces of 9 IEEE floats at 1 ms, seven extensions stating the
// samples, two extended blocks and one external block of "E": 256 header bytes, 1,376 in all.
FieldFile sercelRevision21();

// A nodal recorder's revision 1.6 (manufacturer 20): three seismic sets of three 30,000-sample
// traces at 1 ms in IEEE floats, ten extensions, samples in extension 1, end times after the last
// sample; a 288-byte header (general blocks 1-2, two extended and two external blocks).
FieldFile nodalRevision16();
// Sercel's revision 1.0 (manufacturer 13): two auxiliary (9) and six seismic traces of 1,001
// samples at 1 ms in IEEE floats, seven extensions stating the samples, 32 extended blocks.
FieldFile sercelRevision1();
// Revision 2.1 of manufacturer 61: 24-bit integers at 2 ms in sets of 501 (one time break),
// 1,001 (four seismic) and 751 samples (three seismic, from 100 ms), two extensions.
FieldFile standardRevision21();
// Revision 3.1 of manufacturer 34: IEEE doubles at 500 us in sets of 2,001 (one time break),
// 4,001 (five seismic) and 1,001 samples (two seismic), extensions 40h and 42h, end times after
// the last sample, an explosive source block (16h) as general block 4.
FieldFile standardRevision31();

// Damaged and edge cases over a preset.
// 512 bytes of zeros after the last trace.
FieldFile withTrailingBytes(FieldFile file = standardRevision21());
// The header alone.
FieldFile headerOnly(FieldFile file = standardRevision21());
// The header and the 20 bytes of the first trace header, without its extensions or samples.
FieldFile headerAndBareTraceHeader(FieldFile file = standardRevision21());
// Revision 2.1 with two or more traces per set whose extension 1 and end times agree on a count
// while the traces hold ten samples more: neither end-time rule gives the file's layout.
FieldFile countsMatchNeitherRule();
// Revision 2.1 without extensions: 2,000 seismic traces of one IEEE sample at 1 ms, then a set of
// one 30,247-sample trace that the file ends in after its first five samples (48,200 bytes): the
// headers announce 2,001 traces of up to 30,247 samples.
FieldFile shortTracesThenLongCut();
// The nodal revision 1.6 with 30,001 samples per trace, none stated in extension 1 (0), and end
// times at the last sample (30,000 ms): only the descriptors tell the count, by the other rule.
FieldFile revision1WithoutStatedSamples();

} // namespace segdstd
