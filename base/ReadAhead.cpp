#include "base/ReadAhead.h"

#include <algorithm>
#include <new>

bool ReadAhead::start(int fileHandle, qint64 from, qint64 length, qint64 pieceLength)
{
    settle();
    piece = std::max<qint64>(pieceLength, 1);
    if (piece > capacity) {
        capacity = 0;
        for (std::unique_ptr<char[]>& buffer : buffers) {
            buffer.reset(new (std::nothrow) char[size_t(piece)]);
            if (!buffer)
                return false;
        }
        capacity = piece;
    }
    handle = fileHandle;
    offset = from;
    left = length;
    failure = false;
    errorCode = 0;
    held = -1;
    for (int index = 0; index < pieces - 1; ++index)
        readInto(index);
    return true;
}

void ReadAhead::readInto(int index)
{
    const qint64 asked = std::min(piece, left);
    if (asked <= 0)
        return;
    io.startRead(handle, buffers[index].get(), asked, offset);
    reading.emplace_back(index, asked);
    offset += asked;
    left -= asked;
}

void ReadAhead::settle()
{
    for (; !reading.empty(); reading.pop_front())
        static_cast<void>(io.wait());
}

const char* ReadAhead::next(qint64* length)
{
    *length = 0;
    if (failure)
        return nullptr;
    if (held >= 0)
        readInto(held);
    held = -1;
    if (reading.empty())
        return nullptr;
    const auto [index, asked] = reading.front();
    reading.pop_front();
    const BackgroundIo::Outcome got = io.wait();
    if (got.done != asked) {
        failure = true;
        errorCode = got.error;
        settle();
        return nullptr;
    }
    held = index;
    *length = got.done;
    return buffers[index].get();
}
