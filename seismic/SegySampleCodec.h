#pragma once

#include <QtGlobal>

// Whole-trace conversion between SEG-Y file bytes and 64-bit float samples, by sample format
// code (SegyLayout).
namespace SegySampleCodec {

// count samples of the code from file bytes to out. The bytes are byte-reversed first when swap
// is set, in place: callers pass their own scratch copy when the file bytes must stay as read.
// Fixed point with gain is not decoded: its samples become 0.
void decode(int code, char* bytes, qint64 count, bool swap, double* out);
// count samples to file bytes of the code, byte-reversed when swap is set. Fixed point with
// gain writes nothing.
void encode(int code, const double* in, qint64 count, bool swap, char* bytes);

} // namespace SegySampleCodec
