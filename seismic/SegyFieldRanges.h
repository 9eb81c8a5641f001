#pragma once

#include <QString>
#include <array>

class SeismicTrace;

// The 29 trace header fields whose value ranges the SEG-Y analyzer shows over a trace range:
// label, the format key slot the row edits, where the value comes from, and how it is shown.
class SegyFieldRanges {
public:
    enum class Shown { Integer, Fixed1, General6, Empty };
    // Where a row's value comes from: a trace key, one of the trace's scalars, or nothing.
    enum Source { CoordinateScalar = -1, ElevationScalar = -2, TimeScalar = -3, Nothing = -4 };

    struct Field {
        const char* label;
        const char* prefix; // object name prefix of the analyzer's row
        int keySlot;
        int source; // a TraceKey, or a Source
        Shown shown;
    };

    static constexpr int count = 29;
    static const std::array<Field, count>& fields();

    SegyFieldRanges();
    // Back to the start values: integer rows 999999999 / -999999999, floating rows 1e9 / -1e9.
    void reset();
    // Folds one trace's values in.
    void add(const SeismicTrace& trace);

    double minimum(int row) const { return minimum_[size_t(row)]; }
    double maximum(int row) const { return maximum_[size_t(row)]; }
    // The row's minimum or maximum as the analyzer writes it; empty for rows without a range
    // and for integer ranges still at a start value.
    QString minimumText(int row) const;
    QString maximumText(int row) const;

private:
    QString text(int row, double value) const;

    std::array<double, count> minimum_{};
    std::array<double, count> maximum_{};
};
