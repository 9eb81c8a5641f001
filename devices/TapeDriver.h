#pragma once

#include <QString>

// The system error codes a tape driver answers with. Each driver maps its own
// failures onto these, so that the messages and counters of TapeSpti stay the
// same for every drive.
namespace TapeError {
enum Code : int {
    Success = 0,
    FileNotFound = 2,
    AccessDenied = 5,
    WriteProtect = 19,
    NotReady = 21,
    SharingViolation = 32,
    NotSupported = 50,
    InvalidParameter = 87,
    MoreData = 234, // the block is longer than the read buffer
    EndOfMedia = 1100,
    FileMarkDetected = 1101,
    BeginningOfMedia = 1102,
    SetmarkDetected = 1103,
    NoDataDetected = 1104,
    PartitionFailure = 1105,
    InvalidBlockLength = 1106,
    DeviceNotPartitioned = 1107,
    UnableToLockMedia = 1108,
    UnableToUnloadMedia = 1109,
    MediaChanged = 1110,
    BusReset = 1111,
    NoMediaInDrive = 1112,
    IoDevice = 1117,
};
} // namespace TapeError

// What a drive tells about itself.
struct TapeDriveInformation {
    int minimumBlockSize = 1;
    int maximumBlockSize = 0;
    int defaultBlockSize = 0;
    int earlyWarningZoneSize = 0;
    bool ecc = false;
    bool compression = false;
    bool dataPadding = false;
    bool variableBlocks = false;
};

// What a drive tells about the tape in it.
struct TapeMediaInformation {
    qint64 capacity = 0;
    qint64 remaining = 0;
    int blockSize = 0;
    bool writeProtected = false;
};

// One tape drive as the operating system's tape driver offers it: open and close
// the device, read and write one block, position, mark, load, erase. Every call
// answers with a TapeError code.
class TapeDriver {
public:
    enum class Position { Rewind, RelativeBlocks, FileMarks, EndOfData };
    enum class Preparation { Load, Unload };

    virtual ~TapeDriver() = default;

    // Exclusive: no other user may open the drive while this one has it.
    virtual int openDevice(bool exclusive) = 0;
    // Why the last openDevice answered AccessDenied, when the driver can say it better than the
    // drive-permission message (a tape image names its file and the reason); empty otherwise.
    virtual QString accessProblem() const { return QString(); }
    virtual void closeDevice() = 0;
    virtual int readData(char* buffer, int length, int* transferred) = 0;
    virtual int writeData(const char* buffer, int length, int* transferred) = 0;
    virtual int tapeStatus() = 0;
    virtual int driveInformation(TapeDriveInformation* information) = 0;
    virtual int mediaInformation(TapeMediaInformation* information) = 0;
    virtual int setMediaBlockSize(int blockSize) = 0;
    virtual int setPosition(Position method, qint64 count) = 0;
    virtual int writeFileMarks(int count) = 0;
    virtual int prepare(Preparation operation) = 0;
    // Erases from the current position to the end of the tape.
    virtual int erase() = 0;
    virtual int deviceProperty(QString* vendor, QString* product) = 0;
};
