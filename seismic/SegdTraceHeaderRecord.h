#pragma once

#include "seismic/SegdBytes.h"

#include <QtGlobal>
#include <algorithm>
#include <array>
#include <cstring>

// The header of one demultiplexed trace as read: the 20-byte SEG-D trace header and as many
// of its 32-byte extensions as the exported columns reach (seven, as Sercel recorders write
// them). Positions are 1-based from the first byte of the 20-byte header.
class SegdTraceHeaderRecord {
public:
    static constexpr int headerBytes = 20;
    static constexpr int extensionBytes = 32;
    static constexpr int keptExtensions = 7;
    static constexpr int keptBytes = headerBytes + keptExtensions * extensionBytes;

    SegdTraceHeaderRecord() = default;
    // Keeps the first keptBytes of a trace header and its extensions.
    explicit SegdTraceHeaderRecord(const SegdBytes& header)
        : length_(int(std::min<qint64>(header.size(), keptBytes)))
    {
        if (length_ > 0)
            std::memcpy(bytes_.data(), header.data(), size_t(length_));
    }

    SegdBytes bytes() const { return SegdBytes(bytes_.data(), length_); }

    // Bytes 1-2 (4 BCD digits), or the 24-bit extended number of bytes 18-20 when all ones.
    static int fieldFile(const SegdBytes& h)
    {
        return h.uint16(1) == 0xFFFF ? int(h.uint24(18)) : h.bcd(1, 4);
    }
    static int scanType(const SegdBytes& h) { return h.bcd(3, 2); }
    // Byte 4 (2 BCD digits), or the 16-bit extended channel set of bytes 16-17 when all ones.
    static int channelSet(const SegdBytes& h) { return h.uint8(4) == 0xFF ? int(h.uint16(16)) : h.bcd(4, 2); }
    static int traceNumber(const SegdBytes& h) { return h.bcd(5, 4); }
    static int extensions(const SegdBytes& h) { return int(h.uint8(10)); }
    // First extension: receiver line and point, samples of the trace.
    static int receiverLine(const SegdBytes& h) { return h.int24(21); }
    static int receiverPoint(const SegdBytes& h) { return h.int24(24); }
    static int samples(const SegdBytes& h) { return int(h.uint24(28)); }

private:
    std::array<uchar, keptBytes> bytes_{};
    int length_ = 0;
};
