#include "copy/SegyCopyLayout.h"

#include "seismic/SegyLayout.h"

namespace {

constexpr bool hostLittleEndian = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;

// A 16-bit binary header word of the file headers, big-endian or in the other byte order.
int word(const char* headers, SegyLayout::Word word, bool otherOrder)
{
    const char* binary = headers + SegyLayout::textHeaderSize;
    return int(SegyLayout::read(binary, SegyLayout::binaryHeaderSize, word, otherOrder != hostLittleEndian));
}

} // namespace

SegyCopyLayout SegyCopyLayout::read(const char* headers, qint64 fileSize)
{
    SegyCopyLayout layout;
    bool otherOrder = false;
    layout.sampleFormat = word(headers, SegyLayout::sampleFormatWord, otherOrder);
    if (!SegyLayout::knownSampleFormat(layout.sampleFormat)) {
        otherOrder = true;
        layout.sampleFormat = word(headers, SegyLayout::sampleFormatWord, otherOrder);
    }
    if (!SegyLayout::knownSampleFormat(layout.sampleFormat))
        return SegyCopyLayout();
    layout.known = true;
    layout.littleEndian = otherOrder;
    layout.samples = word(headers, SegyLayout::samplesPerTraceWord, otherOrder);
    layout.traceLength =
        SegyLayout::traceHeaderSize + layout.samples * SegyLayout::bytesPerSample(layout.sampleFormat);
    if (fileSize >= 0)
        layout.extendedTextHeaders = SegyLayout::extendedTextHeaders(
            word(headers, SegyLayout::extendedTextHeadersWord, otherOrder), fileSize,
            SegyLayout::textHeaderSize, SegyLayout::binaryHeaderSize);
    return layout;
}

qint64 SegyCopyLayout::dataStart() const
{
    return SegyLayout::fileHeaderSize + qint64(extendedTextHeaders) * SegyLayout::textHeaderSize;
}
