#include "copy/TapeFileBlocks.h"

#include "copy/CopyOperator.h"
#include "devices/TapeDevice.h"

#include <cstring>

void TapeFileBlocks::start()
{
    held.clear();
    heldStart = 0;
    firstBlock = 0;
    end = End::Open;
}

bool TapeFileBlocks::pull()
{
    if (end != End::Open)
        return false;
    if (!progress->keepAlive()) {
        end = End::Stopped;
        return false;
    }
    if (!tape->readBlock()) {
        end = End::DriveFailed;
        return false;
    }
    const int length = tape->bytesRead();
    if (tape->atEndOfData() || tape->atFileMark() || length == 0) {
        end = tape->atEndOfData() ? End::EndOfData : End::FileMark;
        return false;
    }
    if (readEnd() == 0)
        firstBlock = length;
    held.insert(held.end(), tape->buffer(), tape->buffer() + length);
    return true;
}

bool TapeFileBlocks::readUpTo(qint64 wanted)
{
    while (readEnd() < wanted) {
        if (!pull())
            return false;
    }
    return true;
}

bool TapeFileBlocks::passTo(qint64 wanted)
{
    release(wanted);
    while (readEnd() < wanted) {
        if (!pull())
            return false;
        release(wanted);
    }
    return true;
}

void TapeFileBlocks::passRest()
{
    do
        release(readEnd());
    while (pull());
}

void TapeFileBlocks::release(qint64 offset)
{
    const qint64 count = qBound<qint64>(0, offset - heldStart, qint64(held.size()));
    held.erase(held.begin(), held.begin() + count);
    heldStart += count;
}

qint64 TapeFileBlocks::copy(qint64 offset, void* buffer, qint64 length) const
{
    if (offset < heldStart || offset >= readEnd() || length <= 0)
        return 0;
    const qint64 count = qMin(length, readEnd() - offset);
    std::memcpy(buffer, held.data() + (offset - heldStart), size_t(count));
    return count;
}
