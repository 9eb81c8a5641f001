#include "analyzers/AmplitudeSpectrum.h"

#include "analyzers/FftLengths.h"
#include "analyzers/SpectrumAxes.h"
#include "analyzers/SpectrumTransform.h"
#include "analyzers/WorkerJob.h"
#include "seismic/SeismicData.h"

#include <algorithm>
#include <cmath>

AmplitudeSpectrum AmplitudeSpectrum::compute(SeismicData& data, int firstTrace, int lastTrace, double startMs,
                                             double endMs, const JobSteps* steps)
{
    AmplitudeSpectrum spectrum;
    const double dt = data.sampleInterval();
    if (!(dt > 0)) {
        spectrum.status = Status::BadInterval;
        return spectrum;
    }
    spectrum.window = SampleWindow::of(data, firstTrace, lastTrace, startMs, endMs);
    spectrum.nyquist = 1.0 / (2.0 * dt / 1000.0);
    if (spectrum.window.length() == 0) {
        spectrum.status = Status::EmptyWindow;
        return spectrum;
    }
    const int n = evenFftLength(spectrum.window.length());
    SpectrumTransform transform(n);
    if (n == 0 || !transform.isValid()) {
        spectrum.status = Status::WindowTooLong;
        return spectrum;
    }
    spectrum.transformLength = n;
    spectrum.frequencyStep = spectrum.nyquist / (n / 2);
    spectrum.average.assign(size_t(n), 0.0);
    spectrum.tracesRead = spectrum.window.forEachTrace(
        data, [&](const std::vector<float>& samples) { transform.addMagnitudes(samples, spectrum.average); },
        steps);
    if (steps && steps->cancelled()) {
        spectrum.status = Status::Cancelled;
        return spectrum;
    }
    if (spectrum.tracesRead == 0) {
        spectrum.status = Status::NoTraces;
        return spectrum;
    }
    for (double& value : spectrum.average)
        value /= spectrum.tracesRead;

    const double peak = *std::max_element(spectrum.average.begin(), spectrum.average.end());
    if (!(peak > 0)) {
        spectrum.status = Status::NoSignal;
        return spectrum;
    }
    double deepest = 0;
    spectrum.decibels.resize(size_t(n / 2));
    for (size_t i = 0; i < spectrum.decibels.size(); ++i) {
        const double level =
            spectrum.average[i] > 0 ? 20.0 * std::log10(spectrum.average[i] / peak) : floorDb;
        spectrum.decibels[i] = std::max(level, floorDb);
        deepest = std::max(deepest, std::abs(spectrum.decibels[i]));
    }
    spectrum.axisDepth = SpectrumAxes::decibelAxisDepth(deepest);
    spectrum.status = Status::Ok;
    return spectrum;
}

QString AmplitudeSpectrum::problem() const
{
    switch (status) {
    case Status::Ok:
        return {};
    case Status::BadInterval:
        return QStringLiteral("No spectrum: the sample interval is not positive");
    case Status::EmptyWindow:
        return QStringLiteral("No spectrum: the time window holds no samples");
    case Status::WindowTooLong:
        return QStringLiteral("No spectrum: the time window of %1 samples is longer than the longest "
                              "transform (%2 samples)")
            .arg(window.length())
            .arg(validFftLengths().back());
    case Status::NoTraces:
        return QStringLiteral("No spectrum: no trace of %1 to %2 could be read")
            .arg(window.firstTrace)
            .arg(window.lastTrace);
    case Status::NoSignal:
        return QStringLiteral("No spectrum: every sample in the window is zero");
    case Status::Cancelled:
        return QStringLiteral("No spectrum: cancelled");
    }
    return {};
}
