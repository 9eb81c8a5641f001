#include "devices/TapeImageSettings.h"

#include <QFileInfo>
#include <QSettings>
#include <algorithm>
#include <limits>

namespace {
const QString formatKey = QStringLiteral("Tape/Format");
const QString capacityKey = QStringLiteral("Tape/Capacity");
const QString offlineKey = QStringLiteral("Tape/Offline");
const QString positionKey = QStringLiteral("Tape/Position");
const QString positionFileSizeKey = QStringLiteral("Tape/FileSize");
const QString tifName = QStringLiteral("TIF");
const QString simhName = QStringLiteral("SIMH");
} // namespace

QString TapeImageSettings::settingsPath(const QString& imagePath)
{
    return imagePath + QStringLiteral(".ini");
}

TapeImageSettings::Format TapeImageSettings::formatBySuffix(const QString& imagePath)
{
    return QFileInfo(imagePath).suffix().compare(QLatin1String("tif"), Qt::CaseInsensitive) == 0
               ? Format::TapeInFile
               : Format::Simh;
}

TapeImageSettings TapeImageSettings::load(const QString& imagePath)
{
    TapeImageSettings result;
    result.format = formatBySuffix(imagePath);
    const QString path = settingsPath(imagePath);
    if (!QFileInfo::exists(path))
        return result;
    const QSettings stored(path, QSettings::IniFormat);
    const QString format = stored.value(formatKey).toString();
    if (format.compare(tifName, Qt::CaseInsensitive) == 0)
        result.format = Format::TapeInFile;
    else if (format.compare(simhName, Qt::CaseInsensitive) == 0)
        result.format = Format::Simh;
    bool valid = false;
    const qint64 capacity = stored.value(capacityKey).toLongLong(&valid);
    if (valid && capacity > 0)
        result.capacity = capacity;
    result.offline = stored.value(offlineKey, false).toBool();
    result.position = stored.value(positionKey, 0).toLongLong();
    result.positionFileSize = stored.value(positionFileSizeKey, 0).toLongLong();
    return result;
}

bool TapeImageSettings::save(const QString& imagePath) const
{
    QSettings stored(settingsPath(imagePath), QSettings::IniFormat);
    stored.setValue(formatKey, format == Format::TapeInFile ? tifName : simhName);
    stored.setValue(capacityKey, capacity);
    stored.setValue(offlineKey, offline);
    stored.setValue(positionKey, position);
    stored.setValue(positionFileSizeKey, positionFileSize);
    stored.sync();
    return stored.status() == QSettings::NoError;
}

qint64 TapeImageSettings::largestFile(Format format)
{
    return format == Format::TapeInFile ? qint64(0xFFFFFFFFu) : std::numeric_limits<qint64>::max();
}

qint64 TapeImageSettings::usableCapacity() const
{
    return std::min(capacity, largestFile(format));
}

qint64 TapeImageSettings::earlyWarningPosition() const
{
    const qint64 usable = usableCapacity();
    return usable - std::min(usable / 10, maximumWarningZone);
}
