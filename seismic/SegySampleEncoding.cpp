#include "seismic/SampleConversion.h"
#include "seismic/SegyLayout.h"
#include "seismic/SegySampleCodec.h"

#include <cstring>

namespace SegySampleCodec {

namespace {

// 24-bit samples by the integer rule, keeping the low 24 bits, written straight in the file's
// byte order.
void doubleToThreeByte(const double* in, qint64 count, bool bigEndian, char* bytes)
{
    auto* out = reinterpret_cast<uchar*>(bytes);
    for (qint64 i = 0; i < count; ++i) {
        const quint32 word = quint32(quint64(SampleConversion::truncateToInteger(in[i])));
        uchar* sample = out + 3 * i;
        sample[bigEndian ? 0 : 2] = uchar(word >> 16);
        sample[1] = uchar(word >> 8);
        sample[bigEndian ? 2 : 0] = uchar(word);
    }
}

} // namespace

void encode(int code, const double* in, qint64 count, bool swap, char* bytes)
{
    if (count <= 0)
        return;
    // Unsigned words take the bits of the signed words of their size.
    switch (code) {
    case SegyLayout::IbmFloat:
        SampleConversion::ieeeToIbm(in, bytes, count);
        break;
    case SegyLayout::Int32:
    case SegyLayout::UInt32:
        SampleConversion::doubleToInt32(in, bytes, count);
        break;
    case SegyLayout::Int16:
    case SegyLayout::UInt16:
        SampleConversion::doubleToInt16(in, bytes, count);
        break;
    case SegyLayout::Int8:
    case SegyLayout::UInt8:
        SampleConversion::doubleToInt8(in, bytes, count);
        break;
    case SegyLayout::Int64:
        SampleConversion::doubleToInt64(in, bytes, count);
        break;
    case SegyLayout::UInt64:
        SampleConversion::doubleToUInt64(in, bytes, count);
        break;
    case SegyLayout::IeeeFloat:
        SampleConversion::doubleToFloat(in, bytes, count);
        break;
    case SegyLayout::IeeeDouble:
        std::memcpy(bytes, in, size_t(count) * sizeof(double));
        break;
    case SegyLayout::Int24:
    case SegyLayout::UInt24:
        doubleToThreeByte(in, count, (Q_BYTE_ORDER == Q_BIG_ENDIAN) != swap, bytes);
        return;
    default: // fixed point with gain and unknown codes
        return;
    }
    if (!swap)
        return;
    switch (SegyLayout::bytesPerSample(code)) {
    case 2:
        SampleConversion::swapBytes16(bytes, count);
        break;
    case 4:
        SampleConversion::swapBytes32(bytes, count);
        break;
    case 8:
        SampleConversion::swapBytes64(bytes, count);
        break;
    default:
        break;
    }
}

} // namespace SegySampleCodec
