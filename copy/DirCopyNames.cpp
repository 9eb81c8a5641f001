#include "copy/DirCopyNames.h"

#include <QDir>
#include <QFileInfo>

namespace DirCopyNames {

QString uniquePath(const QString& directory, const QString& name)
{
    const QDir dir(directory);
    QString unique = name;
    for (int round = 1; QFileInfo::exists(dir.filePath(unique)); ++round) {
        // A name without a dot would never change: its number goes at the end.
        if (unique.contains(QLatin1Char('.')))
            unique.replace(QLatin1Char('.'), QStringLiteral("-%1.").arg(round));
        else
            unique += QStringLiteral("-%1").arg(round);
    }
    return dir.filePath(unique);
}

QString forInputFile(const QString& fileName, bool segd)
{
    QString name = fileName;
    if (segd)
        name.replace(QLatin1String(".sgy"), QLatin1String(".sgd"));
    return name;
}

QString forTapeFile(const QString& baseName, int number, bool segd)
{
    return QStringLiteral("%1-%2%3").arg(baseName).arg(number).arg(segd ? QStringLiteral(".segd")
                                                                        : QStringLiteral(".sgy"));
}

QString withFieldRecord(const QString& name, qint64 record)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString number = QStringLiteral("_%1").arg(record);
    return dot < 0 ? name + number : QString(name).insert(dot, number);
}

} // namespace DirCopyNames
