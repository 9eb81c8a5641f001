#pragma once

class TracePlot;

// The writing on a trace plot, antialiased in its margins: timing labels on both sides of the
// plot, the primary value over the first trace and the secondary values over the traces, the
// time axis title and the title of the annotation. A label that would overprint the one
// before it is left out.
namespace TracePlotAxes {

void draw(TracePlot& plot, int samples, double sampleInterval);

} // namespace TracePlotAxes
