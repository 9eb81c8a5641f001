#include "seismic/SegyTraceScan.h"

#include "base/BlockPool.h"
#include "devices/ObrDevice.h"
#include "seismic/ReadBuffer.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyLayout.h"
#include "seismic/SegySampleCodec.h"

#include <QFile>
#include <algorithm>
#include <atomic>
#include <climits>
#include <memory>
#include <new>
#include <vector>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#endif

namespace {

// Bytes one read brings in: large enough that system calls cost nothing, small enough that the
// bytes are still in the processor's cache when they are decoded.
constexpr qint64 readBytes = 1 << 20;
// Blocks of traces, the units handed to the threads and merged in order. Their size depends on
// the file only, never on the threads.
constexpr qint64 maxBlocks = 4096;

struct Block {
    int tracesRead = 0;
    SampleStatistics statistics;
    bool failed = false;
    QString error;
};

// What one thread keeps from block to block: its own handle on the file and its read buffer.
struct Worker {
    std::unique_ptr<QFile> file;
    ReadBuffer<char> buffer;
};

// Reads up to length bytes at position; the count read (short at the end of the file or on an
// error).
qint64 readAt(QFile& file, qint64 position, char* buffer, qint64 length)
{
    if (!file.seek(position))
        return 0;
    qint64 done = 0;
    while (done < length) {
        const qint64 got = file.read(buffer + done, length - done);
        if (got <= 0)
            break;
        done += got;
    }
    return done;
}

bool prepare(Worker& worker, const SegyTraceScan::Layout& layout, qint64 bufferBytes, QString& error)
{
    if (worker.file)
        return true;
    if (!worker.buffer.reserve(size_t(bufferBytes))) {
        error = QStringLiteral("failed to allocate memory for %1 bytes of traces").arg(bufferBytes);
        return false;
    }
    auto file = std::make_unique<QFile>(layout.path);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        error = QStringLiteral("cannot open disk file %1: %2").arg(layout.path, file->errorString());
        return false;
    }
#ifdef Q_OS_UNIX
    // Read ahead generously: every thread goes through its ranges front to back.
    posix_fadvise(file->handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    worker.file = std::move(file);
    return true;
}

void scanBlock(Worker& worker, const SegyTraceScan::Layout& layout, int first, int count, Block& block)
{
    const qint64 length = layout.traceLength;
    const int perRead = int(std::max<qint64>(1, qint64(worker.buffer.size()) / length));
    for (int done = 0; done < count;) {
        const int traces = std::min(perRead, count - done);
        const qint64 position = layout.dataStart + qint64(first + done) * length;
        const qint64 got = readAt(*worker.file, position, worker.buffer.data(), traces * length);
        const int whole = int(got / length);
        for (int t = 0; t < whole; ++t) {
            const char* samples = worker.buffer.data() + t * length + layout.headerSize;
            SampleStatistics trace =
                SegySampleCodec::statistics(layout.sampleFormat, samples, layout.decodedSamples, layout.swap);
            trace.addZeros(layout.paddingSamples);
            block.statistics.merge(trace);
        }
        block.tracesRead += whole;
        done += whole;
        if (whole < traces) {
            block.failed = true;
            block.error = QStringLiteral("read %1 of %2 bytes at byte position %3 within disk file: %4")
                              .arg(got - whole * length)
                              .arg(length)
                              .arg(position + whole * length)
                              .arg(layout.path);
            return;
        }
    }
}

} // namespace

SegyTraceScan::Layout SegyTraceScan::layoutOf(const SegyData& data)
{
    Layout layout;
    layout.path = data.device() ? data.device()->path() : QString();
    layout.dataStart = data.dataStart();
    layout.traceLength = data.traceLength();
    layout.headerSize = std::min(data.traceHeaderLength(), data.traceLength());
    layout.traceCount = data.traceCount();
    layout.sampleFormat = data.sampleFormat();
    layout.swap = data.swapBytes();
    const int samples = std::max(0, data.samples());
    layout.decodedSamples = std::clamp(data.fileSamples(), 0, samples);
    layout.paddingSamples = samples - layout.decodedSamples;
    return layout;
}

SegyTraceScan::Result SegyTraceScan::run(const Layout& layout, int threads)
{
    Result result;
    if (layout.traceCount <= 0 || layout.traceLength <= 0)
        return result;
    const qint64 byReads = std::max<qint64>(1, readBytes / layout.traceLength);
    const qint64 bySize = (qint64(layout.traceCount) + maxBlocks - 1) / maxBlocks;
    const int perBlock = int(std::min<qint64>(std::max(byReads, bySize), INT_MAX));
    const int blockCount = int((qint64(layout.traceCount) + perBlock - 1) / perBlock);
    // A small file does not pay for a whole read.
    const qint64 bufferBytes =
        std::max(std::min(readBytes, qint64(layout.traceCount) * layout.traceLength), layout.traceLength);

    std::vector<Block> blocks(static_cast<size_t>(blockCount));
    std::vector<Worker> workers(size_t(std::max(1, threads)));
    // Blocks after one that failed are not needed: the scan ends there.
    std::atomic<int> firstFailure{blockCount};
    const std::vector<BlockPool::Failure> failures =
        BlockPool::run(blockCount, threads, [&](int worker, int index) {
            if (index > firstFailure)
                return;
            Block& block = blocks[size_t(index)];
            const int first = index * perBlock;
            const int count = int(std::min<qint64>(perBlock, qint64(layout.traceCount) - first));
            if (prepare(workers[size_t(worker)], layout, bufferBytes, block.error))
                scanBlock(workers[size_t(worker)], layout, first, count, block);
            else
                block.failed = true;
            if (block.failed) {
                int seen = firstFailure;
                while (index < seen && !firstFailure.compare_exchange_weak(seen, index)) {
                }
            }
        });
    for (const BlockPool::Failure& failure : failures) {
        const int first = failure.block * perBlock;
        const int last = int(std::min<qint64>(qint64(first) + perBlock, layout.traceCount));
        Block& block = blocks[size_t(failure.block)];
        block = Block();
        block.failed = true;
        block.error = QStringLiteral("traces %1 to %2 of disk file %3 could not be scanned: %4")
                          .arg(first + 1)
                          .arg(last)
                          .arg(layout.path, failure.reason);
    }
    for (const Block& block : blocks) {
        result.statistics.merge(block.statistics);
        result.tracesRead += block.tracesRead;
        if (block.failed) {
            result.error = block.error;
            break;
        }
    }
    return result;
}
