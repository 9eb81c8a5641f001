#include "base/WholeFile.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyTraceIndex.h"
#include "seismic/SeismicTrace.h"
#include "seismic/SortOrder.h"
#include "seismic/TraceKey.h"

#include <QFileInfo>
#include <vector>

namespace {

// The input's file headers as they lie in the file: textual, binary, extended textual.
QByteArray fileHeaders(const SegyData& data)
{
    const int textSize = data.format()->textHeaderSize;
    return data.textHeaderRaw().left(textSize) + data.binaryHeaderRaw() + data.textHeaderRaw().mid(textSize);
}

// Reads the traces in the sorted order and writes them after the file headers; false when a
// trace cannot be read (said by the reader) or a write fails.
bool writeTraces(SegyData& data, WholeFile& out)
{
    const QByteArray headers = fileHeaders(data);
    if (!out.write(headers))
        return false;
    const auto trace = SeismicTrace::create(-1, data.sampleInterval());
    std::vector<char> bytes(size_t(std::max(data.traceLength(), 0)));
    for (int record = 1; record <= data.recordCount(); ++record) {
        for (int n = 1; n <= data.index()->tracesInRecord(record); ++n) {
            if (!trace || !data.seekTrace(record, n) || !data.readTraceInto(bytes.data(), *trace) ||
                !out.write(bytes.data(), qint64(bytes.size())))
                return false;
        }
    }
    return true;
}

// The sorted file is written under a temporary name beside the output and renamed to it at the
// end: whole or absent, an existing file replaced only by a whole one.
bool writeSorted(SegyData& data, const QString& path, TerminalConsole& console)
{
    const QFileInfo target(path);
    if (target.absoluteFilePath() == QFileInfo(data.device()->path()).absoluteFilePath()) {
        console.error(QStringLiteral("the sorted output would overwrite its input: ") + path, false);
        return false;
    }
    const int errorsBefore = console.errorCount();
    WholeFile out(path);
    if (!out.open()) {
        console.error(out.errorText(), false);
        return false;
    }
    const bool written = writeTraces(data, out);
    // A trace the reader could not read was said by it; the file is then not kept.
    if (written && console.errorCount() == errorsBefore && out.commit()) {
        console.message(QStringLiteral("%1 traces written to %2").arg(data.traceCount()).arg(path),
                        Qt::black);
        return true;
    }
    out.discard();
    if (!out.errorText().isEmpty())
        console.error(out.errorText(), false);
    else if (console.errorCount() == errorsBefore)
        console.error(QStringLiteral("the sorted traces of %1 could not be read: %2 not written")
                          .arg(data.device()->path(), path),
                      false);
    return false;
}

int runSort(const cli::Arguments& arguments, TerminalConsole& console)
{
    SegyCommand command(arguments);
    const int code = int(arguments.integer(QStringLiteral("by"), 0));
    if (!SortOrder::knownCode(code))
        return arguments.usageError(QStringLiteral("unknown sort code %1").arg(code));
    if (!command.openFile(console) || !command.data->buildIndex())
        return cli::JobFailed;
    command.warnOfPartialTrace(console);
    const auto& data = command.data;
    data->prepareSortOrder(code);
    SortOrder* order = data->sortOrder();
    if (!order || !order->ready)
        return cli::JobFailed;
    data->applySortOrder(order);

    const QColor black(Qt::black);
    const SegyTraceIndex& index = *data->index();
    console.message(QStringLiteral("Sort code %1: %2 gathers of %3 traces")
                        .arg(code)
                        .arg(data->recordCount())
                        .arg(index.traceCount()),
                    black);
    QVector<int> shown = order->keys;
    if (shown.isEmpty())
        shown.append(TraceKey::FieldFile);
    for (int record = 1; record <= index.recordCount(); ++record) {
        const SegyTraceIndex::Entry& first = index.entries[size_t(index.entryOf(record, 1))];
        QStringList values;
        for (int key : shown)
            values.append(QStringLiteral("%1 %2")
                              .arg(QString::fromLatin1(TraceKey::info(key).name))
                              .arg(first.value(key)));
        console.message(QStringLiteral("Gather %1: %2 traces, first trace %3, %4")
                            .arg(record)
                            .arg(index.tracesInRecord(record))
                            .arg(first.fileTrace)
                            .arg(values.join(QStringLiteral(", "))),
                        black);
    }
    if (arguments.has(QStringLiteral("out")) &&
        !writeSorted(*data, arguments.text(QStringLiteral("out")), console))
        return cli::JobFailed;
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(
    segySort,
    cli::Command::action("segy", "sort", QStringLiteral("index the traces, sort them and list the gathers"),
                         runSort)
        .describe(QStringLiteral(
            "Sort codes: 0 file order, 1 source line and location, 2 receiver line and\n"
            "location, 3 CMP (2-D) or inline and crossline (3-D), 4 inline then CMP,\n"
            "5 offset, 6 field file, 9 inline (3-D), 10 crossline (3-D), 11 attribute,\n"
            "12 CMP (2-D) or inline (3-D).\n"
            "Lists every gather with its trace count and key values. With --out the traces\n"
            "are written, unchanged, in sorted order to FILE2 after the input's file headers."))
        .option(cli::option("by", "CODE", QStringLiteral("the sort code"), cli::integer(0, 12)).required())
        .option(cli::option("out", "FILE2", QStringLiteral("write the sorted traces to this file")))
        .argument(SegyCommand::fileArgument()))
