#pragma once

#include <vector>

// One complex transform of a fixed length with exponent sign +1, planned once and reused
// for every trace; results are scaled by 1 / length.
class SpectrumTransform {
public:
    explicit SpectrumTransform(int length);
    ~SpectrumTransform();
    SpectrumTransform(const SpectrumTransform&) = delete;
    SpectrumTransform& operator=(const SpectrumTransform&) = delete;

    // False when the buffers or the plan could not be made.
    bool isValid() const { return plan != nullptr; }
    int length() const { return size; }

    // Transforms the samples, zero-padded to the length (extra samples are ignored), and
    // adds each point's magnitude to sums, which holds length() values.
    void addMagnitudes(const std::vector<float>& samples, std::vector<double>& sums);

private:
    int size;
    double (*buffer)[2] = nullptr;
    void* plan = nullptr;
};
