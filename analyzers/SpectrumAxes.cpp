#include "analyzers/SpectrumAxes.h"

#include <algorithm>
#include <cmath>

namespace SpectrumAxes {

int decibelAxisDepth(double deepestDb)
{
    return 12 * (1 + int(std::min(std::abs(deepestDb), 1e6) / 12));
}

FrequencyAxis frequencyAxis(double nyquist)
{
    FrequencyAxis axis;
    if (!(nyquist > 0) || !std::isfinite(nyquist))
        return axis;
    const double top = std::min(std::trunc(nyquist), 1e9);
    axis.top = top >= 1 ? top : nyquist;
    axis.step = std::max(1, int(std::min(nyquist / 5, 1e9)));
    for (qint64 f = 0; f <= top; f += axis.step)
        axis.labels.push_back(int(f));
    for (int k = 1; k <= 4 && qint64(k) * axis.step <= top; ++k)
        axis.gridLines.push_back(k * axis.step);
    return axis;
}

} // namespace SpectrumAxes
