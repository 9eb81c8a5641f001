#include "analyzers/TracePlotGeometry.h"

#include "analyzers/TraceDisplaySettings.h"

#include <cmath>

namespace {

// A plot larger than this in either direction is not drawn; it could not be shown, and the
// truncation to int must stay defined.
constexpr double maxPlotSide = 1 << 20;
// Four bytes per pixel once the labels are drawn: beyond this many pixels (600 MB) the plot is
// not drawn.
constexpr double maxPlotPixels = 150000000.0;

int truncated(double value)
{
    return std::isfinite(value) && value > 0 && value < maxPlotSide ? int(value) : 0;
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
    g.height =
        truncated((samples - 1) * sampleInterval / 1000.0 * settings.verticalScale * settings.dotsPerInchY);
    g.pixelsPerSample = double(g.height) / samples;
    g.unroundedWidth = truncated((traces - 1 + 2.0 * settings.clip) * g.pixelsPerTrace);
    const int remainder = g.unroundedWidth % 32;
    g.width = remainder ? g.unroundedWidth + 32 - remainder : g.unroundedWidth;
    g.leftPad = remainder ? (32 - remainder) / 2 : 0;
    if (g.height == 0 || g.width == 0 || double(g.imageWidth()) * g.imageHeight() > maxPlotPixels) {
        TracePlotGeometry empty;
        empty.clip = g.clip;
        return empty;
    }
    return g;
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
