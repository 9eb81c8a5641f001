#include "base/WorkingRoot.h"

#include <QDir>
#include <QStandardPaths>

namespace WorkingRoot {

QString path()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/krd");
}

QStringList folderNames()
{
    return {QStringLiteral("ProjectFiles"), QStringLiteral("SegyFormats"), QStringLiteral("Docs"),
            QStringLiteral("AuxiliaryFormat"), QStringLiteral("Tapes")};
}

bool create(QString* errorText)
{
    const QString root = path();
    QDir dir;
    for (const QString& folder : folderNames()) {
        const QString folderPath = root + QLatin1Char('/') + folder;
        if (!dir.mkpath(folderPath)) {
            if (errorText)
                *errorText = QStringLiteral("cannot create directory %1").arg(folderPath);
            return false;
        }
    }
    return true;
}

} // namespace WorkingRoot
