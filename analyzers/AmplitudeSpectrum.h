#pragma once

#include "analyzers/SampleWindow.h"

#include <QString>
#include <vector>

class SeismicData;
struct JobSteps;

// The average amplitude spectrum of a window of traces and times: each trace's window,
// zero-padded to an even prime factor length, transformed, its magnitudes averaged.
class AmplitudeSpectrum {
public:
    enum class Status { Ok, BadInterval, EmptyWindow, WindowTooLong, NoTraces, NoSignal, Cancelled };

    // With steps, each trace read is a step, and a cancel leaves the status Cancelled.
    static AmplitudeSpectrum compute(SeismicData& data, int firstTrace, int lastTrace, double startMs,
                                     double endMs, const JobSteps* steps = nullptr);

    // Why there is no spectrum to draw; empty when status is Ok.
    QString problem() const;

    Status status = Status::EmptyWindow;
    SampleWindow window;
    int transformLength = 0; // N
    int tracesRead = 0;
    double nyquist = 0;          // Hz
    double frequencyStep = 0;    // Hz between points
    std::vector<double> average; // N magnitudes
    // Levels of the first N / 2 points in decibels below the largest magnitude; points
    // with no energy at all sit at the floor.
    std::vector<double> decibels;
    int axisDepth = 12; // dB

    static constexpr double floorDb = -360.0;
};
