#pragma once

#include "analyzers/TraceDisplaySettings.h"
#include "analyzers/TracePlotGeometry.h"

#include <QImage>
#include <QVector>

class TraceGather;

// A finished trace plot: wiggles with filled positive lobes, timing lines and labels, and the
// header annotation above the traces, black on white in a one-bit image.
class TracePlot {
public:
    struct Annotation {
        qint64 primary = 0;
        qint64 secondary = 0;
    };

    // Plots the gather's traces, up to min(lastTrace, traces held), with the samples and
    // interval of the data set that made the gather. An empty gather or a plot too large
    // to allocate gives a null image.
    static TracePlot build(const TraceGather& gather, const TraceDisplaySettings& settings);

    TraceDisplaySettings settings;
    TracePlotGeometry geometry;
    QImage image;
    QVector<Annotation> annotations; // one per plotted trace

private:
    void drawTimingLabels(int samples, double sampleInterval);
    void drawAnnotation();
};
