#pragma once

#include <QtGlobal>
#include <cstring>

// Byte order and number conversions of seismic samples and header words. The array forms
// are the hot path of every reader and writer: whole-array loops without per-sample
// branching, so that the compiler vectorises them. Raw file words are passed as untyped
// memory because file buffers need not be aligned for the type.
namespace SampleConversion {

// Reverses one item of 2, 4 or 8 bytes; any other size is left as it is.
void swapBytes(void* item, int size);
// Reverse every item of an array in place.
void swapBytes16(void* data, qint64 count);
void swapBytes32(void* data, qint64 count);
void swapBytes64(void* data, qint64 count);

// IBM System/360 single precision to IEEE single precision, bit pattern to bit pattern.
// The fraction is truncated, not rounded; a value beyond the IEEE range becomes a zero
// carrying the sign (never an infinity); small values become denormals.
constexpr quint32 ibmToIeeeBits(quint32 ibm)
{
    const quint32 sign = ibm & 0x80000000u;
    quint32 fraction = ibm & 0x00FFFFFFu;
    qint32 exponent = qint32((ibm >> 22) & 0x1FCu) - 130;

    // Bring the leading one to bit 23 by a binary search. Only constant shifts and
    // selects: no loop, no branch, nothing a vector unit lacks.
    bool step = (fraction & 0xFFFF00u) == 0;
    fraction = step ? fraction << 16 : fraction;
    exponent -= step ? 16 : 0;
    step = (fraction & 0xFF0000u) == 0;
    fraction = step ? fraction << 8 : fraction;
    exponent -= step ? 8 : 0;
    step = (fraction & 0xF00000u) == 0;
    fraction = step ? fraction << 4 : fraction;
    exponent -= step ? 4 : 0;
    step = (fraction & 0xC00000u) == 0;
    fraction = step ? fraction << 2 : fraction;
    exponent -= step ? 2 : 0;
    step = (fraction & 0x800000u) == 0;
    fraction = step ? fraction << 1 : fraction;
    exponent -= step ? 1 : 0;

    // Below the normal range the fraction slides 1 - exponent places right into a
    // denormal (31 places or more empty it), again by constant shifts.
    const qint32 slide = exponent > 0 ? 0 : (exponent > -30 ? 1 - exponent : 31);
    quint32 denormal = fraction;
    denormal = (slide & 16) ? denormal >> 16 : denormal;
    denormal = (slide & 8) ? denormal >> 8 : denormal;
    denormal = (slide & 4) ? denormal >> 4 : denormal;
    denormal = (slide & 2) ? denormal >> 2 : denormal;
    denormal = (slide & 1) ? denormal >> 1 : denormal;

    const quint32 normal = (quint32(exponent) << 23) | (fraction & 0x7FFFFFu);
    quint32 magnitude = exponent > 0 ? normal : denormal;
    magnitude = (exponent >= 255 || fraction == 0) ? 0u : magnitude;
    return sign | magnitude;
}

// IEEE single precision to IBM single precision, bit pattern to bit pattern. The fraction
// is truncated to the hexadecimal exponent; infinities and NaN give the largest IBM
// magnitude with their sign (0x7FFFFFFF, 0xFFFFFFFF).
constexpr quint32 ieeeToIbmBits(quint32 ieee)
{
    const quint32 sign = ieee & 0x80000000u;
    const quint32 exponent = (ieee >> 23) & 0xFFu;
    const quint32 mantissa = ieee & 0x7FFFFFu;

    // Raise the binary exponent to a multiple of 4, sliding the fraction right to match.
    const quint32 normalTarget = exponent + 130;
    const quint32 raise = (4 - (normalTarget & 3u)) & 3u;
    quint32 normalFraction = mantissa | 0x800000u;
    normalFraction = (raise & 2u) ? normalFraction >> 2 : normalFraction;
    normalFraction = (raise & 1u) ? normalFraction >> 1 : normalFraction;

    const bool denormalHigh = (mantissa & 0x600000u) != 0;
    const quint32 denormalTarget = denormalHigh ? 132u : 128u;
    const quint32 denormalFraction = denormalHigh ? mantissa >> 1 : mantissa << 3;

    quint32 target = normalTarget + raise;
    quint32 fraction = normalFraction;
    target = exponent == 255 ? 508u : target;
    fraction = exponent == 255 ? 0xFFFFFFu : fraction;
    target = exponent == 0 ? (mantissa == 0 ? 0u : denormalTarget) : target;
    fraction = exponent == 0 ? denormalFraction : fraction;
    return sign | (((target >> 2) & 0x7Fu) << 24) | (fraction & 0xFFFFFFu);
}

inline float ibmToIeee(quint32 ibm)
{
    const quint32 bits = ibmToIeeeBits(ibm);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline quint32 ieeeToIbm(float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return ieeeToIbmBits(bits);
}

// An IBM word as a double by a form without branches or tables: inside the normal single range
// the value, fraction x 2^(4 exponent - 280), has at most 24 significant bits, and the fraction
// times a power of two built from the exponent bits is exact in single precision, so it equals
// the bit conversion. Only 32-bit lanes are involved, four to a vector register. For words that
// ibmMayLeaveSingleRange picks out, the bit conversion must be asked instead.
inline double ibmToDoubleInRange(quint32 ibm)
{
    const quint32 scaleBits = ((((ibm >> 24) & 0x7Fu) * 4u - 153u) & 0xFFu) << 23;
    float scale;
    std::memcpy(&scale, &scaleBits, sizeof scale);
    // A zero fraction is zero whatever its exponent; exponents 38 and 102 would make the scale
    // infinite, and zero times it NaN.
    const qint32 fraction = qint32(ibm & 0xFFFFFFu);
    const float magnitude = fraction == 0 ? 0.0f : float(fraction) * scale;
    quint32 bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    bits |= ibm & 0x80000000u;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return double(value);
}

// Whether the word's value may lie outside the normal single range: exponents 39 to 96 keep
// every fraction between 2^-124 and 2^128, and a zero fraction is zero whatever the exponent.
// The test on the word alone (no floating compare) lets the loops that ask it stay vector code.
constexpr bool ibmMayLeaveSingleRange(quint32 ibm)
{
    return ((ibm & 0xFFFFFFu) != 0) & (((ibm >> 24) & 0x7Fu) - 39u > 57u);
}

// count IBM words (in machine byte order) to floats; ibmWords and out may be the same buffer.
void ibmToIeee(const void* ibmWords, float* out, qint64 count);
// count floats to IBM words; in and ibmWords may be the same buffer.
void ieeeToIbm(const float* in, void* ibmWords, qint64 count);
// count 64-bit floats, first rounded to single precision, to IBM words.
void ieeeToIbm(const double* in, void* ibmWords, qint64 count);

// Truncation toward zero, the rule for every floating value put into an integer word. A
// narrower word keeps the low bits (no clamping). Values no 64-bit integer holds (NaN,
// infinities, beyond 2^63 in magnitude) give 0.
//
// A value within four units in the last place of the next integer away from zero is taken
// as that integer: such a value is the rounding noise of scalar arithmetic, not a fraction.
// Without this, a coordinate of 1000005 read with scalar -100 (10000.05) would be written
// back as 1000004. Below 2^32 in magnitude, four units in the last place are less than
// 2^-18, far from any fraction a header word could mean.
constexpr qint64 truncateToInteger(double value)
{
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0))
        return 0;
    const qint64 truncated = qint64(value);
    const double magnitude = value < 0 ? -value : value;
    if (double(truncated) == value || magnitude >= 4294967296.0)
        return truncated;
    const qint64 away = truncated + (value < 0 ? -1 : 1);
    const double gap = value < 0 ? value - double(away) : double(away) - value;
    return gap <= magnitude * 0x1p-50 ? away : truncated;
}

// The same rule into a 32-bit integer: the one conversion of a floating header value into an
// integer (sample format code, scalars, trace numbers, integer keys). Values of the 32-bit range
// truncate toward zero, larger ones keep their low 32 bits as an integer word does, and NaN,
// infinities and values beyond 2^63 give 0.
constexpr qint32 truncateToInt32(double value)
{
    return qint32(quint32(quint64(truncateToInteger(value))));
}

// 64-bit floats to integer or IEEE single samples (machine byte order), by the rule above.
// The input must not overlap the output.
void doubleToInt8(const double* in, void* out, qint64 count);
void doubleToInt16(const double* in, void* out, qint64 count);
void doubleToInt32(const double* in, void* out, qint64 count);
void doubleToInt64(const double* in, void* out, qint64 count);
// Unsigned 64-bit words take the signed words' bits, and the values from 2^63 to below 2^64
// that only they hold.
void doubleToUInt64(const double* in, void* out, qint64 count);
void doubleToFloat(const double* in, void* out, qint64 count);

} // namespace SampleConversion
