#pragma once

#include <QImage>
#include <QtGlobal>
#include <vector>

struct TraceDisplaySettings;
struct TracePlotGeometry;

// The one-bit drawing of a trace plot: samples scaled to 16-bit integers, wiggles joined
// with Bresenham lines and positive lobes filled. A set bit is a drawn pixel; drawn pixels
// show black on white.
namespace TraceRaster {

// A cleared image of the geometry's size, least significant bit first; null when the
// geometry is empty or memory ran out.
QImage makeImage(const TracePlotGeometry& geometry);

// Scales count samples into out: polarity, gain and 32768 over the divisor (the reference
// amplitude, or the trace's largest absolute sample when normalizing), limited to the 16-bit
// range and truncated toward zero. A zero divisor gives a dead trace.
void scaleSamples(const double* samples, int count, const TraceDisplaySettings& settings, qint16* out);

// Draws trace i of count scaled samples: a line through the samples and, with fill, every
// run from the zero line to a pixel right of it.
void drawTrace(QImage& image, const TracePlotGeometry& geometry, int i, const qint16* scaled, int count,
               bool fill);

// The rows of the timing lines every intervalMs, for samples samples of sampleInterval; every
// plot row when the lines would lie closer than a row apart.
std::vector<int> timingLineRows(const TracePlotGeometry& geometry, int samples, double sampleInterval,
                                int intervalMs);

// Black horizontal lines across the plot of an RGB32 image on those rows.
void drawTimingLines(QImage& image, const TracePlotGeometry& geometry, const std::vector<int>& rows);

} // namespace TraceRaster
