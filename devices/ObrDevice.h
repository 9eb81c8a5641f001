#pragma once

#include <QObject>
#include <QString>

class ObrConsole;

// The abstract device behind every byte of seismic data: a disk file or a tape drive.
// Owners test ok() right after construction and status() after a failed operation.
class ObrDevice : public QObject {
public:
    enum Kind { DiskKind = 1, TapeKind = 2 };

    // Result codes left in status(); tapes add their own (system codes, -9, -99, -999).
    enum Status {
        Success = 0,
        AllocationFailed = -1,
        ReadFailed = -2,
        WriteFailed = -3,
        SeekFailed = -4,
        OutOfRange = -5,
    };

    explicit ObrDevice(ObrConsole* console);
    ~ObrDevice() override;
    ObrDevice(const ObrDevice&) = delete;
    ObrDevice& operator=(const ObrDevice&) = delete;

    virtual bool open(unsigned mode) = 0;
    virtual void close() = 0;
    virtual bool read(char* buffer, int length) = 0;
    virtual bool readToBuffer(int length) = 0;
    virtual bool write(const char* buffer, int length) = 0;
    virtual bool writeFromBuffer(int length) = 0;
    virtual qint64 size();
    virtual qint64 pos();
    virtual bool seek(qint64 bytePosition);
    virtual bool atEnd();
    virtual QString dirPath() const;

    int kind() const { return kind_; }
    unsigned mode() const { return mode_; }
    const QString& name() const { return name_; }
    const QString& path() const { return path_; }
    ObrConsole* console() const { return console_; }
    char* buffer() const { return buffer_; }
    int bufferSize() const { return bufferSize_; }
    // Bytes the last read transferred.
    int bytesRead() const { return bytesRead_; }
    bool ok() const { return ok_; }
    int status() const { return status_; }

protected:
    int kind_ = DiskKind;
    unsigned mode_ = 0;
    QString name_;
    QString path_;
    ObrConsole* console_ = nullptr;
    char* buffer_ = nullptr; // owned; freed by the destructor
    int bufferSize_ = 0;
    int bytesRead_ = 0;
    bool ok_ = false;
    int status_ = Success;
};
