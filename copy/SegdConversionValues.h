#pragma once

#include "copy/SegdWrittenFields.h"

#include <QString>

// The values of converted SEG-D headers as a SEG-Y file gives them: the file's from its binary
// header values and its first trace header, a trace's from its own trace header. The trace
// headers are big-endian, or little-endian with `littleEndian`.
namespace SegdConversionValues {

// The traces of one field file: the four BCD digits of a trace number count them.
constexpr int largestTraceCount = 9999;

// The base scan interval byte, sixteenths of a millisecond: for revision 2.1 only an interval
// that is a whole number of them and fits the byte (-1 otherwise); revision 3.1 states the
// interval in microseconds too, so its byte holds the truncated count, or 0 where that does not
// fit. -1 for no interval.
int baseScanInterval(int microseconds, int revision);

// Why a file of these binary header values cannot become field files (empty when it can).
QString refusal(int sampleInterval, int samples, qint64 traces, int revision);
// Why a field file of these values, made from its first trace, cannot be written (empty when it
// can): a channel set's start or end time its revision cannot hold.
QString recordRefusal(const SegdWrittenFields::Values& values, int revision);

// The field record number of a trace (SEG-Y trace header bytes 9 to 12).
qint32 fieldRecord(const char* traceHeader, bool littleEndian);

SegdWrittenFields::Values fileValues(const char* traceHeader, bool littleEndian, int sampleInterval,
                                     int samples, int traces, int revision);
// Sets the trace values of `values` from a trace header; `traceNumber` counts from 1 in each file.
void setTraceValues(SegdWrittenFields::Values& values, const char* traceHeader, bool littleEndian,
                    int traceNumber);

} // namespace SegdConversionValues
