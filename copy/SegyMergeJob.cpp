#include "copy/SegyMergeJob.h"

#include "base/ObrConsole.h"
#include "copy/CopyOperator.h"
#include "copy/SameFile.h"
#include "copy/SegyCopyLayout.h"
#include "seismic/SegyLayout.h"

#include <QFile>
#include <memory>
#include <new>
#include <vector>

namespace {

// Where the traces of a later file start: after its headers, extended textual headers included.
// A file whose sample format code names no format keeps the plain header length, as its count
// of extended headers cannot be read in a known byte order.
qint64 tracesStart(QFile& file)
{
    char headers[SegyLayout::fileHeaderSize] = {};
    if (file.read(headers, sizeof headers) != qint64(sizeof headers))
        return SegyLayout::fileHeaderSize;
    const SegyCopyLayout layout = SegyCopyLayout::read(headers, file.size());
    return layout.known ? layout.dataStart() : SegyLayout::fileHeaderSize;
}

} // namespace

SegyMergeJob::SegyMergeJob(ObrConsole* console, JobProgress* progress, const QString& outputPath,
                           const QStringList& inputPaths)
    : console(console), progress(progress), outputPath(outputPath), inputPaths(inputPaths)
{}

bool SegyMergeJob::run()
{
    written = 0;
    for (const QString& path : inputPaths) {
        if (isSameFile(path, outputPath)) {
            error(QStringLiteral("output file %1 is the same as input file %2 - job will abort")
                      .arg(outputPath, path));
            return false;
        }
    }
    std::vector<std::unique_ptr<QFile>> inputs;
    std::vector<qint64> starts;
    bool opened = true;
    qint64 total = 0;
    for (const QString& path : inputPaths) {
        auto file = std::make_unique<QFile>(path);
        if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            error(QStringLiteral("error opening input file: ") + path);
            opened = false;
        }
        // The first file's headers are written, the later files' are skipped.
        const qint64 start = inputs.empty() || !file->isOpen() ? 0 : tracesStart(*file);
        total += qMax<qint64>(0, file->size() - start);
        inputs.push_back(std::move(file));
        starts.push_back(start);
    }
    if (!opened)
        return false;

    const std::unique_ptr<char[]> buffer(new (std::nothrow) char[bufferSize]);
    if (!buffer) {
        error(QStringLiteral("failed to allocate memory (%1 bytes) for SEG-Y Merge").arg(bufferSize));
        return false;
    }
    QFile output(outputPath);
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        error(QStringLiteral("error opening output file: ") + outputPath);
        return false;
    }

    progress->startProgress(total);
    bool merged = true;
    for (size_t k = 0; k < inputs.size() && merged; ++k)
        merged = append(*inputs[k], starts[k], output, buffer.get());
    progress->endProgress();
    return merged;
}

bool SegyMergeJob::append(QFile& input, qint64 start, QFile& output, char* buffer)
{
    // A later file no longer than its headers adds nothing.
    if (!input.seek(qMin(start, input.size()))) {
        error(QStringLiteral("error reading input file %1 - job will abort").arg(input.fileName()));
        return false;
    }
    for (;;) {
        const qint64 count = input.read(buffer, bufferSize);
        if (count < 0) {
            error(QStringLiteral("error reading input file %1 - job will abort").arg(input.fileName()));
            return false;
        }
        if (count == 0)
            return true;
        if (output.write(buffer, count) != count) {
            error(QStringLiteral("error writing to output file %1 - job will abort").arg(outputPath));
            return false;
        }
        written += count;
        progress->showProgress(written);
        if (!progress->keepAlive()) {
            error(QStringLiteral("merge stopped by the operator - job will abort"));
            return false;
        }
    }
}

void SegyMergeJob::error(const QString& text)
{
    console->error(text, true);
}
