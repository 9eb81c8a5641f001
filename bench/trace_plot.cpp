// Times the drawing of a trace plot: 1,000 traces of 4,000 samples at 2 ms at 96 dots per
// inch with the analyzers' default settings. Run from a Release build:
//   build/release/bin/bench_trace_plot
#include "analyzers/TracePlot.h"
#include "seismic/SeismicData.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceGather.h"

#include <QElapsedTimer>
#include <QGuiApplication>
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
    // The timing labels need fonts; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
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

    QTextStream out(stdout);
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const TracePlot plot = TracePlot::build(*gather, settings);
        best = std::min(best, timer.nsecsElapsed() / 1e6);
        if (run == 0)
            out << "plot " << plot.image.width() << " x " << plot.image.height() << " pixels\n";
    }
    out << "TracePlot of " << plotTraces << " traces x " << plotSamples << " samples: best of 5 " << best
        << " ms\n";
    return 0;
}
