#include "seismic/GpsTime.h"

#include <array>

namespace GpsTime {

namespace {

const QDateTime& epoch()
{
    static const QDateTime start(QDate(1980, 1, 6), QTime(0, 0), Qt::UTC);
    return start;
}

struct LeapSecond {
    int year;
    int month;
};

// The UTC days before whose start a leap second was inserted, since the GPS epoch.
constexpr std::array<LeapSecond, 18> leapSeconds{{
    {1981, 7},
    {1982, 7},
    {1983, 7},
    {1985, 7},
    {1988, 1},
    {1990, 1},
    {1991, 1},
    {1992, 7},
    {1993, 7},
    {1994, 7},
    {1996, 1},
    {1997, 7},
    {1999, 1},
    {2006, 1},
    {2009, 1},
    {2012, 7},
    {2015, 7},
    {2017, 1},
}};

// Seconds from the epoch to the start of a leap second's day, in UTC seconds.
qint64 utcSecondsTo(const LeapSecond& leap)
{
    return epoch().secsTo(QDateTime(QDate(leap.year, leap.month, 1), QTime(0, 0), Qt::UTC));
}

} // namespace

QDateTime toUtc(qint64 microseconds)
{
    const qint64 gpsSeconds =
        microseconds >= 0 ? microseconds / 1000000 : -((-microseconds + 999999) / 1000000);
    qint64 inserted = 0;
    for (const LeapSecond& leap : leapSeconds) {
        if (gpsSeconds >= utcSecondsTo(leap) + inserted + 1)
            ++inserted;
    }
    const qint64 milliseconds = microseconds / 1000 - inserted * 1000;
    return epoch().addMSecs(milliseconds);
}

QString text(qint64 microseconds)
{
    return toUtc(microseconds).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")) + QStringLiteral(" UTC");
}

} // namespace GpsTime
