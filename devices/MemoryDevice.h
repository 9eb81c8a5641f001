#pragma once

#include "devices/ObrDevice.h"

#include <QByteArray>
#include <QString>

// Bytes in memory read as a disk file is: the readers of files take them without a file system
// (a fuzz target's input, a tape block already read). Read only; reading, seeking, sizes and
// status as DiskDevice has them in mode 0.
class MemoryDevice : public ObrDevice {
public:
    // The bytes are shared, not copied (QByteArray::fromRawData keeps them where they are: they
    // must then outlive the device). path names them in messages.
    MemoryDevice(ObrConsole* console, const QString& path, const QByteArray& bytes);

    bool open(unsigned mode) override;
    void close() override;
    // True when at least one byte was read; false at the end and on error.
    bool read(char* buffer, int length) override;
    // As read() into the device buffer (made at the first call), but the end is a success with
    // bytesRead() 0.
    bool readToBuffer(int length) override;
    bool write(const char* buffer, int length) override;
    bool writeFromBuffer(int length) override;
    qint64 size() override;
    qint64 pos() override;
    bool seek(qint64 bytePosition) override;
    bool atEnd() override;

private:
    bool refusesLength(int length, int limit);
    void reportError(const QString& text);

    QByteArray bytes_;
    qint64 position_ = 0;
};
