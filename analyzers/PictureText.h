#pragma once

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QSizeF>
#include <QString>

// The pictures drawn in core: a white page, smooth painting, and labels of one line in the
// application font, black, placed by their top left corner.
namespace PictureText {

// A white picture of that size; null when it cannot be made.
QImage blank(QSize size);
// Smooth lines and text for a painter on such a picture.
void smooth(QPainter& painter);

QSizeF size(const QString& text);
void draw(QPainter& painter, const QString& text, QPointF topLeft);

} // namespace PictureText
