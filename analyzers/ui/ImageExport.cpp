#include "analyzers/ui/ImageExport.h"

#include "base/WholeFile.h"
#include "base/ui/FileDialogs.h"

#include <QDir>
#include <QMessageBox>

namespace ImageExport {

bool saveWithDialog(QWidget* parent, const QImage& image, const QString& suggestedName)
{
    QString path = FileDialogs::saveFileName(parent, QStringLiteral("Export image"), QDir::currentPath(),
                                             QStringLiteral("PNG images (*.png)"), suggestedName);
    if (path.isEmpty())
        return false;
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        path += QLatin1String(".png");
    // Whole or not at all; the error names the file and gives the system's reason.
    QString error;
    if (!WholeFile::writePng(path, image, &error)) {
        QMessageBox::warning(parent, QStringLiteral("Export image"),
                             QStringLiteral("The picture could not be written: %1").arg(error));
        return false;
    }
    return true;
}

} // namespace ImageExport
