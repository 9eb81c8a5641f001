#pragma once

#include "analyzers/SampleWindow.h"

#include <QString>
#include <QtGlobal>
#include <vector>

class SeismicData;
struct JobSteps;

// The distribution of the sample values in a window of traces and times, in an odd number
// of equal bins spread symmetrically around zero, so that the middle bin straddles 0.
class SampleHistogram {
public:
    enum class Status { Ok, BadInterval, EmptyWindow, TooManyValues, NoTraces, Cancelled };

    struct Bin {
        double lower = 0;
        double upper = 0;
        qint64 count = 0;
    };

    // A window of more than `limit` values is sampled by traces (see note()). With steps, each
    // trace read is a step, and a cancel leaves the status Cancelled.
    static SampleHistogram compute(SeismicData& data, int firstTrace, int lastTrace, double startMs,
                                   double endMs, qint64 limit = maxValues, const JobSteps* steps = nullptr);
    // Bins the values (the samples of a window), as compute does after reading them.
    static SampleHistogram fromValues(const std::vector<float>& values);

    // Bins for count values: log2 of the smallest power of two not below count, made odd.
    static int binCount(qint64 count);

    // Share of all values in bin i, in percent.
    double percent(int i) const;
    QString problem() const;
    // How the window was sampled when it held too many values to read whole; empty when whole.
    QString note() const;

    Status status = Status::EmptyWindow;
    SampleWindow window;
    qint64 total = 0; // N
    float smallest = 0;
    float largest = 0;
    float halfRange = 0; // A: the largest magnitude plus 1e-8, in single precision
    std::vector<Bin> bins;
    qint64 largestCount = 0;  // C
    qint64 limit = maxValues; // the values it could count

    // Values a histogram reads at most (256 MiB of samples); a larger window is sampled by traces.
    static constexpr qint64 maxValues = qint64(64) << 20;
};
