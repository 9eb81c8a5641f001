#pragma once

#include "base/WholeFile.h"
#include "copy/JobConsole.h"

#include <QFile>
#include <QString>
#include <memory>
#include <vector>

class CopyOperator;
class ObrConsole;
class TapeDevice;

// The course shared by the copies between disk files and tape drives: start line,
// opening, the copy loop over input files with tape changes at file marks, file
// marks and rewind on a tape output, "  job failed" and the summary. Subclasses say
// what comes before the data and how a disk input is cut into units (traces, blocks).
class CopyJob {
public:
    // Holds the headers, then the units read at one time; page-aligned, as the kernel copies
    // whole pages fastest.
    static constexpr int workBufferSize = 524288;

    // A disk file (`path`), or a drive (`tape`) the caller has opened for the job. For
    // a tape image `path` may name the image file, so that a copy onto itself is refused.
    struct Endpoint {
        QString path;
        TapeDevice* tape = nullptr;
    };

    CopyJob(ObrConsole* console, CopyOperator* copyOperator, const Endpoint& input, const Endpoint& output);
    virtual ~CopyJob();
    CopyJob(const CopyJob&) = delete;
    CopyJob& operator=(const CopyJob&) = delete;

    // Runs the job, writing its console lines; true when it succeeded. A disk output appears
    // only when the job succeeds; a tape output that stops early ends with file marks.
    [[nodiscard]] bool run();
    // The operator stopped the job (it then failed).
    bool wasAborted() const { return aborted; }
    // The outcome and the summary's counts, once the job has run.
    JobResult result() const { return lines.result(failed, aborted); }

protected:
    // The job's names on the console: "%1 started at", the summary head, and the
    // name in the allocation failure.
    struct Names {
        const char* job;
        const char* summary;
        const char* allocation;
    };

    virtual Names names() const = 0;
    // Reads what comes before the data once the input is open; false when the job fails.
    virtual bool prepareInput() = 0;
    // Writes it once the output is open.
    virtual bool prepareOutput() { return true; }
    // Bytes of one unit of a disk input, and how many units it holds.
    virtual int unitLength() const = 0;
    virtual qint64 totalUnits() const = 0;
    // A disk input ended `length` bytes into a unit; those bytes are copied all the same.
    virtual void partialUnit(int length) { static_cast<void>(length); }
    // Where the units of a disk input end, when something else follows them (-1: they run to the
    // end of the file), and the length of the tape blocks of what follows.
    virtual qint64 unitsEnd() const { return -1; }
    virtual int trailerBlockLength() const { return unitLength(); }
    // The lines of the summary after the byte count.
    virtual void summaryCounts() = 0;

    void say(const QString& text);
    // "   %1 <what>%2 copied", %2 "s" for every count but 1.
    void sayCount(qint64 count, const char* what);
    // Reports an error (the failure's one pop-up) and marks the job failed.
    void fail(const QString& text);
    void warn(const QString& text);
    // Reads `length` bytes or up to the end of the input file into `data`.
    [[nodiscard]] bool readInputFile(char* data, qint64 length, qint64* got);
    // Reads one block of the input tape into the drive's buffer.
    [[nodiscard]] bool readInputBlock();
    // Writes `length` bytes, cut into blocks of `blockLength` on a tape.
    [[nodiscard]] bool writeOutput(const char* data, qint64 length, int blockLength);
    // Writes what writeOutput gathered for the disk output; false (reported) when it failed.
    [[nodiscard]] bool writeGathered();
    // A write to the disk output failed for `reason`.
    void failWriting(const QString& reason);

    TapeDevice* inputTape() const { return inputTape_; }
    TapeDevice* outputTape() const { return output.tape; }
    QFile& inputFile() { return inputFile_; }
    const QFile& inputFile() const { return inputFile_; }
    char* work() const { return work_.get(); }
    qint64 unitsCopied() const { return unitsCopied_; }
    int filesCopied() const { return filesCopied_; }
    qint64 blocksRead() const { return blocksRead_; }
    void countBlockRead() { ++blocksRead_; }
    // Tapes read to their end; the number of the tape in use less one.
    int tapesCopied() const { return inputTapeNumber - 1; }

private:
    [[nodiscard]] bool targetsDiffer();
    [[nodiscard]] bool openInput();
    [[nodiscard]] bool openOutput();
    void copyFiles();
    [[nodiscard]] bool copyDiskFile();
    [[nodiscard]] bool copyDiskToDisk();
    [[nodiscard]] bool copyDiskToTape();
    // False, with the failure, when the input ended before the size it had when the job opened it.
    [[nodiscard]] bool inputWhole(qint64 endPosition);
    [[nodiscard]] bool copyTapeFile();
    void changeInputTape();
    // Commits or removes a disk output, ends or closes a tape output, and keeps the counts of
    // what the output holds whole.
    void endOutput();
    void endOutputTape();
    // What the output holds whole so far: a tape file ends with its mark.
    void keepCounts();
    // Lets the operator's window live; false (and the job failed) when asked to stop.
    [[nodiscard]] bool goOn();
    // A drive operation failed; the drive has reported why.
    void driveFailed();
    void report();

    JobConsole lines;
    CopyOperator* copyOperator;
    Endpoint input;
    Endpoint output;
    TapeDevice* inputTape_;
    QFile inputFile_;
    qint64 inputFileSize = 0;
    WholeFile outputFile;
    std::vector<char> gathered;
    struct AlignedDelete {
        void operator()(char* data) const;
    };
    std::unique_ptr<char[], AlignedDelete> work_;
    qint64 bytesCopied = 0;
    qint64 unitsCopied_ = 0;
    int filesCopied_ = 0;
    qint64 blocksRead_ = 0;
    int inputTapeNumber = 1;
    struct Kept {
        qint64 bytes = 0;
        qint64 units = 0;
        int files = 0;
    } kept;
    bool tapeWritten = false;
    bool done = false;
    bool failed = false;
    bool aborted = false;
};
