#include "copy/DiskStreamCopy.h"

#include "base/BackgroundIo.h"

#include <cerrno>
#include <unistd.h>

DiskStreamCopy::DiskStreamCopy(int input, int output, char* buffer, qint64 bufferSize, Way way)
    : input(input), output(output), buffer(buffer), bufferSize(bufferSize), way(way)
{
    // The kernel copies whole pages fastest: the first stretch ends on a page of the output (the
    // headers before it leave it part way into one), the others follow in whole pages.
    const off_t at = ::lseek(output, 0, SEEK_CUR);
    if (at > 0)
        firstStretch = kernelStretch - at % pageBytes;
}

DiskStreamCopy::Status DiskStreamCopy::next(qint64* copied)
{
    *copied = 0;
    if (way == Way::inKernel) {
        const ssize_t count =
            ::copy_file_range(input, nullptr, output, nullptr, static_cast<size_t>(firstStretch), 0);
        firstStretch = kernelStretch;
        if (count > 0) {
            *copied = count;
            return Status::copied;
        }
        // The files refuse it (another file system, a device, an old kernel), or a file that
        // reports no size ends it at once: the buffer takes over, which tells a read fault
        // from a write fault and confirms the end of the input.
        way = Way::buffered;
    }
    return copyBuffered(copied);
}

DiskStreamCopy::Status DiskStreamCopy::copyBuffered(qint64* copied)
{
    ssize_t got;
    do
        got = ::read(input, buffer, static_cast<size_t>(bufferSize));
    while (got < 0 && errno == EINTR);
    if (got < 0) {
        error = errno;
        return Status::readFailed;
    }
    if (got == 0)
        return Status::ended;
    const BackgroundIo::Outcome put = BackgroundIo::writeAll(output, buffer, got);
    *copied += put.done;
    if (put.error != 0) {
        error = put.error;
        return Status::writeFailed;
    }
    return Status::copied;
}
