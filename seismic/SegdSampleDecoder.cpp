#include "seismic/SegdSampleDecoder.h"

#include "base/WideVectors.h"
#include "seismic/SegyLayout.h"
#include "seismic/SegySampleCodec.h"

#include <QtEndian>
#include <cstring>

namespace SegdSampleDecoder {

namespace {

// 8015 samples: the 16-bit mantissa scaled by 2^-15 and taken from microvolts to millivolts.
constexpr float binary20Scale = 3.0517578e-8f;

inline quint32 bigEndian16(const uchar* bytes, qint64 index)
{
    return qFromBigEndian<quint16>(bytes + 2 * index);
}

// 2^exponent, built from its bits (the exponent lies well inside the normal range): the loops
// compute it where a table would need a gather.
inline double powerOfTwo(int exponent)
{
    const quint64 bits = quint64(1023 + exponent) << 52;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline double withSign(double value, quint32 negative)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    bits ^= quint64(negative) << 63;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Sample k (0 to 3) of a group of four: its 4-bit exponent in the group's first two bytes, its
// two's complement mantissa in the 16-bit word k after them.
inline double binary20(const uchar* group, int k)
{
    const int exponent = int(bigEndian16(group, 0) >> (12 - 4 * k)) & 0x0F;
    const qint32 mantissa = qint16(bigEndian16(group + 2, k));
    return double(mantissa * (qint32(1) << exponent)) * double(binary20Scale);
}

void decodeBinary20(const uchar* bytes, qint64 count, double* out)
{
    const qint64 whole = count / 4;
    for (qint64 g = 0; g < whole; ++g) {
        const uchar* group = bytes + 10 * g;
        for (int k = 0; k < 4; ++k)
            out[4 * g + k] = binary20(group, k);
    }
    for (qint64 i = 4 * whole; i < count; ++i)
        out[i] = binary20(bytes + 10 * whole, int(i % 4));
}

// The 8022, 8024, 8042 and 8044 words: a sign bit, an exponent of `exponentBits` bits and a
// fraction of `fractionBits`; the value is the fraction times 2^(weight x exponent). The
// quaternary words (weight 2) give a negative value the complement of its fraction; the
// hexadecimal ones (weight 4) keep sign and magnitude, as the IBM words of 8048.
template <typename Word, int exponentBits, int fractionBits, int weight>
void decodeScaled(const uchar* bytes, qint64 count, double* out)
{
    constexpr quint32 fractionMask = (quint32(1) << fractionBits) - 1;
    constexpr quint32 exponentMask = (quint32(1) << exponentBits) - 1;
    constexpr bool complement = weight == 2;
    for (qint64 i = 0; i < count; ++i) {
        const quint32 word = sizeof(Word) == 2 ? bigEndian16(bytes, i) : bytes[i];
        const quint32 negative = word >> (fractionBits + exponentBits);
        const quint32 fraction = word & fractionMask;
        const quint32 magnitude = complement ? fraction ^ (fractionMask & (0u - negative)) : fraction;
        const int exponent = weight * int((word >> fractionBits) & exponentMask) - fractionBits;
        out[i] = withSign(double(qint32(magnitude)) * powerOfTwo(exponent), negative);
    }
}

// Each sample read as the big-endian word of its three bytes and the next, shifted down with its
// sign; the last, whose next byte may lie beyond the trace, from its three bytes alone.
void decodeInteger24(const uchar* bytes, qint64 count, double* out)
{
    for (qint64 i = 0; i + 1 < count; ++i)
        out[i] = double(qint32(qFromBigEndian<quint32>(bytes + 3 * i)) >> 8);
    const uchar* last = bytes + 3 * (count - 1);
    const quint32 word = (quint32(last[0]) << 16) | (quint32(last[1]) << 8) | last[2];
    out[count - 1] = double(qint32((word ^ 0x800000u) - 0x800000u));
}

void decodeIeeeDouble(const uchar* bytes, qint64 count, double* out)
{
    for (qint64 i = 0; i < count; ++i) {
        const quint64 bits = qFromBigEndian<quint64>(bytes + 8 * i);
        std::memcpy(out + i, &bits, sizeof bits);
    }
}

// The big-endian words shared with SEG-Y go through its vector loops.
void decodeBigEndian(int segyCode, const uchar* bytes, qint64 count, double* out)
{
    SegySampleCodec::decode(segyCode, reinterpret_cast<const char*>(bytes), count,
                            Q_BYTE_ORDER == Q_LITTLE_ENDIAN, out);
}

} // namespace

Decoder forFormatCode(int formatCode)
{
    switch (formatCode % 100) {
    case Binary20:
    case Quaternary8:
    case Quaternary16:
    case Integer24:
    case Integer32:
    case Hexadecimal8:
    case Hexadecimal16:
    case IbmFloat:
    case IeeeFloat:
    case IeeeDouble:
        return Decoder(formatCode % 100);
    default:
        return None;
    }
}

const char* name(Decoder decoder)
{
    switch (decoder) {
    case Binary20:
        return "20-bit binary";
    case Quaternary8:
        return "8-bit quaternary";
    case Quaternary16:
        return "16-bit quaternary";
    case Integer24:
        return "24-bit integer";
    case Integer32:
        return "32-bit integer";
    case Hexadecimal8:
        return "8-bit hexadecimal";
    case Hexadecimal16:
        return "16-bit hexadecimal";
    case IbmFloat:
        return "IBM float";
    case IeeeFloat:
        return "IEEE float";
    case IeeeDouble:
        return "IEEE double";
    case None:
        break;
    }
    return "not decoded";
}

float bytesPerSample(Decoder decoder)
{
    switch (decoder) {
    case Binary20:
        return 2.5f;
    case Quaternary8:
    case Hexadecimal8:
        return 1;
    case Quaternary16:
    case Hexadecimal16:
        return 2;
    case Integer24:
        return 3;
    case Integer32:
    case IbmFloat:
    case IeeeFloat:
        return 4;
    case IeeeDouble:
        return 8;
    case None:
        break;
    }
    return 0;
}

qint64 byteCount(Decoder decoder, qint64 count)
{
    if (decoder == Binary20)
        return (count + 3) / 4 * 10;
    return count * qint64(bytesPerSample(decoder));
}

namespace {

void decodeAny(Decoder decoder, const uchar* bytes, qint64 count, double* out)
{
    switch (decoder) {
    case Binary20:
        decodeBinary20(bytes, count, out);
        break;
    case Quaternary8:
        decodeScaled<quint8, 3, 4, 2>(bytes, count, out);
        break;
    case Quaternary16:
        decodeScaled<quint16, 3, 12, 2>(bytes, count, out);
        break;
    case Integer24:
        decodeInteger24(bytes, count, out);
        break;
    case Integer32:
        decodeBigEndian(SegyLayout::Int32, bytes, count, out);
        break;
    case Hexadecimal8:
        decodeScaled<quint8, 2, 5, 4>(bytes, count, out);
        break;
    case Hexadecimal16:
        decodeScaled<quint16, 3, 12, 4>(bytes, count, out);
        break;
    case IbmFloat:
        decodeBigEndian(SegyLayout::IbmFloat, bytes, count, out);
        break;
    case IeeeFloat:
        decodeBigEndian(SegyLayout::IeeeFloat, bytes, count, out);
        break;
    case IeeeDouble:
        decodeIeeeDouble(bytes, count, out);
        break;
    case None:
        break;
    }
}

OBR_WIDE_VECTOR_LOOPS void decodeWide(Decoder decoder, const uchar* bytes, qint64 count, double* out)
{
    decodeAny(decoder, bytes, count, out);
}

} // namespace

void decode(Decoder decoder, const uchar* bytes, qint64 count, double* out)
{
    if (count <= 0)
        return;
    WideVectors::call(decodeAny, decodeWide, decoder, bytes, count, out);
}
} // namespace SegdSampleDecoder
