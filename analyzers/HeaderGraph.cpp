#include "analyzers/HeaderGraph.h"

#include "analyzers/PictureText.h"
#include "base/RoundNumber.h"
#include "seismic/SeismicData.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceKey.h"

#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <algorithm>
#include <cmath>

int HeaderGraph::keyNamed(const QString& name)
{
    for (int key = 1; key < TraceKey::count; ++key) {
        if (TraceKey::isStored(key) &&
            name.compare(QLatin1String(TraceKey::info(key).name), Qt::CaseInsensitive) == 0)
            return key;
    }
    return -1;
}

QStringList HeaderGraph::keyNames()
{
    QStringList names;
    for (int key = 1; key < TraceKey::count; ++key) {
        if (TraceKey::isStored(key))
            names.append(QLatin1String(TraceKey::info(key).name));
    }
    return names;
}

HeaderGraph HeaderGraph::read(SeismicData& data, int key, int first, int last)
{
    HeaderGraph graph;
    graph.key = key;
    graph.firstTrace = std::max(first, 1);
    last = std::min(last, data.traceCount());
    const auto trace = data.makeTrace();
    for (int n = graph.firstTrace; trace && n <= last; ++n) {
        if (data.readTraceInRecord(*trace, n)) {
            graph.values.push_back(trace->value(key));
        } else {
            // A gap in the line, not a drop to 0.
            graph.values.push_back(std::nan(""));
            ++graph.unread;
        }
    }
    return graph;
}

namespace HeaderGraphPicture {

std::vector<double> ticks(double low, double high)
{
    std::vector<double> values;
    if (!std::isfinite(low) || !std::isfinite(high) || high < low)
        return values;
    if (high == low)
        return {low};
    const double step = RoundNumber::atLeast((high - low) / 5);
    // Counted in whole steps, so that no error of addition creeps in.
    const double lowest = std::ceil(low / step - 1e-9);
    for (double k = lowest; k * step <= high + step * 1e-9; ++k)
        values.push_back(k == 0 ? 0.0 : k * step);
    return values;
}

namespace {

QString label(double value)
{
    return QString::number(value, 'g', 8);
}

} // namespace

QImage draw(const HeaderGraph& graph, QSize size)
{
    QImage image = PictureText::blank(size);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    PictureText::smooth(painter);
    const QString name =
        TraceKey::isValid(graph.key) ? QLatin1String(TraceKey::info(graph.key).name) : QString();
    double low = INFINITY;
    double high = -INFINITY;
    for (double v : graph.values) {
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    if (!(low <= high)) {
        const QString text = QStringLiteral("No graph: no trace of %1 could be read").arg(name);
        PictureText::draw(painter, text,
                          QPointF((size.width() - PictureText::size(text).width()) / 2, size.height() / 2.0));
        return image;
    }
    // A flat line stands in the middle of a band one unit high.
    const double bottom = high > low ? low : low - 0.5;
    const double top = high > low ? high : high + 0.5;
    const std::vector<double> valueTicks = ticks(bottom, top);
    double left = margin;
    for (double v : valueTicks)
        left = std::max(left, PictureText::size(label(v)).width() + 12);
    const QRectF area(left, margin, size.width() - left - margin, size.height() - 2 * margin);
    if (area.width() < 2 || area.height() < 2)
        return image;
    const int count = int(graph.values.size());
    const int lastTrace = graph.firstTrace + count - 1;
    auto x = [&](double trace) {
        return count > 1 ? area.left() + (trace - graph.firstTrace) / (count - 1) * area.width()
                         : area.center().x();
    };
    auto y = [&](double value) { return area.bottom() - (value - bottom) / (top - bottom) * area.height(); };

    painter.setPen(QPen(Qt::black));
    painter.drawRect(area);
    for (double v : valueTicks) {
        painter.drawLine(QLineF(area.left() - 4, y(v), area.left(), y(v)));
        const QSizeF box = PictureText::size(label(v));
        PictureText::draw(painter, label(v), QPointF(area.left() - 6 - box.width(), y(v) - box.height() / 2));
    }
    for (double t : ticks(graph.firstTrace, lastTrace)) {
        painter.drawLine(QLineF(x(t), area.bottom(), x(t), area.bottom() + 4));
        const QSizeF box = PictureText::size(label(t));
        PictureText::draw(painter, label(t), QPointF(x(t) - box.width() / 2, area.bottom() + 6));
    }
    const QString across = QStringLiteral("Trace");
    PictureText::draw(painter, across,
                      QPointF(area.center().x() - PictureText::size(across).width() / 2, size.height() - 22));
    PictureText::draw(painter, name, QPointF(area.left(), margin / 2.0 - 8));

    QPainterPath line;
    bool drawing = false;
    for (int i = 0; i < count; ++i) {
        const double v = graph.values[size_t(i)];
        if (!std::isfinite(v)) {
            drawing = false;
            continue;
        }
        const QPointF point(x(graph.firstTrace + i), y(v));
        if (drawing)
            line.lineTo(point);
        else
            line.moveTo(point);
        drawing = true;
    }
    painter.setPen(QPen(QColor(0, 0, 200), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);
    // Few traces: each shows as a dot, so that a single one is seen at all.
    if (count <= area.width() / 4) {
        painter.setBrush(QColor(0, 0, 200));
        for (int i = 0; i < count; ++i) {
            const double v = graph.values[size_t(i)];
            if (std::isfinite(v))
                painter.drawEllipse(QPointF(x(graph.firstTrace + i), y(v)), 2.5, 2.5);
        }
    }
    return image;
}

} // namespace HeaderGraphPicture
