#pragma once

#include <functional>

struct JobSteps;
#include <vector>

class SeismicData;

// The traces and samples a spectrum or histogram looks at: traces first to last (1-based),
// samples start to end - 1 (0-based), taken from times in milliseconds and kept within the
// samples a trace holds.
struct SampleWindow {
    int firstTrace = 1;
    int lastTrace = 1;
    int startSample = 0;
    int endSample = 0;
    // Every traceStep-th trace from the first: a window too large to read whole, sampled evenly.
    int traceStep = 1;

    static SampleWindow fromTimes(int firstTrace, int lastTrace, double startMs, double endMs,
                                  double sampleInterval, int samples);
    // The window of a data set, its last trace no further than the data set's last trace.
    static SampleWindow of(const SeismicData& data, int firstTrace, int lastTrace, double startMs,
                           double endMs);

    int length() const { return endSample > startSample ? endSample - startSample : 0; }
    int traces() const { return lastTrace >= firstTrace ? lastTrace - firstTrace + 1 : 0; }
    // The traces read: one of every traceStep.
    int tracesRead() const { return traceStep > 1 ? (traces() + traceStep - 1) / traceStep : traces(); }

    // Reads each trace of the window and hands its window samples, as 32-bit floats, to
    // visit; values that are not finite read as 0. A trace that cannot be read is left out;
    // the count of traces read is returned. With steps, each trace is a step and a cancel stops
    // the reading.
    int forEachTrace(SeismicData& data, const std::function<void(const std::vector<float>&)>& visit,
                     const JobSteps* steps = nullptr) const;
};
