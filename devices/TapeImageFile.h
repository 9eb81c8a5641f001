#pragma once

#include "base/BackgroundIo.h"

#include <QString>
#include <QtGlobal>
#include <vector>

// The file under a tape image, read and written in large pieces. Reads come from a window of the file
// read ahead (or behind, when the tape moves backward); writes of a streaming job are gathered and go
// out as one call each. An element (a record with its framing, or a mark) is never split between the
// file and memory: a failed write leaves the file ending after the last whole element it took.
//
// A run of writes starts on the caller's thread: its first element reaches the file at once, then no
// more waits in memory than the run has written. Once the run has written a window, each window of
// gathered elements (a copy of the caller's bytes) goes to the file on a thread of its own while the
// job goes on, a few windows at most. A write that failed there is told by the first put() that hands
// on a window after it ended, or by settle(); marks, reads, truncations and settle() first wait for
// every write queued.
//
// The file is checked (still the one at the path, still reaching the bytes relied on) whenever a
// window is read or gathered elements go out, a window behind the job on its thread just before it
// is written: about every `window` bytes (2 MiB) while a job streams, and at every mark, since the
// image writes marks at once.
class TapeImageFile {
public:
    static constexpr qint64 window = qint64(2) << 20;

    explicit TapeImageFile(const QString& path) : path(path) {}
    ~TapeImageFile();
    TapeImageFile(const TapeImageFile&) = delete;
    TapeImageFile& operator=(const TapeImageFile&) = delete;

    // Takes the open file descriptor `handle` (kept open by its owner) of `size` bytes.
    void attach(int handle, qint64 size);
    // The bytes the image holds, those still gathered or queued included.
    qint64 size() const { return diskEnd + qint64(gathering[filling].bytes.size()); }

    // Reads exactly `length` bytes at `offset`; false when the file is shorter.
    [[nodiscard]] bool read(qint64 offset, char* data, qint64 length);
    // Brings the bytes from `offset` on into the window when they fit there: the reads among them
    // that follow come from memory, whatever their order.
    void cover(qint64 offset, qint64 length);
    // Writes an element at `position`: `head`, `data` and `tail` one after the other, dropping what the
    // file held from `position` on. `now` writes it out with what is gathered; otherwise it may wait
    // while the job streams. False when the file was changed under the image or refused a write.
    [[nodiscard]] bool put(qint64 position, const char* head, int headLength, const char* data, qint64 length,
                           const char* tail, int tailLength, bool now);
    // Writes out what is gathered and waits for every write queued; false as for put. The next write
    // starts a new run.
    [[nodiscard]] bool settle();
    [[nodiscard]] bool truncate(qint64 offset);
    // True while the path still names the open file and the file reaches `required` bytes.
    [[nodiscard]] bool inPlace(qint64 required);

private:
    // Elements gathered for one write.
    struct Gathered {
        std::vector<char> bytes;
        std::vector<qint64> ends; // where each element ends in the file
        qint64 at = 0;            // where the bytes go in the file
        void add(const char* data, qint64 length) { bytes.insert(bytes.end(), data, data + length); }
        void clear()
        {
            bytes.clear();
            ends.clear();
        }
    };

    [[nodiscard]] bool refill(qint64 offset, qint64 length);
    // Writes what is gathered and the element given on this thread, after the writes queued.
    [[nodiscard]] bool flush(const char* head, int headLength, const char* data, qint64 length,
                             const char* tail, int tailLength);
    // Queues the gathered elements for writing, after waiting for older writes when every buffer is
    // taken; false when an older write failed, or found the file changed.
    [[nodiscard]] bool handOff();
    // Waits for the writes queued until at most `left` remain; false when one of them failed.
    [[nodiscard]] bool collect(int left);
    // Keeps the whole elements of `sent`, whose write broke off after `written` bytes.
    void keepWhole(const Gathered& sent, qint64 written);
    bool writing() const { return !gathering[filling].bytes.empty() || writer.queued() > 0; }
    void forgetWindow() { windowLength = 0; }

    QString path;
    int handle = -1;
    qint64 diskEnd = 0; // the file's size as last written or checked, the writes queued included
    std::vector<char> readAhead;
    qint64 windowStart = 0;
    qint64 windowLength = 0;
    // Written in turn: the one gathering, the others queued for writing or free.
    static constexpr int buffers = 4;
    Gathered gathering[buffers];
    int filling = 0;
    qint64 runWritten = 0; // bytes the current run of writes put in the file or queued
    // Last, so that it ends (and the write in hand with it) before the buffers go.
    BackgroundIo writer;
};
