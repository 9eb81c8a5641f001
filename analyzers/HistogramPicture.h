#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QtGlobal>
#include <vector>

class SampleHistogram;

// The picture of a sample histogram: one red bar per bin standing on the bottom margin of
// 48 pixels, as tall as its share of the largest count (an empty bin has none), a count axis
// on the left with a margin as wide as its labels, the outer bounds and 0 written under the bars. A histogram
// that could not be computed shows why instead.
namespace HistogramPicture {

constexpr int margin = 48;

QImage draw(const SampleHistogram& histogram, QSize size);

// The counts labelled on the count axis: 0 and round steps up to the largest count.
std::vector<qint64> countTicks(qint64 largest);

// The bar of bin i in a picture of that size; empty when the picture has no bars or the bin
// is empty.
QRectF barRect(const SampleHistogram& histogram, QSize size, int i);
// The bin whose bar holds the point of a picture of that size, or -1.
int barAt(const SampleHistogram& histogram, QSize size, QPointF point);

} // namespace HistogramPicture
