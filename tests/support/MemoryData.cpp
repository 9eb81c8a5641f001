#include "tests/support/MemoryData.h"

#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <algorithm>

MemoryData::MemoryData(int traces, int samples, float interval, Samples sampleFunction)
    : SeismicData(nullptr), sample(std::move(sampleFunction))
{
    traceCount_ = traces;
    tracesPerRecord_ = traces;
    samples_ = samples;
    fileSamples_ = samples;
    sampleInterval_ = interval;
    recordLength_ = float(samples) * interval;
    ok_ = true;
}

bool MemoryData::readTraceInRecord(SeismicTrace& trace, int n)
{
    ++reads;
    if (n < 1 || n > traceCount_)
        return false;
    trace.setValue(TraceKey::FieldFile, n);
    trace.setValue(TraceKey::Channel, n);
    for (int j = 0; j < trace.sampleCount(); ++j)
        trace.data()[j] = sample(n, j);
    return true;
}

bool MemoryData::readTraceRange(TraceGather& gather, int first, int last)
{
    last = std::min(last, traceCount_);
    if (first < 1 || last < first)
        return false;
    if (resizeGather(gather, last - first + 1) != last - first + 1)
        return false;
    for (int i = 0; i < gather.count(); ++i)
        if (!readTraceInRecord(*gather.trace(i), first + i))
            return false;
    return true;
}
