#include "copy/Segd31Headers.h"

#include "copy/SegdCommonHeaders.h"

namespace Segd31Headers {

namespace {

using namespace SegdWrittenFields;
using E = Encoding;

// Block 1 beyond the shared fields, then blocks 2 and 3.
constexpr std::array<Field, 12> generalHeader{{
    {16, 1, E::Bcd, Constant, 63}, // manufacturer
    // Block 2.
    {32, 3, E::Binary, FileNumber, 0},
    {42, 1, E::Binary, Constant, 3}, // revision 3.1
    {43, 1, E::Binary, Constant, 1},
    {48, 4, E::Binary, RecordLengthUs, 0}, // the standard's extended record length
    {54, 2, E::Binary, Constant, 2},       // additional general header blocks
    {56, 3, E::Binary, SampleInterval, 0},
    {63, 1, E::Binary, Constant, 2},
    // Block 3.
    {72, 8, E::Binary, RecordSize, 0},
    {80, 8, E::Binary, DataSize, 0},
    {88, 4, E::Binary, HeaderLength, 0},
    {95, 1, E::Binary, Constant, 3},
}};

constexpr int descriptorBytes = 3 * 32;

constexpr std::array<Field, 16> channelSetDescriptor{{
    {0, 1, E::Bcd, Constant, 1}, // scan type
    {1, 2, E::Binary, SetNumber, 0},
    {3, 1, E::Binary, Constant, 0x10}, // seismic channels
    {4, 4, E::Binary, StartTimeUs, 0},
    {8, 4, E::Binary, EndTimeUs, 0},
    {12, 4, E::Binary, Samples, 0},
    {16, 4, E::Ieee32, Constant, 1.0}, // descale factor
    {20, 3, E::Binary, SetChannels, 0},
    {23, 3, E::Binary, SampleInterval, 0},
    {26, 1, E::Binary, Constant, 1},
    {27, 1, E::Binary, Constant, 2}, // trace header extensions
    {28, 1, E::Binary, Constant, 0x13},
    {29, 1, E::Binary, Constant, 1}, // vertical stack
    {31, 1, E::Binary, Constant, 0x30},
    {63, 1, E::Binary, Constant, 0x31},
    {95, 1, E::Binary, Constant, 0x32},
}};

} // namespace

QByteArray build(const Values& fileValues)
{
    QByteArray bytes(headerLength, '\0');
    Values values = fileValues;
    values[HeaderLength] = headerLength;
    values[DataSize] = values[Traces] * double(SegdCommonHeaders::traceRecordBytes(int(values[Samples])));
    values[RecordSize] = headerLength + values[DataSize];
    SegdCommonHeaders::writeHeader(bytes.data(), generalHeader, channelSetDescriptor, descriptorBytes,
                                   values);
    return bytes;
}

} // namespace Segd31Headers
