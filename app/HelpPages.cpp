#include "app/HelpPages.h"

#include "base/ShareDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace HelpPages {

namespace {

bool copyPage(const QString& name, const QString& target, QString* errorText)
{
    QFile source(directory() + QLatin1Char('/') + name);
    QSaveFile destination(target);
    if (source.open(QIODevice::ReadOnly) && destination.open(QIODevice::WriteOnly) &&
        destination.write(source.readAll()) == source.size() && destination.flush() && destination.commit())
        return true;
    if (errorText)
        *errorText = QStringLiteral("cannot write help page %1: %2").arg(target, destination.errorString());
    return false;
}
} // namespace

QString directory()
{
    return ShareDirectory::file(QStringLiteral("docs"));
}

QStringList names()
{
    return QDir(directory()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

bool install(const QString& docsDirectory, QStringList* copied, QString* errorText)
{
    if (!QFileInfo(docsDirectory).isDir() && !QDir().mkdir(docsDirectory)) {
        if (errorText)
            *errorText = QStringLiteral("cannot create directory %1").arg(docsDirectory);
        return false;
    }
    const QStringList pages = names();
    if (pages.isEmpty()) {
        if (errorText)
            *errorText = QStringLiteral("no help pages in %1").arg(directory());
        return false;
    }
    bool ok = true;
    for (const QString& name : pages) {
        const QString target = docsDirectory + QLatin1Char('/') + name;
        if (QFileInfo::exists(target))
            continue;
        if (!copyPage(name, target, errorText)) {
            ok = false;
            continue;
        }
        if (copied)
            copied->append(name);
    }
    return ok;
}

} // namespace HelpPages
