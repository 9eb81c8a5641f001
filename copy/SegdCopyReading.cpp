#include "base/ObrConsole.h"
#include "copy/InputTapeChange.h"
#include "copy/OutputTapeOperator.h"
#include "copy/SegdCopyJob.h"
#include "copy/SegdDirectoryWatch.h"
#include "copy/SegdTapeLabel.h"
#include "devices/TapeDevice.h"
#include "seismic/SegdByteSource.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <cstring>
#include <new>

namespace {

constexpr int sercelFormatCode = 8058;
// While waiting for new field files the operator is heard this often.
constexpr int waitSliceMilliseconds = 50;
// How far the field map may read ahead into a tape file to tell where the traces lie.
constexpr qint64 tapeLookAhead = qint64(64) << 20;

} // namespace

// The field file in hand as the field map reads it: the bytes the chunk holds from the field
// file's first byte, then a disk file's further bytes, or a tape file's further blocks (read
// into the chunk, as far as the look-ahead goes).
class SegdCopyJob::InputSource : public SegdByteSource {
public:
    explicit InputSource(SegdCopyJob& job) : job(job) {}

    qint64 size() const override
    {
        if (!job.inputTape)
            return job.inputFile.size();
        return job.tapeFileEnded ? job.chunkFill : -1;
    }

    qint64 read(qint64 offset, uchar* buffer, qint64 length) override
    {
        if (offset < 0 || length <= 0)
            return 0;
        if (job.inputTape) {
            while (job.chunkFill < offset + length && job.chunkFill < tapeLookAhead && job.pullTapeBlock()) {
            }
        }
        qint64 got = 0;
        if (offset < job.chunkFill) {
            got = std::min(length, job.chunkFill - offset);
            std::memcpy(buffer, job.chunkData() + offset, size_t(got));
        }
        if (got == length || job.inputTape)
            return got;
        // A disk file's bytes beyond the chunk, read without moving the copy's own position.
        QFile& file = job.inputFile;
        const qint64 resume = file.pos();
        qint64 more = 0;
        if (file.seek(offset + got))
            more = std::max<qint64>(file.read(reinterpret_cast<char*>(buffer) + got, length - got), 0);
        if (!file.seek(resume))
            return 0;
        return got + more;
    }

private:
    SegdCopyJob& job;
};

bool SegdCopyJob::nextFieldFile()
{
    if (carried) {
        carried = false;
        return readHeaders();
    }
    chunkPos = 0;
    chunkFill = 0;
    tapeFileEnded = false;
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
        // Records changed on the way need a copy of their own: those go through the chunk.
        inputMap.unmap();
        if (!options.zeroTraces && inputMap.map(inputFile.handle(), inputFile.size()))
            chunkFill = inputMap.size();
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
        const SegdDirectoryWatch::Found found = watch->poll();
        inputFiles = found.ready;
        for (const QString& file : found.oversized)
            lines.warning(
                QStringLiteral("%1 holds more bytes than its headers announce - passed over").arg(file));
        for (const QString& file : found.incomplete)
            lines.warning(QStringLiteral("%1 has not grown for %2 seconds and is still short of what its "
                                         "headers announce - passed over while it stays so")
                              .arg(file)
                              .arg(watch->stillSeconds(), 0, 'f', 1));
        // A field file copied has its name before the job waits for the next.
        if (inputFiles.isEmpty() && (!commitFinished() || !waitForFiles()))
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
        // A label block is passed over.
        if (SegdTapeLabel::isLabelBlock(inputTape->buffer(), length))
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
    if (next) {
        inputTape = next;
        return;
    }
    done = true;
    if (copyOperator->nextTapeFailed())
        driveFailed();
}

bool SegdCopyJob::pullTapeBlock()
{
    if (tapeFileEnded)
        return false;
    if (!inputTape->readBlock()) {
        driveFailed();
        tapeFileEnded = true;
        return false;
    }
    const int length = inputTape->bytesRead();
    if (inputTape->atFileMark() || inputTape->atEndOfData() || length == 0) {
        lastWasFileMark = inputTape->atFileMark();
        tapeFileEnded = true;
        return false;
    }
    ++blocksRead;
    try {
        if (size_t(chunkFill + length) > chunk.size())
            chunk.resize(size_t(chunkFill + length));
    } catch (const std::bad_alloc&) {
        tapeFileEnded = true;
        return false;
    }
    std::memcpy(chunk.data() + chunkFill, inputTape->buffer(), size_t(length));
    chunkFill += length;
    return true;
}

bool SegdCopyJob::readHeaders()
{
    // A disk file shorter than the three leading blocks may still be a revision 0 field file.
    if (!inputTape && chunkFill < SegdGeneralHeader::leadingBytes && !refill(0))
        return false;
    const QString name = inputName();
    InputSource source(*this);
    const bool mapped = map.read(source);
    if (console->debugEnabled()) {
        for (const QString& note : map.notes())
            console->debug(QStringLiteral("%1: %2").arg(name, note));
    }
    if (!mapped) {
        fail(QStringLiteral("%1: %2 - job will abort").arg(name, map.problem()));
        return false;
    }
    const SegdGeneralHeader& general = map.general();
    if (general.sercel() && general.majorRevision == 3) {
        lines.say(QStringLiteral("Input Field File %1 Sercel rev 3 format.").arg(general.fieldFile));
        if (general.formatCode != sercelFormatCode) {
            // One pop-up for a run of such files; the console shows each.
            console->warning(
                QStringLiteral("Unexpected SEGD format code (%1) for Sercel data.").arg(general.formatCode),
                !warnedFormat);
            warnedFormat = true;
        }
    }
    return true;
}

char* SegdCopyJob::peek(qint64 n)
{
    if (chunkFill - chunkPos >= n || refill(n))
        return chunkData() + chunkPos;
    return nullptr;
}

char* SegdCopyJob::chunkData()
{
    // The mapping is read-only: it is used only while nothing is changed in place.
    return inputMap.data() ? const_cast<char*>(inputMap.data()) : chunk.data();
}

bool SegdCopyJob::refill(qint64 n)
{
    if (!flushSpan())
        return false;
    const qint64 held = chunkFill - chunkPos;
    // A mapped file is all there already.
    if (inputMap.data()) {
        if (n <= held)
            return true;
        failReading();
        return false;
    }
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
        if (!pullTapeBlock()) {
            if (!failed)
                fail(QStringLiteral(
                         "Field File %1 ends before its last trace on input tape %2 - job will abort")
                         .arg(map.general().fieldFile)
                         .arg(inputTape->name()));
            return false;
        }
    }
    return true;
}

void SegdCopyJob::passLeftOver(qint64 left, int fieldFile)
{
    // Blocks read ahead may hold the next field file of the same tape file.
    if (inputTape && left >= SegdGeneralHeader::blockBytes &&
        SegdGeneralHeader::looksValid(SegdBytes(chunk.data() + chunkPos, left))) {
        std::memmove(chunk.data(), chunk.data() + chunkPos, size_t(left));
        chunkPos = 0;
        chunkFill = left;
        carried = true;
        return;
    }
    if (left > 0)
        lines.warning(QStringLiteral("%1 bytes after the last trace of Field File %2 not copied")
                          .arg(left)
                          .arg(fieldFile));
}

void SegdCopyJob::failReading()
{
    if (inputTape)
        fail(QStringLiteral("error reading input tape %1 - job will abort").arg(inputTape->name()));
    else
        fail(QStringLiteral("error reading input file %1 - job will abort").arg(inputPath));
}
