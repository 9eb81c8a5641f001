#include "seismic/SegyData.h"

#include "base/ObrConsole.h"
#include "devices/DiskDevice.h"
#include "seismic/EbcdicTable.h"
#include "seismic/HeaderDataType.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegySampleCodec.h"
#include "seismic/SegyTraceHeader.h"
#include "seismic/SegyTraceIndex.h"
#include "seismic/SeismicLimits.h"
#include "seismic/SeismicTrace.h"
#include "seismic/SortOrder.h"
#include "seismic/TraceGather.h"

#include <QMutexLocker>
#include <algorithm>
#include <climits>

namespace {

// Fixed words of the binary header, 1-based within it.
constexpr int revisionByte = 301;
constexpr int extendedCountByte = 305;
constexpr int extensionMarkerByte = 310;
constexpr int extensionMarker = 7855;
constexpr int revisionOne = 256;
constexpr int traceIdByte = 29;

constexpr bool hostBigEndian = Q_BYTE_ORDER == Q_BIG_ENDIAN;

bool validSampleFormatCode(int code, bool withSeven)
{
    return (code >= 1 && code <= 5) || code == 8 || (withSeven && (code == 6 || code == 7));
}

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
    revision_ =
        qint16(HeaderDataType::readValue(bytes, size, revisionByte, HeaderDataType::Int16, swapBytes_));
    // Revision 1 files count their extended textual headers here. Writers of older revisions
    // fill the word too, as the peer reader takes it; in those the bytes are unassigned, so a
    // count that does not fit the file is taken as none, without a word.
    extendedTextHeaders_ = 0;
    const int count =
        int(HeaderDataType::readValue(bytes, size, extendedCountByte, HeaderDataType::Int16, swapBytes_));
    const qint64 room = (device_->size() - format_->binaryHeaderSize) / format_->textHeaderSize - 1;
    if (count >= 0 && count <= room)
        extendedTextHeaders_ = count;
    else if (revision_ == revisionOne)
        console_->warning(QStringLiteral("extended textual header count %1 in binary header does not fit "
                                         "disk file %2; no extended textual headers read.")
                              .arg(count)
                              .arg(device_->path()),
                          false);
    if (!indexed_)
        computeTraceCount();
    extensionPresent_ = int(HeaderDataType::readValue(bytes, size, extensionMarkerByte, HeaderDataType::Int16,
                                                      swapBytes_)) == extensionMarker;
    extensionWords_.fill(0);
    if (extensionPresent_) {
        for (size_t i = 0; i < extensionWords_.size(); ++i)
            extensionWords_[i] = qint16(HeaderDataType::readValue(
                bytes, size, extensionMarkerByte + 2 + 2 * int(i), HeaderDataType::Int16, swapBytes_));
    }
    binaryHeaderRaw_ = binary;
    binaryHeaderSpare_ = QByteArray(size, '\0');
    readExtendedTextHeaders();
    return true;
}

void SegyData::detectByteOrder(const char* binary, qint64 length)
{
    if (!format_->endianFromData)
        return;
    const SegyFormat::BinaryWord& word = format_->sampleFormat;
    // Read as stored first: a small code means the file is in the machine's (little endian) order.
    const int asStored =
        int(HeaderDataType::readValue(binary, length, word.startByte, word.type, hostBigEndian));
    if (validSampleFormatCode(asStored, true)) {
        swapBytes_ = hostBigEndian;
        format_->endianOrder = SegyFormat::LittleEndian;
        return;
    }
    const int reversed =
        int(HeaderDataType::readValue(binary, length, word.startByte, word.type, !hostBigEndian));
    if (!validSampleFormatCode(reversed, false))
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
        reconcileSampleCount(int(fromFile), QString());
    if (word.override)
        reconcileSampleCount(int(word.overrideValue), QString());
    return true;
}

void SegyData::takeSampleFormat(const char* binary, qint64 length)
{
    const SegyFormat::BinaryWord& word = format_->sampleFormat;
    sampleFormatCode_ = int(HeaderDataType::readValue(binary, length, word.startByte, word.type, swapBytes_));
    sampleFormat_ = word.override ? int(word.overrideValue) : sampleFormatCode_;
    bytesPerSample_ = float(SegySampleCodec::bytesPerSample(sampleFormat_));
    if (bytesPerSample_ > 0)
        return;
    console_->warning(
        QStringLiteral("undefined sample format: %1. \nSample format will be set to IEEE floating "
                       "point.")
            .arg(sampleFormat_),
        true);
    sampleFormat_ = SegySampleCodec::IeeeFloat;
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

bool SegyData::positionFailure(const QString& text)
{
    status_ = ObrDevice::OutOfRange;
    console_->error(text + device_->path(), true);
    return false;
}

bool SegyData::seekTrace(int record, int trace)
{
    if (indexed_)
        return seekIndexed(record, trace);
    currentRecord_ = record;
    currentTrace_ = trace;
    const qint64 n = qint64(record - 1) * tracesPerRecord_ + trace;
    if (traceCount_ == 0)
        return positionFailure(QStringLiteral("File with zero traces: "));
    if (n < 1)
        return positionFailure(QStringLiteral("requested a trace number less than 1 within disk file: "));
    if (n > traceCount_)
        return positionFailure(
            QStringLiteral("requested a trace number greater than the number of traces within disk file: "));
    if (!device_->seek(dataStart() + (n - 1) * traceLength_)) {
        status_ = device_->status();
        return false;
    }
    if (recordCount_ == 1)
        currentTrace_ = int(n);
    return true;
}

bool SegyData::seekIndexed(int record, int trace)
{
    if (index_->traceCount() == 0)
        return positionFailure(QStringLiteral("File with zero traces: "));
    if (trace < 1)
        return positionFailure(QStringLiteral("requested a trace number less than 1 within disk file: "));
    const int entry = index_->entryOf(record, trace);
    if (entry < 0)
        return positionFailure(
            QStringLiteral("requested a trace number greater than the number of traces within disk file: "));
    index_->cursor = entry;
    if (!device_->seek(index_->entries[size_t(entry)].filePosition)) {
        status_ = device_->status();
        return false;
    }
    currentRecord_ = record;
    currentTrace_ = trace;
    return true;
}

bool SegyData::seekSequentialTrace(int trace)
{
    return seekTrace(1, trace);
}

bool SegyData::seekRecord(int record)
{
    if (record < 1)
        return positionFailure(QStringLiteral("requested a record number less than 1 within disk file: "));
    const unsigned mode = device_->mode();
    if (record > recordCount_ && (mode == 0 || mode == 4)) {
        status_ = ObrDevice::OutOfRange;
        return false;
    }
    if (indexed_) {
        if (!seekIndexed(record, 1))
            return false;
    } else {
        // The first trace of the record; record 1 starts with the data.
        const qint64 position = dataStart() + qint64(record - 1) * tracesPerRecord_ * traceLength_;
        if (!device_->seek(position)) {
            status_ = device_->status();
            return false;
        }
    }
    currentRecord_ = record;
    currentTrace_ = 1;
    return true;
}

bool SegyData::ensureTraceBuffer()
{
    if (traceLength_ < 0)
        return false;
    if (traceBuffer_.size() != size_t(traceLength_)) {
        try {
            traceBuffer_.resize(size_t(traceLength_));
        } catch (const std::bad_alloc&) {
            status_ = ObrDevice::AllocationFailed;
            console_->error(
                QStringLiteral("failed to allocate memory for a trace of %1 bytes").arg(traceLength_), true);
            return false;
        }
    }
    return true;
}

void SegyData::decodeSamples(char* sampleBytes, SeismicTrace& trace)
{
    if (!trace.hasSamples())
        return;
    const int count = std::max(0, std::min(fileSamples_, trace.sampleCount()));
    SegySampleCodec::decode(sampleFormat_, sampleBytes, count, swapBytes_, trace.data());
    std::fill(trace.data() + count, trace.data() + trace.sampleCount(), 0.0);
}

void SegyData::fillFromIndex(SeismicTrace& trace) const
{
    const SegyTraceIndex::Entry& entry = index_->entries[size_t(index_->cursor)];
    for (int key : SegyTraceIndex::columnKeys) {
        if (SegyTraceHeader::isIndexedKey(key) || key == TraceKey::TraceId)
            SegyTraceHeader::setKey(trace, key, entry.value(key));
    }
    trace.setValue(TraceKey::SequentialTrace, double(entry.fileTrace));
}

bool SegyData::readTrace(SeismicTrace& trace)
{
    if (!ensureTraceBuffer())
        return false;
    trace.filePosition = device_->pos();
    char* bytes = traceBuffer_.data();
    if (!readAtPosition(bytes, traceLength_))
        return false;
    const SegyTraceHeader::Source header{bytes, std::min(format_->traceHeaderSize, traceLength_), *format_,
                                         swapBytes_};
    SegyTraceHeader::readScalars(header, trace);
    scalars_ = {trace.coordinateScalar, trace.elevationScalar, trace.timeScalar};
    const bool fromIndex = indexed_ && index_->cursor >= 0 && index_->cursor < index_->traceCount();
    if (fromIndex) {
        fillFromIndex(trace);
        SegyTraceHeader::readUnindexedKeys(header, trace);
        ++index_->cursor;
    } else {
        trace.setValue(TraceKey::TraceId, header.fixed(traceIdByte, HeaderDataType::Int16));
        SegyTraceHeader::readKeys(header, SegyTraceHeader::KeySet::Full, trace);
        trace.setValue(TraceKey::SequentialTrace, double(currentTrace_));
    }
    trace.timestamp = SegyTraceHeader::timestamp(header);
    trace.startTime = float(header.slot(SegyFormat::StartTimeSlot));
    decodeSamples(bytes + format_->traceHeaderSize, trace);
    ++currentTrace_;
    return true;
}

bool SegyData::readTraceInto(char* buffer, SeismicTrace& trace)
{
    if (!buffer || !ensureTraceBuffer())
        return false;
    trace.filePosition = device_->pos();
    if (!readAtPosition(buffer, traceLength_))
        return false;
    const SegyTraceHeader::Source header{buffer, std::min(format_->traceHeaderSize, traceLength_), *format_,
                                         swapBytes_};
    SegyTraceHeader::readScalars(header, trace);
    scalars_ = {trace.coordinateScalar, trace.elevationScalar, trace.timeScalar};
    SegyTraceHeader::readKeys(header, SegyTraceHeader::KeySet::Display, trace);
    // The caller's bytes stay as in the file: samples are decoded from a copy.
    const int headerSize = format_->traceHeaderSize;
    std::copy(buffer + headerSize, buffer + traceLength_, traceBuffer_.begin() + headerSize);
    decodeSamples(traceBuffer_.data() + headerSize, trace);
    const int decoded = trace.hasSamples() ? std::max(0, std::min(fileSamples_, trace.sampleCount())) : 0;
    trace.maxSample = decoded > 0 ? float(*std::max_element(trace.data(), trace.data() + decoded)) : 0.0f;
    if (indexed_)
        ++index_->cursor;
    ++currentTrace_;
    return true;
}

bool SegyData::readTraceInRecord(SeismicTrace& trace, int n)
{
    if (!indexed_ && qint64(currentRecord_ - 1) * tracesPerRecord_ + n > traceCount_) {
        status_ = ObrDevice::OutOfRange;
        return false;
    }
    return seekTrace(currentRecord_, n) && readTrace(trace);
}

bool SegyData::readTraceAt(SeismicTrace& trace, int record, int n)
{
    if (!indexed_ && qint64(record - 1) * tracesPerRecord_ + n > traceCount_) {
        status_ = ObrDevice::OutOfRange;
        return false;
    }
    return seekTrace(record, n) && readTrace(trace);
}

bool SegyData::readRecord(TraceGather& gather)
{
    gather.record = currentRecord_;
    const int count = indexed_ ? index_->tracesInRecord(currentRecord_) : tracesPerRecord_;
    if (resizeGather(gather, count) < count)
        return false;
    for (int n = 1; n <= count; ++n) {
        if (!readTraceInRecord(*gather.trace(n - 1), n))
            return false;
    }
    return true;
}

bool SegyData::readTraceRange(TraceGather& gather, int first, int last)
{
    // A range of one trace is a range too.
    if (first < 1 || last < first)
        return false;
    const int count = last - first + 1;
    if (resizeGather(gather, count, std::max(0, gather.count() - count)) < count)
        return false;
    gather.record = currentRecord_;
    for (int i = 0; i < count; ++i) {
        if (!readTraceInRecord(*gather.trace(i), first + i))
            return false;
    }
    return true;
}

bool SegyData::readRecordNumber(TraceGather& gather, int n)
{
    QMutexLocker lock(&recordOrderMutex_);
    int record = n;
    if (!recordOrder_.isEmpty()) {
        if (n < 1 || n > recordOrder_.size()) {
            status_ = ObrDevice::OutOfRange;
            return false;
        }
        record = recordOrder_[n - 1];
    }
    return seekRecord(record) && readRecord(gather);
}

int SegyData::recordCount() const
{
    QMutexLocker lock(&recordOrderMutex_);
    return recordOrder_.isEmpty() ? recordCount_ : recordOrder_.size();
}

void SegyData::setFileList(const QString& directory, const QStringList& files)
{
    fileDirectory_ = directory;
    fileList_ = files;
}

bool SegyData::openNextFile()
{
    if (fileList_.isEmpty())
        return false;
    const QString path = fileDirectory_ + QLatin1Char('/') + fileList_.takeFirst();
    device_->close();
    device_.reset(new DiskDevice(console_, path, 0));
    if (!device_->ok()) {
        status_ = device_->status();
        return false;
    }
    return true;
}

bool SegyData::readNextRecords(TraceGather& gather, int count)
{
    if (count < 2) {
        if (!fileList_.isEmpty())
            fileList_.removeFirst();
    } else {
        const int records = recordCount_;
        if (!openNextFile() || !readTextHeader() || !readBinaryHeader())
            return false;
        recordCount_ = records;
        currentRecord_ = 1;
        recordLength_ = float(fileSamples_) * sampleInterval_;
    }
    if (!readRecord(gather))
        return false;
    gather.record = count;
    currentRecord_ += count;
    return true;
}
