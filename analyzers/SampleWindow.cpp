#include "analyzers/SampleWindow.h"

#include "analyzers/WorkerJob.h"
#include "seismic/SeismicData.h"
#include "seismic/SeismicTrace.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

int sampleIndex(double ms, double sampleInterval, int samples)
{
    const double index = sampleInterval > 0 ? std::trunc(ms / sampleInterval) : 0.0;
    return index > 0 ? int(std::min(index, double(samples))) : 0;
}

} // namespace

SampleWindow SampleWindow::fromTimes(int firstTrace, int lastTrace, double startMs, double endMs,
                                     double sampleInterval, int samples)
{
    samples = std::max(samples, 0);
    return {firstTrace, lastTrace, sampleIndex(startMs, sampleInterval, samples),
            sampleIndex(endMs, sampleInterval, samples)};
}

SampleWindow SampleWindow::of(const SeismicData& data, int firstTrace, int lastTrace, double startMs,
                              double endMs)
{
    // A range past the end would try every trace number up to it, one failed read each.
    return fromTimes(firstTrace, std::min(lastTrace, data.traceCount()), startMs, endMs,
                     data.sampleInterval(), data.samples());
}

int SampleWindow::forEachTrace(SeismicData& data, const std::function<void(const std::vector<float>&)>& visit,
                               const JobSteps* steps) const
{
    const auto trace = data.makeTrace();
    if (!trace || !trace->hasSamples() || length() == 0)
        return 0;
    std::vector<float> window(size_t(length()), 0.0f);
    int read = 0;
    for (qint64 k = firstTrace; k <= lastTrace; k += std::max(traceStep, 1)) {
        if (steps && steps->cancelled())
            break;
        if (steps)
            steps->step();
        if (!data.readTraceInRecord(*trace, int(k)))
            continue;
        const double* samples = trace->data();
        for (int i = 0; i < length(); ++i) {
            const int j = startSample + i;
            const double value = j < trace->sampleCount() ? samples[j] : 0.0;
            window[size_t(i)] =
                std::isfinite(value) ? float(std::clamp(value, -double(FLT_MAX), double(FLT_MAX))) : 0.0f;
        }
        visit(window);
        ++read;
    }
    return read;
}
