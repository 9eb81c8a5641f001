#include "cli/CliTool.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SeismicTrace.h"

#include <QElapsedTimer>
#include <cmath>
#include <limits>

namespace {

const char usage[] = "scan FILE                read every trace: count, minimum, maximum, RMS and MB/s\n\n"
                     "Usage: obrio segy scan [--format FILE.xml] FILE\n\n"
                     "Reads every trace of the file through the SEG-Y reader and shows the traces\n"
                     "read, the minimum, maximum and RMS of all samples, and the reading speed.\n";

// Minimum, maximum and sum of squares of all samples, one trace at a time.
struct Statistics {
    double minimum = std::numeric_limits<double>::infinity();
    double maximum = -std::numeric_limits<double>::infinity();
    double sumOfSquares = 0;
    qint64 count = 0;

    void add(const double* samples, int n)
    {
        // Separate reductions keep the loop free of branches, so it vectorises.
        double low = minimum;
        double high = maximum;
        double squares = 0;
        for (int i = 0; i < n; ++i) {
            const double v = samples[i];
            low = v < low ? v : low;
            high = v > high ? v : high;
            squares += v * v;
        }
        minimum = low;
        maximum = high;
        sumOfSquares += squares;
        count += n;
    }
};

int runScan(SegyAction::Command& command, TerminalConsole& console)
{
    const auto format = command.loadFormat(console);
    if (!format)
        return cli::JobFailed;
    const auto data = command.open(console, format.get());
    if (!data)
        return cli::JobFailed;
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
    const QColor black(Qt::black);
    const bool any = statistics.count > 0;
    console.message(QStringLiteral("Traces read: %1 of %2").arg(read).arg(data->traceCount()), black);
    console.message(QStringLiteral("Minimum:     %1").arg(any ? statistics.minimum : 0.0, 0, 'g', 9), black);
    console.message(QStringLiteral("Maximum:     %1").arg(any ? statistics.maximum : 0.0, 0, 'g', 9), black);
    console.message(
        QStringLiteral("RMS:         %1")
            .arg(any ? std::sqrt(statistics.sumOfSquares / double(statistics.count)) : 0.0, 0, 'g', 9),
        black);
    console.message(QStringLiteral("Speed:       %1 MB/s (%2 MB in %3 s)")
                        .arg(megabytes / seconds, 0, 'f', 1)
                        .arg(megabytes, 0, 'f', 1)
                        .arg(seconds, 0, 'f', 3),
                    black);
    return read == data->traceCount() ? cli::Success : cli::JobFailed;
}

} // namespace

OBRIO_SEGY_ACTION(scan, "scan", usage, "", 1, runScan)
