#include "base/ShareDirectory.h"

#include <QCoreApplication>
#include <QDir>

namespace ShareDirectory {

QString path()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/obr-io-utility"));
}

QString file(const QString& name)
{
    return path() + QLatin1Char('/') + name;
}

} // namespace ShareDirectory
