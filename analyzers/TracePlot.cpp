#include "analyzers/TracePlot.h"

#include "analyzers/TraceAmplitudes.h"
#include "analyzers/TraceDensity.h"
#include "analyzers/TracePlotAxes.h"
#include "analyzers/TraceRaster.h"
#include "analyzers/WorkerJob.h"
#include "seismic/SampleConversion.h"
#include "seismic/SeismicData.h"
#include "seismic/TraceGather.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Samples = std::vector<std::vector<double>>;

// The samples of the plotted traces, missing ones as 0, after the display filter and the
// automatic gain control.
Samples plottedSamples(const TraceGather& gather, int plotted, int samples, double interval,
                       const TraceDisplaySettings& settings)
{
    Samples traces(size_t(plotted), std::vector<double>(size_t(samples), 0.0));
    const int window = settings.agcWindowMs > 0 && interval > 0
                           ? std::max(1, int(std::lround(std::min(settings.agcWindowMs / interval, 1e9))))
                           : 0;
    BandPassFilter filter(settings.band, interval, samples);
    for (int i = 0; i < plotted; ++i) {
        const SeismicTrace& trace = *gather.trace(i);
        const int held = trace.hasSamples() ? std::min(trace.sampleCount(), samples) : 0;
        std::copy(trace.data(), trace.data() + held, traces[size_t(i)].begin());
        filter.apply(traces[size_t(i)]);
        if (window > 0)
            TraceAmplitudes::applyAgc(traces[size_t(i)], window);
    }
    return traces;
}

QImage drawWiggles(const TracePlotGeometry& geometry, const Samples& traces,
                   const TraceDisplaySettings& settings)
{
    QImage bits = TraceRaster::makeImage(geometry);
    if (bits.isNull())
        return {};
    const bool fill = settings.mode == TraceDisplayMode::VariableArea;
    TraceDisplaySettings scaling = settings;
    if (!settings.traceNormalization && settings.referenceAmplitude == 0) {
        for (const auto& samples : traces)
            for (double v : samples)
                if (std::isfinite(v))
                    scaling.referenceAmplitude = std::max(scaling.referenceAmplitude, std::abs(v));
    }
    for (size_t i = 0; i < traces.size(); ++i) {
        const auto& samples = traces[i];
        std::vector<qint16> scaled(samples.size(), 0);
        TraceRaster::scaleSamples(samples.data(), int(samples.size()), scaling, scaled.data());
        TraceRaster::drawTrace(bits, geometry, int(i), scaled.data(), int(scaled.size()), fill);
    }
    // The labels are antialiased, which needs grey levels.
    return bits.convertToFormat(QImage::Format_RGB32);
}

QImage drawDensity(const TracePlotGeometry& geometry, const Samples& traces,
                   const TraceDisplaySettings& settings)
{
    QImage image(geometry.imageWidth(), geometry.imageHeight(), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    double globalClip = 0;
    if (!settings.traceNormalization) {
        std::vector<double> all;
        for (const auto& samples : traces)
            all.insert(all.end(), samples.begin(), samples.end());
        globalClip = TraceAmplitudes::absolutePercentile(std::move(all), settings.clipPercentile);
    }
    const double factor = (settings.reversePolarity ? -1.0 : 1.0) * std::pow(10.0, settings.gainDb / 20.0);
    for (size_t i = 0; i < traces.size(); ++i) {
        std::vector<double> samples = traces[i];
        const double clip = settings.traceNormalization
                                ? TraceAmplitudes::absolutePercentile(samples, settings.clipPercentile)
                                : globalClip;
        for (double& v : samples)
            v *= factor;
        TraceDensity::drawTrace(image, geometry, int(i), samples.data(), int(samples.size()), clip,
                                settings.colourMap);
    }
    return image;
}

} // namespace

TracePlot TracePlot::build(const TraceGather& gather, const TraceDisplaySettings& settings)
{
    TracePlot plot;
    plot.settings = settings;
    const SeismicTrace* first = gather.trace(0);
    if (!first)
        return plot;
    const int samples = gather.owner ? gather.owner->samples() : first->sampleCount();
    const double interval = gather.owner ? gather.owner->sampleInterval() : first->sampleInterval;
    plot.samples = samples;
    plot.sampleInterval = interval;
    plot.geometry = TracePlotGeometry::compute(gather.count(), samples, interval, settings);
    if (plot.geometry.isEmpty())
        return plot;

    const int plotted = std::min(settings.lastTrace, gather.count());
    const int primaryKey = TraceAnnotation::keyOf(settings.primaryHeader);
    const int secondaryKey = TraceAnnotation::keyOf(settings.secondaryHeader);
    plot.values.resize(size_t(std::max(plotted, 0)));
    for (int i = 0; i < plotted; ++i) {
        const SeismicTrace& trace = *gather.trace(i);
        plot.annotations.append({SampleConversion::truncateToInteger(trace.value(primaryKey)),
                                 SampleConversion::truncateToInteger(trace.value(secondaryKey))});
        if (trace.hasSamples())
            plot.values[size_t(i)].assign(trace.data(),
                                          trace.data() + std::min(trace.sampleCount(), samples));
    }
    const Samples traces = plottedSamples(gather, std::max(plotted, 0), samples, interval, settings);
    plot.image = settings.mode == TraceDisplayMode::Density ? drawDensity(plot.geometry, traces, settings)
                                                            : drawWiggles(plot.geometry, traces, settings);
    if (plot.image.isNull())
        return plot;
    TraceRaster::drawTimingLines(
        plot.image, plot.geometry,
        TraceRaster::timingLineRows(plot.geometry, samples, interval, settings.timingLineInterval));
    TracePlotAxes::draw(plot, samples, interval);
    return plot;
}

TracePlot TracePlot::read(SeismicData& data, const TraceDisplaySettings& settings)
{
    // An empty gather that the read sizes to the plotted traces: a data set's own gather holds
    // every trace of the file, far more memory than a plot needs.
    TraceGather gather(&data);
    gather.record = 1;
    gather.recordLength = data.recordLength();
    // Traces past the end of the file would plot as dead ones; what a failed read leaves in
    // the gather is the reader's to say, and the plot shows it.
    static_cast<void>(
        data.readTraceRange(gather, settings.firstTrace, std::min(settings.lastTrace, data.traceCount())));
    return build(gather, settings);
}

TracePlot TracePlot::readTraces(SeismicData& data, const QVector<int>& traces,
                                const TraceDisplaySettings& settings, const JobSteps* steps)
{
    TracePlot plot;
    plot.settings = settings;
    // A plot too large to draw is known before its traces are read.
    if (TracePlotGeometry::compute(traces.size(), data.samples(), data.sampleInterval(), settings).isEmpty())
        return plot;
    TraceGather gather(&data);
    gather.record = 1;
    gather.recordLength = data.recordLength();
    // As a range read: a trace that cannot be read ends the reading, the rest plot as dead traces.
    const int count = data.resizeGather(gather, traces.size());
    for (int i = 0; i < count; ++i) {
        if (steps && steps->cancelled())
            return plot;
        if (steps)
            steps->step();
        if (!data.readTraceInRecord(*gather.trace(i), traces[i]))
            break;
    }
    TraceDisplaySettings all = settings;
    all.lastTrace = std::max(count, 1);
    plot = build(gather, all);
    plot.traceNumbers = traces.mid(0, count);
    return plot;
}

QString TracePlot::readout(QPointF point) const
{
    const int i = traceAt(point.x());
    if (i < 0 || geometry.pixelsPerSample <= 0)
        return {};
    const double position = (point.y() - TracePlotGeometry::margin) / geometry.pixelsPerSample;
    const int j = int(std::lround(position));
    if (position < -0.5 || j >= samples)
        return {};
    const std::vector<float>& trace = values[size_t(i)];
    const QString amplitude =
        size_t(j) < trace.size() ? QString::number(double(trace[size_t(j)]), 'g', 6) : QStringLiteral("-");
    // The word the annotation shows, by the rule TraceAnnotation::keyOf keeps.
    const int choice = settings.primaryHeader;
    const char* word = choice >= 0 && choice < int(TraceAnnotation::choices.size())
                           ? TraceAnnotation::choices[size_t(choice)].label
                           : "Field File";
    return QStringLiteral("Trace %1   %2 %3   %4 ms   amplitude %5")
        .arg(traceNumber(i))
        .arg(QLatin1String(word))
        .arg(annotations[i].primary)
        .arg(QString::number(j * sampleInterval, 'f', 1), amplitude);
}

double TracePlot::tracePosition(double x) const
{
    return (x - TracePlotGeometry::margin - geometry.leftPad) / geometry.pixelsPerTrace - geometry.clip;
}

bool TracePlot::areaOf(const QRectF& rect, Area* area) const
{
    const int plotted = annotations.size();
    if (plotted == 0 || geometry.pixelsPerTrace <= 0 || geometry.pixelsPerSample <= 0)
        return false;
    const auto index = [this, plotted](double x) {
        return int(std::clamp<double>(std::lround(tracePosition(x)), 0, plotted - 1));
    };
    const auto time = [this](double y) {
        const double sample = (y - TracePlotGeometry::margin) / geometry.pixelsPerSample;
        return std::clamp(sample, 0.0, double(samples - 1)) * sampleInterval;
    };
    // A gather's traces need not follow each other: the area takes the numbers at its edges.
    area->firstTrace = traceNumber(index(rect.left()));
    area->lastTrace = traceNumber(index(rect.right()));
    if (area->firstTrace > area->lastTrace)
        std::swap(area->firstTrace, area->lastTrace);
    area->startMs = time(rect.top());
    area->endMs = time(rect.bottom());
    return area->endMs > area->startMs;
}

int TracePlot::traceAt(double x) const
{
    if (annotations.isEmpty() || geometry.pixelsPerTrace <= 0)
        return -1;
    const double position = tracePosition(x);
    const int i = int(std::lround(position));
    return std::abs(position - i) <= 0.5 && i >= 0 && i < annotations.size() ? i : -1;
}
