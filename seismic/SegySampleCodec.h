#pragma once

#include "seismic/SampleStatistics.h"

#include <QtGlobal>

// Whole-trace conversion between SEG-Y file bytes and 64-bit float samples, by sample format
// code (SegyLayout). The file bytes are big-endian or little-endian: swap says whether they are
// in the other order than the machine's.
namespace SegySampleCodec {

// count samples of the code from file bytes to out; the bytes stay as they are. Integers are
// exact up to 2^53 and the nearest double beyond, IEEE doubles bit for bit; fixed point with
// gain (a zero byte, gain G, 16-bit two's complement mantissa M) is M x 2^-G. An unknown code
// gives zeros.
void decode(int code, const char* bytes, qint64 count, bool swap, double* out);
// The statistics of the samples decode gives, taken in the same pass over the bytes with no
// array of samples in between.
SampleStatistics statistics(int code, const char* bytes, qint64 count, bool swap);
// count samples to file bytes of the code, byte-reversed when swap is set: integers truncated
// toward zero keeping their low bits (SampleConversion), unsigned ones the same bits. Fixed
// point with gain and unknown codes write nothing.
void encode(int code, const double* in, qint64 count, bool swap, char* bytes);

} // namespace SegySampleCodec
