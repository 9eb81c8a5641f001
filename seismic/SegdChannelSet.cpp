#include "seismic/SegdChannelSet.h"

#include "seismic/SegdBytes.h"

#include <algorithm>
#include <cmath>

namespace {

// Revision 3 channel type of seismic data.
constexpr int revision3Seismic = 0x10;

// Sign and magnitude in units of 2^-10 from revision 1 on; revision 0 keeps sign and
// magnitude (quarters) in the second byte alone.
double descaleExponent(quint32 word, int revision)
{
    if (revision == 0) {
        const double magnitude = (word & 0x7F) * 0.25;
        return (word & 0x80) ? -magnitude : magnitude;
    }
    const double magnitude = (word & 0x7FFF) * 0x1p-10;
    return (word & 0x8000) ? -magnitude : magnitude;
}

} // namespace

SegdChannelSet SegdChannelSet::fromBlock(const SegdBytes& block, int revision, float baseInterval)
{
    SegdChannelSet set;
    set.scanType = block.bcd(1, 2);
    set.number = block.uint8(2) == 0xFF ? int(block.uint16(27)) : block.bcd(2, 2);
    // Times are stored in units of 2 ms.
    set.startTime = float(block.uint16(3) * 2);
    set.endTime = float(block.uint16(5) * 2);
    set.descaleWord = block.uint16(7);
    set.descale = std::exp2(descaleExponent(set.descaleWord, revision));
    set.channels = block.bcd(9, 4);
    set.rawType = int(block.uint8(11) >> 4);
    set.type = set.rawType;
    set.subscans = 1 << (block.uint8(12) >> 4);
    set.gainControl = int(block.uint8(12) & 0x0F);
    for (int f = 0; f < 4; ++f)
        set.filters[size_t(f)] = float(block.bcd(13 + 2 * f, 4));
    set.sampleInterval = baseInterval / float(set.subscans);
    set.samples = set.timedSamples(false);
    set.traceHeaderExtensions = int(block.uint8(29) & 0x0F);
    set.verticalStack = int(block.uint8(30));
    set.streamerCable = int(block.uint8(31));
    set.arrayForming = int(block.uint8(32));
    return set;
}

SegdChannelSet SegdChannelSet::fromRevision3(const SegdBytes& blocks)
{
    SegdChannelSet set;
    set.scanType = blocks.bcd(1, 2);
    set.number = int(blocks.uint16(2));
    set.rawType = int(blocks.uint8(4));
    set.type = set.rawType == revision3Seismic ? seismicType : set.rawType;
    set.startTime = float(blocks.int32(5) / 1000.0);
    set.endTime = float(blocks.int32(9) / 1000.0);
    set.samples = blocks.int32(13);
    set.descaleWord = blocks.uint32(17);
    set.descale = double(blocks.float32(17));
    set.channels = int(blocks.uint24(21));
    set.sampleInterval = float(blocks.uint24(24) / 1000.0);
    set.arrayForming = int(blocks.uint8(27));
    set.traceHeaderExtensions = int(blocks.uint8(28));
    set.gainControl = int(blocks.uint8(29) & 0x0F);
    set.verticalStack = int(blocks.uint8(30));
    set.streamerCable = int(blocks.uint8(31));
    for (int f = 0; f < 4; ++f)
        set.filters[size_t(f)] = blocks.float32(33 + 4 * f);
    return set;
}

int SegdChannelSet::timedSamples(bool endAfterLastSample) const
{
    if (!(sampleInterval > 0) || !(endTime >= startTime))
        return 0;
    // A span no trace could hold stays far beyond any file, where the reader refuses it.
    const double steps = std::min((double(endTime) - startTime) / sampleInterval, 1e9);
    return int(std::lround(steps)) + (endAfterLastSample ? 0 : 1);
}
