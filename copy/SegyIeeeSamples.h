#pragma once

#include <QtGlobal>

// SEG-Y samples of any format code and byte order as big-endian IEEE single precision
// floats, the samples of SEG-D format 8058. Big-endian IEEE input is copied bit for bit.
namespace SegyIeeeSamples {

// Whether the samples of a format code can be converted: those of every code SegyLayout knows.
bool convertible(int code);

// Converts `count` samples from `in` (file bytes of the code, little-endian when set) to
// `out`, 4 bytes each. `in` and `out` must not overlap.
void convert(int code, bool littleEndian, const char* in, char* out, qint64 count);

} // namespace SegyIeeeSamples
