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

constexpr bool hostBigEndian = Q_BYTE_ORDER == Q_BIG_ENDIAN;

// File buffers carry no alignment promise: loads go through memcpy, which the compiler turns
// into plain moves.
template <typename Word> inline Word load(const char* bytes, qint64 i)
{
    Word word;
    std::memcpy(&word, bytes + qint64(sizeof word) * i, sizeof word);
    return word;
}

template <bool Swap> inline quint16 word16(const char* bytes, qint64 i)
{
    const quint16 word = load<quint16>(bytes, i);
    return Swap ? quint16((word << 8) | (word >> 8)) : word;
}

// An unsigned 32-bit word as a double through the signed conversion, which has a vector form
// where the unsigned one has none; both steps are exact.
inline double unsignedValue(quint32 word)
{
    return double(qint32(word ^ 0x80000000u)) + 0x1p31;
}

// One sample of each format (in the machine's byte order but for the 16-bit ones with Swap set)
// as a double, for the loops below.
struct Int32Sample {
    static double at(const char* bytes, qint64 i) { return double(qint32(load<quint32>(bytes, i))); }
};

struct UInt32Sample {
    static double at(const char* bytes, qint64 i) { return unsignedValue(load<quint32>(bytes, i)); }
};

template <bool Swap> struct Int16Sample {
    static double at(const char* bytes, qint64 i) { return double(qint16(word16<Swap>(bytes, i))); }
};

template <bool Swap> struct UInt16Sample {
    static double at(const char* bytes, qint64 i) { return double(word16<Swap>(bytes, i)); }
};

struct Int8Sample {
    static double at(const char* bytes, qint64 i) { return double(qint8(bytes[i])); }
};

struct UInt8Sample {
    static double at(const char* bytes, qint64 i) { return double(quint8(bytes[i])); }
};

struct IeeeSample {
    static double at(const char* bytes, qint64 i) { return double(load<float>(bytes, i)); }
};

struct IeeeDoubleSample {
    static double at(const char* bytes, qint64 i) { return load<double>(bytes, i); }
};

// 64-bit integers as the high half times 2^32 plus the low half: both parts are exact, so the
// one rounding of the sum gives the nearest double, as a direct conversion would, but from
// 32-bit conversions that have vector forms.
struct Int64Sample {
    static double at(const char* bytes, qint64 i)
    {
        const quint64 word = load<quint64>(bytes, i);
        return double(qint32(quint32(word >> 32))) * 0x1p32 + unsignedValue(quint32(word));
    }
};

struct UInt64Sample {
    static double at(const char* bytes, qint64 i)
    {
        const quint64 word = load<quint64>(bytes, i);
        return unsignedValue(quint32(word >> 32)) * 0x1p32 + unsignedValue(quint32(word));
    }
};

// A zero byte, the gain G and a 16-bit two's complement mantissa M: M x 2^-G. The power of two
// is built from its exponent bits; every G of a byte is a normal double.
struct FixedPointGainSample {
    static double at(const char* bytes, qint64 i)
    {
        const quint32 word = load<quint32>(bytes, i);
        const quint64 scaleBits = quint64(1023 - ((word >> 16) & 0xFFu)) << 52;
        double scale;
        std::memcpy(&scale, &scaleBits, sizeof scale);
        return double(qint16(quint16(word))) * scale;
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
        const quint32 word = load<quint32>(bytes, i);
        outside |= quint32(SampleConversion::ibmMayLeaveSingleRange(word));
        out[i] = SampleConversion::ibmToDoubleInRange(word);
    }
    if (!outside)
        return;
    for (qint64 i = 0; i < count; ++i) {
        const quint32 word = load<quint32>(bytes, i);
        if (SampleConversion::ibmMayLeaveSingleRange(word))
            out[i] = double(SampleConversion::ibmToIeee(word));
    }
}

// 24-bit samples in the file's byte order, a block at a time: the words first, then their
// values, two loops of one width each that the compiler turns into vector code.
template <bool BigEndian, bool Signed> void decodeThreeByte(const char* bytes, qint64 count, double* out)
{
    qint32 words[block];
    const auto* file = reinterpret_cast<const uchar*>(bytes);
    for (qint64 start = 0; start < count; start += block) {
        const qint64 n = std::min(block, count - start);
        for (qint64 k = 0; k < n; ++k) {
            const uchar* sample = file + 3 * (start + k);
            const quint32 word = BigEndian
                                     ? (quint32(sample[0]) << 16) | (quint32(sample[1]) << 8) | sample[2]
                                     : (quint32(sample[2]) << 16) | (quint32(sample[1]) << 8) | sample[0];
            words[k] = Signed ? qint32((word ^ 0x800000u) - 0x800000u) : qint32(word);
        }
        for (qint64 k = 0; k < n; ++k)
            out[start + k] = double(words[k]);
    }
}

template <bool BigEndian> void decodeThreeByte(int code, const char* bytes, qint64 count, double* out)
{
    if (code == SegyLayout::Int24)
        decodeThreeByte<BigEndian, true>(bytes, count, out);
    else
        decodeThreeByte<BigEndian, false>(bytes, count, out);
}

template <bool Swap> void decodeTwoByte(int code, const char* bytes, qint64 count, double* out)
{
    if (code == SegyLayout::Int16)
        decodeAll<Int16Sample<Swap>>(bytes, count, out);
    else
        decodeAll<UInt16Sample<Swap>>(bytes, count, out);
}

// Samples of 1, 2, 4 or 8 bytes in the machine's byte order.
void decodeNative(int code, const char* bytes, qint64 count, double* out)
{
    switch (code) {
    case SegyLayout::IbmFloat:
        decodeIbm(bytes, count, out);
        break;
    case SegyLayout::Int32:
        decodeAll<Int32Sample>(bytes, count, out);
        break;
    case SegyLayout::UInt32:
        decodeAll<UInt32Sample>(bytes, count, out);
        break;
    case SegyLayout::Int16:
    case SegyLayout::UInt16:
        decodeTwoByte<false>(code, bytes, count, out);
        break;
    case SegyLayout::FixedPointGain:
        decodeAll<FixedPointGainSample>(bytes, count, out);
        break;
    case SegyLayout::IeeeFloat:
        decodeAll<IeeeSample>(bytes, count, out);
        break;
    case SegyLayout::IeeeDouble:
        decodeAll<IeeeDoubleSample>(bytes, count, out);
        break;
    case SegyLayout::Int8:
        decodeAll<Int8Sample>(bytes, count, out);
        break;
    case SegyLayout::UInt8:
        decodeAll<UInt8Sample>(bytes, count, out);
        break;
    case SegyLayout::Int64:
        decodeAll<Int64Sample>(bytes, count, out);
        break;
    case SegyLayout::UInt64:
        decodeAll<UInt64Sample>(bytes, count, out);
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
        const quint32 bits = load<quint32>(reinterpret_cast<const char*>(halves), k);
        words[k] = (bits << 16) | (bits >> 16);
    }
}

// The same for 64-bit words: the four byte-swapped 16-bit parts in reverse order.
void reverseLongWords(const char* bytes, qint64 count, quint64* words)
{
    quint16 parts[4 * block];
    for (qint64 k = 0; k < 4 * count; ++k)
        parts[k] = word16<true>(bytes, k);
    for (qint64 k = 0; k < count; ++k) {
        const quint64 bits = load<quint64>(reinterpret_cast<const char*>(parts), k);
        words[k] =
            (bits << 48) | ((bits << 16) & 0x0000FFFF00000000u) | ((bits >> 16) & 0xFFFF0000u) | (bits >> 48);
    }
}

// Words of 4 or 8 bytes in the other byte order, turned a block at a time.
template <typename Word>
void decodeReversed(int code, const char* bytes, qint64 count, double* out,
                    void (*reverse)(const char*, qint64, Word*))
{
    Word words[block];
    for (qint64 start = 0; start < count; start += block) {
        const qint64 n = std::min(block, count - start);
        reverse(bytes + qint64(sizeof(Word)) * start, n, words);
        decodeNative(code, reinterpret_cast<const char*>(words), n, out + start);
    }
}

// Minimum, maximum and sum of squares of count samples, added to the running figures. The loop
// has no branch, and its reductions may be reordered (omp simd), so that the compiler keeps
// several of each in vector registers.
template <class Sample> void accumulate(const char* bytes, qint64 count, SampleStatistics& into)
{
    double low = into.minimum;
    double high = into.maximum;
    double squares = into.sumOfSquares;
#pragma omp simd reduction(min : low) reduction(max : high) reduction(+ : squares)
    for (qint64 i = 0; i < count; ++i) {
        const double v = Sample::at(bytes, i);
        low = v < low ? v : low;
        high = v > high ? v : high;
        squares += v * v;
    }
    into.minimum = low;
    into.maximum = high;
    into.sumOfSquares = squares;
    into.count += count;
}

void decodeAny(int code, const char* bytes, qint64 count, bool swap, double* out)
{
    switch (SegyLayout::bytesPerSample(code)) {
    case 2:
        if (swap)
            decodeTwoByte<true>(code, bytes, count, out);
        else
            decodeTwoByte<false>(code, bytes, count, out);
        break;
    case 3:
        if (hostBigEndian != swap)
            decodeThreeByte<true>(code, bytes, count, out);
        else
            decodeThreeByte<false>(code, bytes, count, out);
        break;
    case 4:
        if (swap)
            decodeReversed<quint32>(code, bytes, count, out, reverseWords);
        else
            decodeNative(code, bytes, count, out);
        break;
    case 8:
        if (swap)
            decodeReversed<quint64>(code, bytes, count, out, reverseLongWords);
        else
            decodeNative(code, bytes, count, out);
        break;
    default: // one byte has no order; an unknown code gives zeros
        decodeNative(code, bytes, count, out);
        break;
    }
}

// 16-bit words straight from the file bytes: four samples to a double's bytes, and a block of
// doubles written and read again would cost more than the decoding. One-byte words gain nothing.
template <bool Swap> void accumulateShort(int code, const char* bytes, qint64 count, SampleStatistics& into)
{
    if (code == SegyLayout::Int16)
        accumulate<Int16Sample<Swap>>(bytes, count, into);
    else
        accumulate<UInt16Sample<Swap>>(bytes, count, into);
}

SampleStatistics statisticsOfAny(int code, const char* bytes, qint64 count, bool swap)
{
    const qint64 size = SegyLayout::bytesPerSample(code);
    SampleStatistics result;
    if (size == 2) {
        if (swap)
            accumulateShort<true>(code, bytes, count, result);
        else
            accumulateShort<false>(code, bytes, count, result);
        return result;
    }
    // A block at a time, each taken into the figures while it is in the first-level cache: one
    // walk over the file bytes, no array of the whole trace.
    double values[block];
    for (qint64 start = 0; start < count; start += block) {
        const qint64 n = std::min(block, count - start);
        decodeAny(code, bytes + start * size, n, swap, values);
        accumulate<IeeeDoubleSample>(reinterpret_cast<const char*>(values), n, result);
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

} // namespace SegySampleCodec
