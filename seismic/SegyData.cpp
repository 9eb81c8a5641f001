#include "seismic/SegyData.h"

#include "base/ObrConsole.h"
#include "devices/DiskDevice.h"
#include "seismic/EbcdicTable.h"
#include "seismic/HeaderDataType.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyLayout.h"
#include "seismic/SegyTraceIndex.h"
#include "seismic/SeismicLimits.h"
#include "seismic/SortOrder.h"

#include <algorithm>
#include <climits>

namespace {

constexpr bool hostBigEndian = Q_BYTE_ORDER == Q_BIG_ENDIAN;

} // namespace

SegyData::SegyData(ObrConsole* console, const QString& path, unsigned mode, SegyFormat* format)
    : SeismicData(new DiskDevice(console, path, mode)), format_(format)
{
    if (!console_)
        console_ = console;
    if (!device_->ok()) {
        status_ = device_->status();
        return;
    }
    if (!format_) {
        console_->error(QStringLiteral("no SEG-Y format given for disk file: ") + path, true);
        return;
    }
    swapBytes_ = (format_->endianOrder == SegyFormat::BigEndian) != hostBigEndian;
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

DiskDevice* SegyData::disk() const
{
    return static_cast<DiskDevice*>(device_.get());
}

qint64 SegyData::dataStart() const
{
    return qint64(extendedTextHeaders_ + 1) * format_->textHeaderSize + format_->binaryHeaderSize;
}

bool SegyData::readAtPosition(char* buffer, int length)
{
    if (length == 0)
        return true;
    const qint64 position = device_->pos();
    if (device_->read(buffer, length) && disk()->bytesRead() == length)
        return true;
    if (device_->status() != ObrDevice::Success) {
        status_ = device_->status();
        return false;
    }
    status_ = ObrDevice::ReadFailed;
    console_->error(QStringLiteral("read %1 of %2 bytes at byte position %3 within disk file: %4")
                        .arg(disk()->bytesRead())
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
    if (!indexed_) {
        detectByteOrder(bytes, size);
        if (!takeSampleCount(bytes, size))
            return false;
        const SegyFormat::BinaryWord& interval = format_->sampleInterval;
        sampleInterval_ = float(
            HeaderDataType::readValue(bytes, size, interval.startByte, interval.type, swapBytes_) / 1000.0);
        if (interval.override)
            sampleInterval_ = float(interval.overrideValue);
        takeSampleFormat(bytes, size);
        traceLength_ = int(qint64(fileSamples_) * qint64(bytesPerSample_) + format_->traceHeaderSize);
        recordLength_ = float(samples_) * sampleInterval_;
    }
    revision_ = qint16(SegyLayout::read(bytes, size, SegyLayout::revisionWord, swapBytes_));
    // Revision 1 files count their extended textual headers here. Writers of older revisions
    // fill the word too, as the peer reader takes it; in those the bytes are unassigned, so a
    // count that does not fit the file is taken as none, without a word.
    const int count = int(SegyLayout::read(bytes, size, SegyLayout::extendedTextHeadersWord, swapBytes_));
    extendedTextHeaders_ =
        SegyLayout::extendedTextHeaders(count, device_->size(), format_->textHeaderSize, size);
    if (extendedTextHeaders_ != count && revision_ == SegyLayout::revisionOne)
        console_->warning(QStringLiteral("extended textual header count %1 in binary header does not fit "
                                         "disk file %2; no extended textual headers read.")
                              .arg(count)
                              .arg(device_->path()),
                          false);
    if (!indexed_)
        computeTraceCount();
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
    if (!format_->endianFromData)
        return;
    const SegyFormat::BinaryWord& word = format_->sampleFormat;
    // Read as stored first: a small code means the file is in the machine's (little endian)
    // order. Codes 6 and 7 name no format, but are still too small to be swapped.
    const int asStored = SampleConversion::truncateToInt32(
        HeaderDataType::readValue(binary, length, word.startByte, word.type, hostBigEndian));
    if (asStored >= 1 && asStored <= SegyLayout::Int8) {
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
    const double fromFile = HeaderDataType::readValue(binary, length, word.startByte, word.type, swapBytes_);
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

void SegyData::takeSampleFormat(const char* binary, qint64 length)
{
    const SegyFormat::BinaryWord& word = format_->sampleFormat;
    const double fromFile = HeaderDataType::readValue(binary, length, word.startByte, word.type, swapBytes_);
    sampleFormat_ = SampleConversion::truncateToInt32(word.override ? word.overrideValue : fromFile);
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

void SegyData::computeTraceCount()
{
    recordCount_ = 1;
    const qint64 remaining = device_->size() - dataStart();
    traceCount_ = 0;
    partialTrace_ = remaining > 0;
    if (remaining > 0 && traceLength_ > 0) {
        traceCount_ = int(std::min<qint64>(remaining / traceLength_, INT_MAX));
        partialTrace_ = remaining % traceLength_ != 0;
    }
    tracesPerRecord_ = traceCount_;
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
