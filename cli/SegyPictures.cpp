#include "analyzers/AnalysisPictures.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"

#include <QImageReader>
#include <algorithm>
#include <limits>

namespace {

constexpr int lastInt = std::numeric_limits<int>::max();

// The picture, the traces and the time window: what all three pictures read.
cli::Command picture(const char* name, const QString& summary, cli::Command::Run run)
{
    return cli::Command::action("segy", name, summary, run)
        .drawing()
        .option(cli::option("out", "PICTURE.png", QStringLiteral("the PNG file to write")).required())
        .option(cli::option("first", "N", QStringLiteral("the first trace (default 1)"),
                            cli::integer(1, lastInt)))
        .option(cli::option("last", "M",
                            QStringLiteral("the last trace (default N + 23, at most the file's last)"),
                            cli::integer(1, lastInt)))
        .option(cli::option("start", "MS", QStringLiteral("start of the time window (default 0)"),
                            cli::decimal()))
        .option(cli::option("end", "MS",
                            QStringLiteral("end of the time window (default the end of the trace)"),
                            cli::decimal()))
        .argument(SegyCommand::fileArgument());
}

cli::Option csvOption()
{
    return cli::option("csv", "FILE.csv", QStringLiteral("also write the numbers to this CSV file"));
}

// The display options of the plot; the problem with them, or empty.
QString readDisplayOptions(const cli::Arguments& arguments, AnalysisPictures::Request& request)
{
    const QString mode = arguments.text(QStringLiteral("mode"));
    if (mode == QLatin1String("density"))
        request.mode = TraceDisplayMode::Density;
    else if (mode == QLatin1String("wiggle"))
        request.mode = TraceDisplayMode::Wiggle;
    else if (mode.isEmpty() || mode == QLatin1String("va"))
        request.mode = TraceDisplayMode::VariableArea;
    else
        return QStringLiteral("--mode must be density, wiggle or va");
    const QString colours = arguments.text(QStringLiteral("colours"));
    if (colours.isEmpty() || colours == QLatin1String("grey"))
        request.colourMap = DensityColourMap::Grey;
    else if (colours == QLatin1String("rwb"))
        request.colourMap = DensityColourMap::RedWhiteBlue;
    else
        return QStringLiteral("--colours must be grey or rwb");
    const QString normalise = arguments.text(QStringLiteral("normalise"));
    if (!normalise.isEmpty() && normalise != QLatin1String("trace") && normalise != QLatin1String("all"))
        return QStringLiteral("--normalise must be trace or all");
    request.normaliseEachTrace = normalise != QLatin1String("all");
    request.clipPercentile = arguments.decimal(QStringLiteral("clip"), 99.0);
    if (request.clipPercentile > 100)
        return QStringLiteral("--clip must be a percentile above 0 and at most 100");
    request.agcWindowMs = arguments.decimal(QStringLiteral("agc"), 0.0);
    return {};
}

int run(const cli::Arguments& arguments, TerminalConsole& console, AnalysisPictures::Kind kind)
{
    SegyCommand command(arguments);
    AnalysisPictures::Request request;
    request.kind = kind;
    request.picturePath = arguments.text(QStringLiteral("out"));
    request.csvPath = arguments.text(QStringLiteral("csv"));
    request.firstTrace = int(arguments.integer(QStringLiteral("first"), 1));
    request.lastTrace = int(arguments.integer(QStringLiteral("last"),
                                              std::min<qint64>(request.firstTrace + qint64(23), lastInt)));
    request.startMs = arguments.decimal(QStringLiteral("start"), 0);
    request.endMs = arguments.decimal(QStringLiteral("end"), -1);
    request.horizontalScale = arguments.decimal(QStringLiteral("hscale"), 12.0);
    request.verticalScale = arguments.decimal(QStringLiteral("vscale"), 5.0);
    request.gainDb = arguments.decimal(QStringLiteral("gain"), 0.0);
    if (arguments.has(QStringLiteral("end")) && request.endMs <= request.startMs)
        return arguments.usageError(QStringLiteral("--end must lie after --start"));
    if (kind == AnalysisPictures::Kind::Plot) {
        const QString problem = readDisplayOptions(arguments, request);
        if (!problem.isEmpty())
            return arguments.usageError(problem);
    }

    if (!command.openFile(console))
        return cli::JobFailed;
    const auto& data = command.data;
    // Without --last the default range ends with the file.
    if (!arguments.has(QStringLiteral("last")))
        request.lastTrace = std::min(request.lastTrace, data->traceCount());
    if (request.firstTrace < 1 || request.lastTrace < request.firstTrace ||
        request.firstTrace > data->traceCount()) {
        console.error(QStringLiteral("traces %1 to %2 are not within the file's traces 1 to %3")
                          .arg(request.firstTrace)
                          .arg(request.lastTrace)
                          .arg(data->traceCount()),
                      false);
        return cli::JobFailed;
    }
    if (!AnalysisPictures::write(*data, request, console))
        return cli::JobFailed;
    const QSize size = QImageReader(request.picturePath).size();
    console.message(QStringLiteral("picture written: %1 (%2 x %3 pixels)")
                        .arg(request.picturePath)
                        .arg(size.width())
                        .arg(size.height()),
                    Qt::black);
    if (!request.csvPath.isEmpty())
        console.message(QStringLiteral("numbers written: %1").arg(request.csvPath), Qt::black);
    return cli::Success;
}

int runPlot(const cli::Arguments& arguments, TerminalConsole& console)
{
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
    picture("plot", QStringLiteral("trace plot picture of a range of traces"), runPlot)
        .describe(QStringLiteral(
            "Draws traces N to M (default 1 to 24) as the analyzer's seismic view does - variable\n"
            "area (wiggles with filled positive lobes), wiggles only or variable density, timing lines\n"
            "that suit the window, field file and channel annotation - at 96 dots per inch, 12 traces\n"
            "per inch and 5 inches per second unless the scales say otherwise, and writes it as PNG.\n"
            "--start and --end keep only that time window. The density display colours each trace by\n"
            "its amplitude, full colour from the --clip percentile of the absolute amplitudes of each\n"
            "trace (or of all traces with --normalise all); --agc first balances the amplitudes over\n"
            "a sliding window."))
        .option(cli::option("hscale", "TRACES_PER_INCH", QStringLiteral("horizontal scale (default 12)"),
                            cli::decimalAbove(0)))
        .option(cli::option("vscale", "INCHES_PER_SECOND", QStringLiteral("vertical scale (default 5)"),
                            cli::decimalAbove(0)))
        .option(cli::option("gain", "DB", QStringLiteral("gain in decibels (default 0)"), cli::decimal()))
        .option(cli::option("mode", "density|wiggle|va",
                            QStringLiteral("how the traces are drawn (default va)")))
        .option(cli::option("colours", "grey|rwb",
                            QStringLiteral("density colour map: grey or red-white-blue (default grey)")))
        .option(cli::option("clip", "PERCENTILE",
                            QStringLiteral("density: the percentile of absolute amplitudes at full colour "
                                           "(default 99)"),
                            cli::decimalAbove(0)))
        .option(cli::option("normalise", "trace|all",
                            QStringLiteral("normalise each trace or all traces together (default trace)")))
        .option(cli::option("agc", "MS",
                            QStringLiteral("automatic gain control window in milliseconds (default off)"),
                            cli::decimalAbove(0))))
OBRIO_COMMAND(
    segySpectrum,
    picture("spectrum", QStringLiteral("average amplitude spectrum picture (and CSV)"), runSpectrum)
        .describe(QStringLiteral(
            "Averages the amplitude spectra of traces N to M (default 1 to 24) over the time window\n"
            "(default the whole trace) and draws them in decibels below the peak, as the analyzer\n"
            "does. --csv also writes the numbers: frequency in Hz and dB, one row per point."))
        .option(csvOption()))
OBRIO_COMMAND(
    segyHistogram,
    picture("histogram", QStringLiteral("sample value histogram picture (and CSV)"), runHistogram)
        .describe(QStringLiteral(
            "Counts the sample values of traces N to M (default 1 to 24) in the time window (default\n"
            "the whole trace) in bins symmetric around zero and draws them, as the analyzer does.\n"
            "--csv also writes the numbers: lower bound, upper bound, count and percent per bin."))
        .option(csvOption()))
