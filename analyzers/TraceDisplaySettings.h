#pragma once

#include "analyzers/BandPass.h"
#include "seismic/TraceKey.h"

#include <QString>
#include <QtGlobal>
#include <array>

// How the traces are drawn: wiggle lines only, wiggles with filled positive lobes, or a
// variable density display coloured by amplitude.
enum class TraceDisplayMode { Wiggle, VariableArea, Density };

// The colours of a density display: grey runs from white (most negative) to black (most
// positive); red-white-blue from blue (negative) over white to red (positive).
enum class DensityColourMap { Grey, RedWhiteBlue };

// The parameters of one trace plot. Each analyzer keeps one; a plot copies it.
struct TraceDisplaySettings {
    TraceDisplayMode mode = TraceDisplayMode::VariableArea;
    DensityColourMap colourMap = DensityColourMap::Grey;
    double clipPercentile = 99.0;    // density: the absolute amplitude at this percentile is full colour
    double agcWindowMs = 0.0;        // automatic gain control window; 0: none
    BandPass band;                   // display filter, before the gain control; off by default
    float clip = 2.0f;               // largest swing from the zero line, in trace spacings
    qint32 reversePolarity = 0;      // plot every sample with the opposite sign
    double gainDb = 0.0;             // display gain; the factor is 10^(gainDb / 20)
    double referenceAmplitude = 1.0; // full scale when traceNormalization is 0; 0: the largest
                                     // absolute sample of all plotted traces
    qint32 traceNormalization = 1;   // 1: each trace by its own largest absolute sample (density:
                                     // by its own percentile; 0: one percentile over all traces)
    double horizontalScale = 12.0;   // traces per inch
    double verticalScale = 5.0;      // inches per second
    qint32 primaryHeader = 9;        // index into TraceAnnotation::choices
    qint32 secondaryHeader = 10;
    qint32 primaryIncrement = 10;     // traces
    qint32 secondaryIncrement = 2;    // traces
    qint32 timingLabelInterval = 500; // milliseconds
    qint32 timingLineInterval = 500;  // milliseconds
    double dotsPerInchX = 96.0;
    double dotsPerInchY = 96.0;
    qint32 firstTrace = 1; // 1-based
    qint32 lastTrace = 1;
};

// The header values a plot can annotate its traces with, by combo index.
namespace TraceAnnotation {

struct Choice {
    const char* label;
    int key;
};

constexpr std::array<Choice, 11> choices{{
    {"CMP Line", TraceKey::Inline},
    {"CMP Location", TraceKey::Cmp},
    {"Inline", TraceKey::Inline},
    {"Crossline", TraceKey::Crossline},
    {"Offset", TraceKey::Offset},
    {"Shot Line", TraceKey::SourceLine},
    {"Shot Location", TraceKey::SourceLocation},
    {"Receiver Line", TraceKey::ReceiverLine},
    {"Receiver Location", TraceKey::ReceiverLocation},
    {"Field File", TraceKey::FieldFile},
    {"Channel", TraceKey::Channel},
}};

// The key of a choice; an index outside the list annotates the field file.
constexpr int keyOf(int index)
{
    return index >= 0 && index < int(choices.size()) ? choices[size_t(index)].key : int(TraceKey::FieldFile);
}

} // namespace TraceAnnotation
