#include "analyzers/HistogramPicture.h"

#include "analyzers/AnalysisColours.h"
#include "analyzers/PictureText.h"
#include "analyzers/SampleHistogram.h"

#include <QPainter>
#include <algorithm>
#include <vector>

namespace HistogramPicture {

namespace {

QString countLabel(qint64 count)
{
    return count < 1000000 ? QString::number(count) : QString::number(double(count), 'g', 3);
}

// Where the bars stand: inside the margins, the left one wide enough for the count labels.
QRectF plotArea(const SampleHistogram& histogram, QSize size)
{
    double left = margin;
    for (qint64 count : countTicks(histogram.largestCount))
        left = std::max(left, PictureText::size(countLabel(count)).width() + 12);
    return QRectF(left, margin, size.width() - left - margin, size.height() - 2 * margin);
}

bool hasBars(const SampleHistogram& histogram, const QRectF& area)
{
    return histogram.status == SampleHistogram::Status::Ok && !histogram.bins.empty() && area.width() > 0 &&
           area.height() > 0;
}

// The column of a value, counted from the left margin.
int column(const SampleHistogram& histogram, double value, double plotWidth)
{
    const double a = histogram.halfRange;
    return int((a + value) / (2 * a) * plotWidth);
}

// Bars and labels are placed from the corner of the margins.
QRectF barFromCorner(const SampleHistogram& histogram, double pw, double ph, int i)
{
    const auto& bin = histogram.bins[size_t(i)];
    const double a = histogram.halfRange;
    const double binWidth = 2 * a / double(histogram.bins.size());
    const int barWidth = int(binWidth / (2 * a) * pw);
    const double largest = double(std::max<qint64>(histogram.largestCount, 1));
    const int height = int(double(bin.count) / largest * ph);
    return {double(column(histogram, bin.lower, pw)), ph - height, double(barWidth), double(height)};
}

// Bar i in the picture's coordinates; empty for an empty bin or a picture without bars.
QRectF barIn(const SampleHistogram& histogram, const QRectF& area, int i)
{
    if (!hasBars(histogram, area) || i < 0 || i >= int(histogram.bins.size()) ||
        histogram.bins[size_t(i)].count == 0)
        return {};
    return barFromCorner(histogram, area.width(), area.height(), i).translated(area.topLeft());
}

void drawLabel(QPainter& painter, double value, double centre, double top)
{
    const QString text = QString::number(value, 'g', 6);
    PictureText::draw(painter, text, QPointF(centre - PictureText::size(text).width() / 2, top));
}

void drawLabels(QPainter& painter, const SampleHistogram& histogram, double pw, double ph)
{
    const auto& bins = histogram.bins;
    // The bin count is odd, so the middle bin straddles 0. A single bin carries only its bounds,
    // at its edges, where three labels on its middle would overprint one another.
    if (bins.size() == 1) {
        drawLabel(painter, bins.front().lower, column(histogram, bins.front().lower, pw), ph);
        drawLabel(painter, bins.front().upper, column(histogram, bins.front().upper, pw), ph);
        return;
    }
    auto middle = [&](int bin) {
        return (column(histogram, bins[size_t(bin)].lower, pw) +
                column(histogram, bins[size_t(bin)].upper, pw)) /
               2.0;
    };
    drawLabel(painter, bins.front().lower, middle(0), ph);
    drawLabel(painter, 0.0, middle(int(bins.size()) / 2), ph);
    drawLabel(painter, bins.back().upper, middle(int(bins.size()) - 1), ph);
}

// The count axis along the left edge of the bars: ticks and labels at round counts, and its
// title above it.
void drawCountAxis(QPainter& painter, const SampleHistogram& histogram, double ph)
{
    painter.setPen(QPen(Qt::black));
    painter.drawLine(QLineF(0, 0, 0, ph));
    const double largest = double(std::max<qint64>(histogram.largestCount, 1));
    for (qint64 count : countTicks(histogram.largestCount)) {
        const double y = ph - count / largest * ph;
        painter.drawLine(QLineF(-4, y, 0, y));
        const QString text = countLabel(count);
        const QSizeF box = PictureText::size(text);
        PictureText::draw(painter, text, QPointF(-6 - box.width(), y - box.height() / 2));
    }
    const QString title = QStringLiteral("Count");
    const QSizeF box = PictureText::size(title);
    PictureText::draw(painter, title, QPointF(-box.width() / 2, -box.height() - 6));
}

} // namespace

std::vector<qint64> countTicks(qint64 largest)
{
    std::vector<qint64> ticks;
    if (largest <= 0)
        return ticks;
    // About five steps of 1, 2 or 5 times a power of ten.
    qint64 step = 1;
    for (qint64 decade = 1; step * 5 < largest; decade *= 10) {
        for (qint64 factor : {1, 2, 5}) {
            step = factor * decade;
            if (step * 5 >= largest)
                break;
        }
    }
    for (qint64 count = 0; count <= largest; count += step)
        ticks.push_back(count);
    return ticks;
}

QImage draw(const SampleHistogram& histogram, QSize size)
{
    QImage image = PictureText::blank(size);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    PictureText::smooth(painter);
    const QRectF area = plotArea(histogram, size);
    const double pw = area.width();
    const double ph = area.height();
    painter.translate(area.topLeft());
    if (!hasBars(histogram, area)) {
        const QString text = histogram.problem();
        PictureText::draw(painter, text, QPointF(pw / 2 - PictureText::size(text).width() / 2, ph / 2));
        return image;
    }
    // The labels under the bars first: the bars lie above them.
    drawLabels(painter, histogram, pw, ph);
    drawCountAxis(painter, histogram, ph);
    // A sampled histogram says so above its bars.
    const QString note = histogram.note();
    if (!note.isEmpty())
        PictureText::draw(painter, note, QPointF(pw - PictureText::size(note).width(), -margin / 2.0 - 6));
    painter.setPen(QPen(Qt::black));
    painter.setBrush(analysisColours()[0]);
    for (int i = 0; i < int(histogram.bins.size()); ++i) {
        // An empty bin has no bar, not even an outline.
        if (histogram.bins[size_t(i)].count == 0)
            continue;
        const QRectF bar = barFromCorner(histogram, pw, ph, i);
        painter.save();
        painter.translate(bar.topLeft());
        painter.drawRect(QRectF(QPointF(0, 0), bar.size()));
        painter.restore();
    }
    return image;
}

QRectF barRect(const SampleHistogram& histogram, QSize size, int i)
{
    return barIn(histogram, plotArea(histogram, size), i);
}

int barAt(const SampleHistogram& histogram, QSize size, QPointF point)
{
    // A bar's outline reaches half a pixel beyond it; where neighbours meet, the later bar,
    // drawn over the earlier, takes the point.
    const QRectF area = plotArea(histogram, size);
    for (int i = int(histogram.bins.size()) - 1; i >= 0; --i) {
        const QRectF bar = barIn(histogram, area, i);
        if (!bar.isEmpty() && bar.adjusted(-0.5, -0.5, 0.5, 0.5).contains(point))
            return i;
    }
    return -1;
}

} // namespace HistogramPicture
