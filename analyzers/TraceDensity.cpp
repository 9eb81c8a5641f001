#include "analyzers/TraceDensity.h"

#include "analyzers/TracePlotGeometry.h"

#include <algorithm>
#include <cmath>

namespace TraceDensity {

QRgb colourOf(double relative, DensityColourMap map)
{
    const double t = std::isnan(relative) ? 0.0 : std::clamp(relative, -1.0, 1.0);
    if (map == DensityColourMap::Grey) {
        const int level = int(std::lround(127.5 * (1.0 - t)));
        return qRgb(level, level, level);
    }
    const int fade = int(std::lround(255.0 * (1.0 - std::abs(t))));
    return t >= 0 ? qRgb(255, fade, fade) : qRgb(fade, fade, 255);
}

void drawTrace(QImage& image, const TracePlotGeometry& geometry, int i, const double* samples, int count,
               double clipLevel, DensityColourMap map)
{
    if (image.isNull() || image.format() != QImage::Format_RGB32 || count <= 0)
        return;
    const int m = TracePlotGeometry::margin;
    const int left =
        std::max(0, m + geometry.leftPad + int((i + geometry.clip - 0.5) * geometry.pixelsPerTrace));
    const int right = std::min(image.width(), m + geometry.leftPad +
                                                  int((i + geometry.clip + 0.5) * geometry.pixelsPerTrace));
    const int bottom = std::min(image.height(), m + geometry.height + 1);
    const double scale = clipLevel > 0 && std::isfinite(clipLevel) ? 1.0 / clipLevel : 0.0;
    for (int y = m; y < bottom; ++y) {
        const int j = std::min(count - 1, int(std::lround((y - m) / geometry.pixelsPerSample)));
        const QRgb colour = colourOf(samples[j] * scale, map);
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(row + left, row + std::max(left, right), colour);
    }
}

} // namespace TraceDensity
