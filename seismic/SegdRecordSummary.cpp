#include "seismic/SegdRecordSummary.h"

#include "seismic/SegdData.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

// Running statistics in four lanes, so that neighbouring samples do not wait on each other's
// comparisons and additions; no branch per sample.
struct SegdRecordSummary::Lanes {
    static constexpr int count = 4;

    void add(const double* samples, qint64 n)
    {
        qint64 i = 0;
        for (; i + count <= n; i += count) {
            for (int lane = 0; lane < count; ++lane)
                add(lane, samples[i + lane]);
        }
        for (; i < n; ++i)
            add(0, samples[i]);
    }

    void add(int lane, double value)
    {
        // False for NaN and the infinities alike.
        const bool finite = value - value == 0;
        const double x = finite ? value : 0;
        low[lane] = finite && x < low[lane] ? x : low[lane];
        high[lane] = finite && x > high[lane] ? x : high[lane];
        squares[lane] += x * x;
        values[lane] += finite ? 1 : 0;
    }

    std::array<double, count> low{
        std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    std::array<double, count> high{-low[0], -low[0], -low[0], -low[0]};
    std::array<double, count> squares{};
    std::array<qint64, count> values{};
};

void SegdRecordSummary::finish(const Lanes& lanes)
{
    double squares = 0;
    for (int lane = 0; lane < Lanes::count; ++lane) {
        values += lanes.values[size_t(lane)];
        squares += lanes.squares[size_t(lane)];
    }
    if (values > 0) {
        minimum = *std::min_element(lanes.low.begin(), lanes.low.end());
        maximum = *std::max_element(lanes.high.begin(), lanes.high.end());
        rms = std::sqrt(squares / double(values));
    }
}

SegdRecordSummary SegdRecordSummary::of(const SegdData& data, const TraceGather& gather)
{
    SegdRecordSummary summary;
    summary.fieldFile = data.generalHeader().fieldFile;
    summary.traces = gather.count();
    summary.samples = data.samples();
    summary.sampleInterval = data.sampleInterval();
    Lanes lanes;
    for (const auto& trace : gather.traces) {
        if (trace->hasSamples())
            lanes.add(trace->data(), trace->sampleCount());
    }
    summary.finish(lanes);
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
    Lanes lanes;
    for (; summary.traces < data.traceCount(); ++summary.traces) {
        if (!data.readTrace(*trace))
            return false;
        lanes.add(trace->data(), trace->sampleCount());
    }
    summary.finish(lanes);
    return true;
}
