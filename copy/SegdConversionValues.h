#pragma once

#include "copy/SegdHeaderFields.h"

#include <QString>

// The values of converted SEG-D headers as a SEG-Y file gives them: the file's from its binary
// header values and its first trace header, a trace's from its own trace header. The trace
// headers are big-endian, or little-endian with `littleEndian`.
namespace SegdConversionValues {

// The traces of one field file: the four BCD digits of a trace number count them.
constexpr int largestTraceCount = 9999;

// The base scan interval byte, sixteenths of a millisecond: for revision 2.1 only an interval
// that is a whole number of them and fits the byte; for revision 3.1, which states the interval
// in microseconds too, the truncated count. -1 when the interval cannot be written.
int baseScanInterval(int microseconds, int revision);

// Why the values cannot make a field file's headers (empty when they can).
QString refusal(int sampleInterval, int samples, qint64 traces, int revision);

SegdHeaderFields::Values fileValues(const char* traceHeader, bool littleEndian, int sampleInterval,
                                    int samples, int traces, int revision);
// Sets the trace values of `values` from a trace header; `traceNumber` counts from 1 in each file.
void setTraceValues(SegdHeaderFields::Values& values, const char* traceHeader, bool littleEndian,
                    int traceNumber);

} // namespace SegdConversionValues
