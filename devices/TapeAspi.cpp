#include "devices/TapeAspi.h"

#include "base/ObrConsole.h"
#include "devices/ScsiSenseData.h"
#include "devices/TapeWaitCursor.h"

#include <QtEndian>
#include <algorithm>
#include <new>

namespace {

using Direction = ScsiRequest::Direction;

constexpr int inquiryLength = 32;
constexpr int modeSenseLength = 8;
constexpr int modeSelectLength = 16;
constexpr int blockLimitsLength = 12;
constexpr qint64 largestSpace = 0x7FFFFF; // a SPACE count is 24 bits, two's complement
constexpr int largestTransfer = 0xFFFFFF;
constexpr unsigned char variableBlockDensity = 0x52;

namespace TimeLimit {
constexpr int identify = 500;
constexpr int unitReady = 90;
constexpr int modeSelect = 90;
constexpr int transfer = 120000;
constexpr int position = 180000;
constexpr int fileMarks = 60000;
constexpr int erase = 60000;
} // namespace TimeLimit

QByteArray commandBlock(unsigned char operation, unsigned char byte1 = 0, qint64 count = 0, int size = 6)
{
    QByteArray cdb(size, '\0');
    cdb[0] = static_cast<char>(operation);
    cdb[1] = static_cast<char>(byte1);
    // Counts and transfer lengths sit big-endian in bytes 2 to 4.
    cdb[2] = static_cast<char>((count >> 16) & 0xFF);
    cdb[3] = static_cast<char>((count >> 8) & 0xFF);
    cdb[4] = static_cast<char>(count & 0xFF);
    return cdb;
}

} // namespace

TapeAspi::TapeAspi(ObrConsole* console, int hostAdapter, int target,
                   std::unique_ptr<ScsiPassThrough> passThrough, int transferBufferSize)
    : TapeDevice(console), scsi(std::move(passThrough)), adapter(hostAdapter), targetId(target)
{
    buffer_ = new (std::nothrow) char[transferBufferSize]();
    if (!buffer_) {
        console_->error(QStringLiteral("failed to allocate memory for tape i/o."), true);
        status_ = AllocationFailed;
        return;
    }
    bufferSize_ = transferBufferSize;
    identify();
}

void TapeAspi::identify()
{
    char inquiry[inquiryLength] = {};
    send(commandBlock(ScsiOperation::Inquiry, 0, inquiryLength), Direction::In, inquiry, inquiryLength,
         TimeLimit::identify);
    if (status_ != CommandDone)
        return;
    name_ = QString::fromLatin1(inquiry + 8, 8).trimmed() + QLatin1Char(' ') +
            QString::fromLatin1(inquiry + 16, 16).trimmed();
    if (name_.size() < 4)
        return;
    scsiId_ = QStringLiteral("(%1:%2)").arg(adapter).arg(targetId);
    buildDisplayLine();
    if (!isReady()) {
        console_->warning(
            QStringLiteral("drive ") + displayLine_ +
                QStringLiteral(" is not ready.\n   Make sure the tape is loaded and the unit is online."),
            true);
        return;
    }

    char parameters[modeSelectLength] = {};
    parameters[3] = 0x10; // buffered mode 1
    parameters[7] = 8;    // one block descriptor
    parameters[8] = static_cast<char>(variableBlockDensity);
    // Block length 0 in the descriptor: variable blocks.
    QByteArray select = commandBlock(ScsiOperation::ModeSelect10, 0x10, 0, 10);
    select[4] = 0;
    select[8] = modeSelectLength;
    send(select, Direction::Out, parameters, modeSelectLength, TimeLimit::modeSelect);
    if (status_ != CommandDone)
        console_->error(QStringLiteral("failed to set variable block mode on drive ") + displayLine_, true);

    uchar limits[blockLimitsLength] = {};
    send(commandBlock(ScsiOperation::ReadBlockLimits), Direction::In, reinterpret_cast<char*>(limits),
         blockLimitsLength, TimeLimit::identify);
    int driveMaximum = bufferSize_;
    if (status_ == CommandDone) {
        driveMaximum = (limits[1] << 16) | (limits[2] << 8) | limits[3];
        minBlockSize_ = qFromBigEndian<quint16>(limits + 4);
    } else {
        console_->error(QStringLiteral("failed to get block limits on drive ") + displayLine_, true);
    }
    setDriveMaxBlockSize(std::min(driveMaximum, bufferSize_));
    status_ = CommandDone;
    ok_ = true;
}

TapeAspi::Sent TapeAspi::send(const QByteArray& cdb, ScsiRequest::Direction direction, char* data, int length,
                              int timeLimitMs)
{
    ScsiRequest request;
    request.cdb = cdb;
    request.direction = direction;
    request.data = data;
    request.length = length;
    request.timeLimitMs = timeLimitMs;
    const ScsiCompletion completion = scsi->execute(request);
    Sent sent;
    if (completion.status == ScsiCompletion::Done) {
        status_ = CommandDone;
        sent.transferred = length;
        return sent;
    }
    status_ = CommandFailed;
    if (completion.targetStatus == ScsiCompletion::checkCondition)
        decodeSense(static_cast<unsigned char>(cdb[0]), length, completion.sense, &sent);
    return sent;
}

void TapeAspi::decodeSense(unsigned char operation, int requested, const QByteArray& senseBytes, Sent* sent)
{
    const ScsiSenseData sense = ScsiSenseData::parse(senseBytes);
    const auto fail = [this](const char* text) { console_->error(QString::fromLatin1(text), false); };
    const auto failWithKey = [this, &sense](const char* text) {
        console_->error(QString::fromLatin1(text).arg(sense.key), false);
    };
    switch (operation) {
    case ScsiOperation::Read6:
        if (sense.key == ScsiSense::NoSense && sense.informationValid && sense.information < 0) {
            console_->error(QStringLiteral("block size (%1) too large for drive.").arg(requested), false);
        } else if (sense.key == ScsiSense::NoSense) {
            status_ = CommandDone;
            sent->fileMark = sense.fileMark;
            const qint64 residue = sense.informationValid ? sense.information : 0;
            sent->transferred =
                sense.fileMark ? 0 : static_cast<int>(std::clamp<qint64>(requested - residue, 0, requested));
        } else if (sense.key == ScsiSense::IllegalRequest) {
            fail("illegal READ request.");
        } else if (sense.key == ScsiSense::BlankCheck) {
            status_ = EndOfData;
        } else if (sense.key == ScsiSense::VolumeOverflow) {
            fail("end of tape encountered during read.");
            status_ = EndOfData;
        } else {
            failWithKey("error (%1) occurred during read.");
        }
        return;
    case ScsiOperation::Write6:
    case ScsiOperation::WriteFileMarks: {
        const bool marks = operation == ScsiOperation::WriteFileMarks;
        if (sense.key == ScsiSense::NoSense) {
            // Early warning: the data went to tape all the same.
            status_ = sense.endOfMedium ? EarlyWarning : CommandDone;
            sent->transferred = requested;
        } else if (sense.key == ScsiSense::IllegalRequest) {
            fail(marks ? "illegal WEOF request." : "illegal WRITE request.");
        } else if (sense.key == ScsiSense::DataProtect) {
            fail(marks ? "write EOF failed. Tape is write protected."
                       : "write failed. Tape is write protected.");
        } else if (sense.key == ScsiSense::VolumeOverflow && sense.endOfMedium) {
            fail(marks ? "physical end of tape encountered during write EOF."
                       : "physical end of tape encountered during write.");
        } else {
            failWithKey(marks ? "error (%1) occurred during write EOF."
                              : "error (%1) occurred during write.");
        }
        return;
    }
    case ScsiOperation::Space:
        sent->residueKnown = sense.informationValid;
        sent->residue = sense.information;
        if (sense.key == ScsiSense::NoSense && sense.fileMark) {
            fail("filemark encountered during tape search.");
        } else if (sense.key == ScsiSense::NoSense && sense.endOfMedium) {
            fail("beginning of tape encountered during tape search.");
        } else if (sense.key == ScsiSense::MediumError && sense.endOfMedium) {
            fail("end of tape encountered during tape search.");
            status_ = EndOfData;
        } else if (sense.key == ScsiSense::IllegalRequest) {
            fail("illegal SKIP request.");
        } else if (sense.key == ScsiSense::BlankCheck) {
            fail("blank tape encountered during tape search.");
            status_ = EndOfData;
        } else {
            failWithKey("error (%1) occurred during tape search.");
        }
        return;
    default:
        return;
    }
}

bool TapeAspi::isReady()
{
    TapeWaitCursor waitCursor;
    // The first command after a tape change reports the change; the second one tells.
    send(commandBlock(ScsiOperation::TestUnitReady), Direction::None, nullptr, 0, TimeLimit::unitReady);
    if (status_ != CommandDone)
        send(commandBlock(ScsiOperation::TestUnitReady), Direction::None, nullptr, 0, TimeLimit::unitReady);
    return status_ == CommandDone;
}

bool TapeAspi::readyOrLoaded()
{
    if (isReady())
        return true;
    send(commandBlock(ScsiOperation::LoadUnload, 0, 1), Direction::None, nullptr, 0, TimeLimit::position);
    if (status_ == CommandDone)
        resetPosition();
    if (isReady())
        return true;
    console_->warning(
        QStringLiteral("drive ") + displayLine_ +
            QStringLiteral(" is not ready.\n   Make sure the tape is loaded and the unit is online."),
        true);
    return false;
}

bool TapeAspi::checkWriteProtection()
{
    uchar header[modeSenseLength] = {};
    send(commandBlock(ScsiOperation::ModeSense6, 0, modeSenseLength), Direction::In,
         reinterpret_cast<char*>(header), modeSenseLength, TimeLimit::identify);
    bool writeProtected = true;
    if (status_ == CommandDone) {
        writeProtected = (header[2] & 0x80) != 0;
    } else {
        console_->error(QStringLiteral("failed checking write protection for drive at SCSI ID (%1:%2)")
                            .arg(adapter)
                            .arg(targetId),
                        true);
        console_->warning(QStringLiteral("defaulting write-protect to true"), false);
    }
    if (!writeProtected)
        return true;
    console_->error(QStringLiteral("tape in drive \"%1\" is write protected.").arg(displayLine_), true);
    status_ = CommandFailed;
    return false;
}

bool TapeAspi::open(unsigned mode)
{
    TapeWaitCursor waitCursor;
    mode_ = mode;
    open_ = false;
    if (!readyOrLoaded())
        return false;
    if (mode == 1 && !checkWriteProtection())
        return false;
    open_ = true;
    status_ = CommandDone;
    return true;
}

void TapeAspi::close()
{
    open_ = false;
}

bool TapeAspi::read(char* buffer, int length)
{
    TapeWaitCursor waitCursor;
    atFileMark_ = false;
    atEndOfData_ = false;
    bytesRead_ = 0;
    if (!acceptReadLength(&length))
        return false;
    length = std::min(length, largestTransfer);
    const Sent sent = send(commandBlock(ScsiOperation::Read6, 0, length), Direction::In, buffer, length,
                           TimeLimit::transfer);
    if (status_ == EndOfData)
        return noteEndOfDataRead();
    if (status_ != CommandDone)
        return false;
    if (sent.transferred > 0 && !sent.fileMark)
        return noteBlockRead(sent.transferred);
    return noteFileMarkRead();
}

bool TapeAspi::write(const char* buffer, int length)
{
    TapeWaitCursor waitCursor;
    atEndOfTape_ = false;
    if (!acceptWriteLength(length))
        return false;
    send(commandBlock(ScsiOperation::Write6, 0, length), Direction::Out, const_cast<char*>(buffer), length,
         TimeLimit::transfer);
    if (status_ == CommandDone)
        return noteBlockWritten(length);
    if (status_ == EarlyWarning)
        noteEarlyWarning();
    return false;
}

bool TapeAspi::simpleCommand(unsigned char operation, unsigned char byte4, int timeLimitMs,
                             const char* failure)
{
    TapeWaitCursor waitCursor;
    send(commandBlock(operation, 0, byte4), Direction::None, nullptr, 0, timeLimitMs);
    if (status_ == CommandDone)
        return true;
    console_->error(QString::fromLatin1(failure) + name_, true);
    return false;
}

bool TapeAspi::rewind()
{
    if (!simpleCommand(ScsiOperation::Rewind, 0, TimeLimit::position, "rewind failed on drive "))
        return false;
    return noteRepositioned("Rewound");
}

bool TapeAspi::unload()
{
    if (!simpleCommand(ScsiOperation::LoadUnload, 0, TimeLimit::position, "unload failed on drive "))
        return false;
    return noteRepositioned("Unloaded");
}

bool TapeAspi::load()
{
    if (!simpleCommand(ScsiOperation::LoadUnload, 1, TimeLimit::position, "load failed on drive "))
        return false;
    return noteRepositioned("Loaded");
}

bool TapeAspi::erase()
{
    if (!simpleCommand(ScsiOperation::Erase, 0, TimeLimit::erase, "erase failed on drive "))
        return false;
    console_->lowLevel(QStringLiteral("Erased tape on drive ") + name_);
    return true;
}

qint64 TapeAspi::space(int code, qint64 count)
{
    TapeWaitCursor waitCursor;
    qint64 passed = 0;
    while (passed != count) {
        const qint64 chunk = std::clamp(count - passed, -largestSpace, largestSpace);
        const Sent sent = send(commandBlock(ScsiOperation::Space, static_cast<unsigned char>(code), chunk),
                               Direction::None, nullptr, 0, TimeLimit::position);
        if (status_ == CommandDone) {
            passed += chunk;
            continue;
        }
        // Without a residue (or with one that makes no sense) nothing is known to have been passed.
        const bool sameSign = sent.residue == 0 || (sent.residue > 0) == (chunk > 0);
        if (sent.residueKnown && sameSign && std::abs(sent.residue) <= std::abs(chunk))
            passed += chunk - sent.residue;
        break;
    }
    return passed;
}

bool TapeAspi::skipBlocks(int count)
{
    if (count == 0)
        return true;
    const qint64 passed = space(0, count);
    blockNumber_ += static_cast<int>(passed);
    if (status_ == EndOfData)
        atEndOfData_ = true;
    if (passed != 0)
        reportSkip("block", static_cast<int>(passed), name_);
    return status_ == CommandDone;
}

bool TapeAspi::skipFiles(int count)
{
    if (count == 0)
        return true;
    const qint64 passed = space(1, count);
    if (passed != 0) {
        fileNumber_ += static_cast<int>(passed);
        blockNumber_ = 1;
        reportSkip("file", static_cast<int>(passed), displayLine_);
    }
    if (status_ == EndOfData)
        atEndOfData_ = true;
    return status_ == CommandDone;
}

bool TapeAspi::skipToEndOfData()
{
    TapeWaitCursor waitCursor;
    send(commandBlock(ScsiOperation::Space, 3), Direction::None, nullptr, 0, TimeLimit::position);
    if (status_ != CommandDone) {
        console_->error(QStringLiteral("skip to end of data failed on drive ") + name_, true);
        return false;
    }
    return noteEndOfDataReached();
}

bool TapeAspi::writeFileMarks(int count)
{
    if (count < 1)
        return true;
    TapeWaitCursor waitCursor;
    // Once the early warning has been told, the marks that close the data are expected there.
    const bool warned = atEndOfTape_;
    atEndOfTape_ = false;
    int written = 0;
    while (written < count) {
        const int chunk = std::min(count - written, largestTransfer);
        // Byte 1 asks the drive to return at once; the marks are flushed by the next command.
        send(commandBlock(ScsiOperation::WriteFileMarks, 0x01, chunk), Direction::None, nullptr, 0,
             TimeLimit::fileMarks);
        if (status_ != CommandDone && status_ != EarlyWarning)
            break;
        written += chunk;
        if (status_ == EarlyWarning && !warned)
            break;
    }
    if (written > 0) {
        fileNumber_ += written;
        blockNumber_ = 1;
    }
    if (status_ == EarlyWarning && warned) {
        atEndOfTape_ = true;
        status_ = CommandDone;
    } else if (status_ == EarlyWarning) {
        noteEarlyWarning();
        return false;
    }
    if (status_ != CommandDone)
        return false;
    reportFileMarks(count);
    return true;
}
