#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/JsonOutput.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "cli/ThreadsOption.h"
#include "seismic/SegyData.h"
#include "seismic/SegyTraceScan.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

namespace {

int runScan(const cli::Arguments& arguments, TerminalConsole& console)
{
    SegyCommand command(arguments);
    if (!command.openFileOfKnownFormat(console))
        return cli::JobFailed;
    command.warnOfPartialTrace(console);
    const auto& data = command.data;
    if (!data->seekSequentialTrace(1))
        return cli::JobFailed;
    const int threads = ThreadsOption::value(arguments);
    QElapsedTimer clock;
    clock.start();
    const SegyTraceScan::Result scan = SegyTraceScan::run(SegyTraceScan::layoutOf(*data), threads);
    if (!scan.error.isEmpty())
        console.error(scan.error, false);
    const int read = scan.tracesRead;
    const SampleStatistics& statistics = scan.statistics;
    const double seconds = std::max(clock.nsecsElapsed() / 1e9, 1e-9);
    const double megabytes = double(read) * data->traceLength() / 1e6;
    const bool any = statistics.count > 0;
    const double minimum = any ? statistics.minimum : 0.0;
    const double maximum = any ? statistics.maximum : 0.0;
    const double rms = any ? std::sqrt(statistics.sumOfSquares / double(statistics.count)) : 0.0;
    const bool complete = read == data->traceCount();
    if (JsonOutput::wanted(arguments)) {
        if (complete)
            JsonOutput::print({{QStringLiteral("tracesRead"), read},
                               {QStringLiteral("traceCount"), data->traceCount()},
                               {QStringLiteral("minimum"), minimum},
                               {QStringLiteral("maximum"), maximum},
                               {QStringLiteral("rms"), rms},
                               {QStringLiteral("megabytesPerSecond"), megabytes / seconds},
                               {QStringLiteral("megabytes"), megabytes},
                               {QStringLiteral("seconds"), seconds}});
        return complete ? cli::Success : cli::JobFailed;
    }
    const QColor black(Qt::black);
    console.message(QStringLiteral("Traces read: %1 of %2").arg(read).arg(data->traceCount()), black);
    console.message(QStringLiteral("Minimum:     %1").arg(minimum, 0, 'g', 9), black);
    console.message(QStringLiteral("Maximum:     %1").arg(maximum, 0, 'g', 9), black);
    console.message(QStringLiteral("RMS:         %1").arg(rms, 0, 'g', 9), black);
    console.message(QStringLiteral("Speed:       %1 MB/s (%2 MB in %3 s)")
                        .arg(megabytes / seconds, 0, 'f', 1)
                        .arg(megabytes, 0, 'f', 1)
                        .arg(seconds, 0, 'f', 3),
                    black);
    return complete ? cli::Success : cli::JobFailed;
}

} // namespace

OBRIO_COMMAND(
    segyScan,
    cli::Command::action("segy", "scan",
                         QStringLiteral("read every trace: count, minimum, maximum, RMS and MB/s"), runScan)
        .describe(QStringLiteral("Reads every trace of the file and shows the traces read, the minimum,\n"
                                 "maximum and RMS of all samples, and the reading speed. Ranges of whole\n"
                                 "traces are read on several threads; the figures do not depend on their\n"
                                 "number."))
        .option(ThreadsOption::option())
        .option(JsonOutput::option())
        .argument(SegyCommand::fileArgument()))
