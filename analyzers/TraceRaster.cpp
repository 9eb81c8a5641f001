#include "analyzers/TraceRaster.h"

#include "analyzers/TraceDisplaySettings.h"
#include "analyzers/TracePlotGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

class BitCanvas {
public:
    explicit BitCanvas(QImage& image)
        : bits(image.bits()), stride(image.bytesPerLine()), columns(image.width()), rows(image.height())
    {}

    void set(int x, int y)
    {
        if (x >= 0 && x < columns && y >= 0 && y < rows)
            bits[qint64(y) * stride + (x >> 3)] |= uchar(1u << (x & 7));
    }

    // Every pixel from x0 to x1 on row y, inclusive.
    void run(int x0, int x1, int y)
    {
        if (y < 0 || y >= rows)
            return;
        for (int x = std::max(x0, 0), end = std::min(x1, columns - 1); x <= end; ++x)
            bits[qint64(y) * stride + (x >> 3)] |= uchar(1u << (x & 7));
    }

private:
    uchar* bits;
    qint64 stride;
    int columns;
    int rows;
};

} // namespace

namespace TraceRaster {

QImage makeImage(const TracePlotGeometry& geometry)
{
    if (geometry.isEmpty())
        return {};
    QImage image(geometry.imageWidth(), geometry.imageHeight(), QImage::Format_MonoLSB);
    if (image.isNull())
        return {};
    // Set bits are black, as in a bitmap: a one-bit pixmap of the image draws the same.
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    image.fill(0);
    return image;
}

void scaleSamples(const double* samples, int count, const TraceDisplaySettings& settings, qint16* out)
{
    double divisor = settings.referenceAmplitude;
    if (settings.traceNormalization) {
        divisor = 0;
        for (int j = 0; j < count; ++j)
            if (std::isfinite(samples[j]))
                divisor = std::max(divisor, std::abs(samples[j]));
    }
    const double polarity = settings.reversePolarity ? -1.0 : 1.0;
    const double factor = polarity * std::pow(10.0, settings.gainDb / 20.0) * 32768.0 / divisor;
    for (int j = 0; j < count; ++j) {
        const double value = factor * samples[j];
        out[j] = std::isfinite(divisor) && divisor != 0 && !std::isnan(value)
                     ? qint16(std::clamp(value, -32768.0, 32767.0))
                     : qint16(0);
    }
}

void drawTrace(QImage& image, const TracePlotGeometry& geometry, int i, const qint16* scaled, int count,
               bool fill)
{
    if (image.isNull())
        return;
    BitCanvas canvas(image);
    const int centre = geometry.traceCentre(i);
    const int swing = geometry.maxSwing();
    const double columnsPerUnit = geometry.pixelsPerTrace * 2.0 * geometry.clip / 65536.0;
    auto plot = [&](int x, int y) {
        canvas.set(x, y);
        if (fill && x > centre)
            canvas.run(centre, x, y);
    };
    int x0 = 0;
    int y0 = 0;
    for (int j = 0; j < count; ++j) {
        const int x1 = std::clamp(centre + int(scaled[j] * columnsPerUnit), centre - swing, centre + swing);
        const int y1 = geometry.sampleRow(j);
        if (j == 0) {
            x0 = x1;
            y0 = y1;
        }
        // Bresenham from the previous point, for steep and flat lines alike.
        const int dx = std::abs(x1 - x0);
        const int dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1;
        const int sy = y0 < y1 ? 1 : -1;
        int error = dx + dy;
        int x = x0;
        int y = y0;
        for (;;) {
            plot(x, y);
            if (x == x1 && y == y1)
                break;
            const int twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                x += sx;
            }
            if (twice <= dx) {
                error += dx;
                y += sy;
            }
        }
        x0 = x1;
        y0 = y1;
    }
}

std::vector<int> timingLineRows(const TracePlotGeometry& geometry, int samples, double sampleInterval,
                                int intervalMs)
{
    std::vector<int> rows;
    if (geometry.isEmpty() || intervalMs <= 0)
        return rows;
    const double q = samples * sampleInterval / intervalMs;
    if (!(q > 0) || !std::isfinite(q))
        return rows;
    const int m = TracePlotGeometry::margin;
    if (q >= geometry.height) {
        // Lines closer than a row apart cover every row; drawing each would take forever.
        for (int row = m; row <= geometry.height + m; ++row)
            rows.push_back(row);
        return rows;
    }
    for (int k = 0; k <= int(q); ++k)
        rows.push_back(int(k * geometry.height / q + m));
    return rows;
}

void drawTimingLines(QImage& image, const TracePlotGeometry& geometry, const std::vector<int>& rows)
{
    if (image.isNull() || image.format() != QImage::Format_RGB32)
        return;
    const int m = TracePlotGeometry::margin;
    const int last = std::min(geometry.width + m, image.width() - 1);
    for (int row : rows) {
        if (row < 0 || row >= image.height())
            continue;
        auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(row));
        std::fill(pixels + m, pixels + last + 1, qRgb(0, 0, 0));
    }
}

} // namespace TraceRaster
