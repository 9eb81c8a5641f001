// Times the construction of a trace plot view: 1,000 traces of 4,000 samples at 2 ms on a
// 96 dpi widget with the analyzers' default settings. Run from a Release build:
//   build/release/bin/bench_trace_plot
#include "analyzers/ui/TraceDisplay.h"
#include "seismic/SeismicData.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>
#include <cmath>

namespace {

constexpr int plotTraces = 1000;
constexpr int plotSamples = 4000;

// Describes the traces, so makeGather can size them.
class BenchData : public SeismicData {
public:
    BenchData() : SeismicData(nullptr)
    {
        traceCount_ = plotTraces;
        tracesPerRecord_ = plotTraces;
        samples_ = plotSamples;
        sampleInterval_ = 2.0f;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    BenchData data;
    auto gather = data.makeGather(false);
    if (!gather)
        return 1;
    for (int i = 0; i < gather->count(); ++i) {
        SeismicTrace& trace = *gather->trace(i);
        trace.setValue(TraceKey::FieldFile, 1001 + i / 100);
        trace.setValue(TraceKey::Channel, 1 + i % 100);
        for (int j = 0; j < plotSamples; ++j)
            trace.data()[j] =
                std::sin(j * 0.09 + i * 0.01) * std::exp(-j / 1500.0) + 0.05 * std::sin(j * 1.7 + i);
    }
    TraceDisplaySettings settings;
    settings.lastTrace = plotTraces;
    QWidget parent;
    parent.resize(1200, 800);

    QTextStream out(stdout);
    double bestRaster = 1e9;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const TracePlot plot = TracePlot::build(*gather, settings);
        bestRaster = std::min(bestRaster, timer.nsecsElapsed() / 1e6);
    }
    out << "TracePlot (the one-bit image alone): best of 5 " << bestRaster << " ms\n";
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        TraceDisplay display(&parent, *gather, settings);
        const double ms = timer.nsecsElapsed() / 1e6;
        best = std::min(best, ms);
        if (run == 0)
            out << "plot " << display.plot().image.width() << " x " << display.plot().image.height()
                << " pixels\n";
    }
    out << "TraceDisplay of " << plotTraces << " traces x " << plotSamples << " samples: best of 5 " << best
        << " ms\n";
    return 0;
}
