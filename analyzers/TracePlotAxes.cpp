#include "analyzers/TracePlotAxes.h"

#include "analyzers/TracePlot.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr int m = TracePlotGeometry::margin;

void prepare(QPainter& painter)
{
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(QFont(QStringLiteral("Times"), 8));
    painter.setPen(Qt::black);
}

void drawTimingLabels(QPainter& painter, TracePlot& plot, int samples, double sampleInterval)
{
    const int labelInterval = plot.settings.timingLabelInterval;
    if (labelInterval <= 0 || sampleInterval <= 0)
        return;
    const QFontMetrics metrics(painter.font());
    const int one = metrics.horizontalAdvance(QLatin1Char('1'));
    const double recordTime = samples * sampleInterval;
    const double labels = std::min(recordTime / labelInterval + 1, double(plot.geometry.height + 1));
    int previousBottom = -metrics.height();
    for (int k = 0; k < int(labels); ++k) {
        const int centre = int(k * labelInterval / sampleInterval * plot.geometry.height / samples + m);
        const int top = int(centre - metrics.height() / 2.0);
        if (top < previousBottom)
            continue;
        previousBottom = top + metrics.height();
        plot.timingLabelRows.append(centre);
        const QString text = QString::number(qint64(k) * labelInterval);
        painter.drawText(QRect(0, top, m - one, metrics.height()), Qt::AlignRight | Qt::AlignTop, text);
        painter.drawText(QPoint(plot.geometry.width + m + one, top + metrics.ascent()), text);
    }
    // The axis title runs up the left edge, beside the labels.
    const QString title = QStringLiteral("Time (ms)");
    painter.save();
    painter.translate(1, m + plot.geometry.height / 2.0 + metrics.horizontalAdvance(title) / 2.0);
    painter.rotate(-90);
    painter.drawText(QPointF(0, metrics.ascent()), title);
    painter.restore();
}

void drawAnnotation(QPainter& painter, TracePlot& plot)
{
    const auto& annotations = plot.annotations;
    const auto& geometry = plot.geometry;
    const QFontMetrics metrics(painter.font());
    const int gap = metrics.horizontalAdvance(QLatin1Char(' '));
    auto drawCentred = [&](const QString& text, double centre, int baseline) {
        painter.drawText(QPointF(centre - metrics.horizontalAdvance(text) / 2.0, baseline), text);
    };
    const QString primary = QString::number(annotations.first().primary);
    drawCentred(primary, geometry.traceCentre(0), metrics.height());

    // The title names both rows of the annotation, after the primary value and as far right
    // as the plot allows.
    const auto& choices = TraceAnnotation::choices;
    auto label = [&](int index) {
        return QString::fromLatin1(index >= 0 && index < int(choices.size()) ? choices[size_t(index)].label
                                                                             : choices[9].label);
    };
    const QString title =
        label(plot.settings.primaryHeader) + QStringLiteral(" / ") + label(plot.settings.secondaryHeader);
    const double primaryRight = geometry.traceCentre(0) + metrics.horizontalAdvance(primary) / 2.0;
    const double titleLeft =
        std::max(primaryRight + 2 * gap, double(geometry.width + m - metrics.horizontalAdvance(title)));
    painter.drawText(QPointF(titleLeft, metrics.height()), title);

    const int baseline = m - 2;
    const qint64 firstValue = annotations.first().secondary;
    const qint64 lastValue = annotations.last().secondary;
    const int increment = std::max(1, plot.settings.secondaryIncrement);
    const int lastIndex = annotations.size() - 1;
    auto box = [&](int i) {
        const double width = metrics.horizontalAdvance(QString::number(annotations[i].secondary));
        const double centre = (i + geometry.clip) * geometry.pixelsPerTrace + geometry.leftPad + m;
        return std::pair(centre - width / 2, centre + width / 2);
    };
    const double lastLeft = box(lastIndex).first;
    double previousRight = -1e9;
    for (int i = 0; i <= lastIndex; ++i) {
        const qint64 value = annotations[i].secondary;
        if (value != firstValue && value != lastValue && i % increment != 0)
            continue;
        const auto [left, right] = box(i);
        // Clear of the label before it, and of the last trace's label, which is always wanted.
        if (left < previousRight + gap || (i != lastIndex && right + gap > lastLeft))
            continue;
        plot.secondaryLabelled.append(i);
        drawCentred(QString::number(value), (left + right) / 2, baseline);
        previousRight = right;
    }
}

} // namespace

namespace TracePlotAxes {

void draw(TracePlot& plot, int samples, double sampleInterval)
{
    if (plot.image.isNull())
        return;
    QPainter painter(&plot.image);
    prepare(painter);
    drawTimingLabels(painter, plot, samples, sampleInterval);
    if (!plot.annotations.isEmpty())
        drawAnnotation(painter, plot);
}

} // namespace TracePlotAxes
