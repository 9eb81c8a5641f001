#include "devices/TapeImageFile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

// Writes the pieces at `offset`, going on after partial writes; the bytes written before an error.
qint64 writeAll(int handle, iovec* parts, int count, qint64 offset)
{
    qint64 done = 0;
    while (count > 0) {
        const ssize_t written = pwritev(handle, parts, count, offset + done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        done += written;
        size_t left = size_t(written);
        for (; count > 0 && left >= parts->iov_len; ++parts, --count)
            left -= parts->iov_len;
        if (count > 0) {
            parts->iov_base = static_cast<char*>(parts->iov_base) + left;
            parts->iov_len -= left;
        }
    }
    return done;
}

// ESTALE unless `path` still names the open file `handle` and the file reaches `required` bytes; its
// size in *size when given. Safe on any thread.
int changed(int handle, const QString& path, qint64 required, qint64* size)
{
    struct stat open {};
    struct stat named {};
    if (fstat(handle, &open) != 0 || stat(QFile::encodeName(path).constData(), &named) != 0 ||
        open.st_dev != named.st_dev || open.st_ino != named.st_ino || open.st_size < required)
        return ESTALE;
    if (size)
        *size = open.st_size;
    return 0;
}

} // namespace

TapeImageFile::~TapeImageFile()
{
    // The buffers stay until the file holds what was queued of them.
    (void)collect(0);
}

void TapeImageFile::attach(int fileHandle, qint64 size)
{
    handle = fileHandle;
    diskEnd = size;
    forgetWindow();
}

bool TapeImageFile::inPlace(qint64 required)
{
    qint64 size = 0;
    if (changed(handle, path, required, &size) != 0)
        return false;
    // With nothing on its way the size found is the image's: another program may have written to it.
    if (!writing() && size != diskEnd) {
        diskEnd = size;
        forgetWindow();
    }
    return true;
}

bool TapeImageFile::read(qint64 offset, char* data, qint64 length)
{
    if (writing() && !settle())
        return false;
    if (offset < 0 || length < 0 || offset > diskEnd - length)
        return false;
    if (offset < windowStart || offset + length > windowStart + windowLength) {
        if (length > window / 2)
            return BackgroundIo::readAll(handle, data, length, offset).done == length;
        if (!refill(offset, length))
            return false;
    }
    std::memcpy(data, readAhead.data() + (offset - windowStart), size_t(length));
    return true;
}

void TapeImageFile::cover(qint64 offset, qint64 length)
{
    const bool inWindow = offset >= windowStart && offset + length <= windowStart + windowLength;
    if (!inWindow && !writing() && length <= window / 2 && offset >= 0 && offset <= diskEnd - length)
        (void)refill(offset, length);
}

bool TapeImageFile::refill(qint64 offset, qint64 length)
{
    if (!inPlace(offset + length))
        return false;
    // Reading forward fills the window from the offset on; moving backward fills it up to there.
    const qint64 start = offset < windowStart ? std::max<qint64>(0, offset + length - window) : offset;
    readAhead.resize(size_t(window));
    windowStart = start;
    windowLength =
        BackgroundIo::readAll(handle, readAhead.data(), std::min(window, diskEnd - start), start).done;
    return offset + length <= windowStart + windowLength;
}

bool TapeImageFile::put(qint64 position, const char* head, int headLength, const char* data, qint64 length,
                        const char* tail, int tailLength, bool now)
{
    forgetWindow();
    if (position != size() && !settle())
        return false;
    // Writing over older elements drops them once, as the run starts, so the file never holds
    // new elements followed by old ones.
    if (position < diskEnd && !(inPlace(position) && truncate(position)))
        return false;
    const qint64 elementSize = headLength + length + tailLength;
    Gathered& pending = gathering[filling];
    pending.ends.push_back(position + elementSize);
    // A run's first element reaches the file at once; after it no more waits in memory than the run
    // has written, up to the window. From a window on the job no longer waits for the writing, but
    // for a large element, which is written from where it is rather than copied.
    const qint64 gathered = qint64(pending.bytes.size()) + elementSize;
    const bool behind = runWritten >= window && elementSize <= window / 2;
    if (!now && (gathered < std::min(window, runWritten) || behind)) {
        pending.add(head, headLength);
        pending.add(data, length);
        pending.add(tail, tailLength);
        return gathered < window || handOff();
    }
    return flush(head, headLength, data, length, tail, tailLength);
}

bool TapeImageFile::settle()
{
    runWritten = 0;
    return flush(nullptr, 0, nullptr, 0, nullptr, 0);
}

bool TapeImageFile::flush(const char* head, int headLength, const char* data, qint64 length, const char* tail,
                          int tailLength)
{
    if (!collect(0))
        return false;
    Gathered& pending = gathering[filling];
    iovec parts[4];
    int count = 0;
    qint64 total = 0;
    const auto add = [&](const char* bytes, qint64 size) {
        if (size > 0)
            parts[count++] = {const_cast<char*>(bytes), size_t(size)};
        total += size;
    };
    add(pending.bytes.data(), qint64(pending.bytes.size()));
    add(head, headLength);
    add(data, length);
    add(tail, tailLength);
    if (total == 0)
        return true;
    pending.at = diskEnd;
    if (!inPlace(pending.at)) {
        pending.clear();
        return false;
    }
    const qint64 written = writeAll(handle, parts, count, pending.at);
    if (written < total) {
        keepWhole(pending, written);
        return false;
    }
    diskEnd += total;
    runWritten += total;
    pending.clear();
    return true;
}

bool TapeImageFile::handOff()
{
    // The writes done tell their outcome now; the buffer after this one is free once no more than
    // buffers - 2 writes are queued.
    if (!collect(std::min(buffers - 2, writer.queued() - writer.done())))
        return false;
    Gathered& full = gathering[filling];
    full.at = diskEnd;
    // Checked just before it is written: no window goes to a file removed, or lengthens one cut short
    // under the image (with zeros where the cut was).
    writer.startWrite(handle, full.bytes.data(), qint64(full.bytes.size()), full.at,
                      [this, at = full.at] { return changed(handle, path, at, nullptr); });
    diskEnd += qint64(full.bytes.size());
    runWritten += qint64(full.bytes.size());
    filling = (filling + 1) % buffers;
    gathering[filling].clear();
    return true;
}

bool TapeImageFile::collect(int left)
{
    while (writer.queued() > left) {
        const Gathered& sent = gathering[(filling + buffers - writer.queued()) % buffers];
        const BackgroundIo::Outcome outcome = writer.wait();
        if (outcome.error == 0)
            continue;
        // The writes after it are done before the file is cut back.
        while (writer.queued() > 0)
            (void)writer.wait();
        keepWhole(sent, outcome.done);
        return false;
    }
    return true;
}

void TapeImageFile::keepWhole(const Gathered& sent, qint64 written)
{
    qint64 end = sent.at;
    for (const qint64 elementEnd : sent.ends) {
        if (elementEnd <= sent.at + written)
            end = elementEnd;
    }
    gathering[filling].clear();
    runWritten = 0;
    diskEnd = end;
    // A file cut short under the image is not lengthened. Should the truncation fail, the file is
    // unusable anyway and the error is already reported.
    if (inPlace(end))
        (void)truncate(end);
}

bool TapeImageFile::truncate(qint64 offset)
{
    forgetWindow();
    if (!collect(0) || ftruncate(handle, offset) != 0)
        return false;
    diskEnd = offset;
    return true;
}
