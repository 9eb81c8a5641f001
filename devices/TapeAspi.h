#pragma once

#include "devices/ScsiPassThrough.h"
#include "devices/TapeDevice.h"

#include <memory>

// A tape drive worked with SCSI commands of the sequential-access command set,
// sent through a pass-through to one target. Failures are read from the sense
// data of each command.
class TapeAspi : public TapeDevice {
public:
    // Status codes of a command.
    enum CommandStatus { CommandDone = 0, EndOfData = -9, EarlyWarning = -99, CommandFailed = -999 };

    // Identifies the target `target` of adapter `hostAdapter`; ok() tells success.
    TapeAspi(ObrConsole* console, int hostAdapter, int target, std::unique_ptr<ScsiPassThrough> passThrough,
             int transferBufferSize);

    bool open(unsigned mode) override;
    void close() override;
    bool read(char* buffer, int length) override;
    bool write(const char* buffer, int length) override;
    bool isReady() override;
    bool rewind() override;
    bool unload() override;
    bool skipBlocks(int count) override;
    bool skipFiles(int count) override;
    bool skipToEndOfData() override;
    bool writeFileMarks(int count) override;
    bool erase() override;
    bool load() override;

    int hostAdapter() const { return adapter; }
    int target() const { return targetId; }

private:
    struct Sent {
        int transferred = 0;
        bool fileMark = false;
        bool residueKnown = false;
        qint64 residue = 0; // blocks or marks a SPACE did not pass, with the sign of its count
    };

    void identify();
    // Sends one command; leaves its code in status_ and reports what its sense data says.
    Sent send(const QByteArray& cdb, ScsiRequest::Direction direction, char* data, int length,
              int timeLimitMs);
    void decodeSense(unsigned char operation, int requested, const QByteArray& sense, Sent* sent);
    [[nodiscard]] bool checkWriteProtection();
    [[nodiscard]] bool readyOrLoaded();
    // Spaces blocks (code 0) or file marks (code 1); the count actually passed.
    qint64 space(int code, qint64 count);
    [[nodiscard]] bool simpleCommand(unsigned char operation, unsigned char byte4, int timeLimitMs,
                                     const char* failure);

    std::unique_ptr<ScsiPassThrough> scsi;
    int adapter;
    int targetId;
};
