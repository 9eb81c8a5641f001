#include "copy/SegyIeeeSamples.h"

#include "base/WideVectors.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyLayout.h"
#include "seismic/SegySampleCodec.h"

#include <QtEndian>
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

OBR_WIDE_VECTOR_LOOPS void ibmToIeeeWide(bool swap, const char* in, char* out, qint64 count)
{
    ibmToIeee(swap, in, out, count);
}

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
