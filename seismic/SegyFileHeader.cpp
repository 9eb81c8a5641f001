#include "seismic/SegyFileHeader.h"

#include "seismic/EbcdicTable.h"
#include "seismic/HeaderDataType.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyBinaryHeader.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyLayout.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

namespace SegyFileHeader {

namespace {

// Binary header positions of revision 2 (1-based within the binary header).
constexpr int extendedSamplesByte = 69;
constexpr int extendedIntervalByte = 73;
constexpr int revisionMajorByte = 301;
constexpr int largestSampleWord = 65535;
// The sample formats revision 1 already had.
constexpr int revision1Formats[] = {SegyLayout::IbmFloat,       SegyLayout::Int32,     SegyLayout::Int16,
                                    SegyLayout::FixedPointGain, SegyLayout::IeeeFloat, SegyLayout::Int8};

double intervalMicroseconds(const Description& description)
{
    return double(description.intervalMs) * 1000.0;
}

} // namespace

bool needsRevision2(const Description& description)
{
    const bool revision1Format = std::find(std::begin(revision1Formats), std::end(revision1Formats),
                                           description.sampleFormat) != std::end(revision1Formats);
    const double interval = intervalMicroseconds(description);
    return !revision1Format || description.samples > largestSampleWord || interval != std::floor(interval);
}

QByteArray build(const SegyFormat& format, const Description& description)
{
    const int textSize = qMax(format.textHeaderSize, 0);
    const int binarySize = qMax(format.binaryHeaderSize, 0);
    QByteArray bytes(textSize + binarySize, '\0');
    const QByteArray text = description.text.toLatin1().leftJustified(textSize, ' ', true);
    for (int i = 0; i < textSize; ++i)
        bytes[i] = format.textHeaderAscii ? text[i] : char(EbcdicTable::fromAscii(text[i]));

    const bool swap = (format.endianOrder != SegyFormat::LittleEndian) != (Q_BYTE_ORDER == Q_BIG_ENDIAN);
    char* binary = bytes.data() + textSize;
    const auto put = [&](int startByte, int type, double value) {
        HeaderDataType::writeValue(binary, binarySize, startByte, type, value, swap);
    };
    // Samples per trace is unsigned in the standard, which the writer does not store as such.
    const int samplesType = format.samplesPerTrace.type == HeaderDataType::UInt16
                                ? int(HeaderDataType::Int16)
                                : format.samplesPerTrace.type;
    const bool revision2 = needsRevision2(description);
    put(format.samplesPerTrace.startByte, samplesType,
        revision2 && description.samples > largestSampleWord ? 0 : description.samples);
    put(format.sampleInterval.startByte, format.sampleInterval.type,
        double(SampleConversion::truncateToInteger(intervalMicroseconds(description))));
    put(format.sampleFormat.startByte, format.sampleFormat.type, description.sampleFormat);
    put(SegyLayout::fixedLengthWord.startByte, SegyLayout::fixedLengthWord.type,
        description.fixedLength ? 1 : 0);
    if (!revision2) {
        put(SegyLayout::revisionWord.startByte, SegyLayout::revisionWord.type, description.revision);
        return bytes;
    }
    // Revision 2: major and minor revision a byte each, whatever the byte order.
    binary[revisionMajorByte - 1] = 2;
    binary[revisionMajorByte] = 0;
    put(SegyBinaryHeader::byteOrderConstantByte, HeaderDataType::Int32, SegyBinaryHeader::byteOrderConstant);
    put(extendedSamplesByte, HeaderDataType::Int32, description.samples);
    const double interval = intervalMicroseconds(description);
    char* extendedInterval = binary + extendedIntervalByte - 1;
    std::memcpy(extendedInterval, &interval, sizeof interval);
    if (swap)
        SampleConversion::swapBytes(extendedInterval, int(sizeof interval));
    return bytes;
}

} // namespace SegyFileHeader
