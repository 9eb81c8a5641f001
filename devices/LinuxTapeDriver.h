#pragma once

#include "devices/LinuxSystemCalls.h"
#include "devices/TapeDriver.h"

#include <memory>

// Drive N of the Linux SCSI tape driver: the no-rewind device /dev/nstN in
// variable-block mode, positioned with MTIOCTOP and watched with MTIOCGET. The
// driver's answers (errno values and status bits) become the codes every tape
// driver answers with.
class LinuxTapeDriver : public TapeDriver {
public:
    LinuxTapeDriver(int index, std::shared_ptr<LinuxSystemCalls> calls);
    ~LinuxTapeDriver() override;

    static QString devicePath(int index);

    int openDevice(bool exclusive) override;
    void closeDevice() override;
    int readData(char* buffer, int length, int* transferred) override;
    int writeData(const char* buffer, int length, int* transferred) override;
    int tapeStatus() override;
    int driveInformation(TapeDriveInformation* information) override;
    int mediaInformation(TapeMediaInformation* information) override;
    int setMediaBlockSize(int blockSize) override;
    int setPosition(Position method, qint64 count) override;
    int writeFileMarks(int count) override;
    int prepare(Preparation operation) override;
    int erase() override;
    int deviceProperty(QString* vendor, QString* product) override;

private:
    // The general status bits of the drive; false when the query failed (`error` then holds the code).
    [[nodiscard]] bool statusBits(long* bits, int* error);
    int operation(short code, qint64 count);
    // What a failed transfer or positioning means, from its errno and the drive's status.
    int failure(int error);

    int index;
    std::shared_ptr<LinuxSystemCalls> system;
    int descriptor = -1;
    bool openedReadOnly = false;
    bool afterFileMark = false;
};
