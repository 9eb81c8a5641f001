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

qint64 readAll(int handle, char* data, qint64 length, qint64 offset)
{
    qint64 done = 0;
    while (done < length) {
        const ssize_t got = pread(handle, data + done, size_t(length - done), offset + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += got;
    }
    return done;
}

} // namespace

void TapeImageFile::attach(int fileHandle, qint64 size)
{
    handle = fileHandle;
    diskEnd = size;
    forgetWindow();
}

bool TapeImageFile::inPlace(qint64 required)
{
    struct stat open {};
    struct stat named {};
    if (fstat(handle, &open) != 0 || stat(QFile::encodeName(path).constData(), &named) != 0 ||
        open.st_dev != named.st_dev || open.st_ino != named.st_ino || open.st_size < required)
        return false;
    // With nothing gathered the size found is the image's: another program may have written to it.
    if (pending.empty() && open.st_size != diskEnd) {
        diskEnd = open.st_size;
        forgetWindow();
    }
    return true;
}

bool TapeImageFile::read(qint64 offset, char* data, qint64 length)
{
    if (!pending.empty() && !settle())
        return false;
    if (offset < 0 || length < 0 || offset > diskEnd - length)
        return false;
    if (offset < windowStart || offset + length > windowStart + windowLength) {
        if (length > window / 2)
            return readAll(handle, data, length, offset) == length;
        if (!refill(offset, length))
            return false;
    }
    std::memcpy(data, readAhead.data() + (offset - windowStart), size_t(length));
    return true;
}

void TapeImageFile::cover(qint64 offset, qint64 length)
{
    const bool inWindow = offset >= windowStart && offset + length <= windowStart + windowLength;
    if (!inWindow && pending.empty() && length <= window / 2 && offset >= 0 && offset <= diskEnd - length)
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
    windowLength = readAll(handle, readAhead.data(), std::min(window, diskEnd - start), start);
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
    pendingEnds.push_back(position + elementSize);
    // A run's first element reaches the file at once; after it no more waits in memory than the run
    // has written, up to the window.
    if (now || qint64(pending.size()) + elementSize >= std::min(window, runWritten))
        return flush(head, headLength, data, length, tail, tailLength);
    pending.insert(pending.end(), head, head + headLength);
    pending.insert(pending.end(), data, data + length);
    pending.insert(pending.end(), tail, tail + tailLength);
    return true;
}

bool TapeImageFile::settle()
{
    runWritten = 0;
    return pending.empty() || flush(nullptr, 0, nullptr, 0, nullptr, 0);
}

bool TapeImageFile::flush(const char* head, int headLength, const char* data, qint64 length, const char* tail,
                          int tailLength)
{
    iovec parts[4];
    int count = 0;
    qint64 total = 0;
    const auto add = [&](const char* bytes, qint64 size) {
        if (size > 0)
            parts[count++] = {const_cast<char*>(bytes), size_t(size)};
        total += size;
    };
    add(pending.data(), qint64(pending.size()));
    add(head, headLength);
    add(data, length);
    add(tail, tailLength);
    const qint64 at = diskEnd;
    if (!inPlace(at)) {
        pending.clear();
        pendingEnds.clear();
        return false;
    }
    const qint64 written = writeAll(handle, parts, count, at);
    diskEnd = at;
    if (written < total) {
        keepWhole(written);
        return false;
    }
    diskEnd += total;
    runWritten += total;
    pending.clear();
    pendingEnds.clear();
    return true;
}

void TapeImageFile::keepWhole(qint64 written)
{
    qint64 end = diskEnd;
    for (const qint64 elementEnd : pendingEnds) {
        if (elementEnd <= diskEnd + written)
            end = elementEnd;
    }
    pending.clear();
    pendingEnds.clear();
    runWritten = 0;
    // Should even this fail, the file is unusable anyway and the error is already reported.
    (void)truncate(end);
}

bool TapeImageFile::truncate(qint64 offset)
{
    forgetWindow();
    if (ftruncate(handle, offset) != 0)
        return false;
    diskEnd = offset;
    return true;
}
