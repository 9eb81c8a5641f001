#include "seismic/SegdFileScan.h"

#include "base/BlockPool.h"
#include "seismic/SegdData.h"

#include <algorithm>

namespace SegdFileScan {

std::vector<FileResult> scanFiles(const QStringList& paths, int threads, const Opener& open, int detailLevel)
{
    std::vector<FileResult> results(static_cast<size_t>(paths.size()));
    for (FileResult& result : results)
        result.lines = DeferredConsole(detailLevel);
    BlockPool::run(int(results.size()), threads, [&](int, int index) {
        FileResult& result = results[size_t(index)];
        const auto data = open(paths[index], result.lines);
        result.ok = data && SegdRecordSummary::scan(*data, result.summary);
    });
    return results;
}

FileResult scanFile(const QString& path, int threads, const Opener& open, ObrConsole& console)
{
    FileResult result;
    const auto data = open(path, console);
    if (!data || data->traceCount() <= 0)
        return result;
    const int count = SegdRecordSummary::blockCount(data->traceCount());
    const int ranges = std::clamp(threads, 1, count);
    std::vector<SegdRecordSummary::BlockSums> blocks(static_cast<size_t>(count));
    struct Range {
        int traces = 0;
        int read = 0;
        DeferredConsole lines{1};
    };
    std::vector<Range> parts(static_cast<size_t>(ranges));
    BlockPool::run(ranges, ranges, [&](int, int index) {
        Range& part = parts[size_t(index)];
        part.lines = DeferredConsole(console.detailLevel());
        const int first = int(qint64(index) * count / ranges);
        const int last = int(qint64(index + 1) * count / ranges);
        part.traces = std::min(last * SegdRecordSummary::tracesPerBlock, data->traceCount()) -
                      first * SegdRecordSummary::tracesPerBlock;
        // Each range reads through a data set of its own; what opening it says was said above.
        const auto reader = open(path, part.lines);
        part.lines.clear();
        if (reader)
            part.read = SegdRecordSummary::scanBlocks(*reader, first, last, blocks.data());
    });
    int read = 0;
    result.ok = !data->fieldMap().cutShort();
    for (Range& part : parts) {
        part.lines.passOn(console);
        read += part.read;
        if (part.read < part.traces) {
            result.ok = false;
            break;
        }
    }
    result.summary = SegdRecordSummary::merge(*data, blocks.data(), count);
    result.summary.traces = read;
    return result;
}

} // namespace SegdFileScan
