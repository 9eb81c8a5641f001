#pragma once

#include <QtGlobal>
#include <vector>

class JobProgress;
class TapeDevice;

// The blocks of one tape file as a stream of bytes, read from the drive as far as a reader needs
// them. Only a window of them is held: what a reader has released is counted, not kept, so a tape
// file of any length is read in bounded memory. Between blocks the operator may stop the reading.
class TapeFileBlocks {
public:
    TapeFileBlocks(TapeDevice* tape, JobProgress* progress) : tape(tape), progress(progress) {}

    // Starts on the tape file where the tape stands.
    void start();
    // Reads blocks until `end` bytes of the tape file have been read; false when it ended before.
    bool readUpTo(qint64 end);
    // Reads up to `end` keeping nothing before it; false when the tape file ended before.
    bool passTo(qint64 end);
    // Reads the rest of the tape file, keeping nothing.
    void passRest();
    // Forgets the bytes before `offset`.
    void release(qint64 offset);
    // Copies held bytes from `offset` on; the count copied.
    qint64 copy(qint64 offset, void* buffer, qint64 length) const;

    // Bytes of the tape file read so far, and the length of its first block.
    qint64 readEnd() const { return heldStart + qint64(held.size()); }
    int firstBlockLength() const { return firstBlock; }
    // The tape file has ended: a file mark, the end of data, a drive failure or a stop.
    bool ended() const { return end != End::Open; }
    bool endOfData() const { return end == End::EndOfData; }
    bool driveFailed() const { return end == End::DriveFailed; }
    bool stopped() const { return end == End::Stopped; }

private:
    enum class End { Open, FileMark, EndOfData, DriveFailed, Stopped };

    bool pull();

    TapeDevice* tape;
    JobProgress* progress;
    std::vector<char> held;
    qint64 heldStart = 0;
    int firstBlock = 0;
    End end = End::Open;
};
