#pragma once

#include <QImage>

class QWidget;

// Pictures of the analyzers' views, for reports.
namespace ImageExport {

// Asks for a file name ("Export image") and writes the picture as PNG; false when the
// user cancelled or the file could not be written (the latter said in a message box).
bool saveWithDialog(QWidget* parent, const QImage& image, const QString& suggestedName);

} // namespace ImageExport
