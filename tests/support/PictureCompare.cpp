#include "tests/support/PictureCompare.h"

#include <algorithm>
#include <cstdlib>

namespace obrtest {

QString pictureDifference(const QImage& actual, const QImage& expected)
{
    // Blending an edge differently moves a channel by far less than this; at most one pixel in 500
    // may differ more.
    constexpr int levelTolerance = 48;
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
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            outliers += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                  std::abs(qBlue(p) - qBlue(q))}) > levelTolerance;
        }
    }
    const qint64 allowed = qint64(a.width()) * a.height() / 500;
    if (outliers <= allowed)
        return {};
    return QStringLiteral("%1 pixels differ, at most %2 may").arg(outliers).arg(allowed);
}

} // namespace obrtest
