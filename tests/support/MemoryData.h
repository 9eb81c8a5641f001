#pragma once

#include "seismic/SeismicData.h"

#include <functional>

// A data set held in memory: traceCount traces of samples samples, each sample given by a
// function of the 1-based trace and 0-based sample; field file and channel are the trace
// number. For views and computations that need no file.
class MemoryData : public SeismicData {
public:
    using Samples = std::function<double(int trace, int sample)>;

    MemoryData(int traces, int samples, float interval, Samples sampleFunction);

    [[nodiscard]] bool readTraceInRecord(SeismicTrace& trace, int n) override;
    [[nodiscard]] bool readTraceRange(TraceGather& gather, int first, int last) override;

    int reads = 0; // calls of readTraceInRecord, also for traces it does not hold

private:
    Samples sample;
};
