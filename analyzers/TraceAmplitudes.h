#pragma once

#include <vector>

// Amplitude rules of the trace plot that look at a whole trace: automatic gain control and the
// clip level of a density display.
namespace TraceAmplitudes {

// Divides every sample by the root mean square of the samples in a window of windowSamples
// centred on it (cut at the ends of the trace); a window that holds only zeros gives 0.
// Values that are not finite count as 0.
void applyAgc(std::vector<double>& samples, int windowSamples);

// The absolute amplitude below which percentile per cent of the values lie (the nearest rank
// of the sorted absolute values); 0 for no values. Values that are not finite count as 0.
double absolutePercentile(std::vector<double> values, double percentile);

} // namespace TraceAmplitudes
