#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>

class SampleHistogram;

// The picture of a sample histogram: one red bar per bin standing on the bottom margin of
// 48 pixels, the outer bounds and 0 written under the bars. A histogram that could not be
// computed shows why instead.
namespace HistogramPicture {

constexpr int margin = 48;

QImage draw(const SampleHistogram& histogram, QSize size);

// The bar of bin i in a picture of that size; empty when the picture has no bars.
QRectF barRect(const SampleHistogram& histogram, QSize size, int i);
// The bin whose bar holds the point of a picture of that size, or -1.
int barAt(const SampleHistogram& histogram, QSize size, QPointF point);

} // namespace HistogramPicture
