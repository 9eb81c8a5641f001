#pragma once

#include "base/BackgroundIo.h"

#include <QtGlobal>
#include <deque>
#include <memory>

// A stretch of a file read front to back in pieces: the next pieces are read on a thread of their
// own while the caller works on the one in hand.
class ReadAhead {
public:
    // Pieces in memory at once: the one in hand and those read ahead.
    static constexpr int pieces = 4;

    ReadAhead() = default;
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Starts reading `length` bytes from `offset` of the open descriptor `handle` in pieces of
    // `pieceLength` bytes; false when there is no memory for them.
    [[nodiscard]] bool start(int handle, qint64 offset, qint64 length, qint64 pieceLength);
    // The next piece, `pieceLength` bytes or what is left (its length in *length); nullptr when
    // the stretch is read, or when it could not be (failed()). The bytes stay until the next call.
    const char* next(qint64* length);
    // Waits for the reads queued: the file may close after it. Its buffers stay for the next start.
    void stop() { settle(); }
    // The file ended before the stretch did, or could not be read (error() the code, else 0).
    bool failed() const { return failure; }
    int error() const { return errorCode; }

private:
    // Queues the read of the next piece into buffer `index`, when pieces are left.
    void readInto(int index);
    // Waits for every read queued.
    void settle();

    qint64 piece = 0;
    qint64 capacity = 0;
    std::unique_ptr<char[]> buffers[pieces];
    // The reads queued, oldest first: the buffer each fills and the bytes it asks for.
    std::deque<std::pair<int, qint64>> reading;
    int held = -1;
    int handle = -1;
    qint64 offset = 0;
    qint64 left = 0;
    bool failure = false;
    int errorCode = 0;
    // Last, so that it ends (and the read in hand with it) before the buffers go.
    BackgroundIo io;
};
