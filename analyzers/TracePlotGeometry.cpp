#include "analyzers/TracePlotGeometry.h"

#include "analyzers/TraceDisplaySettings.h"

#include <cmath>

namespace {

int truncated(double value)
{
    return std::isfinite(value) && value > 0 && value < TracePlotGeometry::largestSide ? int(value) : 0;
}

} // namespace

TracePlotGeometry TracePlotGeometry::compute(int traces, int samples, double sampleInterval,
                                             const TraceDisplaySettings& settings)
{
    TracePlotGeometry g;
    g.clip = settings.clip;
    if (traces <= 0 || samples <= 0 || settings.horizontalScale <= 0)
        return g;
    g.pixelsPerTrace = settings.dotsPerInchX / settings.horizontalScale;
    g.height = truncated(plotHeight(samples, sampleInterval, settings));
    g.pixelsPerSample = double(g.height) / samples;
    g.unroundedWidth = truncated(plotWidth(traces, settings));
    const int remainder = g.unroundedWidth % 32;
    g.width = remainder ? g.unroundedWidth + 32 - remainder : g.unroundedWidth;
    g.leftPad = remainder ? (32 - remainder) / 2 : 0;
    if (g.height == 0 || g.width == 0 || double(g.imageWidth()) * g.imageHeight() > largestPixels) {
        TracePlotGeometry empty;
        empty.clip = g.clip;
        return empty;
    }
    return g;
}

std::pair<double, double> TracePlotGeometry::fittingScales(int traces, int samples, double sampleInterval,
                                                           const TraceDisplaySettings& settings, int width,
                                                           int height)
{
    // The plot's width is rounded up to a multiple of 32 columns: room is left for that.
    const double columns = width - 2.0 * margin - 31;
    const double rows = height - 2.0 * margin;
    const double seconds = (samples - 1) * sampleInterval / 1000.0;
    if (traces < 1 || !(columns > 0) || !(rows > 0) || !(seconds > 0))
        return {0, 0};
    return {(traces - 1 + 2.0 * settings.clip) * settings.dotsPerInchX / columns,
            rows / (seconds * settings.dotsPerInchY)};
}

double TracePlotGeometry::plotWidth(int traces, const TraceDisplaySettings& settings)
{
    return (traces - 1 + 2.0 * settings.clip) * settings.dotsPerInchX / settings.horizontalScale;
}

double TracePlotGeometry::plotHeight(int samples, double sampleInterval, const TraceDisplaySettings& settings)
{
    return (samples - 1) * sampleInterval / 1000.0 * settings.verticalScale * settings.dotsPerInchY;
}

int TracePlotGeometry::traceCentre(int i) const
{
    return margin + leftPad + int((i + clip) * pixelsPerTrace);
}

int TracePlotGeometry::sampleRow(int j) const
{
    return margin + int(j * pixelsPerSample);
}

int TracePlotGeometry::maxSwing() const
{
    return int(pixelsPerTrace * clip);
}
