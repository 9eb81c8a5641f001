#include "analyzers/SpectrumTransform.h"

#include "analyzers/FftLengths.h"

#include <algorithm>
#include <cmath>
#include <fftw3.h>

SpectrumTransform::SpectrumTransform(int length) : size(length)
{
    if (length <= 0)
        return;
    buffer = fftw_alloc_complex(size_t(length));
    if (!buffer)
        return;
    // In place; FFTW_BACKWARD is the +1 exponent sign.
    const std::lock_guard<std::mutex> lock(fftwPlanner());
    plan = fftw_plan_dft_1d(length, buffer, buffer, FFTW_BACKWARD, FFTW_ESTIMATE);
}

SpectrumTransform::~SpectrumTransform()
{
    const std::lock_guard<std::mutex> lock(fftwPlanner());
    if (plan)
        fftw_destroy_plan(static_cast<fftw_plan>(plan));
    fftw_free(buffer);
}

void SpectrumTransform::addMagnitudes(const std::vector<float>& samples, std::vector<double>& sums)
{
    if (!plan || sums.size() < size_t(size))
        return;
    const size_t count = std::min(samples.size(), size_t(size));
    for (size_t i = 0; i < size_t(size); ++i) {
        buffer[i][0] = i < count ? double(samples[i]) : 0.0;
        buffer[i][1] = 0.0;
    }
    fftw_execute(static_cast<fftw_plan>(plan));
    const double scale = 1.0 / size;
    for (size_t i = 0; i < size_t(size); ++i)
        sums[i] += std::hypot(buffer[i][0], buffer[i][1]) * scale;
}
