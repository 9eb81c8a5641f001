#pragma once

#include <QGraphicsView>
#include <QImage>

// Shows a picture drawn at the size of the parent widget, over the whole widget.
class PictureView : public QGraphicsView {
    Q_OBJECT
public:
    // `result`: the picture shows what was computed, not why nothing could be.
    PictureView(QWidget* parent, QImage picture, bool result);

    const QImage& picture() const { return picture_; }
    // False for a picture that only says why there is nothing to show: nothing to export.
    bool showsResult() const { return result_; }
    // The size to draw a picture at for a view on this parent.
    static QSize pictureSize(const QWidget* parent);

private:
    QImage picture_;
    bool result_;
};
