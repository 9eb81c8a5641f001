#pragma once

#include <QtGlobal>

// A file mapped into memory for reading, so that its bytes are used where the system keeps them
// instead of being copied out. Should the file be cut while mapped, the pages beyond its new end
// read as zeros instead of ending the program, and cut() tells it: whatever was made of them must
// then be thrown away.
class FileMapping {
public:
    FileMapping() = default;
    ~FileMapping() { unmap(); }
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    // Maps the first `size` bytes of the open file `handle`; false when the file cannot be mapped
    // (a device, a pipe, a file system without it) or is empty.
    [[nodiscard]] bool map(int handle, qint64 size);
    void unmap();
    const char* data() const { return bytes; }
    qint64 size() const { return length; }
    // Pages beyond the file's end were met since the file was mapped.
    bool cut() const;

private:
    const char* bytes = nullptr;
    qint64 length = 0;
    int slot = -1;
};
