#include "sps/SpsSurveyMap.h"

#include "base/RoundNumber.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

const QColor SpsSurveyMap::sourceColour(200, 0, 160);
const QColor SpsSurveyMap::receiverColour(0, 120, 220);
const QColor SpsSurveyMap::problemColour(230, 0, 0);

namespace {

constexpr int margin = 30;

// Squares are written into the pixels: hundreds of thousands of points in milliseconds.
void square(QImage& image, QPointF centre, int side, QRgb colour)
{
    const int left = int(std::floor(centre.x())) - side / 2;
    const int top = int(std::floor(centre.y())) - side / 2;
    for (int y = std::max(0, top); y < std::min(image.height(), top + side); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = std::max(0, left); x < std::min(image.width(), left + side); ++x)
            row[x] = colour;
    }
}

} // namespace

QPointF SpsSurveyMap::View::toPixel(double x, double y, QSize size) const
{
    return {size.width() / 2.0 + (x - centre.x()) / metresPerPixel,
            size.height() / 2.0 - (y - centre.y()) / metresPerPixel};
}

QPointF SpsSurveyMap::View::toWorld(QPointF pixel, QSize size) const
{
    return {centre.x() + (pixel.x() - size.width() / 2.0) * metresPerPixel,
            centre.y() - (pixel.y() - size.height() / 2.0) * metresPerPixel};
}

SpsSurveyMap::SpsSurveyMap(const SpsSurvey& survey, const QVector<SpsFinding>& findings)
    : survey(survey), findings(findings)
{
    double left = INFINITY, right = -INFINITY, bottom = INFINITY, top = -INFINITY;
    for (const auto* points : {&survey.sources, &survey.receivers}) {
        for (const SpsSurvey::Point& point : *points) {
            if (!point.located)
                continue;
            left = std::min(left, point.x);
            right = std::max(right, point.x);
            bottom = std::min(bottom, point.y);
            top = std::max(top, point.y);
        }
    }
    if (left <= right)
        bounds = QRectF(QPointF(left, bottom), QPointF(right, top));
}

SpsSurveyMap::View SpsSurveyMap::fit(QSize size) const
{
    if (isEmpty())
        return {};
    const double width = std::max(1, size.width() - 2 * margin);
    const double height = std::max(1, size.height() - 2 * margin);
    // A single point, or points on one line of constant x or y, still get a scale.
    const double scale = std::max({bounds.width() / width, bounds.height() / height, 1e-3});
    return {bounds.center(), scale};
}

void SpsSurveyMap::drawLines(QImage& image, const View& view, const QVector<SpsSurvey::Point>& points,
                             const QColor& colour) const
{
    QPainter painter(&image);
    painter.setPen(QPen(colour, 0));
    QPolygonF polyline;
    const auto flush = [&] {
        if (polyline.size() > 1)
            painter.drawPolyline(polyline);
        polyline.clear();
    };
    for (int i = 0; i < points.size(); ++i) {
        const SpsSurvey::Point& point = points[i];
        if (i > 0 && points[i - 1].line != point.line)
            flush();
        if (point.located)
            polyline << view.toPixel(point.x, point.y, image.size());
    }
    flush();
}

void SpsSurveyMap::drawScale(QImage& image, const View& view) const
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    const double metres = RoundNumber::atMost(image.width() / 5.0 * view.metresPerPixel);
    const double length = metres / view.metresPerPixel;
    const QPointF start(margin / 2.0, image.height() - margin / 2.0);
    painter.drawLine(start, start + QPointF(length, 0));
    painter.drawLine(start, start - QPointF(0, 5));
    painter.drawLine(start + QPointF(length, 0), start + QPointF(length, -5));
    painter.drawText(QRectF(start.x(), start.y() - 20, length, 14), Qt::AlignCenter,
                     metres >= 1000 ? QStringLiteral("%1 km").arg(metres / 1000)
                                    : QStringLiteral("%1 m").arg(metres));
    const QPointF tip(image.width() - margin, margin / 2.0 + 12);
    painter.setBrush(Qt::black);
    const QPointF arrow[]{tip, tip + QPointF(-6, 18), tip + QPointF(0, 13), tip + QPointF(6, 18)};
    painter.drawPolygon(arrow, 4);
    painter.drawText(QRectF(tip.x() - 10, tip.y() - 16, 20, 14), Qt::AlignCenter, QStringLiteral("N"));
}

QImage SpsSurveyMap::draw(QSize size, const View& view) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    drawLines(image, view, survey.receivers, QColor(190, 190, 190));
    drawLines(image, view, survey.sources, QColor(150, 150, 150));
    for (const auto& [points, side, colour] :
         {std::tuple{&survey.receivers, receiverMarker, receiverColour.rgb()},
          {&survey.sources, sourceMarker, sourceColour.rgb()}}) {
        for (const SpsSurvey::Point& point : *points) {
            if (point.located)
                square(image, view.toPixel(point.x, point.y, size), side, colour);
        }
    }
    {
        QPainter painter(&image);
        painter.setPen(QPen(problemColour, 2));
        for (const SpsFinding& finding : findings) {
            if (finding.located)
                painter.drawEllipse(view.toPixel(finding.x, finding.y, size), 7, 7);
        }
    }
    drawScale(image, view);
    return image;
}

QString SpsSurveyMap::nameAt(QPointF pixel, QSize size, const View& view, double radius) const
{
    const SpsSurvey::Point* nearest = nullptr;
    char letter = 'S';
    double best = radius * radius;
    for (const auto& [points, kind] : {std::pair{&survey.sources, 'S'}, {&survey.receivers, 'R'}}) {
        for (const SpsSurvey::Point& point : *points) {
            if (!point.located)
                continue;
            const QPointF at = view.toPixel(point.x, point.y, size) - pixel;
            const double distance = at.x() * at.x() + at.y() * at.y();
            if (distance <= best) {
                best = distance;
                nearest = &point;
                letter = kind;
            }
        }
    }
    if (!nearest)
        return QString();
    return QStringLiteral("%1 %2 %3 at %4 %5 (line %6)")
        .arg(QLatin1Char(letter))
        .arg(nearest->line)
        .arg(nearest->point)
        .arg(nearest->x, 0, 'f', 1)
        .arg(nearest->y, 0, 'f', 1)
        .arg(nearest->fileLine);
}
