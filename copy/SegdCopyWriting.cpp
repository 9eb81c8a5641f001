#include "copy/OutputTapeEnds.h"
#include "copy/OutputTapeOperator.h"
#include "copy/SegdCopyJob.h"
#include "devices/TapeDevice.h"
#include "seismic/SegdBytes.h"
#include "seismic/SegdSourceFields.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <vector>

namespace {

// The prepended file goes to tape in blocks of this size, the last one shorter.
constexpr int prependBlockBytes = 65536;
// Records that follow each other in a disk input are written this much at a time, at least.
constexpr qint64 spanPieceBytes = qint64(1) << 20;
// The kernel copies whole pages of a file fastest: a piece copied from a mapped input ends on one.
constexpr qint64 pageBytes = 4096;

} // namespace

bool SegdCopyJob::openOutputFile(const SegdBytes& header)
{
    fieldFileOpen = true;
    if (outputTape) {
        blockFill = 0;
        blockSet = -1;
        return true;
    }
    // The field file before may still be taking its name: it counts, and its name is taken.
    const qint64 number =
        options.ffidNames ? map.general().fieldFile : fieldFilesCopied + 1 + int(finished.pending);
    const QString line = options.lineName
                             ? QString::number(SegdSourceFields::read(map.general(), header).lineNumber)
                             : QString();
    const QDir directory(options.output.path);
    for (int repeat = 0;; ++repeat) {
        outputPath = directory.filePath(outputName(options.prependName, line, number, repeat));
        if (QFileInfo::exists(outputPath) || (finished.pending && outputPath == finished.entry.output))
            continue;
        outputFile().setFileName(outputPath);
        if (outputFile().open())
            return true;
        fail(QStringLiteral("error opening file %1 (%2)").arg(outputPath, outputFile().errorString()));
        return false;
    }
}

bool SegdCopyJob::failWriting(const QString& reason)
{
    fail(QStringLiteral("error writing to output file %1: %2 - job will abort").arg(outputPath, reason));
    return false;
}

bool SegdCopyJob::writeHeader(const char* data, qint64 length)
{
    if (!outputTape)
        return writeRecord(data, length, -1);
    return writeBlock(data, length);
}

bool SegdCopyJob::writeRecord(const char* data, qint64 length, int set)
{
    if (!outputTape) {
        // Records that follow each other in the input buffer go out in one write.
        if (spanLength > 0 && spanStart + spanLength == data) {
            spanLength += length;
            // A long run goes out in pieces, copied while the job looks at the records after it.
            return spanLength < spanPieceBytes || flushSpanPiece();
        }
        if (!flushSpan())
            return false;
        spanStart = data;
        spanLength = length;
        return true;
    }
    if (!options.blockTraces)
        return writeBlock(data, length);
    if (blockFill > 0 && (set != blockSet || blockFill + length > blockLimit) && !flushBlock())
        return false;
    if (size_t(blockFill + length) > block.size())
        block.resize(size_t(blockFill + length));
    std::memcpy(block.data() + blockFill, data, size_t(length));
    blockFill += length;
    blockSet = set;
    return true;
}

bool SegdCopyJob::flushBlock()
{
    if (blockFill == 0)
        return true;
    const qint64 length = blockFill;
    blockFill = 0;
    return writeBlock(block.data(), length);
}

bool SegdCopyJob::writeBlock(const char* data, qint64 length)
{
    if (length > outputTape->maxBlockSize() && outputTape->maxBlockSize() > 0) {
        fail(QStringLiteral(
                 "block of %1 bytes is larger than output tape %2 takes (%3 bytes) - job will abort")
                 .arg(length)
                 .arg(outputTape->name())
                 .arg(outputTape->maxBlockSize()));
        return false;
    }
    if (!outputTape->write(data, int(length))) {
        driveFailed();
        return false;
    }
    tapeWritten = true;
    fieldFileBytes += double(length);
    bytesToTape += double(length);
    return true;
}

bool SegdCopyJob::flushSpan()
{
    if (spanLength == 0)
        return true;
    const qint64 length = spanLength;
    spanLength = 0;
    // Records as they stand in a disk input are copied by the kernel from the file, which the
    // job has read anyway: the bytes cross memory once, as cp copies them.
    const bool asRead = !inputTape && !options.zeroTraces;
    const qint64 offset = inputMap.data() ? spanStart - inputMap.data()
                                          : inputFile.pos() - chunkFill + (spanStart - chunk.data());
    if (!(asRead ? outputFile().copyFrom(inputFile.handle(), offset, length)
                 : outputFile().write(spanStart, length)))
        return failWriting(outputFile().errorString());
    fieldFileBytes += double(length);
    return commitFinished();
}

bool SegdCopyJob::flushSpanPiece()
{
    const qint64 rest = inputMap.data() ? (spanStart - inputMap.data() + spanLength) % pageBytes : 0;
    const char* restStart = spanStart + spanLength - rest;
    spanLength -= rest;
    if (!flushSpan())
        return false;
    spanStart = restStart;
    spanLength = rest;
    return true;
}

bool SegdCopyJob::endOutputFile()
{
    if (!outputTape) {
        if (!flushSpan())
            return false;
        if (inputMap.cut()) {
            fail(QStringLiteral("input file %1 was cut short while being copied - job will abort")
                     .arg(inputPath));
            return false;
        }
        // The records are all looked at: the mapping goes while the last of them are copied. The
        // file takes its name once the next one's copies are under way (commitFinished()).
        inputMap.unmap();
        fieldFileOpen = false;
        return true;
    }
    if (options.blockTraces && !flushBlock())
        return false;
    if (options.writeEofs && !outputTape->writeFileMarks(1)) {
        driveFailed();
        return false;
    }
    fieldFileOpen = false;
    return true;
}

bool SegdCopyJob::startWritingTape()
{
    QString refusal;
    if (OutputTapeEnds::prepare(outputTape, copyOperator, lines, &refusal))
        return true;
    refusal.isEmpty() ? driveFailed() : fail(refusal);
    return false;
}

bool SegdCopyJob::prependToTape()
{
    tapeStarted = true;
    tapeWritten = false;
    if (!startWritingTape())
        return false;
    if (options.prependFile.isEmpty())
        return true;
    QFile file(options.prependFile);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("error opening input file: ") + options.prependFile);
        return false;
    }
    std::vector<char> data(prependBlockBytes);
    for (;;) {
        const qint64 got = file.read(data.data(), prependBlockBytes);
        if (got < 0) {
            fail(QStringLiteral("error reading input file %1 - job will abort").arg(options.prependFile));
            return false;
        }
        if (got == 0)
            break;
        if (!outputTape->write(data.data(), int(got))) {
            driveFailed();
            return false;
        }
        tapeWritten = true;
        bytesToTape += double(got);
    }
    if (!outputTape->writeFileMarks(1)) {
        driveFailed();
        return false;
    }
    lines.say(
        QStringLiteral("Prepended %1 to output tape %2").arg(options.prependFile).arg(outputTapeNumber));
    return true;
}

void SegdCopyJob::changeOutputTape()
{
    lines.say(QStringLiteral("End of output tape %1").arg(outputTapeNumber));
    lines.say(QStringLiteral("%1 Field Files output to this tape").arg(fieldFilesOnTape));
    fieldFilesOnTape = 0;
    lines.say(QStringLiteral("Writing double end-of-file to output tape"));
    if (!outputTape->writeFileMarks(2)) {
        driveFailed();
        return;
    }
    if (outputTape->unloadAtEnd())
        static_cast<void>(outputTape->unload()); // a failed unload is reported by the drive
    TapeDevice* next = copyOperator->nextOutputTape(outputTape);
    if (!next) {
        lines.say(QStringLiteral("No more output. Job will end"));
        noMoreOutput = true;
        done = true;
        return;
    }
    outputTape = next;
    ++outputTapeNumber;
    bytesToTape = 0;
    tapeStarted = false;
    lines.say(QStringLiteral("Start of output tape %1").arg(outputTapeNumber));
}

void SegdCopyJob::endOutputTape()
{
    if (!outputTape->writeFileMarks(1)) {
        driveFailed();
        return;
    }
    if (!outputTape->noRewind() && outputTape->rewind())
        lines.say(QStringLiteral("Rewind %1").arg(outputTape->name()));
}
