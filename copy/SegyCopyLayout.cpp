#include "copy/SegyCopyLayout.h"

#include "seismic/SegyLayout.h"
#include "seismic/SeismicLimits.h"

#include <QFile>

namespace {

constexpr bool hostLittleEndian = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;

// A 16-bit binary header word of the file headers, big-endian or in the other byte order.
int word(const char* headers, SegyLayout::Word word, bool otherOrder)
{
    const char* binary = headers + SegyLayout::textHeaderSize;
    return int(SegyLayout::read(binary, SegyLayout::binaryHeaderSize, word, otherOrder != hostLittleEndian));
}

} // namespace

SegyCopyLayout SegyCopyLayout::read(const char* headers, qint64 fileSize,
                                    const SegyGeometry::TextReader& readText)
{
    SegyCopyLayout layout;
    const char* binary = headers + SegyLayout::textHeaderSize;
    // Revision 2 states the byte order; older files tell it by the code that names a format.
    const SegyBinaryHeader::ByteOrder stated =
        SegyBinaryHeader::statedByteOrder(binary, SegyLayout::binaryHeaderSize);
    const int bigEndianCode = word(headers, SegyLayout::sampleFormatWord, false);
    bool otherOrder = stated == SegyBinaryHeader::ByteOrder::LittleEndian;
    if (stated != SegyBinaryHeader::ByteOrder::BigEndian &&
        stated != SegyBinaryHeader::ByteOrder::LittleEndian && !SegyLayout::knownSampleFormat(bigEndianCode))
        otherOrder = true;
    layout.sampleFormat = word(headers, SegyLayout::sampleFormatWord, otherOrder);
    // A code that no byte order makes known is named in the order the file states, else in the
    // standard's.
    const bool orderStated = stated == SegyBinaryHeader::ByteOrder::BigEndian ||
                             stated == SegyBinaryHeader::ByteOrder::LittleEndian;
    layout.statedSampleFormat = orderStated || SegyLayout::knownSampleFormat(layout.sampleFormat)
                                    ? layout.sampleFormat
                                    : bigEndianCode;
    if (!SegyLayout::knownSampleFormat(layout.sampleFormat))
        return layout;
    layout.known = true;
    layout.littleEndian = otherOrder;
    const SegyBinaryHeader fields =
        SegyBinaryHeader::read(binary, SegyLayout::binaryHeaderSize, otherOrder != hostLittleEndian);
    const quint32 samples = fields.samples > 0
                                ? fields.samples
                                : quint32(word(headers, SegyLayout::samplesPerTraceWord, otherOrder));
    if (samples > quint32(SeismicLimits::maxSamplesPerTrace)) {
        layout.problem = QStringLiteral("%1 samples per trace are more than a trace may hold (%2)")
                             .arg(samples)
                             .arg(SeismicLimits::maxSamplesPerTrace);
        return layout;
    }
    layout.samples = int(samples);
    layout.statedTraceCount = fields.traceCount;
    SegyGeometry::Inputs inputs;
    inputs.fileSize = fileSize;
    inputs.samples = layout.samples;
    inputs.bytesPerSample = SegyLayout::bytesPerSample(layout.sampleFormat);
    inputs.binary = fields;
    const SegyGeometry geometry = SegyGeometry::compute(inputs, readText);
    layout.problem = geometry.problem;
    layout.extendedTextHeaders = geometry.extendedTextHeaders;
    layout.traceHeaderLength = int(geometry.traceHeaderLength);
    layout.traceLength = int(qMin<qint64>(geometry.traceLength, INT_MAX));
    layout.dataEnd = geometry.dataEnd;
    layout.trailerStanzas = geometry.trailerStanzas;
    layout.dataStart_ = geometry.dataStart;
    return layout;
}

SegyGeometry::TextReader SegyCopyLayout::textReader(QFile& file)
{
    return [&file](qint64 position, int length) {
        const qint64 resume = file.pos();
        const QByteArray text = file.seek(position) ? file.read(length) : QByteArray();
        return file.seek(resume) ? text : QByteArray();
    };
}
