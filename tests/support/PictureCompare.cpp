#include "tests/support/PictureCompare.h"

#include <algorithm>
#include <cstdlib>

namespace obrtest {

namespace {

// Blending an edge differently moves a channel by far less than this.
constexpr int levelTolerance = 48;
// At most one pixel in this many may differ more.
constexpr qint64 pixelsPerOutlier = 500;

int channelDifference(QRgb a, QRgb b)
{
    return std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

} // namespace

QString pictureDifference(const QImage& actual, const QImage& expected)
{
    if (actual.isNull() || expected.isNull())
        return QStringLiteral("a picture is missing");
    if (actual.size() != expected.size())
        return QStringLiteral("%1 x %2 pixels, expected %3 x %4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage b = expected.convertToFormat(QImage::Format_RGB32);
    qint64 outliers = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (channelDifference(a.pixel(x, y), b.pixel(x, y)) <= levelTolerance)
                continue;
            if (outliers++ == 0)
                first = QPoint(x, y);
        }
    }
    const qint64 allowed = qint64(a.width()) * a.height() / pixelsPerOutlier;
    if (outliers <= allowed)
        return {};
    return QStringLiteral("%1 pixels differ (at most %2 may), the first at %3,%4")
        .arg(outliers)
        .arg(allowed)
        .arg(first.x())
        .arg(first.y());
}

} // namespace obrtest
