#include "seismic/SegdRecordSummary.h"

#include "base/WideVectors.h"
#include "seismic/SegdData.h"
#include "seismic/SeismicTrace.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// Recorders write NaN for dead channels. The loop has no branch, and its reductions may be
// reordered (omp simd), so that the compiler keeps several sums in vector registers; a compiler
// without the pragma runs it as it is written.
void addFinite(SegdRecordSummary::Sums& sums, const double* samples, qint64 n)
{
    double lo = sums.low;
    double hi = sums.high;
    double sq = sums.squares;
    double in = sums.values;
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
    sums.low = lo;
    sums.high = hi;
    sums.squares = sq;
    sums.values = in;
}

OBR_WIDE_VECTOR_LOOPS void addFiniteWide(SegdRecordSummary::Sums& sums, const double* samples, qint64 n)
{
    addFinite(sums, samples, n);
}

} // namespace

SegdRecordSummary::Sums::Sums() : low(infinity), high(-infinity) {}

void SegdRecordSummary::Sums::add(const double* samples, qint64 n)
{
    WideVectors::call(addFinite, addFiniteWide, *this, samples, n);
}

void SegdRecordSummary::Sums::merge(const Sums& later)
{
    low = std::min(low, later.low);
    high = std::max(high, later.high);
    squares += later.squares;
    values += later.values;
    traces += later.traces;
}

void SegdRecordSummary::BlockSums::add(const SeismicTrace& trace, qint64 count)
{
    // The readers mark the traces of seismic channel sets by their trace identification.
    Sums& sums = trace.value(TraceKey::TraceId) == 1 ? seismic : auxiliary;
    if (trace.hasSamples())
        sums.add(trace.data(), std::min<qint64>(count, trace.sampleCount()));
    ++sums.traces;
}

void SegdRecordSummary::BlockSums::merge(const BlockSums& later)
{
    seismic.merge(later.seismic);
    auxiliary.merge(later.auxiliary);
}

void SegdRecordSummary::Statistics::finish(const Sums& sums)
{
    traces = sums.traces;
    values = qint64(sums.values);
    if (values > 0) {
        minimum = sums.low;
        maximum = sums.high;
        rms = std::sqrt(sums.squares / double(values));
    }
}

void SegdRecordSummary::finish(const BlockSums& sums)
{
    seismic.finish(sums.seismic);
    auxiliary.finish(sums.auxiliary);
}

SegdRecordSummary SegdRecordSummary::describe(const SegdData& data)
{
    SegdRecordSummary summary;
    summary.fieldFile = data.generalHeader().fieldFile;
    summary.samples = data.samples();
    summary.sampleInterval = data.sampleInterval();
    return summary;
}

int SegdRecordSummary::scanBlocks(SegdData& data, int first, int last, BlockSums* blocks)
{
    const int firstTrace = first * tracesPerBlock + 1;
    const int lastTrace = std::min(last * tracesPerBlock, data.traceCount());
    if (firstTrace > lastTrace)
        return 0;
    const auto trace = data.makeTrace();
    if (!trace || !data.seekSequentialTrace(firstTrace))
        return 0;
    for (int n = firstTrace; n <= lastTrace; ++n) {
        if (!data.readTrace(*trace))
            return n - firstTrace;
        blocks[(n - 1) / tracesPerBlock].add(*trace, data.lastDecodedSamples());
    }
    return lastTrace - firstTrace + 1;
}

SegdRecordSummary SegdRecordSummary::merge(const SegdData& data, const BlockSums* blocks, int count)
{
    SegdRecordSummary summary = describe(data);
    summary.traces = data.traceCount();
    BlockSums sums;
    for (int b = 0; b < count; ++b)
        sums.merge(blocks[b]);
    summary.finish(sums);
    return summary;
}

bool SegdRecordSummary::scan(SegdData& data, SegdRecordSummary& summary)
{
    if (data.traceCount() <= 0) {
        summary = describe(data);
        return false;
    }
    const int count = blockCount(data.traceCount());
    std::vector<BlockSums> blocks(static_cast<size_t>(count));
    const int read = scanBlocks(data, 0, count, blocks.data());
    summary = merge(data, blocks.data(), count);
    summary.traces = read;
    // A file cut short has said so when it was opened; the traces it holds were summed.
    return read == data.traceCount() && !data.fieldMap().cutShort();
}
