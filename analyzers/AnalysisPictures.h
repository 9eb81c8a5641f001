#pragma once

#include "analyzers/TraceDisplaySettings.h"

#include <QString>
#include <QVector>

class ObrConsole;
class SeismicData;

// Pictures of a data set as the analyzer shows them, written as files: the trace plot, the
// average amplitude spectrum and the sample histogram, with the numbers of the latter two
// as CSV on request. The labels need a QGuiApplication (a headless platform is enough).
namespace AnalysisPictures {

enum class Kind { Plot, Spectrum, Histogram };

struct Request {
    Kind kind = Kind::Plot;
    int firstTrace = 1;
    int lastTrace = 24;
    QVector<int> traces; // the plot: these traces (1-based, file order) in place of the range
    double startMs = 0;
    double endMs = -1; // below 0: the end of the traces
    double horizontalScale = 12.0;
    double verticalScale = 5.0;
    double gainDb = 0.0;
    TraceDisplayMode mode = TraceDisplayMode::VariableArea;
    DensityColourMap colourMap = DensityColourMap::Grey;
    double clipPercentile = 99.0;
    double agcWindowMs = 0.0;
    BandPass band;
    bool normaliseEachTrace = true;
    QString picturePath; // PNG
    QString csvPath;     // spectrum and histogram; empty: none
};

// The ranges of the plot's settings, those of the analyzers' controls: scales from 0.1 to 1000
// traces per inch and inches per second, a gain of -200 to 200 dB, an automatic gain control window
// of at most 100 s, times of at most 10^9 ms. Within them a plot's size depends on the file alone,
// and one too large to draw is refused by its size (TracePlotGeometry).
constexpr double smallestScale = 0.1;
constexpr double largestScale = 1000;
constexpr double largestGainDb = 200;
constexpr double largestAgcMs = 100000;
constexpr double largestTimeMs = 1e9;

// Size of the spectrum and histogram pictures.
constexpr int pictureWidth = 900;
constexpr int pictureHeight = 500;

// Draws and writes what the request asks for; false (said on the console) when there is
// nothing to draw or a file cannot be written. Each file is written whole or not at all, and
// none when the console says an error on the way (a trace that could not be read).
[[nodiscard]] bool write(SeismicData& data, const Request& request, ObrConsole& console);

} // namespace AnalysisPictures
