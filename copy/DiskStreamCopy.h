#pragma once

#include <QtGlobal>

// Copies the rest of one open disk file onto the end of another the way cp does: in the kernel
// (copy_file_range) where the two files allow it, otherwise through the caller's buffer with one
// read and one write a stretch. The bytes go across as they lie; the caller only counts them.
class DiskStreamCopy {
public:
    enum class Way { inKernel, buffered };
    enum class Status { copied, ended, readFailed, writeFailed };

    // The most one call copies in the kernel, so that the caller can show progress between calls.
    static constexpr qint64 kernelStretch = qint64(4) << 20;
    static constexpr qint64 pageBytes = 4096;

    // `buffer` (best page-aligned, of `bufferSize` bytes) serves the buffered way, and the
    // in-kernel way whenever the files refuse it.
    DiskStreamCopy(int input, int output, char* buffer, qint64 bufferSize, Way way = Way::inKernel);

    // Copies the next stretch and puts its length in `copied`.
    [[nodiscard]] Status next(qint64* copied);
    // The system's error code of the failed read or write.
    int errorCode() const { return error; }

private:
    [[nodiscard]] Status copyBuffered(qint64* copied);

    int input;
    int output;
    char* buffer;
    qint64 bufferSize;
    Way way;
    qint64 firstStretch = kernelStretch;
    int error = 0;
};
