#include "copy/SegyDirCopyJob.h"

#include "base/ObrConsole.h"
#include "copy/DirCopyNames.h"
#include "copy/DirCopyOperator.h"
#include "copy/SameFile.h"
#include "copy/SegdConversionValues.h"
#include "copy/SegyIeeeSamples.h"
#include "devices/TapeDevice.h"
#include "seismic/SegyLayout.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <new>

SegyDirCopyJob::SegyDirCopyJob(ObrConsole* console, DirCopyOperator* copyOperator, const Settings& settings)
    : JobState(console, copyOperator), copyOperator(copyOperator), settings(settings),
      inputTape(settings.inputTape), outputTape(settings.outputTape)
{}

SegyDirCopyJob::~SegyDirCopyJob() = default;

QStringList SegyDirCopyJob::segyFiles(const QString& directory)
{
    const QDir dir(directory);
    QStringList paths;
    for (const QString& name : dir.entryList({QStringLiteral("*.sgy")}, QDir::Files, QDir::Name))
        paths.append(dir.filePath(name));
    return paths;
}

bool SegyDirCopyJob::run()
{
    lines.start(jobName);
    work.reset(new (std::nothrow) char[workBufferSize]());
    if (!work) {
        lines.error(
            QStringLiteral("failed to allocate memory (%1 bytes) for SEG-Y Copy").arg(workBufferSize));
        lines.error(QStringLiteral("job will abort"));
        return false;
    }
    // Nothing is written before every input is known to be copyable to its output.
    if (!checkTargets() || !listInputs()) {
        lines.error(QStringLiteral("job will abort"));
        return false;
    }
    if (!checkConversions())
        return false;
    copyOperator->startProgress(inputTape ? JobProgress::unknownTotal : inputFiles.size());
    if (inputTape)
        copyTapeInput();
    else
        copyDiskInput();
    copyOperator->endProgress();
    endJob();
    report();
    return !failed;
}

bool SegyDirCopyJob::checkTargets()
{
    if (settings.segd && outputTape) {
        lines.error(QStringLiteral("SEG-D output goes to a directory only."));
        return false;
    }
    if (!inputTape == settings.inputDirectories.isEmpty() ||
        !outputTape == settings.outputDirectory.isEmpty()) {
        lines.error(QStringLiteral("an input and an output are needed."));
        return false;
    }
    if (inputTape && outputTape && (inputTape == outputTape || inputTape->name() == outputTape->name())) {
        lines.error(QStringLiteral("input and output tape drives cannot be the same."));
        return false;
    }
    if (outputTape)
        return true;
    if (!QFileInfo(settings.outputDirectory).isDir()) {
        lines.error(QStringLiteral("output directory %1 does not exist.").arg(settings.outputDirectory));
        return false;
    }
    for (const QString& directory : qAsConst(settings.inputDirectories)) {
        if (isSameFile(directory, settings.outputDirectory)) {
            lines.error(QStringLiteral("input and output directories cannot be the same."));
            return false;
        }
    }
    return true;
}

bool SegyDirCopyJob::listInputs()
{
    for (const QString& directory : qAsConst(settings.inputDirectories)) {
        const QStringList files = segyFiles(directory);
        if (files.isEmpty()) {
            lines.error(QStringLiteral("no SEG-Y (.sgy) files found in directory %1").arg(directory));
            return false;
        }
        inputFiles += files;
    }
    return true;
}

bool SegyDirCopyJob::checkConversions()
{
    if (!settings.segd || inputTape)
        return true;
    for (const QString& path : qAsConst(inputFiles)) {
        QFile file(path);
        FileHeaders headers;
        if (!readDiskHeaders(file, path, &headers))
            return false;
        const qint64 traces = (file.size() - headers.layout.dataStart()) / headers.layout.traceLength;
        const QString refusal = SegdConversionValues::refusal(headers.sampleInterval, headers.layout.samples,
                                                              traces, settings.revision);
        if (!refusal.isEmpty()) {
            lines.error(QStringLiteral("%1: %2 - job will abort").arg(path, refusal));
            return false;
        }
    }
    haveFirst = false;
    return true;
}

bool SegyDirCopyJob::readDiskHeaders(QFile& file, const QString& path, FileHeaders* headers)
{
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        lines.error(QStringLiteral("error opening input file: ") + path);
        return false;
    }
    if (file.read(work.get(), SegyLayout::fileHeaderSize) != SegyLayout::fileHeaderSize) {
        lines.error(QStringLiteral("error reading input file %1 - job will abort").arg(path));
        return false;
    }
    return checkHeaders(work.get(), file.size(), headers);
}

bool SegyDirCopyJob::checkHeaders(const char* headers, qint64 fileSize, FileHeaders* result)
{
    result->layout = SegyCopyLayout::read(headers, fileSize);
    const SegyCopyLayout& layout = result->layout;
    if (!layout.known) {
        lines.error(QStringLiteral("invalid sample format - job will abort"));
        return false;
    }
    const bool swap = layout.littleEndian != (Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
    result->sampleInterval =
        int(SegyLayout::read(headers + SegyLayout::textHeaderSize, SegyLayout::binaryHeaderSize,
                             SegyLayout::sampleIntervalWord, swap));
    if (settings.segd && !SegyIeeeSamples::convertible(layout.sampleFormat)) {
        lines.error(QStringLiteral("sample format %1 cannot be converted to SEG-D - job will abort")
                        .arg(layout.sampleFormat));
        return false;
    }
    if (!haveFirst) {
        first = *result;
        haveFirst = true;
        return true;
    }
    if (!settings.concatenate)
        return true;
    const char* mismatch = nullptr;
    if (layout.sampleFormat != first.layout.sampleFormat || layout.littleEndian != first.layout.littleEndian)
        mismatch = "format";
    else if (result->sampleInterval != first.sampleInterval)
        mismatch = "interval";
    else if (layout.samples != first.layout.samples)
        mismatch = "count";
    if (!mismatch)
        return true;
    lines.error(QStringLiteral("sample %1 mismatch for concatenated files - job will abort")
                    .arg(QLatin1String(mismatch)));
    return false;
}

void SegyDirCopyJob::copyDiskInput()
{
    say(QString());
    startOutputTape();
    for (const QString& path : qAsConst(inputFiles)) {
        if (done || failed)
            break;
        if (outputTape && settings.outputLimit && bytesOnTape > 0 &&
            QFileInfo(path).size() + bytesOnTape > settings.bytesPerTapeLimit && !changeOutputTape())
            break;
        if (!copyDiskFile(path))
            break;
        copyOperator->showProgress(filesCopied);
    }
}

bool SegyDirCopyJob::copyDiskFile(const QString& path)
{
    QFile input(path);
    if (!readDiskHeaders(input, path, &current)) {
        failed = true;
        return false;
    }
    const SegyCopyLayout& layout = current.layout;
    const qint64 dataStart = layout.dataStart();
    const qint64 dataBytes = qMax<qint64>(0, input.size() - dataStart);
    tracesInFile = dataBytes / layout.traceLength;
    copyOperator->showCurrentFile(
        QStringLiteral("File %1: %2 traces").arg(filesCopied + 1).arg(tracesInFile));
    const bool continuing = settings.concatenate && outputOpen;
    if (!continuing && !openOutput(DirCopyNames::forInputFile(QFileInfo(path).fileName(), settings.segd)))
        return false;
    if (!input.seek(settings.segd || continuing ? dataStart : SegyLayout::fileHeaderSize)) {
        fail(QStringLiteral("error reading input file %1 - job will abort").arg(path));
        return false;
    }
    if (!settings.segd && !continuing) {
        if (!writeSegyHeaders(work.get(), SegyLayout::fileHeaderSize))
            return false;
        for (int k = 0; k < layout.extendedTextHeaders; ++k) {
            if (input.read(work.get(), SegyLayout::textHeaderSize) != SegyLayout::textHeaderSize) {
                fail(QStringLiteral("error reading input file %1 - job will abort").arg(path));
                return false;
            }
            if (!write(work.get(), SegyLayout::textHeaderSize, SegyLayout::textHeaderSize))
                return false;
        }
    }
    const int traceLength = layout.traceLength;
    const qint64 batch = outputTape ? traceLength : qint64(workBufferSize / traceLength) * traceLength;
    qint64 left = dataBytes;
    while (left > 0) {
        const qint64 want = qMin(batch, left);
        const qint64 got = input.read(work.get(), want);
        if (got != want) {
            fail(QStringLiteral("error reading input file %1 - job will abort").arg(path));
            return false;
        }
        left -= got;
        if (!writeTraces(work.get(), got) || !goOn())
            return false;
    }
    input.close();
    if (!endOutputFile())
        return false;
    ++filesCopied;
    say(QStringLiteral("Copied file  ") + path);
    return true;
}
