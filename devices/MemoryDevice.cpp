#include "devices/MemoryDevice.h"

#include "base/ObrConsole.h"
#include "devices/DiskDevice.h"

#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

MemoryDevice::MemoryDevice(ObrConsole* console, const QString& path, const QByteArray& bytes)
    : ObrDevice(console), bytes_(bytes)
{
    path_ = path;
    name_ = QFileInfo(path).fileName();
    kind_ = DiskKind;
    ok_ = true;
}

bool MemoryDevice::open(unsigned)
{
    return ok_;
}

void MemoryDevice::close()
{
    ok_ = false;
}

bool MemoryDevice::read(char* buffer, int length)
{
    if (refusesLength(length, INT_MAX))
        return false;
    status_ = Success;
    bytesRead_ = int(std::min<qint64>(length, bytes_.size() - position_));
    if (bytesRead_ <= 0)
        return false;
    std::memcpy(buffer, bytes_.constData() + position_, size_t(bytesRead_));
    position_ += bytesRead_;
    return true;
}

bool MemoryDevice::readToBuffer(int length)
{
    if (!buffer_) {
        buffer_ = new (std::nothrow) char[DiskDevice::transferBufferSize];
        if (!buffer_) {
            reportError(QStringLiteral("failed to allocate memory for disk file: ") + name_);
            status_ = AllocationFailed;
            return false;
        }
        bufferSize_ = DiskDevice::transferBufferSize;
    }
    if (refusesLength(length, bufferSize_))
        return false;
    read(buffer_, length);
    return true;
}

bool MemoryDevice::write(const char*, int)
{
    reportError(QStringLiteral("Error occurred writing to file: %1 - it is read only").arg(name_));
    status_ = WriteFailed;
    return false;
}

bool MemoryDevice::writeFromBuffer(int length)
{
    return write(buffer_, length);
}

qint64 MemoryDevice::size()
{
    return bytes_.size();
}

qint64 MemoryDevice::pos()
{
    return position_;
}

bool MemoryDevice::seek(qint64 bytePosition)
{
    status_ = Success;
    if (bytePosition >= 0 && bytePosition <= bytes_.size()) {
        position_ = bytePosition;
        return true;
    }
    reportError(
        (bytePosition < 0
             ? QStringLiteral("requested a seek to a negative byte position [%1] within disk file: %2")
             : QStringLiteral("requested a seek to a byte position [%1] beyond size of the disk file: %2"))
            .arg(QString::number(bytePosition), name_));
    status_ = OutOfRange;
    return false;
}

bool MemoryDevice::atEnd()
{
    return position_ >= bytes_.size();
}

bool MemoryDevice::refusesLength(int length, int limit)
{
    if (length >= 0 && length <= limit)
        return false;
    reportError(QStringLiteral("requested a transfer of %1 bytes, outside 0 to %2, with disk file: %3")
                    .arg(QString::number(length), QString::number(limit), name_));
    status_ = ReadFailed;
    return true;
}

void MemoryDevice::reportError(const QString& text)
{
    if (console_)
        console_->error(text, true);
}
