#pragma once

#include <QDateTime>
#include <QtGlobal>

// Times that recorders keep as GPS time: microseconds since the GPS epoch, 6 January 1980,
// 00:00:00 UTC. GPS time runs on through leap seconds, so it is ahead of UTC by the leap seconds
// inserted since the epoch (18 from 2017 on).
namespace GpsTime {

// The UTC instant of a GPS time, to the millisecond.
QDateTime toUtc(qint64 microseconds);
// "yyyy-MM-dd hh:mm:ss.zzz UTC".
QString text(qint64 microseconds);

} // namespace GpsTime
