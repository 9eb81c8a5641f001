#include "seismic/SegyData.h"

#include "base/ObrConsole.h"
#include "devices/DiskDevice.h"
#include "seismic/EbcdicTable.h"
#include "seismic/HeaderDataType.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyGeometry.h"
#include "seismic/SegyLayout.h"
#include "seismic/SegyTraceIndex.h"
#include "seismic/SeismicLimits.h"
#include "seismic/SortOrder.h"

#include <algorithm>
#include <climits>

namespace {

constexpr bool hostBigEndian = Q_BYTE_ORDER == Q_BIG_ENDIAN;
// Sample format codes are small: read in the wrong byte order they become large.
constexpr int largestFormatCode = SegyLayout::sampleFormats[SegyLayout::sampleFormatCount - 1].code;

} // namespace

SegyData::SegyData(ObrConsole* console, const QString& path, unsigned mode, SegyFormat* format)
    : SegyData(new DiskDevice(console, path, mode), mode, format)
{}

SegyData::SegyData(ObrDevice* device, unsigned mode, SegyFormat* format)
    : SeismicData(device), format_(format)
{
    const QString path = device_->path();
    if (!device_->ok()) {
        status_ = device_->status();
        return;
    }
    if (!format_) {
        console_->error(QStringLiteral("no SEG-Y format given for disk file: ") + path, true);
        return;
    }
    swapBytes_ = (format_->endianOrder == SegyFormat::BigEndian) != hostBigEndian;
    dataStart_ = qint64(format_->textHeaderSize) + format_->binaryHeaderSize;
    traceHeaderLength_ = format_->traceHeaderSize;
    const auto headerSizeValid = [](int size, int smallest) {
        return size >= smallest && size <= SeismicLimits::maxHeaderBytes;
    };
    if (!headerSizeValid(format_->textHeaderSize, 1) || !headerSizeValid(format_->binaryHeaderSize, 1) ||
        !headerSizeValid(format_->traceHeaderSize, 0)) {
        console_->error(
            QStringLiteral("SEG-Y format header sizes %1, %2 and %3 are out of range for disk file: %4")
                .arg(format_->textHeaderSize)
                .arg(format_->binaryHeaderSize)
                .arg(format_->traceHeaderSize)
                .arg(path),
            true);
        return;
    }
    if ((mode == 0 || mode == 3) && (!readTextHeader() || !readBinaryHeader()))
        return;
    currentRecord_ = 1;
    currentTrace_ = 1;
    ok_ = true;
}

SegyData::~SegyData() = default;

qint64 SegyData::heldBytes() const
{
    // Modes 0 and 3 read a file; the others write one.
    const unsigned mode = device_->mode();
    return mode == 0 || mode == 3 ? device_->size() : -1;
}

qint64 SegyData::dataStart() const
{
    return dataStart_;
}

bool SegyData::readAtPosition(char* buffer, int length)
{
    if (length == 0)
        return true;
    const qint64 position = device_->pos();
    if (device_->read(buffer, length) && device_->bytesRead() == length)
        return true;
    if (device_->status() != ObrDevice::Success) {
        status_ = device_->status();
        return false;
    }
    status_ = ObrDevice::ReadFailed;
    console_->error(QStringLiteral("read %1 of %2 bytes at byte position %3 within disk file: %4")
                        .arg(device_->bytesRead())
                        .arg(length)
                        .arg(position)
                        .arg(device_->path()),
                    false);
    return false;
}

bool SegyData::readTextHeader()
{
    const int size = format_->textHeaderSize;
    if (device_->size() < qint64(size) + format_->binaryHeaderSize) {
        // Too short for its headers: a file without traces.
        status_ = ObrDevice::OutOfRange;
        console_->error(QStringLiteral("File with zero traces: ") + device_->path(), true);
        return false;
    }
    QByteArray raw(size, '\0');
    if (!device_->seek(0)) {
        status_ = device_->status();
        return false;
    }
    if (!readAtPosition(raw.data(), size))
        return false;
    textHeaderRaw_ = raw;
    if (!format_->textHeaderAscii) {
        for (char& byte : raw)
            byte = EbcdicTable::toAscii((unsigned char)byte);
    }
    const int end = raw.indexOf('\0');
    textHeaderText_ = QString::fromLatin1(raw.constData(), end < 0 ? size : end);
    return true;
}

bool SegyData::readBinaryHeader()
{
    const int size = format_->binaryHeaderSize;
    QByteArray binary(size, '\0');
    if (!device_->seek(format_->textHeaderSize)) {
        status_ = device_->status();
        return false;
    }
    if (!readAtPosition(binary.data(), size))
        return false;
    const char* bytes = binary.constData();
    if (!indexed_)
        detectByteOrder(bytes, size);
    binaryFields_ = SegyBinaryHeader::read(bytes, size, swapBytes_);
    if (!indexed_) {
        if (!takeSampleCount(bytes, size))
            return false;
        takeSampleInterval(bytes, size);
        takeSampleFormat(bytes, size);
        recordLength_ = float(samples_) * sampleInterval_;
    }
    revision_ = qint16(SegyLayout::read(bytes, size, SegyLayout::revisionWord, swapBytes_));
    if (!placeTraces())
        return false;
    const SegyLayout::Word marker = SegyLayout::extensionMarkerWord;
    extensionPresent_ = int(SegyLayout::read(bytes, size, marker, swapBytes_)) == SegyLayout::extensionMarker;
    extensionWords_.fill(0);
    if (extensionPresent_) {
        for (size_t i = 0; i < extensionWords_.size(); ++i) {
            const SegyLayout::Word word{marker.startByte + 2 + 2 * int(i), HeaderDataType::Int16};
            extensionWords_[i] = qint16(SegyLayout::read(bytes, size, word, swapBytes_));
        }
    }
    binaryHeaderRaw_ = binary;
    readExtendedTextHeaders();
    return true;
}

void SegyData::detectByteOrder(const char* binary, qint64 length)
{
    const SegyBinaryHeader::ByteOrder stated = SegyBinaryHeader::statedByteOrder(binary, length);
    const bool constant = stated == SegyBinaryHeader::ByteOrder::BigEndian ||
                          stated == SegyBinaryHeader::ByteOrder::LittleEndian;
    if (!format_->endianFromData) {
        byteOrderEvidence_ = ByteOrderEvidence::Format;
        const bool bigEndian = format_->endianOrder == SegyFormat::BigEndian;
        if (constant && bigEndian != (stated == SegyBinaryHeader::ByteOrder::BigEndian))
            console_->warning(
                QStringLiteral("the byte order constant of %1 says %2; the format reads it %3.")
                    .arg(device_->path(),
                         bigEndian ? QStringLiteral("little-endian") : QStringLiteral("big-endian"),
                         bigEndian ? QStringLiteral("big-endian") : QStringLiteral("little-endian")),
                false);
        return;
    }
    // The standard's constant decides before any guess.
    if (constant) {
        const bool bigEndian = stated == SegyBinaryHeader::ByteOrder::BigEndian;
        swapBytes_ = bigEndian != hostBigEndian;
        format_->endianOrder = bigEndian ? SegyFormat::BigEndian : SegyFormat::LittleEndian;
        byteOrderEvidence_ = ByteOrderEvidence::Constant;
        return;
    }
    byteOrderEvidence_ = ByteOrderEvidence::Guessed;
    if (stated == SegyBinaryHeader::ByteOrder::PairSwapped)
        console_->warning(QStringLiteral("the byte order constant of %1 says its bytes are swapped in pairs, "
                                         "which this program does not read; the order is guessed.")
                              .arg(device_->path()),
                          false);
    const SegyFormat::BinaryWord& word = format_->sampleFormat;
    // Read as stored first: a small code means the file is in the machine's (little endian)
    // order. Codes the standard leaves unassigned are still too small to be swapped.
    const int asStored = SampleConversion::truncateToInt32(
        HeaderDataType::readValue(binary, length, word.startByte, word.type, hostBigEndian));
    if (asStored >= 1 && asStored <= largestFormatCode) {
        swapBytes_ = hostBigEndian;
        format_->endianOrder = SegyFormat::LittleEndian;
        return;
    }
    const int reversed = SampleConversion::truncateToInt32(
        HeaderDataType::readValue(binary, length, word.startByte, word.type, !hostBigEndian));
    if (!SegyLayout::knownSampleFormat(reversed))
        console_->warning(
            QStringLiteral(
                "invalid sample format code in binary header. \nEndian order will be set to Big endian."),
            true);
    swapBytes_ = !hostBigEndian;
    format_->endianOrder = SegyFormat::BigEndian;
}

bool SegyData::takeSampleCount(const char* binary, qint64 length)
{
    const SegyFormat::BinaryWord& word = format_->samplesPerTrace;
    double fromFile = HeaderDataType::readValue(binary, length, word.startByte, word.type, swapBytes_);
    // Revision 2 states counts beyond the 16-bit word in a 32-bit one.
    if (binaryFields_.samples > 0 && word.startByte == SegyLayout::samplesPerTraceWord.startByte)
        fromFile = binaryFields_.samples;
    const double used = word.override ? word.overrideValue : fromFile;
    if (!(used >= 0 && used <= SeismicLimits::maxSamplesPerTrace)) {
        status_ = ObrDevice::OutOfRange;
        console_->error(QStringLiteral("samples per trace %1 is out of range (0 to %2) for disk file: %3")
                            .arg(used, 0, 'f', 0)
                            .arg(SeismicLimits::maxSamplesPerTrace)
                            .arg(device_->path()),
                        true);
        return false;
    }
    // The file's own count is reconciled first, even when the format overrides it; a count the
    // file cannot mean (negative, huge) is not worth a warning when it is overridden anyway.
    if (!word.override || (fromFile >= 0 && fromFile <= SeismicLimits::maxSamplesPerTrace))
        reconcileSampleCount(SampleConversion::truncateToInt32(fromFile), QString());
    if (word.override)
        reconcileSampleCount(SampleConversion::truncateToInt32(word.overrideValue), QString());
    return true;
}

void SegyData::takeSampleInterval(const char* binary, qint64 length)
{
    const SegyFormat::BinaryWord& interval = format_->sampleInterval;
    double microseconds =
        HeaderDataType::readValue(binary, length, interval.startByte, interval.type, swapBytes_);
    // Revision 2 states intervals a 16-bit count of microseconds cannot hold (12.5) in a double.
    const double extended = binaryFields_.intervalMicroseconds;
    if (extended > 0 && extended < 1e9 && interval.startByte == SegyLayout::sampleIntervalWord.startByte)
        microseconds = extended;
    sampleInterval_ = float(microseconds / 1000.0);
    if (interval.override)
        sampleInterval_ = float(interval.overrideValue);
}

void SegyData::takeSampleFormat(const char* binary, qint64 length)
{
    const SegyFormat::BinaryWord& word = format_->sampleFormat;
    const double fromFile = HeaderDataType::readValue(binary, length, word.startByte, word.type, swapBytes_);
    sampleFormat_ = SampleConversion::truncateToInt32(word.override ? word.overrideValue : fromFile);
    statedSampleFormat_ = sampleFormat_;
    bytesPerSample_ = float(SegyLayout::bytesPerSample(sampleFormat_));
    if (bytesPerSample_ > 0)
        return;
    console_->warning(
        QStringLiteral("undefined sample format: %1. \nSample format will be set to IEEE floating "
                       "point.")
            .arg(sampleFormat_),
        true);
    sampleFormat_ = SegyLayout::IeeeFloat;
    bytesPerSample_ = 4;
}

bool SegyData::placeTraces()
{
    SegyGeometry::Inputs inputs;
    inputs.fileSize = device_->size();
    inputs.textHeaderSize = format_->textHeaderSize;
    inputs.binaryHeaderSize = format_->binaryHeaderSize;
    inputs.traceHeaderSize = format_->traceHeaderSize;
    inputs.samples = fileSamples_;
    inputs.bytesPerSample = int(bytesPerSample_);
    inputs.binary = binaryFields_;
    const auto readText = [this](qint64 position, int length) {
        QByteArray text(length, '\0');
        if (!device_->seek(position) || !device_->read(text.data(), length))
            return QByteArray();
        return text.left(int(device_->bytesRead()));
    };
    const SegyGeometry geometry = SegyGeometry::compute(inputs, readText);
    for (const QString& warning : geometry.warnings)
        console_->warning(device_->path() + QStringLiteral(": ") + warning, false);
    if (!geometry.ok()) {
        status_ = ObrDevice::OutOfRange;
        console_->error(device_->path() + QStringLiteral(": ") + geometry.problem, true);
        return false;
    }
    extendedTextHeaders_ = geometry.extendedTextHeaders;
    if (geometry.extendedCountIgnored && revision_ == SegyLayout::revisionOne)
        console_->warning(QStringLiteral("extended textual header count %1 in binary header does not fit "
                                         "disk file %2; no extended textual headers read.")
                              .arg(binaryFields_.extendedTextHeaders)
                              .arg(device_->path()),
                          false);
    dataStart_ = geometry.dataStart;
    trailerStanzas_ = geometry.trailerStanzas;
    traceHeaderLength_ = int(geometry.traceHeaderLength);
    if (indexed_)
        return true;
    traceLength_ = int(geometry.traceLength);
    recordCount_ = 1;
    traceCount_ = int(geometry.traceCount);
    bytesAfterTraces_ = geometry.bytesAfterTraces;
    partialTrace_ = bytesAfterTraces_ > 0;
    tracesPerRecord_ = traceCount_;
    return true;
}

void SegyData::readExtendedTextHeaders()
{
    if (extendedTextHeaders_ <= 0)
        return;
    const qint64 size = qint64(extendedTextHeaders_) * format_->textHeaderSize;
    if (size + textHeaderRaw_.size() > SeismicLimits::maxHeaderBytes) {
        status_ = ObrDevice::AllocationFailed;
        console_->error(QStringLiteral("failed to allocate memory for %1 extended textual headers")
                            .arg(extendedTextHeaders_),
                        true);
        return;
    }
    QByteArray extended(int(size), '\0');
    if (device_->seek(qint64(format_->textHeaderSize) + format_->binaryHeaderSize) &&
        readAtPosition(extended.data(), int(size)))
        textHeaderRaw_.append(extended);
    else if (status_ == ObrDevice::Success)
        status_ = device_->status();
}
