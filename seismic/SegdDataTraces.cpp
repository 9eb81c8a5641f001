#include "base/ObrConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/SegdData.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <algorithm>
#include <new>

namespace {

constexpr int sercelManufacturer = 13;

} // namespace

void SegdData::rewindTraces()
{
    tracePosition_ = headers_.general.headerLength();
    traceInFile_ = 0;
    seismicChannel_ = 0;
    setIndex_ = 0;
    channelInSet_ = 0;
    currentTrace_ = 1;
    moveToChannelSetWithTraces();
}

void SegdData::moveToChannelSetWithTraces()
{
    const int sets = int(headers_.channelSets.size());
    while (setIndex_ < sets && channelInSet_ >= headers_.channelSets[size_t(setIndex_)].channels) {
        ++setIndex_;
        channelInSet_ = 0;
    }
}

bool SegdData::readRecord(TraceGather& gather)
{
    if (!ok_ || (directoryMode_ && recordRead_ && !openNextFile()))
        return false;
    recordRead_ = true;
    rewindTraces();
    traceHeaderRecords_.clear();
    if (resizeGather(gather, tracesPerRecord_) < tracesPerRecord_)
        return false;
    int held = 0;
    while (traceInFile_ < traceCount_ && setIndex_ < int(headers_.channelSets.size())) {
        if (seismicOnly_ && !headers_.channelSets[size_t(setIndex_)].seismic()) {
            if (!readNextTrace(nullptr))
                return false;
            continue;
        }
        SeismicTrace* trace = gather.trace(held++);
        if (!trace || !readTrace(*trace))
            return false;
    }
    gather.record = currentRecord_;
    return true;
}

bool SegdData::seekSequentialTrace(int n)
{
    if (!ok_ || n < 1 || n > traceCount_) {
        status_ = ObrDevice::OutOfRange;
        return false;
    }
    rewindTraces();
    traceHeaderRecords_.clear();
    while (traceInFile_ < n - 1) {
        if (!readNextTrace(nullptr))
            return false;
    }
    return true;
}

bool SegdData::readTraceRange(TraceGather& gather, int first, int last)
{
    if (!ok_ || first < 1 || last < first || last > tracesPerRecord_) {
        status_ = ObrDevice::OutOfRange;
        return false;
    }
    const int count = last - first + 1;
    if (resizeGather(gather, count, std::max(0, gather.count() - count)) < count)
        return false;
    rewindTraces();
    traceHeaderRecords_.clear();
    gather.record = currentRecord_;
    int delivered = 0;
    int held = 0;
    const int sets = int(headers_.channelSets.size());
    while (held < count && setIndex_ < sets) {
        const bool delivers = !seismicOnly_ || headers_.channelSets[size_t(setIndex_)].seismic();
        delivered += delivers ? 1 : 0;
        if (!delivers || delivered < first) {
            if (!readNextTrace(nullptr))
                return false;
            continue;
        }
        if (!readTrace(*gather.trace(held++)))
            return false;
    }
    return held == count;
}

bool SegdData::readTrace(SeismicTrace& trace)
{
    return readNextTrace(&trace);
}

bool SegdData::readNextTrace(SeismicTrace* trace)
{
    const SegdGeneralHeader& general = headers_.general;
    if (!ok_ || traceInFile_ >= traceCount_ || setIndex_ >= int(headers_.channelSets.size())) {
        status_ = ObrDevice::OutOfRange;
        return fail(QStringLiteral("no more traces in Field File %1.").arg(general.fieldFile));
    }
    if (headers_.decoder == SegdSampleDecoder::None)
        return fail(QStringLiteral("samples of SEGD format code %1 in Field File %2 cannot be decoded.")
                        .arg(general.formatCode)
                        .arg(general.fieldFile));
    const qint64 fileSize = fileSize_;
    if (!readTraceHeader(fileSize))
        return false;
    const SegdChannelSet& set = headers_.channelSets[size_t(setIndex_)];
    const SegdBytes header = lastTraceHeader();
    const int samples = samplesOfTrace(header, set);
    const qint64 sampleBytes = SegdSampleDecoder::byteCount(headers_.decoder, samples);
    const qint64 samplesAt = tracePosition_ + lastTraceHeaderBytes_;
    if (samplesAt + sampleBytes > fileSize) {
        status_ = ObrDevice::OutOfRange;
        return fail(QStringLiteral("trace %1 of Field File %2 is cut short by the end of disk file %3.")
                        .arg(traceInFile_ + 1)
                        .arg(general.fieldFile)
                        .arg(device_->path()));
    }
    lastSetIndex_ = setIndex_;
    lastDecodedSamples_ = 0;
    if (trace) {
        if (trace->hasSamples() && !readSamples(*trace, samples, samplesAt, sampleBytes))
            return false;
        fillKeys(*trace, header, set);
        traceHeaderRecords_.emplace_back(header);
    }
    tracePosition_ = samplesAt + sampleBytes;
    ++traceInFile_;
    seismicChannel_ += set.seismic() ? 1 : 0;
    ++channelInSet_;
    currentTrace_ = traceInFile_ + 1;
    moveToChannelSetWithTraces();
    return true;
}

bool SegdData::readTraceHeader(qint64 fileSize)
{
    const int headerBytes = SegdTraceHeaderRecord::headerBytes;
    if (tracePosition_ + headerBytes > fileSize) {
        status_ = ObrDevice::OutOfRange;
        return fail(QStringLiteral("trace %1 of Field File %2 is cut short by the end of disk file %3.")
                        .arg(traceInFile_ + 1)
                        .arg(headers_.general.fieldFile)
                        .arg(device_->path()));
    }
    if (!ensureSize(traceHeader_, headerBytes, "memory allocation failed for trace header for file: ") ||
        !readAt(tracePosition_, traceHeader_.data(), headerBytes))
        return false;
    // Revision 0 trace headers have no extensions.
    const int extensions =
        headers_.general.majorRevision >= 1
            ? SegdTraceHeaderRecord::extensions(SegdBytes(traceHeader_.data(), headerBytes))
            : 0;
    const qint64 length = headerBytes + qint64(extensions) * SegdTraceHeaderRecord::extensionBytes;
    if (tracePosition_ + length > fileSize) {
        status_ = ObrDevice::OutOfRange;
        return fail(
            QStringLiteral("trace %1 of Field File %2 claims %3 trace header extensions, more than disk "
                           "file %4 holds.")
                .arg(traceInFile_ + 1)
                .arg(headers_.general.fieldFile)
                .arg(extensions)
                .arg(device_->path()));
    }
    if (!ensureSize(traceHeader_, size_t(length), "memory allocation failed for trace header for file: ") ||
        !readAt(tracePosition_ + headerBytes, traceHeader_.data() + headerBytes, length - headerBytes))
        return false;
    lastTraceHeaderBytes_ = length;
    return true;
}

bool SegdData::statesSampleCounts() const
{
    // Revision 2 puts each trace's sample count in its first extension; Sercel recorders did so
    // in revision 1. Revision 3 descriptors state the count themselves.
    const SegdGeneralHeader& general = headers_.general;
    return general.majorRevision == 2 ||
           (general.majorRevision == 1 && general.manufacturer == sercelManufacturer);
}

int SegdData::samplesOfTrace(const SegdBytes& header, const SegdChannelSet& set) const
{
    const bool extended =
        header.size() >= SegdTraceHeaderRecord::headerBytes + SegdTraceHeaderRecord::extensionBytes &&
        SegdTraceHeaderRecord::extensions(header) > 0;
    if (statesSampleCounts() && extended && SegdTraceHeaderRecord::samples(header) > 0)
        return SegdTraceHeaderRecord::samples(header);
    return set.samples;
}

bool SegdData::readSamples(SeismicTrace& trace, int samples, qint64 position, qint64 bytes)
{
    const int decoded = std::min(samples, trace.sampleCount());
    if (SegdSampleDecoder::needsScratch(headers_.decoder) &&
        !ensureSize(scratch_, size_t(decoded), "memory allocation failed for scratch buffer for file: "))
        return false;
    // Decoded where they lie in the read window, or else from a copy.
    const uchar* raw = windowBytes(position, bytes);
    if (!raw) {
        if (!ensureSize(traceBytes_, size_t(bytes), "memory allocation failed for trace buffer for file: ") ||
            !readAt(position, traceBytes_.data(), bytes))
            return false;
        raw = traceBytes_.data();
    }
    SegdSampleDecoder::decode(headers_.decoder, raw, decoded, trace.data(), scratch_.data());
    std::fill(trace.data() + decoded, trace.data() + trace.sampleCount(), 0.0);
    lastDecodedSamples_ = decoded;
    return true;
}

void SegdData::fillKeys(SeismicTrace& trace, const SegdBytes& header, const SegdChannelSet& set) const
{
    const bool extended =
        header.size() >= SegdTraceHeaderRecord::headerBytes + SegdTraceHeaderRecord::extensionBytes;
    trace.filePosition = tracePosition_;
    trace.startTime = set.startTime;
    trace.setValue(TraceKey::FieldFile, SegdTraceHeaderRecord::fieldFile(header));
    trace.setValue(TraceKey::Channel, SegdTraceHeaderRecord::traceNumber(header));
    trace.setValue(TraceKey::ReceiverLine, extended ? SegdTraceHeaderRecord::receiverLine(header) : 0);
    trace.setValue(TraceKey::ReceiverLocation, extended ? SegdTraceHeaderRecord::receiverPoint(header) : 0);
    trace.setValue(TraceKey::SequentialTrace, traceInFile_ + 1);
    trace.setValue(TraceKey::TraceId, set.seismic() ? 1 : 4);
    trace.setValue(TraceKey::SourceLine, headers_.sourceLine);
    trace.setValue(TraceKey::SourceLocation, headers_.sourceLocation);
    trace.setValue(TraceKey::SourceX, headers_.sourceX);
    trace.setValue(TraceKey::SourceY, headers_.sourceY);
    trace.setValue(TraceKey::SourceElevation, headers_.sourceElevation);
}

template <typename T> bool SegdData::ensureSize(std::vector<T>& buffer, size_t size, const char* what)
{
    if (buffer.size() >= size)
        return true;
    try {
        buffer.resize(size);
    } catch (const std::bad_alloc&) {
        return fail(QLatin1String(what) + device_->name());
    }
    return true;
}
