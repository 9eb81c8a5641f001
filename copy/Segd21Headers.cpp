#include "copy/Segd21Headers.h"

#include "copy/SegdCommonHeaders.h"

namespace Segd21Headers {

namespace {

using namespace SegdHeaderFields;
using E = Encoding;

constexpr std::array<Field, 23> generalHeader{{
    // Block 1.
    {0, 2, E::Binary, Constant, 0xFFFF}, // file number in block 2
    {2, 2, E::Bcd, Constant, 8058},      // big-endian IEEE samples
    {10, 1, E::Bcd, YearDigits, 0},
    {11, 2, E::Bcd, DayWithBlocks, 0},
    {13, 1, E::Bcd, Hour, 0},
    {14, 1, E::Bcd, Minute, 0},
    {15, 1, E::Bcd, Second, 0},
    {16, 1, E::Bcd, Constant, 13}, // manufacturer
    {22, 1, E::Binary, BaseInterval, 0},
    {25, 2, E::Binary, Constant, 0x8FFF}, // record type 8, record length in block 2
    {27, 1, E::Binary, Constant, 1},      // scan types per record
    {28, 1, E::Bcd, Constant, 16},        // channel sets per scan type
    {30, 1, E::Bcd, Constant, 32},        // extended header blocks
    {31, 1, E::Binary, Constant, 1},      // external header blocks
    // Block 2.
    {32, 3, E::Binary, FileNumber, 0},
    {42, 1, E::Binary, Constant, 2}, // revision 2.1
    {43, 1, E::Binary, Constant, 1},
    {46, 3, E::Binary, RecordLengthMs, 0},
    {63, 1, E::Binary, Constant, 2},
    // Block 3.
    {67, 3, E::Binary, SourceWord, 0},
    {72, 3, E::Binary, ShotPoint, 0},
    {88, 4, E::Binary, HeaderLength, 0},
    {95, 1, E::Binary, Constant, 3},
}};

constexpr int descriptorOffset = 3 * 32;
constexpr int descriptorBytes = 32;

constexpr std::array<Field, 7> channelSetDescriptor{{
    {0, 1, E::Bcd, Constant, 1}, // scan type
    {1, 1, E::Binary, SetNumber, 0},
    {4, 2, E::Binary, HalfRecordLength, 0}, // end time in 2 ms units
    {6, 2, E::Binary, Constant, 1000},
    {8, 2, E::Bcd, SetChannels, 0},
    {10, 1, E::Binary, Constant, 0x10}, // seismic channels
    {28, 1, E::Binary, Constant, 0xF2}, // two trace header extensions
}};

} // namespace

QByteArray build(const Values& fileValues)
{
    QByteArray bytes(headerLength, '\0');
    Values values = fileValues;
    values[HeaderLength] = headerLength;
    write(bytes.data(), generalHeader, values);
    for (int set = 1; set <= SegdCommonHeaders::channelSets; ++set) {
        values[SetNumber] = set;
        values[SetChannels] = set == 1 ? values[Traces] : 0;
        write(bytes.data() + descriptorOffset + (set - 1) * descriptorBytes, channelSetDescriptor, values);
    }
    const int extendedOffset = descriptorOffset + SegdCommonHeaders::channelSets * descriptorBytes;
    SegdCommonHeaders::writeExtendedHeader(bytes.data() + extendedOffset, values);
    return bytes;
}

} // namespace Segd21Headers
