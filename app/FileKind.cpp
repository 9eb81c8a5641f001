#include "app/FileKind.h"

#include "seismic/SegdBytes.h"
#include "seismic/SegdFolder.h"
#include "seismic/SegdGeneralHeader.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace FileKinds {

namespace {

FileKind bySuffix(const QString& suffix)
{
    static const struct {
        const char* suffix;
        FileKind kind;
    } suffixes[] = {{"sgy", FileKind::Segy},      {"segy", FileKind::Segy},
                    {"s", FileKind::SpsSource},   {"sps", FileKind::SpsSource},
                    {"r", FileKind::SpsReceiver}, {"rps", FileKind::SpsReceiver},
                    {"x", FileKind::SpsRelation}, {"xps", FileKind::SpsRelation}};
    for (const auto& entry : suffixes) {
        if (suffix.compare(QLatin1String(entry.suffix), Qt::CaseInsensitive) == 0)
            return entry.kind;
    }
    return FileKind::Unknown;
}

// The kind the first SPS data line names. Header lines (H) and other comments are passed over;
// a data line has its record letter followed by the line number's column.
FileKind byFirstDataLine(const QString& path)
{
    constexpr int linesLooked = 1000;
    constexpr qint64 longestLine = 4096;
    static const QRegularExpression dataLine(QStringLiteral("^([SRX])[ 0-9.+-]"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileKind::Unknown;
    for (int n = 0; n < linesLooked && !file.atEnd(); ++n) {
        const auto match = dataLine.match(QString::fromLatin1(file.readLine(longestLine)));
        if (!match.hasMatch())
            continue;
        const QChar letter = match.captured(1).at(0);
        return letter == QLatin1Char('S')   ? FileKind::SpsSource
               : letter == QLatin1Char('R') ? FileKind::SpsReceiver
                                            : FileKind::SpsRelation;
    }
    return FileKind::Unknown;
}

// A SEG-D field file as every SEG-D tool knows one in a folder: by its name, or by a general
// header at its start.
bool fieldFile(const QString& path)
{
    if (SegdFolder::hasFieldFileSuffix(path))
        return true;
    QFile file(path);
    const QByteArray first =
        file.open(QIODevice::ReadOnly) ? file.read(SegdGeneralHeader::blockBytes) : QByteArray();
    return SegdGeneralHeader::looksValid(SegdBytes(first.constData(), first.size()));
}

} // namespace

FileKind of(const QString& path)
{
    if (fieldFile(path))
        return FileKind::Segd;
    const FileKind kind = bySuffix(QFileInfo(path).suffix());
    return kind != FileKind::Unknown ? kind : byFirstDataLine(path);
}

} // namespace FileKinds
