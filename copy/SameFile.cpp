#include "copy/SameFile.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

bool isSameFile(const QString& first, const QString& second)
{
    const QString firstCanonical = QFileInfo(first).canonicalFilePath();
    if (firstCanonical.isEmpty())
        return false;
    if (firstCanonical == QFileInfo(second).canonicalFilePath())
        return true;
    struct stat a;
    struct stat b;
    return ::stat(QFile::encodeName(first).constData(), &a) == 0 &&
           ::stat(QFile::encodeName(second).constData(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}
