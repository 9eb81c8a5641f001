#pragma once

#include "copy/SegdHeaderFields.h"

// The parts both converted SEG-D revisions share: the extended header, the external header
// and the trace records, whose samples are big-endian IEEE floats (format code 8058).
namespace SegdCommonHeaders {

constexpr int blockBytes = 32;
constexpr int channelSets = 16;
constexpr int extendedBlocks = 32;
constexpr int externalBlocks = 1;
constexpr int extendedBytes = extendedBlocks * blockBytes;
// The 20-byte trace header and its two extensions.
constexpr int traceHeaderBytes = 20 + 2 * blockBytes;
constexpr int bytesPerSample = 4;

constexpr qint64 traceRecordBytes(int samples)
{
    return traceHeaderBytes + qint64(bytesPerSample) * samples;
}

// Writes the extended header into `part` (extendedBytes, zero-filled).
void writeExtendedHeader(char* part, const SegdHeaderFields::Values& values);
// Writes a trace header with its extensions into `part` (traceHeaderBytes); `revision` 21 or 31.
void writeTraceHeader(char* part, const SegdHeaderFields::Values& values, int revision);

} // namespace SegdCommonHeaders
