#include "analyzers/TimingInterval.h"

#include <cmath>
#include <initializer_list>

namespace TimingInterval {

int suited(double recordMs, double plotRows)
{
    if (!(recordMs > 0) || !std::isfinite(recordMs))
        return 100;
    const double smallest =
        plotRows > 0 && std::isfinite(plotRows) ? recordMs * minimumSpacing / plotRows : recordMs / 5.0;
    for (int decade = 1; decade <= 100000; decade *= 10)
        for (int step : {1, 2, 5})
            if (step * decade >= smallest)
                return step * decade;
    return 1000000;
}

} // namespace TimingInterval
