#include "base/ui/FileDrops.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace FileDrops {

QString segyFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().first();
    if (!url.isLocalFile())
        return {};
    const QFileInfo file(url.toLocalFile());
    const QString suffix = file.suffix().toLower();
    return file.isFile() && (suffix == QLatin1String("sgy") || suffix == QLatin1String("segy"))
               ? file.absoluteFilePath()
               : QString();
}

} // namespace FileDrops
