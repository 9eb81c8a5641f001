#include "base/WholeFile.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SegdCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegdData.h"
#include "seismic/SegdTraceHeaderColumns.h"
#include "seismic/SeismicTrace.h"

#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Reads the header of every trace of the file, without samples.
bool readTraceHeaders(SegdData& data)
{
    const auto trace = SeismicTrace::create(0, data.sampleInterval());
    if (!trace || !data.seekSequentialTrace(1))
        return false;
    for (int n = 0; n < data.traceCount(); ++n) {
        if (!data.readTrace(*trace))
            return false;
    }
    return true;
}

int runHeaders(const cli::Arguments& arguments, TerminalConsole& console)
{
    const QString csv = arguments.text(QStringLiteral("csv"));
    const auto data = SegdCommand::open(arguments.positional(0), console);
    if (!data || !readTraceHeaders(*data))
        return cli::JobFailed;
    const auto& records = data->traceHeaderRecords();
    QByteArray text;
    QTextStream stream(&text, QIODevice::WriteOnly);
    SegdTraceHeaderColumns::writeExport(stream, records, qint64(records.size()), data->sercel());
    stream.flush();
    // A file cut short gives the headers it holds on the terminal; what is missing was said on
    // opening. A file is written only for a whole field file.
    const bool whole = !data->fieldMap().cutShort();
    if (csv.isEmpty()) {
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            console.error(
                QStringLiteral("the trace headers of %1 could not be written to standard output: %2")
                    .arg(arguments.positional(0), QString::fromLocal8Bit(std::strerror(errno))),
                false);
            return cli::JobFailed;
        }
        return whole ? cli::Success : cli::JobFailed;
    }
    if (!whole)
        return cli::JobFailed;
    QString error;
    if (!WholeFile::write(csv, text, &error)) {
        console.error(error, false);
        return cli::JobFailed;
    }
    console.message(QStringLiteral("%1 trace headers written: %2").arg(records.size()).arg(csv), Qt::black);
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(
    segdHeaders,
    cli::Command::action("segd", "headers",
                         QStringLiteral("the trace header table of every trace, as the analyzer exports it"),
                         runHeaders)
        .describe(QStringLiteral(
            "Writes the 55 columns of the SEG-D analyzer's trace header table - the trace header\n"
            "fields and the Sercel trace header extensions - for every trace of the file: a line\n"
            "of column titles, then one line per trace, the same text as the analyzer's export\n"
            "file. On standard output, or with --csv in that file, written whole or not at all:\n"
            "a field file cut short lists the headers it holds on standard output, writes no\n"
            "--csv file and exits with 1."))
        .output(cli::option("csv", "OUT", QStringLiteral("write the table to this file instead")))
        .argument(SegdCommand::fileArgument()))
