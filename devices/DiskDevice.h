#pragma once

#include "devices/ObrDevice.h"

#include <QString>
#include <memory>

class QFile;

// A disk file seen as a plain byte stream. The file is opened by the constructor and stays
// open for the life of the device; the owner tests ok() right after construction. A mode that
// reads refuses what is not a regular file (see RegularFile).
//
// Modes: 0 read only; 1 and 5 write only; 4 read and write, emptied at opening;
// any other value read and write.
class DiskDevice : public ObrDevice {
public:
    // Large enough for the biggest record an owner reads in one transfer.
    static constexpr int transferBufferSize = 1024000;

    DiskDevice(ObrConsole* console, const QString& path, unsigned mode);
    ~DiskDevice() override;

    // The file was opened by the constructor: true when that succeeded and it is still open.
    bool open(unsigned mode) override;
    void close() override;
    // True when at least one byte was read; false at end of file and on error.
    bool read(char* buffer, int length) override;
    // As read() into the device buffer, but end of file is a success with bytesRead() 0.
    bool readToBuffer(int length) override;
    bool write(const char* buffer, int length) override;
    bool writeFromBuffer(int length) override;
    qint64 size() override;
    qint64 pos() override;
    bool seek(qint64 bytePosition) override;
    bool atEnd() override;
    QString dirPath() const override;

    qint64 fileSize() const { return fileSize_; }

private:
    enum class ReadForm { CallerBuffer, OwnBuffer };

    bool readInto(char* buffer, int length, ReadForm form);
    bool writeFrom(const char* buffer, int length);
    bool refusesLength(int length, int limit, int failureStatus);
    bool readingMode() const;
    bool writingMode() const;
    void reportError(const QString& text);

    QString directory_;
    std::unique_ptr<QFile> file_;
    qint64 fileSize_ = 0;
};
