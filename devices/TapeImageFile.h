#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

// The file under a tape image, read and written in large pieces. Reads come from a window of the file
// read ahead (or behind, when the tape moves backward); writes of a streaming job are gathered and go
// out as one call each. An element (a record with its framing, or a mark) is never split between the
// file and memory: a failed write leaves the file ending after the last whole element it took.
//
// The file is checked (still the one at the path, still reaching the bytes relied on) whenever a
// window is read or gathered elements are written: at most every `window` bytes (2 MiB) while a job
// streams, and at every mark, since the image writes marks at once.
class TapeImageFile {
public:
    static constexpr qint64 window = qint64(2) << 20;

    explicit TapeImageFile(const QString& path) : path(path) {}
    TapeImageFile(const TapeImageFile&) = delete;
    TapeImageFile& operator=(const TapeImageFile&) = delete;

    // Takes the open file descriptor `handle` (kept open by its owner) of `size` bytes.
    void attach(int handle, qint64 size);
    // The bytes the image holds, those still gathered included.
    qint64 size() const { return diskEnd + qint64(pending.size()); }

    // Reads exactly `length` bytes at `offset`; false when the file is shorter.
    [[nodiscard]] bool read(qint64 offset, char* data, qint64 length);
    // Brings the bytes from `offset` on into the window when they fit there: the reads among them
    // that follow come from memory, whatever their order.
    void cover(qint64 offset, qint64 length);
    // Writes an element at `position`: `head`, `data` and `tail` one after the other, dropping what the
    // file held from `position` on. `now` writes it out with what is gathered; otherwise it may wait
    // while the job streams. False when the file was changed under the image or refused the write.
    [[nodiscard]] bool put(qint64 position, const char* head, int headLength, const char* data, qint64 length,
                           const char* tail, int tailLength, bool now);
    // Writes out what is gathered; false as for put. The next write starts a new run.
    [[nodiscard]] bool settle();
    [[nodiscard]] bool truncate(qint64 offset);
    // True while the path still names the open file and the file reaches `required` bytes.
    [[nodiscard]] bool inPlace(qint64 required);

private:
    [[nodiscard]] bool refill(qint64 offset, qint64 length);
    [[nodiscard]] bool flush(const char* head, int headLength, const char* data, qint64 length,
                             const char* tail, int tailLength);
    // Keeps the whole elements of a write that broke off after `written` bytes of the gathered ones.
    void keepWhole(qint64 written);
    void forgetWindow() { windowLength = 0; }

    QString path;
    int handle = -1;
    qint64 diskEnd = 0; // the file's size as last written or checked
    std::vector<char> readAhead;
    qint64 windowStart = 0;
    qint64 windowLength = 0;
    std::vector<char> pending;       // elements gathered, to go to the file at diskEnd
    std::vector<qint64> pendingEnds; // where each of them ends in the file
    qint64 runWritten = 0;           // bytes the current run of writes put in the file
};
