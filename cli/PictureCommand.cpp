#include "cli/PictureCommand.h"

#include "cli/CliArguments.h"
#include "cli/TerminalConsole.h"
#include "cli/TraceRangeOptions.h"
#include "seismic/SeismicData.h"

#include <QImageReader>
#include <algorithm>

namespace {

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
    request.agcWindowMs = arguments.decimal(QStringLiteral("agc"), 0.0);
    QString problem;
    if (arguments.has(QStringLiteral("band")) &&
        !BandPass::parse(arguments.text(QStringLiteral("band")), &request.band, &problem))
        return QStringLiteral("--band: ") + problem;
    return {};
}

} // namespace

namespace PictureCommand {

cli::Command picture(const char* tool, const char* name, const QString& summary, cli::Command::Run run,
                     const cli::Argument& file)
{
    return cli::Command::action(tool, name, summary, run)
        .drawing()
        .output(cli::option("out", "PICTURE.png", QStringLiteral("the PNG file to write")).required())
        .option(TraceRangeOptions::first())
        .option(TraceRangeOptions::last(QStringLiteral("N + 23, at most the file's last")))
        .option(cli::option("start", "MS", QStringLiteral("start of the time window (default 0)"),
                            cli::decimalRange(0, AnalysisPictures::largestTimeMs)))
        .option(cli::option("end", "MS",
                            QStringLiteral("end of the time window (default the end of the trace)"),
                            cli::decimalAbove(0, AnalysisPictures::largestTimeMs)))
        .argument(file);
}

cli::Command plot(const char* tool, const QString& summary, cli::Command::Run run, const cli::Argument& file)
{
    return picture(tool, "plot", summary, run, file)
        .option(
            cli::option("hscale", "TRACES_PER_INCH", QStringLiteral("horizontal scale (default 12)"),
                        cli::decimalRange(AnalysisPictures::smallestScale, AnalysisPictures::largestScale)))
        .option(
            cli::option("vscale", "INCHES_PER_SECOND", QStringLiteral("vertical scale (default 5)"),
                        cli::decimalRange(AnalysisPictures::smallestScale, AnalysisPictures::largestScale)))
        .option(
            cli::option("gain", "DB", QStringLiteral("gain in decibels (default 0)"),
                        cli::decimalRange(-AnalysisPictures::largestGainDb, AnalysisPictures::largestGainDb)))
        .option(
            cli::option("mode", "density|wiggle|va", QStringLiteral("how the traces are drawn (default va)")))
        .option(cli::option("colours", "grey|rwb",
                            QStringLiteral("density colour map: grey or red-white-blue (default grey)")))
        .option(cli::option("clip", "PERCENTILE",
                            QStringLiteral("density: the percentile of absolute amplitudes at full colour "
                                           "(default 99)"),
                            cli::decimalAbove(0, 100)))
        .option(cli::option("normalise", "trace|all",
                            QStringLiteral("normalise each trace or all traces together (default trace)")))
        .option(cli::option("agc", "MS",
                            QStringLiteral("automatic gain control window in milliseconds (default off)"),
                            cli::decimalAbove(0, AnalysisPictures::largestAgcMs)))
        .option(cli::option(
            "band", "F1,F2,F3,F4",
            QStringLiteral("zero-phase band-pass of what is shown: nothing below F1, full from F2 "
                           "to F3, nothing above F4 (hertz; default off)")));
}

int request(const cli::Arguments& arguments, AnalysisPictures::Kind kind, AnalysisPictures::Request& request)
{
    request.kind = kind;
    request.picturePath = arguments.text(QStringLiteral("out"));
    request.csvPath = arguments.text(QStringLiteral("csv"));
    if (!TraceRangeOptions::read(arguments, 24, &request.firstTrace, &request.lastTrace))
        return cli::UsageError;
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
    return cli::Success;
}

int fitTraces(const SeismicData& data, const cli::Arguments& arguments, AnalysisPictures::Request& request,
              TerminalConsole& console)
{
    // The range ends with the file's last trace, given or not: past it there is nothing to draw.
    const int asked = request.lastTrace;
    request.lastTrace = std::min(request.lastTrace, data.traceCount());
    if (request.firstTrace < 1 || request.lastTrace < request.firstTrace ||
        request.firstTrace > data.traceCount()) {
        console.error(QStringLiteral("%1: traces %2 to %3 are not within the file's traces 1 to %4")
                          .arg(arguments.positional(0))
                          .arg(request.firstTrace)
                          .arg(asked)
                          .arg(data.traceCount()),
                      false);
        return cli::JobFailed;
    }
    return cli::Success;
}

int write(SeismicData& data, const AnalysisPictures::Request& request, TerminalConsole& console)
{
    // An error said while the file was opened (a file cut short) fails the job before anything is drawn.
    if (console.errorCount() > 0 || !AnalysisPictures::write(data, request, console))
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

int draw(SeismicData& data, const cli::Arguments& arguments, AnalysisPictures::Request& request,
         TerminalConsole& console)
{
    const int status = fitTraces(data, arguments, request, console);
    return status == cli::Success ? write(data, request, console) : status;
}

} // namespace PictureCommand
