#include "base/ObrConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/HeaderDataType.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyLayout.h"
#include "seismic/SegySampleCodec.h"
#include "seismic/SegyTraceHeader.h"
#include "seismic/SegyTraceIndex.h"
#include "seismic/SeismicLimits.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <QMutexLocker>
#include <algorithm>

namespace {

// Trace identification as written: seismic (1), dead (2) or time break (4), by the lowest of
// those bits that is set; anything else is written as seismic.
int reducedTraceId(int id)
{
    if (id & 1)
        return 1;
    if (id & 2)
        return 2;
    if (id & 4)
        return 4;
    return 1;
}

bool isDead(const SeismicTrace& trace)
{
    return (trace.traceId() & 2) != 0;
}

} // namespace

void SegyData::describeForWriting(int samples, float sampleIntervalMs, int sampleFormat, int tracesPerRecord)
{
    samples_ = std::clamp(samples, 0, SeismicLimits::maxSamplesPerTrace);
    fileSamples_ = samples_;
    sampleInterval_ = sampleIntervalMs;
    sampleFormat_ = SegyLayout::knownSampleFormat(sampleFormat) ? sampleFormat : int(SegyLayout::IeeeFloat);
    bytesPerSample_ = float(SegyLayout::bytesPerSample(sampleFormat_));
    traceHeaderLength_ = format_->traceHeaderSize;
    traceLength_ = int(qint64(samples_) * qint64(bytesPerSample_) + traceHeaderLength_);
    tracesPerRecord_ = std::max(tracesPerRecord, 0);
    tracesInRecord_ = tracesPerRecord_;
    recordLength_ = float(samples_) * sampleInterval_;
}

bool SegyData::writeOneTrace(SeismicTrace& trace)
{
    if (!ensureTraceBuffer())
        return false;
    char* bytes = traceBuffer_.data();
    std::fill_n(bytes, traceLength_, '\0');
    const qint64 headerLength = std::min(traceHeaderLength_, traceLength_);
    const auto put = [&](int startByte, int type, double value) {
        HeaderDataType::writeValue(bytes, headerLength, startByte, type, value, swapBytes_);
    };
    const auto putFixed = [&](SegyLayout::Word word, double value) { put(word.startByte, word.type, value); };

    trace.filePosition = device_->pos();
    trace.setValue(TraceKey::SequentialTrace, double(currentTrace_));
    const int traceId = reducedTraceId(trace.traceId());
    trace.setValue(TraceKey::TraceId, double(traceId));
    putFixed(SegyLayout::sequentialTraceWord, currentTrace_);
    putFixed(SegyLayout::traceSamplesWord, samples_);
    putFixed(SegyLayout::traceIntervalWord,
             double(SampleConversion::truncateToInteger(double(sampleInterval_) * 1000.0)));
    putFixed(SegyLayout::traceIdWord, traceId);
    if (const SegyFormat::HeaderWord* word = format_->headerWord(QStringLiteral("Sequential trace")))
        put(word->startByte, word->type, currentTrace_);
    if (const SegyFormat::HeaderWord* word = format_->headerWord(QStringLiteral("Field File Number")))
        put(word->startByte, word->type, trace.value(TraceKey::FieldFile));
    SegyTraceHeader::writeKeys(bytes, headerLength, *format_, swapBytes_, trace);
    scalars_ = {trace.coordinateScalar, trace.elevationScalar, trace.timeScalar};

    const int count = trace.hasSamples() ? std::min(trace.sampleCount(), fileSamples_) : 0;
    SegySampleCodec::encode(sampleFormat_, trace.data(), count, swapBytes_, bytes + traceHeaderLength_);
    if (!device_->write(bytes, traceLength_)) {
        status_ = device_->status();
        return false;
    }

    // Counts grow only with traces beyond the end: a rewritten trace is no new trace.
    if (traceLength_ > 0)
        traceCount_ = int(std::max<qint64>(traceCount_, (device_->pos() - dataStart()) / traceLength_));
    if (++currentTrace_ > tracesInRecord_) {
        recordCount_ = std::max(recordCount_, currentRecord_);
        ++currentRecord_;
        currentTrace_ = 1;
    }
    return true;
}

bool SegyData::writeRecord(TraceGather& gather)
{
    QMutexLocker lock(&recordOrderMutex_);
    const auto written = [this](const std::unique_ptr<SeismicTrace>& trace) {
        return writeDeadTraces || !isDead(*trace);
    };
    tracesInRecord_ = int(std::count_if(gather.traces.begin(), gather.traces.end(), written));
    for (const auto& trace : gather.traces) {
        if (written(trace) && !writeOneTrace(*trace))
            return false;
    }
    return true;
}

bool SegyData::writeRecordAt(TraceGather& gather, int record)
{
    if (gather.count() == 0)
        return true;
    tracesPerRecord_ = std::max(tracesPerRecord_, gather.count());
    if (record <= recordCount_) {
        if (!seekRecord(record))
            return false;
    } else {
        if (!device_->seek(device_->size())) {
            status_ = device_->status();
            return false;
        }
        if (index_)
            index_->cursor = index_->traceCount();
        currentRecord_ = record;
        currentTrace_ = 1;
    }
    return writeRecord(gather);
}

bool SegyData::writeTraceAt(SeismicTrace& trace, int n)
{
    qint64 position = 0;
    if (indexed_) {
        const int entry = index_->entryOf(currentRecord_, n);
        if (entry < 0)
            return positionFailure(QStringLiteral(
                "requested a trace number greater than the number of traces within disk file: "));
        index_->cursor = entry;
        position = index_->entries[size_t(entry)].filePosition;
    } else {
        if (n < 1)
            return positionFailure(QStringLiteral("requested a trace number less than 1 within disk file: "));
        position = dataStart() + (qint64(currentRecord_ - 1) * tracesPerRecord_ + n - 1) * traceLength_;
    }
    if (!device_->seek(position)) {
        status_ = device_->status();
        return false;
    }
    currentTrace_ = n;
    return writeOneTrace(trace);
}
