#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>

class QPainter;

// The labels of the spectrum and histogram pictures: one line in the application font,
// black, placed by its top left corner.
namespace PictureText {

QSizeF size(const QString& text);
void draw(QPainter& painter, const QString& text, QPointF topLeft);

} // namespace PictureText
