#include "copy/SegyIeeeSamples.h"

#include "seismic/SampleConversion.h"
#include "seismic/SegyLayout.h"

#include <QtEndian>
#include <cstring>

namespace SegyIeeeSamples {

namespace {

template <typename Word> Word load(const char* at, bool littleEndian)
{
    return littleEndian ? qFromLittleEndian<Word>(at) : qFromBigEndian<Word>(at);
}

void storeFloat(char* at, float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    qToBigEndian(bits, at);
}

} // namespace

bool convertible(int code)
{
    return SegyLayout::knownSampleFormat(code) && code != SegyLayout::FixedPointGain;
}

void convert(int code, bool littleEndian, const char* in, char* out, qint64 count)
{
    switch (code) {
    case SegyLayout::IeeeFloat:
        std::memcpy(out, in, size_t(count) * 4);
        if (littleEndian)
            SampleConversion::swapBytes32(out, count);
        break;
    case SegyLayout::IbmFloat:
        for (qint64 k = 0; k < count; ++k)
            qToBigEndian(SampleConversion::ibmToIeeeBits(load<quint32>(in + 4 * k, littleEndian)),
                         out + 4 * k);
        break;
    case SegyLayout::Int32:
        for (qint64 k = 0; k < count; ++k)
            storeFloat(out + 4 * k, float(load<qint32>(in + 4 * k, littleEndian)));
        break;
    case SegyLayout::Int16:
        for (qint64 k = 0; k < count; ++k)
            storeFloat(out + 4 * k, float(load<qint16>(in + 2 * k, littleEndian)));
        break;
    case SegyLayout::Int8:
        for (qint64 k = 0; k < count; ++k)
            storeFloat(out + 4 * k, float(qint8(in[k])));
        break;
    default:
        std::memset(out, 0, size_t(count) * 4);
        break;
    }
}

} // namespace SegyIeeeSamples
