#include "seismic/SampleConversion.h"

#include <QtEndian>

namespace SampleConversion {

namespace {

// Loads and stores through memcpy: file buffers carry no alignment promise, and the
// compiler turns these into plain (vectorisable) moves.
template <typename T> inline T load(const unsigned char* bytes, qint64 index)
{
    T value;
    std::memcpy(&value, bytes + index * qint64(sizeof(T)), sizeof(T));
    return value;
}

template <typename T> inline void store(unsigned char* bytes, qint64 index, T value)
{
    std::memcpy(bytes + index * qint64(sizeof(T)), &value, sizeof(T));
}

template <typename T> void swapArray(void* data, qint64 count)
{
    auto* bytes = static_cast<unsigned char*>(data);
    for (qint64 i = 0; i < count; ++i)
        store<T>(bytes, i, qbswap(load<T>(bytes, i)));
}

template <typename To> void truncateArray(const double* in, void* out, qint64 count)
{
    auto* bytes = static_cast<unsigned char*>(out);
    for (qint64 i = 0; i < count; ++i)
        store<To>(bytes, i, To(truncateToInteger(in[i])));
}

} // namespace

void swapBytes(void* item, int size)
{
    switch (size) {
    case 2:
        swapArray<quint16>(item, 1);
        break;
    case 4:
        swapArray<quint32>(item, 1);
        break;
    case 8:
        swapArray<quint64>(item, 1);
        break;
    default:
        break;
    }
}

void swapBytes16(void* data, qint64 count)
{
    swapArray<quint16>(data, count);
}

void swapBytes32(void* data, qint64 count)
{
    swapArray<quint32>(data, count);
}

void swapBytes64(void* data, qint64 count)
{
    swapArray<quint64>(data, count);
}

void ibmToIeee(const void* ibmWords, float* out, qint64 count)
{
    const auto* bytes = static_cast<const unsigned char*>(ibmWords);
    auto* target = reinterpret_cast<unsigned char*>(out);
    for (qint64 i = 0; i < count; ++i)
        store<quint32>(target, i, ibmToIeeeBits(load<quint32>(bytes, i)));
}

void ieeeToIbm(const float* in, void* ibmWords, qint64 count)
{
    const auto* source = reinterpret_cast<const unsigned char*>(in);
    auto* bytes = static_cast<unsigned char*>(ibmWords);
    for (qint64 i = 0; i < count; ++i)
        store<quint32>(bytes, i, ieeeToIbmBits(load<quint32>(source, i)));
}

void ieeeToIbm(const double* in, void* ibmWords, qint64 count)
{
    auto* bytes = static_cast<unsigned char*>(ibmWords);
    for (qint64 i = 0; i < count; ++i) {
        const float value = float(in[i]);
        quint32 bits;
        std::memcpy(&bits, &value, sizeof bits);
        store<quint32>(bytes, i, ieeeToIbmBits(bits));
    }
}

void doubleToInt8(const double* in, void* out, qint64 count)
{
    truncateArray<qint8>(in, out, count);
}

void doubleToInt16(const double* in, void* out, qint64 count)
{
    truncateArray<qint16>(in, out, count);
}

void doubleToInt32(const double* in, void* out, qint64 count)
{
    truncateArray<qint32>(in, out, count);
}

void doubleToInt64(const double* in, void* out, qint64 count)
{
    truncateArray<qint64>(in, out, count);
}

void doubleToUInt64(const double* in, void* out, qint64 count)
{
    auto* bytes = static_cast<unsigned char*>(out);
    for (qint64 i = 0; i < count; ++i) {
        const double value = in[i];
        const bool upper = value >= 0x1p63 && value < 0x1p64;
        store<quint64>(bytes, i, upper ? quint64(value) : quint64(truncateToInteger(value)));
    }
}

void doubleToFloat(const double* in, void* out, qint64 count)
{
    auto* bytes = static_cast<unsigned char*>(out);
    for (qint64 i = 0; i < count; ++i)
        store<float>(bytes, i, float(in[i]));
}

} // namespace SampleConversion
