#pragma once

#include "copy/SegdWrittenFields.h"

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

// The general header starts with the fields both revisions share; their channel set
// descriptors follow its three blocks.
constexpr int descriptorOffset = 3 * blockBytes;

// Writes the fields of general header block 1 both revisions share into `part`.
void writeFirstGeneralBlock(char* part, const SegdWrittenFields::Values& values);
// Writes the extended header into `part` (extendedBytes, zero-filled).
void writeExtendedHeader(char* part, const SegdWrittenFields::Values& values);
// Writes a trace header with its extensions into `part` (traceHeaderBytes); `revision` 21 or 31.
void writeTraceHeader(char* part, const SegdWrittenFields::Values& values, int revision);

// Writes a whole zero-filled header into `bytes`: the shared block 1 fields, the revision's own
// `general` fields, sixteen channel set descriptors of `descriptorBytes` each (the traces all in
// the first) and the extended header after them.
template <size_t G, size_t D>
void writeHeader(char* bytes, const std::array<SegdWrittenFields::Field, G>& general,
                 const std::array<SegdWrittenFields::Field, D>& descriptor, int descriptorBytes,
                 SegdWrittenFields::Values values)
{
    using namespace SegdWrittenFields;
    writeFirstGeneralBlock(bytes, values);
    write(bytes, general, values);
    for (int set = 1; set <= channelSets; ++set) {
        values[SetNumber] = set;
        values[SetChannels] = set == 1 ? values[Traces] : 0;
        write(bytes + descriptorOffset + (set - 1) * descriptorBytes, descriptor, values);
    }
    writeExtendedHeader(bytes + descriptorOffset + channelSets * descriptorBytes, values);
}

} // namespace SegdCommonHeaders
