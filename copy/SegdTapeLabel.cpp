#include "copy/SegdTapeLabel.h"

#include "seismic/SegdBytes.h"
#include "seismic/SegdGeneralHeader.h"

namespace {
// A header block of that length begins with a format code byte of 0 or 50h.
constexpr uchar headerFormatBytes[] = {0x00, 0x50};
} // namespace

bool SegdTapeLabel::isLabelBlock(const char* data, int length)
{
    if (length != labelBytes)
        return false;
    const uchar formatByte = uchar(data[2]);
    if (formatByte == headerFormatBytes[0] || formatByte == headerFormatBytes[1])
        return false;
    const SegdBytes bytes(data, length);
    return !SegdGeneralHeader::looksValid(bytes) || SegdGeneralHeader::parse(bytes).headerLength() != length;
}
