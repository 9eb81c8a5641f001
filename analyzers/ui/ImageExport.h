#pragma once

#include <QImage>

class QGraphicsScene;
class QWidget;

// Pictures of the analyzers' views, for reports.
namespace ImageExport {

// The scene drawn on white at the scene rectangle's size.
QImage render(QGraphicsScene& scene);

// Asks for a file name ("Export image") and writes the picture as PNG; false when the
// user cancelled or the file could not be written (the latter said in a message box).
bool saveWithDialog(QWidget* parent, const QImage& image, const QString& suggestedName);

} // namespace ImageExport
