#pragma once

#include <QString>
#include <array>
#include <vector>

// A zero-phase band-pass for what a plot shows: nothing below f1, a cosine-squared rise to full
// at f2, full to f3, a fall to nothing at f4 (hertz). Applied in the frequency domain, on the trace
// padded with zeros to twice its length, so that the ends do not wrap round onto each other.
struct BandPass {
    std::array<double, 4> corners{}; // f1 <= f2 <= f3 <= f4; all 0: off

    bool isOn() const { return corners[3] > 0; }
    // The share of an amplitude at `frequency` that passes, 0 to 1.
    double gain(double frequency) const;

    // "f1,f2,f3,f4"; false with the reason in *problem for anything else.
    static bool parse(const QString& text, BandPass* band, QString* problem);
};

// Filters traces of one length and sample interval, planning the transforms once.
class BandPassFilter {
public:
    BandPassFilter(const BandPass& band, double sampleIntervalMs, int samples);
    ~BandPassFilter();
    BandPassFilter(const BandPassFilter&) = delete;
    BandPassFilter& operator=(const BandPassFilter&) = delete;

    // Filters the first `samples` values in place; does nothing when the filter is off or its
    // transforms could not be planned. Values that are not finite count as 0.
    void apply(std::vector<double>& trace);

private:
    int samples = 0;
    int length = 0;
    double* real = nullptr;
    double (*spectrum)[2] = nullptr;
    void* forward = nullptr;
    void* backward = nullptr;
    std::vector<double> gains; // per frequency bin, with the 1 / length of the round trip
};
