#include "base/ObrConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/SegdData.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <algorithm>

// The traces of the current file, where its field map places them.

void SegdData::rewindTraces()
{
    moveTo(0);
}

void SegdData::moveTo(int trace)
{
    const auto& runs = fieldMap().runs();
    traceInFile_ = trace;
    runIndex_ = 0;
    seismicChannel_ = 0;
    while (runIndex_ < int(runs.size()) &&
           trace >= runs[size_t(runIndex_)].firstTrace + runs[size_t(runIndex_)].channels) {
        const SegdFieldMap::Run& run = runs[size_t(runIndex_)];
        seismicChannel_ += channelSets()[size_t(run.set)].seismic() ? run.channels : 0;
        ++runIndex_;
    }
    if (runIndex_ < int(runs.size())) {
        const SegdFieldMap::Run& run = runs[size_t(runIndex_)];
        seismicChannel_ += channelSets()[size_t(run.set)].seismic() ? trace - run.firstTrace : 0;
    }
    currentTrace_ = trace + 1;
}

bool SegdData::delivers(const SegdFieldMap::Run& run) const
{
    return !seismicOnly_ || channelSets()[size_t(run.set)].seismic();
}

bool SegdData::failCutShort()
{
    status_ = ObrDevice::OutOfRange;
    return fail(QStringLiteral("trace %1 of Field File %2 is cut short by the end of disk file %3.")
                    .arg(traceCount_ + 1)
                    .arg(generalHeader().fieldFile)
                    .arg(device_->path()));
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
    const auto& runs = fieldMap().runs();
    int held = 0;
    while (traceInFile_ < traceCount_) {
        if (!delivers(runs[size_t(runIndex_)])) {
            moveTo(
                std::min(runs[size_t(runIndex_)].firstTrace + runs[size_t(runIndex_)].channels, traceCount_));
            continue;
        }
        SeismicTrace* trace = gather.trace(held++);
        if (!trace || !readTrace(*trace))
            return false;
    }
    gather.record = currentRecord_;
    return !fieldMap().cutShort() || failCutShort();
}

bool SegdData::seekSequentialTrace(int n)
{
    if (!ok_ || n < 1 || n > traceCount_) {
        status_ = ObrDevice::OutOfRange;
        return false;
    }
    moveTo(n - 1);
    traceHeaderRecords_.clear();
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
    traceHeaderRecords_.clear();
    gather.record = currentRecord_;
    // The file's number of the first-th trace delivered.
    int delivered = 0;
    for (const SegdFieldMap::Run& run : fieldMap().runs()) {
        if (!delivers(run))
            continue;
        if (delivered + run.channels >= first) {
            moveTo(run.firstTrace + first - 1 - delivered);
            break;
        }
        delivered += run.channels;
    }
    const auto& runs = fieldMap().runs();
    int held = 0;
    while (held < count && traceInFile_ < traceCount_) {
        if (!delivers(runs[size_t(runIndex_)])) {
            moveTo(runs[size_t(runIndex_)].firstTrace + runs[size_t(runIndex_)].channels);
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
    const SegdGeneralHeader& general = generalHeader();
    if (!ok_ || traceInFile_ >= traceCount_) {
        if (ok_ && fieldMap().cutShort() && traceInFile_ == traceCount_)
            return failCutShort();
        status_ = ObrDevice::OutOfRange;
        return fail(QStringLiteral("no more traces in Field File %1.").arg(general.fieldFile));
    }
    const SegdFieldMap::Run& run = fieldMap().runs()[size_t(runIndex_)];
    const SegdFieldMap::Shape& shape = run.shape;
    const qint64 position = run.offset + qint64(traceInFile_ - run.firstTrace) * shape.recordBytes();
    if (!readTraceHeader(position, shape))
        return false;
    const SegdChannelSet& set = channelSets()[size_t(run.set)];
    lastSetIndex_ = run.set;
    lastDecodedSamples_ = 0;
    if (trace) {
        const SegdBytes header = lastTraceHeader();
        if (trace->hasSamples() &&
            !readSamples(*trace, shape.samples, position + shape.headerBytes, shape.sampleBytes))
            return false;
        ++traceInFile_;
        seismicChannel_ += set.seismic() ? 1 : 0;
        fillKeys(*trace, header, set);
        trace->filePosition = position;
        traceHeaderRecords_.emplace_back(header);
    } else {
        ++traceInFile_;
        seismicChannel_ += set.seismic() ? 1 : 0;
    }
    if (traceInFile_ >= run.firstTrace + run.channels)
        ++runIndex_;
    currentTrace_ = traceInFile_ + 1;
    return true;
}

bool SegdData::readTraceHeader(qint64 position, const SegdFieldMap::Shape& shape)
{
    const qint64 length = shape.headerBytes;
    if (!ensureSize(traceHeader_, size_t(length), "memory allocation failed for trace header for file: ") ||
        !readAt(position, traceHeader_.data(), length))
        return false;
    lastTraceHeaderBytes_ = length;
    // Every trace of a channel set has the extensions of its first.
    const int extensions = fieldMap().statedExtensions(lastTraceHeader());
    if (extensions != shape.extensions) {
        status_ = ObrDevice::ReadFailed;
        return fail(QStringLiteral("trace %1 of Field File %2 states %3 trace header extensions where the "
                                   "traces of its channel set have %4 (disk file %5).")
                        .arg(traceInFile_ + 1)
                        .arg(generalHeader().fieldFile)
                        .arg(extensions)
                        .arg(shape.extensions)
                        .arg(device_->path()));
    }
    return true;
}

bool SegdData::readSamples(SeismicTrace& trace, int samples, qint64 position, qint64 bytes)
{
    const int decoded = std::min(samples, trace.sampleCount());
    // Decoded where they lie in the read window, or else from a copy.
    const uchar* raw = windowBytes(position, bytes);
    if (!raw) {
        if (!ensureSize(traceBytes_, size_t(bytes), "memory allocation failed for trace buffer for file: ") ||
            !readAt(position, traceBytes_.data(), bytes))
            return false;
        raw = traceBytes_.data();
    }
    SegdSampleDecoder::decode(decoder(), raw, decoded, trace.data());
    std::fill(trace.data() + decoded, trace.data() + trace.sampleCount(), 0.0);
    lastDecodedSamples_ = decoded;
    return true;
}

void SegdData::fillKeys(SeismicTrace& trace, const SegdBytes& header, const SegdChannelSet& set) const
{
    const bool extended =
        header.size() >= SegdTraceHeaderRecord::headerBytes + SegdTraceHeaderRecord::extensionBytes;
    trace.startTime = set.startTime;
    trace.setValue(TraceKey::FieldFile, SegdTraceHeaderRecord::fieldFile(header));
    trace.setValue(TraceKey::Channel, SegdTraceHeaderRecord::traceNumber(header));
    trace.setValue(TraceKey::ReceiverLine, extended ? SegdTraceHeaderRecord::receiverLine(header) : 0);
    trace.setValue(TraceKey::ReceiverLocation, extended ? SegdTraceHeaderRecord::receiverPoint(header) : 0);
    trace.setValue(TraceKey::SequentialTrace, traceInFile_);
    trace.setValue(TraceKey::TraceId, set.seismic() ? 1 : 4);
    trace.setValue(TraceKey::SourceLine, headers_.sourceLine);
    trace.setValue(TraceKey::SourceLocation, headers_.sourceLocation);
    trace.setValue(TraceKey::SourceX, headers_.sourceX);
    trace.setValue(TraceKey::SourceY, headers_.sourceY);
    trace.setValue(TraceKey::SourceElevation, headers_.sourceElevation);
}

template <typename T> bool SegdData::ensureSize(ReadBuffer<T>& buffer, size_t size, const char* what)
{
    return buffer.reserve(size) || fail(QLatin1String(what) + device_->name());
}
