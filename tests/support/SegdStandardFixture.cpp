#include "tests/support/SegdStandardFixture.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace segdstd {

QByteArray bcd(qint64 value, int digits)
{
    QByteArray bytes((digits + 1) / 2, '\0');
    for (int d = digits - 1; d >= 0; --d, value /= 10) {
        const int nibble = d + (digits % 2);
        bytes[nibble / 2] = char(uchar(bytes[nibble / 2]) | ((value % 10) << ((nibble % 2) ? 0 : 4)));
    }
    return bytes;
}

QByteArray bigEndian(quint64 value, int bytes)
{
    QByteArray result(bytes, '\0');
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        result[i] = char(value & 0xFF);
    return result;
}

QByteArray ieee(float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bigEndian(bits, 4);
}

QByteArray ieee64(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bigEndian(bits, 8);
}

void put(QByteArray& data, int byte, const QByteArray& bytes)
{
    data.replace(byte - 1, bytes.size(), bytes);
}

namespace {

bool revision3(const FieldFile& file)
{
    return file.majorRevision >= 3;
}

int generalBlocks(const FieldFile& file)
{
    return revision3(file) ? 3 + file.extraGeneralBlocks.size() : file.generalBlocks;
}

QByteArray fileNumber(const FieldFile& file)
{
    return file.fieldFile > 9999 ? bigEndian(0xFFFF, 2) : bcd(file.fieldFile, 4);
}

// Two BCD digits, or FF when the value needs the binary field that extends them.
QByteArray bcdOrFF(int value)
{
    return value > 99 ? bigEndian(0xFF, 1) : bcd(value, 2);
}

QByteArray encodeSample(int formatCode, double value)
{
    switch (formatCode) {
    case 8080:
        return ieee64(value);
    case 8036:
        return bigEndian(quint64(qint64(value)), 3);
    case 8038:
        return bigEndian(quint64(qint64(value)), 4);
    default:
        return ieee(float(value));
    }
}

qint64 startMicroseconds(const ChannelSet& set)
{
    return qint64(set.startMs) * 1000;
}

qint64 endMicroseconds(const FieldFile& file, const ChannelSet& set)
{
    const int intervals = file.endTime == EndTime::LastSample ? set.samples - 1 : set.samples;
    return startMicroseconds(set) + qint64(intervals) * file.intervalMicroseconds;
}

// The latest end time of the sets.
qint64 recordLengthMicroseconds(const FieldFile& file)
{
    qint64 length = 0;
    for (const ChannelSet& set : file.channelSets)
        length = std::max(length, endMicroseconds(file, set));
    return length;
}

qint64 dataBytes(const FieldFile& file)
{
    qint64 bytes = 0;
    for (int set = 0; set < file.channelSets.size(); ++set)
        bytes += qint64(file.channelSets.at(set).channels) * traceRecordBytes(file, set);
    return bytes;
}

QByteArray generalHeader(const FieldFile& file)
{
    const int blocks = generalBlocks(file);
    const int sets = file.channelSets.size();
    const qint64 length = recordLengthMicroseconds(file);
    const QDateTime time = file.timeZero.toUTC();
    QByteArray header(32 * blocks, '\0');
    put(header, 1, fileNumber(file));
    put(header, 3, bcd(file.formatCode, 4));
    put(header, 11, bcd(time.date().year() % 100, 2));
    // The day's three digits start in the low nibble of byte 12; the high one counts the blocks.
    put(header, 12, bcd(time.date().dayOfYear(), 4));
    header[11] = char(uchar(header[11]) | std::min(blocks - 1, 15) << 4);
    const QTime clock = time.time();
    put(header, 14, bcd(clock.hour() * 10000 + clock.minute() * 100 + clock.second(), 6));
    put(header, 17, bcd(file.manufacturer, 2));
    header[22] = char(file.intervalMicroseconds * 16 / 1000);
    // Record type 8 and the length in units of 102.4 ms, or FFF when block 2 gives it exactly.
    put(header, 26,
        blocks > 1 ? bigEndian(0xFFF, 2) : bcd(std::min<qint64>(999, (length + 51200) / 102400), 3));
    header[25] = char(uchar(header[25]) | 0x80);
    put(header, 28, bcd(1, 2));
    put(header, 29, bcdOrFF(sets));
    put(header, 31, bcdOrFF(file.extendedBlocks));
    put(header, 32, bcdOrFF(file.externalBlocks));
    if (blocks < 2)
        return header;
    put(header, 33, bigEndian(quint64(file.fieldFile), 3));
    put(header, 36, bigEndian(quint64(sets), 2));
    header[42] = char(file.majorRevision);
    header[43] = char(file.minorRevision);
    if (revision3(file)) {
        put(header, 38, bigEndian(quint64(file.extendedBlocks), 3));
        put(header, 49, bigEndian(quint64(length), 4));
        put(header, 55, bigEndian(quint64(blocks - 1), 2));
        put(header, 57, bigEndian(quint64(file.intervalMicroseconds), 3));
        put(header, 60, bigEndian(quint64(file.externalBlocks), 3));
        header[63] = 0x02;
        put(header, 65, bigEndian(quint64(gpsMicroseconds(time)), 8));
        put(header, 73, bigEndian(quint64(headerLength(file) + dataBytes(file)), 8));
        put(header, 81, bigEndian(quint64(dataBytes(file)), 8));
        put(header, 89, bigEndian(quint64(headerLength(file)), 4));
        header[95] = 0x03;
        for (int extra = 0; extra < file.extraGeneralBlocks.size(); ++extra)
            header[32 * (3 + extra) + 31] = char(file.extraGeneralBlocks.at(extra));
        return header;
    }
    put(header, 38, bigEndian(quint64(file.extendedBlocks), 2));
    put(header, 40, bigEndian(quint64(file.externalBlocks), 2));
    put(header, 47, bigEndian(quint64(length / 1000), 3));
    header[50] = 2;
    if (blocks > 2) {
        put(header, 65, bigEndian(quint64(file.fieldFile), 3));
        header[82] = 3;
    }
    return header;
}

QByteArray descriptor(const FieldFile& file, int index)
{
    const ChannelSet& set = file.channelSets.at(index);
    const quint64 start = quint64(startMicroseconds(set));
    const qint64 end = endMicroseconds(file, set);
    if (revision3(file)) {
        QByteArray block(96, '\0');
        put(block, 1, bcd(1, 2));
        put(block, 2, bigEndian(quint64(index + 1), 2));
        block[3] = char(set.type << 4);
        put(block, 5, bigEndian(start, 4));
        put(block, 9, bigEndian(quint64(end), 4));
        put(block, 13, bigEndian(quint64(set.samples), 4));
        put(block, 17, ieee(1.0f));
        put(block, 21, bigEndian(quint64(set.channels), 3));
        put(block, 24, bigEndian(quint64(file.intervalMicroseconds), 3));
        block[27] = char(file.extensions);
        block[29] = 1;
        block[31] = 0x30;
        block[63] = 0x31;
        put(block, 69, QByteArray("channel set ") + QByteArray::number(index + 1));
        block[95] = 0x32;
        return block;
    }
    QByteArray block(32, '\0');
    put(block, 1, bcd(1, 2));
    put(block, 2, bcdOrFF(index + 1));
    put(block, 3, bigEndian(start / 2000, 2));
    // Units of 2 ms, to the nearest: an odd number of milliseconds cannot be said exactly.
    put(block, 5, bigEndian(quint64((end + 1000) / 2000), 2));
    put(block, 9, bcd(set.channels, 4));
    block[10] = char(set.type << 4);
    put(block, 27, bigEndian(quint64(index + 1), 2));
    block[28] = char(file.extensions & 0x0F);
    block[29] = 1;
    return block;
}

QByteArray traceRecord(const FieldFile& file, int set, int channel, int traceInFile)
{
    const ChannelSet& channelSet = file.channelSets.at(set);
    QByteArray record(20 + 32 * file.extensions, '\0');
    put(record, 1, fileNumber(file));
    put(record, 3, bcd(1, 2));
    put(record, 4, bcdOrFF(set + 1));
    put(record, 5, bcd(channel, 4));
    record[9] = char(file.extensions);
    put(record, 16, bigEndian(quint64(set + 1), 2));
    put(record, 18, bigEndian(quint64(file.fieldFile), 3));
    const int stated = file.statesSamples ? channelSet.statedSamples.value_or(channelSet.samples) : 0;
    if (revision3(file)) {
        for (int extension = 0; extension < file.extensions; ++extension) {
            const bool timestamp = extension == 1 && file.timestampExtension;
            record[20 + 32 * extension + 31] = char(extension == 0 ? 0x40 : timestamp ? 0x42 : 0x41);
        }
        if (file.extensions > 0) {
            put(record, 42, bigEndian(quint64(traceInFile + 1), 3));
            put(record, 45, bigEndian(quint64(stated), 4));
        }
        if (file.extensions > 1 && file.timestampExtension) {
            const qint64 first = gpsMicroseconds(file.timeZero) + startMicroseconds(channelSet);
            put(record, 53, bigEndian(quint64(first), 8));
        }
    } else if (file.extensions > 0) {
        put(record, 28, bigEndian(quint64(stated), 3));
    }
    if (file.traceHeader)
        file.traceHeader(record, traceInFile);
    const int written = channelSet.writtenSamples.value_or(channelSet.samples);
    if (file.samples)
        return record + file.samples(traceInFile, written);
    for (int sample = 0; sample < written; ++sample)
        record += encodeSample(file.formatCode, sampleValue(traceInFile, sample));
    return record;
}

} // namespace

int headerLength(const FieldFile& file)
{
    const int descriptorBytes = revision3(file) ? 96 : 32;
    return 32 * (generalBlocks(file) + file.extendedBlocks + file.externalBlocks) +
           descriptorBytes * file.channelSets.size();
}

int traceRecordBytes(const FieldFile& file, int set)
{
    const ChannelSet& channelSet = file.channelSets.at(set);
    return 20 + 32 * file.extensions +
           channelSet.writtenSamples.value_or(channelSet.samples) * encodeSample(file.formatCode, 0).size();
}

qint64 gpsMicroseconds(const QDateTime& utc)
{
    // The days from whose start UTC is one more second behind GPS time, 1980 to today.
    static const QDate leapSeconds[] = {{1981, 7, 1}, {1982, 7, 1}, {1983, 7, 1}, {1985, 7, 1}, {1988, 1, 1},
                                        {1990, 1, 1}, {1991, 1, 1}, {1992, 7, 1}, {1993, 7, 1}, {1994, 7, 1},
                                        {1996, 1, 1}, {1997, 7, 1}, {1999, 1, 1}, {2006, 1, 1}, {2009, 1, 1},
                                        {2012, 7, 1}, {2015, 7, 1}, {2017, 1, 1}};
    const QDateTime epoch({1980, 1, 6}, {0, 0}, Qt::UTC);
    const QDateTime time = utc.toUTC();
    const qint64 leaps = std::count_if(std::begin(leapSeconds), std::end(leapSeconds), [&](const QDate& day) {
        return QDateTime(day, {0, 0}, Qt::UTC) <= time;
    });
    return (epoch.msecsTo(time) + 1000 * leaps) * 1000;
}

double sampleValue(int trace, int sample)
{
    return 1000.0 * trace + sample;
}

QByteArray build(const FieldFile& file)
{
    QByteArray bytes = generalHeader(file);
    bytes.reserve(int(headerLength(file) + dataBytes(file) + file.appended.size()));
    for (int set = 0; set < file.channelSets.size(); ++set)
        bytes += descriptor(file, set);
    bytes += QByteArray(32 * file.extendedBlocks, '\0');
    bytes += QByteArray(32 * file.externalBlocks, file.externalFill);
    int traceInFile = 0;
    for (int set = 0; set < file.channelSets.size(); ++set) {
        for (int channel = 1; channel <= file.channelSets.at(set).channels; ++channel)
            bytes += traceRecord(file, set, channel, traceInFile++);
    }
    bytes += file.appended;
    if (file.keepBytes)
        bytes.truncate(*file.keepBytes);
    return bytes;
}

FieldFile sercelRevision21()
{
    FieldFile file;
    file.manufacturer = 13;
    file.channelSets = {{1, 9, 9}, {3, 9}};
    file.extensions = 7;
    file.extendedBlocks = 2;
    file.externalBlocks = 1;
    file.externalFill = 'E';
    return file;
}

FieldFile nodalRevision16()
{
    FieldFile file;
    file.majorRevision = 1;
    file.minorRevision = 6;
    file.manufacturer = 20;
    file.channelSets = {{3, 30000}, {3, 30000}, {3, 30000}};
    file.extensions = 10;
    file.endTime = EndTime::AfterLastSample;
    file.generalBlocks = 2;
    file.extendedBlocks = 2;
    file.externalBlocks = 2;
    return file;
}

FieldFile sercelRevision1()
{
    FieldFile file;
    file.majorRevision = 1;
    file.minorRevision = 0;
    file.manufacturer = 13;
    file.channelSets = {{2, 1001, 9}, {6, 1001}};
    file.extensions = 7;
    file.extendedBlocks = 32;
    return file;
}

FieldFile standardRevision21()
{
    FieldFile file;
    file.formatCode = 8036;
    file.intervalMicroseconds = 2000;
    file.channelSets = {{1, 501, 2}, {4, 1001}, {3, 751, 1, 100}};
    file.extensions = 2;
    return file;
}

FieldFile standardRevision31()
{
    FieldFile file;
    file.majorRevision = 3;
    file.minorRevision = 1;
    file.manufacturer = 34;
    file.formatCode = 8080;
    file.intervalMicroseconds = 500;
    file.channelSets = {{1, 2001, 2}, {5, 4001}, {2, 1001}};
    file.extensions = 2;
    file.timestampExtension = true;
    file.endTime = EndTime::AfterLastSample;
    file.extraGeneralBlocks = {0x16};
    return file;
}

FieldFile withTrailingBytes(FieldFile file)
{
    file.appended = QByteArray(512, '\0');
    return file;
}

FieldFile headerOnly(FieldFile file)
{
    file.keepBytes = headerLength(file);
    return file;
}

FieldFile headerAndBareTraceHeader(FieldFile file)
{
    file.keepBytes = headerLength(file) + 20;
    return file;
}

FieldFile countsMatchNeitherRule()
{
    FieldFile file = standardRevision21();
    file.channelSets.first().channels = 2;
    for (ChannelSet& set : file.channelSets)
        set.writtenSamples = set.samples + 10;
    return file;
}

FieldFile shortTracesThenLongCut()
{
    FieldFile file;
    file.channelSets = {{2000, 1}, {1, 30247}};
    file.extensions = 0;
    file.keepBytes = headerLength(file) + traceRecordBytes(file, 0) * 2000 + 20 + 5 * 4;
    return file;
}

FieldFile revision1WithoutStatedSamples()
{
    FieldFile file = nodalRevision16();
    file.statesSamples = false;
    file.endTime = EndTime::LastSample;
    // An odd count at 1 ms puts the last sample on an even millisecond, exact in 2 ms units.
    for (ChannelSet& set : file.channelSets)
        set.samples = 30001;
    return file;
}

} // namespace segdstd
