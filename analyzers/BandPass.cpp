#include "analyzers/BandPass.h"

#include "analyzers/FftLengths.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <fftw3.h>

double BandPass::gain(double frequency) const
{
    const auto [f1, f2, f3, f4] = corners;
    const auto ramp = [](double x) {
        const double s = std::sin(M_PI / 2 * std::clamp(x, 0.0, 1.0));
        return s * s;
    };
    if (frequency <= f1 || frequency >= f4)
        return 0;
    if (frequency < f2)
        return ramp((frequency - f1) / (f2 - f1));
    if (frequency <= f3)
        return 1;
    return ramp((f4 - frequency) / (f4 - f3));
}

bool BandPass::parse(const QString& text, BandPass* band, QString* problem)
{
    const QStringList parts = text.split(QLatin1Char(','));
    BandPass parsed;
    bool ok = parts.size() == 4;
    for (int i = 0; ok && i < 4; ++i) {
        parsed.corners[size_t(i)] = parts[i].trimmed().toDouble(&ok);
        ok = ok && std::isfinite(parsed.corners[size_t(i)]) && parsed.corners[size_t(i)] >= 0 &&
             parsed.corners[size_t(i)] <= 1e6;
    }
    if (!ok) {
        *problem = QStringLiteral("a band is four frequencies in hertz, f1,f2,f3,f4");
        return false;
    }
    if (!std::is_sorted(parsed.corners.begin(), parsed.corners.end()) ||
        parsed.corners[0] >= parsed.corners[3]) {
        *problem = QStringLiteral("the band's frequencies must rise: f1 <= f2 <= f3 <= f4, f1 below f4");
        return false;
    }
    *band = parsed;
    return true;
}

BandPassFilter::BandPassFilter(const BandPass& band, double sampleIntervalMs, int samples) : samples(samples)
{
    if (!band.isOn() || !(sampleIntervalMs > 0) || samples <= 0)
        return;
    length = evenFftLength(2 * samples);
    if (length <= 0)
        return;
    real = fftw_alloc_real(size_t(length));
    spectrum = fftw_alloc_complex(size_t(length / 2 + 1));
    if (!real || !spectrum)
        return;
    const std::lock_guard<std::mutex> lock(fftwPlanner());
    forward = fftw_plan_dft_r2c_1d(length, real, spectrum, FFTW_ESTIMATE);
    backward = fftw_plan_dft_c2r_1d(length, spectrum, real, FFTW_ESTIMATE);
    const double nyquistStep = 1000.0 / sampleIntervalMs / length;
    gains.resize(size_t(length / 2 + 1));
    for (size_t k = 0; k < gains.size(); ++k)
        gains[k] = band.gain(double(k) * nyquistStep) / length;
}

BandPassFilter::~BandPassFilter()
{
    const std::lock_guard<std::mutex> lock(fftwPlanner());
    if (forward)
        fftw_destroy_plan(static_cast<fftw_plan>(forward));
    if (backward)
        fftw_destroy_plan(static_cast<fftw_plan>(backward));
    fftw_free(real);
    fftw_free(spectrum);
}

void BandPassFilter::apply(std::vector<double>& trace)
{
    if (!forward || !backward)
        return;
    const int held = std::min(samples, int(trace.size()));
    for (int i = 0; i < length; ++i)
        real[i] = i < held && std::isfinite(trace[size_t(i)]) ? trace[size_t(i)] : 0.0;
    fftw_execute(static_cast<fftw_plan>(forward));
    // A real gain on every bin keeps the phase: the filter is zero-phase.
    for (size_t k = 0; k < gains.size(); ++k) {
        spectrum[k][0] *= gains[k];
        spectrum[k][1] *= gains[k];
    }
    fftw_execute(static_cast<fftw_plan>(backward));
    std::copy(real, real + held, trace.begin());
}
