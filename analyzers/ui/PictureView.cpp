#include "analyzers/ui/PictureView.h"

#include <QGraphicsPixmapItem>

PictureView::PictureView(QWidget* parent, QImage picture, bool result)
    : QGraphicsView(parent), picture_(std::move(picture)), result_(result)
{
    auto* scene = new QGraphicsScene(this);
    setScene(scene);
    setBackgroundBrush(Qt::white);
    if (!picture_.isNull())
        scene->setSceneRect(scene->addPixmap(QPixmap::fromImage(picture_))->boundingRect());
    // The picture is as large as the widget: no frame or scroll bar may cover a part of it.
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (parent)
        resize(parent->size());
    show();
}

QSize PictureView::pictureSize(const QWidget* parent)
{
    return parent ? parent->size() : QSize(640, 480);
}
