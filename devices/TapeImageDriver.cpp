#include "devices/TapeImageDriver.h"

#include <QFileInfo>
#include <algorithm>
#include <limits>

TapeImageDriver::TapeImageDriver(const QString& imagePath) : path(imagePath) {}

int TapeImageDriver::code(TapeImage::Result result)
{
    switch (result) {
    case TapeImage::Result::Ok:
        return TapeError::Success;
    case TapeImage::Result::FileMark:
        return TapeError::FileMarkDetected;
    case TapeImage::Result::EndOfData:
        return TapeError::NoDataDetected;
    case TapeImage::Result::BeginningOfTape:
        return TapeError::BeginningOfMedia;
    case TapeImage::Result::EarlyWarning:
    case TapeImage::Result::EndOfMedium:
        return TapeError::EndOfMedia;
    case TapeImage::Result::BlockTooLong:
        return TapeError::MoreData;
    case TapeImage::Result::WriteProtected:
        return TapeError::WriteProtect;
    case TapeImage::Result::Offline:
        return TapeError::NoMediaInDrive;
    case TapeImage::Result::Damaged:
    case TapeImage::Result::FileError:
        break;
    }
    return TapeError::IoDevice;
}

int TapeImageDriver::openDevice(bool exclusive)
{
    openProblem.clear();
    if (!image) {
        image = TapeImage::open(path, &openProblem);
        if (!image)
            return QFileInfo::exists(path) ? TapeError::AccessDenied : TapeError::FileNotFound;
    }
    if (exclusive && !image->lockExclusive()) {
        image.reset();
        return TapeError::SharingViolation;
    }
    return TapeError::Success;
}

void TapeImageDriver::closeDevice()
{
    image.reset();
}

int TapeImageDriver::readData(char* buffer, int length, int* transferred)
{
    *transferred = 0;
    if (!image)
        return TapeError::NotReady;
    int recordLength = 0;
    const TapeImage::Result result = image->readRecord(buffer, length, &recordLength);
    if (result == TapeImage::Result::Ok)
        *transferred = recordLength;
    return code(result);
}

int TapeImageDriver::writeData(const char* buffer, int length, int* transferred)
{
    *transferred = 0;
    if (!image)
        return TapeError::NotReady;
    const TapeImage::Result result = image->writeRecord(buffer, length);
    if (result == TapeImage::Result::Ok || result == TapeImage::Result::EarlyWarning)
        *transferred = length;
    return code(result);
}

int TapeImageDriver::tapeStatus()
{
    if (!image)
        return TapeError::NotReady;
    return image->loaded() ? TapeError::Success : TapeError::NoMediaInDrive;
}

int TapeImageDriver::driveInformation(TapeDriveInformation* information)
{
    if (!image)
        return TapeError::NotReady;
    information->minimumBlockSize = 1;
    information->maximumBlockSize = maximumBlockSize;
    information->defaultBlockSize = 0;
    information->earlyWarningZoneSize = static_cast<int>(
        std::min<qint64>(image->capacity() - image->earlyWarningPosition(), std::numeric_limits<int>::max()));
    information->variableBlocks = true;
    return TapeError::Success;
}

int TapeImageDriver::mediaInformation(TapeMediaInformation* information)
{
    const int status = tapeStatus();
    if (status != TapeError::Success)
        return status;
    information->capacity = image->capacity();
    information->remaining = std::max<qint64>(0, image->capacity() - image->position());
    information->blockSize = 0;
    information->writeProtected = image->writeProtected();
    return TapeError::Success;
}

int TapeImageDriver::setMediaBlockSize(int blockSize)
{
    const int status = tapeStatus();
    if (status != TapeError::Success)
        return status;
    // An image keeps every block at its own length.
    return blockSize == 0 ? TapeError::Success : TapeError::NotSupported;
}

int TapeImageDriver::setPosition(Position method, qint64 count)
{
    if (!image)
        return TapeError::NotReady;
    qint64 spaced = 0;
    switch (method) {
    case Position::Rewind:
        return code(image->rewind());
    case Position::RelativeBlocks:
        return code(image->spaceRecords(count, &spaced));
    case Position::FileMarks:
        return code(image->spaceFileMarks(count, &spaced));
    case Position::EndOfData:
        return code(image->spaceToEndOfData());
    }
    return TapeError::NotSupported;
}

int TapeImageDriver::writeFileMarks(int count)
{
    if (!image)
        return TapeError::NotReady;
    int written = 0;
    return code(image->writeFileMarks(count, &written));
}

int TapeImageDriver::prepare(Preparation operation)
{
    if (!image)
        return TapeError::NotReady;
    return code(operation == Preparation::Load ? image->load() : image->unload());
}

int TapeImageDriver::erase()
{
    if (!image)
        return TapeError::NotReady;
    return code(image->erase());
}

int TapeImageDriver::deviceProperty(QString* vendorText, QString* product)
{
    *vendorText = QString::fromLatin1(vendor);
    *product = QFileInfo(path).fileName();
    return TapeError::Success;
}
