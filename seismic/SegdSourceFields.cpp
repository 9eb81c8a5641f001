#include "seismic/SegdSourceFields.h"

#include "seismic/SegdBytes.h"
#include "seismic/SegdGeneralHeader.h"

namespace {

// Revisions 1 and 2: general header block 3, bytes from the start of the file.
constexpr int sourceLineByte = 68;
constexpr int sourceLocationByte = 73;
constexpr int sourceIndexByte = 78;
constexpr int sourceSetByte = 84;
// The binary fraction that follows the integer part of a line or point number.
constexpr double fractionUnits = 10000.0;

// Revision 3 general header blocks describing the source carry their type in their last byte.
constexpr int explosiveSourceBlock = 0x16;
constexpr int vibratorSourceBlock = 0x15;
constexpr int blockLineByte = 4;
constexpr int blockLocationByte = 9;
constexpr int blockIndexByte = 14;
constexpr int blockSetByte = 20;

} // namespace

SegdSourceFields SegdSourceFields::read(const SegdGeneralHeader& general, const SegdBytes& header)
{
    SegdSourceFields source;
    if (general.majorRevision < 3) {
        if (general.blocks < 3)
            return source;
        source.lineNumber = header.int24(sourceLineByte);
        source.line = float(source.lineNumber + header.uint16(sourceLineByte + 3) / fractionUnits);
        source.location =
            float(header.int24(sourceLocationByte) + header.uint16(sourceLocationByte + 3) / fractionUnits);
        source.index = int(header.uint8(sourceIndexByte));
        source.set = int(header.uint8(sourceSetByte));
        return source;
    }
    // Blocks 1 to 3 have fixed meanings; the described blocks follow them.
    for (int block = 3; block < general.blocks; ++block) {
        const SegdBytes bytes =
            header.part(qint64(block) * SegdGeneralHeader::blockBytes + 1, SegdGeneralHeader::blockBytes);
        const quint32 type = bytes.uint8(SegdGeneralHeader::blockBytes);
        if (type != explosiveSourceBlock && type != vibratorSourceBlock)
            continue;
        source.type = type == explosiveSourceBlock ? 1 : 2;
        source.lineNumber = bytes.int24(blockLineByte);
        source.line = float(source.lineNumber);
        source.location = float(bytes.int24(blockLocationByte));
        source.index = bytes.int24(blockIndexByte);
        source.set = int(bytes.uint8(blockSetByte));
    }
    return source;
}
