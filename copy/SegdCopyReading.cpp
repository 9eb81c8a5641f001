#include "base/ObrConsole.h"
#include "copy/InputTapeChange.h"
#include "copy/OutputTapeOperator.h"
#include "copy/SegdCopyJob.h"
#include "copy/SegdDirectoryWatch.h"
#include "devices/TapeDevice.h"
#include "seismic/SegdBytes.h"

#include <QElapsedTimer>
#include <QThread>
#include <cstring>
#include <new>

namespace {

constexpr int sercelFormatCode = 8058;
// Some recorders put a 128-byte label block in front of a field file's headers; a header
// block of that length begins with a format code byte of 0 or 50h.
constexpr int labelBlockBytes = 128;
constexpr uchar headerFormatBytes[] = {0x00, 0x50};
// While waiting for new field files the operator is heard this often.
constexpr int waitSliceMilliseconds = 50;

// A label block, passed over; a 128-byte block that is a whole field file header of its own
// length (one channel set, no extended or external header) is kept.
bool isLabelBlock(const char* data, int length)
{
    const uchar formatByte = uchar(data[2]);
    if (length != labelBlockBytes || formatByte == headerFormatBytes[0] || formatByte == headerFormatBytes[1])
        return false;
    SegdFieldLayout header;
    QString errorText;
    return !header.readGeneralHeader(SegdBytes(data, length), &errorText) || header.headerLength() != length;
}

} // namespace

bool SegdCopyJob::nextFieldFile()
{
    chunkPos = 0;
    chunkFill = 0;
    if (inputTape) {
        if (!readTapeHeaderBlock())
            return false;
    } else {
        if (!nextDiskFile(&inputPath))
            return false;
        inputFile.setFileName(inputPath);
        if (!inputFile.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            fail(QStringLiteral("error opening input file: ") + inputPath);
            return false;
        }
    }
    return readHeaders();
}

bool SegdCopyJob::nextDiskFile(QString* path)
{
    if (!options.realTime) {
        if (fieldFilesDone >= inputFiles.size()) {
            done = true;
            return false;
        }
        *path = inputFiles.at(fieldFilesDone);
        return true;
    }
    for (;;) {
        if (!inputFiles.isEmpty()) {
            *path = inputFiles.takeFirst();
            return true;
        }
        QStringList oversized;
        watch->poll(&inputFiles, &oversized);
        for (const QString& file : qAsConst(oversized))
            lines.warning(
                QStringLiteral("%1 holds more bytes than its headers announce - passed over").arg(file));
        if (inputFiles.isEmpty() && !waitForFiles())
            return false;
    }
}

bool SegdCopyJob::waitForFiles()
{
    QElapsedTimer waiting;
    waiting.start();
    do {
        if (!goOn())
            return false;
        QThread::msleep(quint32(qMin(waitSliceMilliseconds, options.pollMilliseconds)));
    } while (waiting.elapsed() < options.pollMilliseconds);
    return true;
}

bool SegdCopyJob::readTapeHeaderBlock()
{
    for (;;) {
        if (!inputTape->readBlock()) {
            driveFailed();
            fail(QStringLiteral("error reading input tape %1 - job will abort").arg(inputTape->name()));
            return false;
        }
        const int length = inputTape->bytesRead();
        if (inputTape->atEndOfData() || inputTape->atFileMark() || length == 0) {
            // Field files may stand in tape files of their own; two file marks in a row, or
            // the end of data, end the tape.
            if (inputTape->atEndOfData() || lastWasFileMark) {
                lastWasFileMark = false;
                changeInputTape();
                if (done)
                    return false;
            } else {
                lastWasFileMark = true;
            }
            continue;
        }
        lastWasFileMark = false;
        ++blocksRead;
        if (isLabelBlock(inputTape->buffer(), length))
            continue;
        if (size_t(length) > chunk.size())
            chunk.resize(size_t(length));
        std::memcpy(chunk.data(), inputTape->buffer(), size_t(length));
        chunkFill = length;
        return true;
    }
}

void SegdCopyJob::changeInputTape()
{
    TapeDevice* next = endInputTape(lines, copyOperator, inputTape, inputTapeNumber);
    if (next)
        inputTape = next;
    else
        done = true;
}

bool SegdCopyJob::readHeaders()
{
    // A disk file shorter than the three leading blocks may still be a revision 0 field file.
    if (!inputTape && chunkFill < SegdGeneralHeader::leadingBytes && !refill(0))
        return false;
    const qint64 leading = qMin<qint64>(chunkFill - chunkPos, SegdGeneralHeader::leadingBytes);
    QString errorText;
    if (!layout.readGeneralHeader(SegdBytes(chunk.data() + chunkPos, leading), &errorText)) {
        fail(errorText + QStringLiteral(" in ") + (inputTape ? inputTape->name() : inputPath));
        return false;
    }
    const SegdGeneralHeader& general = layout.general();
    if (layout.sercelRevision3()) {
        lines.say(QStringLiteral("Input Field File %1 Sercel rev 3 format.").arg(general.fieldFile));
        if (general.formatCode != sercelFormatCode) {
            // One pop-up for a run of such files; the console shows each.
            console->warning(
                QStringLiteral("Unexpected SEGD format code (%1) for Sercel data.").arg(general.formatCode),
                !warnedFormat);
            warnedFormat = true;
        }
    }
    const char* header = peek(layout.headerLength());
    if (!header)
        return false;
    layout.readChannelSets(SegdBytes(header, layout.headerLength()));
    return true;
}

char* SegdCopyJob::peek(qint64 n)
{
    if (chunkFill - chunkPos >= n || refill(n))
        return chunk.data() + chunkPos;
    return nullptr;
}

bool SegdCopyJob::refill(qint64 n)
{
    if (!flushSpan())
        return false;
    const qint64 held = chunkFill - chunkPos;
    std::memmove(chunk.data(), chunk.data() + chunkPos, size_t(held));
    chunkPos = 0;
    chunkFill = held;
    // A length no input could hold is refused before memory is taken for it.
    const qint64 available = inputTape ? n : held + inputFile.size() - inputFile.pos();
    if (n > available) {
        failReading();
        return false;
    }
    try {
        if (size_t(n) > chunk.size())
            chunk.resize(size_t(n));
    } catch (const std::bad_alloc&) {
        lines.error(QStringLiteral("failed to allocate memory (%1 bytes) for SEG-D Copy").arg(n));
        failed = true;
        return false;
    }
    if (!inputTape) {
        // As much as the buffer takes: the next records come with this read.
        do {
            const qint64 got = inputFile.read(chunk.data() + chunkFill, qint64(chunk.size()) - chunkFill);
            if (got < 0 || (got == 0 && chunkFill < n)) {
                failReading();
                return false;
            }
            chunkFill += got;
            if (got == 0)
                break;
        } while (chunkFill < n);
        return true;
    }
    while (chunkFill < n) {
        if (!inputTape->readBlock()) {
            driveFailed();
            failReading();
            return false;
        }
        const int length = inputTape->bytesRead();
        if (inputTape->atFileMark() || inputTape->atEndOfData() || length == 0) {
            lastWasFileMark = inputTape->atFileMark();
            fail(QStringLiteral("Field File %1 ends before its last trace on input tape %2 - job will abort")
                     .arg(layout.general().fieldFile)
                     .arg(inputTape->name()));
            return false;
        }
        ++blocksRead;
        if (size_t(chunkFill + length) > chunk.size())
            chunk.resize(size_t(chunkFill + length));
        std::memcpy(chunk.data() + chunkFill, inputTape->buffer(), size_t(length));
        chunkFill += length;
    }
    return true;
}

void SegdCopyJob::failReading()
{
    if (inputTape)
        fail(QStringLiteral("error reading input tape %1 - job will abort").arg(inputTape->name()));
    else
        fail(QStringLiteral("error reading input file %1 - job will abort").arg(inputPath));
}
