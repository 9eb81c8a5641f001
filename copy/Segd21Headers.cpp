#include "copy/Segd21Headers.h"

#include "copy/SegdCommonHeaders.h"

namespace Segd21Headers {

namespace {

using namespace SegdWrittenFields;
using E = Encoding;

// Block 1 beyond the shared fields, then blocks 2 and 3.
constexpr std::array<Field, 10> generalHeader{{
    {16, 1, E::Bcd, Constant, 13}, // manufacturer
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

constexpr int descriptorBytes = 32;

constexpr std::array<Field, 8> channelSetDescriptor{{
    {0, 1, E::Bcd, Constant, 1}, // scan type
    {1, 1, E::Bcd, SetNumber, 0},
    {2, 2, E::Binary, StartTime2Ms, 0},
    {4, 2, E::Binary, EndTime2Ms, 0},
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
    SegdCommonHeaders::writeHeader(bytes.data(), generalHeader, channelSetDescriptor, descriptorBytes,
                                   values);
    return bytes;
}

} // namespace Segd21Headers
