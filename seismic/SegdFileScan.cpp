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
    const auto failures = BlockPool::run(int(results.size()), threads, [&](int, int index) {
        FileResult& result = results[size_t(index)];
        const auto data = open(paths[index], result.lines);
        result.ok = data && SegdRecordSummary::scan(*data, result.summary);
    });
    for (const BlockPool::Failure& failure : failures) {
        FileResult& result = results[size_t(failure.block)];
        result.ok = false;
        result.lines.error(
            QStringLiteral("%1 could not be scanned: %2").arg(paths[failure.block], failure.reason), false);
    }
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
    // Range index holds blocks first to last - 1, and so traces from firstTrace on.
    struct Range {
        int first = 0;
        int last = 0;
        int firstTrace = 0;
        int traces = 0;
        int read = 0;
        DeferredConsole lines{1};
    };
    std::vector<Range> parts(static_cast<size_t>(ranges));
    for (int index = 0; index < ranges; ++index) {
        Range& part = parts[size_t(index)];
        part.first = int(qint64(index) * count / ranges);
        part.last = int(qint64(index + 1) * count / ranges);
        part.firstTrace = part.first * SegdRecordSummary::tracesPerBlock + 1;
        part.traces =
            std::min(part.last * SegdRecordSummary::tracesPerBlock, data->traceCount()) - part.firstTrace + 1;
        part.lines = DeferredConsole(console.detailLevel());
    }
    const auto failures = BlockPool::run(ranges, ranges, [&](int, int index) {
        Range& part = parts[size_t(index)];
        // Each range reads through a data set of its own; what opening it says was said above.
        const auto reader = open(path, part.lines);
        part.lines.clear();
        if (reader)
            part.read = SegdRecordSummary::scanBlocks(*reader, part.first, part.last, blocks.data());
    });
    for (const BlockPool::Failure& failure : failures) {
        Range& part = parts[size_t(failure.block)];
        part.read = 0;
        part.lines.error(QStringLiteral("traces %1 to %2 of %3 could not be scanned: %4")
                             .arg(part.firstTrace)
                             .arg(part.firstTrace + part.traces - 1)
                             .arg(path, failure.reason),
                         false);
    }
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
