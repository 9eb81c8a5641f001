#pragma once

#include "analyzers/TraceDisplaySettings.h"
#include "analyzers/TracePlotGeometry.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>
#include <vector>

class SeismicData;
class TraceGather;
struct JobSteps;

// A finished trace plot: wiggles (with filled positive lobes in variable area) or a variable
// density display, timing lines and labels, the axis titles and the header annotation above
// the traces, in an RGB32 image.
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
    // Reads the traces firstTrace to lastTrace of the data set, no further than its last
    // trace, and plots them.
    static TracePlot read(SeismicData& data, const TraceDisplaySettings& settings);
    // Reads the traces numbered in `traces` (1-based, in the data set's first record, in this
    // order) and plots them, whatever the settings' trace range; each trace read is a step. A
    // cancelled read gives a null image.
    static TracePlot readTraces(SeismicData& data, const QVector<int>& traces,
                                const TraceDisplaySettings& settings, const JobSteps* steps = nullptr);

    // The plot for saving; null when nothing was plotted.
    QImage picture() const { return image; }
    // The number in the data set of plotted trace i (0-based).
    int traceNumber(int i) const
    {
        return i < traceNumbers.size() ? traceNumbers[i] : settings.firstTrace + i;
    }
    // The plotted index of trace `number` of the data set, or -1 when it is not plotted.
    int indexOf(int number) const
    {
        return traceNumbers.isEmpty()
                   ? (number - settings.firstTrace < annotations.size() && number >= settings.firstTrace
                          ? number - settings.firstTrace
                          : -1)
                   : traceNumbers.indexOf(number);
    }
    // The plotted trace (0-based) whose band holds column x of the image, or -1.
    int traceAt(double x) const;
    // The traces (numbered in the data set) and times (ms from the trace start) a rectangle of
    // the image covers, kept within the plotted ones; false when it covers no trace or no time.
    struct Area {
        int firstTrace = 0;
        int lastTrace = 0;
        double startMs = 0;
        double endMs = 0;
    };
    bool areaOf(const QRectF& rect, Area* area) const;
    // What the plot shows at point (x, y) of the image: "Trace 12  Field File 1021  124.0 ms
    // amplitude 0.532" (the trace counted in the data set, its primary annotation word, the time
    // and the sample as read); empty off the traces.
    QString readout(QPointF point) const;

    TraceDisplaySettings settings;
    TracePlotGeometry geometry;
    int samples = 0;                        // per trace, as plotted
    std::vector<std::vector<float>> values; // the samples of each plotted trace, as read
    double sampleInterval = 0;              // milliseconds
    QImage image;
    QVector<Annotation> annotations; // one per plotted trace
    QVector<int> timingLabelRows;    // the rows the timing labels are centred on
    QVector<int> secondaryLabelled;  // the plotted traces whose secondary value is written
    QVector<int> traceNumbers;       // of traces read by number; empty: firstTrace on

private:
    // Column x as a plotted trace index, in fractions of the trace spacing.
    double tracePosition(double x) const;
};
