#pragma once

#include <utility>

struct TraceDisplaySettings;

// Where a trace plot puts its traces and samples: a 48-pixel margin all round, the width
// rounded up to whole 32-bit words with the slack split on both sides.
struct TracePlotGeometry {
    static constexpr int margin = 48;
    // A plot larger than this in either direction is not drawn; it could not be shown, and the
    // truncation to int must stay defined.
    static constexpr double largestSide = 1 << 20;
    // Four bytes per pixel once the labels are drawn: beyond this many pixels (600 MB) the plot is
    // not drawn.
    static constexpr double largestPixels = 150000000.0;

    double pixelsPerTrace = 0;
    double pixelsPerSample = 0;
    int height = 0; // plot rows, without the margins
    int width = 0;  // plot columns, a multiple of 32
    int unroundedWidth = 0;
    int leftPad = 0;
    double clip = 0;

    // For traces traces of samples samples at sampleInterval milliseconds. Sizes that would
    // not fit an image (absurd scales) come out as 0.
    static TracePlotGeometry compute(int traces, int samples, double sampleInterval,
                                     const TraceDisplaySettings& settings);

    // The horizontal and vertical scales (traces per inch, inches per second) at which the plot
    // of traces traces and samples samples fills an image of `width` x `height` pixels, its
    // width and height apart; {0, 0} when no plot fits there.
    static std::pair<double, double> fittingScales(int traces, int samples, double sampleInterval,
                                                   const TraceDisplaySettings& settings, int width,
                                                   int height);

    // The plot's columns and rows before rounding, margins left out: not finite or beyond any
    // limit for absurd sizes, never cast.
    static double plotWidth(int traces, const TraceDisplaySettings& settings);
    static double plotHeight(int samples, double sampleInterval, const TraceDisplaySettings& settings);

    int imageWidth() const { return width + 2 * margin; }
    int imageHeight() const { return height + 2 * margin; }
    bool isEmpty() const { return width <= 0 || height <= 0; }
    // Column of the zero line of trace i (0-based).
    int traceCentre(int i) const;
    // Row of sample j (0-based).
    int sampleRow(int j) const;
    // Largest swing of a trace from its centre, in columns.
    int maxSwing() const;
};
