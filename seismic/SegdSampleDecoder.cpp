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

// Fraction weight times the exponent's power, by exponent: 2^-12 x 4^e for 8024, 2^-4 x 4^e
// for 8022, 2^-12 x 16^e for 8044 (3-bit exponents) and 2^-5 x 16^e for 8042 (2-bit).
constexpr double quaternary16Scale[8] = {0x1p-12, 0x1p-10, 0x1p-8, 0x1p-6, 0x1p-4, 0x1p-2, 0x1p0, 0x1p2};
constexpr double quaternary8Scale[8] = {0x1p-4, 0x1p-2, 0x1p0, 0x1p2, 0x1p4, 0x1p6, 0x1p8, 0x1p10};
constexpr double hexadecimal16Scale[8] = {0x1p-12, 0x1p-8, 0x1p-4, 0x1p0, 0x1p4, 0x1p8, 0x1p12, 0x1p16};
constexpr double hexadecimal8Scale[4] = {0x1p-5, 0x1p-1, 0x1p3, 0x1p7};

inline quint32 bigEndian16(const uchar* bytes, qint64 index)
{
    return qFromBigEndian<quint16>(bytes + 2 * index);
}

void decodeBinary20(const uchar* bytes, qint64 count, double* out, qint32* scratch)
{
    for (qint64 i = 0; i < count; ++i) {
        const uchar* group = bytes + (i / 4) * 10;
        const int k = int(i % 4);
        const int exponent = (group[k / 2] >> (4 * (1 - k % 2))) & 0x0F;
        const qint32 mantissa = qint16(bigEndian16(group + 2, k));
        scratch[i] = mantissa * (qint32(1) << exponent);
    }
    for (qint64 i = 0; i < count; ++i)
        out[i] = double(scratch[i]) * double(binary20Scale);
}

// Sign, exponent and fraction of the quaternary words; a negative value carries the
// complement of its fraction.
void decodeQuaternary(const uchar* bytes, qint64 count, double* out, bool wide)
{
    const int fractionBits = wide ? 12 : 4;
    const quint32 fractionMask = (quint32(1) << fractionBits) - 1;
    const double* scale = wide ? quaternary16Scale : quaternary8Scale;
    for (qint64 i = 0; i < count; ++i) {
        const quint32 word = wide ? bigEndian16(bytes, i) : bytes[i];
        const quint32 negative = word >> (fractionBits + 3);
        const quint32 fraction = word & fractionMask;
        const quint32 magnitude = negative ? (~fraction & fractionMask) : fraction;
        const double value = double(magnitude) * scale[(word >> fractionBits) & 7];
        out[i] = negative ? -value : value;
    }
}

// Sign and magnitude, as in the IBM words of 8048.
void decodeHexadecimal(const uchar* bytes, qint64 count, double* out, bool wide)
{
    const int fractionBits = wide ? 12 : 5;
    const int exponentBits = wide ? 3 : 2;
    const quint32 fractionMask = (quint32(1) << fractionBits) - 1;
    const quint32 exponentMask = (quint32(1) << exponentBits) - 1;
    const double* scale = wide ? hexadecimal16Scale : hexadecimal8Scale;
    for (qint64 i = 0; i < count; ++i) {
        const quint32 word = wide ? bigEndian16(bytes, i) : bytes[i];
        const quint32 negative = word >> (fractionBits + exponentBits);
        const double value = double(word & fractionMask) * scale[(word >> fractionBits) & exponentMask];
        out[i] = negative ? -value : value;
    }
}

void decodeInteger24(const uchar* bytes, qint64 count, double* out, qint32* scratch)
{
    for (qint64 i = 0; i < count; ++i) {
        const uchar* sample = bytes + 3 * i;
        const quint32 word = (quint32(sample[0]) << 16) | (quint32(sample[1]) << 8) | sample[2];
        scratch[i] = qint32((word ^ 0x800000u) - 0x800000u);
    }
    for (qint64 i = 0; i < count; ++i)
        out[i] = double(scratch[i]);
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

bool needsScratch(Decoder decoder)
{
    return decoder == Binary20 || decoder == Integer24;
}

namespace {

void decodeAny(Decoder decoder, const uchar* bytes, qint64 count, double* out, qint32* scratch)
{
    switch (decoder) {
    case Binary20:
        decodeBinary20(bytes, count, out, scratch);
        break;
    case Quaternary8:
        decodeQuaternary(bytes, count, out, false);
        break;
    case Quaternary16:
        decodeQuaternary(bytes, count, out, true);
        break;
    case Integer24:
        decodeInteger24(bytes, count, out, scratch);
        break;
    case Integer32:
        decodeBigEndian(SegyLayout::Int32, bytes, count, out);
        break;
    case Hexadecimal8:
        decodeHexadecimal(bytes, count, out, false);
        break;
    case Hexadecimal16:
        decodeHexadecimal(bytes, count, out, true);
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

OBR_WIDE_VECTOR_LOOPS void decodeWide(Decoder decoder, const uchar* bytes, qint64 count, double* out,
                                      qint32* scratch)
{
    decodeAny(decoder, bytes, count, out, scratch);
}

} // namespace

void decode(Decoder decoder, const uchar* bytes, qint64 count, double* out, qint32* scratch)
{
    if (count <= 0)
        return;
    WideVectors::call(decodeAny, decodeWide, decoder, bytes, count, out, scratch);
}
} // namespace SegdSampleDecoder
