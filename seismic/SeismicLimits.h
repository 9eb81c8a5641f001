#pragma once

#include <QtGlobal>

// Bounds on the counts that decide allocations. Counts come from file headers, so every
// one is checked against these before memory is taken.
namespace SeismicLimits {

// Samples one trace may hold: over four hours at 1 ms.
constexpr int maxSamplesPerTrace = 1 << 24;
// Memory one gather may take, traces and samples together.
constexpr qint64 maxGatherBytes = qint64(2) << 30;
// Bytes of one header buffer of a data set (the largest SEG-D header set fits easily).
constexpr qint64 maxHeaderBytes = qint64(64) << 20;

} // namespace SeismicLimits
