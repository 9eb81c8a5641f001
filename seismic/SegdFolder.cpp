#include "seismic/SegdFolder.h"

#include "base/ObrConsole.h"
#include "seismic/SegdBytes.h"
#include "seismic/SegdGeneralHeader.h"

#include <QDir>
#include <QFile>

namespace SegdFolder {

namespace {

// Named in the list, the others left out: a long list would bury the line.
constexpr int namedSkipped = 10;

// Why a file without a field file suffix is no field file; empty when it reads as one.
QString whyNotFieldFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot be read");
    const QByteArray first = file.read(SegdGeneralHeader::blockBytes);
    if (first.size() < SegdGeneralHeader::blockBytes)
        return QStringLiteral("too short for a SEG-D general header");
    if (!SegdGeneralHeader::looksValid(SegdBytes(first.constData(), first.size())))
        return QStringLiteral("no SEG-D general header");
    return QString();
}

} // namespace

QStringList Listing::paths() const
{
    const QDir dir(directory);
    QStringList all;
    all.reserve(names.size());
    for (const QString& name : names)
        all.append(dir.filePath(name));
    return all;
}

bool hasFieldFileSuffix(const QString& name)
{
    for (const char* suffix : {".sgd", ".segd", ".raw", ".fcnt"}) {
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

Listing list(const QString& directory, ObrConsole* console)
{
    Listing listing;
    listing.directory = directory;
    const QDir dir(directory);
    // Unreadable files with a field file name are listed too: the tools stop at them with their
    // name rather than leave them out unnoticed.
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        if (hasFieldFileSuffix(name)) {
            listing.names.append(name);
            continue;
        }
        const QString reason = whyNotFieldFile(dir.filePath(name));
        if (reason.isEmpty())
            listing.names.append(name);
        else
            listing.skipped.append({name, reason});
    }
    if (console && console->debugEnabled())
        console->debug(QStringLiteral("listed %1: %2 field files, %3 other files")
                           .arg(QDir::toNativeSeparators(directory))
                           .arg(listing.names.size())
                           .arg(listing.skipped.size()));
    return listing;
}

QString skippedText(const Listing& listing)
{
    if (listing.skipped.isEmpty())
        return QString();
    QStringList named;
    for (int i = 0; i < listing.skipped.size() && i < namedSkipped; ++i)
        named.append(QStringLiteral("%1 (%2)").arg(listing.skipped[i].name, listing.skipped[i].reason));
    if (listing.skipped.size() > namedSkipped)
        named.append(QStringLiteral("and %1 more").arg(listing.skipped.size() - namedSkipped));
    return QStringLiteral("%1 file%2 of %3 passed over, not SEG-D field files: %4")
        .arg(listing.skipped.size())
        .arg(listing.skipped.size() == 1 ? QString() : QStringLiteral("s"))
        .arg(QDir::toNativeSeparators(listing.directory), named.join(QStringLiteral(", ")));
}

} // namespace SegdFolder
