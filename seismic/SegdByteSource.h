#pragma once

#include <QtGlobal>

// The bytes of one field file, read at offsets from its first byte: a disk file, a file a
// recorder is still writing, or the blocks of a tape file read so far.
class SegdByteSource {
public:
    virtual ~SegdByteSource() = default;
    // The bytes the field file holds: a disk file's size; -1 while it is not known (a tape file
    // not read to its end).
    virtual qint64 size() const = 0;
    // Reads up to length bytes at offset into buffer: the count read, fewer at the end of the
    // data, 0 when offset lies beyond what can be reached.
    virtual qint64 read(qint64 offset, uchar* buffer, qint64 length) = 0;
};

// Bytes held in memory (a tape block, a test's bytes).
class SegdMemorySource : public SegdByteSource {
public:
    SegdMemorySource(const void* data, qint64 size) : data_(static_cast<const uchar*>(data)), size_(size) {}
    qint64 size() const override { return size_; }
    qint64 read(qint64 offset, uchar* buffer, qint64 length) override;

private:
    const uchar* data_;
    qint64 size_;
};
