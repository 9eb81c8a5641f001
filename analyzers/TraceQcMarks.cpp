#include "analyzers/TraceQcMarks.h"

#include "analyzers/TracePlot.h"
#include "analyzers/TraceQc.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace TraceQcMarks {

namespace {
// The bar in the margin above the traces, in pixels.
constexpr int barHeight = 6;
// How much of the tint covers the plot: the traces stay readable under it.
constexpr int tintAlpha = 70;
} // namespace

QColor colour(Kind kind)
{
    switch (kind) {
    case Kind::Dead:
        return QColor(40, 90, 220);
    case Kind::Clipped:
        return QColor(240, 140, 0);
    case Kind::Noisy:
        return QColor(220, 0, 40);
    }
    return Qt::black;
}

const char* name(Kind kind)
{
    switch (kind) {
    case Kind::Dead:
        return "dead";
    case Kind::Clipped:
        return "clipped";
    case Kind::Noisy:
        return "noisy";
    }
    return "";
}

QImage marked(const TracePlot& plot, const TraceQc& qc)
{
    QImage image = plot.image;
    const int plotted = plot.annotations.size();
    if (image.isNull() || plotted == 0)
        return image;
    const TracePlotGeometry& geometry = plot.geometry;
    const int half = std::max(1, int(std::ceil(geometry.pixelsPerTrace / 2)));
    const int top = TracePlotGeometry::margin;
    QPainter painter;
    const auto mark = [&](const QVector<int>& traces, Kind kind) {
        for (int number : traces) {
            const int index = plot.indexOf(number);
            if (index < 0)
                continue;
            if (!painter.isActive())
                painter.begin(&image);
            const int centre = geometry.traceCentre(index);
            QColor tint = colour(kind);
            painter.fillRect(centre - half, top - barHeight, 2 * half, barHeight, tint);
            tint.setAlpha(tintAlpha);
            painter.fillRect(centre - half, top, 2 * half, geometry.height, tint);
        }
    };
    mark(qc.dead, Kind::Dead);
    mark(qc.clipped, Kind::Clipped);
    mark(qc.noisy, Kind::Noisy);
    return image;
}

} // namespace TraceQcMarks
