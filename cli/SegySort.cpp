#include "base/WholeFile.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "devices/DiskDevice.h"
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

bool writeSorted(SegyData& data, const QString& path, TerminalConsole& console)
{
    if (QFileInfo(path).absoluteFilePath() == QFileInfo(data.device()->path()).absoluteFilePath()) {
        console.error(QStringLiteral("the sorted output would overwrite its input: ") + path, false);
        return false;
    }
    WholeFile out(path);
    const QByteArray headers = fileHeaders(data);
    bool written = out.open() && out.write(headers.constData(), headers.size());
    const auto trace = SeismicTrace::create(-1, data.sampleInterval());
    std::vector<char> bytes(size_t(std::max(data.traceLength(), 0)));
    for (int record = 1; written && record <= data.recordCount(); ++record) {
        for (int n = 1; written && n <= data.index()->tracesInRecord(record); ++n) {
            if (!trace || !data.seekTrace(record, n) || !data.readTraceInto(bytes.data(), *trace))
                return false;
            written = out.write(bytes.data(), qint64(bytes.size()));
        }
    }
    if (!written || !out.commit(true)) {
        console.error(QStringLiteral("cannot write %1: %2").arg(path, out.errorString()), false);
        return false;
    }
    console.message(QStringLiteral("%1 traces written to %2").arg(data.traceCount()).arg(path), Qt::black);
    return true;
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
            "are written, unchanged, in sorted order to FILE2 after the input's file headers;\n"
            "FILE2 appears only once it is whole."))
        .option(cli::option("by", "CODE", QStringLiteral("the sort code"), cli::integer(0, 12)).required())
        .output(cli::option("out", "FILE2", QStringLiteral("write the sorted traces to this file")))
        .argument(SegyCommand::fileArgument()))
