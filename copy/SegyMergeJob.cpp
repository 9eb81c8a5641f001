#include "copy/SegyMergeJob.h"

#include "base/WholeFile.h"
#include "copy/CopyOperator.h"
#include "copy/SameFile.h"
#include "seismic/SegyLayout.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <new>

namespace {

const char* const jobName = "SEG-Y merge";

QString byteOrder(const SegyCopyLayout& layout)
{
    return layout.littleEndian ? QStringLiteral("little-endian") : QStringLiteral("big-endian");
}

} // namespace

SegyMergeJob::SegyMergeJob(ObrConsole* console, JobProgress* progress, const QString& outputPath,
                           const QStringList& inputPaths)
    : lines(console), progress(progress), outputPath(outputPath), inputPaths(inputPaths)
{}

SegyMergeJob::~SegyMergeJob() = default;

bool SegyMergeJob::run()
{
    written = 0;
    traces = 0;
    filesMerged = 0;
    aborted = false;
    merged = false;
    inputs.clear();
    lines.start(jobName);
    // Every input is looked at before the output is opened, so a refused merge leaves it as it was.
    merged = outputDiffers() && openInputs() && inputsMatch() && merge();
    inputs.clear();
    report();
    return merged;
}

bool SegyMergeJob::outputDiffers()
{
    for (const QString& path : qAsConst(inputPaths)) {
        if (isSameFile(path, outputPath)) {
            lines.error(QStringLiteral("output file %1 is the same as input file %2 - job will abort")
                            .arg(outputPath, path));
            return false;
        }
    }
    return true;
}

bool SegyMergeJob::openInputs()
{
    bool opened = true;
    for (const QString& path : qAsConst(inputPaths)) {
        Input input;
        input.file = std::make_unique<QFile>(path);
        if (!input.file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            lines.error(QStringLiteral("error opening input file: ") + path);
            opened = false;
        }
        inputs.push_back(std::move(input));
    }
    return opened;
}

bool SegyMergeJob::readLayout(Input& input)
{
    QFile& file = *input.file;
    char headers[SegyLayout::fileHeaderSize] = {};
    if (file.read(headers, sizeof headers) != qint64(sizeof headers)) {
        lines.error(QStringLiteral("error reading input file %1 - job will abort").arg(file.fileName()));
        return false;
    }
    input.layout = SegyCopyLayout::read(headers, file.size(), SegyCopyLayout::textReader(file));
    const SegyCopyLayout& layout = input.layout;
    if (!layout.known) {
        lines.error(QStringLiteral("invalid sample format %1 in input file %2 - job will abort")
                        .arg(layout.statedSampleFormat)
                        .arg(file.fileName()));
        return false;
    }
    if (!layout.problem.isEmpty()) {
        lines.error(QStringLiteral("%1: %2 - job will abort").arg(file.fileName(), layout.problem));
        return false;
    }
    // Traces appended after a trailer would stand where a reader looks for none.
    if (layout.trailerStanzas > 0) {
        lines.error(QStringLiteral("input file %1 ends with %2 trailer stanzas, after which no traces can be "
                                   "appended - job will abort")
                        .arg(file.fileName())
                        .arg(layout.trailerStanzas));
        return false;
    }
    return true;
}

QString SegyMergeJob::difference(const Input& input, const Input& first) const
{
    QStringList differences;
    const SegyCopyLayout& layout = input.layout;
    const SegyCopyLayout& wanted = first.layout;
    if (layout.samples != wanted.samples)
        differences.append(
            QStringLiteral("%1 samples per trace, not %2").arg(layout.samples).arg(wanted.samples));
    if (layout.sampleFormat != wanted.sampleFormat)
        differences.append(
            QStringLiteral("sample format %1, not %2").arg(layout.sampleFormat).arg(wanted.sampleFormat));
    if (layout.littleEndian != wanted.littleEndian)
        differences.append(QStringLiteral("%1, not %2").arg(byteOrder(layout), byteOrder(wanted)));
    if (layout.traceHeaderLength != wanted.traceHeaderLength)
        differences.append(QStringLiteral("trace headers of %1 bytes, not %2")
                               .arg(layout.traceHeaderLength)
                               .arg(wanted.traceHeaderLength));
    return differences.join(QStringLiteral("; "));
}

bool SegyMergeJob::inputsMatch()
{
    bool readable = true;
    for (Input& input : inputs)
        readable = readLayout(input) && readable;
    if (!readable)
        return false;
    bool match = true;
    const Input& first = inputs.front();
    for (size_t k = 0; k < inputs.size(); ++k) {
        Input& input = inputs[k];
        const QString name = input.file->fileName();
        const QString different = difference(input, first);
        if (!different.isEmpty()) {
            lines.error(QStringLiteral("input file %1 differs from %2: %3 - job will abort")
                            .arg(name, first.file->fileName(), different));
            match = false;
            continue;
        }
        // The first file's headers are written, the later files' are skipped.
        const qint64 dataStart = input.layout.dataStart();
        input.start = k == 0 ? 0 : dataStart;
        const qint64 data = qMax<qint64>(0, input.file->size() - dataStart);
        const int rest = int(data % input.layout.traceLength);
        traces += data / input.layout.traceLength + (rest != 0 ? 1 : 0);
        if (rest == 0)
            continue;
        const QString incomplete = QStringLiteral("the last trace of %1 is incomplete (%2 of %3 bytes)")
                                       .arg(name)
                                       .arg(rest)
                                       .arg(input.layout.traceLength);
        // Traces after a broken one would all be out of step.
        if (k + 1 < inputs.size()) {
            lines.error(incomplete + QStringLiteral(" - job will abort"));
            match = false;
        } else {
            lines.warning(incomplete + QStringLiteral("; it is copied as it is"));
        }
    }
    if (!match)
        traces = 0;
    return match;
}

bool SegyMergeJob::merge()
{
    const std::unique_ptr<char[]> buffer(new (std::nothrow) char[bufferSize]);
    if (!buffer) {
        lines.error(QStringLiteral("failed to allocate memory (%1 bytes) for SEG-Y Merge").arg(bufferSize));
        return false;
    }
    if (QFileInfo::exists(outputPath) && !progress->replaceFile(outputPath)) {
        lines.error(
            QStringLiteral("output file %1 exists and is left as it is - job will abort").arg(outputPath));
        return false;
    }
    WholeFile output(outputPath);
    if (!output.open()) {
        lines.error(
            QStringLiteral("error opening output file: %1 (%2)").arg(outputPath, output.errorString()));
        return false;
    }
    qint64 total = 0;
    for (const Input& input : inputs)
        total += qMax<qint64>(0, input.file->size() - input.start);
    progress->startProgress(total);
    bool appended = true;
    for (Input& input : inputs) {
        appended = append(input, output, buffer.get());
        if (!appended)
            break;
        lines.say(QStringLiteral("Merged file  ") + input.file->fileName());
        ++filesMerged;
    }
    progress->endProgress();
    if (appended && countTraces(output) && output.commit(true))
        return true;
    if (appended)
        lines.error(QStringLiteral("error writing to output file %1: %2 - job will abort")
                        .arg(outputPath, output.errorString()));
    if (output.discard())
        lines.outputRemoved(outputPath);
    // Nothing of the inputs is kept.
    written = 0;
    filesMerged = 0;
    return false;
}

bool SegyMergeJob::write(WholeFile& output, const char* data, qint64 length)
{
    if (output.write(data, length))
        return true;
    lines.error(QStringLiteral("error writing to output file %1: %2 - job will abort")
                    .arg(outputPath, output.errorString()));
    return false;
}

bool SegyMergeJob::countTraces(WholeFile& output)
{
    // A revision 2 header that states its traces must state those of the merged file, or a
    // reader would stop after the first file's.
    const SegyCopyLayout& layout = inputs.front().layout;
    if (layout.statedTraceCount == 0)
        return true;
    char count[8];
    qToBigEndian(quint64(traces), count);
    if (layout.littleEndian)
        std::reverse(count, count + sizeof count);
    return output.seek(SegyLayout::textHeaderSize + SegyBinaryHeader::traceCountByte - 1) &&
           output.write(count, sizeof count);
}

bool SegyMergeJob::append(Input& input, WholeFile& output, char* buffer)
{
    QFile& file = *input.file;
    // A later file no longer than its headers adds nothing.
    if (!file.seek(qMin(input.start, file.size()))) {
        lines.error(QStringLiteral("error reading input file %1 - job will abort").arg(file.fileName()));
        return false;
    }
    for (;;) {
        const qint64 count = file.read(buffer, bufferSize);
        if (count < 0) {
            lines.error(QStringLiteral("error reading input file %1 - job will abort").arg(file.fileName()));
            return false;
        }
        if (count == 0)
            return true;
        if (!write(output, buffer, count))
            return false;
        written += count;
        progress->showProgress(written);
        if (!progress->keepAlive()) {
            lines.error(QStringLiteral("merge stopped by the operator - job will abort"));
            aborted = true;
            return false;
        }
    }
}

void SegyMergeJob::report()
{
    if (aborted)
        lines.jobAborted();
    else if (!merged)
        lines.jobFailed();
    else
        lines.say(QStringLiteral("Merged into  ") + outputPath);
    lines.say(QString());
    lines.say(QStringLiteral("SEG-Y Merge Summary:"));
    lines.count(written, "byte", "written");
    lines.count(filesMerged, "file", "merged");
    lines.count(merged ? traces : 0, "trace", "merged");
    lines.end(jobName);
}
