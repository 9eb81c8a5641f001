#include "base/BlockPool.h"
#include "copy/DirCopyNames.h"
#include "copy/Segd21Headers.h"
#include "copy/Segd31Headers.h"
#include "copy/SegdCommonHeaders.h"
#include "copy/SegdConversionValues.h"
#include "copy/SegyDirCopyJob.h"
#include "copy/SegyIeeeSamples.h"
#include "seismic/SegyLayout.h"

#include <algorithm>
#include <cstring>

// The SEG-D side of the multi-file copy: a field file for each input file or each of its field
// records, started at its first trace, and the input files SEG-D cannot hold.

bool SegyDirCopyJob::convertTraces(const char* traces, qint64 length)
{
    const SegyCopyLayout& layout = current.layout;
    const int traceLength = layout.traceLength;
    const qint64 whole = length / traceLength;
    const qint64 recordBytes = SegdCommonHeaders::traceRecordBytes(layout.samples);
    if (converted.size() < size_t(whole * recordBytes))
        converted.resize(size_t(whole * recordBytes));
    // Trace records whose headers are made and not yet written, from input trace `first` on; they
    // belong to the field file open.
    qint64 pending = 0;
    qint64 first = 0;
    for (qint64 k = 0; k < whole; ++k) {
        const char* trace = traces + k * traceLength;
        const qint32 record = SegdConversionValues::fieldRecord(trace, layout.littleEndian);
        if (outputOpen && record != fieldRecord) {
            ++recordChanges;
            if (settings.perRecord) {
                if (!writeRecords(traces + first * traceLength, pending) || !endOutputFile())
                    return false;
                pending = 0;
                first = k;
            }
        }
        fieldRecord = record;
        if (!outputOpen && !startFieldFile(trace))
            return false;
        if (traceNumber >= SegdConversionValues::largestTraceCount) {
            const QString limit = QStringLiteral("more than %1 traces, more than a SEG-D field file numbers")
                                      .arg(SegdConversionValues::largestTraceCount);
            refuse(settings.perRecord ? QStringLiteral("field record %1 holds %2").arg(record).arg(limit)
                                      : limit);
            return false;
        }
        ++traceNumber;
        char* out = converted.data() + pending++ * recordBytes;
        SegdConversionValues::setTraceValues(segdValues, trace, layout.littleEndian, traceNumber);
        SegdCommonHeaders::writeTraceHeader(out, segdValues, settings.revision);
    }
    if (length % traceLength != 0)
        lines.warning(
            QStringLiteral("the last trace of the file is incomplete (%1 of %2 bytes); it is left out")
                .arg(length % traceLength)
                .arg(traceLength));
    return writeRecords(traces + first * traceLength, pending);
}

bool SegyDirCopyJob::writeRecords(const char* traces, qint64 count)
{
    const SegyCopyLayout& layout = current.layout;
    const qint64 recordBytes = SegdCommonHeaders::traceRecordBytes(layout.samples);
    const qint64 bytes = count * recordBytes;
    // A disk output takes the records where it gathers its bytes: no copy of them is made.
    char* records = converted.data();
    if (!outputTape && count > 0) {
        records = outputFile.space(bytes);
        if (!records)
            return failWriting(outputFile.errorString());
        for (qint64 k = 0; k < count; ++k)
            std::memcpy(records + k * recordBytes, converted.data() + k * recordBytes,
                        SegdCommonHeaders::traceHeaderBytes);
    }
    // The samples, trace by trace on the cores, each trace's alone: the records are the same
    // whatever the number of threads. Reading and writing have a core each while they can.
    constexpr int tracesPerBlock = 64;
    const int blocks = int((count + tracesPerBlock - 1) / tracesPerBlock);
    const int threads =
        settings.threads > 0 ? settings.threads : std::max(1, BlockPool::defaultThreads() - 2);
    const auto failures = BlockPool::run(blocks, threads, [&](int, int block) {
        const qint64 end = std::min(count, qint64(block + 1) * tracesPerBlock);
        for (qint64 k = qint64(block) * tracesPerBlock; k < end; ++k)
            SegyIeeeSamples::convert(layout.sampleFormat, layout.littleEndian,
                                     traces + k * layout.traceLength + layout.traceHeaderLength,
                                     records + k * recordBytes + SegdCommonHeaders::traceHeaderBytes,
                                     layout.samples);
    });
    // The conversion throws nothing: no block fails.
    static_cast<void>(failures);
    if (outputTape)
        return write(records, bytes, int(recordBytes));
    bytesCopied += bytes;
    return true;
}

bool SegyDirCopyJob::startFieldFile(const char* firstTrace)
{
    const SegyCopyLayout& layout = current.layout;
    // A field record's trace count, like a tape file's, is written into the headers once it ends.
    const qint64 traces = settings.perRecord ? 0 : tracesInFile;
    segdValues = SegdConversionValues::fileValues(firstTrace, layout.littleEndian, current.sampleInterval,
                                                  layout.samples, int(traces), settings.revision);
    const QString why = SegdConversionValues::recordRefusal(segdValues, settings.revision);
    if (!why.isEmpty()) {
        refuse(settings.perRecord ? QStringLiteral("field record %1: %2").arg(fieldRecord).arg(why) : why);
        return false;
    }
    if (!openOutput(settings.perRecord ? DirCopyNames::withFieldRecord(outputName, fieldRecord) : outputName))
        return false;
    const QByteArray headers = segdHeaders();
    return write(headers.constData(), headers.size(), headers.size());
}

QByteArray SegyDirCopyJob::segdHeaders() const
{
    return settings.revision == 31 ? Segd31Headers::build(segdValues) : Segd21Headers::build(segdValues);
}

void SegyDirCopyJob::refuse(const QString& why)
{
    refusal = why;
    outputFile.discard();
    outputOpen = false;
    for (const QString& path : qAsConst(outputsOfFile)) {
        if (!QFile::remove(path))
            lines.error(QStringLiteral("error removing output file %1").arg(path));
    }
    outputsOfFile.clear();
    bytesCopied = bytesBeforeFile;
}

void SegyDirCopyJob::passOver(const QString& label)
{
    lines.error(QStringLiteral("%1: %2 - file passed over").arg(label, refusal));
    ++filesRefused;
}
