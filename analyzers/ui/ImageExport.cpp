#include "analyzers/ui/ImageExport.h"

#include "base/ui/FileDialogs.h"

#include <QDir>
#include <QGraphicsScene>
#include <QImageWriter>
#include <QMessageBox>
#include <QPainter>

namespace ImageExport {

QImage render(QGraphicsScene& scene)
{
    const QRectF area = scene.sceneRect();
    QImage image(area.size().toSize(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    scene.render(&painter, QRectF(QPointF(0, 0), area.size()), area);
    return image;
}

bool saveWithDialog(QWidget* parent, const QImage& image, const QString& suggestedName)
{
    QString path = FileDialogs::saveFileName(parent, QStringLiteral("Export image"),
                                             QDir::current().filePath(suggestedName),
                                             QStringLiteral("PNG images (*.png)"));
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
