#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/JsonOutput.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SeismicTrace.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Minimum, maximum and sum of squares of all samples, one trace at a time.
struct Statistics {
    double minimum = std::numeric_limits<double>::infinity();
    double maximum = -std::numeric_limits<double>::infinity();
    double sumOfSquares = 0;
    qint64 count = 0;

    void add(const double* samples, int n)
    {
        // Four independent lanes: the compiler keeps them in vector registers, and no lane
        // waits for another's sum.
        constexpr int lanes = 4;
        double low[lanes] = {minimum, minimum, minimum, minimum};
        double high[lanes] = {maximum, maximum, maximum, maximum};
        double squares[lanes] = {};
        int i = 0;
        for (; i + lanes <= n; i += lanes) {
            for (int k = 0; k < lanes; ++k) {
                const double v = samples[i + k];
                low[k] = v < low[k] ? v : low[k];
                high[k] = v > high[k] ? v : high[k];
                squares[k] += v * v;
            }
        }
        for (; i < n; ++i) {
            const double v = samples[i];
            low[0] = v < low[0] ? v : low[0];
            high[0] = v > high[0] ? v : high[0];
            squares[0] += v * v;
        }
        for (int k = 0; k < lanes; ++k) {
            minimum = std::min(minimum, low[k]);
            maximum = std::max(maximum, high[k]);
            sumOfSquares += squares[k];
        }
        count += n;
    }
};

int runScan(const cli::Arguments& arguments, TerminalConsole& console)
{
    SegyCommand command(arguments);
    if (!command.openFile(console))
        return cli::JobFailed;
    command.warnOfPartialTrace(console);
    const auto& data = command.data;
    const auto trace = SeismicTrace::create(data->samples(), data->sampleInterval());
    if (!trace || !data->seekSequentialTrace(1))
        return cli::JobFailed;
    QElapsedTimer clock;
    clock.start();
    Statistics statistics;
    int read = 0;
    for (; read < data->traceCount(); ++read) {
        if (!data->readTrace(*trace))
            break;
        statistics.add(trace->data(), trace->hasSamples() ? trace->sampleCount() : 0);
    }
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

OBRIO_COMMAND(segyScan,
              cli::Command::action("segy", "scan",
                                   QStringLiteral("read every trace: count, minimum, maximum, RMS and MB/s"),
                                   runScan)
                  .describe(QStringLiteral(
                      "Reads every trace of the file through the SEG-Y reader and shows the traces\n"
                      "read, the minimum, maximum and RMS of all samples, and the reading speed."))
                  .option(JsonOutput::option())
                  .argument(SegyCommand::fileArgument()))
