#include "tests/support/SegdFixture.h"

#include <cstring>

namespace segdtest {

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

QByteArray generalHeader(const FieldFile& layout)
{
    const bool revision3 = layout.majorRevision >= 3;
    const int additional = 2 + (revision3 ? layout.extraBlocks.size() / 32 : 0);
    QByteArray header(96, '\0');
    put(header, 1, layout.fieldFile > 9999 ? bigEndian(0xFFFF, 2) : bcd(layout.fieldFile, 4));
    put(header, 3, bcd(layout.formatCode, 4));
    put(header, 11, bcd(7, 2));
    put(header, 12, bcd(52, 4));
    header[11] = char(uchar(header[11]) | (std::min(additional, 15) << 4));
    put(header, 14, bcd(130415, 6));
    put(header, 17, bcd(layout.manufacturer, 2));
    header[22] = char(layout.intervalMicroseconds * 16 / 1000);
    put(header, 26, bigEndian(0x8FFF, 2));
    put(header, 28, bcd(1, 2));
    put(header, 29, bcd(layout.channelSets.size(), 2));
    put(header, 31, bcd(layout.extendedBlocks, 2));
    put(header, 32, bcd(layout.externalBlocks, 2));
    const int samples = layout.channelSets.isEmpty() ? 0 : layout.channelSets.first().samples;
    const qint64 lengthMicroseconds = qint64(samples - 1) * layout.intervalMicroseconds;
    put(header, 33, bigEndian(quint64(layout.fieldFile), 3));
    header[42] = char(layout.majorRevision);
    header[43] = char(layout.minorRevision);
    if (revision3) {
        put(header, 36, bigEndian(quint64(layout.channelSets.size()), 2));
        put(header, 49, bigEndian(quint64(lengthMicroseconds), 4));
        put(header, 55, bigEndian(quint64(additional), 2));
        put(header, 57, bigEndian(quint64(layout.intervalMicroseconds), 3));
        header[95] = 3;
    } else {
        put(header, 47, bigEndian(quint64(lengthMicroseconds / 1000), 3));
        header[50] = 2;
        header[82] = 3;
    }
    header[63] = 2;
    return header + (revision3 ? layout.extraBlocks : QByteArray());
}

QByteArray descriptor(const FieldFile& layout, int index)
{
    const ChannelSet& set = layout.channelSets.at(index);
    const qint64 endMicroseconds = qint64(set.samples - 1) * layout.intervalMicroseconds;
    if (layout.majorRevision >= 3) {
        QByteArray block(96, '\0');
        put(block, 1, bcd(1, 2));
        put(block, 2, bigEndian(quint64(index + 1), 2));
        block[3] = char(set.seismic ? 0x10 : 0x20);
        put(block, 9, bigEndian(quint64(endMicroseconds), 4));
        put(block, 13, bigEndian(quint64(set.samples), 4));
        put(block, 17, ieee(1.0f));
        put(block, 21, bigEndian(quint64(set.channels), 3));
        put(block, 24, bigEndian(quint64(layout.intervalMicroseconds), 3));
        block[27] = char(layout.extensions);
        return block;
    }
    QByteArray block(32, '\0');
    put(block, 1, bcd(1, 2));
    put(block, 2, bcd(index + 1, 2));
    // End time in units of 2 ms, rounded up: the first extension states the exact samples.
    put(block, 5, bigEndian(quint64((endMicroseconds + 1999) / 2000), 2));
    put(block, 9, bcd(set.channels, 4));
    block[10] = char((set.seismic ? 1 : 9) << 4);
    block[28] = char(layout.extensions & 0x0F);
    return block;
}

QByteArray defaultSamples(int trace, int samples)
{
    QByteArray bytes;
    for (int i = 0; i < samples; ++i)
        bytes += ieee(float(1000 * trace + i));
    return bytes;
}

QByteArray trace(const FieldFile& layout, int set, int traceInFile, int channel)
{
    QByteArray header(20 + 32 * layout.extensions, '\0');
    put(header, 1, layout.fieldFile > 9999 ? bigEndian(0xFFFF, 2) : bcd(layout.fieldFile, 4));
    put(header, 3, bcd(1, 2));
    put(header, 4, bcd(set + 1, 2));
    put(header, 5, bcd(channel, 4));
    header[9] = char(layout.extensions);
    put(header, 18, bigEndian(quint64(layout.fieldFile), 3));
    const int samples = layout.channelSets.at(set).samples;
    if (layout.extensions > 0 && layout.majorRevision < 3)
        put(header, 28, bigEndian(quint64(samples), 3));
    if (layout.traceHeader)
        layout.traceHeader(header, traceInFile);
    return header +
           (layout.samples ? layout.samples(traceInFile, samples) : defaultSamples(traceInFile, samples));
}

} // namespace

int headerLength(const FieldFile& layout)
{
    const int descriptorBytes = layout.majorRevision >= 3 ? 96 : 32;
    return generalHeader(layout).size() + descriptorBytes * layout.channelSets.size() +
           32 * (layout.extendedBlocks + layout.externalBlocks);
}

QByteArray build(const FieldFile& layout)
{
    QByteArray file = generalHeader(layout);
    for (int set = 0; set < layout.channelSets.size(); ++set)
        file += descriptor(layout, set);
    file += QByteArray(32 * layout.extendedBlocks, '\0');
    file += QByteArray(32 * layout.externalBlocks, 'E');
    int traceInFile = 0;
    for (int set = 0; set < layout.channelSets.size(); ++set) {
        for (int channel = 1; channel <= layout.channelSets.at(set).channels; ++channel)
            file += trace(layout, set, traceInFile++, channel);
    }
    return file;
}

} // namespace segdtest
