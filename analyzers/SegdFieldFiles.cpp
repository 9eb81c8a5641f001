#include "analyzers/SegdFieldFiles.h"

#include <QDir>

namespace SegdFieldFiles {

QStringList inDirectory(const QString& directory)
{
    const QDir dir(directory);
    // Name order, so that the first file shown is the same on every system.
    const QStringList sgd = dir.entryList({QStringLiteral("*.sgd")}, QDir::Files, QDir::Name);
    if (!sgd.isEmpty())
        return sgd;
    return dir.entryList({QStringLiteral("*.segd")}, QDir::Files, QDir::Name);
}

} // namespace SegdFieldFiles
