#include "seismic/SegyFieldRanges.h"

#include "seismic/SampleConversion.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceKey.h"

#include <algorithm>

namespace {

using Shown = SegyFieldRanges::Shown;
using K = TraceKey;

constexpr std::array<SegyFieldRanges::Field, SegyFieldRanges::count> table{{
    {"Field file number", "FFID", 0, K::FieldFile, Shown::Integer},
    {"Channel number", "Channel", 1, K::Channel, Shown::Integer},
    {"CMP", "CMP", 2, K::Cmp, Shown::Integer},
    {"Inline", "Inline", 3, K::Inline, Shown::Integer},
    {"Crossline", "Crossline", 4, K::Crossline, Shown::Integer},
    {"Offset", "Offset", 26, K::Offset, Shown::Integer},
    {"CMP easting", "CMP_Easting", 5, K::CmpX, Shown::Fixed1},
    {"CMP  northing", "CMP_Northing", 6, K::CmpY, Shown::Fixed1},
    {"CMP  elevation", "CMP_Elevation", 7, K::CmpElevation, Shown::Fixed1},
    {"CMP  datum", "CMP_Datum", 8, SegyFieldRanges::Nothing, Shown::Empty},
    {"Source line", "Source_Line", 9, K::SourceLine, Shown::Integer},
    {"Source location", "Source_Location", 10, K::SourceLocation, Shown::Integer},
    {"Source easting", "Source_Easting", 11, K::SourceX, Shown::Fixed1},
    {"Source northing", "Source_Northing", 12, K::SourceY, Shown::Fixed1},
    {"Source elevation", "Source_Elevation", 13, K::SourceElevation, Shown::Fixed1},
    {"Source datum", "Source_Datum", 14, SegyFieldRanges::Nothing, Shown::Empty},
    {"Source depth", "Source_Depth", 15, SegyFieldRanges::Nothing, Shown::Empty},
    {"Uphole time", "Source_Uphole", 16, SegyFieldRanges::Nothing, Shown::Empty},
    {"Receiver line", "Receiver_Line", 17, K::ReceiverLine, Shown::Integer},
    {"Receiver location", "Receiver_Location", 18, K::ReceiverLocation, Shown::Integer},
    {"Receiver easting", "Receiver_Easting", 19, K::ReceiverX, Shown::Fixed1},
    {"Receiver northing", "Receiver_Northing", 20, K::ReceiverY, Shown::Fixed1},
    {"Receiver elevation", "Receiver_Elevation", 21, K::ReceiverElevation, Shown::Fixed1},
    {"Receiver datum", "Receiver_Datum", 22, K::ReceiverDatum, Shown::Fixed1},
    {"Receiver type", "Receiver_Type", 24, K::ReceiverComponent, Shown::Integer},
    {"Sensor orientation", "Receiver_Orientation", 25, K::ReceiverOrientation, Shown::General6},
    {"Coordinate scalar", "Coordinate_Scalar", 33, SegyFieldRanges::CoordinateScalar, Shown::Integer},
    {"Elevation scalar", "Elevation_Scalar", 32, SegyFieldRanges::ElevationScalar, Shown::Integer},
    {"Time scalar", "Time_Scalar", 34, SegyFieldRanges::TimeScalar, Shown::Integer},
}};

constexpr double integerStart = 999999999.0;
constexpr double floatingStart = 1e9;

double valueOf(const SeismicTrace& trace, int source)
{
    switch (source) {
    case SegyFieldRanges::CoordinateScalar:
        return trace.coordinateScalar;
    case SegyFieldRanges::ElevationScalar:
        return trace.elevationScalar;
    case SegyFieldRanges::TimeScalar:
        return trace.timeScalar;
    default:
        return trace.value(source);
    }
}

} // namespace

const std::array<SegyFieldRanges::Field, SegyFieldRanges::count>& SegyFieldRanges::fields()
{
    return table;
}

SegyFieldRanges::SegyFieldRanges()
{
    reset();
}

void SegyFieldRanges::reset()
{
    for (int row = 0; row < count; ++row) {
        const double start = table[size_t(row)].shown == Shown::Integer ? integerStart : floatingStart;
        minimum_[size_t(row)] = start;
        maximum_[size_t(row)] = -start;
    }
}

void SegyFieldRanges::add(const SeismicTrace& trace)
{
    for (int row = 0; row < count; ++row) {
        const Field& field = table[size_t(row)];
        if (field.source == Nothing)
            continue;
        const double raw = valueOf(trace, field.source);
        // Integer rows hold the value truncated toward zero, floating rows a 32-bit float.
        const double value = field.shown == Shown::Integer ? double(SampleConversion::truncateToInteger(raw))
                                                           : double(float(raw));
        minimum_[size_t(row)] = std::min(minimum_[size_t(row)], value);
        maximum_[size_t(row)] = std::max(maximum_[size_t(row)], value);
    }
}

QString SegyFieldRanges::text(int row, double value) const
{
    switch (table[size_t(row)].shown) {
    case Shown::Integer:
        return value == integerStart || value == -integerStart ? QString() : QString::number(qint64(value));
    case Shown::Fixed1:
        return QString::number(value, 'f', 1);
    case Shown::General6:
        return QString::number(value, 'g', 6);
    default:
        return QString();
    }
}

QString SegyFieldRanges::minimumText(int row) const
{
    return text(row, minimum_[size_t(row)]);
}

QString SegyFieldRanges::maximumText(int row) const
{
    return text(row, maximum_[size_t(row)]);
}
