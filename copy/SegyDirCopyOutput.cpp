#include "copy/DirCopyNames.h"
#include "copy/DirCopyOperator.h"
#include "copy/Segd21Headers.h"
#include "copy/Segd31Headers.h"
#include "copy/SegdCommonHeaders.h"
#include "copy/SegdConversionValues.h"
#include "copy/SegyDirCopyJob.h"
#include "copy/SegyIeeeSamples.h"
#include "devices/TapeDevice.h"
#include "seismic/SegyLayout.h"

// The output side of the multi-file copy: output files and tapes, SEG-D conversion, tape
// changes at the byte limit, the end of the job and its summary.

bool SegyDirCopyJob::openOutput(const QString& name)
{
    traceNumber = 0;
    if (outputTape)
        return true;
    outputPath = DirCopyNames::uniquePath(settings.outputDirectory, name);
    outputFile.setFileName(outputPath);
    if (!outputFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        fail(QStringLiteral("error opening output file: ") + outputPath);
        return false;
    }
    outputOpen = true;
    return true;
}

bool SegyDirCopyJob::writeSegyHeaders(const char* headers, qint64 length)
{
    if (!outputTape)
        return write(headers, length, int(length));
    return write(headers, SegyLayout::textHeaderSize, SegyLayout::textHeaderSize) &&
           write(headers + SegyLayout::textHeaderSize, length - SegyLayout::textHeaderSize,
                 int(length - SegyLayout::textHeaderSize));
}

bool SegyDirCopyJob::writeSegdHeaders(const char* firstTrace)
{
    const SegyCopyLayout& layout = current.layout;
    segdValues = SegdConversionValues::fileValues(firstTrace, layout.littleEndian, current.sampleInterval,
                                                  layout.samples, int(tracesInFile), settings.revision);
    const QByteArray headers = segdHeaders();
    return write(headers.constData(), headers.size(), headers.size());
}

QByteArray SegyDirCopyJob::segdHeaders() const
{
    return settings.revision == 31 ? Segd31Headers::build(segdValues) : Segd21Headers::build(segdValues);
}

bool SegyDirCopyJob::writeTraces(const char* traces, qint64 length)
{
    const int traceLength = current.layout.traceLength;
    if (!settings.segd) {
        if (!write(traces, length, traceLength))
            return false;
        const qint64 count = (length + traceLength - 1) / traceLength;
        tracesOnTape += count;
        if (length % traceLength != 0)
            lines.warning(QStringLiteral("the last trace of the file is incomplete (%1 of %2 bytes); it is "
                                         "copied as it is")
                              .arg(length % traceLength)
                              .arg(traceLength));
        return true;
    }
    const SegyCopyLayout& layout = current.layout;
    const qint64 whole = length / traceLength;
    const qint64 recordBytes = SegdCommonHeaders::traceRecordBytes(layout.samples);
    if (converted.size() < size_t(whole * recordBytes))
        converted.resize(size_t(whole * recordBytes));
    for (qint64 k = 0; k < whole; ++k) {
        const char* trace = traces + k * traceLength;
        if (traceNumber == 0 && !writeSegdHeaders(trace))
            return false;
        if (traceNumber >= SegdConversionValues::largestTraceCount) {
            fail(QStringLiteral("more than %1 traces in file %2 - job will abort")
                     .arg(SegdConversionValues::largestTraceCount)
                     .arg(filesCopied + 1));
            return false;
        }
        ++traceNumber;
        char* record = converted.data() + k * recordBytes;
        SegdConversionValues::setTraceValues(segdValues, trace, layout.littleEndian, traceNumber);
        SegdCommonHeaders::writeTraceHeader(record, segdValues, settings.revision);
        SegyIeeeSamples::convert(layout.sampleFormat, layout.littleEndian,
                                 trace + SegyLayout::traceHeaderSize,
                                 record + SegdCommonHeaders::traceHeaderBytes, layout.samples);
    }
    if (length % traceLength != 0)
        lines.warning(
            QStringLiteral("the last trace of the file is incomplete (%1 of %2 bytes); it is left out")
                .arg(length % traceLength)
                .arg(traceLength));
    return write(converted.data(), whole * recordBytes, int(recordBytes));
}

bool SegyDirCopyJob::write(const char* data, qint64 length, int blockLength)
{
    if (!outputTape) {
        if (outputFile.write(data, length) != length) {
            fail(QStringLiteral("error writing to output file %1 - job will abort").arg(outputPath));
            return false;
        }
        bytesCopied += length;
        return true;
    }
    for (qint64 offset = 0; offset < length; offset += blockLength) {
        const int block = int(qMin<qint64>(blockLength, length - offset));
        if (!outputTape->write(data + offset, block)) {
            driveFailed();
            return false;
        }
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
    if (settings.concatenate)
        return true;
    // A tape input's trace count is known only now: the headers are written again with it.
    if (settings.segd && traceNumber > 0 && segdValues[SegdHeaderFields::Traces] != traceNumber) {
        segdValues[SegdHeaderFields::Traces] = traceNumber;
        const QByteArray headers = segdHeaders();
        if (!outputFile.seek(0) || outputFile.write(headers) != headers.size()) {
            fail(QStringLiteral("error writing to output file %1 - job will abort").arg(outputPath));
            return false;
        }
    }
    outputFile.close();
    outputOpen = false;
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
    say(QString());
    startOutputTape();
    bytesOnTape = 0;
    tracesOnTape = 0;
    return true;
}

void SegyDirCopyJob::endJob()
{
    // An aborted file is ended as any other, so that its headers tell what it holds.
    if (outputOpen && !failed)
        static_cast<void>(endOutputFile());
    outputFile.close();
    if (!outputTape || failed)
        return;
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

void SegyDirCopyJob::report()
{
    if (failed)
        lines.jobFailed();
    say(QString());
    say(QStringLiteral("Multiple SEG-Y Copy Summary:"));
    lines.count(bytesCopied, "byte");
    lines.count(filesCopied, "file");
    if (inputTape) {
        lines.count(blocksRead, "block");
        lines.count(inputTapeNumber - 1, "tape");
    }
    lines.end(jobName);
}
