#include "base/ObrConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyLayout.h"
#include "seismic/SegySampleCodec.h"
#include "seismic/SegyTraceHeader.h"
#include "seismic/SegyTraceIndex.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <QLocale>
#include <QMutexLocker>
#include <algorithm>

// Reading traces and records at the current position.

bool SegyData::ensureTraceBuffer()
{
    if (traceLength_ < 0)
        return false;
    const qint64 held = heldBytes();
    if (held >= 0 && traceLength_ > held) {
        status_ = ObrDevice::OutOfRange;
        const QLocale english(QLocale::English);
        console_->error(QStringLiteral("%1: the headers announce traces of %2 bytes; the file holds %3 bytes")
                            .arg(device_->path(), english.toString(traceLength_), english.toString(held)),
                        true);
        return false;
    }
    if (traceBuffer_.reserve(size_t(traceLength_)))
        return true;
    status_ = ObrDevice::AllocationFailed;
    console_->error(QStringLiteral("failed to allocate memory for a trace of %1 bytes").arg(traceLength_),
                    true);
    return false;
}

void SegyData::decodeSamples(const char* sampleBytes, SeismicTrace& trace)
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
    const SegyTraceHeader::Source header{bytes, std::min(traceHeaderLength_, traceLength_), *format_,
                                         swapBytes_};
    SegyTraceHeader::readScalars(header, trace);
    scalars_ = {trace.coordinateScalar, trace.elevationScalar, trace.timeScalar};
    const bool fromIndex = indexed_ && index_->cursor >= 0 && index_->cursor < index_->traceCount();
    if (fromIndex) {
        fillFromIndex(trace);
        SegyTraceHeader::readUnindexedKeys(header, trace);
        ++index_->cursor;
    } else {
        trace.setValue(TraceKey::TraceId, header.fixed(SegyLayout::traceIdWord));
        SegyTraceHeader::readKeys(header, SegyTraceHeader::KeySet::Full, trace);
        trace.setValue(TraceKey::SequentialTrace, double(currentTrace_));
    }
    trace.timestamp = SegyTraceHeader::timestamp(header);
    trace.startTime = float(header.slot(SegyFormat::StartTimeSlot));
    decodeSamples(bytes + traceHeaderLength_, trace);
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
    const SegyTraceHeader::Source header{buffer, std::min(traceHeaderLength_, traceLength_), *format_,
                                         swapBytes_};
    SegyTraceHeader::readScalars(header, trace);
    scalars_ = {trace.coordinateScalar, trace.elevationScalar, trace.timeScalar};
    SegyTraceHeader::readKeys(header, SegyTraceHeader::KeySet::Display, trace);
    // Decoding leaves the caller's bytes as in the file.
    decodeSamples(buffer + traceHeaderLength_, trace);
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
