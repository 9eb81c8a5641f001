#include "devices/TapeRoad.h"

#include <QSettings>

namespace TapeRoadSetting {

const QString key = QStringLiteral("Tapes/UseScsiPassThrough");

TapeRoad configured()
{
    const QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Trevalo"));
    return settings.value(key, false).toBool() ? TapeRoad::Scsi : TapeRoad::Driver;
}

void store(TapeRoad road)
{
    QSettings settings(QStringLiteral("Corvane"), QStringLiteral("Trevalo"));
    settings.setValue(key, road == TapeRoad::Scsi);
}

} // namespace TapeRoadSetting
