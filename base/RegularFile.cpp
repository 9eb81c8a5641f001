#include "base/RegularFile.h"

#include <QFile>
#include <sys/stat.h>

namespace RegularFile {

QString refusal(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return QString();
    return QStringLiteral("%1 is not a regular file").arg(path);
}

} // namespace RegularFile
