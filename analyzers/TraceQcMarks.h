#pragma once

#include <QColor>
#include <QImage>

class TracePlot;
struct TraceQc;

// The trace QC on a plot: each dead, clipped or noisy trace shown gets a tint over its band of
// the plot and a bar of the same colour in the margin above it, so that the plot says which
// traces the list names and the exported picture keeps it.
namespace TraceQcMarks {

enum class Kind { Dead, Clipped, Noisy };

QColor colour(Kind kind);
// "dead", "clipped", "noisy".
const char* name(Kind kind);
// The plot's picture with the marks of the traces it shows; the plain picture when none is marked.
QImage marked(const TracePlot& plot, const TraceQc& qc);

} // namespace TraceQcMarks
