#include "base/RecentFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace RecentFiles {

namespace {
const QString key = QStringLiteral("RecentFiles/SegyFiles");
} // namespace

QStringList list()
{
    QStringList files;
    for (const QString& path : QSettings().value(key).toStringList()) {
        if (QFileInfo(path).isFile())
            files.append(path);
    }
    return files;
}

void add(const QString& path)
{
    const QString absolute = QDir::fromNativeSeparators(QFileInfo(path).absoluteFilePath());
    QStringList files = QSettings().value(key).toStringList();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > maximum)
        files.removeLast();
    QSettings().setValue(key, files);
}

} // namespace RecentFiles
