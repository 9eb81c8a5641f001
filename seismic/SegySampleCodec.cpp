#include "seismic/SegySampleCodec.h"

#include "base/WideVectors.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyLayout.h"

#include <algorithm>
#include <cstring>

namespace SegySampleCodec {

namespace {

// Samples go through memory that stays in the first-level cache this many at a time.
constexpr qint64 block = 512;

// File buffers carry no alignment promise: loads go through memcpy, which the compiler turns
// into plain moves.
inline quint32 word32(const char* bytes, qint64 i)
{
    quint32 word;
    std::memcpy(&word, bytes + 4 * i, sizeof word);
    return word;
}

template <bool Swap> inline quint16 word16(const char* bytes, qint64 i)
{
    quint16 word;
    std::memcpy(&word, bytes + 2 * i, sizeof word);
    return Swap ? quint16((word << 8) | (word >> 8)) : word;
}

// One sample of each format (in the machine's byte order but for Int16Sample<true>) as a
// double, for the loops below.
struct Int32Sample {
    static double at(const char* bytes, qint64 i) { return double(qint32(word32(bytes, i))); }
};

template <bool Swap> struct Int16Sample {
    static double at(const char* bytes, qint64 i) { return double(qint16(word16<Swap>(bytes, i))); }
};

struct Int8Sample {
    static double at(const char* bytes, qint64 i) { return double(qint8(bytes[i])); }
};

struct IeeeSample {
    static double at(const char* bytes, qint64 i)
    {
        const quint32 bits = word32(bytes, i);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return double(value);
    }
};

template <class Sample> void decodeAll(const char* bytes, qint64 count, double* out)
{
    for (qint64 i = 0; i < count; ++i)
        out[i] = Sample::at(bytes, i);
}

// IBM words by the fast form, exact inside the normal single range; words that may fall
// outside it (rare in seismic data) again by the bit conversion, which gives denormals and
// zeros there.
void decodeIbm(const char* bytes, qint64 count, double* out)
{
    quint32 outside = 0;
    for (qint64 i = 0; i < count; ++i) {
        const quint32 word = word32(bytes, i);
        outside |= quint32(SampleConversion::ibmMayLeaveSingleRange(word));
        out[i] = SampleConversion::ibmToDoubleInRange(word);
    }
    if (!outside)
        return;
    for (qint64 i = 0; i < count; ++i) {
        const quint32 word = word32(bytes, i);
        if (SampleConversion::ibmMayLeaveSingleRange(word))
            out[i] = double(SampleConversion::ibmToIeee(word));
    }
}

void decodeNative(int code, const char* bytes, qint64 count, double* out)
{
    switch (code) {
    case SegyLayout::IbmFloat:
        decodeIbm(bytes, count, out);
        break;
    case SegyLayout::Int32:
        decodeAll<Int32Sample>(bytes, count, out);
        break;
    case SegyLayout::Int16:
        decodeAll<Int16Sample<false>>(bytes, count, out);
        break;
    case SegyLayout::IeeeFloat:
        decodeAll<IeeeSample>(bytes, count, out);
        break;
    case SegyLayout::Int8:
        decodeAll<Int8Sample>(bytes, count, out);
        break;
    default:
        std::fill_n(out, count, 0.0);
        break;
    }
}

// Reverses the bytes of count (at most block) 32-bit words. A four-byte reversal has no vector
// form on every processor, and a loop holding one is left scalar; swapping the bytes of the
// 16-bit halves and then the halves has, and both loops become vector code.
void reverseWords(const char* bytes, qint64 count, quint32* words)
{
    quint16 halves[2 * block];
    for (qint64 k = 0; k < 2 * count; ++k)
        halves[k] = word16<true>(bytes, k);
    for (qint64 k = 0; k < count; ++k) {
        quint32 bits;
        std::memcpy(&bits, halves + 2 * k, sizeof bits);
        words[k] = (bits << 16) | (bits >> 16);
    }
}

// Minimum, maximum and sum of squares of decoded samples, added to the running figures. The
// loop has no branch, and its reductions may be reordered (omp simd), so that the compiler keeps
// several of each in vector registers.
void accumulate(const double* values, qint64 count, SampleStatistics& into)
{
    double low = into.minimum;
    double high = into.maximum;
    double squares = into.sumOfSquares;
#pragma omp simd reduction(min : low) reduction(max : high) reduction(+ : squares)
    for (qint64 i = 0; i < count; ++i) {
        const double v = values[i];
        low = v < low ? v : low;
        high = v > high ? v : high;
        squares += v * v;
    }
    into.minimum = low;
    into.maximum = high;
    into.sumOfSquares = squares;
    into.count += count;
}

// Between the file's byte order and the machine's; one-byte samples have none.
void swapSamples(int code, char* bytes, qint64 count)
{
    const int size = SegyLayout::bytesPerSample(code);
    if (size == 4)
        SampleConversion::swapBytes32(bytes, count);
    else if (size == 2)
        SampleConversion::swapBytes16(bytes, count);
}

void decodeAny(int code, const char* bytes, qint64 count, bool swap, double* out)
{
    const int size = SegyLayout::bytesPerSample(code);
    if (!swap || size == 1 || code == SegyLayout::FixedPointGain) {
        decodeNative(code, bytes, count, out);
    } else if (size == 2) {
        decodeAll<Int16Sample<true>>(bytes, count, out);
    } else {
        quint32 words[block];
        for (qint64 start = 0; start < count; start += block) {
            const qint64 n = std::min(block, count - start);
            reverseWords(bytes + 4 * start, n, words);
            decodeNative(code, reinterpret_cast<const char*>(words), n, out + start);
        }
    }
}

SampleStatistics statisticsOfAny(int code, const char* bytes, qint64 count, bool swap)
{
    // A block at a time, each taken into the figures while it is in the first-level cache: one
    // walk over the file bytes, no array of the whole trace.
    double values[block];
    const qint64 size = SegyLayout::bytesPerSample(code);
    SampleStatistics result;
    for (qint64 start = 0; start < count; start += block) {
        const qint64 n = std::min(block, count - start);
        decodeAny(code, bytes + start * size, n, swap, values);
        accumulate(values, n, result);
    }
    return result;
}

OBR_WIDE_VECTOR_LOOPS void decodeWide(int code, const char* bytes, qint64 count, bool swap, double* out)
{
    decodeAny(code, bytes, count, swap, out);
}

OBR_WIDE_VECTOR_LOOPS SampleStatistics statisticsWide(int code, const char* bytes, qint64 count, bool swap)
{
    return statisticsOfAny(code, bytes, count, swap);
}

} // namespace

void decode(int code, const char* bytes, qint64 count, bool swap, double* out)
{
    if (count <= 0)
        return;
    WideVectors::call(decodeAny, decodeWide, code, bytes, count, swap, out);
}

SampleStatistics statistics(int code, const char* bytes, qint64 count, bool swap)
{
    return WideVectors::call(statisticsOfAny, statisticsWide, code, bytes, count, swap);
}

void encode(int code, const double* in, qint64 count, bool swap, char* bytes)
{
    if (count <= 0)
        return;
    switch (code) {
    case SegyLayout::IbmFloat:
        SampleConversion::ieeeToIbm(in, bytes, count);
        break;
    case SegyLayout::Int32:
        SampleConversion::doubleToInt32(in, bytes, count);
        break;
    case SegyLayout::Int16:
        SampleConversion::doubleToInt16(in, bytes, count);
        break;
    case SegyLayout::IeeeFloat:
        SampleConversion::doubleToFloat(in, bytes, count);
        break;
    case SegyLayout::Int8:
        SampleConversion::doubleToInt8(in, bytes, count);
        break;
    default:
        return;
    }
    if (swap)
        swapSamples(code, bytes, count);
}

} // namespace SegySampleCodec
