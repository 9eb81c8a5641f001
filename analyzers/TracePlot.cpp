#include "analyzers/TracePlot.h"

#include "analyzers/TraceRaster.h"
#include "seismic/SampleConversion.h"
#include "seismic/SeismicData.h"
#include "seismic/TraceGather.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

QFont labelFont()
{
    QFont font(QStringLiteral("Times"), 8);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void preparePainter(QPainter& painter)
{
    painter.setFont(labelFont());
    painter.setPen(Qt::black);
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
    plot.geometry = TracePlotGeometry::compute(gather.count(), samples, interval, settings);
    plot.image = TraceRaster::makeImage(plot.geometry);
    if (plot.image.isNull())
        return plot;

    std::vector<qint16> scaled(size_t(samples), 0);
    const int plotted = std::min(settings.lastTrace, gather.count());
    const int primaryKey = TraceAnnotation::keyOf(settings.primaryHeader);
    const int secondaryKey = TraceAnnotation::keyOf(settings.secondaryHeader);
    for (int i = 0; i < plotted; ++i) {
        const SeismicTrace& trace = *gather.trace(i);
        plot.annotations.append({SampleConversion::truncateToInteger(trace.value(primaryKey)),
                                 SampleConversion::truncateToInteger(trace.value(secondaryKey))});
        const int held = trace.hasSamples() ? std::min(trace.sampleCount(), samples) : 0;
        std::fill(scaled.begin(), scaled.end(), qint16(0));
        TraceRaster::scaleSamples(trace.data(), held, settings, scaled.data());
        TraceRaster::drawTrace(plot.image, plot.geometry, i, scaled.data(), samples);
    }
    TraceRaster::drawTimingLines(plot.image, plot.geometry, samples, interval, settings.timingLineInterval);
    plot.drawTimingLabels(samples, interval);
    plot.drawAnnotation();
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

QImage TracePlot::picture() const
{
    return image.isNull() ? QImage() : image.convertToFormat(QImage::Format_Grayscale8);
}

void TracePlot::drawTimingLabels(int samples, double sampleInterval)
{
    const int labelInterval = settings.timingLabelInterval;
    if (labelInterval <= 0 || sampleInterval <= 0)
        return;
    QPainter painter(&image);
    preparePainter(painter);
    const QFontMetrics metrics(painter.font());
    const int m = TracePlotGeometry::margin;
    const int one = metrics.horizontalAdvance(QLatin1Char('1'));
    const double recordTime = samples * sampleInterval;
    // Labels closer than a text line apart would overprint one another.
    const double labels = std::min(recordTime / labelInterval + 1, double(geometry.height + 1));
    for (int k = 0; k < int(labels); ++k) {
        const QString text = QString::number(qint64(k) * labelInterval);
        const int top =
            int(k * labelInterval / sampleInterval * geometry.height / samples + m - metrics.height() / 2.0);
        painter.drawText(QRect(0, top, m - one, metrics.height()), Qt::AlignRight | Qt::AlignTop, text);
        painter.drawText(QPoint(geometry.width + m + one, top + metrics.ascent()), text);
    }
}

void TracePlot::drawAnnotation()
{
    if (annotations.isEmpty())
        return;
    QPainter painter(&image);
    preparePainter(painter);
    const QFontMetrics metrics(painter.font());
    auto drawCentred = [&](const QString& text, double centre, int baseline) {
        painter.drawText(QPointF(centre - metrics.horizontalAdvance(text) / 2.0, baseline), text);
    };
    drawCentred(QString::number(annotations.first().primary), geometry.traceCentre(0), metrics.height());

    const int m = TracePlotGeometry::margin;
    const int secondaryBaseline = m - 2;
    const qint64 firstValue = annotations.first().secondary;
    const qint64 lastValue = annotations.last().secondary;
    const int lastWidth = metrics.horizontalAdvance(QString::number(lastValue));
    // The right limit is measured without the left pad.
    const double rightLimit =
        (annotations.size() - 1 + geometry.clip) * geometry.pixelsPerTrace + m - lastWidth;
    const int increment = std::max(1, settings.secondaryIncrement);
    double previousCentre = geometry.clip * geometry.pixelsPerTrace + geometry.leftPad + m;
    for (int i = 0; i < annotations.size(); ++i) {
        const qint64 value = annotations[i].secondary;
        const QString text = QString::number(value);
        const double centre = (i + geometry.clip) * geometry.pixelsPerTrace + geometry.leftPad + m;
        if (value == firstValue || value == lastValue) {
            drawCentred(text, centre, secondaryBaseline);
        } else if (i % increment == 0) {
            if (previousCentre < centre - metrics.horizontalAdvance(text) && centre < rightLimit)
                drawCentred(text, centre, secondaryBaseline);
            previousCentre = centre;
        }
    }
}
