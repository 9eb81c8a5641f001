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
#include <cmath>
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
        failed = true;
        return false;
    }
    // Nothing is written before every input is known to be copyable to its output.
    if (!checkTargets() || !listInputs()) {
        lines.error(QStringLiteral("job will abort"));
        failed = true;
        return false;
    }
    if (outputTape && !startWritingTape()) {
        report();
        return false;
    }
    copyOperator->startProgress(inputTape ? JobProgress::unknownTotal : inputFiles.size());
    if (inputTape)
        copyTapeInput();
    else
        copyDiskInput();
    copyOperator->endProgress();
    endJob();
    // The files passed over fail the job once the others are converted.
    if (filesRefused > 0)
        failed = true;
    report();
    return !failed;
}

QString SegyDirCopyJob::optionsProblem(const Settings& settings, bool tapeInput, bool tapeOutput)
{
    if (settings.segd && tapeOutput)
        return QStringLiteral("SEG-D output goes to a directory only.");
    if (settings.concatenate && tapeOutput)
        return QStringLiteral("concatenated files go to a directory only.");
    if (settings.outputLimit && !tapeOutput)
        return QStringLiteral("a byte limit per tape needs an output tape.");
    if (settings.outputLimit && settings.bytesPerTapeLimit <= 0)
        return QStringLiteral("byte limit per tape must be a number of gigabytes above 0");
    const bool recordSizeKnown = settings.recordSize == 2 || settings.recordSize == 4;
    if (settings.outputLimit && tapeInput &&
        (!recordSizeKnown || settings.recordByte < 1 || settings.recordByte + settings.recordSize - 1 > 240))
        return QStringLiteral("the record boundary field must lie in the 240-byte trace header");
    return QString();
}

QString SegyDirCopyJob::settingsProblem(const Settings& settings)
{
    const TapeDevice* inputTape = settings.inputTape;
    const TapeDevice* outputTape = settings.outputTape;
    if (!inputTape == settings.inputDirectories.isEmpty() ||
        !outputTape == settings.outputDirectory.isEmpty())
        return QStringLiteral("an input and an output are needed.");
    if (inputTape && outputTape && (inputTape == outputTape || inputTape->name() == outputTape->name()))
        return QStringLiteral("input and output tape drives cannot be the same.");
    return optionsProblem(settings, inputTape, outputTape);
}

QString SegyDirCopyJob::targetsProblem() const
{
    const QString problem = settingsProblem(settings);
    if (!problem.isEmpty() || outputTape)
        return problem;
    if (!QFileInfo(settings.outputDirectory).isDir())
        return QStringLiteral("output directory %1 does not exist.").arg(settings.outputDirectory);
    for (const QString& directory : qAsConst(settings.inputDirectories)) {
        if (isSameFile(directory, settings.outputDirectory))
            return QStringLiteral("input and output directories cannot be the same.");
    }
    return QString();
}

QString SegyDirCopyJob::inputDirectoryProblem(const QString& directory)
{
    if (segyFiles(directory).isEmpty())
        return QStringLiteral("no SEG-Y (.sgy) files found in directory %1").arg(directory);
    return QString();
}

bool SegyDirCopyJob::checkTargets()
{
    const QString problem = targetsProblem();
    if (problem.isEmpty())
        return true;
    lines.error(problem);
    return false;
}

bool SegyDirCopyJob::listInputs()
{
    for (const QString& directory : qAsConst(settings.inputDirectories)) {
        const QString problem = inputDirectoryProblem(directory);
        if (!problem.isEmpty()) {
            lines.error(problem);
            return false;
        }
        inputFiles += segyFiles(directory);
    }
    return true;
}

QString SegyDirCopyJob::readDiskHeaders(QFile& file, FileHeaders* headers)
{
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return QStringLiteral("error opening input file");
    if (file.read(work.get(), SegyLayout::fileHeaderSize) != SegyLayout::fileHeaderSize)
        return QStringLiteral("error reading input file");
    return headerProblem(work.get(), file.size(), headers, SegyCopyLayout::textReader(file));
}

bool SegyDirCopyJob::copyAsBlock(QFile& input, const QString& path, qint64 length)
{
    // Longer stretches than the work buffer are rare (a far first trace) and go in pieces.
    for (qint64 left = length; left > 0;) {
        const qint64 piece = qMin<qint64>(left, workBufferSize);
        if (input.read(work.get(), piece) != piece) {
            fail(QStringLiteral("error reading input file %1 - job will abort").arg(path));
            return false;
        }
        if (!write(work.get(), piece, int(piece)))
            return false;
        left -= piece;
    }
    return true;
}

QString SegyDirCopyJob::headerProblem(const char* headers, qint64 fileSize, FileHeaders* result,
                                      const SegyGeometry::TextReader& readText)
{
    result->layout = SegyCopyLayout::read(headers, fileSize, readText);
    const SegyCopyLayout& layout = result->layout;
    if (!layout.known)
        return QStringLiteral("invalid sample format %1").arg(layout.statedSampleFormat);
    if (!layout.problem.isEmpty())
        return layout.problem;
    const bool swap = layout.littleEndian != (Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
    const char* binary = headers + SegyLayout::textHeaderSize;
    result->sampleInterval =
        int(SegyLayout::read(binary, SegyLayout::binaryHeaderSize, SegyLayout::sampleIntervalWord, swap));
    // Revision 2 states the interval in a double too; SEG-D takes whole microseconds.
    const double extended =
        SegyBinaryHeader::read(binary, SegyLayout::binaryHeaderSize, swap).intervalMicroseconds;
    if (extended > 0 && extended < 1e9) {
        if (settings.segd && extended != std::floor(extended))
            return QStringLiteral(
                       "sample interval of %1 microseconds is no whole number of microseconds, as SEG-D "
                       "states intervals")
                .arg(extended);
        result->sampleInterval = int(extended);
    }
    if (settings.segd && !SegyIeeeSamples::convertible(layout.sampleFormat))
        return QStringLiteral("sample format %1 cannot be converted to SEG-D").arg(layout.sampleFormat);
    if (!haveFirst) {
        first = *result;
        haveFirst = true;
        return QString();
    }
    if (!settings.concatenate)
        return QString();
    const char* mismatch = nullptr;
    if (layout.sampleFormat != first.layout.sampleFormat || layout.littleEndian != first.layout.littleEndian)
        mismatch = "format";
    else if (result->sampleInterval != first.sampleInterval)
        mismatch = "interval";
    else if (layout.samples != first.layout.samples)
        mismatch = "count";
    if (!mismatch)
        return QString();
    return QStringLiteral("sample %1 mismatch for concatenated files").arg(QLatin1String(mismatch));
}

void SegyDirCopyJob::startInputFile(const QString& name)
{
    outputName = name;
    outputsOfFile.clear();
    bytesBeforeFile = bytesCopied;
    recordChanges = 0;
    refusal.clear();
}

bool SegyDirCopyJob::endInputFile(const QString& label, bool* copied)
{
    *copied = false;
    if (refusal.isEmpty() && settings.segd && outputsOfFile.isEmpty() && !outputOpen)
        refuse(QStringLiteral("no traces to convert"));
    if (!refusal.isEmpty()) {
        passOver(label);
        return true;
    }
    if (!endOutputFile())
        return false;
    if (settings.segd && !settings.perRecord && recordChanges > 0)
        lines.warning(QStringLiteral("%1 holds %2 field records: they become one SEG-D field file (one "
                                     "for each with \"One SEG-D file per field record\", --per-record)")
                          .arg(label)
                          .arg(recordChanges + 1));
    fieldFilesWritten += int(outputsOfFile.size());
    ++filesCopied;
    *copied = true;
    return true;
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
        copyOperator->showProgress(filesCopied + filesRefused);
    }
}

bool SegyDirCopyJob::copyDiskFile(const QString& path)
{
    QFile input(path);
    startInputFile(DirCopyNames::forInputFile(QFileInfo(path).fileName(), settings.segd));
    const QString problem = readDiskHeaders(input, &current);
    if (!problem.isEmpty() && !settings.segd) {
        fail(QStringLiteral("%1: %2 - job will abort").arg(path, problem));
        return false;
    }
    bool copied = false;
    if (!problem.isEmpty()) {
        refuse(problem);
        return endInputFile(path, &copied);
    }
    const SegyCopyLayout& layout = current.layout;
    const qint64 dataStart = layout.dataStart();
    const qint64 dataBytes = qMax<qint64>(0, layout.dataEnd - dataStart);
    tracesInFile = dataBytes / layout.traceLength;
    copyOperator->showCurrentFile(
        QStringLiteral("File %1: %2 traces").arg(filesCopied + filesRefused + 1).arg(tracesInFile));
    if (settings.segd) {
        // Split by field record, each record's traces are counted as they come.
        const QString why = SegdConversionValues::refusal(
            current.sampleInterval, layout.samples, settings.perRecord ? 0 : tracesInFile, settings.revision);
        if (!why.isEmpty()) {
            refuse(why);
            return endInputFile(path, &copied);
        }
    }
    const bool continuing = settings.concatenate && outputOpen;
    if (!settings.segd && !continuing && !openOutput(outputName))
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
        // What lies between them and the first trace (revision 2 may start it further on).
        const qint64 gap = dataStart - input.pos();
        if (gap > 0 && !copyAsBlock(input, path, gap))
            return false;
    }
    const int traceLength = layout.traceLength;
    // Whole traces at a time, read on this thread while the output's own writes the traces before:
    // the pieces stay in the cache between reading, converting and writing. A trace longer than
    // the work buffer is read alone into a buffer of its own.
    const qint64 batch =
        outputTape ? traceLength : std::max(1, workBufferSize / traceLength) * qint64(traceLength);
    char* buffer = work.get();
    std::unique_ptr<char[]> longTrace;
    if (batch > workBufferSize) {
        longTrace.reset(new (std::nothrow) char[size_t(batch)]);
        if (!longTrace) {
            lines.error(QStringLiteral("failed to allocate memory (%1 bytes) for SEG-Y Copy").arg(batch));
            fail(QStringLiteral("job will abort"));
            return false;
        }
        buffer = longTrace.get();
    }
    qint64 left = dataBytes;
    while (left > 0 && refusal.isEmpty()) {
        const qint64 want = qMin(batch, left);
        const qint64 got = input.read(buffer, want);
        if (got != want) {
            fail(QStringLiteral("error reading input file %1 - job will abort").arg(path));
            return false;
        }
        left -= got;
        if ((!writeTraces(buffer, got) && refusal.isEmpty()) || !goOn())
            return false;
    }
    // Trailer stanzas follow the traces of a file copied as SEG-Y, a block each on tape.
    if (!settings.segd && layout.trailerStanzas > 0) {
        if (settings.concatenate) {
            fail(QStringLiteral("%1 ends with trailer stanzas, after which no traces can be concatenated - "
                                "job will abort")
                     .arg(path));
            return false;
        }
        for (int k = 0; k < layout.trailerStanzas; ++k) {
            if (!copyAsBlock(input, path, SegyBinaryHeader::stanzaSize))
                return false;
        }
    }
    input.close();
    if (!endInputFile(path, &copied))
        return false;
    if (copied)
        say(QStringLiteral("Copied file  ") + path);
    return true;
}
