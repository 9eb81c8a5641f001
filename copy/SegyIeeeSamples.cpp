#include "copy/SegyIeeeSamples.h"

#include "base/WideVectors.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyLayout.h"
#include "seismic/SegySampleCodec.h"

#include <QtEndian>
#ifdef OBR_WIDE_VECTORS
#include <immintrin.h>
#endif
#include <algorithm>
#include <cstring>

namespace SegyIeeeSamples {

namespace {

constexpr bool hostLittleEndian = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;

// Integer samples to floats in machine order, one pass without branches, so that the compiler
// vectorises it; the file's byte order is a template argument.
template <typename Integer, bool swap> void integersToFloats(const char* in, char* out, qint64 count)
{
    for (qint64 k = 0; k < count; ++k) {
        Integer value;
        std::memcpy(&value, in + k * qint64(sizeof value), sizeof value);
        if constexpr (swap)
            value = qbswap(value);
        const float single = float(value);
        std::memcpy(out + 4 * k, &single, sizeof single);
    }
}

template <typename Integer> void integersToFloats(bool littleEndian, const char* in, char* out, qint64 count)
{
    if (littleEndian == hostLittleEndian || sizeof(Integer) == 1)
        integersToFloats<Integer, false>(in, out, count);
    else
        integersToFloats<Integer, true>(in, out, count);
}

// The other formats through the reader's decoding, a block of doubles at a time, each rounded
// once to single precision.
void decodedToFloats(int code, bool littleEndian, const char* in, char* out, qint64 count)
{
    constexpr qint64 block = 512;
    double values[block];
    const qint64 size = SegyLayout::bytesPerSample(code);
    for (qint64 start = 0; start < count; start += block) {
        const qint64 n = std::min(block, count - start);
        SegySampleCodec::decode(code, in + size * start, n, littleEndian != hostLittleEndian, values);
        for (qint64 k = 0; k < n; ++k) {
            const float single = float(values[k]);
            std::memcpy(out + 4 * (start + k), &single, sizeof single);
        }
    }
}

// IBM words to big-endian IEEE words in one pass: read, turned, converted and written back per
// word, so that the data cross the memory once.
template <bool swap> void ibmToBigEndianIeee(const char* in, char* out, qint64 count)
{
    for (qint64 k = 0; k < count; ++k) {
        quint32 word;
        std::memcpy(&word, in + 4 * k, sizeof word);
        if constexpr (swap)
            word = qbswap(word);
        word = qToBigEndian(SampleConversion::ibmToIeeeBits(word));
        std::memcpy(out + 4 * k, &word, sizeof word);
    }
}

void ibmToIeee(bool swap, const char* in, char* out, qint64 count)
{
    if (swap)
        ibmToBigEndianIeee<true>(in, out, count);
    else
        ibmToBigEndianIeee<false>(in, out, count);
}

#ifdef OBR_WIDE_VECTORS
// The wide form lets the processor normalise: the fraction as a float is exact, and its exponent
// field plus 4 (e - 70) is the result's. In the normal range the float's mantissa goes with it;
// below, the fraction with its leading one slides right into a denormal, truncated as the bit
// conversion does; beyond it, and for a zero fraction, the result is zero. Proven equal to the bit
// conversion for all 2^32 words.
template <bool swap> OBR_WIDE_VECTOR_LOOPS void ibmToIeeeEight(const char* in, char* out, qint64 count)
{
    const __m256i reverse = _mm256_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12, 3, 2, 1, 0,
                                             7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
    const __m256i fractionMask = _mm256_set1_epi32(0xFFFFFF);
    const __m256i mantissaMask = _mm256_set1_epi32(0x7FFFFF);
    const __m256i leadingOne = _mm256_set1_epi32(0x800000);
    const __m256i signMask = _mm256_set1_epi32(int(0x80000000u));
    const __m256i exponentMask = _mm256_set1_epi32(0x7F);
    // 16^(e - 64) / 2^24 = 2^(4e - 280).
    const __m256i bias = _mm256_set1_epi32(-280);
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i largestExponent = _mm256_set1_epi32(254);
    qint64 k = 0;
    for (; k + 8 <= count; k += 8) {
        __m256i words = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 4 * k));
        if constexpr (swap)
            words = _mm256_shuffle_epi8(words, reverse);
        const __m256i fraction = _mm256_and_si256(words, fractionMask);
        const __m256i single = _mm256_castps_si256(_mm256_cvtepi32_ps(fraction));
        const __m256i power =
            _mm256_slli_epi32(_mm256_and_si256(_mm256_srli_epi32(words, 24), exponentMask), 2);
        const __m256i exponent =
            _mm256_add_epi32(_mm256_srli_epi32(single, 23), _mm256_add_epi32(power, bias));
        const __m256i mantissa = _mm256_and_si256(single, mantissaMask);
        const __m256i normal = _mm256_or_si256(_mm256_slli_epi32(exponent, 23), mantissa);
        // Counts of 32 and more shift everything out.
        const __m256i denormal =
            _mm256_srlv_epi32(_mm256_or_si256(mantissa, leadingOne), _mm256_sub_epi32(one, exponent));
        __m256i bits = _mm256_blendv_epi8(denormal, normal, _mm256_cmpgt_epi32(exponent, zero));
        const __m256i vanished = _mm256_or_si256(_mm256_cmpgt_epi32(exponent, largestExponent),
                                                 _mm256_cmpeq_epi32(fraction, zero));
        bits = _mm256_or_si256(_mm256_andnot_si256(vanished, bits), _mm256_and_si256(words, signMask));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * k), _mm256_shuffle_epi8(bits, reverse));
    }
    ibmToBigEndianIeee<swap>(in + 4 * k, out + 4 * k, count - k);
}

void ibmToIeeeWide(bool swap, const char* in, char* out, qint64 count)
{
    if (swap)
        ibmToIeeeEight<true>(in, out, count);
    else
        ibmToIeeeEight<false>(in, out, count);
}
#else
void ibmToIeeeWide(bool swap, const char* in, char* out, qint64 count)
{
    ibmToIeee(swap, in, out, count);
}
#endif

} // namespace

bool convertible(int code)
{
    return SegyLayout::knownSampleFormat(code);
}

void convert(int code, bool littleEndian, const char* in, char* out, qint64 count)
{
    // Each case leaves machine-order words in `out`; the last pass makes them big-endian.
    switch (code) {
    case SegyLayout::IbmFloat:
        WideVectors::call(ibmToIeee, ibmToIeeeWide, littleEndian != hostLittleEndian, in, out, count);
        return;
    case SegyLayout::IeeeFloat:
        std::memcpy(out, in, size_t(count) * 4);
        if (littleEndian != hostLittleEndian)
            SampleConversion::swapBytes32(out, count);
        break;
    case SegyLayout::Int32:
        integersToFloats<qint32>(littleEndian, in, out, count);
        break;
    case SegyLayout::UInt32:
        integersToFloats<quint32>(littleEndian, in, out, count);
        break;
    case SegyLayout::Int16:
        integersToFloats<qint16>(littleEndian, in, out, count);
        break;
    case SegyLayout::UInt16:
        integersToFloats<quint16>(littleEndian, in, out, count);
        break;
    case SegyLayout::Int8:
        integersToFloats<qint8>(littleEndian, in, out, count);
        break;
    case SegyLayout::UInt8:
        integersToFloats<quint8>(littleEndian, in, out, count);
        break;
    case SegyLayout::Int64:
        integersToFloats<qint64>(littleEndian, in, out, count);
        break;
    case SegyLayout::UInt64:
        integersToFloats<quint64>(littleEndian, in, out, count);
        break;
    case SegyLayout::FixedPointGain:
    case SegyLayout::IeeeDouble:
    case SegyLayout::Int24:
    case SegyLayout::UInt24:
        decodedToFloats(code, littleEndian, in, out, count);
        break;
    default:
        std::memset(out, 0, size_t(count) * 4);
        break;
    }
    if (hostLittleEndian)
        SampleConversion::swapBytes32(out, count);
}

} // namespace SegyIeeeSamples
