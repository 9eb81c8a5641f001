#include "seismic/SegyFileHeader.h"

#include "seismic/EbcdicTable.h"
#include "seismic/HeaderDataType.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyLayout.h"

namespace SegyFileHeader {

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
    put(format.samplesPerTrace.startByte, samplesType, description.samples);
    put(format.sampleInterval.startByte, format.sampleInterval.type,
        double(SampleConversion::truncateToInteger(double(description.intervalMs) * 1000.0)));
    put(format.sampleFormat.startByte, format.sampleFormat.type, description.sampleFormat);
    put(SegyLayout::revisionWord.startByte, SegyLayout::revisionWord.type, description.revision);
    put(SegyLayout::fixedLengthWord.startByte, SegyLayout::fixedLengthWord.type,
        description.fixedLength ? 1 : 0);
    return bytes;
}

} // namespace SegyFileHeader
