#include "copy/SegyCopyJob.h"

#include "base/ObrConsole.h"
#include "devices/TapeDevice.h"

#include <QtEndian>
#include <cstring>

namespace {
constexpr int sampleCountOffset = 3220;
constexpr int sampleFormatOffset = 3224;
constexpr int traceHeaderLength = 240;

quint16 headerWord(const char* headers, int offset, bool swap)
{
    const quint16 value = qFromBigEndian<quint16>(headers + offset);
    return swap ? qbswap(value) : value;
}
} // namespace

int SegyCopyJob::traceLength(const char* headers)
{
    bool swap = false;
    int format = headerWord(headers, sampleFormatOffset, swap);
    if (format < 1 || format > 8) {
        swap = true;
        format = headerWord(headers, sampleFormatOffset, swap);
    }
    if (format < 1 || format > 8)
        return 0;
    return traceHeaderLength + headerWord(headers, sampleCountOffset, swap) * (format == 3 ? 2 : 4);
}

CopyJob::Names SegyCopyJob::names() const
{
    return {"Single SEG-Y copy", "Single SEG-Y Copy Summary:", "SEG-Y Copy"};
}

bool SegyCopyJob::prepareInput()
{
    if (!(inputTape() ? readTapeHeaders() : readFileHeaders()))
        return false;
    traceLength_ = traceLength(work());
    if (traceLength_ > 0)
        return true;
    fail(QStringLiteral("invalid sample format - job will abort"));
    return false;
}

bool SegyCopyJob::readFileHeaders()
{
    qint64 got = 0;
    if (!readInputFile(work(), headerLength, &got))
        return false;
    if (got == headerLength)
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
    int offset = 0;
    for (const int block : headerBlocks) {
        if (block > 0 && !writeOutput(work() + offset, block, block))
            return false;
        offset += block;
    }
    return true;
}

qint64 SegyCopyJob::totalUnits() const
{
    return qMax<qint64>(0, inputFile().size() - headerLength) / traceLength_;
}

void SegyCopyJob::partialUnit(int length)
{
    warn(QStringLiteral("the last trace of %1 is incomplete (%2 of %3 bytes); it is copied as it is")
             .arg(inputFile().fileName())
             .arg(length)
             .arg(traceLength_));
}

void SegyCopyJob::summaryCounts()
{
    sayCount(filesCopied(), "file");
    if (inputTape()) {
        sayCount(blocksRead(), "block");
        sayCount(tapesCopied(), "tape");
    }
}
