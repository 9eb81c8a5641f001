#include "devices/TapeDevice.h"

#include "base/ObrConsole.h"

#include <algorithm>

namespace {
QString plural(qint64 count)
{
    return count == 1 ? QString() : QStringLiteral("s");
}
} // namespace

TapeDevice::TapeDevice(ObrConsole* console) : ObrDevice(console)
{
    kind_ = TapeKind;
}

bool TapeDevice::readToBuffer(int length)
{
    if (!buffer_) {
        status_ = AllocationFailed;
        return false;
    }
    // The own buffer bounds every read into it, whatever the caller asks for.
    return read(buffer_, std::min(length, bufferSize_));
}

bool TapeDevice::writeFromBuffer(int length)
{
    if (!buffer_ || length > bufferSize_) {
        console_->error(QStringLiteral("block size too large for drive ") + displayLine_, true);
        status_ = WriteFailed;
        return false;
    }
    return write(buffer_, length);
}

qint64 TapeDevice::size()
{
    return 1;
}

qint64 TapeDevice::pos()
{
    return 1;
}

bool TapeDevice::seek(qint64)
{
    return true;
}

bool TapeDevice::atEnd()
{
    return atFileMark_;
}

QString TapeDevice::dirPath() const
{
    return QString();
}

bool TapeDevice::readBlock()
{
    return readToBuffer(0);
}

void TapeDevice::setUnloadAtEnd(bool value)
{
    unloadAtEnd_ = value;
    buildDisplayLine();
}

void TapeDevice::setNoRewind(bool value)
{
    noRewind_ = value;
    buildDisplayLine();
}

void TapeDevice::applyBlockSizeLimit()
{
    static const char* const limitedModels[] = {"M4", "M-4", "OPEN REEL", "9914", "9348"};
    bool limited = m4Option_;
    for (const char* model : limitedModels)
        limited = limited || name_.contains(QLatin1String(model), Qt::CaseSensitive);
    blockLimit64000_ = limited;
    // Clearing the limit gives the drive its own maximum back.
    maxBlockSize_ = limited ? std::min(limitedBlockSize, driveMaxBlockSize_) : driveMaxBlockSize_;
}

void TapeDevice::buildDisplayLine()
{
    displayLine_ = QStringLiteral("    ") + scsiId_ + QString(12, QLatin1Char(' ')) + name_;
    if (noRewind_)
        displayLine_ += QStringLiteral("      Nrew");
    if (unloadAtEnd_)
        displayLine_ += QStringLiteral("      Unld");
}

void TapeDevice::setDriveMaxBlockSize(int size)
{
    // A block never outgrows the buffer it is read into.
    driveMaxBlockSize_ = std::clamp(size, 0, bufferSize_);
    applyBlockSizeLimit();
}

void TapeDevice::resetPosition()
{
    blockNumber_ = 1;
    fileNumber_ = 1;
    atFileMark_ = false;
    atEndOfData_ = false;
    atEndOfTape_ = false;
}

bool TapeDevice::noteBlockRead(int bytes)
{
    bytesRead_ = bytes;
    ++blockNumber_;
    if (console_->lowLevelEnabled())
        console_->lowLevel(QStringLiteral("Read %1 bytes").arg(bytes));
    return true;
}

bool TapeDevice::noteFileMarkRead()
{
    atFileMark_ = true;
    ++fileNumber_;
    blockNumber_ = 1;
    console_->lowLevel(QStringLiteral("Read EOF"));
    return true;
}

bool TapeDevice::noteEndOfDataRead()
{
    atEndOfData_ = true;
    console_->lowLevel(QStringLiteral("Read EOD"));
    return true;
}

bool TapeDevice::noteBlockWritten(int bytes)
{
    ++blockNumber_;
    if (console_->lowLevelEnabled())
        console_->lowLevel(QStringLiteral("Wrote %1 bytes").arg(bytes));
    return true;
}

void TapeDevice::noteEarlyWarning()
{
    atEndOfTape_ = true;
    console_->message(QStringLiteral("EOT encountered on tape"), Qt::black);
}

bool TapeDevice::noteRepositioned(const char* done)
{
    resetPosition();
    console_->lowLevel(QLatin1String(done) + QStringLiteral(" tape on drive ") + name_);
    return true;
}

bool TapeDevice::noteEndOfDataReached()
{
    blockNumber_ = -1;
    fileNumber_ = -1;
    atEndOfData_ = true;
    console_->lowLevel(QStringLiteral("Skipped to end of data on drive ") + name_);
    return true;
}

bool TapeDevice::acceptWriteLength(int length)
{
    if (length > maxBlockSize_) {
        console_->error(QStringLiteral("block size too large for drive ") + displayLine_, true);
        status_ = WriteFailed;
        return false;
    }
    if (length < 1) {
        console_->error(QStringLiteral("block size (%1) not valid for drive ").arg(length) + displayLine_,
                        true);
        status_ = WriteFailed;
        return false;
    }
    return true;
}

bool TapeDevice::acceptReadLength(int* length)
{
    if (*length == 0)
        *length = maxBlockSize_;
    if (*length < 1) {
        console_->error(QStringLiteral("block size (%1) not valid for drive ").arg(*length) + displayLine_,
                        true);
        status_ = ReadFailed;
        return false;
    }
    return true;
}

void TapeDevice::reportFileMarks(int count)
{
    if (console_->lowLevelEnabled())
        console_->lowLevel(QStringLiteral("wrote %1 filemark%2 on drive ").arg(count).arg(plural(count)) +
                           displayLine_);
}

void TapeDevice::reportSkip(const char* unit, int count, const QString& drive)
{
    if (!console_->lowLevelEnabled())
        return;
    const qint64 magnitude = count < 0 ? -static_cast<qint64>(count) : count;
    console_->lowLevel(QStringLiteral("%1 %2%3 skipped %4 on drive ")
                           .arg(magnitude)
                           .arg(QLatin1String(unit), plural(magnitude),
                                count > 0 ? QStringLiteral("forward") : QStringLiteral("backward")) +
                       drive);
}
