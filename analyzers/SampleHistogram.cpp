#include "analyzers/SampleHistogram.h"

#include "seismic/SeismicData.h"

#include <algorithm>
#include <cmath>

SampleHistogram SampleHistogram::compute(SeismicData& data, int firstTrace, int lastTrace, double startMs,
                                         double endMs)
{
    SampleHistogram histogram;
    const double dt = data.sampleInterval();
    if (!(dt > 0)) {
        histogram.status = Status::BadInterval;
        return histogram;
    }
    const SampleWindow window = SampleWindow::of(data, firstTrace, lastTrace, startMs, endMs);
    histogram.window = window;
    if (window.length() == 0)
        return histogram;
    if (window.traces() == 0) {
        histogram.status = Status::NoTraces;
        return histogram;
    }
    const qint64 expected = qint64(window.traces()) * window.length();
    if (expected > maxValues) {
        histogram.total = expected;
        histogram.status = Status::TooManyValues;
        return histogram;
    }
    std::vector<float> values;
    values.reserve(size_t(expected));
    const int read = window.forEachTrace(data, [&](const std::vector<float>& samples) {
        values.insert(values.end(), samples.begin(), samples.end());
    });
    histogram = fromValues(values);
    histogram.window = window;
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
        return QStringLiteral("No histogram: the window holds %1 samples, more than %2")
            .arg(total)
            .arg(maxValues);
    case Status::NoTraces:
        return QStringLiteral("No histogram: no trace of %1 to %2 could be read")
            .arg(window.firstTrace)
            .arg(window.lastTrace);
    }
    return {};
}
