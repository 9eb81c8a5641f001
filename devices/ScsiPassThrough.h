#pragma once

#include <QByteArray>

// One SCSI command for a target: the command block, the direction and buffer of
// its data, and how long it may take.
struct ScsiRequest {
    enum class Direction { None, In, Out };

    QByteArray cdb; // 6 or 10 bytes
    Direction direction = Direction::None;
    char* data = nullptr;
    int length = 0;
    int timeLimitMs = 0;
};

// How a command ended: the completion of the request itself, the target's status
// byte and, after a check condition, the sense data (fixed format, 14 bytes or more).
struct ScsiCompletion {
    enum Status { Pending = 0, Done = 1, Aborted = 2, Failed = 4 };
    static constexpr int checkCondition = 2;

    int status = Failed;
    int targetStatus = 0;
    int transferred = 0;
    QByteArray sense;
};

// Sense keys and fixed-format sense bits of the sequential-access command set.
namespace ScsiSense {
enum Key : int {
    NoSense = 0,
    NotReady = 2,
    MediumError = 3,
    IllegalRequest = 5,
    DataProtect = 7,
    BlankCheck = 8,
    VolumeOverflow = 0x0D,
};
constexpr unsigned char valid = 0x80;    // byte 0: the information field is set
constexpr unsigned char fileMark = 0x80; // byte 2
constexpr unsigned char endOfMedium = 0x40;
constexpr unsigned char incorrectLength = 0x20;
constexpr unsigned char keyMask = 0x0F;
} // namespace ScsiSense

// Operation codes of the commands a tape device sends.
namespace ScsiOperation {
enum Code : unsigned char {
    TestUnitReady = 0x00,
    Rewind = 0x01,
    ReadBlockLimits = 0x05,
    Read6 = 0x08,
    Write6 = 0x0A,
    WriteFileMarks = 0x10,
    Space = 0x11,
    Inquiry = 0x12,
    ModeSense6 = 0x1A,
    Erase = 0x19,
    LoadUnload = 0x1B,
    ModeSelect10 = 0x55,
};
} // namespace ScsiOperation

// A road to one SCSI target: sends a command and waits for it to end.
class ScsiPassThrough {
public:
    virtual ~ScsiPassThrough() = default;
    virtual ScsiCompletion execute(const ScsiRequest& request) = 0;
};
