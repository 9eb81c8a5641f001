#include "seismic/SegdRecordSummary.h"

#include "seismic/SegdData.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <algorithm>
#include <cmath>
#include <limits>

SegdRecordSummary SegdRecordSummary::of(const SegdData& data, const TraceGather& gather)
{
    SegdRecordSummary summary;
    summary.fieldFile = data.generalHeader().fieldFile;
    summary.traces = gather.count();
    summary.samples = data.samples();
    summary.sampleInterval = data.sampleInterval();
    double minimum = std::numeric_limits<double>::infinity();
    double maximum = -minimum;
    double squares = 0;
    for (const auto& trace : gather.traces) {
        const double* samples = trace->data();
        const int count = trace->hasSamples() ? trace->sampleCount() : 0;
        for (int i = 0; i < count; ++i) {
            const double value = samples[i];
            if (!std::isfinite(value))
                continue;
            minimum = std::min(minimum, value);
            maximum = std::max(maximum, value);
            squares += value * value;
            ++summary.values;
        }
    }
    if (summary.values > 0) {
        summary.minimum = minimum;
        summary.maximum = maximum;
        summary.rms = std::sqrt(squares / double(summary.values));
    }
    return summary;
}
