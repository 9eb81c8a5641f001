#pragma once

#include <QGraphicsView>
#include <QImage>

// Shows a picture drawn at the size of the parent widget, over the whole widget.
class PictureView : public QGraphicsView {
    Q_OBJECT
public:
    PictureView(QWidget* parent, QImage picture);

    const QImage& picture() const { return picture_; }

protected:
    // The size to draw a picture at for a view on this parent.
    static QSize pictureSize(const QWidget* parent);

private:
    QImage picture_;
};
