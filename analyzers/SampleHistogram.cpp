#include "analyzers/SampleHistogram.h"

#include "analyzers/WorkerJob.h"
#include "seismic/SeismicData.h"

#include <algorithm>
#include <cmath>

SampleHistogram SampleHistogram::compute(SeismicData& data, int firstTrace, int lastTrace, double startMs,
                                         double endMs, qint64 limit, const JobSteps* steps)
{
    SampleHistogram histogram;
    const double dt = data.sampleInterval();
    if (!(dt > 0)) {
        histogram.status = Status::BadInterval;
        return histogram;
    }
    SampleWindow window = SampleWindow::of(data, firstTrace, lastTrace, startMs, endMs);
    histogram.window = window;
    if (window.length() == 0)
        return histogram;
    if (window.traces() == 0) {
        histogram.status = Status::NoTraces;
        return histogram;
    }
    histogram.limit = limit;
    if (window.length() > limit) {
        histogram.total = window.length();
        histogram.status = Status::TooManyValues;
        return histogram;
    }
    // A window larger than the values a histogram holds is sampled: every n-th trace, evenly.
    const qint64 whole = qint64(window.traces()) * window.length();
    if (whole > limit)
        window.traceStep = int((whole + limit - 1) / limit);
    const qint64 expected = qint64(window.tracesRead()) * window.length();
    std::vector<float> values;
    values.reserve(size_t(expected));
    const int read = window.forEachTrace(
        data,
        [&](const std::vector<float>& samples) {
            values.insert(values.end(), samples.begin(), samples.end());
        },
        steps);
    if (steps && steps->cancelled()) {
        histogram.status = Status::Cancelled;
        return histogram;
    }
    histogram = fromValues(values);
    histogram.window = window;
    histogram.limit = limit;
    if (read == 0)
        histogram.status = Status::NoTraces;
    return histogram;
}

SampleHistogram SampleHistogram::fromValues(const std::vector<float>& values)
{
    SampleHistogram histogram;
    histogram.total = qint64(values.size());
    if (values.empty())
        return histogram;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    histogram.smallest = *low;
    histogram.largest = *high;
    histogram.halfRange = std::max(std::abs(*low), std::abs(*high)) + 1e-8f;
    const double a = histogram.halfRange;
    const int k = binCount(histogram.total);
    const double width = 2 * a / k;
    histogram.bins.resize(size_t(k));
    for (int i = 0; i < k; ++i) {
        histogram.bins[size_t(i)].lower = i * width - a;
        histogram.bins[size_t(i)].upper = histogram.bins[size_t(i)].lower + width;
    }
    for (float v : values) {
        // A value at +A, where the 1e-8 was lost to single precision, belongs to the last bin.
        const double index = std::floor((v + a) / width);
        histogram.bins[size_t(std::clamp(index, 0.0, double(k - 1)))].count++;
    }
    for (const Bin& bin : histogram.bins)
        histogram.largestCount = std::max(histogram.largestCount, bin.count);
    histogram.status = Status::Ok;
    return histogram;
}

int SampleHistogram::binCount(qint64 count)
{
    int bits = 0;
    while (bits < 62 && (qint64(1) << bits) < count)
        ++bits;
    return bits % 2 == 0 ? bits + 1 : bits;
}

double SampleHistogram::percent(int i) const
{
    if (i < 0 || i >= int(bins.size()) || total == 0)
        return 0;
    return 100.0 * double(bins[size_t(i)].count) / double(total);
}

QString SampleHistogram::note() const
{
    if (status != Status::Ok || window.traceStep <= 1)
        return {};
    return QStringLiteral("Sampled: one trace in %1 of traces %2 to %3 (%4 traces read), to count at most %5 "
                          "samples")
        .arg(window.traceStep)
        .arg(window.firstTrace)
        .arg(window.lastTrace)
        .arg(window.tracesRead())
        .arg(limit);
}

QString SampleHistogram::problem() const
{
    switch (status) {
    case Status::Ok:
        return {};
    case Status::BadInterval:
        return QStringLiteral("No histogram: the sample interval is not positive");
    case Status::EmptyWindow:
        return QStringLiteral("No histogram: the window holds no samples");
    case Status::TooManyValues:
        return QStringLiteral("No histogram: a trace holds %1 samples in the window, more than %2; "
                              "narrow the time window")
            .arg(total)
            .arg(limit);
    case Status::NoTraces:
        return QStringLiteral("No histogram: no trace of %1 to %2 could be read")
            .arg(window.firstTrace)
            .arg(window.lastTrace);
    case Status::Cancelled:
        return QStringLiteral("No histogram: cancelled");
    }
    return {};
}
