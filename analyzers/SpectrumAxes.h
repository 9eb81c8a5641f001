#pragma once

#include <QtGlobal>
#include <vector>

// The axes of an amplitude spectrum plot.
namespace SpectrumAxes {

// Depth of the decibel axis for the deepest level below the peak: the next multiple of
// 12 dB above it (47 gives 48, 48 and 50 give 60).
int decibelAxisDepth(double deepestDb);

struct FrequencyAxis {
    double top = 0;             // frequency at the right end of the axis, Hz
    int step = 0;               // Hz between labels
    std::vector<int> labels;    // label frequencies, from 0
    std::vector<int> gridLines; // frequencies of the vertical grid lines
};

// Labels every fifth of the Nyquist frequency (whole hertz) up to its integer part, and
// four grid lines. Below 5 Hz the step is 1 Hz, and below 1 Hz the axis ends at the
// Nyquist frequency itself.
FrequencyAxis frequencyAxis(double nyquist);

} // namespace SpectrumAxes
