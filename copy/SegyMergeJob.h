#pragma once

#include "copy/JobConsole.h"
#include "copy/SegyCopyLayout.h"

#include <QStringList>
#include <memory>
#include <vector>

class JobProgress;
class QFile;
class ObrConsole;
class WholeFile;

// Joins SEG-Y disk files into one: the first file whole, then the traces of each further file
// (all after its textual, binary and any extended textual headers), in list order. Every input
// must have the first file's sample count, sample format, byte order and trace header length, no
// input may end with trailer stanzas, and every input but the last must hold whole traces; otherwise, or when
// an input cannot be opened, the output is not touched. The job writes the console lines of the copy tools:
// start, a line per file, summary.
class SegyMergeJob {
public:
    static constexpr int bufferSize = 4 << 20;

    SegyMergeJob(ObrConsole* console, JobProgress* progress, const QString& outputPath,
                 const QStringList& inputPaths);
    ~SegyMergeJob();
    SegyMergeJob(const SegyMergeJob&) = delete;
    SegyMergeJob& operator=(const SegyMergeJob&) = delete;

    // Runs the job; the output appears only when it succeeds.
    [[nodiscard]] bool run();
    // The operator stopped the job (it then failed).
    bool wasAborted() const { return aborted; }
    // The outcome and the summary's counts, once the job has run.
    JobResult result() const { return lines.result(!merged, aborted); }

private:
    struct Input {
        std::unique_ptr<QFile> file;
        SegyCopyLayout layout;
        // Where its bytes for the output start: 0 for the first file, its traces for the others.
        qint64 start = 0;
    };

    [[nodiscard]] bool outputDiffers();
    [[nodiscard]] bool openInputs();
    // Reads the layout of every input; false (reported) for one that cannot be merged.
    [[nodiscard]] bool inputsMatch();
    [[nodiscard]] bool readLayout(Input& input);
    // What keeps `input` from following `first`, or an empty text.
    QString difference(const Input& input, const Input& first) const;
    [[nodiscard]] bool merge();
    // Appends `input` from its start on; false (reported) on a read or write error or a stop.
    [[nodiscard]] bool append(Input& input, WholeFile& output, char* buffer);
    // Writes the output's buffer; false (reported) on a write error.
    [[nodiscard]] bool write(WholeFile& output, const char* data, qint64 length);
    // Writes the merged trace count where the first file's binary header states its own.
    [[nodiscard]] bool countTraces(WholeFile& output);
    void report();

    JobConsole lines;
    JobProgress* progress;
    QString outputPath;
    QStringList inputPaths;
    std::vector<Input> inputs;
    qint64 written = 0;
    qint64 traces = 0;
    int filesMerged = 0;
    bool aborted = false;
    bool merged = false;
};
