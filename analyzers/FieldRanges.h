#pragma once

#include "analyzers/SegyFieldRows.h"

#include <QString>
#include <array>

class SeismicTrace;

// The smallest and largest value of every analyzer field row over the scanned traces.
// Integer rows keep values truncated toward zero, floating rows 32-bit floats.
class FieldRanges {
public:
    FieldRanges() { reset(); }

    // Back to the start values: 999999999 / -999999999 for integer rows, 1e9 / -1e9 else.
    void reset();
    void fold(const SeismicTrace& trace);

    // The row's minimum or maximum as the row shows it. With emptyWhenUnset an integer range
    // still at its start value is an empty text.
    QString minimumText(int row, bool emptyWhenUnset) const;
    QString maximumText(int row, bool emptyWhenUnset) const;

    double minimum(int row) const { return ranges[size_t(row)].minimum; }
    double maximum(int row) const { return ranges[size_t(row)].maximum; }

private:
    struct Range {
        double minimum;
        double maximum;
    };
    QString text(int row, double value, double unset, bool emptyWhenUnset) const;

    std::array<Range, SegyFieldRows::count> ranges{};
};
