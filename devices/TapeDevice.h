#pragma once

#include "devices/ObrDevice.h"

// A tape drive seen through the device interface: blocks, file marks and end of
// data, the position counters of the current tape and the per-job options the
// operator chooses. Implementations talk to the drive through the system's tape
// driver (TapeSpti) or with SCSI commands of their own (TapeAspi).
class TapeDevice : public ObrDevice {
public:
    // The largest block drives of the M4 and open-reel families take.
    static constexpr int limitedBlockSize = 64000;

    explicit TapeDevice(ObrConsole* console);

    // A read of length 0 asks for one block of up to maxBlockSize bytes. A read
    // that meets a file mark or end of data succeeds; the flags tell them apart.
    bool readToBuffer(int length) override;
    bool writeFromBuffer(int length) override;
    qint64 size() override;
    qint64 pos() override;
    bool seek(qint64 bytePosition) override;
    bool atEnd() override;
    QString dirPath() const override;

    virtual bool isReady() = 0;
    virtual bool readBlock();
    virtual bool rewind() = 0;
    virtual bool unload() = 0;
    virtual bool skipBlocks(int count) = 0;
    virtual bool skipFiles(int count) = 0;
    virtual bool skipToEndOfData() = 0;
    virtual bool writeFileMarks(int count) = 0;
    virtual bool erase() = 0;
    // Brings an unloaded tape back online.
    virtual bool load() = 0;

    bool isOpen() const { return open_; }
    int blockNumber() const { return blockNumber_; }
    int fileNumber() const { return fileNumber_; }
    bool atFileMark() const { return atFileMark_; }
    bool atEndOfData() const { return atEndOfData_; }
    bool atEndOfTape() const { return atEndOfTape_; }
    int minBlockSize() const { return minBlockSize_; }
    int maxBlockSize() const { return maxBlockSize_; }
    bool unloadAtEnd() const { return unloadAtEnd_; }
    bool noRewind() const { return noRewind_; }
    bool m4Option() const { return m4Option_; }
    bool blockLimit64000() const { return blockLimit64000_; }
    bool autoLoader() const { return autoLoader_; }
    const QString& scsiId() const { return scsiId_; }
    const QString& displayLine() const { return displayLine_; }

    void setUnloadAtEnd(bool value);
    void setNoRewind(bool value);
    void setM4Option(bool value) { m4Option_ = value; }
    void setAutoLoader(bool value) { autoLoader_ = value; }
    // A job that goes on after a tape change starts the new tape without the old mark.
    void clearFileMark() { atFileMark_ = false; }
    // M4 and open-reel drives take blocks of at most 64,000 bytes.
    void applyBlockSizeLimit();

protected:
    void buildDisplayLine();
    // Records the largest block the drive itself takes; the limit rule may lower it.
    void setDriveMaxBlockSize(int size);
    // Position after a rewind: first block of the first file, no flags.
    void resetPosition();
    // Reports a lengthless or oversized request; false when the request is refused.
    [[nodiscard]] bool acceptWriteLength(int length);
    [[nodiscard]] bool acceptReadLength(int* length);
    void reportFileMarks(int count);
    void reportSkip(const char* unit, int count, const QString& drive);
    // What every road does once the drive has answered: counters, flags and the low-level line.
    // The bool forms return true so that a road can end with them.
    bool noteBlockRead(int bytes);
    bool noteFileMarkRead();
    bool noteEndOfDataRead();
    bool noteBlockWritten(int bytes);
    void noteEarlyWarning();
    // After a rewind, unload or load: the tape is at its beginning. `done` is "Rewound", ...
    bool noteRepositioned(const char* done);
    bool noteEndOfDataReached();

    bool open_ = false;
    int blockNumber_ = 1;
    int fileNumber_ = 1;
    bool atFileMark_ = false;
    bool atEndOfData_ = false;
    bool atEndOfTape_ = false;
    int minBlockSize_ = 1;
    int maxBlockSize_ = 0;
    bool unloadAtEnd_ = false;
    bool noRewind_ = false;
    bool m4Option_ = false;
    bool blockLimit64000_ = false;
    QString scsiId_;
    QString displayLine_;
    bool autoLoader_ = false;
    int driveMaxBlockSize_ = 0;
};
