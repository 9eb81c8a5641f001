#pragma once

#include <QVector>
#include <vector>

class SeismicData;
class SeismicTrace;
class TraceGather;

// Traces that want a look before processing:
// - dead: every sample the same (all zero, or a constant);
// - clipped: the trace's peak amplitude held by `clippedRun` samples or more in a row, as a
//   recorder at full scale writes it;
// - noisy: a root mean square above `noisyFactor` times the median of the live traces of its
//   gather (the traces of one field file), or of all the traces read when its gather holds fewer
//   than `smallestGather` live traces (files that number each trace as a field file of its own).
struct TraceQc {
    static constexpr int clippedRun = 3;
    static constexpr double noisyFactor = 5.0;
    static constexpr int smallestGather = 4;

    // What one trace shows, by its number in the data set.
    struct Measure {
        int trace = 0;
        double gather = 0; // its field file
        double rms = 0;
        bool dead = false;
        bool clipped = false;
    };

    int traces = 0; // traces looked at
    int unread = 0; // of them, those that could not be read
    QVector<int> dead;
    QVector<int> clipped;
    QVector<int> noisy;

    // Measures samples (values that are not finite count as 0).
    static Measure measure(const double* samples, int count);
    // The lists from the measures of the traces read.
    static TraceQc judge(const std::vector<Measure>& measures);
    // Reads traces first to last of the data set (within its traces) and judges them.
    static TraceQc scan(SeismicData& data, int first, int last);
    // Reads the traces of these numbers (a gather chosen by a header word) and judges them.
    static TraceQc scan(SeismicData& data, const QVector<int>& numbers);
    // The traces of a gather read already, numbered from 1.
    static TraceQc ofGather(const TraceGather& gather);

private:
    static Measure measured(const SeismicTrace& trace, int number);
    static TraceQc judged(const std::vector<Measure>& measures, int unread);
};
