#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Writes and copies to files done in order on a thread of their own, so that the caller works on
// one buffer while the system takes others. The thread starts with the first transfer and
// ends with the object, after the transfer in hand: the owner waits for those it needs.
class BackgroundIo {
public:
    // What a transfer did: the bytes it moved, and the system's error code when it stopped short.
    struct Outcome {
        qint64 done = 0;
        int error = 0;
    };

    BackgroundIo() = default;
    ~BackgroundIo();
    BackgroundIo(const BackgroundIo&) = delete;
    BackgroundIo& operator=(const BackgroundIo&) = delete;

    // Run on the thread just before a write: the system's error code that refuses it, else 0.
    using Check = std::function<int()>;

    // Queues writing `length` bytes of `data` to `handle` where its position stands (at `offset`
    // when that is not negative). The bytes must stay as they are until the write is waited for.
    // A `check` that refuses the write makes its outcome, nothing written.
    void startWrite(int handle, const char* data, qint64 length, qint64 offset = -1, Check check = {});
    // Queues copying `length` bytes at `offset` of `from` to `to` where its position stands, by the
    // kernel when the files allow it, and closes `from` after. A copy that meets the end of `from`
    // fails with EIO.
    void startCopy(int from, qint64 offset, int to, qint64 length);
    // Waits for the oldest transfer not yet waited for and tells what it did.
    Outcome wait();
    // The transfers not yet waited for.
    int queued() const { return int(transfers.size()); }
    // Those of them done: waiting for them does not block.
    int done();

    // The same transfers on the caller's thread, going on after partial transfers and
    // interruptions; and a read of up to `length` bytes, short only at the end of the file.
    static Outcome writeAll(int handle, const char* data, qint64 length, qint64 offset = -1);
    static Outcome readAll(int handle, char* buffer, qint64 length, qint64 offset);
    static Outcome copyAll(int from, qint64 offset, int to, qint64 length);

private:
    enum class Kind { Write, Copy };
    struct Transfer {
        Kind kind = Kind::Write;
        int handle = -1;
        // A copy's source.
        int from = -1;
        char* buffer = nullptr;
        qint64 length = 0;
        qint64 offset = -1;
        Check check;
        bool finished = false;
        Outcome outcome;
    };

    void queue(const Transfer& transfer);
    void work();

    std::mutex mutex;
    std::condition_variable wake;
    std::thread worker;
    // Oldest first; the first `finished` of them are done.
    std::deque<Transfer> transfers;
    int finished = 0;
    bool stopping = false;
};
