#include "analyzers/TraceRangeScan.h"

#include "devices/ObrDevice.h"
#include "seismic/SegyData.h"
#include "seismic/SegyTraceExtension.h"
#include "seismic/SeismicTrace.h"

#include <algorithm>
#include <vector>

TraceRangeScan::TraceRangeScan(const QString& path, const SegyFormat& format, int first, int last,
                               int detailLevel, Input input)
    : path(path), format(format), first(first), last(std::max(first - 1, last)), lines(detailLevel),
      input(std::move(input))
{}

TraceRangeScan::Result TraceRangeScan::run(const std::atomic<bool>& cancel, std::atomic<int>& done)
{
    Result result;
    result.firstTrace = first;
    const auto opened = input ? std::make_unique<SegyData>(input(&lines, path).release(), 0u, &format)
                              : std::make_unique<SegyData>(&lines, path, 0u, &format);
    SegyData& data = *opened;
    if (!data.ok())
        return result;
    // The window that asked has opened the file already and said what opening it had to say.
    lines.clear();
    result.swapBytes = data.swapBytes();
    const int end = std::min(last, data.traceCount());
    if (first < 1 || first > end || !data.seekSequentialTrace(first))
        return result;
    std::vector<char> buffer(size_t(std::max(data.traceLength(), 0)), 0);
    const auto trace = data.makeTrace();
    if (!trace)
        return result;
    const int headerBytes = int(SegyTraceExtension::headerLength(data));
    result.headers.reserve(end - first + 1);
    for (int n = first; n <= end; ++n) {
        if (cancel.load(std::memory_order_relaxed)) {
            result.cancelled = true;
            return result;
        }
        if (!data.readTraceInto(buffer.data(), *trace))
            break;
        result.ranges.add(*trace);
        result.headers.append(QByteArray(buffer.data(), headerBytes));
        done.store(n - first + 1, std::memory_order_relaxed);
    }
    return result;
}
