#include "seismic/SegdRecordSummary.h"

#include "seismic/SegdData.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <cmath>
#include <limits>

// Running statistics of the finite samples (recorders write NaN for dead channels). The loop
// has no branch, and its reductions may be reordered (omp simd), so that the compiler keeps
// several sums in vector registers; a compiler without the pragma runs it as it is written.
struct SegdRecordSummary::Sums {
    static constexpr double infinity = std::numeric_limits<double>::infinity();

    void add(const double* samples, qint64 n)
    {
        double lo = low;
        double hi = high;
        double sq = squares;
        double in = values;
#pragma omp simd reduction(min : lo) reduction(max : hi) reduction(+ : sq, in)
        for (qint64 i = 0; i < n; ++i) {
            const double v = samples[i];
            // False for NaN and the infinities alike.
            const bool finite = v - v == 0;
            const double below = finite ? v : infinity;
            const double above = finite ? v : -infinity;
            lo = below < lo ? below : lo;
            hi = above > hi ? above : hi;
            sq += finite ? v * v : 0.0;
            in += finite ? 1.0 : 0.0;
        }
        low = lo;
        high = hi;
        squares = sq;
        values = in;
    }

    double low = infinity;
    double high = -infinity;
    double squares = 0;
    // A count as a double, added in the same vector steps as the sums; exact up to 2^53.
    double values = 0;
};

void SegdRecordSummary::finish(const Sums& sums)
{
    values = qint64(sums.values);
    if (values > 0) {
        minimum = sums.low;
        maximum = sums.high;
        rms = std::sqrt(sums.squares / double(values));
    }
}

SegdRecordSummary SegdRecordSummary::of(const SegdData& data, const TraceGather& gather)
{
    SegdRecordSummary summary;
    summary.fieldFile = data.generalHeader().fieldFile;
    summary.traces = gather.count();
    summary.samples = data.samples();
    summary.sampleInterval = data.sampleInterval();
    Sums sums;
    for (const auto& trace : gather.traces) {
        if (trace->hasSamples())
            sums.add(trace->data(), trace->sampleCount());
    }
    summary.finish(sums);
    return summary;
}

bool SegdRecordSummary::scan(SegdData& data, SegdRecordSummary& summary)
{
    summary = SegdRecordSummary();
    summary.fieldFile = data.generalHeader().fieldFile;
    summary.samples = data.samples();
    summary.sampleInterval = data.sampleInterval();
    const auto trace = SeismicTrace::create(data.samples(), data.sampleInterval());
    if (!trace || !data.seekSequentialTrace(1))
        return false;
    Sums sums;
    for (; summary.traces < data.traceCount(); ++summary.traces) {
        if (!data.readTrace(*trace))
            return false;
        sums.add(trace->data(), trace->sampleCount());
    }
    summary.finish(sums);
    return true;
}
