#pragma once

#include "analyzers/TraceDisplaySettings.h"

#include <QImage>
#include <QRgb>

struct TracePlotGeometry;

// The variable density display: each trace fills the column band of its trace spacing, each
// row coloured by the amplitude of the nearest sample.
namespace TraceDensity {

// The colour of an amplitude relative to the clip level: -1 and below is one end of the
// map, 0 its middle, +1 and above the other end.
QRgb colourOf(double relative, DensityColourMap map);

// Draws trace i: samples count values (gain and polarity applied) over clipLevel; a clip
// level of 0 (a dead trace) paints the middle colour.
void drawTrace(QImage& image, const TracePlotGeometry& geometry, int i, const double* samples, int count,
               double clipLevel, DensityColourMap map);

} // namespace TraceDensity
