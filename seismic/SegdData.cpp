#include "seismic/SegdData.h"

#include "base/ObrConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/SeismicLimits.h"

#include <algorithm>
#include <cstring>
#include <new>

SegdData::SegdData(ObrDevice* device, bool seismicOnly, bool auxFirst, bool directoryMode)
    : SeismicData(device), seismicOnly_(seismicOnly), auxFirst_(auxFirst), directoryMode_(directoryMode)
{
    // SEG-D is big-endian, and its samples are delivered as IEEE floats whatever the file holds.
    swapBytes_ = true;
    sampleFormat_ = 5;
    bytesPerSample_ = 4;
}

SegdData::~SegdData() = default;

bool SegdData::fail(const QString& text)
{
    if (console_)
        console_->error(text, true);
    return false;
}

SegdBytes SegdData::extendedHeader() const
{
    const SegdGeneralHeader& general = headers_.general;
    return headerBytes().part(general.extendedOffset() + 1, qint64(general.extendedBlocks) * 32);
}

QByteArray SegdData::externalHeader() const
{
    const SegdGeneralHeader& general = headers_.general;
    const SegdBytes external =
        headerBytes().part(general.externalOffset() + 1, qint64(general.externalBlocks) * 32);
    return QByteArray(reinterpret_cast<const char*>(external.data()), int(external.size()));
}

bool SegdData::reloadHeaders()
{
    // The device may be another file's. Its size is asked once: every trace checks against it.
    window_.clear();
    fileSize_ = device_->size();
    headers_ = Headers();
    traceHeaderRecords_.clear();
    sampleFormat_ = 5;
    bytesPerSample_ = 4;
    if (!readHeaders())
        return false;
    if (sampleInterval_ <= 0)
        return fail(QStringLiteral("invalid sample interval"));
    if (recordLength_ < 0)
        return fail(QStringLiteral("invalid record length"));
    rewindTraces();
    return true;
}

bool SegdData::readHeaders()
{
    SegdGeneralHeader general;
    if (!readLeadingBlocks(general))
        return false;
    headers_.general = general;
    if (!readWholeHeader(general) || !readChannelSets())
        return false;
    adoptStatedSampleCounts();
    return describeTraces();
}

const uchar* SegdData::windowBytes(qint64 position, qint64 length)
{
    if (length > SegdReadWindow::size)
        return nullptr;
    if (const uchar* held = window_.find(position, length))
        return held;
    return window_.fill(*device_, position, fileSize_) ? window_.find(position, length) : nullptr;
}

bool SegdData::readAt(qint64 position, uchar* buffer, qint64 length)
{
    if (length <= 0)
        return true;
    if (const uchar* held = windowBytes(position, length)) {
        std::memcpy(buffer, held, size_t(length));
        return true;
    }
    // Read directly, which also says why bytes cannot be had.
    if (device_->pos() != position && !device_->seek(position)) {
        status_ = device_->status();
        return false;
    }
    if (device_->read(reinterpret_cast<char*>(buffer), int(length)) && device_->pos() == position + length)
        return true;
    if (device_->status() != ObrDevice::Success) {
        status_ = device_->status();
        return false;
    }
    status_ = ObrDevice::ReadFailed;
    return fail(QStringLiteral("read fewer than %1 bytes at byte position %2 within disk file: %3")
                    .arg(length)
                    .arg(position)
                    .arg(device_->path()));
}

bool SegdData::readLeadingBlocks(SegdGeneralHeader& general)
{
    const qint64 fileSize = fileSize_;
    if (fileSize < SegdGeneralHeader::blockBytes) {
        status_ = ObrDevice::OutOfRange;
        return fail(QStringLiteral("file %1 holds %2 bytes, too few for a SEG-D general header.")
                        .arg(device_->path())
                        .arg(fileSize));
    }
    uchar leading[SegdGeneralHeader::leadingBytes] = {};
    const qint64 length = std::min<qint64>(fileSize, sizeof leading);
    if (!readAt(0, leading, length))
        return false;
    general = SegdGeneralHeader::parse(SegdBytes(leading, length));
    if (general.channelSets < 0)
        return fail(QStringLiteral("invalid channel set count"));
    return true;
}

bool SegdData::readWholeHeader(const SegdGeneralHeader& general)
{
    const qint64 fileSize = fileSize_;
    const qint64 length = general.headerLength();
    if (length > fileSize || length > SeismicLimits::maxHeaderBytes) {
        status_ = ObrDevice::OutOfRange;
        return fail(
            QStringLiteral("header of Field File %1 takes %2 bytes, more than disk file %3 holds (%4 bytes).")
                .arg(general.fieldFile)
                .arg(length)
                .arg(device_->path())
                .arg(fileSize));
    }
    try {
        headers_.bytes.assign(size_t(length), 0);
    } catch (const std::bad_alloc&) {
        return fail(QStringLiteral("failed to allocate memory for file header in Field File %1.")
                        .arg(general.fieldFile));
    }
    // The whole header in one transfer.
    return readAt(0, headers_.bytes.data(), length);
}

bool SegdData::readChannelSets()
{
    const SegdGeneralHeader& general = headers_.general;
    try {
        headers_.channelSets.reserve(size_t(general.descriptorCount()));
    } catch (const std::bad_alloc&) {
        return fail(QStringLiteral("failed to allocate memory for %1 scan headers in Field File %2.")
                        .arg(general.descriptorCount())
                        .arg(general.fieldFile));
    }
    const SegdBytes header = headerBytes();
    for (int scanType = 0; scanType < general.scanTypes; ++scanType) {
        for (int set = 0; set < general.channelSets; ++set) {
            const SegdBytes descriptor =
                header.part(general.descriptorOffset(scanType, set) + 1, general.descriptorBytes());
            headers_.channelSets.push_back(
                general.majorRevision >= 3
                    ? SegdChannelSet::fromRevision3(descriptor)
                    : SegdChannelSet::fromBlock(descriptor, general.majorRevision, general.sampleInterval));
        }
    }
    return true;
}

void SegdData::adoptStatedSampleCounts()
{
    // The descriptors' times give the samples only to 2 ms; where the traces state their own
    // count, the first trace of each channel set speaks for the set.
    if (!statesSampleCounts())
        return;
    const qint64 fileSize = fileSize_;
    const SegdSampleDecoder::Decoder decoder = SegdSampleDecoder::forFormatCode(headers_.general.formatCode);
    const int peekBytes = SegdTraceHeaderRecord::headerBytes + SegdTraceHeaderRecord::extensionBytes;
    qint64 position = headers_.general.headerLength();
    for (SegdChannelSet& set : headers_.channelSets) {
        if (set.channels == 0)
            continue;
        uchar peek[peekBytes] = {};
        if (position + peekBytes > fileSize || !readAt(position, peek, peekBytes))
            return;
        const SegdBytes header(peek, peekBytes);
        set.samples = samplesOfTrace(header, set);
        const qint64 traceBytes =
            SegdTraceHeaderRecord::headerBytes +
            qint64(SegdTraceHeaderRecord::extensions(header)) * SegdTraceHeaderRecord::extensionBytes +
            SegdSampleDecoder::byteCount(decoder, set.samples);
        position += set.channels * traceBytes;
    }
}

bool SegdData::describeTraces()
{
    const SegdGeneralHeader& general = headers_.general;
    const qint64 traceBytes = fileSize_ - general.headerLength();
    headers_.decoder = SegdSampleDecoder::forFormatCode(general.formatCode);
    qint64 seismic = 0;
    qint64 aux = 0;
    for (const SegdChannelSet& set : headers_.channelSets) {
        if (set.channels == 0)
            continue;
        // Every trace holds its samples, so a count the file cannot hold is damage.
        if (set.samples < 0 || set.samples > SeismicLimits::maxSamplesPerTrace ||
            SegdSampleDecoder::byteCount(headers_.decoder, set.samples) > traceBytes)
            return fail(QStringLiteral("invalid number of samples"));
        (set.seismic() ? seismic : aux) += set.channels;
    }
    if (seismic + aux > traceBytes / SegdTraceHeaderRecord::headerBytes) {
        status_ = ObrDevice::OutOfRange;
        return fail(
            QStringLiteral("channel sets of Field File %1 declare %2 traces, more than disk file %3 holds.")
                .arg(general.fieldFile)
                .arg(seismic + aux)
                .arg(device_->path()));
    }
    headers_.seismicTraces = int(seismic);
    headers_.auxTraces = int(aux);
    traceCount_ = int(seismic + aux);
    tracesPerRecord_ = seismicOnly_ ? int(seismic) : traceCount_;

    const auto withTraces = [](const SegdChannelSet& set) { return set.channels > 0; };
    const auto firstSet = std::find_if(headers_.channelSets.begin(), headers_.channelSets.end(), withTraces);
    sampleInterval_ = general.sampleInterval;
    if (sampleInterval_ <= 0 && firstSet != headers_.channelSets.end())
        sampleInterval_ = firstSet->sampleInterval;
    recordLength_ = general.recordLength;
    for (const SegdChannelSet& set : headers_.channelSets) {
        if (general.recordLength == 0 && withTraces(set))
            recordLength_ = std::max(recordLength_, set.endTime);
    }
    // The seismic channel sets decide the length of the traces; auxiliary ones only when the
    // file has no seismic channels.
    for (const bool seismicSets : {true, false}) {
        for (const SegdChannelSet& set : headers_.channelSets) {
            if (withTraces(set) && set.seismic() == seismicSets && (seismicSets || samples_ == 0))
                reconcileSampleCount(set.samples, device_->name());
        }
    }

    if (traceCount_ == 0)
        return fail(QStringLiteral("no traces to input for Field File %1.").arg(general.fieldFile));
    if (tracesPerRecord_ == 0)
        return fail(QStringLiteral("no traces to output for Field File %1.").arg(general.fieldFile));
    reportFilteredTraces();
    return true;
}

void SegdData::reportFilteredTraces()
{
    if (!seismicOnly_ || headers_.auxTraces == 0 || !console_)
        return;
    console_->information(QStringLiteral("Aux traces are not being output - number of aux traces is %1.")
                              .arg(headers_.auxTraces),
                          false);
    console_->information(
        QStringLiteral("            - number of seismic traces is %1.").arg(headers_.seismicTraces), false);
}
