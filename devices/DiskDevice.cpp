#include "devices/DiskDevice.h"

#include "base/ObrConsole.h"
#include "base/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <climits>
#include <new>

namespace {

QIODevice::OpenMode openModeFor(unsigned mode)
{
    if (mode == 0)
        return QIODevice::ReadOnly;
    if (mode == 1 || mode == 5)
        return QIODevice::WriteOnly;
    return QIODevice::ReadWrite;
}

} // namespace

DiskDevice::DiskDevice(ObrConsole* console, const QString& path, unsigned mode)
    : ObrDevice(console), file_(std::make_unique<QFile>(path))
{
    mode_ = mode;
    path_ = path;
    const QFileInfo info(path);
    directory_ = info.path();
    name_ = info.fileName();

    // Opening a FIFO to read waits for a writer: what is read is refused before.
    const QString refusal = readingMode() ? RegularFile::refusal(path) : QString();
    if (!refusal.isEmpty()) {
        reportError(refusal);
        status_ = ReadFailed;
        return;
    }
    if (!file_->open(openModeFor(mode))) {
        reportError(QStringLiteral("failed to open disk file: ") + path_);
        return;
    }
    // Not zeroed: every byte a caller takes from it was read or written into it first.
    buffer_ = new (std::nothrow) char[transferBufferSize];
    if (!buffer_) {
        reportError(QStringLiteral("failed to allocate memory for disk file: ") + name_);
        status_ = AllocationFailed;
        return;
    }
    bufferSize_ = transferBufferSize;
    status_ = Success;
    if (mode == 4 && !file_->resize(0)) {
        reportError(QStringLiteral("failed to empty disk file: ") + path_);
        status_ = WriteFailed;
        return;
    }
    fileSize_ = file_->size();
    kind_ = DiskKind;
    ok_ = true;
}

DiskDevice::~DiskDevice() = default;

bool DiskDevice::open(unsigned)
{
    return ok_;
}

void DiskDevice::close()
{
    file_->close();
    ok_ = false;
}

bool DiskDevice::read(char* buffer, int length)
{
    if (refusesLength(length, INT_MAX, ReadFailed))
        return false;
    return readInto(buffer, length, ReadForm::CallerBuffer);
}

bool DiskDevice::readToBuffer(int length)
{
    if (refusesLength(length, bufferSize_, ReadFailed))
        return false;
    return readInto(buffer_, length, ReadForm::OwnBuffer);
}

bool DiskDevice::readInto(char* buffer, int length, ReadForm form)
{
    status_ = Success;
    const qint64 count = file_->read(buffer, length);
    bytesRead_ = int(qMax<qint64>(count, 0));
    if (count < 0) {
        if (form == ReadForm::CallerBuffer)
            reportError(QStringLiteral("Error occurred reading from file: %1 - QFileDevice Error code %2")
                            .arg(name_, QString::number(file_->error())));
        else
            reportError(QStringLiteral("error occurred reading from file: ") + name_);
        status_ = ReadFailed;
        return false;
    }
    if (count == 0) {
        if (console_ && console_->lowLevelEnabled())
            console_->lowLevel(QStringLiteral("read EOF from file: ") + name_);
        return form == ReadForm::OwnBuffer;
    }
    if (console_ && console_->lowLevelEnabled())
        console_->lowLevel(QStringLiteral("read %1 bytes from file: %2").arg(QString::number(count), name_));
    return true;
}

bool DiskDevice::write(const char* buffer, int length)
{
    if (refusesLength(length, INT_MAX, WriteFailed))
        return false;
    return writeFrom(buffer, length);
}

bool DiskDevice::writeFromBuffer(int length)
{
    if (refusesLength(length, bufferSize_, WriteFailed))
        return false;
    return writeFrom(buffer_, length);
}

bool DiskDevice::writeFrom(const char* buffer, int length)
{
    const int written = int(file_->write(buffer, length));
    // A failed flush loses the data as surely as a failed write.
    if (written < length || !file_->flush()) {
        reportError(QStringLiteral("Error occurred writing to file: %1 - QFileDevice Error code %2")
                        .arg(name_, QString::number(file_->error())));
        status_ = WriteFailed;
        return false;
    }
    if (console_ && console_->lowLevelEnabled())
        console_->lowLevel(QStringLiteral("wrote %1 bytes to file: %2").arg(QString::number(written), name_));
    status_ = Success;
    fileSize_ = file_->size();
    return true;
}

bool DiskDevice::refusesLength(int length, int limit, int failureStatus)
{
    if (length >= 0 && length <= limit)
        return false;
    reportError(QStringLiteral("requested a transfer of %1 bytes, outside 0 to %2, with disk file: %3")
                    .arg(QString::number(length), QString::number(limit), name_));
    status_ = failureStatus;
    return true;
}

qint64 DiskDevice::size()
{
    return file_->size();
}

qint64 DiskDevice::pos()
{
    return file_->pos();
}

bool DiskDevice::readingMode() const
{
    return openModeFor(mode_).testFlag(QIODevice::ReadOnly);
}

bool DiskDevice::writingMode() const
{
    return mode_ >= 1 && mode_ <= 8 && mode_ != 7;
}

bool DiskDevice::seek(qint64 bytePosition)
{
    status_ = Success;
    if (writingMode())
        fileSize_ = file_->size();
    if (bytePosition < 0) {
        reportError(QStringLiteral("requested a seek to a negative byte position [%1] within disk file: %2")
                        .arg(QString::number(bytePosition), name_));
        status_ = OutOfRange;
        return false;
    }
    if (bytePosition > fileSize_) {
        reportError(
            QStringLiteral("requested a seek to a byte position [%1] beyond size of the disk file: %2")
                .arg(QString::number(bytePosition), name_));
        status_ = OutOfRange;
        return false;
    }
    if (!file_->seek(bytePosition)) {
        reportError(QStringLiteral("error seeking to byte position %1 within disk file: %2")
                        .arg(QString::number(bytePosition), name_));
        status_ = SeekFailed;
        return false;
    }
    if (console_ && console_->lowLevelEnabled())
        console_->lowLevel(
            QStringLiteral("seek to byte position %1 in file: %2").arg(QString::number(bytePosition), name_));
    return true;
}

bool DiskDevice::atEnd()
{
    return file_->atEnd();
}

QString DiskDevice::dirPath() const
{
    return directory_;
}

void DiskDevice::reportError(const QString& text)
{
    if (console_)
        console_->error(text, true);
}
