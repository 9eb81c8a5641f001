#include "cli/CliTool.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFieldRanges.h"
#include "seismic/SegyFormat.h"
#include "seismic/SeismicTrace.h"

#include <vector>

namespace {

const char usage[] = "headers FILE             ranges of the 29 trace header fields over a trace range\n\n"
                     "Usage: obrio segy headers [--format FILE.xml] [--first N] [--last M] FILE\n\n"
                     "Reads traces N to M (default 1 to 24, at most the trace count) and shows, for\n"
                     "each of the 29 fields the SEG-Y analyzer shows, its minimum and maximum.\n";

int runHeaders(SegyAction::Command& command, TerminalConsole& console)
{
    int first = 0;
    int last = 0;
    if (!command.number(QStringLiteral("--first"), 1, &first) ||
        !command.number(QStringLiteral("--last"), 24, &last))
        return cli::UsageError;
    if (first < 1 || last < first)
        return cli::usageError(QStringLiteral("the trace range %1 to %2 is empty").arg(first).arg(last));
    if (!command.openFile(console))
        return cli::JobFailed;
    const auto& data = command.data;
    last = std::min(last, data->traceCount());
    const auto trace = SeismicTrace::create(data->samples(), data->sampleInterval());
    std::vector<char> buffer(size_t(std::max(data->traceLength(), 0)));
    if (!trace || !data->seekSequentialTrace(first))
        return cli::JobFailed;
    SegyFieldRanges ranges;
    for (int n = first; n <= last; ++n) {
        if (!data->readTraceInto(buffer.data(), *trace))
            return cli::JobFailed;
        ranges.add(*trace);
    }
    const QColor black(Qt::black);
    console.message(QStringLiteral("Traces %1 to %2").arg(first).arg(last), black);
    console.message(QStringLiteral("%1 %2 %3")
                        .arg(QStringLiteral("Field"), -22)
                        .arg(QStringLiteral("Minimum"), 16)
                        .arg(QStringLiteral("Maximum"), 16),
                    black);
    for (int row = 0; row < SegyFieldRanges::count; ++row)
        console.message(QStringLiteral("%1 %2 %3")
                            .arg(QString::fromLatin1(SegyFieldRanges::fields()[size_t(row)].label), -22)
                            .arg(ranges.minimumText(row), 16)
                            .arg(ranges.maximumText(row), 16),
                        black);
    return cli::Success;
}

} // namespace

OBRIO_SEGY_ACTION(headers, "headers", usage, "--first --last", 1, runHeaders)
