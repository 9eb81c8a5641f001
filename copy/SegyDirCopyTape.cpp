#include "base/ObrConsole.h"
#include "copy/DirCopyNames.h"
#include "copy/DirCopyOperator.h"
#include "copy/InputTapeChange.h"
#include "copy/SegdConversionValues.h"
#include "copy/SegyDirCopyJob.h"
#include "devices/TapeDevice.h"
#include "seismic/SegyLayout.h"

#include <QtEndian>
#include <cstring>

// The tape input of the multi-file copy: one output file per tape file, input tape changes,
// and the record-boundary rule that changes output tapes between records.

void SegyDirCopyJob::copyTapeInput()
{
    say(QString());
    say(QStringLiteral("Start of input tape %1").arg(inputTapeNumber));
    startOutputTape();
    while (!done && !failed) {
        bool tapeEnded = false;
        if (!copyTapeFile(&tapeEnded))
            break;
        if (tapeEnded)
            changeInputTape();
    }
}

bool SegyDirCopyJob::copyTapeFile(bool* tapeEnded)
{
    if (!readTapeHeaders(tapeEnded))
        return false;
    if (*tapeEnded)
        return true;
    const int number = filesCopied + filesRefused + 1;
    copyOperator->showCurrentFile(QStringLiteral("File %1").arg(number));
    startInputFile(DirCopyNames::forTapeFile(settings.baseName, number, settings.segd));
    const QString problem = headerProblem(work.get(), -1, &current);
    if (!problem.isEmpty() && !settings.segd) {
        fail(QStringLiteral("%1: %2 - job will abort").arg(tapeFileLabel(), problem));
        return false;
    }
    if (settings.segd) {
        const QString why = problem.isEmpty()
                                ? SegdConversionValues::refusal(current.sampleInterval,
                                                                current.layout.samples, 0, settings.revision)
                                : problem;
        // A file refused here is read to its end all the same, to go on with the next.
        if (!why.isEmpty())
            refuse(why);
    }
    tracesInFile = 0;
    const bool continuing = settings.concatenate && outputOpen;
    if (!settings.segd && !continuing &&
        (!openOutput(outputName) || !writeSegyHeaders(work.get(), SegyLayout::fileHeaderSize)))
        return false;
    bool copied = false;
    if (!copyTapeTraces(tapeEnded) || !endInputFile(tapeFileLabel(), &copied))
        return false;
    copyOperator->showProgress(filesCopied + filesRefused);
    return !(outputTape && settings.outputLimit) || applyRecordBoundary();
}

QString SegyDirCopyJob::tapeFileLabel() const
{
    return QStringLiteral("file %1 on input tape %2")
        .arg(filesCopied + filesRefused + 1)
        .arg(inputTape->name());
}

bool SegyDirCopyJob::readTapeHeaders(bool* tapeEnded)
{
    // The textual header: a file mark in its place is the second in a row, the end of the tape.
    if (!inputTape->readBlock()) {
        driveFailed();
        return false;
    }
    if (inputTape->bytesRead() == 0 || inputTape->atFileMark() || inputTape->atEndOfData()) {
        *tapeEnded = true;
        return true;
    }
    const int textLength = qMin(inputTape->bytesRead(), int(SegyLayout::textHeaderSize));
    std::memset(work.get(), ' ', SegyLayout::fileHeaderSize);
    std::memcpy(work.get(), inputTape->buffer(), size_t(textLength));
    ++blocksRead;
    if (!inputTape->readBlock()) {
        driveFailed();
        return false;
    }
    if (inputTape->bytesRead() == 0 || inputTape->atFileMark() || inputTape->atEndOfData()) {
        fail(QStringLiteral("encountered eof reading binary header on input tape %1 - job will abort")
                 .arg(inputTape->name()));
        return false;
    }
    std::memset(work.get() + SegyLayout::textHeaderSize, 0, SegyLayout::binaryHeaderSize);
    std::memcpy(work.get() + SegyLayout::textHeaderSize, inputTape->buffer(),
                size_t(qMin(inputTape->bytesRead(), int(SegyLayout::binaryHeaderSize))));
    ++blocksRead;
    return true;
}

bool SegyDirCopyJob::copyTapeTraces(bool* tapeEnded)
{
    for (;;) {
        if (!inputTape->readBlock()) {
            driveFailed();
            return false;
        }
        const int length = inputTape->bytesRead();
        if (inputTape->atEndOfData())
            *tapeEnded = true;
        if (length == 0 || inputTape->atFileMark() || inputTape->atEndOfData())
            return true;
        ++blocksRead;
        const char* block = inputTape->buffer();
        lastTraceHeader = QByteArray(block, qMin(length, int(SegyLayout::traceHeaderSize)));
        if (!settings.segd) {
            // Blocks go out as they came in.
            if (!write(block, length, length))
                return false;
            ++tracesOnTape;
        } else if (refusal.isEmpty() && length != current.layout.traceLength) {
            refuse(QStringLiteral("a trace of %1 bytes where %2 were expected")
                       .arg(length)
                       .arg(current.layout.traceLength));
        } else if (refusal.isEmpty() && !writeTraces(block, length) && refusal.isEmpty()) {
            return false;
        }
        if (!goOn())
            return false;
    }
}

void SegyDirCopyJob::changeInputTape()
{
    TapeDevice* next = endInputTape(lines, copyOperator, inputTape, inputTapeNumber);
    if (next) {
        inputTape = next;
        return;
    }
    done = true;
    if (copyOperator->nextTapeFailed())
        driveFailed();
}

qint64 SegyDirCopyJob::recordValue() const
{
    const int size = settings.recordSize == 2 ? 2 : 4;
    const int offset = settings.recordByte - 1;
    if (offset < 0 || offset + size > lastTraceHeader.size())
        return 0;
    const char* at = lastTraceHeader.constData() + offset;
    const bool little = current.layout.littleEndian;
    if (size == 2)
        return little ? qFromLittleEndian<qint16>(at) : qFromBigEndian<qint16>(at);
    return little ? qFromLittleEndian<qint32>(at) : qFromBigEndian<qint32>(at);
}

bool SegyDirCopyJob::applyRecordBoundary()
{
    const qint64 value = recordValue();
    if (!recordKnown) {
        say(QStringLiteral("First record =  %1").arg(value));
        recordKnown = true;
        currentRecord = value;
        sameRecordCount = 0;
        return true;
    }
    if (value == currentRecord) {
        if (++sameRecordCount == sameRecordWarning) {
            console->warning(QStringLiteral("record has not changed after %1 traces.").arg(sameRecordWarning),
                             true);
            console->warning(QStringLiteral("tape may exceed maximum specified output."), true);
        }
        return true;
    }
    currentRecord = value;
    sameRecordCount = 0;
    if (bytesOnTape < settings.bytesPerTapeLimit)
        return true;
    say(QStringLiteral("Last record =  %1").arg(value));
    say(QString());
    say(QStringLiteral("Output tape %1 is full with:").arg(outputTapeNumber));
    say(QStringLiteral("     %1 traces").arg(tracesOnTape));
    say(QStringLiteral("     %1 bytes").arg(bytesOnTape));
    say(QString());
    if (!changeOutputTape()) {
        if (!inputTape->noRewind() && inputTape->rewind())
            say(QStringLiteral("Rewind %1").arg(inputTape->name()));
        return false;
    }
    say(QStringLiteral("Continuing output on file %1").arg(filesCopied + 1));
    recordKnown = false;
    return true;
}
