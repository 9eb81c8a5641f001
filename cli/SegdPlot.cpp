#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/PictureCommand.h"
#include "cli/SegdCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegdData.h"
#include "seismic/TraceGather.h"

namespace {

int runPlot(const cli::Arguments& arguments, TerminalConsole& console)
{
    AnalysisPictures::Request request;
    const int status = PictureCommand::request(arguments, AnalysisPictures::Kind::Plot, request);
    if (status != cli::Success)
        return status;
    const auto data = SegdCommand::open(arguments.positional(0), console);
    if (!data || PictureCommand::fitTraces(*data, arguments, request, console) != cli::Success)
        return cli::JobFailed;
    // The plot draws what it could read; a trace that cannot be read fails the job instead.
    TraceGather headers(data.get());
    headers.headersOnly = true;
    if (!data->readTraceRange(headers, request.firstTrace, request.lastTrace))
        return cli::JobFailed;
    return PictureCommand::write(*data, request, console);
}

} // namespace

OBRIO_COMMAND(segdPlot,
              PictureCommand::plot("segd", QStringLiteral("trace plot picture of a range of traces"), runPlot,
                                   SegdCommand::fileArgument())
                  .describe(QStringLiteral(
                      "Draws traces N to M (default 1 to 24) of the field file, counted in file order\n"
                      "with the auxiliary traces, as the SEG-D analyzer's seismic view does, and writes\n"
                      "it as PNG; the options are those of `obrio segy plot`. Only the traces drawn\n"
                      "are read.")))
