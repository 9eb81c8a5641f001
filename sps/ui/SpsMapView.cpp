#include "sps/ui/SpsMapView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace {

// Pixels a press may move and still be a click; pixels from a point that still name it.
constexpr int clickSlack = 3;
constexpr double pickRadius = 8;

} // namespace

SpsMapView::SpsMapView(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(200, 150);
    setCursor(Qt::CrossCursor);
}

SpsMapView::~SpsMapView() = default;

void SpsMapView::setSurvey(const SpsSurvey* survey, const QVector<SpsFinding>* findings)
{
    map = survey && findings ? std::make_unique<SpsSurveyMap>(*survey, *findings) : nullptr;
    if (map && map->isEmpty())
        map.reset();
    fitted = false;
    update();
}

void SpsMapView::resizeEvent(QResizeEvent*)
{
    fitted = false;
}

void SpsMapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!map) {
        painter.fillRect(rect(), Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("No located points to show"));
        return;
    }
    if (!fitted) {
        view_ = map->fit(size());
        fitted = true;
    }
    painter.drawImage(0, 0, map->draw(size(), view_));
}

void SpsMapView::wheelEvent(QWheelEvent* event)
{
    if (!map)
        return;
    const QPointF at = event->position();
    const QPointF world = view_.toWorld(at, size());
    view_.metresPerPixel *= std::pow(0.8, event->angleDelta().y() / 120.0);
    // The world point under the pointer stays under it.
    const QPointF moved = view_.toWorld(at, size());
    view_.centre += world - moved;
    update();
}

void SpsMapView::mousePressEvent(QMouseEvent* event)
{
    pressedAt = lastAt = event->pos();
    dragged = false;
}

void SpsMapView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton) || !map)
        return;
    dragged = dragged || (event->pos() - pressedAt).manhattanLength() > clickSlack;
    if (!dragged)
        return;
    const QPoint step = event->pos() - lastAt;
    view_.centre += QPointF(-step.x() * view_.metresPerPixel, step.y() * view_.metresPerPixel);
    lastAt = event->pos();
    update();
}

void SpsMapView::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragged || !map)
        return;
    const QString name = map->nameAt(event->pos(), size(), view_, pickRadius);
    emit pointNamed(name.isEmpty() ? QStringLiteral("No point here") : name);
}
