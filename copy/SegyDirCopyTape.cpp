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
    copyOperator->showCurrentFile(QStringLiteral("File %1").arg(filesCopied + 1));
    if (settings.segd) {
        const QString refusal = SegdConversionValues::refusal(current.sampleInterval, current.layout.samples,
                                                              0, settings.revision);
        if (!refusal.isEmpty()) {
            fail(QStringLiteral("file %1 on input tape %2: %3 - job will abort")
                     .arg(filesCopied + 1)
                     .arg(inputTape->name(), refusal));
            return false;
        }
    }
    tracesInFile = 0;
    const bool continuing = settings.concatenate && outputOpen;
    if (!continuing &&
        !openOutput(DirCopyNames::forTapeFile(settings.baseName, filesCopied + 1, settings.segd)))
        return false;
    if (!settings.segd && !continuing && !writeSegyHeaders(work.get(), SegyLayout::fileHeaderSize))
        return false;
    if (!copyTapeTraces(tapeEnded) || !endOutputFile())
        return false;
    ++filesCopied;
    copyOperator->showProgress(filesCopied);
    return !(outputTape && settings.outputLimit) || applyRecordBoundary();
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
    if (checkHeaders(work.get(), -1, &current))
        return true;
    failed = true;
    return false;
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
        if (settings.segd) {
            if (length != current.layout.traceLength) {
                fail(QStringLiteral(
                         "a trace of %1 bytes where %2 were expected on input tape %3 - job will abort")
                         .arg(length)
                         .arg(current.layout.traceLength)
                         .arg(inputTape->name()));
                return false;
            }
            if (!writeTraces(block, length))
                return false;
        } else {
            // Blocks go out as they came in.
            if (!write(block, length, length))
                return false;
            ++tracesOnTape;
        }
        if (!goOn())
            return false;
    }
}

void SegyDirCopyJob::changeInputTape()
{
    TapeDevice* next = endInputTape(lines, copyOperator, inputTape, inputTapeNumber);
    if (next)
        inputTape = next;
    else
        done = true;
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
