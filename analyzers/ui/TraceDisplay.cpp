#include "analyzers/ui/TraceDisplay.h"

#include "analyzers/ui/ImageExport.h"

#include <QContextMenuEvent>
#include <QGraphicsPixmapItem>
#include <QMenu>

TraceDisplay::TraceDisplay(QWidget* parent, const TraceGather& gather, const TraceDisplaySettings& settings)
    : QGraphicsView(parent), plot_(TracePlot::build(gather, settings)), scene_(new QGraphicsScene(this))
{
    setScene(scene_);
    setBackgroundBrush(Qt::white);
    if (!plot_.image.isNull()) {
        // Kept at one bit per pixel: a 32-bit copy of a large plot costs more than drawing it.
        pixmapItem = scene_->addPixmap(QPixmap::fromImage(plot_.image, Qt::NoFormatConversion));
        scene_->setSceneRect(pixmapItem->boundingRect());
    }
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    show();
}

TraceDisplay::~TraceDisplay()
{
    scene_->clear();
}

QImage TraceDisplay::picture() const
{
    return plot_.image.isNull() ? QImage() : plot_.image.convertToFormat(QImage::Format_Grayscale8);
}

void TraceDisplay::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* exportAction = menu.addAction(QStringLiteral("Export image"));
    exportAction->setEnabled(!plot_.image.isNull());
    if (menu.exec(event->globalPos()) == exportAction)
        static_cast<void>(ImageExport::saveWithDialog(this, picture(), QStringLiteral("trace plot.png")));
}
