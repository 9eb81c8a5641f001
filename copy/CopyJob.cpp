#include "copy/CopyJob.h"

#include "base/ObrConsole.h"
#include "copy/CopyOperator.h"
#include "copy/DiskStreamCopy.h"
#include "copy/InputTapeChange.h"
#include "copy/OutputTapeEnds.h"
#include "copy/SameFile.h"
#include "devices/TapeDevice.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <new>

namespace {
constexpr std::align_val_t pageAlignment{4096};
}

CopyJob::CopyJob(ObrConsole* console, CopyOperator* copyOperator, const Endpoint& input,
                 const Endpoint& output)
    : lines(console), copyOperator(copyOperator), input(input), output(output), inputTape_(input.tape)
{}

CopyJob::~CopyJob() = default;

void CopyJob::AlignedDelete::operator()(char* data) const
{
    operator delete[](data, pageAlignment);
}

bool CopyJob::run()
{
    const Names texts = names();
    work_.reset(new (pageAlignment, std::nothrow) char[workBufferSize]());
    if (!work_) {
        lines.error(QStringLiteral("failed to allocate memory (%1 bytes) for %2")
                        .arg(workBufferSize)
                        .arg(QLatin1String(texts.allocation)));
        failed = true;
        return false;
    }
    lines.start(texts.job);

    // The output is opened only for an input worth copying, so a bad input leaves it as it was.
    if (targetsDiffer() && openInput() && prepareInput() && openOutput() && prepareOutput())
        copyFiles();
    inputFile_.close();
    endOutput();
    report();
    return !failed;
}

void CopyJob::endOutput()
{
    if (output.tape) {
        if (!failed)
            endOutputTape();
        else if (tapeWritten && !OutputTapeEnds::closeEarly(output.tape, lines))
            driveFailed();
    } else if (!failed && writeGathered() && !outputFile.commit(true)) {
        fail(QStringLiteral("error writing to output file %1: %2 - job will abort")
                 .arg(output.path, outputFile.errorString()));
    }
    if (!failed)
        return;
    if (outputFile.discard())
        lines.outputRemoved(output.path);
    // Only whole tape files stay; a disk output is gone.
    if (!output.tape)
        kept = Kept();
    bytesCopied = kept.bytes;
    unitsCopied_ = kept.units;
    filesCopied_ = kept.files;
}

void CopyJob::keepCounts()
{
    kept = {bytesCopied, unitsCopied_, filesCopied_};
}

void CopyJob::say(const QString& text)
{
    lines.say(text);
}

void CopyJob::sayCount(qint64 count, const char* what)
{
    lines.count(count, what);
}

void CopyJob::fail(const QString& text)
{
    lines.error(text);
    failed = true;
}

void CopyJob::driveFailed()
{
    lines.reportedElsewhere();
    failed = true;
}

void CopyJob::warn(const QString& text)
{
    lines.warning(text);
}

bool CopyJob::targetsDiffer()
{
    const bool sameDrive = input.tape && input.tape == output.tape;
    if (!sameDrive && !isSameFile(input.path, output.path))
        return true;
    fail(QStringLiteral("output %1 is the same as the input - job will abort")
             .arg(output.path.isEmpty() ? output.tape->name() : output.path));
    return false;
}

bool CopyJob::openInput()
{
    if (inputTape_)
        return true;
    inputFile_.setFileName(input.path);
    if (inputFile_.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        inputFileSize = inputFile_.size();
        return true;
    }
    fail(QStringLiteral("error opening input file: ") + input.path);
    return false;
}

bool CopyJob::openOutput()
{
    if (output.tape) {
        QString refusal;
        if (OutputTapeEnds::prepare(output.tape, copyOperator, lines, &refusal))
            return true;
        refusal.isEmpty() ? driveFailed() : fail(refusal);
        return false;
    }
    if (QFileInfo::exists(output.path) && !copyOperator->replaceFile(output.path)) {
        fail(QStringLiteral("output file %1 exists and is left as it is - job will abort").arg(output.path));
        return false;
    }
    outputFile.setFileName(output.path);
    if (outputFile.open())
        return true;
    fail(QStringLiteral("error opening output file: %1 (%2)").arg(output.path, outputFile.errorString()));
    return false;
}

bool CopyJob::readInputFile(char* data, qint64 length, qint64* got)
{
    *got = 0;
    while (*got < length) {
        const qint64 count = inputFile_.read(data + *got, length - *got);
        if (count < 0) {
            fail(QStringLiteral("error reading input file %1 - job will abort").arg(input.path));
            return false;
        }
        if (count == 0)
            break;
        *got += count;
    }
    return true;
}

bool CopyJob::readInputBlock()
{
    if (inputTape_->readBlock())
        return true;
    driveFailed();
    fail(QStringLiteral("error reading input tape %1 - job will abort").arg(inputTape_->name()));
    return false;
}

bool CopyJob::writeOutput(const char* data, qint64 length, int blockLength)
{
    if (!output.tape) {
        // A tape's blocks and the headers are small: they go to disk in large writes.
        gathered.insert(gathered.end(), data, data + length);
        bytesCopied += length;
        return qint64(gathered.size()) < workBufferSize || writeGathered();
    }
    for (qint64 offset = 0; offset < length; offset += blockLength) {
        const int block = static_cast<int>(qMin<qint64>(blockLength, length - offset));
        if (!output.tape->write(data + offset, block)) {
            driveFailed();
            return false;
        }
        tapeWritten = true;
        bytesCopied += block;
    }
    return true;
}

bool CopyJob::writeGathered()
{
    const bool written = outputFile.write(gathered.data(), qint64(gathered.size()));
    gathered.clear();
    if (!written)
        failWriting(outputFile.errorString());
    return written;
}

void CopyJob::failWriting(const QString& reason)
{
    fail(QStringLiteral("error writing to output file %1: %2 - job will abort").arg(output.path, reason));
}

bool CopyJob::goOn()
{
    if (copyOperator->keepAlive())
        return true;
    fail(QStringLiteral("copy stopped by the operator - job will abort"));
    aborted = true;
    return false;
}

void CopyJob::copyFiles()
{
    copyOperator->startProgress(inputTape_ ? JobProgress::unknownTotal : totalUnits());
    say(QString());
    if (inputTape_)
        say(QStringLiteral("Start of input tape %1").arg(inputTapeNumber));
    if (output.tape)
        say(QStringLiteral("Start of output tape 1"));
    while (!done && goOn()) {
        if (!(inputTape_ ? copyTapeFile() : copyDiskFile()))
            break;
        ++filesCopied_;
        if (!inputTape_)
            inputFile_.close();
        if (output.tape && !output.tape->writeFileMarks(1)) {
            driveFailed();
            break;
        }
        keepCounts();
    }
    copyOperator->endProgress();
}

bool CopyJob::copyDiskFile()
{
    if (!(output.tape ? copyDiskToTape() : copyDiskToDisk()))
        return false;
    done = true;
    return true;
}

bool CopyJob::inputWhole(qint64 endPosition)
{
    // A file cut short under the job must not pass for a whole copy, also when what it lost
    // had been read already.
    if (endPosition >= inputFileSize && inputFile_.size() >= endPosition)
        return true;
    fail(QStringLiteral("input file %1 was cut short while being copied - job will abort").arg(input.path));
    return false;
}

bool CopyJob::copyDiskToDisk()
{
    // The units are only counted: the bytes go across in large stretches, as cp copies them.
    const int unit = unitLength();
    const qint64 before = unitsCopied_;
    const qint64 start = inputFile_.pos();
    if (!writeGathered())
        return false;
    DiskStreamCopy stream(inputFile_.handle(), outputFile.handle(), work_.get(), workBufferSize);
    qint64 total = 0;
    for (;;) {
        qint64 copied = 0;
        const DiskStreamCopy::Status status = stream.next(&copied);
        bytesCopied += copied;
        total += copied;
        unitsCopied_ = before + total / unit;
        if (status == DiskStreamCopy::Status::readFailed) {
            fail(QStringLiteral("error reading input file %1 - job will abort").arg(input.path));
            return false;
        }
        if (status == DiskStreamCopy::Status::writeFailed) {
            failWriting(QString::fromLocal8Bit(std::strerror(stream.errorCode())));
            return false;
        }
        if (status == DiskStreamCopy::Status::ended)
            break;
        copyOperator->showProgress(unitsCopied_);
        if (!goOn())
            return false;
    }
    if (!inputWhole(start + total))
        return false;
    const int rest = static_cast<int>(total % unit);
    if (rest != 0) {
        partialUnit(rest);
        ++unitsCopied_;
        copyOperator->showProgress(unitsCopied_);
    }
    return true;
}

bool CopyJob::copyDiskToTape()
{
    // One unit a block, and a chance for the window to repaint after each: tape writes are slow.
    // The units are read as many at a time as the buffer holds.
    const int unit = unitLength();
    const qint64 end = unitsEnd() < 0 ? inputFileSize : unitsEnd();
    const qint64 chunk = qint64(std::max(1, workBufferSize / unit)) * unit;
    while (inputFile_.pos() < end) {
        qint64 got = 0;
        if (!readInputFile(work_.get(), qMin<qint64>(chunk, end - inputFile_.pos()), &got))
            return false;
        if (got == 0)
            return inputWhole(inputFile_.pos());
        for (qint64 offset = 0; offset < got; offset += unit) {
            const qint64 block = qMin<qint64>(unit, got - offset);
            if (block < unit)
                partialUnit(static_cast<int>(block));
            if (!writeOutput(work_.get() + offset, block, unit))
                return false;
            ++unitsCopied_;
            copyOperator->showProgress(unitsCopied_);
            if (!goOn())
                return false;
        }
    }
    // What follows the units goes in blocks of its own length.
    const int block = trailerBlockLength();
    for (;;) {
        qint64 got = 0;
        if (!readInputFile(work_.get(), block, &got))
            return false;
        if (got == 0)
            return inputWhole(inputFile_.pos());
        if (!writeOutput(work_.get(), got, block))
            return false;
    }
}

bool CopyJob::copyTapeFile()
{
    for (;;) {
        if (!readInputBlock())
            return false;
        TapeDevice* tape = inputTape_;
        const int length = tape->bytesRead();
        if (tape->atFileMark() || tape->atEndOfData())
            changeInputTape();
        if (length == 0)
            return true;
        ++blocksRead_;
        ++unitsCopied_;
        if (!goOn() || !writeOutput(tape->buffer(), length, length))
            return false;
        copyOperator->showProgress(unitsCopied_);
    }
}

void CopyJob::changeInputTape()
{
    TapeDevice* next = endInputTape(lines, copyOperator, inputTape_, inputTapeNumber);
    if (next) {
        inputTape_ = next;
        return;
    }
    done = true;
    if (copyOperator->nextTapeFailed())
        driveFailed();
}

void CopyJob::endOutputTape()
{
    TapeDevice* tape = output.tape;
    if (!tape->writeFileMarks(1)) {
        driveFailed();
        return;
    }
    lines.lowLevel(QStringLiteral("Wrote second end-of-file"));
    if (!tape->noRewind() && tape->rewind())
        say(QStringLiteral("Rewind %1").arg(tape->name()));
}

void CopyJob::report()
{
    const Names texts = names();
    if (aborted) {
        lines.jobAborted();
    } else if (failed) {
        lines.jobFailed();
    } else if (!input.tape) {
        say(QStringLiteral("Copied file  ") + input.path);
    }
    if (output.tape) {
        say(QString());
        // Output goes to one tape: a job ends at its early warning.
        say(QStringLiteral("End of output tape 1"));
    }
    say(QString());
    say(QLatin1String(texts.summary));
    sayCount(bytesCopied, "byte");
    summaryCounts();
    lines.end(texts.job);
}
