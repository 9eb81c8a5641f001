#include "analyzers/TraceAmplitudes.h"

#include <algorithm>
#include <cmath>

namespace TraceAmplitudes {

void applyAgc(std::vector<double>& samples, int windowSamples)
{
    const int n = int(samples.size());
    if (n == 0 || windowSamples < 1)
        return;
    // Running sums of squares: one pass, whatever the window.
    std::vector<double> sums(size_t(n) + 1, 0.0);
    for (int j = 0; j < n; ++j) {
        const double v = std::isfinite(samples[size_t(j)]) ? samples[size_t(j)] : 0.0;
        sums[size_t(j) + 1] = sums[size_t(j)] + v * v;
    }
    const int half = windowSamples / 2;
    for (int j = 0; j < n; ++j) {
        const int from = std::max(0, j - half);
        const int to = std::min(n, j + half + 1);
        const double meanSquare = (sums[size_t(to)] - sums[size_t(from)]) / (to - from);
        double& v = samples[size_t(j)];
        v = meanSquare > 0 && std::isfinite(v) ? v / std::sqrt(meanSquare) : 0.0;
    }
}

double absolutePercentile(std::vector<double> values, double percentile)
{
    if (values.empty())
        return 0.0;
    for (double& v : values)
        v = std::isfinite(v) ? std::abs(v) : 0.0;
    const double p = std::clamp(std::isfinite(percentile) ? percentile : 100.0, 0.0, 100.0);
    const size_t rank = size_t(std::ceil(p / 100.0 * double(values.size())));
    const size_t index = std::min(values.size() - 1, rank > 0 ? rank - 1 : 0);
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(index), values.end());
    return values[index];
}

} // namespace TraceAmplitudes
