#include "seismic/SegySampleCodec.h"

#include "seismic/SampleConversion.h"

#include <algorithm>

namespace SegySampleCodec {

int bytesPerSample(int code)
{
    switch (code) {
    case IbmFloat:
    case Int32:
    case FixedPointGain:
    case IeeeFloat:
        return 4;
    case Int16:
        return 2;
    case Int8:
        return 1;
    default:
        return 0;
    }
}

namespace {

// Between the file's byte order and the machine's; one-byte samples have none.
void swapSamples(int code, char* bytes, qint64 count)
{
    const int size = bytesPerSample(code);
    if (size == 4)
        SampleConversion::swapBytes32(bytes, count);
    else if (size == 2)
        SampleConversion::swapBytes16(bytes, count);
}

} // namespace

void decode(int code, char* bytes, qint64 count, bool swap, double* out)
{
    if (count <= 0)
        return;
    if (swap)
        swapSamples(code, bytes, count);
    switch (code) {
    case IbmFloat:
        SampleConversion::ibmToIeee(bytes, out, count);
        break;
    case Int32:
        SampleConversion::int32ToDouble(bytes, out, count);
        break;
    case Int16:
        SampleConversion::int16ToDouble(bytes, out, count);
        break;
    case IeeeFloat:
        SampleConversion::floatToDouble(bytes, out, count);
        break;
    case Int8:
        SampleConversion::int8ToDouble(bytes, out, count);
        break;
    default:
        std::fill_n(out, count, 0.0);
        break;
    }
}

void encode(int code, const double* in, qint64 count, bool swap, char* bytes)
{
    if (count <= 0)
        return;
    switch (code) {
    case IbmFloat:
        SampleConversion::ieeeToIbm(in, bytes, count);
        break;
    case Int32:
        SampleConversion::doubleToInt32(in, bytes, count);
        break;
    case Int16:
        SampleConversion::doubleToInt16(in, bytes, count);
        break;
    case IeeeFloat:
        SampleConversion::doubleToFloat(in, bytes, count);
        break;
    case Int8:
        SampleConversion::doubleToInt8(in, bytes, count);
        break;
    default:
        return;
    }
    if (swap)
        swapSamples(code, bytes, count);
}

} // namespace SegySampleCodec
