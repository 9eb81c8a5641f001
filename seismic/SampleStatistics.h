#pragma once

#include <QtGlobal>
#include <algorithm>
#include <limits>

// Minimum, maximum and sum of squares of a run of samples. Samples that are not numbers stay
// out of the minimum and maximum (no comparison holds for them) but make the sum NaN.
struct SampleStatistics {
    double minimum = std::numeric_limits<double>::infinity();
    double maximum = -std::numeric_limits<double>::infinity();
    double sumOfSquares = 0;
    qint64 count = 0;

    // The statistics of the samples that follow these. Sums of squares depend on the order of
    // additions, so callers merge in sample order to get the same figure every time.
    void merge(const SampleStatistics& later)
    {
        minimum = std::min(minimum, later.minimum);
        maximum = std::max(maximum, later.maximum);
        sumOfSquares += later.sumOfSquares;
        count += later.count;
    }

    // n more samples of value zero.
    void addZeros(qint64 n)
    {
        if (n <= 0)
            return;
        minimum = std::min(minimum, 0.0);
        maximum = std::max(maximum, 0.0);
        count += n;
    }
};
