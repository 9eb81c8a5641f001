#include "seismic/SeismicData.h"

#include "base/ObrConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/SampleConversion.h"
#include "seismic/SeismicLimits.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <QColor>
#include <QLocale>
#include <algorithm>
#include <cstring>
#include <new>

SeismicData::SeismicData(ObrDevice* device) : device_(device), console_(device ? device->console() : nullptr)
{}

SeismicData::~SeismicData() = default;

bool SeismicData::applyRangeLimits(const QVector<RangeLimit>&)
{
    return true;
}

int SeismicData::recordCount() const
{
    return recordCount_;
}

void SeismicData::computeMidpoints() {}

void SeismicData::updateIndexGeometry() {}

void SeismicData::updateSortKeys() {}

bool SeismicData::saveIndexBackup()
{
    return true;
}

void SeismicData::loadIndexBackup() {}

void SeismicData::applySortOrder(SortOrder*) {}

void SeismicData::prepareSortOrder(int) {}

void SeismicData::createSortOrder(const QVector<int>&) {}

bool SeismicData::seekTrace(int, int)
{
    return true;
}

bool SeismicData::seekSequentialTrace(int)
{
    return true;
}

bool SeismicData::seekRecord(int)
{
    return true;
}

bool SeismicData::readRecordNumber(TraceGather&, int)
{
    return true;
}

bool SeismicData::readTraceInRecord(SeismicTrace&, int)
{
    return true;
}

bool SeismicData::readTraceAt(SeismicTrace&, int, int)
{
    return true;
}

bool SeismicData::readTraceRange(TraceGather&, int, int)
{
    return true;
}

bool SeismicData::readRecord(TraceGather&)
{
    return true;
}

bool SeismicData::readTrace(SeismicTrace&)
{
    return true;
}

bool SeismicData::writeRecord(TraceGather&)
{
    return true;
}

bool SeismicData::writeRecordAt(TraceGather&, int)
{
    return true;
}

bool SeismicData::writeTraceAt(SeismicTrace&, int)
{
    return true;
}

double SeismicData::value(const SeismicTrace& trace, int key)
{
    return trace.value(key);
}

void SeismicData::setValue(SeismicTrace& trace, int key, qint32 value)
{
    trace.setValue(key, double(value));
}

void SeismicData::setValue(SeismicTrace& trace, int key, float value)
{
    trace.setValue(key, double(value));
}

void SeismicData::setValue(SeismicTrace& trace, int key, double value)
{
    trace.setValue(key, value);
}

bool SeismicData::descriptionValid() const
{
    return traceCount_ >= 0 && recordCount_ >= 0 && samples_ >= 0 && tracesPerRecord_ >= 0 &&
           bytesPerSample_ >= 0 && sampleFormat_ >= 0 && sampleInterval_ >= 0;
}

std::unique_ptr<TraceGather> SeismicData::makeGather(bool headersOnly)
{
    std::unique_ptr<TraceGather> gather(new (std::nothrow) TraceGather(this));
    if (!gather) {
        reportAllocationFailure(1, 0);
        return nullptr;
    }
    gather->headersOnly = headersOnly;
    gather->record = 1;
    gather->recordLength = recordLength_;
    if (descriptionValid() && device_ && !device_->name().isEmpty())
        gather->name = device_->name().section(QLatin1Char('.'), 0, 0);
    const int wanted = std::max(tracesPerRecord_, 0);
    gather->requested = wanted;
    if (appendTraces(*gather, wanted) < wanted)
        return nullptr;
    return gather;
}

int SeismicData::resizeGather(TraceGather& gather, int count)
{
    return resizeGather(gather, count, 0);
}

int SeismicData::resizeGather(TraceGather& gather, int count, int dropFront)
{
    count = std::max(count, 0);
    gather.requested = count;
    auto& traces = gather.traces;
    if (count < gather.count() && dropFront > 0)
        traces.erase(traces.begin(), traces.begin() + std::min(dropFront, gather.count()));
    if (count < gather.count())
        traces.erase(traces.begin() + count, traces.end());
    else
        appendTraces(gather, count - gather.count());
    return gather.count();
}

std::unique_ptr<SeismicTrace> SeismicData::makeTrace()
{
    if (!heldBytesAllow(1, samples_))
        return nullptr;
    std::unique_ptr<SeismicTrace> trace = SeismicTrace::create(samples_, sampleInterval_);
    if (!trace)
        reportAllocationFailure(1, samples_);
    return trace;
}

qint64 SeismicData::heldBytes() const
{
    return -1;
}

bool SeismicData::heldBytesAllow(qint64 traces, int sampleCount)
{
    const qint64 held = heldBytes();
    if (held < 0 || sampleCount <= 0 || traces <= 0)
        return true;
    // Every format takes a byte per sample at least; traces shorter than the data set's are
    // padded in memory (SEG-D channel sets of other lengths), for which the margin is left, and
    // a small file may always fill a few MiB.
    constexpr qint64 samplesPerHeldByte = 16;
    constexpr qint64 samplesAlways = qint64(1) << 20;
    if (traces * sampleCount <= std::max(held * samplesPerHeldByte, samplesAlways))
        return true;
    status_ = ObrDevice::OutOfRange;
    if (console_) {
        const QLocale english(QLocale::English);
        const QString announced = traces == 1 ? QStringLiteral("a trace")
                                              : QStringLiteral("%1 traces").arg(english.toString(traces));
        console_->error(QStringLiteral("%1: the headers announce %2 of %3 samples; the file holds %4 bytes")
                            .arg(device_ ? device_->path() : QString(), announced,
                                 english.toString(sampleCount), english.toString(held)),
                        true);
    }
    return false;
}

int SeismicData::appendTraces(TraceGather& gather, int count)
{
    // A headers-only trace holds the negated count and no samples.
    const int sampleCount = gather.headersOnly && samples_ > 0 ? -samples_ : samples_;
    const qint64 sampleBytes = qint64(std::max(sampleCount, 0)) * qint64(sizeof(double));
    const qint64 bytesPerTrace = qint64(sizeof(SeismicTrace)) + sampleBytes;
    const qint64 total = qint64(gather.count()) + count;
    if (!heldBytesAllow(total, sampleCount))
        return 0;
    if (sampleCount > SeismicLimits::maxSamplesPerTrace ||
        total * bytesPerTrace > SeismicLimits::maxGatherBytes) {
        reportAllocationFailure(total, sampleCount);
        return 0;
    }
    gather.traces.reserve(size_t(total));
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<SeismicTrace> trace = SeismicTrace::create(sampleCount, sampleInterval_);
        if (!trace) {
            reportAllocationFailure(total, sampleCount);
            return i;
        }
        gather.traces.push_back(std::move(trace));
    }
    return count;
}

void SeismicData::reportAllocationFailure(qint64 traces, int sampleCount)
{
    if (console_)
        console_->error(QStringLiteral("failed to allocate memory for %1 traces of %2 samples")
                            .arg(traces)
                            .arg(sampleCount),
                        true);
}

void SeismicData::copySamplesIn(SeismicTrace& trace, const double* buffer, qint64 bufferSamples)
{
    if (!trace.hasSamples() || !buffer)
        return;
    const qint64 count = std::min<qint64>(trace.sampleCount(), bufferSamples);
    if (count > 0)
        std::memcpy(trace.data(), buffer, size_t(count) * sizeof(double));
}

void SeismicData::copySamplesOut(const SeismicTrace& trace, double* buffer, qint64 bufferSamples)
{
    if (!trace.hasSamples() || !buffer)
        return;
    const qint64 count = std::min<qint64>(trace.sampleCount(), bufferSamples);
    if (count > 0)
        std::memcpy(buffer, trace.data(), size_t(count) * sizeof(double));
}

void SeismicData::swapSamples16(void* buffer, qint64 bufferBytes) const
{
    if (swapBytes_ && buffer)
        SampleConversion::swapBytes16(buffer, std::min<qint64>(fileSamples_, bufferBytes / 2));
}

void SeismicData::swapSamples32(void* buffer, qint64 bufferBytes) const
{
    if (swapBytes_ && buffer)
        SampleConversion::swapBytes32(buffer, std::min<qint64>(fileSamples_, bufferBytes / 4));
}

void SeismicData::reconcileSampleCount(int count, const QString& fileName)
{
    fileSamples_ = count;
    if (samples_ == 0) {
        samples_ = count;
        return;
    }
    if (count == samples_ || !console_)
        return;
    const bool less = count < samples_;
    QString text;
    if (fileName.isEmpty())
        text =
            less ? QStringLiteral("current number of samples (%1) is less than the number of samples for the "
                                  "dataset (%3). Traces will be padded with zeros.")
                 : QStringLiteral("current number of samples (%1) is more than the number of samples for the "
                                  "dataset (%3).");
    else
        text = less ? QStringLiteral(
                          "number of samples (%1) in file %2 is less than the number of samples for the "
                          "dataset (%3). Traces will be padded with zeros.")
                    : QStringLiteral(
                          "number of samples (%1) in file %2 is more than the number of samples for the "
                          "dataset (%3).");
    const QString countText = QString::number(count);
    const QString samplesText = QString::number(samples_);
    console_->warning(fileName.isEmpty() ? text.arg(countText, samplesText)
                                         : text.arg(countText, fileName, samplesText),
                      true);
    if (!less)
        console_->message(QStringLiteral("  !!!  TRACE SAMPLES WILL BE TRUNCATED  !!!"), QColor(Qt::red));
}

bool SeismicData::allocateHeaderBuffer(qint64 size)
{
    headerBuffer_.reset();
    headerBufferSize_ = 0;
    if (size > 0 && size <= SeismicLimits::maxHeaderBytes)
        headerBuffer_.reset(new (std::nothrow) char[size_t(size)]());
    if (!headerBuffer_) {
        if (console_)
            console_->error(QStringLiteral("failed to allocate memory for a header of %1 bytes").arg(size),
                            true);
        return false;
    }
    headerBufferSize_ = size;
    return true;
}
