#include "analyzers/AnalysisPictures.h"
#include "cli/CliTool.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"

#include <QImageReader>
#include <algorithm>

namespace {

const char plotUsage[] =
    "plot FILE --out PNG      trace plot picture of a range of traces\n\n"
    "Usage: obrio segy plot [--format FILE.xml] FILE --out PICTURE.png [--first N] [--last M]\n"
    "                       [--start MS] [--end MS] [--hscale TRACES_PER_INCH]\n"
    "                       [--vscale INCHES_PER_SECOND] [--gain DB]\n\n"
    "Draws traces N to M (default 1 to 24) as the analyzer's seismic view does - wiggles with\n"
    "filled positive lobes, timing lines every 500 ms, field file and channel annotation - at\n"
    "96 dots per inch, 12 traces per inch and 5 inches per second unless the scales say\n"
    "otherwise, and writes it as PNG. --start and --end keep only that time window.\n";

const char spectrumUsage[] =
    "spectrum FILE --out PNG  average amplitude spectrum picture (and CSV)\n\n"
    "Usage: obrio segy spectrum [--format FILE.xml] FILE --out PICTURE.png [--csv FILE.csv]\n"
    "                           [--first N] [--last M] [--start MS] [--end MS]\n\n"
    "Averages the amplitude spectra of traces N to M (default 1 to 24) over the time window\n"
    "(default the whole trace) and draws them in decibels below the peak, as the analyzer\n"
    "does. --csv also writes the numbers: frequency in Hz and dB, one row per point.\n";

const char histogramUsage[] =
    "histogram FILE --out PNG sample value histogram picture (and CSV)\n\n"
    "Usage: obrio segy histogram [--format FILE.xml] FILE --out PICTURE.png [--csv FILE.csv]\n"
    "                            [--first N] [--last M] [--start MS] [--end MS]\n\n"
    "Counts the sample values of traces N to M (default 1 to 24) in the time window (default\n"
    "the whole trace) in bins symmetric around zero and draws them, as the analyzer does.\n"
    "--csv also writes the numbers: lower bound, upper bound, count and percent per bin.\n";

const char flags[] = "--out --csv --first --last --start --end --hscale --vscale --gain";

// A number option; false (and a usage message) when it is not one.
bool decimal(const SegyAction::Command& command, const QString& flag, double fallback, double* value)
{
    if (!command.has(flag)) {
        *value = fallback;
        return true;
    }
    bool ok = false;
    *value = command.values.value(flag).toDouble(&ok);
    if (!ok)
        cli::usageError(QStringLiteral("%1 needs a number, not '%2'").arg(flag, command.values.value(flag)));
    return ok;
}

int run(SegyAction::Command& command, TerminalConsole& console, AnalysisPictures::Kind kind)
{
    const bool plot = kind == AnalysisPictures::Kind::Plot;
    if (!command.has(QStringLiteral("--out")))
        return cli::usageError(QStringLiteral("--out PICTURE.png is needed"));
    for (const char* flag : {"--hscale", "--vscale", "--gain"}) {
        if (!plot && command.has(QLatin1String(flag)))
            return cli::usageError(QStringLiteral("%1 is an option of plot only").arg(QLatin1String(flag)));
    }
    if (plot && command.has(QStringLiteral("--csv")))
        return cli::usageError(QStringLiteral("--csv is an option of spectrum and histogram"));

    AnalysisPictures::Request request;
    request.kind = kind;
    request.picturePath = command.values.value(QStringLiteral("--out"));
    request.csvPath = command.values.value(QStringLiteral("--csv"));
    if (!command.number(QStringLiteral("--first"), 1, &request.firstTrace) ||
        !command.number(QStringLiteral("--last"), request.firstTrace + 23, &request.lastTrace) ||
        !decimal(command, QStringLiteral("--start"), 0, &request.startMs) ||
        !decimal(command, QStringLiteral("--end"), -1, &request.endMs) ||
        !decimal(command, QStringLiteral("--hscale"), 12.0, &request.horizontalScale) ||
        !decimal(command, QStringLiteral("--vscale"), 5.0, &request.verticalScale) ||
        !decimal(command, QStringLiteral("--gain"), 0.0, &request.gainDb))
        return cli::UsageError;
    if (request.horizontalScale <= 0 || request.verticalScale <= 0)
        return cli::usageError(QStringLiteral("--hscale and --vscale must be above 0"));
    if (command.has(QStringLiteral("--end")) && request.endMs <= request.startMs)
        return cli::usageError(QStringLiteral("--end must lie after --start"));

    if (!command.openFile(console))
        return cli::JobFailed;
    const auto& data = command.data;
    // Without --last the default range ends with the file.
    if (!command.has(QStringLiteral("--last")))
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

int runPlot(SegyAction::Command& command, TerminalConsole& console)
{
    return run(command, console, AnalysisPictures::Kind::Plot);
}

int runSpectrum(SegyAction::Command& command, TerminalConsole& console)
{
    return run(command, console, AnalysisPictures::Kind::Spectrum);
}

int runHistogram(SegyAction::Command& command, TerminalConsole& console)
{
    return run(command, console, AnalysisPictures::Kind::Histogram);
}

} // namespace

OBRIO_SEGY_ACTION(plot, "plot", plotUsage, flags, 1, runPlot)
OBRIO_SEGY_ACTION(spectrum, "spectrum", spectrumUsage, flags, 1, runSpectrum)
OBRIO_SEGY_ACTION(histogram, "histogram", histogramUsage, flags, 1, runHistogram)
