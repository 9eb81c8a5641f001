#include "app/FileKind.h"

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
                    {"sgd", FileKind::Segd},      {"segd", FileKind::Segd},
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

} // namespace

FileKind of(const QString& path)
{
    const FileKind kind = bySuffix(QFileInfo(path).suffix());
    return kind != FileKind::Unknown ? kind : byFirstDataLine(path);
}

} // namespace FileKinds
