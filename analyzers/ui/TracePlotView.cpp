#include "analyzers/ui/TracePlotView.h"

#include "analyzers/TraceQcMarks.h"
#include "analyzers/ui/ImageExport.h"

#include <QContextMenuEvent>
#include <QGraphicsPixmapItem>
#include <QMenu>
#include <QRubberBand>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr double smallestZoom = 0.05;
constexpr double largestZoom = 32.0;
// A press and release closer than this (in screen pixels) is a click, not a drag.
constexpr int clickTolerance = 3;

} // namespace

TracePlotView::TracePlotView(QWidget* parent) : QGraphicsView(parent), scene_(new QGraphicsScene(this))
{
    setScene(scene_);
    setBackgroundBrush(Qt::white);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The pinned scales are drawn over the scrolled plot: a scroll must repaint them.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    setCacheMode(QGraphicsView::CacheNone);
    // The readout follows the pointer without a button held.
    viewport()->setMouseTracking(true);
}

TracePlotView::~TracePlotView()
{
    scene_->clear();
}

void TracePlotView::setPlot(TracePlot plot)
{
    plot_ = std::move(plot);
    showPicture();
}

void TracePlotView::showPicture()
{
    delete pixmapItem;
    pixmapItem = nullptr;
    if (plot_.image.isNull()) {
        scene_->setSceneRect(QRectF());
        return;
    }
    pixmapItem = scene_->addPixmap(QPixmap::fromImage(picture()));
    pixmapItem->setTransformationMode(Qt::SmoothTransformation);
    scene_->setSceneRect(pixmapItem->boundingRect());
}

QImage TracePlotView::picture() const
{
    return TraceQcMarks::marked(plot_, qc_);
}

void TracePlotView::setQc(const TraceQc& qc)
{
    qc_ = qc;
    showPicture();
}

void TracePlotView::showTrace(int number)
{
    const int index = plot_.indexOf(number);
    if (plot_.image.isNull() || index < 0)
        return;
    centerOn(plot_.geometry.traceCentre(index), mapToScene(viewport()->rect().center()).y());
}

double TracePlotView::zoom() const
{
    return transform().m11();
}

void TracePlotView::setZoom(double factor)
{
    const double bounded = std::clamp(std::isfinite(factor) ? factor : 1.0, smallestZoom, largestZoom);
    setTransform(QTransform::fromScale(bounded, bounded));
}

void TracePlotView::fitToWindow()
{
    if (plot_.image.isNull())
        return;
    const auto [horizontal, vertical] =
        TracePlotGeometry::fittingScales(plot_.annotations.size(), plot_.samples, plot_.sampleInterval,
                                         plot_.settings, viewport()->width(), viewport()->height());
    if (!(horizontal > 0) || !(vertical > 0))
        return;
    setZoom(1.0);
    emit scalesToFit(horizontal, vertical);
}

void TracePlotView::fitWhenShown()
{
    setZoom(1.0);
    fitPending = true;
    fitIfPending();
}

void TracePlotView::fitIfPending()
{
    if (!fitPending || !isVisible() || plot_.image.isNull())
        return;
    fitPending = false;
    fitToWindow();
}

void TracePlotView::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    fitIfPending();
}

void TracePlotView::showEvent(QShowEvent* event)
{
    QGraphicsView::showEvent(event);
    fitIfPending();
}

void TracePlotView::actualSize()
{
    setZoom(1.0);
}

void TracePlotView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    setZoom(zoom() * std::pow(1.25, event->angleDelta().y() / 120.0));
    event->accept();
}

void TracePlotView::mouseMoveEvent(QMouseEvent* event)
{
    if (areaBand && areaBand->isVisible())
        areaBand->setGeometry(QRect(pressPosition, event->pos()).normalized());
    else
        QGraphicsView::mouseMoveEvent(event);
    emit cursorReadout(plot_.readout(mapToScene(event->pos())));
}

void TracePlotView::leaveEvent(QEvent* event)
{
    QGraphicsView::leaveEvent(event);
    emit cursorReadout(QString());
}

void TracePlotView::mousePressEvent(QMouseEvent* event)
{
    pressPosition = event->pos();
    // Shift takes a rectangle instead of moving the plot.
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier) &&
        !plot_.image.isNull()) {
        if (!areaBand)
            areaBand = new QRubberBand(QRubberBand::Rectangle, viewport());
        areaBand->setGeometry(QRect(pressPosition, QSize()));
        areaBand->show();
        return;
    }
    QGraphicsView::mousePressEvent(event);
}

void TracePlotView::mouseReleaseEvent(QMouseEvent* event)
{
    if (areaBand && areaBand->isVisible()) {
        areaBand->hide();
        TracePlot::Area area;
        if (plot_.areaOf(mapToScene(QRect(pressPosition, event->pos()).normalized()).boundingRect(), &area))
            emit areaChosen(area);
        return;
    }
    QGraphicsView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton ||
        (event->pos() - pressPosition).manhattanLength() > clickTolerance)
        return;
    const QPointF point = mapToScene(event->pos());
    const int index = plot_.traceAt(point.x());
    if (index >= 0 && point.y() >= 0 && point.y() < plot_.image.height())
        emit traceClicked(index);
}

void TracePlotView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* fit = menu.addAction(QStringLiteral("Fit to window"));
    QAction* actual = menu.addAction(QStringLiteral("Actual size (1:1)"));
    menu.addSeparator();
    QAction* exportAction = menu.addAction(QStringLiteral("Export image"));
    exportAction->setEnabled(!plot_.image.isNull());
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == fit)
        fitToWindow();
    else if (chosen == actual)
        actualSize();
    else if (chosen == exportAction)
        static_cast<void>(ImageExport::saveWithDialog(this, picture(), QStringLiteral("trace plot.png")));
}

void TracePlotView::drawForeground(QPainter* painter, const QRectF& rect)
{
    QGraphicsView::drawForeground(painter, rect);
    if (plot_.image.isNull())
        return;
    // The margins with the time labels and the annotation, pinned to the left and top of the
    // view when the plot has scrolled away from them; in scene units they keep the zoom.
    const QRectF visible = mapToScene(viewport()->rect()).boundingRect();
    const double m = TracePlotGeometry::margin;
    const QImage& image = plot_.image;
    const QRectF whole(QPointF(0, 0), QSizeF(image.size()));
    if (visible.left() > 0) {
        const QRectF source = QRectF(0, visible.top(), m, visible.height()).intersected(whole);
        painter->drawImage(source.translated(visible.left(), 0), image, source);
    }
    if (visible.top() > 0) {
        const QRectF source = QRectF(visible.left(), 0, visible.width(), m).intersected(whole);
        painter->drawImage(source.translated(0, visible.top()), image, source);
        if (visible.left() > 0)
            painter->fillRect(QRectF(visible.left(), visible.top(), m, m), Qt::white);
    }
}
