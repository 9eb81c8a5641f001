#pragma once

#include <QtGlobal>
#include <array>

// The fields of the SEG-D headers a SEG-Y conversion writes, as tables: where a field lies,
// how it is encoded and which value it holds. One writer puts any table into a header.
namespace SegdWrittenFields {

enum class Encoding : quint8 {
    Bcd,    // packed decimal, two digits a byte, most significant first
    Binary, // big-endian two's complement, the low bytes of the value
    Ieee32, // big-endian IEEE single precision
    Ieee64, // big-endian IEEE double precision
};

// The values the headers are built from; Constant takes the field's own constant.
enum Value : int {
    Constant,
    YearDigits,    // the year's last two digits
    DayWithBlocks, // 2 (additional general header blocks) followed by three digits of day
    Hour,
    Minute,
    Second,
    BaseInterval, // sixteenths of a millisecond
    FileNumber,   // the field record number
    RecordLengthMs,
    RecordLengthUs,
    DelayMs, // the recording delay: the time of the first sample, signed
    // Channel set start and end times: in the 2 ms units of revision 2.1, in microseconds for 3.1.
    StartTime2Ms,
    EndTime2Ms,
    StartTimeUs,
    EndTimeUs,
    SourceWord, // SEG-Y trace header bytes 205 to 208
    ShotPoint,
    HeaderLength,
    RecordSize,     // headers and every trace record
    DataSize,       // every trace record
    SampleInterval, // microseconds
    Samples,
    Traces,
    SourceX,
    SourceY,
    SourceElevation,
    SetNumber,   // of the channel set descriptor being written
    SetChannels, // its channel count: the traces for set 1, 0 for the others
    TraceNumber,
    ReceiverLine,
    ReceiverPoint,
    ReceiverX,
    ReceiverY,
    ReceiverElevation,
    ValueCount
};

using Values = std::array<double, ValueCount>;

// offset is 0-based from the start of the table's part of the header.
struct Field {
    int offset;
    int width;
    Encoding encoding;
    Value value;
    double constant;
};

// Writes every field of the table into `part`, which holds at least the bytes they reach.
template <size_t N> void write(char* part, const std::array<Field, N>& table, const Values& values);

void writeField(char* part, const Field& field, const Values& values);

template <size_t N> void write(char* part, const std::array<Field, N>& table, const Values& values)
{
    for (const Field& field : table)
        writeField(part, field, values);
}

} // namespace SegdWrittenFields
