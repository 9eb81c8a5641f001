#include "copy/SegdCommonHeaders.h"

#include <cstring>

namespace SegdCommonHeaders {

namespace {

using namespace SegdWrittenFields;
using E = Encoding;

constexpr std::array<Field, 13> firstGeneralBlock{{
    {0, 2, E::Binary, Constant, 0xFFFF}, // file number in block 2
    {2, 2, E::Bcd, Constant, 8058},      // big-endian IEEE samples
    {10, 1, E::Bcd, YearDigits, 0},
    {11, 2, E::Bcd, DayWithBlocks, 0},
    {13, 1, E::Bcd, Hour, 0},
    {14, 1, E::Bcd, Minute, 0},
    {15, 1, E::Bcd, Second, 0},
    {22, 1, E::Binary, BaseInterval, 0},
    {25, 2, E::Binary, Constant, 0x8FFF}, // record type 8, record length in block 2
    {27, 1, E::Binary, Constant, 1},      // scan types per record
    {28, 1, E::Bcd, Constant, 16},        // channel sets per scan type
    {30, 1, E::Bcd, Constant, 32},        // extended header blocks
    {31, 1, E::Binary, Constant, 1},      // external header blocks
}};

constexpr std::array<Field, 13> extendedHeader{{
    {0, 4, E::Binary, RecordLengthMs, 0},
    {4, 4, E::Binary, SampleInterval, 0},
    {8, 4, E::Binary, Traces, 0},
    {12, 4, E::Binary, Constant, 0}, // auxiliary traces
    {16, 4, E::Binary, Traces, 0},   // seismic traces
    {20, 4, E::Binary, Constant, 0}, // dead traces
    {24, 4, E::Binary, Traces, 0},   // live traces
    {28, 4, E::Binary, Constant, 1},
    {32, 4, E::Binary, Samples, 0},
    {80, 4, E::Binary, DelayMs, 0}, // refraction delay
    {572, 8, E::Ieee64, SourceX, 0},
    {580, 8, E::Ieee64, SourceY, 0},
    {588, 4, E::Ieee32, SourceElevation, 0},
}};

constexpr std::array<Field, 16> traceHeader{{
    {0, 2, E::Binary, Constant, 0xFFFF}, // file number in bytes 17 to 19
    {2, 1, E::Bcd, Constant, 1},         // scan type
    {3, 1, E::Bcd, Constant, 1},         // channel set
    {4, 2, E::Bcd, TraceNumber, 0},
    {6, 2, E::Binary, Constant, 0},
    {9, 1, E::Binary, Constant, 2}, // trace header extensions
    {10, 1, E::Binary, Constant, 0},
    {17, 3, E::Binary, FileNumber, 0},
    // Extension 1.
    {20, 3, E::Binary, ReceiverLine, 0},
    {23, 3, E::Binary, ReceiverPoint, 0},
    {27, 3, E::Binary, Samples, 0},
    {40, 1, E::Binary, Constant, 2}, // sensor type
    // Extension 2.
    {52, 8, E::Ieee64, ReceiverX, 0},
    {60, 8, E::Ieee64, ReceiverY, 0},
    {68, 4, E::Ieee32, ReceiverElevation, 0},
    {72, 1, E::Binary, Constant, 1},
}};

// Revision 3 also states the receiver line and point in its extended fields (integer part,
// then a 16-bit fraction).
constexpr std::array<Field, 2> revision3TraceHeader{{
    {30, 3, E::Binary, ReceiverLine, 0},
    {35, 3, E::Binary, ReceiverPoint, 0},
}};

} // namespace

void writeFirstGeneralBlock(char* part, const Values& values)
{
    write(part, firstGeneralBlock, values);
}

void writeExtendedHeader(char* part, const Values& values)
{
    write(part, extendedHeader, values);
}

void writeTraceHeader(char* part, const Values& values, int revision)
{
    std::memset(part, 0, traceHeaderBytes);
    write(part, traceHeader, values);
    if (revision == 31)
        write(part, revision3TraceHeader, values);
}

} // namespace SegdCommonHeaders
