#include "analyzers/TraceRangeScan.h"

#include "seismic/SegyData.h"
#include "seismic/SegyTraceExtension.h"
#include "seismic/SeismicTrace.h"

#include <algorithm>
#include <vector>

TraceRangeScan::TraceRangeScan(const QString& path, const SegyFormat& format, int first, int last,
                               int detailLevel, Input input)
    : SegyFileJob(
          path, format, detailLevel, std::max(first - 1, last) - first + 1,
          [this, first, last = std::max(first - 1, last)](SegyData& data, const JobSteps& steps) {
              scan(data, first, last, steps, found);
          },
          std::move(input))
{
    found.firstTrace = first;
}

void TraceRangeScan::scan(SegyData& data, int first, int last, const JobSteps& steps, Result& result)
{
    result.swapBytes = data.swapBytes();
    const int end = std::min(last, data.traceCount());
    if (first < 1 || first > end || !data.seekSequentialTrace(first))
        return;
    std::vector<char> buffer(size_t(std::max(data.traceLength(), 0)), 0);
    const auto trace = data.makeTrace();
    if (!trace)
        return;
    const int headerBytes = int(SegyTraceExtension::headerLength(data));
    result.headers.reserve(end - first + 1);
    for (int n = first; n <= end; ++n) {
        if (steps.cancelled()) {
            result.cancelled = true;
            return;
        }
        if (!data.readTraceInto(buffer.data(), *trace))
            break;
        result.ranges.add(*trace);
        result.headers.append(QByteArray(buffer.data(), headerBytes));
        steps.step();
    }
}
