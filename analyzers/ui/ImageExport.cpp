#include "analyzers/ui/ImageExport.h"

#include "base/ui/FileDialogs.h"

#include <QDir>
#include <QImageWriter>
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
    QImageWriter writer(path, "png");
    if (image.isNull() || !writer.write(image)) {
        QMessageBox::warning(
            parent, QStringLiteral("Export image"),
            QStringLiteral("The picture could not be written to %1: %2")
                .arg(QDir::toNativeSeparators(path),
                     image.isNull() ? QStringLiteral("there is no picture") : writer.errorString()));
        return false;
    }
    return true;
}

} // namespace ImageExport
