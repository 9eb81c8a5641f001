#include "devices/TapeSpti.h"

#include "base/ObrConsole.h"
#include "devices/TapeWaitCursor.h"

#include <new>

namespace {

struct ErrorText {
    int code;
    const char* text;
};

constexpr ErrorText errorTexts[] = {
    {TapeError::AccessDenied, "user does not have access permission"},
    {TapeError::WriteProtect, "the tape is write protected"},
    {TapeError::NotReady, "the device is not ready"},
    {TapeError::NotSupported, "the tape driver does not support a requested function"},
    {TapeError::MoreData, "the block on tape is longer than the read buffer"},
    {TapeError::EndOfMedia, "EOT marker was reached during an operation"},
    {TapeError::FileMarkDetected, "a filemark was reached during an operation"},
    {TapeError::BeginningOfMedia, "an attempt to access data before the beginning-of-medium marker failed"},
    {TapeError::SetmarkDetected, "a setmark was reached during an operation"},
    {TapeError::NoDataDetected, "the end-of-data marker was reached during an operation"},
    {TapeError::PartitionFailure, "the tape could not be partitioned"},
    {TapeError::InvalidBlockLength, "the block size is incorrect on a new tape in a multivolume partition"},
    {TapeError::DeviceNotPartitioned,
     "the partition information could not be found when a tape was being loaded"},
    {TapeError::UnableToLockMedia, "an attempt to lock the ejection mechanism failed"},
    {TapeError::UnableToUnloadMedia, "an attempt to unload the tape failed"},
    {TapeError::MediaChanged, "the tape that was in the drive has been replaced or removed"},
    {TapeError::BusReset, "a reset condition was detected on the bus"},
    {TapeError::NoMediaInDrive, "there is no tape in the drive"},
    {TapeError::IoDevice, "the drive reported an input/output error"},
};

} // namespace

TapeSpti::TapeSpti(ObrConsole* console, int index, std::unique_ptr<TapeDriver> tapeDriver)
    : TapeDevice(console), driver(std::move(tapeDriver))
{
    scsiId_ = QStringLiteral("Tape%1").arg(index);
    buildDisplayLine();
    identify();
}

TapeSpti::~TapeSpti()
{
    if (open_)
        driver->closeDevice();
}

QString TapeSpti::errorText(int code)
{
    for (const ErrorText& entry : errorTexts) {
        if (entry.code == code)
            return QString::fromLatin1(entry.text);
    }
    return QStringLiteral("unidentified error - code %1").arg(code);
}

bool TapeSpti::sayAccessProblem()
{
    const QString problem = driver->accessProblem();
    if (problem.isEmpty())
        return false;
    console_->message(QStringLiteral("  "), Qt::black);
    console_->error(problem, true);
    return true;
}

void TapeSpti::identify()
{
    const int opened = driver->openDevice(false);
    if (opened != TapeError::Success) {
        status_ = opened;
        if (opened == TapeError::AccessDenied && !sayAccessProblem()) {
            console_->message(QStringLiteral("  "), Qt::black);
            console_->error(QStringLiteral("this user account does not have system access to tape drives.  \n"
                                           "   Please run Trevalo as Administrator in order to access tape "
                                           "drives. "),
                            true);
        } else if (opened == TapeError::SharingViolation) {
            console_->message(QStringLiteral("  "), Qt::black);
            console_->error(QStringLiteral("Tape device is already in use - system sharing violation. "),
                            true);
        }
        return;
    }
    deviceOpened_ = true;
    open_ = true;

    buffer_ = new (std::nothrow) char[transferBufferSize]();
    if (!buffer_) {
        console_->error(QStringLiteral("failed to allocate memory (%1 bytes) for SPTI tape device.")
                            .arg(transferBufferSize),
                        true);
        status_ = AllocationFailed;
        return;
    }
    bufferSize_ = transferBufferSize;

    TapeDriveInformation information;
    const int identified = driver->driveInformation(&information);
    if (identified != TapeError::Success && identified != TapeError::MediaChanged) {
        decodeError(identified);
        return;
    }
    minBlockSize_ = information.minimumBlockSize;
    QString vendor;
    QString product;
    if (driver->deviceProperty(&vendor, &product) == TapeError::Success)
        name_ = vendor.trimmed() + QLatin1Char(' ') + product.trimmed();
    buildDisplayLine();
    setDriveMaxBlockSize(information.maximumBlockSize);
    status_ = Success;
    ok_ = true;
}

void TapeSpti::decodeError(int code)
{
    status_ = code;
    console_->error(QStringLiteral("%1 on: %2").arg(errorText(code), displayLine_), true);
}

bool TapeSpti::failOpen(int code)
{
    decodeError(code);
    close();
    return false;
}

bool TapeSpti::open(unsigned mode)
{
    TapeWaitCursor waitCursor;
    mode_ = mode;
    status_ = Success;
    if (!open_) {
        const int opened = driver->openDevice(true);
        if (opened == TapeError::AccessDenied) {
            status_ = opened;
            if (sayAccessProblem())
                return false;
            console_->message(QStringLiteral("  "), Qt::black);
            console_->error(QStringLiteral("this user account does not have system access to tape drives."),
                            false);
            console_->message(
                QStringLiteral("  Please run Trevalo as Administrator in order to access tape drives."),
                Qt::black);
            return false;
        }
        if (opened == TapeError::SharingViolation) {
            status_ = opened;
            console_->message(QStringLiteral("  "), Qt::black);
            console_->error(QStringLiteral("Tape device is already in use - system sharing violation. "),
                            true);
            return false;
        }
        if (opened != TapeError::Success) {
            decodeError(opened);
            return false;
        }
        open_ = true;
    }
    // An operator who loads a tape and opens the drive expects the tape to be taken in.
    if (!isReady() && status_ == TapeError::NoMediaInDrive) {
        const int loaded = driver->prepare(TapeDriver::Preparation::Load);
        if (loaded == TapeError::Success) {
            resetPosition();
            isReady();
        }
    }
    if (status_ != TapeError::Success && status_ != TapeError::MediaChanged)
        return failOpen(status_);
    const int variable = driver->setMediaBlockSize(0);
    if (variable != TapeError::Success)
        return failOpen(variable);
    TapeMediaInformation media;
    const int queried = driver->mediaInformation(&media);
    if (queried != TapeError::Success && queried != TapeError::MediaChanged)
        return failOpen(queried);
    if (mode == 1 && media.writeProtected)
        return failOpen(TapeError::WriteProtect);
    status_ = Success;
    return true;
}

void TapeSpti::close()
{
    if (open_)
        driver->closeDevice();
    open_ = false;
}

bool TapeSpti::isReady()
{
    TapeWaitCursor waitCursor;
    status_ = driver->tapeStatus();
    return status_ == TapeError::Success || status_ == TapeError::MediaChanged;
}

bool TapeSpti::read(char* buffer, int length)
{
    TapeWaitCursor waitCursor;
    atFileMark_ = false;
    atEndOfData_ = false;
    bytesRead_ = 0;
    if (!acceptReadLength(&length))
        return false;
    int transferred = 0;
    const int code = driver->readData(buffer, length, &transferred);
    status_ = code;
    if (code == TapeError::Success && transferred > 0)
        return noteBlockRead(transferred);
    if (code == TapeError::Success || code == TapeError::FileMarkDetected)
        return noteFileMarkRead();
    if (code == TapeError::NoDataDetected)
        return noteEndOfDataRead();
    decodeError(code);
    return false;
}

bool TapeSpti::write(const char* buffer, int length)
{
    TapeWaitCursor waitCursor;
    atEndOfTape_ = false;
    if (!acceptWriteLength(length))
        return false;
    int transferred = 0;
    const int code = driver->writeData(buffer, length, &transferred);
    status_ = code;
    if (code == TapeError::Success)
        return noteBlockWritten(transferred);
    if (code == TapeError::EndOfMedia) {
        noteEarlyWarning();
        return false;
    }
    decodeError(code);
    return false;
}

bool TapeSpti::rewind()
{
    TapeWaitCursor waitCursor;
    const int code = driver->setPosition(TapeDriver::Position::Rewind, 0);
    if (code != TapeError::Success) {
        decodeError(code);
        console_->error(QStringLiteral("rewind failed on drive ") + name_, true);
        return false;
    }
    status_ = Success;
    return noteRepositioned("Rewound");
}

bool TapeSpti::unload()
{
    TapeWaitCursor waitCursor;
    const int code = driver->prepare(TapeDriver::Preparation::Unload);
    if (code != TapeError::Success) {
        decodeError(code);
        console_->error(QStringLiteral("unload failed on drive ") + name_, true);
        return false;
    }
    status_ = Success;
    // An unloaded tape is rewound; the next one starts at its beginning.
    return noteRepositioned("Unloaded");
}

bool TapeSpti::load()
{
    TapeWaitCursor waitCursor;
    const int code = driver->prepare(TapeDriver::Preparation::Load);
    if (code != TapeError::Success) {
        decodeError(code);
        console_->error(QStringLiteral("load failed on drive ") + name_, true);
        return false;
    }
    status_ = Success;
    return noteRepositioned("Loaded");
}

bool TapeSpti::skipBlocks(int count)
{
    if (count == 0)
        return true;
    TapeWaitCursor waitCursor;
    const int code = driver->setPosition(TapeDriver::Position::RelativeBlocks, count);
    if (code != TapeError::Success) {
        decodeError(code);
        return false;
    }
    status_ = Success;
    blockNumber_ += count;
    reportSkip("block", count, name_);
    return true;
}

bool TapeSpti::skipFiles(int count)
{
    if (count == 0)
        return true;
    TapeWaitCursor waitCursor;
    const int code = driver->setPosition(TapeDriver::Position::FileMarks, count);
    if (code != TapeError::Success) {
        decodeError(code);
        return false;
    }
    status_ = Success;
    fileNumber_ += count;
    blockNumber_ = 1;
    reportSkip("file", count, displayLine_);
    return true;
}

bool TapeSpti::skipToEndOfData()
{
    TapeWaitCursor waitCursor;
    const int code = driver->setPosition(TapeDriver::Position::EndOfData, 0);
    if (code != TapeError::Success) {
        decodeError(code);
        console_->error(QStringLiteral("skip to end of data failed on drive ") + name_, true);
        return false;
    }
    status_ = Success;
    return noteEndOfDataReached();
}

bool TapeSpti::writeFileMarks(int count)
{
    if (count < 1)
        return true;
    TapeWaitCursor waitCursor;
    // Once the early warning has been told, the marks that close the data are expected there.
    const bool warned = atEndOfTape_;
    atEndOfTape_ = false;
    const int code = driver->writeFileMarks(count);
    if (code == TapeError::Success || code == TapeError::EndOfMedia) {
        // Marks written into the early-warning zone are on the tape all the same.
        fileNumber_ += count;
        blockNumber_ = 1;
    }
    if (code == TapeError::EndOfMedia && warned) {
        atEndOfTape_ = true;
        status_ = Success;
        reportFileMarks(count);
        return true;
    }
    if (code != TapeError::Success) {
        if (code == TapeError::EndOfMedia)
            atEndOfTape_ = true;
        decodeError(code);
        return false;
    }
    status_ = Success;
    reportFileMarks(count);
    return true;
}

bool TapeSpti::erase()
{
    TapeWaitCursor waitCursor;
    const int code = driver->erase();
    if (code != TapeError::Success) {
        decodeError(code);
        console_->error(QStringLiteral("erase failed on drive ") + name_, true);
        return false;
    }
    status_ = Success;
    console_->lowLevel(QStringLiteral("Erased tape on drive ") + name_);
    return true;
}
