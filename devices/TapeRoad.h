#pragma once

#include <QString>

// How tape drives are reached: through the system's tape driver (the default) or
// with SCSI commands through a pass-through. The choice is kept in the suite's
// settings, group "Tapes", key "UseScsiPassThrough" (true for the SCSI road).
enum class TapeRoad { Driver, Scsi };

namespace TapeRoadSetting {
extern const QString key;
TapeRoad configured();
void store(TapeRoad road);
} // namespace TapeRoadSetting
