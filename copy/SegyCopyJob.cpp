#include "copy/SegyCopyJob.h"

#include "devices/TapeDevice.h"

#include <cstring>

CopyJob::Names SegyCopyJob::names() const
{
    return {"Single SEG-Y copy", "Single SEG-Y Copy Summary:", "SEG-Y Copy"};
}

bool SegyCopyJob::prepareInput()
{
    if (!(inputTape() ? readTapeHeaders() : readFileHeaders()))
        return false;
    const QString name = inputTape() ? inputTape()->name() : inputFile().fileName();
    layout = inputTape()
                 ? SegyCopyLayout::read(work(), -1)
                 : SegyCopyLayout::read(work(), inputFile().size(), SegyCopyLayout::textReader(inputFile()));
    if (!layout.known) {
        fail(QStringLiteral("invalid sample format %1 in %2 - job will abort")
                 .arg(layout.statedSampleFormat)
                 .arg(name));
        return false;
    }
    if (!layout.problem.isEmpty()) {
        fail(QStringLiteral("%1: %2 - job will abort").arg(name, layout.problem));
        return false;
    }
    return true;
}

bool SegyCopyJob::readFileHeaders()
{
    qint64 got = 0;
    if (!readInputFile(work(), SegyLayout::fileHeaderSize, &got))
        return false;
    if (got == SegyLayout::fileHeaderSize)
        return true;
    fail(QStringLiteral("error reading input file %1 - job will abort").arg(inputFile().fileName()));
    return false;
}

bool SegyCopyJob::readTapeHeaders()
{
    int stored = 0;
    for (int& block : headerBlocks) {
        if (!readInputBlock())
            return false;
        TapeDevice* tape = inputTape();
        block = tape->bytesRead();
        if (stored + block > workBufferSize) {
            fail(QStringLiteral("error reading input tape %1 - job will abort").arg(tape->name()));
            return false;
        }
        std::memcpy(work() + stored, tape->buffer(), static_cast<size_t>(block));
        stored += block;
        countBlockRead();
    }
    return true;
}

bool SegyCopyJob::prepareOutput()
{
    // A trace goes to tape as one block: one the drive cannot write stops the job before the
    // tape is touched. A tape input brings its own blocks, which the drive judges one by one.
    TapeDevice* tape = outputTape();
    if (tape && !inputTape() && layout.traceLength > tape->maxBlockSize()) {
        fail(QStringLiteral(
                 "trace length %1 is beyond the largest block (%2 bytes) of drive %3 - job will abort")
                 .arg(layout.traceLength)
                 .arg(tape->maxBlockSize())
                 .arg(tape->name()));
        return false;
    }
    int offset = 0;
    for (const int block : headerBlocks) {
        if (block > 0 && !writeOutput(work() + offset, block, block))
            return false;
        offset += block;
    }
    return copyExtendedTextHeaders() && copyBytesBeforeTraces();
}

bool SegyCopyJob::copyExtendedTextHeaders()
{
    // Only a disk input has them here: on a tape they are blocks like the traces.
    for (int k = 0; k < layout.extendedTextHeaders; ++k) {
        qint64 got = 0;
        if (!readInputFile(work(), SegyLayout::textHeaderSize, &got))
            return false;
        if (got != SegyLayout::textHeaderSize) {
            fail(QStringLiteral("error reading input file %1 - job will abort").arg(inputFile().fileName()));
            return false;
        }
        if (!writeOutput(work(), got, SegyLayout::textHeaderSize))
            return false;
    }
    return true;
}

bool SegyCopyJob::copyBytesBeforeTraces()
{
    // Revision 2 may start the traces further on; on a tape what lies between is a block of its own.
    qint64 left = inputTape() ? 0 : layout.dataStart() - inputFile().pos();
    while (left > 0) {
        const qint64 length = qMin<qint64>(left, workBufferSize);
        qint64 got = 0;
        if (!readInputFile(work(), length, &got))
            return false;
        if (got != length) {
            fail(QStringLiteral("error reading input file %1 - job will abort").arg(inputFile().fileName()));
            return false;
        }
        if (!writeOutput(work(), got, int(got)))
            return false;
        left -= got;
    }
    return true;
}

qint64 SegyCopyJob::totalUnits() const
{
    return qMax<qint64>(0, layout.dataEnd - layout.dataStart()) / layout.traceLength;
}

void SegyCopyJob::partialUnit(int length)
{
    warn(QStringLiteral("the last trace of %1 is incomplete (%2 of %3 bytes); it is copied as it is")
             .arg(inputFile().fileName())
             .arg(length)
             .arg(layout.traceLength));
}

void SegyCopyJob::summaryCounts()
{
    sayCount(filesCopied(), "file");
    if (inputTape()) {
        sayCount(blocksRead(), "block");
        sayCount(tapesCopied(), "tape");
    }
}
