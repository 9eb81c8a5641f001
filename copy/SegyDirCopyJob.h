#pragma once

#include "base/WholeFile.h"
#include "copy/JobState.h"
#include "copy/SegdWrittenFields.h"
#include "copy/SegyCopyLayout.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <memory>
#include <vector>

class DirCopyOperator;
class ObrConsole;
class TapeDevice;

// Copies many SEG-Y files in one job: every "*.sgy" file of the input directories (in name
// order) or every file of the input tapes, to an output directory or an output tape, spread
// over several output tapes by a byte limit. In SEG-D mode every file becomes a SEG-D field
// file of revision 2.1 or 3.1 in the output directory, its samples big-endian IEEE floats, or
// one field file for each of its field records. A file SEG-D cannot hold is passed over with an
// error, nothing of it written, and fails the job once the other files are converted.
class SegyDirCopyJob : private JobState {
public:
    static constexpr const char* jobName = "Multiple SEG-Y copy";
    static constexpr int workBufferSize = 524288;
    static constexpr qint64 bytesPerGigabyte = 1073741824;
    // Tape files of one record in a row after which the operator is warned.
    static constexpr int sameRecordWarning = 50000;

    struct Settings {
        QStringList inputDirectories;
        TapeDevice* inputTape = nullptr;
        QString outputDirectory;
        TapeDevice* outputTape = nullptr;
        bool segd = false;
        int revision = 21; // 21 or 31
        // SEG-D mode: a new field file wherever the field record number (trace header bytes 9 to 12)
        // changes, its name the input's with "_" and that number before the extension.
        bool perRecord = false;
        bool concatenate = false;
        // Names of disk files made from tape input: base name, "-", number.
        QString baseName = QStringLiteral("file");
        // Spread a tape output over tapes of bytesPerTapeLimit bytes each.
        bool outputLimit = false;
        qint64 bytesPerTapeLimit = bytesPerGigabyte / 2;
        // The trace header field (1-based byte, 2 or 4 bytes) that names a tape input's record.
        int recordByte = 1;
        int recordSize = 4;
        // SEG-D mode: the threads that convert samples; 0 for the cores reading and writing leave
        // (one at least).
        int threads = 0;
    };

    SegyDirCopyJob(ObrConsole* console, DirCopyOperator* copyOperator, const Settings& settings);
    ~SegyDirCopyJob();
    SegyDirCopyJob(const SegyDirCopyJob&) = delete;
    SegyDirCopyJob& operator=(const SegyDirCopyJob&) = delete;

    // Runs the job, writing its console lines; true when it did not fail (an abort is no failure).
    // Each output file appears when whole; the outputs of the input file in hand when the job
    // fails or is aborted are removed, and a tape output then ends with file marks.
    [[nodiscard]] bool run();
    bool wasAborted() const { return aborted; }
    using JobState::result;

    // The "*.sgy" files of a directory, in name order.
    static QStringList segyFiles(const QString& directory);
    // Why the job refuses these settings whatever the files (the first reason, as its console
    // says it); empty when they go together. The window asks before it runs the job.
    static QString settingsProblem(const Settings& settings);
    // The part of it that needs only to know which ends are tapes, for a command line that has
    // not opened them yet.
    static QString optionsProblem(const Settings& settings, bool tapeInput, bool tapeOutput);
    // Why a directory cannot be an input: empty when it can.
    static QString inputDirectoryProblem(const QString& directory);

private:
    // What the headers of the file in hand say.
    struct FileHeaders {
        SegyCopyLayout layout;
        int sampleInterval = 0;
    };

    // Checks done before anything is written; false (reported) when the job cannot run.
    // settingsProblem(), then the output directory and the inputs' places.
    QString targetsProblem() const;
    [[nodiscard]] bool checkTargets();
    [[nodiscard]] bool listInputs();
    // Why the headers of a disk file cannot be copied; empty when they can.
    QString readDiskHeaders(QFile& file, FileHeaders* headers);

    void copyDiskInput();
    [[nodiscard]] bool copyDiskFile(const QString& path);

    void copyTapeInput();
    // Copies one tape file; sets tapeEnded when the tape holds no more files.
    [[nodiscard]] bool copyTapeFile(bool* tapeEnded);
    [[nodiscard]] bool readTapeHeaders(bool* tapeEnded);
    [[nodiscard]] bool copyTapeTraces(bool* tapeEnded);
    void changeInputTape();
    [[nodiscard]] bool applyRecordBoundary();
    qint64 recordValue() const;

    // The header check of every input file, the values kept from the first: why the file cannot be
    // copied (a concatenation's mismatch too), or empty.
    // Copies `length` bytes of the input as one tape block (or as they are to disk).
    [[nodiscard]] bool copyAsBlock(QFile& input, const QString& path, qint64 length);
    QString headerProblem(const char* headers, qint64 fileSize, FileHeaders* result,
                          const SegyGeometry::TextReader& readText = {});
    // How the n-th file of the input tape is named in messages.
    QString tapeFileLabel() const;

    // The input file in hand starts: its outputs are named after `name`.
    void startInputFile(const QString& name);
    // Ends the input file in hand, reported under `label`: its last output ended, or, when it was
    // refused, passed over. False when the job cannot go on; `copied` tells which end it had.
    [[nodiscard]] bool endInputFile(const QString& label, bool* copied);

    [[nodiscard]] bool openOutput(const QString& name);
    [[nodiscard]] bool writeSegyHeaders(const char* headers, qint64 length);
    [[nodiscard]] bool endOutputFile();
    // Writes the field file's last header values and gives the output its name.
    [[nodiscard]] bool closeOutputFile();
    // Traces of the file in hand: copied, or converted. False when the job cannot go on, or when the
    // file is refused (`refusal` set).
    [[nodiscard]] bool writeTraces(const char* traces, qint64 length);

    // SEG-D mode: each trace becomes a trace record of the field file its field record belongs to.
    [[nodiscard]] bool convertTraces(const char* traces, qint64 length);
    // Converts the samples of `count` input traces into the trace records made for them, and
    // writes the records.
    [[nodiscard]] bool writeRecords(const char* traces, qint64 count);
    // Opens the field file `firstTrace` starts and writes its headers.
    [[nodiscard]] bool startFieldFile(const char* firstTrace);
    // The SEG-D headers of the revision chosen, with the values of the field file in hand.
    QByteArray segdHeaders() const;
    // Refuses the input file in hand for `why`: what was written of it is removed.
    void refuse(const QString& why);
    // Removes the outputs of the input file in hand (and a concatenation's whole output), and the
    // counts of them.
    void removeOutputsOfFile();
    // Before the first block on an output tape: a tape holding data is written over only as the
    // operator says. False when the job cannot go on.
    [[nodiscard]] bool startWritingTape();
    [[nodiscard]] bool failWriting(const QString& reason);
    // Reports the refused file and counts it.
    void passOver(const QString& label);
    [[nodiscard]] bool write(const char* data, qint64 length, int blockLength);
    [[nodiscard]] bool changeOutputTape();
    void startOutputTape();
    void endJob();
    void report();

    void say(const QString& text) { lines.say(text); }

    DirCopyOperator* copyOperator;
    Settings settings;
    QStringList inputFiles;
    TapeDevice* inputTape = nullptr;
    TapeDevice* outputTape = nullptr;
    std::unique_ptr<char[]> work;
    std::vector<char> converted;
    WholeFile outputFile;
    QString outputPath;
    bool outputOpen = false;
    bool tapeWritten = false;
    // The counts when a concatenation's output was opened.
    qint64 bytesBeforeOutput = 0;
    int filesBeforeOutput = 0;

    FileHeaders first;
    bool haveFirst = false;
    FileHeaders current;
    // SEG-D mode: the values of the field file in hand, its field record and its last trace number.
    SegdWrittenFields::Values segdValues{};
    QByteArray lastTraceHeader;
    int traceNumber = 0;
    qint64 fieldRecord = 0;
    // The input file in hand: its output name, its outputs so far, the bytes before it, the field
    // record changes met in it and, when it is refused, why.
    QString outputName;
    QStringList outputsOfFile;
    qint64 bytesBeforeFile = 0;
    int recordChanges = 0;
    QString refusal;

    qint64 bytesCopied = 0;
    qint64 bytesOnTape = 0;
    qint64 tracesOnTape = 0;
    qint64 tracesInFile = 0;
    int filesCopied = 0;
    int filesRefused = 0;
    int fieldFilesWritten = 0;
    qint64 blocksRead = 0;
    int inputTapeNumber = 1;
    int outputTapeNumber = 1;
    bool recordKnown = false;
    qint64 currentRecord = 0;
    int sameRecordCount = 0;
};
