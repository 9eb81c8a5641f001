#include "copy/DirCopyNames.h"
#include "copy/DirCopyOperator.h"
#include "copy/OutputTapeEnds.h"
#include "copy/SegyDirCopyJob.h"
#include "devices/TapeDevice.h"
#include "seismic/SegyLayout.h"

// The output side of the multi-file copy: output files and tapes, tape changes at the byte
// limit, the end of the job and its summary.

bool SegyDirCopyJob::openOutput(const QString& name)
{
    traceNumber = 0;
    if (outputTape)
        return true;
    outputPath = DirCopyNames::uniquePath(settings.outputDirectory, name);
    outputFile.setFileName(outputPath);
    if (!outputFile.open()) {
        fail(QStringLiteral("error opening output file: %1 (%2)").arg(outputPath, outputFile.errorString()));
        return false;
    }
    outputOpen = true;
    bytesBeforeOutput = bytesCopied;
    filesBeforeOutput = filesCopied;
    return true;
}

bool SegyDirCopyJob::failWriting(const QString& reason)
{
    fail(QStringLiteral("error writing to output file %1: %2 - job will abort").arg(outputPath, reason));
    return false;
}

bool SegyDirCopyJob::startWritingTape()
{
    QString refusal;
    if (OutputTapeEnds::prepare(outputTape, copyOperator, lines, &refusal))
        return true;
    refusal.isEmpty() ? driveFailed() : fail(refusal);
    return false;
}

bool SegyDirCopyJob::writeSegyHeaders(const char* headers, qint64 length)
{
    if (!outputTape)
        return write(headers, length, int(length));
    return write(headers, SegyLayout::textHeaderSize, SegyLayout::textHeaderSize) &&
           write(headers + SegyLayout::textHeaderSize, length - SegyLayout::textHeaderSize,
                 int(length - SegyLayout::textHeaderSize));
}

bool SegyDirCopyJob::writeTraces(const char* traces, qint64 length)
{
    if (settings.segd)
        return convertTraces(traces, length);
    const int traceLength = current.layout.traceLength;
    if (!write(traces, length, traceLength))
        return false;
    tracesOnTape += (length + traceLength - 1) / traceLength;
    if (length % traceLength != 0)
        lines.warning(QStringLiteral("the last trace of the file is incomplete (%1 of %2 bytes); it is "
                                     "copied as it is")
                          .arg(length % traceLength)
                          .arg(traceLength));
    return true;
}

bool SegyDirCopyJob::write(const char* data, qint64 length, int blockLength)
{
    if (!outputTape) {
        if (!outputFile.write(data, length))
            return failWriting(outputFile.errorString());
        bytesCopied += length;
        return true;
    }
    for (qint64 offset = 0; offset < length; offset += blockLength) {
        const int block = int(qMin<qint64>(blockLength, length - offset));
        if (!outputTape->write(data + offset, block)) {
            driveFailed();
            return false;
        }
        tapeWritten = true;
        bytesCopied += block;
        bytesOnTape += block;
    }
    return true;
}

bool SegyDirCopyJob::endOutputFile()
{
    if (outputTape) {
        if (outputTape->writeFileMarks(1))
            return true;
        driveFailed();
        return false;
    }
    // A concatenation's one output ends with the job.
    return settings.concatenate || closeOutputFile();
}

bool SegyDirCopyJob::closeOutputFile()
{
    // A tape input's trace count is known only now: the headers are written again with it.
    if (settings.segd && traceNumber > 0 && segdValues[SegdWrittenFields::Traces] != traceNumber) {
        segdValues[SegdWrittenFields::Traces] = traceNumber;
        const QByteArray headers = segdHeaders();
        if (!outputFile.seek(0) || !outputFile.write(headers.constData(), headers.size()))
            return failWriting(outputFile.errorString());
    }
    // The name was free when the file was opened; one taken meanwhile is not written over.
    if (!outputFile.commit(false))
        return failWriting(outputFile.errorString());
    outputOpen = false;
    outputsOfFile.append(outputPath);
    return true;
}

void SegyDirCopyJob::startOutputTape()
{
    if (outputTape)
        say(QStringLiteral("Start of output tape %1").arg(outputTapeNumber));
}

bool SegyDirCopyJob::changeOutputTape()
{
    say(QString());
    say(QStringLiteral("End of output tape %1").arg(outputTapeNumber));
    ++outputTapeNumber;
    say(QString());
    say(QStringLiteral("Writing double end-of-file to output tape"));
    // The last file ended with its own file mark: one more makes the double end-of-file.
    if (!outputTape->writeFileMarks(1)) {
        driveFailed();
        return false;
    }
    say(QString());
    if (outputTape->unloadAtEnd())
        static_cast<void>(
            outputTape->unload()); // a failed unload is reported by the drive and changes nothing
    TapeDevice* next = copyOperator->nextOutputTape(outputTape);
    if (!next) {
        say(QString());
        say(QStringLiteral("No more output. Job will end"));
        done = true;
        // The tape just closed holds its double file mark already.
        outputTape = nullptr;
        return false;
    }
    outputTape = next;
    tapeWritten = false;
    if (!startWritingTape()) {
        outputTape = nullptr;
        return false;
    }
    say(QString());
    startOutputTape();
    bytesOnTape = 0;
    tracesOnTape = 0;
    return true;
}

void SegyDirCopyJob::endJob()
{
    if (failed || aborted) {
        // A file stopped part way is no copy of its input; on tape, marks close what was written.
        removeOutputsOfFile();
        if (outputTape && tapeWritten && !OutputTapeEnds::closeEarly(outputTape, lines))
            driveFailed();
        return;
    }
    if (!outputTape) {
        if (outputOpen && !closeOutputFile())
            removeOutputsOfFile();
        return;
    }
    if (!outputTape->writeFileMarks(1)) {
        driveFailed();
        return;
    }
    lines.lowLevel(QStringLiteral("Wrote second end-of-file"));
    if (!outputTape->noRewind() && outputTape->rewind())
        say(QStringLiteral("Rewind %1").arg(outputTape->name()));
    say(QString());
    say(QStringLiteral("End of output tape %1").arg(outputTapeNumber));
}

void SegyDirCopyJob::removeOutputsOfFile()
{
    if (outputOpen) {
        outputOpen = false;
        if (outputFile.discard())
            lines.outputRemoved(outputPath);
        if (settings.concatenate) {
            bytesCopied = bytesBeforeOutput;
            filesCopied = filesBeforeOutput;
            return;
        }
    }
    for (const QString& path : qAsConst(outputsOfFile)) {
        if (QFile::remove(path))
            lines.outputRemoved(path);
        else
            lines.error(QStringLiteral("error removing output file %1").arg(path));
    }
    outputsOfFile.clear();
    bytesCopied = bytesBeforeFile;
}

void SegyDirCopyJob::report()
{
    if (aborted)
        lines.jobAborted();
    else if (failed)
        lines.jobFailed();
    say(QString());
    say(QStringLiteral("Multiple SEG-Y Copy Summary:"));
    lines.count(bytesCopied, "byte");
    lines.count(filesCopied, "file");
    if (filesRefused > 0)
        lines.count(filesRefused, "file", "passed over");
    if (settings.segd)
        lines.count(fieldFilesWritten, "SEG-D field file", "written");
    if (inputTape) {
        lines.count(blocksRead, "block");
        lines.count(inputTapeNumber - 1, "tape");
    }
    lines.end(jobName);
}
