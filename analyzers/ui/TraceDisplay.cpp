#include "analyzers/ui/TraceDisplay.h"

#include "analyzers/ui/ImageExport.h"

#include <QContextMenuEvent>
#include <QGraphicsPixmapItem>
#include <QLayout>
#include <QMenu>

TraceDisplay::TraceDisplay(QWidget* parent, TracePlot plot)
    : QGraphicsView(parent), plot_(std::move(plot)), scene_(new QGraphicsScene(this))
{
    setScene(scene_);
    setBackgroundBrush(Qt::white);
    if (!plot_.image.isNull()) {
        // Kept at one bit per pixel: a 32-bit copy of a large plot costs more than drawing it.
        pixmapItem = scene_->addPixmap(QPixmap::fromImage(plot_.image, Qt::NoFormatConversion));
        scene_->setSceneRect(pixmapItem->boundingRect());
    }
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // In a laid-out parent the plot follows the parent's size; otherwise it takes it once.
    if (parent && parent->layout())
        parent->layout()->addWidget(this);
    else if (parent)
        resize(parent->size());
    centerOn(width() / 2.0, height() / 2.0 - 32);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    show();
}

TraceDisplay::~TraceDisplay()
{
    scene_->clear();
}

void TraceDisplay::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* exportAction = menu.addAction(QStringLiteral("Export image"));
    exportAction->setEnabled(!plot_.image.isNull());
    if (menu.exec(event->globalPos()) == exportAction)
        static_cast<void>(
            ImageExport::saveWithDialog(this, plot_.picture(), QStringLiteral("trace plot.png")));
}
