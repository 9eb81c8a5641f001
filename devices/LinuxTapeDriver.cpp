#include "devices/LinuxTapeDriver.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/mtio.h>

LinuxTapeDriver::LinuxTapeDriver(int driveIndex, std::shared_ptr<LinuxSystemCalls> calls)
    : index(driveIndex), system(std::move(calls))
{}

LinuxTapeDriver::~LinuxTapeDriver()
{
    closeDevice();
}

QString LinuxTapeDriver::devicePath(int index)
{
    return QStringLiteral("/dev/nst%1").arg(index);
}

int LinuxTapeDriver::openDevice(bool)
{
    // The tape driver lets one user at a time open a drive, so every open is exclusive.
    if (descriptor >= 0)
        return TapeError::Success;
    const QByteArray path = devicePath(index).toLocal8Bit();
    // Without O_NONBLOCK a drive without a tape could not be opened at all.
    int opened = system->open(path, O_RDWR | O_NONBLOCK);
    openedReadOnly = false;
    if (opened == -EROFS) {
        opened = system->open(path, O_RDONLY | O_NONBLOCK);
        openedReadOnly = true;
    }
    if (opened >= 0) {
        descriptor = opened;
        afterFileMark = false;
        return TapeError::Success;
    }
    switch (-opened) {
    case EACCES:
    case EPERM:
        return TapeError::AccessDenied;
    case EBUSY:
        return TapeError::SharingViolation;
    case ENOMEDIUM:
        return TapeError::NoMediaInDrive;
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return TapeError::FileNotFound;
    default:
        return TapeError::IoDevice;
    }
}

void LinuxTapeDriver::closeDevice()
{
    if (descriptor >= 0)
        system->close(descriptor);
    descriptor = -1;
}

bool LinuxTapeDriver::statusBits(long* bits, int* error)
{
    mtget status{};
    const int result = system->ioctl(descriptor, MTIOCGET, &status);
    if (result < 0) {
        *error = result == -ENOMEDIUM ? TapeError::NoMediaInDrive : TapeError::IoDevice;
        return false;
    }
    *bits = status.mt_gstat;
    return true;
}

int LinuxTapeDriver::failure(int error)
{
    switch (error) {
    case ENOMEDIUM:
        return TapeError::NoMediaInDrive;
    case EACCES:
    case EROFS:
        return TapeError::WriteProtect;
    case ENOSPC:
        return TapeError::EndOfMedia;
    case ENOMEM:
        return TapeError::MoreData;
    case EINVAL:
        return TapeError::InvalidParameter;
    default:
        break;
    }
    long bits = 0;
    int statusError = TapeError::IoDevice;
    if (!statusBits(&bits, &statusError))
        return statusError;
    if (GMT_DR_OPEN(bits) || !GMT_ONLINE(bits))
        return TapeError::NoMediaInDrive;
    if (GMT_EOD(bits))
        return TapeError::NoDataDetected;
    if (GMT_EOF(bits))
        return TapeError::FileMarkDetected;
    if (GMT_BOT(bits))
        return TapeError::BeginningOfMedia;
    if (GMT_EOT(bits))
        return TapeError::EndOfMedia;
    return TapeError::IoDevice;
}

int LinuxTapeDriver::readData(char* buffer, int length, int* transferred)
{
    *transferred = 0;
    if (descriptor < 0)
        return TapeError::NotReady;
    const qint64 count = system->read(descriptor, buffer, length);
    if (count > 0) {
        afterFileMark = false;
        *transferred = static_cast<int>(count);
        return TapeError::Success;
    }
    if (count == 0 || count == -EIO) {
        // A mark read twice in a row, or an error right after one, is the end of the data.
        long bits = 0;
        int statusError = 0;
        const bool known = statusBits(&bits, &statusError);
        if (afterFileMark || (known && GMT_EOD(bits)))
            return TapeError::NoDataDetected;
        if (count == 0) {
            afterFileMark = true;
            return TapeError::FileMarkDetected;
        }
        if (known && (GMT_DR_OPEN(bits) || !GMT_ONLINE(bits)))
            return TapeError::NoMediaInDrive;
        return known ? TapeError::IoDevice : statusError;
    }
    afterFileMark = false;
    return failure(static_cast<int>(-count));
}

int LinuxTapeDriver::writeData(const char* buffer, int length, int* transferred)
{
    *transferred = 0;
    if (descriptor < 0)
        return TapeError::NotReady;
    afterFileMark = false;
    if (openedReadOnly)
        return TapeError::WriteProtect;
    const qint64 count = system->write(descriptor, buffer, length);
    if (count == length) {
        *transferred = length;
        return TapeError::Success;
    }
    if (count == -ENOSPC) {
        // In variable-block mode the block that meets the early warning is written.
        *transferred = length;
        return TapeError::EndOfMedia;
    }
    if (count >= 0)
        return TapeError::IoDevice; // a block cut short is a damaged block
    return failure(static_cast<int>(-count));
}

int LinuxTapeDriver::tapeStatus()
{
    if (descriptor < 0)
        return TapeError::NotReady;
    long bits = 0;
    int error = 0;
    if (!statusBits(&bits, &error))
        return error;
    if (GMT_DR_OPEN(bits) || !GMT_ONLINE(bits))
        return TapeError::NoMediaInDrive;
    return TapeError::Success;
}

int LinuxTapeDriver::driveInformation(TapeDriveInformation* information)
{
    if (descriptor < 0)
        return TapeError::NotReady;
    information->minimumBlockSize = 1;
    information->maximumBlockSize = 0xFFFFFF;
    information->variableBlocks = true;
    return TapeError::Success;
}

int LinuxTapeDriver::mediaInformation(TapeMediaInformation* information)
{
    if (descriptor < 0)
        return TapeError::NotReady;
    mtget status{};
    const int result = system->ioctl(descriptor, MTIOCGET, &status);
    if (result < 0)
        return result == -ENOMEDIUM ? TapeError::NoMediaInDrive : TapeError::IoDevice;
    if (GMT_DR_OPEN(status.mt_gstat) || !GMT_ONLINE(status.mt_gstat))
        return TapeError::NoMediaInDrive;
    information->blockSize = static_cast<int>((status.mt_dsreg & MT_ST_BLKSIZE_MASK) >> MT_ST_BLKSIZE_SHIFT);
    information->writeProtected = openedReadOnly || GMT_WR_PROT(status.mt_gstat);
    return TapeError::Success;
}

int LinuxTapeDriver::operation(short code, qint64 count)
{
    if (descriptor < 0)
        return TapeError::NotReady;
    afterFileMark = false;
    mtop request{};
    request.mt_op = code;
    request.mt_count = static_cast<int>(std::clamp<qint64>(count, 0, INT_MAX));
    const int result = system->ioctl(descriptor, MTIOCTOP, &request);
    return result < 0 ? failure(-result) : TapeError::Success;
}

int LinuxTapeDriver::setMediaBlockSize(int blockSize)
{
    return operation(MTSETBLK, blockSize);
}

int LinuxTapeDriver::setPosition(Position method, qint64 count)
{
    switch (method) {
    case Position::Rewind:
        return operation(MTREW, 1);
    case Position::RelativeBlocks:
        return count >= 0 ? operation(MTFSR, count) : operation(MTBSR, -count);
    case Position::FileMarks:
        // Backward over a mark ends on its beginning-of-tape side, as MTBSF leaves it.
        return count >= 0 ? operation(MTFSF, count) : operation(MTBSF, -count);
    case Position::EndOfData:
        return operation(MTEOM, 1);
    }
    return TapeError::NotSupported;
}

int LinuxTapeDriver::writeFileMarks(int count)
{
    if (openedReadOnly && descriptor >= 0)
        return TapeError::WriteProtect;
    return operation(MTWEOF, count);
}

int LinuxTapeDriver::prepare(Preparation preparation)
{
    return operation(preparation == Preparation::Load ? MTLOAD : MTOFFL, 1);
}

int LinuxTapeDriver::erase()
{
    if (openedReadOnly && descriptor >= 0)
        return TapeError::WriteProtect;
    // A count other than 0 asks for the long erase, to the end of the tape.
    return operation(MTERASE, 1);
}

int LinuxTapeDriver::deviceProperty(QString* vendor, QString* product)
{
    const QString device = QStringLiteral("/sys/class/scsi_tape/nst%1/device/").arg(index);
    const bool found = system->readText(device + QStringLiteral("vendor"), vendor);
    return system->readText(device + QStringLiteral("model"), product) && found ? TapeError::Success
                                                                                : TapeError::NotSupported;
}
