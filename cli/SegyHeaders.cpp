#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/JsonOutput.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFieldRanges.h"
#include "seismic/SegyFormat.h"
#include "seismic/SeismicTrace.h"

#include <QJsonArray>
#include <limits>
#include <vector>

namespace {

int runHeaders(const cli::Arguments& arguments, TerminalConsole& console)
{
    SegyCommand command(arguments);
    const int first = int(arguments.integer(QStringLiteral("first"), 1));
    int last = int(arguments.integer(QStringLiteral("last"), 24));
    if (last < first)
        return arguments.usageError(QStringLiteral("the trace range %1 to %2 is empty").arg(first).arg(last));
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
    if (JsonOutput::wanted(arguments)) {
        QJsonArray fields;
        for (int row = 0; row < SegyFieldRanges::count; ++row)
            fields.append(QJsonObject{
                {QStringLiteral("field"), QString::fromLatin1(SegyFieldRanges::fields()[size_t(row)].label)},
                {QStringLiteral("minimum"), JsonOutput::numberShown(ranges.minimumText(row))},
                {QStringLiteral("maximum"), JsonOutput::numberShown(ranges.maximumText(row))}});
        JsonOutput::print({{QStringLiteral("first"), first},
                           {QStringLiteral("last"), last},
                           {QStringLiteral("fields"), fields}});
        return cli::Success;
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

OBRIO_COMMAND(segyHeaders,
              cli::Command::action("segy", "headers",
                                   QStringLiteral("ranges of the 29 trace header fields over a trace range"),
                                   runHeaders)
                  .describe(QStringLiteral(
                      "Reads traces N to M (default 1 to 24, at most the trace count) and shows, for\n"
                      "each of the 29 fields the SEG-Y analyzer shows, its minimum and maximum."))
                  .option(cli::option("first", "N", QStringLiteral("the first trace (default 1)"),
                                      cli::integer(1, std::numeric_limits<int>::max())))
                  .option(cli::option("last", "M", QStringLiteral("the last trace (default 24)"),
                                      cli::integer(1, std::numeric_limits<int>::max())))
                  .option(JsonOutput::option())
                  .argument(SegyCommand::fileArgument()))
