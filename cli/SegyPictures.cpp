#include "analyzers/TraceGathers.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/PictureCommand.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyData.h"

namespace {

cli::Command picture(const char* name, const QString& summary, cli::Command::Run run)
{
    return PictureCommand::picture("segy", name, summary, run, SegyCommand::fileArgument());
}

cli::Option csvOption()
{
    return cli::option("csv", "FILE.csv", QStringLiteral("also write the numbers to this CSV file"));
}

int run(const cli::Arguments& arguments, TerminalConsole& console, AnalysisPictures::Kind kind)
{
    AnalysisPictures::Request request;
    const int status = PictureCommand::request(arguments, kind, request);
    if (status != cli::Success)
        return status;
    SegyCommand command(arguments);
    if (!command.openFileOfKnownFormat(console))
        return cli::JobFailed;
    return PictureCommand::draw(*command.data, arguments, request, console);
}

// The plot of the traces whose header word --key holds the --value.
int runGatherPlot(const cli::Arguments& arguments, TerminalConsole& console)
{
    if (!arguments.has(QStringLiteral("key")) || !arguments.has(QStringLiteral("value")))
        return arguments.usageError(QStringLiteral("--key and --value go together"));
    if (arguments.has(QStringLiteral("first")) || arguments.has(QStringLiteral("last")))
        return arguments.usageError(QStringLiteral("--key chooses the traces: leave out --first and --last"));
    GatherSelection selection;
    QString problem;
    if (!GatherSelection::parse(arguments.text(QStringLiteral("key")),
                                arguments.text(QStringLiteral("value")), &selection, &problem))
        return arguments.usageError(problem);
    AnalysisPictures::Request request;
    const int status = PictureCommand::request(arguments, AnalysisPictures::Kind::Plot, request);
    if (status != cli::Success)
        return status;
    SegyCommand command(arguments);
    if (!command.openFileOfKnownFormat(console))
        return cli::JobFailed;
    request.traces = TraceGathers::read(*command.data, selection.key).traces(selection);
    if (request.traces.isEmpty()) {
        console.error(QStringLiteral("%1: no trace has %2").arg(arguments.positional(0), selection.text()),
                      false);
        return cli::JobFailed;
    }
    request.firstTrace = request.traces.first();
    request.lastTrace = request.traces.last();
    return PictureCommand::write(*command.data, request, console);
}

int runPlot(const cli::Arguments& arguments, TerminalConsole& console)
{
    if (arguments.has(QStringLiteral("key")) || arguments.has(QStringLiteral("value")))
        return runGatherPlot(arguments, console);
    return run(arguments, console, AnalysisPictures::Kind::Plot);
}

int runSpectrum(const cli::Arguments& arguments, TerminalConsole& console)
{
    return run(arguments, console, AnalysisPictures::Kind::Spectrum);
}

int runHistogram(const cli::Arguments& arguments, TerminalConsole& console)
{
    return run(arguments, console, AnalysisPictures::Kind::Histogram);
}

} // namespace

OBRIO_COMMAND(
    segyPlot,
    PictureCommand::plot("segy", QStringLiteral("trace plot picture of a range of traces"), runPlot,
                         SegyCommand::fileArgument())
        .describe(QStringLiteral(
            "Draws traces N to M (default 1 to 24) as the analyzer's seismic view does - variable\n"
            "area (wiggles with filled positive lobes), wiggles only or variable density, timing lines\n"
            "that suit the window, field file and channel annotation - at 96 dots per inch, 12 traces\n"
            "per inch and 5 inches per second unless the scales say otherwise, and writes it as PNG.\n"
            "--start and --end keep only that time window. The density display colours each trace by\n"
            "its amplitude, full colour from the --clip percentile of the absolute amplitudes of each\n"
            "trace (or of all traces with --normalise all); --agc first balances the amplitudes over\n"
            "a sliding window.\n"
            "--key and --value plot a gather in place of a trace range: the traces whose header word\n"
            "KEY (a trace key name as `segy sort` lists them: FieldFile, Channel, Offset, Cmp, Inline,\n"
            "...) holds the value, or lies in the range A-B (--key FieldFile --value 1021, --key\n"
            "Offset --value 0-500), in file order. The trace index file beside the file (FILE.indx)\n"
            "is used when it fits it; no trace with that value fails the job."))
        .option(cli::option("key", "KEY", QStringLiteral("plot the traces chosen by this trace key")))
        .option(cli::option("value", "A|A-B", QStringLiteral("the value or range of values of --key"))))

OBRIO_COMMAND(
    segySpectrum,
    picture("spectrum", QStringLiteral("average amplitude spectrum picture (and CSV)"), runSpectrum)
        .describe(QStringLiteral(
            "Averages the amplitude spectra of traces N to M (default 1 to 24) over the time window\n"
            "(default the whole trace) and draws them in decibels below the peak, as the analyzer\n"
            "does. --csv also writes the numbers: frequency in Hz and dB, one row per point."))
        .output(csvOption()))
OBRIO_COMMAND(
    segyHistogram,
    picture("histogram", QStringLiteral("sample value histogram picture (and CSV)"), runHistogram)
        .describe(QStringLiteral(
            "Counts the sample values of traces N to M (default 1 to 24) in the time window (default\n"
            "the whole trace) in bins symmetric around zero and draws them, as the analyzer does.\n"
            "--csv also writes the numbers: lower bound, upper bound, count and percent per bin."))
        .output(csvOption()))
