#include "analyzers/FieldRanges.h"

#include "seismic/SeismicTrace.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double integerStart = 999999999.0;
constexpr double floatStart = 1e9;

bool isInteger(const SegyFieldRows::Row& row)
{
    return row.shown == SegyFieldRows::Shown::Integer;
}

// Truncation toward zero that stays defined for any value.
double truncated(double value)
{
    return std::isfinite(value) ? std::trunc(std::clamp(value, -9.0e18, 9.0e18)) : 0.0;
}

double valueOf(const SegyFieldRows::Row& row, const SeismicTrace& trace)
{
    switch (row.source) {
    case SegyFieldRows::Source::Key:
        return trace.value(row.key);
    case SegyFieldRows::Source::CoordinateScalar:
        return trace.coordinateScalar;
    case SegyFieldRows::Source::ElevationScalar:
        return trace.elevationScalar;
    case SegyFieldRows::Source::TimeScalar:
        return trace.timeScalar;
    case SegyFieldRows::Source::Nothing:
        break;
    }
    return 0;
}

} // namespace

void FieldRanges::reset()
{
    for (int i = 0; i < SegyFieldRows::count; ++i) {
        const double start = isInteger(SegyFieldRows::rows[size_t(i)]) ? integerStart : floatStart;
        ranges[size_t(i)] = {start, -start};
    }
}

void FieldRanges::fold(const SeismicTrace& trace)
{
    for (int i = 0; i < SegyFieldRows::count; ++i) {
        const auto& row = SegyFieldRows::rows[size_t(i)];
        if (row.source == SegyFieldRows::Source::Nothing)
            continue;
        const double raw = valueOf(row, trace);
        const double value =
            isInteger(row) ? truncated(raw) : double(float(std::clamp(raw, -3.0e38, 3.0e38)));
        Range& range = ranges[size_t(i)];
        range.minimum = std::min(range.minimum, value);
        range.maximum = std::max(range.maximum, value);
    }
}

QString FieldRanges::minimumText(int row, bool emptyWhenUnset) const
{
    return text(row, ranges[size_t(row)].minimum, integerStart, emptyWhenUnset);
}

QString FieldRanges::maximumText(int row, bool emptyWhenUnset) const
{
    return text(row, ranges[size_t(row)].maximum, -integerStart, emptyWhenUnset);
}

QString FieldRanges::text(int row, double value, double unset, bool emptyWhenUnset) const
{
    switch (SegyFieldRows::rows[size_t(row)].shown) {
    case SegyFieldRows::Shown::Integer:
        return emptyWhenUnset && value == unset ? QString() : QString::number(qint64(value));
    case SegyFieldRows::Shown::Fixed1:
        return QString::number(value, 'f', 1);
    case SegyFieldRows::Shown::General6:
        return QString::number(value, 'g', 6);
    case SegyFieldRows::Shown::Empty:
        break;
    }
    return {};
}
