#include "copy/SegdCopyJob.h"

#include "base/ObrConsole.h"
#include "copy/OutputTapeEnds.h"
#include "copy/OutputTapeOperator.h"
#include "copy/SameFile.h"
#include "copy/SegdDirectoryWatch.h"
#include "devices/TapeDevice.h"
#include "seismic/SegdFolder.h"
#include "seismic/SegdTraceHeaderRecord.h"

#include <QDateTime>
#include <QFileInfo>
#include <cstring>
#include <new>

namespace {

// Disk input is read this much at a time; a larger trace record grows the buffer.
constexpr qint64 chunkBytes = qint64(4) << 20;
constexpr int minimumNumberDigits = 5;

} // namespace

SegdCopyJob::SegdCopyJob(ObrConsole* console, OutputTapeOperator* copyOperator, const Options& options)
    : JobState(console, copyOperator), copyOperator(copyOperator), options(options),
      inputTape(options.input.tape), outputTape(options.output.tape)
{}

SegdCopyJob::~SegdCopyJob() = default;

QString SegdCopyJob::outputName(const QString& prefix, const QString& line, qint64 number, int repeat)
{
    QStringList parts;
    for (const QString& part : {prefix, line}) {
        if (!part.isEmpty())
            parts.append(part);
    }
    parts.append(QStringLiteral("%1").arg(number, minimumNumberDigits, 10, QLatin1Char('0')));
    if (repeat > 0)
        parts.append(QString::number(repeat));
    return parts.join(QLatin1Char('_')) + QStringLiteral(".sgd");
}

SegdCopyJob::Outcome SegdCopyJob::run()
{
    if (options.rangeLimit) {
        lines.say(QString());
        lines.say(options.exclude ? QStringLiteral("Initializing exclusion files list...")
                                  : QStringLiteral("Initializing inclusion files list..."));
        lines.say(QString());
    }
    if (options.zeroTraces) {
        lines.say(QString());
        lines.say(QStringLiteral("Initializing zero trace header list..."));
        lines.say(QString());
    }
    if (!prepare())
        return Outcome::Failed;
    started.start();
    lines.start("SEG-D copy");

    if (targetsDiffer())
        copyLoop();
    // A field file written whole takes its name whatever comes after; one cut short by a failure or
    // an abort is no copy of it.
    static_cast<void>(commitFinished());
    if (outputFile().discard())
        lines.outputRemoved(outputPath);
    inputFile.close();
    if (outputTape && !noMoreOutput) {
        if (!failed && !fieldFileOpen)
            endOutputTape();
        else if (tapeWritten && !OutputTapeEnds::closeEarly(outputTape, lines))
            driveFailed();
    }
    if (aborted)
        lines.jobAborted();
    else if (failed)
        console->error(QStringLiteral("  job failed"), false);
    if (outputTape && !noMoreOutput) {
        lines.say(QString());
        lines.say(QStringLiteral("End of output tape %1").arg(qMax(outputTapeNumber, 1)));
        lines.say(QStringLiteral("%1 Field Files output to this tape").arg(fieldFilesOnTape));
    }
    summary();
    chunk = std::vector<char>();
    inputMap.unmap();
    block = std::vector<char>();
    return failed ? Outcome::Failed : aborted ? Outcome::Aborted : Outcome::Copied;
}

bool SegdCopyJob::prepare()
{
    const qint64 blockBytes = qint64(qMax(options.maximumBlockKBytes, 1)) * 1024;
    blockLimit = options.blockTraces ? blockBytes : 0;
    // The copy buffer is twice the block when traces are blocked, so that a block is gathered
    // while the next records are read.
    const qint64 bufferBytes = options.blockTraces ? 2 * blockBytes : chunkBytes;
    try {
        chunk.resize(size_t(qMax(bufferBytes, chunkBytes)));
        if (outputTape && options.blockTraces)
            block.resize(size_t(blockLimit));
    } catch (const std::bad_alloc&) {
        lines.error(QStringLiteral("failed to allocate memory (%1 bytes) for SEG-D Copy").arg(bufferBytes));
        failed = true;
        return false;
    }
    return true;
}

bool SegdCopyJob::targetsDiffer()
{
    const CopyJob::Endpoint& in = options.input;
    const CopyJob::Endpoint& out = options.output;
    const bool sameTape = in.tape && in.tape == out.tape;
    if (!sameTape && !isSameFile(in.path, out.path)) {
        if (out.tape || QFileInfo(out.path).isDir())
            return true;
        fail(QStringLiteral("output directory %1 does not exist - job will abort").arg(out.path));
        return false;
    }
    fail(QStringLiteral("output %1 is the same as the input - job will abort")
             .arg(out.path.isEmpty() ? out.tape->name() : out.path));
    return false;
}

void SegdCopyJob::copyLoop()
{
    if (inputTape) {
        inputTapeNumber = 1;
    } else if (options.realTime) {
        watch = std::make_unique<SegdDirectoryWatch>(options.input.path, options.pollMilliseconds);
    } else {
        const SegdFolder::Listing listing = SegdFolder::list(options.input.path, console);
        const QString skipped = SegdFolder::skippedText(listing);
        if (!skipped.isEmpty())
            lines.say(skipped);
        inputFiles = listing.paths();
        totalFiles = inputFiles.size();
        if (totalFiles == 0) {
            fail(QStringLiteral("no SEG-D files found in directory %1").arg(options.input.path));
            return;
        }
    }
    const bool counted = !inputTape && !options.realTime;
    copyOperator->startProgress(counted ? totalFiles : JobProgress::unknownTotal);
    while (!done && !failed && goOn()) {
        if (!nextFieldFile() || !copyFieldFile())
            break;
        copyOperator->showProgress(counted ? fieldFilesDone : fieldFilesCopied);
        if (outputTape && options.tapeLimit > 0 && bytesToTape > double(options.tapeLimit))
            changeOutputTape();
    }
    copyOperator->endProgress();
}

JobResult SegdCopyJob::result() const
{
    JobResult result = JobState::result();
    result.fieldFiles = fieldFileList;
    return result;
}

QString SegdCopyJob::inputName() const
{
    return inputTape ? inputTape->name() : inputPath;
}

bool SegdCopyJob::wanted(int fieldFile) const
{
    return !options.rangeLimit || options.range.contains(fieldFile) != options.exclude;
}

bool SegdCopyJob::copyFieldFile()
{
    if (outputTapeNumber == 0)
        outputTapeNumber = 1;
    const int fieldFile = map.general().fieldFile;
    if (!wanted(fieldFile)) {
        if (!commitFinished())
            return false;
        lines.say(QStringLiteral("Field File %1  skipped").arg(fieldFile));
        fieldFileList.append({fieldFile, inputName(), QString()});
        ++fieldFilesDone;
        // A tape moves on by the field file's own records: field files need not be tape files.
        if (inputTape) {
            if (!peek(map.headerLength()))
                return false;
            consume(map.headerLength());
            if (!copyTraces(false))
                return false;
            passLeftOver(chunkFill - chunkPos, fieldFile);
            return true;
        }
        inputFile.close();
        return true;
    }
    if (map.cutShort()) {
        fail(QStringLiteral("%1 is cut short: %2 - job will abort").arg(inputName(), map.shortfall()));
        return false;
    }
    if (outputTape && !tapeStarted && !prependToTape())
        return false;
    const qint64 headerLength = map.headerLength();
    char* header = peek(headerLength);
    fieldFileBytes = 0;
    if (!header || !openOutputFile(SegdBytes(header, headerLength)) || !writeHeader(header, headerLength))
        return false;
    consume(headerLength);
    if (!copyTraces(true) || !endOutputFile())
        return false;
    if (outputTape) {
        ++fieldFilesOnTape;
        countCopied({fieldFile, inputName(),
                     QStringLiteral("%1, tape %2").arg(outputTape->name()).arg(outputTapeNumber)},
                    fieldFileBytes);
    } else {
        finished = {true, currentOutput, {fieldFile, inputName(), outputPath}, fieldFileBytes};
        currentOutput = 1 - currentOutput;
    }
    passLeftOver(inputTape ? chunkFill - chunkPos : map.bytesAfterTraces(), fieldFile);
    inputFile.close();
    ++fieldFilesDone;
    return true;
}

void SegdCopyJob::countCopied(const JobResult::FieldFile& entry, double bytes)
{
    ++fieldFilesCopied;
    fieldFileList.append(entry);
    bytesCopied += bytes;
}

bool SegdCopyJob::commitFinished()
{
    if (!finished.pending)
        return true;
    finished.pending = false;
    WholeFile& file = outputFiles[finished.output];
    // A file that took the name meanwhile is not written over.
    if (file.commit(false)) {
        countCopied(finished.entry, finished.bytes);
        return true;
    }
    fail(QStringLiteral("error writing to output file %1: %2 - job will abort")
             .arg(finished.entry.output, file.errorString()));
    if (file.discard())
        lines.outputRemoved(finished.entry.output);
    return false;
}

bool SegdCopyJob::copyTraces(bool write)
{
    for (const SegdFieldMap::Run& run : map.runs()) {
        for (int channel = 0; channel < run.channels; ++channel) {
            if (!goOn() || !copyRecord(run, write))
                return false;
        }
    }
    return true;
}

bool SegdCopyJob::copyRecord(const SegdFieldMap::Run& run, bool write)
{
    const qint64 length = run.shape.recordBytes();
    char* record = peek(length);
    if (!record)
        return false;
    const SegdBytes bytes(record, length);
    // Every trace of a channel set has the extensions of its first; another count is damage.
    if (map.statedExtensions(bytes) != run.shape.extensions) {
        fail(QStringLiteral("invalid trace record in Field File %1 (SEGD format code %2) - job will abort")
                 .arg(map.general().fieldFile)
                 .arg(map.general().formatCode));
        return false;
    }
    const SegdChannelSet& set = map.channelSets()[size_t(run.set)];
    if (write && options.zeroTraces && set.seismic() &&
        options.zeroChannels.contains(SegdTraceHeaderRecord::traceNumber(bytes)))
        std::memset(record + run.shape.headerBytes, 0, size_t(run.shape.sampleBytes));
    if (write && !writeRecord(record, length, run.set))
        return false;
    consume(length);
    return true;
}

void SegdCopyJob::summary()
{
    lines.say(QString());
    lines.say(QStringLiteral("SEG-D Copy Summary:"));
    lines.countLine(QStringLiteral("%1 bytes copied").arg(bytesCopied, 0, 'f', 0));
    lines.count(fieldFilesCopied, "field file");
    if (options.input.tape) {
        lines.count(blocksRead, "block");
        lines.count(inputTapeNumber - 1, "tape");
    }
    const qint64 milliseconds = started.elapsed();
    // The rate from the milliseconds: a copy of less than a second has a rate too.
    const double rate = bytesCopied / (qMax<qint64>(milliseconds, 1) / 1000.0 * 1048576.0);
    lines.say(QString());
    lines.say(
        QStringLiteral("SEG-D copy ended at %1").arg(JobConsole::timestamp(QDateTime::currentDateTime())));
    lines.say(QStringLiteral("   elapsed time of copy  %1 seconds").arg(milliseconds / 1000));
    lines.say(QStringLiteral("   data rate  %1 MB/sec").arg(rate, 0, 'f', 2));
    lines.say(QString());
}
