#pragma once

#include "base/FileMapping.h"
#include "base/WholeFile.h"
#include "copy/CopyJob.h"
#include "copy/JobState.h"
#include "copy/NumberList.h"
#include "seismic/SegdFieldMap.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QVector>
#include <memory>
#include <vector>

class ObrConsole;
class OutputTapeOperator;
class SegdDirectoryWatch;
class TapeDevice;

// Copies SEG-D field files as they are, between a directory (one file per field file) and a
// tape (one field file after the other), or from a directory a recording system is writing
// into. Field files can be left out by number, traces zeroed by channel, trace records
// gathered into larger tape blocks, and output tapes filled up to a byte limit.
class SegdCopyJob : private JobState {
public:
    static constexpr int defaultBlockKBytes = 128;
    // The unit of the tape limit: decimal gigabytes, as tape capacities are given.
    static constexpr qint64 tapeLimitUnit = 1000000000;

    struct Options {
        // A directory or a drive each; a tape image's path in `path` lets a copy onto itself
        // be refused.
        CopyJob::Endpoint input;
        CopyJob::Endpoint output;
        // Watch the input directory for new field files until the operator stops the job.
        bool realTime = false;
        int pollMilliseconds = 1000;
        // Field files by number: only those listed, or all but those (exclude).
        bool rangeLimit = false;
        bool exclude = false;
        NumberList range;
        // Seismic traces by channel number, written with their headers and samples of 0.
        bool zeroTraces = false;
        NumberList zeroChannels;
        // Tape output.
        bool blockTraces = false;
        int maximumBlockKBytes = defaultBlockKBytes;
        bool writeEofs = false;
        qint64 tapeLimit = 0; // bytes per output tape; 0: no limit
        // A disk file written at the start of each output tape, as a tape file of its own.
        QString prependFile;
        // Disk output names.
        QString prependName;
        bool lineName = false;
        bool ffidNames = false;
    };

    enum class Outcome { Copied, Aborted, Failed };

    SegdCopyJob(ObrConsole* console, OutputTapeOperator* copyOperator, const Options& options);
    ~SegdCopyJob();
    SegdCopyJob(const SegdCopyJob&) = delete;
    SegdCopyJob& operator=(const SegdCopyJob&) = delete;

    // Runs the job, writing its console lines.
    Outcome run();
    // The outcome, the summary's counts and the field files written and skipped, once it has run.
    JobResult result() const;

    // The output file name for a field file: the prepended text, the line name and the
    // number of at least five digits, joined by "_", then "_<repeat>" when repeat > 0.
    static QString outputName(const QString& prefix, const QString& line, qint64 number, int repeat);

private:
    class InputSource;

    // Reading (SegdCopyReading.cpp).
    [[nodiscard]] bool nextFieldFile();
    [[nodiscard]] bool nextDiskFile(QString* path);
    [[nodiscard]] bool waitForFiles();
    [[nodiscard]] bool readTapeHeaderBlock();
    void changeInputTape();
    [[nodiscard]] bool readHeaders();
    // The next n bytes of the field file, read as needed; null when the input holds no more
    // (the job has failed).
    char* peek(qint64 n);
    void consume(qint64 n) { chunkPos += n; }
    // Where the chunk's bytes are: the mapped disk file, or the chunk read.
    char* chunkData();
    [[nodiscard]] bool refill(qint64 n);
    // Appends the next block of the tape file to the chunk; false at a file mark or the end of
    // data (then the tape file has ended) or when the drive fails.
    [[nodiscard]] bool pullTapeBlock();
    // Bytes of the field file that follow the last trace, and what is done with them: on tape they
    // may be the next field file of the same tape file.
    void passLeftOver(qint64 left, int fieldFile);
    void failReading();

    // Writing (SegdCopyWriting.cpp).
    [[nodiscard]] bool openOutputFile(const SegdBytes& header);
    [[nodiscard]] bool writeHeader(const char* data, qint64 length);
    [[nodiscard]] bool writeRecord(const char* data, qint64 length, int set);
    [[nodiscard]] bool writeBlock(const char* data, qint64 length);
    [[nodiscard]] bool flushBlock();
    [[nodiscard]] bool flushSpan();
    // Writes the span but its bytes after the last whole page of a mapped input, which stay in it.
    [[nodiscard]] bool flushSpanPiece();
    [[nodiscard]] bool endOutputFile();
    // The field file just written counted as copied: at once on tape, on disk once it has its name.
    void countCopied(const JobResult::FieldFile& entry, double bytes);
    // Gives the disk field file written before the one in hand its name, now that the kernel
    // copies on for the next: the last records of one and the first of the other overlap. False
    // (the job failed, the file dropped) when its bytes did not all reach it.
    [[nodiscard]] bool commitFinished();
    WholeFile& outputFile() { return outputFiles[currentOutput]; }
    [[nodiscard]] bool prependToTape();
    // Before the first block on an output tape: a tape holding data is written over only as the
    // operator says.
    [[nodiscard]] bool startWritingTape();
    [[nodiscard]] bool failWriting(const QString& reason);
    void changeOutputTape();
    void endOutputTape();

    // The course of the job (SegdCopyJob.cpp).
    [[nodiscard]] bool prepare();
    [[nodiscard]] bool targetsDiffer();
    void copyLoop();
    [[nodiscard]] bool copyFieldFile();
    [[nodiscard]] bool copyTraces(bool write);
    [[nodiscard]] bool copyRecord(const SegdFieldMap::Run& run, bool write);
    [[nodiscard]] bool wanted(int fieldFile) const;
    // The input file of the field file in hand, or the input drive.
    QString inputName() const;
    void summary();

    OutputTapeOperator* copyOperator;
    Options options;
    TapeDevice* inputTape;
    TapeDevice* outputTape;

    QStringList inputFiles;
    int totalFiles = 0;
    std::unique_ptr<SegdDirectoryWatch> watch;
    QString inputPath;
    QFile inputFile;
    // Disk field files are written in turn to these, one finishing while the next starts.
    WholeFile outputFiles[2];
    int currentOutput = 0;
    struct Finished {
        bool pending = false;
        int output = 0;
        JobResult::FieldFile entry;
        double bytes = 0;
    } finished;
    QString outputPath;
    // A field file is being written; on tape, blocks of it are there.
    bool fieldFileOpen = false;
    bool tapeWritten = false;

    SegdFieldMap map;
    // The field file's bytes as read: disk input in large chunks, tape input block by block. A
    // disk file copied as it stands is mapped instead, the chunk then the whole file: the job looks
    // at its headers only and the kernel copies the records.
    std::vector<char> chunk;
    FileMapping inputMap;
    qint64 chunkPos = 0;
    qint64 chunkFill = 0;
    bool lastWasFileMark = false;
    // The tape file of the field file has ended (a file mark or the end of data was read).
    bool tapeFileEnded = false;
    // The chunk already holds the start of the next field file.
    bool carried = false;
    // Bytes of the chunk to go to the output disk file, written in one go.
    const char* spanStart = nullptr;
    qint64 spanLength = 0;
    // Trace blocking on tape output.
    std::vector<char> block;
    qint64 blockFill = 0;
    qint64 blockLimit = 0;
    int blockSet = -1;

    QVector<JobResult::FieldFile> fieldFileList;
    double bytesCopied = 0;
    // Bytes of the field file being written, counted when it is whole.
    double fieldFileBytes = 0;
    double bytesToTape = 0;
    int fieldFilesCopied = 0;
    int fieldFilesDone = 0;
    int fieldFilesOnTape = 0;
    qint64 blocksRead = 0;
    int inputTapeNumber = 0;
    int outputTapeNumber = 0;
    QElapsedTimer started;
    bool noMoreOutput = false;
    bool warnedFormat = false;
    bool tapeStarted = false;
};
