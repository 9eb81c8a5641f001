#include "seismic/SegySampleCodec.h"

#include "seismic/SampleConversion.h"
#include "seismic/SegyLayout.h"

#include <algorithm>

namespace SegySampleCodec {

namespace {

// Between the file's byte order and the machine's; one-byte samples have none.
void swapSamples(int code, char* bytes, qint64 count)
{
    const int size = SegyLayout::bytesPerSample(code);
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
    case SegyLayout::IbmFloat:
        SampleConversion::ibmToIeee(bytes, out, count);
        break;
    case SegyLayout::Int32:
        SampleConversion::int32ToDouble(bytes, out, count);
        break;
    case SegyLayout::Int16:
        SampleConversion::int16ToDouble(bytes, out, count);
        break;
    case SegyLayout::IeeeFloat:
        SampleConversion::floatToDouble(bytes, out, count);
        break;
    case SegyLayout::Int8:
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
